#include "fileutil/FileSystem.h"

#include "platform/FileSystemCalls.h"
#include "platform/NetworkShare.h"

#include <atomic>

namespace {

std::atomic<FileSystem*> g_networkFileSystem{nullptr};

// Serves network paths while no network backend is installed: every operation fails, so that
// a share path never falls through to a local folder of the same name.
class UnreachableFileSystem final : public FileSystem {
public:
    FsResult ListFolder(const std::wstring&, std::vector<FolderEntry>&) override {
        return FsError::kUnreachable;
    }
    FsResult GetItemInfo(const std::wstring&, ItemInfo&) override { return FsError::kUnreachable; }
    FsResult MakeFolder(const std::wstring&) override { return FsError::kUnreachable; }
    FsResult RenameNoReplace(const std::wstring&, const std::wstring&) override {
        return FsError::kUnreachable;
    }
    FsResult DeleteTree(const std::wstring&) override { return FsError::kUnreachable; }
    FsResult CopyFile(const std::wstring&, const std::wstring&) override {
        return FsError::kUnreachable;
    }
    FsResult ReadFile(const std::wstring&, std::string&, std::size_t) override {
        return FsError::kUnreachable;
    }
    FsResult WriteFileAtomically(const std::wstring&, std::string_view) override {
        return FsError::kUnreachable;
    }
    FsResult GetFreeBytes(const std::wstring&, std::uint64_t&) override {
        return FsError::kUnreachable;
    }
};

} // namespace

bool IsNetworkPath(std::wstring_view path) {
    return platform::IsNetworkPath(std::wstring(path));
}

FileSystem& FileSystemFor(std::wstring_view path) {
    if (!IsNetworkPath(path))
        return LocalFileSystem();
    if (FileSystem* network = g_networkFileSystem.load())
        return *network;
    // Windows opens share paths itself once the share is connected; elsewhere "//server"
    // would name a local folder, so share paths fail until a network backend is installed.
    if (platform::kPathSeparator == L'\\')
        return LocalFileSystem();
    static UnreachableFileSystem unreachable;
    return unreachable;
}

void SetNetworkFileSystem(FileSystem* backend) {
    g_networkFileSystem.store(backend);
}
