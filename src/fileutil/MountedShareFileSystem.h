#pragma once
/// The backend of shares mounted on this machine: a network path ("//PC01/share/orders") is
/// served by the local file system inside the mounted share (cifs, smb3 or gvfs entries of
/// the mount table); a share that is not, or no longer, mounted fails every operation.

#include "fileutil/FileSystem.h"

class MountedShareFileSystem final : public FileSystem {
public:
    /// Whether a mounted share holds `path`.
    bool Serves(std::wstring_view path) const;

    FsResult ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override;
    FsResult GetItemInfo(const std::wstring& path, ItemInfo& info) override;
    FsResult MakeFolder(const std::wstring& path) override;
    FsResult RenameNoReplace(const std::wstring& from, const std::wstring& to) override;
    FsResult DeleteTree(const std::wstring& path) override;
    FsResult CopyFile(const std::wstring& from, const std::wstring& to) override;
    FsResult LinkFile(const std::wstring& from, const std::wstring& to) override;
    FsResult ReadFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes) override;
    FsResult WriteFileAtomically(const std::wstring& path, std::string_view bytes) override;
    FsResult Flush(const std::wstring& path) override;
    FsResult GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) override;
};
