#include "config/ProfileFunctions.h"
#include "fileutil/FileSystem.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "platform/FileSystemCalls.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <list>

namespace {

// A network backend serving the share //kiosk/share from a local folder, as a mounted share
// would: it maps the path and does the work through the local backend.
class MappedShare final : public FileSystem {
public:
    explicit MappedShare(std::wstring root) : m_root(std::move(root)) {}

    bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        return LocalFileSystem().ListFolder(Map(folder), entries);
    }
    bool GetItemInfo(const std::wstring& path, ItemInfo& info) override {
        return LocalFileSystem().GetItemInfo(Map(path), info);
    }
    bool MakeFolder(const std::wstring& path) override { return LocalFileSystem().MakeFolder(Map(path)); }
    bool RenameNoReplace(const std::wstring& from, const std::wstring& to) override {
        return LocalFileSystem().RenameNoReplace(Map(from), Map(to));
    }
    bool DeleteTree(const std::wstring& path) override { return LocalFileSystem().DeleteTree(Map(path)); }
    bool CopyFile(const std::wstring& from, const std::wstring& to) override {
        return LocalFileSystem().CopyFile(Map(from), Map(to));
    }
    bool ReadFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes) override {
        return LocalFileSystem().ReadFile(Map(path), bytes, maxBytes);
    }
    bool WriteFileAtomically(const std::wstring& path, std::string_view bytes) override {
        return LocalFileSystem().WriteFileAtomically(Map(path), bytes);
    }
    bool GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) override {
        return LocalFileSystem().GetFreeBytes(Map(path), freeBytes);
    }

private:
    std::wstring Map(const std::wstring& path) const {
        static const std::wstring kShare = L"//kiosk/share";
        return path.starts_with(kShare) ? m_root + path.substr(kShare.size()) : path;
    }
    std::wstring m_root;
};

class InstalledShare {
public:
    explicit InstalledShare(FileSystem& backend) { SetNetworkFileSystem(&backend); }
    ~InstalledShare() { SetNetworkFileSystem(nullptr); }
};

} // namespace

TEST(FileSystem, NetworkPathsBeginWithTwoSeparators) {
    EXPECT_TRUE(IsNetworkPath(L"//kiosk/share/in"));
    EXPECT_FALSE(IsNetworkPath(L"/kiosk/share/in"));
    EXPECT_FALSE(IsNetworkPath(L"relative/in"));
    EXPECT_FALSE(IsNetworkPath(L"/"));
}

TEST(FileSystem, ShareWithoutANetworkBackendIsUnreachableAndNeverALocalFolder) {
    TempFolder folder;
    folder.WriteFile(L"src/a.txt", "a");
    const std::wstring share = L"//relaydesk-test-kiosk/share";
    EXPECT_FALSE(PathExists(share));
    EXPECT_FALSE(MakeFolder(share + L"/in"));
    // The source could be listed, so the folder copy reports true; nothing reaches the share.
    EXPECT_TRUE(CopyFolder(folder / L"src", share + L"/out"));
    EXPECT_FALSE(CopyFolder(share + L"/in", folder / L"dst"));
    EXPECT_FALSE(CopyOneFile(folder / L"src/a.txt", share + L"/a.txt"));
    FolderLister lister;
    EXPECT_EQ(lister.CountEntries(share, L"*", -1, 7), 0);
    EXPECT_FALSE(std::filesystem::exists("/relaydesk-test-kiosk"));
}

TEST(FileSystem, NetworkPathsGoThroughTheInstalledBackend) {
    TempFolder folder;
    folder.WriteFile(L"kiosk/in/r0000001/VQ_Info.ini", "[ORDER]\r\nUniqueID=\"端末-1\"\r\n");
    folder.WriteFile(L"kiosk/in/r0000001/IMAGE/写真.jpg", "jpeg");
    folder.MakeFolder(L"kiosk/out");
    MappedShare backend(folder / L"kiosk");
    InstalledShare installed(backend);

    FolderLister lister;
    std::list<std::wstring> orders;
    EXPECT_EQ(lister.ListToList(orders, L"//kiosk/share/in", L"r*", 0, FolderLister::kFolders), 1);
    EXPECT_EQ(orders, std::list<std::wstring>{L"//kiosk/share/in/r0000001"});
    EXPECT_EQ(ReadProfileString(L"//kiosk/share/in/r0000001/VQ_Info.ini", L"ORDER", L"UniqueID", L""), L"端末-1");

    EXPECT_TRUE(CopyFolder(L"//kiosk/share/in/r0000001", folder / L"TEMP"));
    EXPECT_EQ(folder.ReadFile(L"TEMP/IMAGE/写真.jpg"), "jpeg");
    EXPECT_TRUE(CopyFolder(folder / L"TEMP", L"//kiosk/share/out/p0000001"));
    EXPECT_EQ(folder.ReadFile(L"kiosk/out/p0000001/IMAGE/写真.jpg"), "jpeg");
    EXPECT_TRUE(MoveItem(L"//kiosk/share/in/r0000001", L"//kiosk/share/in/e0000001"));
    EXPECT_TRUE(folder.Exists(L"kiosk/in/e0000001/VQ_Info.ini"));
    EXPECT_TRUE(DeleteItem(L"//kiosk/share/out/*0000001"));
    EXPECT_FALSE(folder.Exists(L"kiosk/out/p0000001"));
}

TEST(FileSystem, LocalBackendReportsSizeFreeSpaceAndReadLimit) {
    TempFolder folder;
    folder.WriteFile(L"注文.ini", "12345");
    FileSystem& local = LocalFileSystem();
    ItemInfo info;
    ASSERT_TRUE(local.GetItemInfo(folder / L"注文.ini", info));
    EXPECT_FALSE(info.isFolder);
    EXPECT_EQ(info.size, 5u);
    EXPECT_GT(info.modifiedSeconds, 1600000000);
    std::uint64_t freeBytes = 0;
    EXPECT_TRUE(local.GetFreeBytes(folder.Path(), freeBytes));
    EXPECT_GT(freeBytes, 0u);
    std::string bytes;
    EXPECT_TRUE(local.ReadFile(folder / L"注文.ini", bytes, 5));
    EXPECT_EQ(bytes, "12345");
    EXPECT_FALSE(local.ReadFile(folder / L"注文.ini", bytes, 4));
    EXPECT_FALSE(local.ReadFile(folder.Path(), bytes, 100));
}
