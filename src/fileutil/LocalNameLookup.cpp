#include "fileutil/LocalNameLookup.h"

#include "fileutil/NameCase.h"
#include "platform/FileSystemCalls.h"

#include <string>

namespace fs = std::filesystem;

namespace {

// The entry of `folder` whose name equals `name` without regard to case; empty when there is
// none. Of several (a folder here may hold names that differ only in case) the first in byte
// order, so that every lookup picks the same one.
fs::path FindEntryIgnoringCase(const fs::path& folder, const std::wstring& name) {
    fs::path found;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path entryName = it->path().filename();
        if (NamesEqual(platform::FromFsPath(entryName), name) &&
            (found.empty() || entryName < found.filename()))
            found = it->path();
    }
    return found;
}

} // namespace

bool NameTaken(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

fs::path FindNameIgnoringCase(const fs::path& path) {
    if (platform::kFileNamesIgnoreCase || NameTaken(path))
        return path;
    const fs::path name = path.filename();
    const fs::path parent = path.parent_path();
    if (name.empty() || name == "." || name == ".." || parent.empty() || parent == path)
        return path;
    const fs::path folder = FindNameIgnoringCase(parent);
    const fs::path match = FindEntryIgnoringCase(folder, platform::FromFsPath(name));
    return match.empty() ? folder / name : match;
}
