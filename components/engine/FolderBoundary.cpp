#include "FolderBoundary.h"

#include <system_error>

namespace zori {

namespace {

std::filesystem::path Resolved(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

} // namespace

void FolderBoundary::Allow(const std::filesystem::path& folder) {
    m_roots.push_back(Resolved(folder));
}

bool FolderBoundary::Contains(const std::filesystem::path& path) const {
    const std::filesystem::path resolved = Resolved(path);
    for (const auto& root : m_roots) {
        const std::filesystem::path relative = resolved.lexically_relative(root);
        if (!relative.empty() && *relative.begin() != "..")
            return true;
    }
    return false;
}

} // namespace zori
