#include "fileutil/FolderBoundary.h"

#include "platform/FileSystemCalls.h"

#include <deque>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// As many links as the system follows in one path before it gives up.
constexpr int kMaxLinksFollowed = 40;

void PutInFront(std::deque<fs::path>& pending, const fs::path& parts) {
    pending.insert(pending.begin(), parts.begin(), parts.end());
}

} // namespace

fs::path OrderDataPath(const std::wstring& text, const fs::path& baseFolder) {
    std::wstring separated = text;
    for (wchar_t& c : separated)
        if (c == L'\\')
            c = platform::kPathSeparator;
    fs::path path = platform::ToFsPath(separated);
    return path.is_absolute() ? path : baseFolder / path;
}

fs::path ResolveThroughLinks(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error)
        return {};
    std::deque<fs::path> pending;
    PutInFront(pending, absolute.relative_path());
    fs::path resolved = absolute.root_path();
    int linksFollowed = 0;
    while (!pending.empty()) {
        const fs::path part = std::move(pending.front());
        pending.pop_front();
        if (part.empty() || part == ".")
            continue;
        // ".." after a link leaves the link's target, not the link's folder, as the system does.
        if (part == "..") {
            resolved = resolved.parent_path();
            continue;
        }
        fs::path next = resolved / part;
        if (!fs::is_symlink(fs::symlink_status(next, error))) {
            resolved = std::move(next);
            continue;
        }
        if (++linksFollowed > kMaxLinksFollowed)
            return {};
        const fs::path target = fs::read_symlink(next, error);
        if (error)
            return {};
        if (target.has_root_directory())
            resolved = (target.has_root_name() ? target.root_name() : resolved.root_name()) /
                       target.root_directory();
        PutInFront(pending, target.relative_path());
    }
    return resolved;
}

void FolderBoundary::Allow(const fs::path& folder) {
    if (folder.empty())
        return;
    fs::path root = ResolveThroughLinks(folder);
    if (!root.empty())
        m_roots.push_back(std::move(root));
}

bool FolderBoundary::Contains(const fs::path& path) const {
    const fs::path resolved = ResolveThroughLinks(path);
    if (resolved.empty())
        return false;
    for (const fs::path& root : m_roots) {
        const fs::path relative = resolved.lexically_relative(root);
        if (!relative.empty() && *relative.begin() != "..")
            return true;
    }
    return false;
}
