#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "platform/FileSystemCalls.h"

#include "FileFaults.h"
#include "SpecialFiles.h"
#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::wstring> AllNames(const TempFolder& folder) {
    std::vector<std::wstring> names;
    FolderLister(LocalFolders())
        .ListNamesToArray(names, folder.Path(), L"*", -1,
                          FolderLister::kFiles | FolderLister::kFolders);
    return names;
}

} // namespace

TEST(FullDisk, CopyFailsAndLeavesNoTruncatedFile) {
    if (!FileSizeLimit::Available())
        GTEST_SKIP() << "Windows, and so wine, has no per-process file size limit to stand in for "
                        "a full disk";
    TempFolder folder;
    folder.WriteFile(L"src/大きい写真.jpg", std::string(200 * 1024, 'j'));
    folder.WriteFile(L"src/small.txt",
                     std::string(3000, 's')); // fails only when its buffer is flushed
    folder.WriteFile(L"dst/大きい写真.jpg", "previous version");
    {
        FileSizeLimit fullDisk(1000);
        EXPECT_FALSE(CopyOneFile(LocalFolders(), folder / L"src/大きい写真.jpg",
                                 folder / L"dst/大きい写真.jpg"));
        EXPECT_FALSE(
            CopyOneFile(LocalFolders(), folder / L"src/small.txt", folder / L"dst/small.txt"));
        // True: the source could be listed, whatever the single copies gave.
        EXPECT_TRUE(CopyFolder(LocalFolders(), folder / L"src", folder / L"work"));
        // Only a whole copy counts for CopyFolderWhole.
        EXPECT_FALSE(CopyFolderWhole(LocalFolders(), folder / L"src", folder / L"work"));
    }
    EXPECT_TRUE(CopyFolderWhole(LocalFolders(), folder / L"src", folder / L"whole"));
    EXPECT_FALSE(CopyFolderWhole(LocalFolders(), folder / L"missing", folder / L"none"));
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"whole"));
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"none"));
    EXPECT_EQ(folder.ReadFile(L"dst/大きい写真.jpg"), "previous version");
    EXPECT_EQ(AllNames(folder),
              (std::vector<std::wstring>{L"dst", L"src", L"work", L"大きい写真.jpg", L"small.txt",
                                         L"大きい写真.jpg"}));
}

TEST(FullDisk, ReplaceInTextFileLeavesTheFileAsItWas) {
    if (!FileSizeLimit::Available())
        GTEST_SKIP() << "Windows, and so wine, has no per-process file size limit to stand in for "
                        "a full disk";
    TempFolder folder;
    const std::string original(2000, 'x');
    folder.WriteFile(L"t.ini", original);
    {
        FileSizeLimit fullDisk(2001);
        EXPECT_EQ(ReplaceInTextFile(LocalFolders(), folder / L"t.ini", L"x", L"longer").Error(),
                  FsError::kNoSpace);
    }
    EXPECT_EQ(folder.ReadFile(L"t.ini"), original);
    EXPECT_EQ(AllNames(folder), std::vector<std::wstring>{L"t.ini"});
}

TEST(NoRights, UnreadableSourcesAndUndeletableEntriesAreFailures) {
    TempFolder folder;
    const PermissionsApply permissions;
    if (!permissions.Active())
        GTEST_SKIP() << "permissions do not stop an administrator here";
    folder.WriteFile(L"locked/a.txt", "a");
    folder.WriteFile(L"open/secret.txt", "s");
    folder.WriteFile(L"open/plain.txt", "p");
    folder.WriteFile(L"out/p0000001/IMAGE/cmb0001.jpg", "x");
    fs::permissions(platform::ToFsPath(folder / L"locked"), fs::perms::none);
    fs::permissions(platform::ToFsPath(folder / L"open/secret.txt"), fs::perms::none);
    fs::permissions(platform::ToFsPath(folder / L"out/p0000001/IMAGE"),
                    fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(CopyFolder(LocalFolders(), folder / L"locked", folder / L"copy1"));
    EXPECT_EQ(FolderLister(LocalFolders()).CountEntries(folder / L"locked", L"*", 0, 7), 0);
    EXPECT_TRUE(CopyFolder(LocalFolders(), folder / L"open", folder / L"copy2"));
    EXPECT_EQ(folder.ReadFile(L"copy2/plain.txt"), "p");
    EXPECT_FALSE(folder.Exists(L"copy2/secret.txt"));
    EXPECT_FALSE(DeleteItem(LocalFolders(), folder / L"out/p*"));
    EXPECT_EQ(DeleteMatching(LocalFolders(), folder / L"out/p*"), kDeleteMatchingFailed);
}

TEST(WholeCopy, FailsOnEveryEntryItCannotCopyAndCopiesTheRest) {
    struct Entry {
        const char* name;
        std::function<bool(const std::wstring& path)> make;
    };
    const Entry entries[] = {
        {"fifo",
         [](const std::wstring& path) { return MakeSpecialFile(path, SpecialFile::kFifo); }},
        {"socket",
         [](const std::wstring& path) { return MakeSpecialFile(path, SpecialFile::kSocket); }},
        {"link to nothing",
         [](const std::wstring& path) {
             std::error_code error;
             fs::create_symlink("missing.jpg", platform::ToFsPath(path), error);
             return !error;
         }},
        {"linked folder",
         [](const std::wstring& path) {
             std::error_code error;
             fs::create_directory_symlink("..", platform::ToFsPath(path), error);
             return !error;
         }},
    };
    struct WholeCopy {
        const char* name;
        std::function<FsResult(const TempFolder&)> copy;
    };
    const WholeCopy copies[] = {
        {"CopyFolderWhole",
         [](const TempFolder& f) {
             return CopyFolderWhole(LocalFolders(), f / L"src", f / L"dst");
         }},
        {"LinkFolderWhole",
         [](const TempFolder& f) {
             return LinkFolderWhole(LocalFolders(), f / L"src", f / L"dst");
         }},
        // The source is its own twin and overlay: every entry is taken from there.
        {"CopyFolderWholeFromTwins",
         [](const TempFolder& f) {
             return CopyFolderWholeFromTwins(LocalFolders(), f / L"src", f / L"dst", {f / L"src"});
         }},
        {"CopyFolderWholeOverlaid",
         [](const TempFolder& f) {
             return CopyFolderWholeOverlaid(LocalFolders(), f / L"src", f / L"src", f / L"dst");
         }},
    };
    for (const WholeCopy& whole : copies) {
        TempFolder plain;
        plain.WriteFile(L"src/IMAGE/写真.jpg", "jpeg");
        EXPECT_TRUE(whole.copy(plain)) << whole.name;
        for (const Entry& entry : entries) {
            TempFolder folder;
            folder.WriteFile(L"src/IMAGE/写真.jpg", "jpeg");
            ASSERT_TRUE(entry.make(folder / L"src/IMAGE/entry")) << entry.name;
            EXPECT_FALSE(whole.copy(folder)) << whole.name << " with a " << entry.name;
            EXPECT_EQ(folder.ReadFile(L"dst/IMAGE/写真.jpg"), "jpeg") << whole.name;
        }
    }
}
