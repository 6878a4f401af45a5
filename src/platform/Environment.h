#pragma once
/// Settings read from the process environment.

#include <string>

namespace platform {

/// The value of the environment variable `name`; empty when it is not set.
std::wstring GetEnvironmentValue(const std::wstring& name);

} // namespace platform
