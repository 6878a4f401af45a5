#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"

#include "FolderNames.h"
#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

TEST(CopyFolder, ReproducesATreeWithoutDotNamesOrLinkedFolders) {
    TempFolder folder;
    folder.WriteFile(L"order/VQ_Info.ini", "[ORDER]\r\n");
    folder.WriteFile(L"order/IMAGE/補正/写真0001.jpg", "corrected");
    folder.WriteFile(L"order/.DS_Store", "junk");
    folder.WriteFile(L"order/.cache/x", "junk");
    folder.MakeFolder(L"order/EMPTY");
    fs::create_directory_symlink("..", platform::ToFsPath(folder / L"order/up"));
    EXPECT_TRUE(CopyFolder(LocalFolders(), folder / L"order", folder / L"work"));
    EXPECT_EQ(folder.ReadFile(L"work/VQ_Info.ini"), "[ORDER]\r\n");
    EXPECT_EQ(folder.ReadFile(L"work/IMAGE/補正/写真0001.jpg"), "corrected");
    EXPECT_TRUE(folder.Exists(L"work/EMPTY"));
    for (const wchar_t* skipped : {L"work/.DS_Store", L"work/.cache", L"work/up"})
        EXPECT_FALSE(folder.Exists(skipped)) << skipped;
    // The copy that must be whole fails on the linked folder it left out.
    EXPECT_EQ(CopyFolderWhole(LocalFolders(), folder / L"order", folder / L"whole").Error(),
              FsError::kFailed);
    // A missing source fails and makes nothing; a missing parent is never made, so that a
    // copy into a vanished share cannot rebuild its folders here.
    EXPECT_EQ(CopyFolderWhole(LocalFolders(), folder / L"missing", folder / L"TEMP").Error(),
              FsError::kNotFound);
    EXPECT_FALSE(folder.Exists(L"TEMP"));
    EXPECT_EQ(
        CopyFolderWhole(LocalFolders(), folder / L"order/IMAGE", folder / L"作業/TEMP").Error(),
        FsError::kNotFound);
    EXPECT_FALSE(folder.Exists(L"作業"));
}

TEST(CopyFolder, CopiesEveryFileOfALargeTreeWholeAndOnce) {
    TempFolder folder;
    std::size_t files = 0;
    for (const std::wstring sub : {L"", L"CORRECT/", L"CORRECT/深い/"})
        for (int picture = 0; picture < 60; ++picture, ++files)
            folder.WriteFile(L"order/" + sub + L"IMG-" + std::to_wstring(picture) + L".jpg",
                             std::string(1000 + files * 37, static_cast<char>(files)));
    EXPECT_TRUE(CopyFolder(LocalFolders(), folder / L"order", folder / L"work"));
    // No temporary file of a copy is left, and nothing else was made.
    EXPECT_EQ(ReadTree(folder / L"work"), ReadTree(folder / L"order"));
}

TEST(LinkFolder, GivesCopyFolderResultsAndLaterReplacementsStaySeparate) {
    TempFolder folder;
    folder.WriteFile(L"CORRECT/IMG-0001.jpg", "corrected 1");
    folder.WriteFile(L"CORRECT/sub/IMG-0002.jpg", "corrected 2");
    folder.WriteFile(L"CORRECT_BK/IMG-0001.jpg", "old 1");
    folder.WriteFile(L"CORRECT_BK/IMG-0003.jpg", "kept 3");
    const fs::path source = platform::ToFsPath(folder / L"CORRECT/IMG-0001.jpg");
    fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::permissions(platform::ToFsPath(folder / L"CORRECT_BK/IMG-0001.jpg"), fs::perms::owner_read);

    EXPECT_TRUE(LinkFolder(LocalFolders(), folder / L"CORRECT", folder / L"CORRECT_BK"));
    EXPECT_EQ(folder.ReadFile(L"CORRECT_BK/IMG-0001.jpg"), "corrected 1");
    EXPECT_EQ(folder.ReadFile(L"CORRECT_BK/sub/IMG-0002.jpg"), "corrected 2");
    EXPECT_EQ(folder.ReadFile(L"CORRECT_BK/IMG-0003.jpg"), "kept 3");
    // The replaced file's permissions are not forced onto the shared file.
    EXPECT_EQ(fs::status(source).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Files are replaced through a new file renamed over the old name, so writing one name
    // never changes the other.
    folder.WriteFile(L"newer.jpg", "corrected again");
    ASSERT_TRUE(
        CopyOneFile(LocalFolders(), folder / L"newer.jpg", folder / L"CORRECT/IMG-0001.jpg"));
    EXPECT_EQ(folder.ReadFile(L"CORRECT_BK/IMG-0001.jpg"), "corrected 1");

    EXPECT_FALSE(LinkFolder(LocalFolders(), folder / L"missing", folder / L"made"));
    EXPECT_FALSE(folder.Exists(L"made"));
}

TEST(CopyFolderWholeFromTwins, LinksUnchangedTwinsAndCopiesEverythingElse) {
    TempFolder folder;
    folder.WriteFile(L"share/CORRECT/IMG-0001.jpg", "corrected 1");
    folder.WriteFile(L"share/CORRECT_BK/IMG-0002.jpg", "kept 2");
    folder.WriteFile(L"share/CORRECT_BK/IMG-0003.jpg", "old 3");
    ASSERT_TRUE(CopyFolderWhole(LocalFolders(), folder / L"share/CORRECT", folder / L"work"));
    ASSERT_TRUE(CopyOneFile(LocalFolders(), folder / L"share/CORRECT_BK/IMG-0002.jpg",
                            folder / L"work/IMG-0002.jpg"));
    // Rewritten after the copy with as many bytes: only its time tells it apart.
    folder.WriteFile(L"work/IMG-0003.jpg", "new 3");
    const auto path = [&folder](const wchar_t* name) { return platform::ToFsPath(folder / name); };
    fs::last_write_time(path(L"work/IMG-0003.jpg"),
                        fs::last_write_time(path(L"share/CORRECT_BK/IMG-0003.jpg")) +
                            std::chrono::seconds(5));
    folder.WriteFile(L"work/sub/IMG-0004.jpg", "only here");
    const std::vector<std::wstring> twins = {folder / L"share/CORRECT",
                                             folder / L"share/CORRECT_BK"};

    EXPECT_TRUE(
        CopyFolderWholeFromTwins(LocalFolders(), folder / L"work", folder / L"share/new", twins));
    EXPECT_EQ(fs::hard_link_count(path(L"share/new/IMG-0001.jpg")), 2u);
    EXPECT_EQ(fs::hard_link_count(path(L"share/new/IMG-0002.jpg")), 2u);
    EXPECT_EQ(fs::hard_link_count(path(L"share/new/IMG-0003.jpg")), 1u);
    EXPECT_EQ(folder.ReadFile(L"share/new/IMG-0003.jpg"), "new 3");
    EXPECT_EQ(folder.ReadFile(L"share/new/sub/IMG-0004.jpg"), "only here");
    // The twins go; what they held stays under the new names.
    ASSERT_TRUE(DeleteItem(LocalFolders(), folder / L"share/CORRECT"));
    ASSERT_TRUE(DeleteItem(LocalFolders(), folder / L"share/CORRECT_BK"));
    EXPECT_EQ(folder.ReadFile(L"share/new/IMG-0001.jpg"), "corrected 1");
    EXPECT_EQ(folder.ReadFile(L"share/new/IMG-0002.jpg"), "kept 2");

    EXPECT_FALSE(CopyFolderWholeFromTwins(LocalFolders(), folder / L"missing",
                                          folder / L"share/none", twins));
}

TEST(CopyFolderWholeOverlaid, TakesTheOverlaysFileWhereItHasOne) {
    TempFolder folder;
    folder.WriteFile(L"share/CORRECT_BK/IMG-0001.jpg", "old 1");
    folder.WriteFile(L"share/CORRECT_BK/IMG-0002.jpg", "kept 2");
    folder.WriteFile(L"work/CORRECT/IMG-0001.jpg", "corrected 1");
    folder.WriteFile(L"work/CORRECT/IMG-0003.jpg", "corrected 3");

    EXPECT_TRUE(CopyFolderWholeOverlaid(LocalFolders(), folder / L"share/CORRECT_BK",
                                        folder / L"work/CORRECT", folder / L"work/CORRECT_BK"));
    EXPECT_EQ(folder.ReadFile(L"work/CORRECT_BK/IMG-0001.jpg"), "corrected 1");
    EXPECT_EQ(fs::hard_link_count(platform::ToFsPath(folder / L"work/CORRECT_BK/IMG-0001.jpg")),
              2u);
    EXPECT_EQ(folder.ReadFile(L"work/CORRECT_BK/IMG-0002.jpg"), "kept 2");
    // Only the source's names are copied: the overlay replaces, it does not add.
    EXPECT_FALSE(folder.Exists(L"work/CORRECT_BK/IMG-0003.jpg"));
    EXPECT_FALSE(CopyFolderWholeOverlaid(LocalFolders(), folder / L"missing",
                                         folder / L"work/CORRECT", folder / L"work/none"));
}

TEST(CopyOneFile, FailsWithoutTouchingTheDestination) {
    TempFolder folder;
    folder.WriteFile(L"dst.txt", "keep");
    folder.WriteFile(L"src.txt", "x");
    folder.MakeFolder(L"a folder");
    EXPECT_FALSE(CopyOneFile(LocalFolders(), folder / L"missing.txt", folder / L"dst.txt"));
    EXPECT_FALSE(CopyOneFile(LocalFolders(), folder / L"a folder", folder / L"dst.txt"));
    EXPECT_FALSE(CopyOneFile(LocalFolders(), folder / L"src.txt", folder / L"a folder"));
    EXPECT_FALSE(
        CopyOneFile(LocalFolders(), folder / L"src.txt", folder / L"no such folder/dst.txt"));
    EXPECT_EQ(folder.ReadFile(L"dst.txt"), "keep");
    // Nothing half-made beside them.
    EXPECT_EQ(FolderNames(folder.Path()), (Names{L"a folder", L"dst.txt", L"src.txt"}));
}

TEST(MoveItem, RenamesButNeverReplaces) {
    TempFolder folder;
    folder.WriteFile(L"in/r0001234/VQ_Info.ini", "order");
    folder.WriteFile(L"in/e0001234/old", "x");
    EXPECT_FALSE(MoveItem(LocalFolders(), folder / L"in/r0001234", folder / L"in/e0001234"));
    EXPECT_TRUE(folder.Exists(L"in/r0001234/VQ_Info.ini"));
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"in/e0001234"));
    EXPECT_TRUE(MoveItem(LocalFolders(), folder / L"in/r0001234", folder / L"in/e0001234"));
    EXPECT_EQ(folder.ReadFile(L"in/e0001234/VQ_Info.ini"), "order");
    EXPECT_FALSE(MoveItem(LocalFolders(), folder / L"in/missing", folder / L"in/q0001234"));
}

TEST(DeleteItem, DeletesAnItemEveryMatchOrALinkButNotItsTarget) {
    TempFolder folder;
    folder.WriteFile(L"TEMP/IMAGE/写真.jpg", "x");
    folder.WriteFile(L"TEMP/.hidden", "x");
    folder.WriteFile(L"log/a.log", "x");
    folder.WriteFile(L"log/B.LOG", "x");
    folder.WriteFile(L"log/c.txt", "x");
    fs::create_directory_symlink(platform::ToFsPath(folder / L"TEMP"),
                                 platform::ToFsPath(folder / L"link"));
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"li*"));
    EXPECT_TRUE(folder.Exists(L"TEMP/IMAGE/写真.jpg"));
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"TEMP/*"));
    EXPECT_EQ(DeleteMatching(LocalFolders(), folder / L"log/*.log"), 0);
    EXPECT_TRUE(folder.Exists(L"TEMP"));
    EXPECT_FALSE(folder.Exists(L"TEMP/IMAGE") || folder.Exists(L"TEMP/.hidden"));
    EXPECT_FALSE(folder.Exists(L"log/a.log") || folder.Exists(L"log/B.LOG"));
    EXPECT_TRUE(folder.Exists(L"log/c.txt"));
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"TEMP"));
    EXPECT_FALSE(folder.Exists(L"TEMP"));
    // Nothing to delete is no failure.
    EXPECT_TRUE(DeleteItem(LocalFolders(), folder / L"missing/*"));
    EXPECT_EQ(DeleteMatching(LocalFolders(), folder / L"*.tmp"), 0);
}

TEST(LongPaths, AreRefusedWithoutEffect) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a");
    std::wstring tooLong = folder / L"長いフォルダ名";
    while (tooLong.size() < kMaxPathLength)
        tooLong += L"/長いフォルダ名";
    EXPECT_FALSE(CopyOneFile(LocalFolders(), folder / L"a.txt", tooLong));
    EXPECT_FALSE(CopyFolder(LocalFolders(), folder.Path(), tooLong));
    EXPECT_FALSE(MakeFolderPath(tooLong));
    EXPECT_FALSE(MoveItem(LocalFolders(), folder / L"a.txt", tooLong));
    EXPECT_FALSE(PathExists(LocalFolders(), tooLong));
    EXPECT_FALSE(DeleteItem(LocalFolders(), tooLong));
    EXPECT_EQ(DeleteMatching(LocalFolders(), tooLong), kDeleteMatchingInvalidPath);
    EXPECT_EQ(ReplaceInTextFile(LocalFolders(), tooLong, L"a", L"b").Error(), FsError::kTooLong);
    EXPECT_EQ(FolderNames(folder.Path()), Names{L"a.txt"});
    EXPECT_EQ(folder.ReadFile(L"a.txt"), "a");
}

TEST(MakeFolder, CreatesMissingParentsAndAcceptsAnExistingFolderOnly) {
    TempFolder folder;
    folder.WriteFile(L"file", "x");
    EXPECT_TRUE(MakeFolderPath(folder / L"出力/p0000001/IMAGE"));
    EXPECT_TRUE(PathExists(LocalFolders(), folder / L"出力/p0000001/IMAGE"));
    EXPECT_TRUE(MakeFolderPath(folder / L"出力"));
    EXPECT_FALSE(MakeFolderPath(folder / L"file"));
    EXPECT_FALSE(MakeFolderPath(folder / L"file/sub"));
    EXPECT_TRUE(ItemExists(LocalFolders(), folder / L"file"));
    EXPECT_FALSE(ItemExists(LocalFolders(), folder / L"*"));
}

TEST(PathText, SplitAndExtensionFollowTheirRules) {
    const auto split = [](const wchar_t* path) {
        std::wstring folder, name;
        SplitPath(NativePath(path), folder, name);
        return folder + L"|" + name;
    };
    EXPECT_EQ(split(L"/data/in/r0001234"), NativePath(L"/data/in") + L"|r0001234");
    EXPECT_EQ(split(L"写真/表紙.jpg"), L"写真|表紙.jpg");
    EXPECT_EQ(split(L"/root-only"), L"|") << "a separator in the first place does not count";
    const std::pair<const wchar_t*, const wchar_t*> extensions[] = {
        {L"test.txt", L"txt"},
        {L"IMG-0001.JPG", L"JPG"},
        {L"archive.tar.gz", L"tar.gz"},
        {L"IMG-0001", L""},
        {L".hidden", L"hidden"},
        {L"写真.ｊｐｇ", L"ｊｐｇ"},
        {L"dir.old/photo.jpg", L"old/photo.jpg"},
        {L"dir.old/./photo.jpg", L"jpg"}, // the search starts behind a "." + separator
    };
    for (const auto& [file, extension] : extensions)
        EXPECT_EQ(GetExtensionText(NativePath(file)), NativePath(extension)) << file;
}

TEST(ReplaceInTextFile, ReplacesEveryOccurrenceAndWritesCrLf) {
    TempFolder folder;
    folder.WriteFile(L"a.ini",
                     "[PAGE]\nPATH=%WORK%/IMAGE/%WORK%\r\naaaa AAA\nlast line without end");
    ASSERT_TRUE(ReplaceInTextFile(LocalFolders(), folder / L"a.ini", L"%WORK%", L"/作業/TEMP"));
    ASSERT_TRUE(ReplaceInTextFile(LocalFolders(), folder / L"a.ini", L"aa", L"b"));
    EXPECT_EQ(folder.ReadFile(L"a.ini"),
              "[PAGE]\r\nPATH=/作業/TEMP/IMAGE//作業/TEMP\r\nbb AAA\r\nlast line without end\r\n");
    EXPECT_EQ(ReplaceInTextFile(LocalFolders(), folder / L"missing.ini", L"a", L"b").Error(),
              FsError::kNotFound);
    EXPECT_FALSE(folder.Exists(L"missing.ini"));
}

TEST(ReplaceInTextFile, KeepsBytesTheCodePageCannotRead) {
    TempFolder folder;
    // "写真" in Shift-JIS is not UTF-8: the line keeps its bytes, the placeholder is replaced;
    // a lone CR is part of its line.
    folder.WriteFile(L"sjis.ini", "NAME=\x8e\xca\x90\x5e%NO%\nA=%NO%\r");
    ASSERT_TRUE(ReplaceInTextFile(LocalFolders(), folder / L"sjis.ini", L"%NO%", L"0001234"));
    EXPECT_EQ(folder.ReadFile(L"sjis.ini"), "NAME=\x8e\xca\x90\x5e"
                                            "0001234\r\nA=0001234\r\r\n");
}
