#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::wstring Repeat(const std::wstring& part, std::size_t atLeast) {
    std::wstring text;
    while (text.size() < atLeast)
        text += part;
    return text;
}

} // namespace

TEST(CopyFolder, ReproducesATreeTwoLevelsDeepWithoutDotNames) {
    TempFolder folder;
    folder.WriteFile(L"order/VQ_Info.ini", "[ORDER]\r\n");
    folder.WriteFile(L"order/IMAGE/写真0001.jpg", "jpeg bytes");
    folder.WriteFile(L"order/IMAGE/補正/写真0001.jpg", "corrected");
    folder.WriteFile(L"order/.DS_Store", "junk");
    folder.WriteFile(L"order/.cache/x", "junk");
    folder.MakeFolder(L"order/EMPTY");
    EXPECT_TRUE(CopyFolder(folder / L"order", folder / L"work"));
    EXPECT_EQ(folder.ReadFile(L"work/VQ_Info.ini"), "[ORDER]\r\n");
    EXPECT_EQ(folder.ReadFile(L"work/IMAGE/写真0001.jpg"), "jpeg bytes");
    EXPECT_EQ(folder.ReadFile(L"work/IMAGE/補正/写真0001.jpg"), "corrected");
    EXPECT_TRUE(folder.Exists(L"work/EMPTY"));
    EXPECT_FALSE(folder.Exists(L"work/.DS_Store"));
    EXPECT_FALSE(folder.Exists(L"work/.cache"));
}

TEST(CopyFolder, MergesIntoAnExistingDestination) {
    TempFolder folder;
    folder.WriteFile(L"src/a.txt", "new a");
    folder.WriteFile(L"src/sub/b.txt", "new b");
    folder.WriteFile(L"dst/a.txt", "old a, longer than the new one");
    folder.WriteFile(L"dst/sub/c.txt", "kept c");
    folder.WriteFile(L"dst/d.txt", "kept d");
    EXPECT_TRUE(CopyFolder(folder / L"src", folder / L"dst"));
    EXPECT_EQ(folder.ReadFile(L"dst/a.txt"), "new a");
    EXPECT_EQ(folder.ReadFile(L"dst/sub/b.txt"), "new b");
    EXPECT_EQ(folder.ReadFile(L"dst/sub/c.txt"), "kept c");
    EXPECT_EQ(folder.ReadFile(L"dst/d.txt"), "kept d");
}

TEST(CopyFolder, MissingSourceFailsButTheDestinationIsCreated) {
    TempFolder folder;
    EXPECT_FALSE(CopyFolder(folder / L"missing", folder / L"作業/TEMP"));
    EXPECT_TRUE(folder.Exists(L"作業/TEMP"));
}

TEST(CopyFolder, DoesNotFollowALinkBackUpTheTree) {
    TempFolder folder;
    folder.WriteFile(L"src/a.txt", "a");
    fs::create_directory_symlink(fs::path(".."), platform::ToFsPath(folder / L"src") / "up");
    EXPECT_TRUE(CopyFolder(folder / L"src", folder / L"dst"));
    EXPECT_EQ(folder.ReadFile(L"dst/a.txt"), "a");
    EXPECT_FALSE(folder.Exists(L"dst/up"));
}

TEST(CopyOneFile, OverwritesAndKeepsTheModificationTime) {
    TempFolder folder;
    folder.WriteFile(L"注文.ini", "new content");
    folder.WriteFile(L"copy.ini", "old content that is longer");
    const fs::path source = platform::ToFsPath(folder / L"注文.ini");
    const auto stamp = fs::last_write_time(source) - std::chrono::hours(30);
    fs::last_write_time(source, stamp);
    EXPECT_TRUE(CopyOneFile(folder / L"注文.ini", folder / L"copy.ini"));
    EXPECT_EQ(folder.ReadFile(L"copy.ini"), "new content");
    EXPECT_EQ(fs::last_write_time(platform::ToFsPath(folder / L"copy.ini")), stamp);
}

TEST(CopyOneFile, FailsWithoutTouchingTheDestination) {
    TempFolder folder;
    folder.WriteFile(L"dst.txt", "keep");
    folder.MakeFolder(L"a folder");
    folder.WriteFile(L"src.txt", "x");
    EXPECT_FALSE(CopyOneFile(folder / L"missing.txt", folder / L"dst.txt"));
    EXPECT_EQ(folder.ReadFile(L"dst.txt"), "keep");
    EXPECT_FALSE(CopyOneFile(folder / L"a folder", folder / L"dst.txt"));
    EXPECT_FALSE(CopyOneFile(folder / L"src.txt", folder / L"a folder"));
    EXPECT_FALSE(CopyOneFile(folder / L"src.txt", folder / L"no such folder/dst.txt"));
    EXPECT_TRUE(fs::is_directory(platform::ToFsPath(folder / L"a folder")));
    // Nothing half-made is left beside the destination.
    EXPECT_EQ(std::distance(fs::directory_iterator(platform::ToFsPath(folder.Path())), fs::directory_iterator()), 3);
}

TEST(CopyOneFile, CopiesAnEmptyFileAndALargeOne) {
    TempFolder folder;
    folder.WriteFile(L"empty", "");
    std::string large(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7 % 251);
    folder.WriteFile(L"large.bin", large);
    EXPECT_TRUE(CopyOneFile(folder / L"empty", folder / L"empty copy"));
    EXPECT_TRUE(folder.Exists(L"empty copy"));
    EXPECT_EQ(folder.ReadFile(L"empty copy"), "");
    EXPECT_TRUE(CopyOneFile(folder / L"large.bin", folder / L"large copy.bin"));
    EXPECT_TRUE(folder.ReadFile(L"large copy.bin") == large);
}

TEST(MoveItem, RenamesButNeverReplaces) {
    TempFolder folder;
    folder.WriteFile(L"in/r0001234/VQ_Info.ini", "order");
    folder.MakeFolder(L"in/e0001234");
    EXPECT_FALSE(MoveItem(folder / L"in/r0001234", folder / L"in/e0001234"));
    EXPECT_TRUE(folder.Exists(L"in/r0001234/VQ_Info.ini"));
    ASSERT_TRUE(DeleteItem(folder / L"in/e0001234"));
    EXPECT_TRUE(MoveItem(folder / L"in/r0001234", folder / L"in/e0001234"));
    EXPECT_EQ(folder.ReadFile(L"in/e0001234/VQ_Info.ini"), "order");
    EXPECT_FALSE(folder.Exists(L"in/r0001234"));

    folder.WriteFile(L"a.txt", "a");
    folder.WriteFile(L"b.txt", "b");
    EXPECT_FALSE(MoveItem(folder / L"a.txt", folder / L"b.txt"));
    EXPECT_EQ(folder.ReadFile(L"b.txt"), "b");
    EXPECT_FALSE(MoveItem(folder / L"missing", folder / L"c.txt"));
}

TEST(DeleteItem, StarAndOrderNumberRemovesTheOrderInEveryState) {
    TempFolder folder;
    folder.WriteFile(L"out/p0001234/IMAGE/cmb0001.jpg", "x");
    folder.WriteFile(L"out/o0001234/MISC/AUTPRINT.MRK", "x");
    folder.MakeFolder(L"out/p0001235");
    folder.WriteFile(L"out/x00012345", "x");
    EXPECT_TRUE(DeleteItem(folder / L"out/*0001234"));
    EXPECT_FALSE(folder.Exists(L"out/p0001234"));
    EXPECT_FALSE(folder.Exists(L"out/o0001234"));
    EXPECT_TRUE(folder.Exists(L"out/p0001235"));
    EXPECT_TRUE(folder.Exists(L"out/x00012345"));
}

TEST(DeleteItem, DeletesOneItemOrEverythingAStarMatches) {
    TempFolder folder;
    folder.WriteFile(L"TEMP/QrmZoInRi.ini", "x");
    folder.WriteFile(L"TEMP/IMAGE/写真.jpg", "x");
    folder.WriteFile(L"TEMP/.hidden", "x");
    folder.WriteFile(L"keep.txt", "x");
    EXPECT_TRUE(DeleteItem(folder / L"TEMP/QrmZoInRi.ini"));
    EXPECT_FALSE(folder.Exists(L"TEMP/QrmZoInRi.ini"));
    EXPECT_TRUE(DeleteItem(folder / L"TEMP/*"));
    EXPECT_TRUE(folder.Exists(L"TEMP"));
    EXPECT_FALSE(folder.Exists(L"TEMP/IMAGE"));
    EXPECT_FALSE(folder.Exists(L"TEMP/.hidden"));
    EXPECT_TRUE(DeleteItem(folder / L"TEMP"));
    EXPECT_FALSE(folder.Exists(L"TEMP"));
    EXPECT_TRUE(folder.Exists(L"keep.txt"));
}

TEST(DeleteItem, NothingToDeleteIsNoFailure) {
    TempFolder folder;
    EXPECT_TRUE(DeleteItem(folder / L"missing"));
    EXPECT_TRUE(DeleteItem(folder / L"missing/*"));
    EXPECT_EQ(DeleteMatching(folder / L"*.log"), 0);
}

TEST(DeleteItem, RemovesALinkNotWhatItPointsTo) {
    TempFolder folder;
    folder.WriteFile(L"target/keep.txt", "x");
    fs::create_directory_symlink(platform::ToFsPath(folder / L"target"), platform::ToFsPath(folder / L"link"));
    EXPECT_TRUE(DeleteItem(folder / L"li*"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(platform::ToFsPath(folder / L"link"))));
    EXPECT_TRUE(folder.Exists(L"target/keep.txt"));
}

TEST(DeleteMatching, ReportsZeroAfterDeletingEveryMatch) {
    TempFolder folder;
    folder.WriteFile(L"log/a.log", "x");
    folder.WriteFile(L"log/B.LOG", "x");
    folder.WriteFile(L"log/c.txt", "x");
    EXPECT_EQ(DeleteMatching(folder / L"log/*.log"), 0);
    EXPECT_FALSE(folder.Exists(L"log/a.log"));
    EXPECT_FALSE(folder.Exists(L"log/B.LOG"));
    EXPECT_TRUE(folder.Exists(L"log/c.txt"));
}

TEST(LongPaths, AreRefusedWithoutEffect) {
    TempFolder folder;
    folder.WriteFile(L"a.txt", "a");
    folder.MakeFolder(L"dir");
    const std::wstring longName = Repeat(L"長いフォルダ名", kMaxPathLength);
    const std::wstring tooLong = folder / (longName.substr(0, 200) + L"/" + longName.substr(0, 100));
    ASSERT_TRUE(IsPathTooLong(tooLong));
    EXPECT_FALSE(IsPathTooLong(folder / L"a.txt"));
    EXPECT_FALSE(CopyOneFile(folder / L"a.txt", tooLong));
    EXPECT_FALSE(CopyFolder(folder / L"dir", tooLong));
    EXPECT_FALSE(MakeFolder(tooLong));
    EXPECT_FALSE(MoveItem(folder / L"a.txt", tooLong));
    EXPECT_FALSE(PathExists(tooLong));
    EXPECT_FALSE(DeleteItem(tooLong));
    EXPECT_EQ(DeleteMatching(tooLong), kDeleteMatchingInvalidPath);
    ReplaceInTextFile(tooLong, L"a", L"b");
    EXPECT_EQ(folder.ReadFile(L"a.txt"), "a");
    EXPECT_EQ(std::distance(fs::directory_iterator(platform::ToFsPath(folder.Path())), fs::directory_iterator()), 2);
}

TEST(MakeFolder, CreatesMissingParentsAndAcceptsAnExistingFolder) {
    TempFolder folder;
    EXPECT_TRUE(MakeFolder(folder / L"出力/p0000001/IMAGE"));
    EXPECT_TRUE(folder.Exists(L"出力/p0000001/IMAGE"));
    EXPECT_TRUE(MakeFolder(folder / L"出力"));
    folder.WriteFile(L"file", "x");
    EXPECT_FALSE(MakeFolder(folder / L"file"));
    EXPECT_FALSE(MakeFolder(folder / L"file/sub"));
    EXPECT_FALSE(MakeFolder(L""));
}

TEST(PathExists, SeesFilesAndFoldersOnly) {
    TempFolder folder;
    folder.WriteFile(L"VQ_Info.ini", "x");
    EXPECT_TRUE(PathExists(folder / L"VQ_Info.ini"));
    EXPECT_TRUE(ItemExists(folder.Path()));
    EXPECT_FALSE(PathExists(folder / L"missing"));
    EXPECT_FALSE(ItemExists(folder / L"*.ini"));
    EXPECT_FALSE(PathExists(L""));
}

TEST(SplitPath, CutsAtTheLastSeparatorAfterTheFirstCharacter) {
    std::wstring folder;
    std::wstring name;
    SplitPath(L"/data/in/r0001234", folder, name);
    EXPECT_EQ(folder, L"/data/in");
    EXPECT_EQ(name, L"r0001234");
    SplitPath(L"/data/", folder, name);
    EXPECT_EQ(folder, L"/data");
    EXPECT_EQ(name, L"");
    SplitPath(L"/root-only", folder, name);
    EXPECT_EQ(folder, L"");
    EXPECT_EQ(name, L"");
    SplitPath(L"写真/表紙.jpg", folder, name);
    EXPECT_EQ(folder, L"写真");
    EXPECT_EQ(name, L"表紙.jpg");
}

TEST(GetExtensionText, IsTheTextAfterTheFirstDot) {
    EXPECT_EQ(GetExtensionText(L"test.txt"), L"txt");
    EXPECT_EQ(GetExtensionText(L"IMG-0001.JPG"), L"JPG");
    EXPECT_EQ(GetExtensionText(L"archive.tar.gz"), L"tar.gz");
    EXPECT_EQ(GetExtensionText(L"IMG-0001"), L"");
    EXPECT_EQ(GetExtensionText(L"trailing."), L"");
    EXPECT_EQ(GetExtensionText(L".hidden"), L"hidden");
    EXPECT_EQ(GetExtensionText(L"写真.ｊｐｇ"), L"ｊｐｇ");
    // After a "." + separator the search starts behind that dot; without one, a dot in a
    // folder name counts.
    EXPECT_EQ(GetExtensionText(L"dir.old/./photo.jpg"), L"jpg");
    EXPECT_EQ(GetExtensionText(L"dir.old/photo.jpg"), L"old/photo.jpg");
    EXPECT_EQ(GetExtensionText(L"./photo.jpg"), L"jpg");
}

TEST(GetModuleFolder, IsTheFolderOfTheRunningProgram) {
    const std::wstring folder = GetModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'/');
    EXPECT_TRUE(PathExists(JoinPath(folder, L"fileutil_tests")));
}

TEST(ReplaceInTextFile, ReplacesEveryOccurrenceAndWritesCrLf) {
    TempFolder folder;
    folder.WriteFile(L"QrmZoInRi.ini", "[PAGE_INFO1]\nPATH=%WORK%/IMAGE/%WORK%\r\nNAME=写真%WORK%\nlast line without end");
    ReplaceInTextFile(folder / L"QrmZoInRi.ini", L"%WORK%", L"/作業/TEMP");
    EXPECT_EQ(folder.ReadFile(L"QrmZoInRi.ini"),
              "[PAGE_INFO1]\r\nPATH=/作業/TEMP/IMAGE//作業/TEMP\r\nNAME=写真/作業/TEMP\r\nlast line without end\r\n");
}

TEST(ReplaceInTextFile, ReplacesLeftToRightWithoutOverlapAndWithCase) {
    TempFolder folder;
    folder.WriteFile(L"t.txt", "aaaa AAA\r\n\r\n");
    ReplaceInTextFile(folder / L"t.txt", L"aa", L"b");
    EXPECT_EQ(folder.ReadFile(L"t.txt"), "bb AAA\r\n\r\n");
}

TEST(ReplaceInTextFile, KeepsBytesTheCodePageCannotRead) {
    TempFolder folder;
    // "写真" in Shift-JIS is not UTF-8; the line keeps its bytes, the placeholder is replaced.
    folder.WriteFile(L"sjis.ini", "NAME=\x8e\xca\x90\x5e%NO%\nA=%NO%\r");
    ReplaceInTextFile(folder / L"sjis.ini", L"%NO%", L"0001234");
    EXPECT_EQ(folder.ReadFile(L"sjis.ini"), "NAME=\x8e\xca\x90\x5e" "0001234\r\nA=0001234\r\r\n");
}

TEST(ReplaceInTextFile, MissingFileStaysMissing) {
    TempFolder folder;
    ReplaceInTextFile(folder / L"missing.ini", L"a", L"b");
    EXPECT_FALSE(folder.Exists(L"missing.ini"));
    EXPECT_EQ(std::distance(fs::directory_iterator(platform::ToFsPath(folder.Path())), fs::directory_iterator()), 0);
}
