#pragma once
/// Where the running program file lives.

#include <string>

namespace platform {

/// Full path of the running executable; empty if the system cannot tell.
std::wstring GetModuleFilePath();

} // namespace platform
