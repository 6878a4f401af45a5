#pragma once
/// Keeps paths named in order data inside the folders an order may use. A path is judged by
/// where opening it would really lead: "\" and "/" both separate folders (kiosks write
/// Windows paths), "." and ".." are resolved, and every link met on the way is followed as
/// the system would follow it, also one whose target does not exist yet.

#include <filesystem>
#include <string>
#include <vector>

/// A path as order data names it: backslashes made folder separators, and a relative path
/// taken from `baseFolder`.
std::filesystem::path OrderDataPath(const std::wstring& text,
                                    const std::filesystem::path& baseFolder);

/// `path` made absolute, with its links followed and "." and ".." resolved; the parts that do
/// not exist are resolved as text. Empty when the links go round in a loop.
std::filesystem::path ResolveThroughLinks(const std::filesystem::path& path);

class FolderBoundary {
public:
    /// Adds a folder whose whole tree is inside; an empty path adds nothing.
    void Allow(const std::filesystem::path& folder);
    /// True when `path`, resolved, is an allowed folder or lies below one.
    bool Contains(const std::filesystem::path& path) const;

private:
    std::vector<std::filesystem::path> m_roots;
};
