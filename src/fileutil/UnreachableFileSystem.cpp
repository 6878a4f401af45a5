#include "fileutil/UnreachableFileSystem.h"

#include "platform/NetworkShare.h"

FsResult UnreachableFileSystem::ListFolder(const std::wstring&, std::vector<FolderEntry>&) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::GetItemInfo(const std::wstring&, ItemInfo&) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::MakeFolder(const std::wstring&) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::RenameNoReplace(const std::wstring&, const std::wstring&) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::DeleteTree(const std::wstring&) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::CopyFile(const std::wstring&, const std::wstring&) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::ReadFile(const std::wstring&, std::string&, std::size_t) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::WriteFileAtomically(const std::wstring&, std::string_view) {
    return FsError::kUnreachable;
}

FsResult UnreachableFileSystem::GetFreeBytes(const std::wstring&, std::uint64_t&) {
    return FsError::kUnreachable;
}

int UnreachableFileSystem::LogOn(const std::wstring&, const std::wstring&, const std::wstring&) {
    return platform::kNetworkBadNetName;
}
