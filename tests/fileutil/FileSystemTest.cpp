#include "config/ProfileDocument.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "fileutil/ShareResolver.h"
#include "platform/FileSystemCalls.h"

#include "FileFaults.h"
#include "MountTable.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <thread>

namespace fs = std::filesystem;

TEST(FileSystem, ShareThatNothingServesIsUnreachableAndNeverALocalFolder) {
    TempFolder folder;
    folder.WriteFile(L"src/a.txt", "a");
    const std::wstring share = L"//relaydesk-test-kiosk.invalid/share";
    ShareResolver shares;
    for (FileSystemResolver* files : {&LocalFolders(), static_cast<FileSystemResolver*>(&shares)}) {
        FileSystemResolver& resolver = *files;
        EXPECT_FALSE(PathExists(resolver, share));
        EXPECT_FALSE(MakeFolder(resolver, share + L"/in"));
        EXPECT_FALSE(CopyFolder(resolver, share + L"/in", folder / L"dst"));
        EXPECT_FALSE(CopyOneFile(resolver, folder / L"src/a.txt", share + L"/a.txt"));
        EXPECT_EQ(FolderLister(resolver).CountEntries(share, L"*", -1, 7), 0);
        EXPECT_FALSE(CopyFolder(resolver, folder / L"src", share + L"/out"));
        // What cannot be looked at may hold matches: never "nothing to delete".
        EXPECT_EQ(DeleteItem(resolver, share + L"/out/*").Error(), FsError::kUnreachable);
        EXPECT_EQ(DeleteItem(resolver, share + L"/out").Error(), FsError::kUnreachable);
        EXPECT_EQ(DeleteMatching(resolver, share + L"/out/*"), kDeleteMatchingFailed);
    }
    EXPECT_FALSE(MakeFolderPath(share + L"/in"));
    EXPECT_FALSE(fs::exists("/relaydesk-test-kiosk.invalid"));
}

TEST(FileSystem, NetworkPathsGoThroughTheMountedSharesBackend) {
    TempFolder folder;
    folder.WriteFile(L"kiosk/in/r0000001/VQ_Info.ini", "[ORDER]\r\nUniqueID=\"端末-1\"\r\n");
    folder.WriteFile(L"kiosk/in/r0000001/IMAGE/写真.jpg", "jpeg");
    folder.MakeFolder(L"kiosk/out");
    const MountTable mounts(folder, MountTable::Cifs("//kiosk/share", folder / L"kiosk"));
    ShareResolver files;

    std::list<std::wstring> orders;
    EXPECT_EQ(FolderLister(files).ListToList(orders, L"//kiosk/share/in", L"r*", 0,
                                             FolderLister::kFolders),
              1);
    EXPECT_EQ(orders, std::list<std::wstring>{L"//kiosk/share/in/r0000001"});
    ProfileDocument info;
    const std::wstring infoFile = L"//kiosk/share/in/r0000001/VQ_Info.ini";
    EXPECT_TRUE(info.Load(files.For(infoFile), infoFile));
    EXPECT_EQ(info.Get(L"ORDER", L"UniqueID"), L"端末-1");
    EXPECT_TRUE(CopyFolder(files, L"//kiosk/share/in/r0000001", folder / L"TEMP"));
    EXPECT_TRUE(CopyFolder(files, folder / L"TEMP", L"//kiosk/share/out/p0000001"));
    EXPECT_EQ(folder.ReadFile(L"kiosk/out/p0000001/IMAGE/写真.jpg"), "jpeg");
    EXPECT_TRUE(MoveItem(files, L"//kiosk/share/in/r0000001", L"//kiosk/share/in/e0000001"));
    EXPECT_TRUE(folder.Exists(L"kiosk/in/e0000001/VQ_Info.ini"));
    EXPECT_TRUE(DeleteItem(files, L"//kiosk/share/out/*0000001"));
    EXPECT_FALSE(folder.Exists(L"kiosk/out/p0000001"));
}

TEST(FileSystem, LocalBackendReportsSizeAndFreeSpaceAndBoundsReads) {
    TempFolder folder;
    folder.WriteFile(L"注文.ini", "12345");
    ItemInfo info;
    ASSERT_TRUE(LocalFileSystem().GetItemInfo(folder / L"注文.ini", info));
    EXPECT_EQ(info.size, 5u);
    EXPECT_FALSE(info.isFolder);
    std::uint64_t freeBytes = 0;
    EXPECT_TRUE(LocalFileSystem().GetFreeBytes(folder.Path(), freeBytes) && freeBytes > 0);
    std::string bytes;
    EXPECT_TRUE(LocalFileSystem().ReadFile(folder / L"注文.ini", bytes, 5) && bytes == "12345");
    EXPECT_FALSE(LocalFileSystem().ReadFile(folder / L"注文.ini", bytes, 4));
}

// composition.ini holds the shares' passwords: rewriting it must not open it to others.
TEST(FileSystem, AtomicWriteKeepsTheReplacedFilesAccess) {
    if (!FileModeBitsKept())
        GTEST_SKIP() << "Windows keeps access in inherited access lists, not in mode bits";
    TempFolder folder;
    folder.WriteFile(L"composition.ini", "[TERMINAL]\n");
    const fs::path file = platform::ToFsPath(folder / L"composition.ini");
    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file, ownerOnly);
    ASSERT_TRUE(LocalFileSystem().WriteFileAtomically(folder / L"composition.ini",
                                                      "[TERMINAL]\nPassword0=x\n"));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, ownerOnly);
}

TEST(FileSystem, ReadOnlyFilesAreCopiedWritableAndDeletedWithTheirFolder) {
    TempFolder folder;
    folder.WriteFile(L"注文/写真.jpg", "jpeg");
    const fs::path original = platform::ToFsPath(folder / L"注文/写真.jpg");
    const fs::perms writable =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(original, writable, fs::perm_options::remove);
    ASSERT_EQ(fs::status(original).permissions() & fs::perms::owner_write, fs::perms::none);

    ASSERT_TRUE(LocalFileSystem().CopyFile(folder / L"注文/写真.jpg", folder / L"写真.jpg"));
    EXPECT_NE(fs::status(platform::ToFsPath(folder / L"写真.jpg")).permissions() &
                  fs::perms::owner_write,
              fs::perms::none);
    EXPECT_TRUE(LocalFileSystem().CopyFile(folder / L"注文/写真.jpg", folder / L"写真.jpg"))
        << "a copy replaces an earlier copy of a read-only file";

    EXPECT_TRUE(LocalFileSystem().DeleteTree(folder / L"注文"));
    EXPECT_FALSE(folder.Exists(L"注文"));
}

TEST(FileSystem, SaveReplacesAFileAnotherProgramHoldsOpenOnceItLetsGo) {
    TempFolder folder;
    folder.WriteFile(L"composition.ini", "old");
    // A reader that shares reading and writing but not deletion, as scanners and viewers do.
    auto reader = std::make_unique<std::ifstream>(platform::ToFsPath(folder / L"composition.ini"));
    ASSERT_TRUE(reader->is_open());
    std::thread release([&reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        reader.reset();
    });
    const FsResult saved =
        LocalFileSystem().WriteFileAtomically(folder / L"composition.ini", "new");
    release.join();
    EXPECT_TRUE(saved) << saved.Reason();
    EXPECT_EQ(folder.ReadFile(L"composition.ini"), "new");
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(LocalFileSystem().ListFolder(folder.Path(), entries));
    EXPECT_EQ(entries.size(), 1u) << "no temporary file is left";
}
