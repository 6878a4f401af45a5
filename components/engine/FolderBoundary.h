#pragma once
/// Keeps the engine's reading inside the folders it was given.

#include <filesystem>
#include <string>
#include <vector>

namespace zori {

class FolderBoundary {
public:
    void Allow(const std::filesystem::path& folder);
    /// True when `path`, with links and ".." resolved, lies inside an allowed folder.
    bool Contains(const std::filesystem::path& path) const;

private:
    std::vector<std::filesystem::path> m_roots;
};

} // namespace zori
