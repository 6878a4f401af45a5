#include "FolderNames.h"

#include "platform/FileSystemCalls.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

Names FolderNames(const std::wstring& folder) {
    Names names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(platform::ToFsPath(folder), error))
        names.push_back(platform::FromFsPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
