#include "transfer/MountedShareFileSystem.h"

#include "platform/NetworkShare.h"

namespace {

/// The local path of `path`, or empty when no mounted share serves it.
std::wstring Local(const std::wstring& path) {
    return platform::ResolveNetworkPath(path);
}

} // namespace

bool MountedShareFileSystem::ListFolder(const std::wstring& folder,
                                        std::vector<FolderEntry>& entries) {
    const std::wstring local = Local(folder);
    return !local.empty() && LocalFileSystem().ListFolder(local, entries);
}

bool MountedShareFileSystem::GetItemInfo(const std::wstring& path, ItemInfo& info) {
    const std::wstring local = Local(path);
    return !local.empty() && LocalFileSystem().GetItemInfo(local, info);
}

bool MountedShareFileSystem::MakeFolder(const std::wstring& path) {
    const std::wstring local = Local(path);
    return !local.empty() && LocalFileSystem().MakeFolder(local);
}

bool MountedShareFileSystem::RenameNoReplace(const std::wstring& from, const std::wstring& to) {
    const std::wstring localFrom = Local(from), localTo = Local(to);
    return !localFrom.empty() && !localTo.empty() &&
           LocalFileSystem().RenameNoReplace(localFrom, localTo);
}

bool MountedShareFileSystem::DeleteTree(const std::wstring& path) {
    const std::wstring local = Local(path);
    return !local.empty() && LocalFileSystem().DeleteTree(local);
}

bool MountedShareFileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
    // One side may be a local folder (the work folder): resolving leaves it unchanged.
    const std::wstring localFrom = Local(from), localTo = Local(to);
    return !localFrom.empty() && !localTo.empty() && LocalFileSystem().CopyFile(localFrom, localTo);
}

bool MountedShareFileSystem::LinkFile(const std::wstring& from, const std::wstring& to) {
    // Both names must lie in one share; the local volume tells whether it keeps links.
    const std::wstring localFrom = Local(from), localTo = Local(to);
    return !localFrom.empty() && !localTo.empty() && LocalFileSystem().LinkFile(localFrom, localTo);
}

bool MountedShareFileSystem::ReadFile(const std::wstring& path, std::string& bytes,
                                      std::size_t maxBytes) {
    const std::wstring local = Local(path);
    return !local.empty() && LocalFileSystem().ReadFile(local, bytes, maxBytes);
}

bool MountedShareFileSystem::WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
    const std::wstring local = Local(path);
    return !local.empty() && LocalFileSystem().WriteFileAtomically(local, bytes);
}

bool MountedShareFileSystem::GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) {
    const std::wstring local = Local(path);
    return !local.empty() && LocalFileSystem().GetFreeBytes(local, freeBytes);
}

void InstallMountedShareFileSystem() {
    static MountedShareFileSystem mountedShares;
    SetNetworkFileSystem(&mountedShares);
}
