#pragma once
/// The backend of paths that nothing can reach: every operation fails with kUnreachable.

#include "fileutil/FileSystem.h"

class UnreachableFileSystem final : public FileSystem {
public:
    FsResult ListFolder(const std::wstring&, std::vector<FolderEntry>&) override;
    FsResult GetItemInfo(const std::wstring&, ItemInfo&) override;
    FsResult MakeFolder(const std::wstring&) override;
    FsResult RenameNoReplace(const std::wstring&, const std::wstring&) override;
    FsResult DeleteTree(const std::wstring&) override;
    FsResult CopyFile(const std::wstring&, const std::wstring&) override;
    FsResult ReadFile(const std::wstring&, std::string&, std::size_t) override;
    FsResult WriteFileAtomically(const std::wstring&, std::string_view) override;
    FsResult GetFreeBytes(const std::wstring&, std::uint64_t&) override;
    int LogOn(const std::wstring&, const std::wstring&, const std::wstring&) override;
};
