#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"

#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;
constexpr int kFilesAndFolders = FolderLister::kFiles | FolderLister::kFolders;

// An input folder as a terminal leaves it: orders in several states, two levels deep.
void MakeInputFolder(const TempFolder& folder) {
    folder.MakeFolder(L"in/R0000001");
    folder.MakeFolder(L"in/q0000004");
    folder.WriteFile(L"in/readme.txt", "x");
    folder.WriteFile(L"in/r-note.txt", "x");
    folder.WriteFile(L"in/r0000002/VQ_Info.ini", "x");
    folder.WriteFile(L"in/r0000002/IMAGE/写真1.jpg", "x");
    folder.WriteFile(L"in/e0000003/MISC/AUTPRINT.MRK", "x");
}

} // namespace

TEST(FolderLister, FileMaskLeavesOutMatchingFolders) {
    TempFolder folder;
    for (const wchar_t* name :
         {L"out/cmb0002.jpg", L"out/CMB0001.JPG", L"out/cmb0003.jpg", L"out/other.jpg"})
        folder.WriteFile(name, "x");
    folder.MakeFolder(L"out/cmbFolder");
    FolderLister lister(LocalFolders());
    Names files;
    EXPECT_EQ(lister.ListToArray(files, folder / L"out//", L"cmb*.*", 0, FolderLister::kFiles), 3);
    EXPECT_EQ(files, (Names{folder / L"out/CMB0001.JPG", folder / L"out/cmb0002.jpg",
                            folder / L"out/cmb0003.jpg"}));
}

TEST(FolderLister, EachFolderListsItsOwnMatchesBeforeItsSubFoldersDownToTheDepth) {
    TempFolder folder;
    MakeInputFolder(folder);
    FolderLister lister(LocalFolders());
    Names names;
    lister.ListNamesToArray(names, folder / L"in", L"*.*", -1, kFilesAndFolders);
    EXPECT_EQ(names, (Names{L"e0000003", L"q0000004", L"r-note.txt", L"R0000001", L"r0000002",
                            L"readme.txt", L"MISC", L"AUTPRINT.MRK", L"IMAGE", L"VQ_Info.ini",
                            L"写真1.jpg"}));
    const std::wstring in = folder / L"in";
    EXPECT_EQ(lister.CountEntries(in, L"*", 0, FolderLister::kFiles), 2);
    EXPECT_EQ(lister.CountEntries(in, L"*", 1, FolderLister::kFiles), 3);
    EXPECT_EQ(lister.CountEntries(in, L"*", 2, FolderLister::kFiles), 5);
    // Sub-folders are entered whether or not their names match.
    EXPECT_EQ(lister.CountEntries(in, L"*.jpg", -1, FolderLister::kFiles), 1);
}

TEST(FolderLister, StoresNamesWithoutExtensionAndDotEntriesOnRequest) {
    TempFolder folder;
    folder.WriteFile(L"img/IMG-0001.JPG", "x");
    folder.WriteFile(L"img/表紙.tar.gz", "x");
    folder.MakeFolder(L"img/sub");
    FolderLister lister(LocalFolders());
    Names names;
    lister.ListToArray(FolderLister::kNamesWithoutExtension, names, folder / L"img", L"*", 0,
                       FolderLister::kFiles);
    EXPECT_EQ(names, (Names{L"IMG-0001", L"表紙.tar"}));
    lister.ListNamesToArray(names, folder / L"img", L"*", 1,
                            FolderLister::kDotEntries | FolderLister::kFolders);
    EXPECT_EQ(names, (Names{L".", L"..", L"sub", L".", L".."}));
}

TEST(FolderLister, MissingFolderOrOverlongPathGivesNoEntries) {
    TempFolder folder;
    FolderLister lister(LocalFolders());
    Names paths{L"stale"};
    EXPECT_EQ(lister.ListToArray(paths, folder / L"does-not-exist", L"*", -1, 7), 0);
    EXPECT_TRUE(paths.empty());
    std::wstring relative;
    while (folder.Path().size() + relative.size() < kMaxPathLength + 20)
        relative += std::wstring(40, L'd') + L"/";
    folder.WriteFile(relative + L"x.txt", "x");
    EXPECT_EQ(lister.CountEntries(folder / relative, L"*", 0, 7), 0);
    EXPECT_EQ(lister.CountEntries(folder.Path(), L"x.txt", -1, FolderLister::kFiles), 0);
}

TEST(FolderLister, ListingsOnSeveralThreadsKeepTheirOwnDepth) {
    TempFolder folder;
    MakeInputFolder(folder);
    const std::wstring in = folder / L"in";
    const int shallow = FolderLister(LocalFolders()).CountEntries(in, L"*", 0, kFilesAndFolders);
    const int deep = FolderLister(LocalFolders()).CountEntries(in, L"*", -1, kFilesAndFolders);
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            FolderLister lister(LocalFolders());
            for (int i = 0; i < 200; ++i) {
                const bool all = (t + i) % 2 == 0;
                wrong[t] += lister.CountEntries(in, L"*", all ? -1 : 0, kFilesAndFolders) !=
                            (all ? deep : shallow);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}
