#include "fileutil/MountedShareFileSystem.h"

#include "platform/NetworkShare.h"

#include <initializer_list>

namespace {

/// The local paths of `paths`, or false when no mounted share serves one of them (a local
/// path, such as the work folder's, resolves to itself).
bool Resolve(std::initializer_list<std::wstring*> paths) {
    for (std::wstring* path : paths) {
        *path = platform::ResolveNetworkPath(*path);
        if (path->empty())
            return false;
    }
    return true;
}

} // namespace

bool MountedShareFileSystem::Serves(std::wstring_view path) const {
    return !platform::ResolveNetworkPath(std::wstring(path)).empty();
}

FsResult MountedShareFileSystem::ListFolder(const std::wstring& folder,
                                            std::vector<FolderEntry>& entries) {
    std::wstring local = folder;
    return Resolve({&local}) ? LocalFileSystem().ListFolder(local, entries) : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::GetItemInfo(const std::wstring& path, ItemInfo& info) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().GetItemInfo(local, info) : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::MakeFolder(const std::wstring& path) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().MakeFolder(local) : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::RenameNoReplace(const std::wstring& from, const std::wstring& to) {
    std::wstring localFrom = from, localTo = to;
    return Resolve({&localFrom, &localTo}) ? LocalFileSystem().RenameNoReplace(localFrom, localTo)
                                           : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::DeleteTree(const std::wstring& path) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().DeleteTree(local) : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
    // One side may be a local folder (the work folder): resolving leaves it unchanged.
    std::wstring localFrom = from, localTo = to;
    return Resolve({&localFrom, &localTo}) ? LocalFileSystem().CopyFile(localFrom, localTo)
                                           : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::LinkFile(const std::wstring& from, const std::wstring& to) {
    // Both names must lie in one share; the local volume tells whether it keeps links.
    std::wstring localFrom = from, localTo = to;
    return Resolve({&localFrom, &localTo}) ? LocalFileSystem().LinkFile(localFrom, localTo)
                                           : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::ReadFile(const std::wstring& path, std::string& bytes,
                                          std::size_t maxBytes) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().ReadFile(local, bytes, maxBytes)
                             : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::WriteFileAtomically(const std::wstring& path,
                                                     std::string_view bytes) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().WriteFileAtomically(local, bytes)
                             : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::Flush(const std::wstring& path) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().Flush(local) : FsError::kUnreachable;
}

FsResult MountedShareFileSystem::GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) {
    std::wstring local = path;
    return Resolve({&local}) ? LocalFileSystem().GetFreeBytes(local, freeBytes)
                             : FsError::kUnreachable;
}
