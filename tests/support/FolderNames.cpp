#include "FolderNames.h"

#include "platform/FileSystemCalls.h"

#include <algorithm>
#include <filesystem>

Names FolderNames(const std::wstring& folder) {
    Names names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(platform::ToFsPath(folder), error))
        names.push_back(platform::FromFsPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}
