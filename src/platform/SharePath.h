#pragma once
/// The parts of a network path, the same on every system.

#include <optional>
#include <string>

namespace platform {

/// "//server/share/rest" (either separator, repeated ones allowed) split into its parts;
/// `rest` keeps no leading separator and joins its folders with '/'.
struct SharePath {
    std::wstring server;
    std::wstring share;
    std::wstring rest;
};

/// Nothing for a path that is not a network path or names no share.
std::optional<SharePath> SplitSharePath(const std::wstring& path);

} // namespace platform
