#include "config/ProfileFunctions.h"
#include "fileutil/FileSystem.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "platform/FileSystemCalls.h"

#include "FileFaults.h"
#include "FolderNames.h"
#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(NameCase, WritesReplaceTheFileOfAnotherCaseInsteadOfAddingOne) {
    struct Writer {
        const char* name;
        std::function<FsResult(const TempFolder&)> write;
    };
    const Writer writers[] = {
        {"WriteFileAtomically",
         [](const TempFolder& f) {
             return LocalFileSystem().WriteFileAtomically(f / L"dst/vq_info.ini", "new");
         }},
        {"CopyOneFile",
         [](const TempFolder& f) {
             return CopyOneFile(LocalFolders(), f / L"src/vq_info.ini", f / L"dst/Vq_Info.ini");
         }},
        {"LinkFile",
         [](const TempFolder& f) {
             return LocalFileSystem().LinkFile(f / L"src/vq_info.ini", f / L"dst/vq_info.ini");
         }},
        {"CopyFolderWhole",
         [](const TempFolder& f) {
             return CopyFolderWhole(LocalFolders(), f / L"src", f / L"DST");
         }},
        {"LinkFolderWhole",
         [](const TempFolder& f) {
             return LinkFolderWhole(LocalFolders(), f / L"src", f / L"dst");
         }},
    };
    for (const Writer& writer : writers) {
        TempFolder folder;
        folder.WriteFile(L"src/vq_info.ini", "new");
        folder.WriteFile(L"dst/VQ_INFO.INI", "old");
        EXPECT_TRUE(writer.write(folder)) << writer.name;
        EXPECT_EQ(FolderNames(folder.Path()), (Names{L"dst", L"src"})) << writer.name;
        EXPECT_EQ(FolderNames(folder / L"dst"), Names{L"VQ_INFO.INI"}) << writer.name;
        EXPECT_EQ(folder.ReadFile(L"dst/VQ_INFO.INI"), "new") << writer.name;
    }
}

TEST(NameCase, ANameDifferingOnlyInCaseIsTaken) {
    TempFolder folder;
    folder.WriteFile(L"in/r0000001/VQ_Info.ini", "order");
    folder.MakeFolder(L"in/E0000001");
    EXPECT_EQ(MoveItem(LocalFolders(), folder / L"in/r0000001", folder / L"in/e0000001").Error(),
              FsError::kExists);
    EXPECT_EQ(MakeFolder(LocalFolders(), folder / L"in/e0000001").Error(), FsError::kExists);
    EXPECT_EQ(FolderNames(folder / L"in"), (Names{L"E0000001", L"r0000001"}));
    // A rename that only changes the case of the item's own name is no conflict.
    EXPECT_TRUE(MoveItem(LocalFolders(), folder / L"in/r0000001", folder / L"in/R0000001"));
    EXPECT_EQ(FolderNames(folder / L"in"), (Names{L"E0000001", L"R0000001"}));
    // The source is found under any case too.
    EXPECT_TRUE(MoveItem(LocalFolders(), folder / L"IN/r0000001", folder / L"in/q0000001"));
    EXPECT_EQ(FolderNames(folder / L"in"), (Names{L"E0000001", L"q0000001"}));
    EXPECT_EQ(folder.ReadFile(L"in/q0000001/VQ_Info.ini"), "order");
}

TEST(NameCase, DeletingNothingIsAFailureWhileTheItemOfAnotherCaseStays) {
    TempFolder folder;
    const PermissionsApply permissions;
    if (!permissions.Active())
        GTEST_SKIP() << "permissions do not stop an administrator here";
    folder.WriteFile(L"out/p0000009/IMAGE/cmb0001.jpg", "x");
    fs::permissions(platform::ToFsPath(folder / L"out"),
                    fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(DeleteItem(LocalFolders(), folder / L"out/P0000009"));
    EXPECT_EQ(DeleteMatching(LocalFolders(), folder / L"out/P0000009"), kDeleteMatchingFailed);
    EXPECT_TRUE(folder.Exists(L"out/p0000009"));
}

TEST(ByteNames, NamesThatAreNotUtf8AreListedCopiedAndDeleted) {
    TempFolder folder;
    folder.MakeFolder(L"src");
    const fs::path source = platform::ToFsPath(folder / L"src");
    std::ofstream(source / "\xFF\xFE", std::ios::binary) << "picture";
    fs::create_directory(source / "\xFF\xFE-IMAGE");
    std::ofstream(source / "\xFF\xFE-IMAGE" / "\x8E\xCA.jpg", std::ios::binary) << "sjis";

    std::vector<std::wstring> names;
    EXPECT_EQ(FolderLister(LocalFolders())
                  .ListNamesToArray(names, folder / L"src", L"*", -1,
                                    FolderLister::kFiles | FolderLister::kFolders),
              3);
    ASSERT_TRUE(CopyFolderWhole(LocalFolders(), folder / L"src", folder / L"dst"));
    const fs::path copy = platform::ToFsPath(folder / L"dst");
    EXPECT_EQ(FolderNames(folder / L"dst"), FolderNames(folder / L"src"));
    EXPECT_EQ(FileBytes(copy / "\xFF\xFE"), "picture");
    EXPECT_EQ(FileBytes(copy / "\xFF\xFE-IMAGE" / "\x8E\xCA.jpg"), "sjis");

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(LocalFileSystem().ListFolder(folder / L"src", entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const FolderEntry& entry : entries)
        EXPECT_TRUE(DeleteItem(LocalFolders(), JoinPath(folder / L"src", entry.name)));
    EXPECT_TRUE(FolderNames(folder / L"src").empty());
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"dst/*"));
    EXPECT_TRUE(FolderNames(folder / L"dst").empty());
}
