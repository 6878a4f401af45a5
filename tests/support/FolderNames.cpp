#include "FolderNames.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/FolderLister.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

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

int CountFiles(const std::wstring& folder, const std::wstring& pattern) {
    return FolderLister(LocalFolders()).CountEntries(folder, pattern, 0, FolderLister::kFiles);
}

std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Tree ReadTree(const std::wstring& folder) {
    namespace fs = std::filesystem;
    Tree tree;
    const fs::path root = platform::ToFsPath(folder);
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error))
        tree[platform::WideToUtf8(platform::FromFsPath(fs::relative(it->path(), root)))] =
            it->is_directory() ? "/" : FileBytes(it->path());
    return tree;
}
