#pragma once
/// The network backend of the file functions on a machine that mounts the terminals' shares:
/// a network path ("//PC01/share/orders") is served by the local file system inside the
/// mounted share; a share that is not mounted fails every operation.

#include "fileutil/FileSystem.h"

class MountedShareFileSystem : public FileSystem {
public:
    bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override;
    bool GetItemInfo(const std::wstring& path, ItemInfo& info) override;
    bool MakeFolder(const std::wstring& path) override;
    bool RenameNoReplace(const std::wstring& from, const std::wstring& to) override;
    bool DeleteTree(const std::wstring& path) override;
    bool CopyFile(const std::wstring& from, const std::wstring& to) override;
    bool LinkFile(const std::wstring& from, const std::wstring& to) override;
    bool ReadFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes) override;
    bool WriteFileAtomically(const std::wstring& path, std::string_view bytes) override;
    bool GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) override;
};

/// Makes the mounted shares serve every network path of the file functions (start-up).
void InstallMountedShareFileSystem();
