#pragma once
/// The process's own environment, through which the program hands settings to the
/// components it loads.

#include <optional>
#include <string>

namespace platform {

/// The value of environment variable `name`; empty when it is unset or empty.
std::optional<std::wstring> GetEnvironmentValue(const std::string& name);

/// Sets `name` for this process and the libraries it loads afterwards; false on failure.
/// Call it before any other thread runs.
bool SetEnvironmentValue(const std::string& name, const std::wstring& value);

} // namespace platform
