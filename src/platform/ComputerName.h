#pragma once
/// The name of this computer on the network.

#include <string>

namespace platform {

std::wstring GetLocalComputerName();

} // namespace platform
