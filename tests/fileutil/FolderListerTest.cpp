#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <list>
#include <thread>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;

// An input folder as a terminal leaves it: order folders in several states, files, and
// sub-folders two levels deep.
void MakeInputFolder(const TempFolder& folder) {
    folder.MakeFolder(L"in/r0000002/IMAGE");
    folder.MakeFolder(L"in/R0000001");
    folder.MakeFolder(L"in/e0000003/MISC");
    folder.MakeFolder(L"in/q0000004");
    folder.WriteFile(L"in/readme.txt", "x");
    folder.WriteFile(L"in/r-note.txt", "x");
    folder.WriteFile(L"in/r0000002/VQ_Info.ini", "x");
    folder.WriteFile(L"in/r0000002/IMAGE/写真1.jpg", "x");
    folder.WriteFile(L"in/e0000003/MISC/AUTPRINT.MRK", "x");
}

} // namespace

TEST(FolderLister, ListsUpperAndLowerCaseOrderFoldersOfTheTopLevel) {
    TempFolder folder;
    MakeInputFolder(folder);
    FolderLister lister;
    std::list<std::wstring> orders{L"stale entry"};
    EXPECT_EQ(lister.ListToList(orders, folder / L"in", L"r*", 0, FolderLister::kFolders), 2);
    EXPECT_EQ(orders, (std::list<std::wstring>{folder / L"in/R0000001", folder / L"in/r0000002"}));
}

TEST(FolderLister, FileMaskLeavesOutMatchingFolders) {
    TempFolder folder;
    folder.WriteFile(L"out/cmb0002.jpg", "x");
    folder.WriteFile(L"out/CMB0001.JPG", "x");
    folder.WriteFile(L"out/cmb0003.jpg", "x");
    folder.MakeFolder(L"out/cmbFolder");
    folder.WriteFile(L"out/other.jpg", "x");
    FolderLister lister;
    Names files;
    EXPECT_EQ(lister.ListToArray(files, folder / L"out", L"cmb*.*", 0, FolderLister::kFiles), 3);
    EXPECT_EQ(files, (Names{folder / L"out/CMB0001.JPG", folder / L"out/cmb0002.jpg", folder / L"out/cmb0003.jpg"}));
}

TEST(FolderLister, EachFolderListsItsOwnMatchesBeforeItsSubFolders) {
    TempFolder folder;
    MakeInputFolder(folder);
    FolderLister lister;
    Names all;
    lister.ListToArray(all, folder / L"in", L"*.*", -1, FolderLister::kFiles | FolderLister::kFolders);
    EXPECT_EQ(all, (Names{
                       folder / L"in/e0000003", folder / L"in/q0000004", folder / L"in/r-note.txt",
                       folder / L"in/R0000001", folder / L"in/r0000002", folder / L"in/readme.txt",
                       folder / L"in/e0000003/MISC",
                       folder / L"in/e0000003/MISC/AUTPRINT.MRK",
                       folder / L"in/r0000002/IMAGE", folder / L"in/r0000002/VQ_Info.ini",
                       folder / L"in/r0000002/IMAGE/写真1.jpg",
                   }));
}

TEST(FolderLister, DepthLimitsHowFarTheWalkDescends) {
    TempFolder folder;
    MakeInputFolder(folder);
    FolderLister lister;
    const std::wstring in = folder / L"in";
    EXPECT_EQ(lister.CountEntries(in, L"*", 0, FolderLister::kFiles), 2);
    EXPECT_EQ(lister.CountEntries(in, L"*", 1, FolderLister::kFiles), 3);
    EXPECT_EQ(lister.CountEntries(in, L"*", 2, FolderLister::kFiles), 5);
    EXPECT_EQ(lister.CountEntries(in, L"*", -1, FolderLister::kFiles), 5);
    // Sub-folders are entered whether or not their names match the pattern.
    EXPECT_EQ(lister.CountEntries(in, L"*.jpg", -1, FolderLister::kFiles), 1);
}

TEST(FolderLister, ListModesStoreNamesPathsOrNamesWithoutExtension) {
    TempFolder folder;
    folder.WriteFile(L"img/IMG-0001.JPG", "x");
    folder.WriteFile(L"img/IMG-0002", "x");
    folder.WriteFile(L"img/表紙.tar.gz", "x");
    FolderLister lister;
    Names names;
    EXPECT_EQ(lister.ListNamesToArray(names, folder / L"img", L"*.*", 0, FolderLister::kFiles), 3);
    EXPECT_EQ(names, (Names{L"IMG-0001.JPG", L"IMG-0002", L"表紙.tar.gz"}));
    lister.ListToArray(FolderLister::kNamesWithoutExtension, names, folder / L"img", L"IMG-*.*", 0, FolderLister::kFiles);
    EXPECT_EQ(names, (Names{L"IMG-0001", L"IMG-0002"}));
    lister.ListToArray(FolderLister::kNamesWithoutExtension, names, folder / L"img", L"表紙*", 0, FolderLister::kFiles);
    EXPECT_EQ(names, (Names{L"表紙.tar"}));
}

TEST(FolderLister, DotEntriesOnlyWithTheirMaskBit) {
    TempFolder folder;
    folder.MakeFolder(L"top/sub");
    folder.WriteFile(L"top/.hidden", "x");
    FolderLister lister;
    Names names;
    lister.ListNamesToArray(names, folder / L"top", L"*", 0, FolderLister::kFolders | FolderLister::kFiles);
    EXPECT_EQ(names, (Names{L".hidden", L"sub"}));
    lister.ListNamesToArray(names, folder / L"top", L"*", 0, FolderLister::kDotEntries);
    EXPECT_EQ(names, (Names{L".", L".."}));
    lister.ListNamesToArray(names, folder / L"top", L"*", 1, FolderLister::kDotEntries | FolderLister::kFolders);
    EXPECT_EQ(names, (Names{L".", L"..", L"sub", L".", L".."}));
}

TEST(FolderLister, TrailingSeparatorsOfTheFolderAreIgnored) {
    TempFolder folder;
    folder.WriteFile(L"a/x.txt", "x");
    FolderLister lister;
    Names paths;
    lister.ListToArray(paths, folder / L"a//", L"*", 0, FolderLister::kFiles);
    EXPECT_EQ(paths, Names{folder / L"a/x.txt"});
}

TEST(FolderLister, MissingFolderOrOverlongPathGivesNoEntries) {
    TempFolder folder;
    FolderLister lister;
    Names paths{L"stale"};
    EXPECT_EQ(lister.ListToArray(paths, folder / L"does-not-exist", L"*", -1, 7), 0);
    EXPECT_TRUE(paths.empty());

    // A real folder whose path does not fit the path buffer is not listed, neither directly
    // nor when a walk from above reaches it.
    std::wstring relative;
    while (folder.Path().size() + relative.size() < kMaxPathLength + 20)
        relative += std::wstring(40, L'd') + L"/";
    relative.pop_back();
    folder.WriteFile(relative + L"/x.txt", "x");
    ASSERT_TRUE(folder.Exists(relative + L"/x.txt"));
    EXPECT_EQ(lister.CountEntries(folder / relative, L"*", 0, 7), 0);
    EXPECT_EQ(lister.CountEntries(folder.Path(), L"x.txt", -1, FolderLister::kFiles), 0);
}

TEST(FolderLister, ListingsOnSeveralThreadsKeepTheirOwnDepth) {
    TempFolder folder;
    MakeInputFolder(folder);
    const std::wstring in = folder / L"in";
    FolderLister reference;
    const int expectedShallow = reference.CountEntries(in, L"*", 0, FolderLister::kFiles | FolderLister::kFolders);
    const int expectedDeep = reference.CountEntries(in, L"*", -1, FolderLister::kFiles | FolderLister::kFolders);
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            FolderLister lister;
            for (int i = 0; i < 200; ++i) {
                const bool deep = (t + i) % 2 == 0;
                const int count = lister.CountEntries(in, L"*", deep ? -1 : 0, FolderLister::kFiles | FolderLister::kFolders);
                if (count != (deep ? expectedDeep : expectedShallow))
                    ++wrong[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}
