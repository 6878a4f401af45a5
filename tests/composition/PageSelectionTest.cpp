#include "composition/CompositionInfo.h"
#include "composition/PageSelection.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kEmpty = PictInfo::kEmptySlot;

/// A book whose page p holds the pictures listed in pages[p], each given by its file number;
/// picture i is named IMG-<i + 1>.JPG in a folder of the kiosk.
CompositionInfo MakeBook(const std::vector<std::vector<int>>& pages) {
    CompositionInfo info;
    int pictureNumber = 0;
    for (const std::vector<int>& fileNumbers : pages) {
        PageInfo page;
        page.pictureCount = static_cast<int>(fileNumbers.size());
        page.formatNo = std::to_wstring(info.PageRecordCount() + 1);
        info.AppendPage(page);
        for (int fileNumber : fileNumbers) {
            PictInfo picture;
            picture.fileNum = fileNumber;
            picture.fileName = L"/kiosk/注文/IMG-" + std::to_wstring(++pictureNumber) + L".JPG";
            info.AppendPicture(picture);
        }
    }
    info.GetZoInfo().pageCount = info.PageRecordCount();
    info.GetZoInfo().pictureCount = info.PictureRecordCount();
    return info;
}

std::vector<std::wstring> Corrections(std::initializer_list<int> pictureNumbers) {
    std::vector<std::wstring> paths;
    for (int number : pictureNumbers)
        paths.push_back(L"/opt/relaydesk/TEMP/CORRECT/IMG-" + std::to_wstring(number) + L".JPG");
    return paths;
}

/// The format numbers of the pages left, which name the pages as they were.
std::vector<std::wstring> PagesLeft(const CompositionInfo& info) {
    std::vector<std::wstring> names;
    for (int page = 0; page < info.PageRecordCount(); ++page)
        names.push_back(info.GetPage(page)->formatNo);
    return names;
}

std::vector<std::wstring> PictureNamesLeft(const CompositionInfo& info) {
    std::vector<std::wstring> names;
    for (int picture = 0; picture < info.PictureRecordCount(); ++picture) {
        const std::wstring& path = info.GetPicture(picture)->fileName;
        names.push_back(path.substr(path.rfind(L'/') + 1));
    }
    return names;
}

using Pages = std::vector<std::wstring>;

} // namespace

TEST(PageSelection, CorrectedPictureKeepsItsWholeSpread) {
    CompositionInfo info = MakeBook({{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    info.PrunePages(Corrections({3}));
    EXPECT_EQ(PagesLeft(info), (Pages{L"1", L"2"}));
    EXPECT_EQ(PictureNamesLeft(info), (Pages{L"IMG-1.JPG", L"IMG-2.JPG", L"IMG-3.JPG", L"IMG-4.JPG"}));
    EXPECT_EQ(info.GetZoInfo().pageCount, 2);
    EXPECT_EQ(info.GetZoInfo().pictureCount, 4);
}

TEST(PageSelection, OddLastPageStandsAlone) {
    CompositionInfo corrected = MakeBook({{1}, {2}, {3}, {4}, {5}});
    corrected.PrunePages(Corrections({5}));
    EXPECT_EQ(PagesLeft(corrected), (Pages{L"5"}));
    EXPECT_EQ(corrected.GetZoInfo().pictureCount, 1);

    // Without used pictures it goes unless corrected; only a one-page book keeps it.
    CompositionInfo unused = MakeBook({{1}, {2}, {kEmpty}});
    unused.PrunePages({});
    EXPECT_EQ(PagesLeft(unused), Pages{});
    CompositionInfo correctedUnused = MakeBook({{1}, {2}, {kEmpty}});
    correctedUnused.PrunePages(Corrections({3}));
    EXPECT_EQ(PagesLeft(correctedUnused), (Pages{L"3"}));
}

TEST(PageSelection, SpreadWithoutUsedPicturesIsAlwaysKept) {
    // Pages 0-1: empty slots only; pages 2-3: no pictures; pages 4-5: one used picture.
    CompositionInfo info = MakeBook({{kEmpty, kEmpty}, {kEmpty}, {}, {}, {kEmpty}, {6}});
    info.PrunePages({});
    EXPECT_EQ(PagesLeft(info), (Pages{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(info.GetZoInfo().pictureCount, 3);
}

TEST(PageSelection, EmptyCorrectionListDropsEverySpreadWithUsedPictures) {
    CompositionInfo info = MakeBook({{1}, {kEmpty}, {3}, {4}});
    info.PrunePages({});
    EXPECT_EQ(PagesLeft(info), Pages{});
    EXPECT_EQ(info.GetZoInfo().pageCount, 0);
    EXPECT_EQ(info.GetZoInfo().pictureCount, 0);
    EXPECT_EQ(info.PictureRecordCount(), 0);
}

TEST(PageSelection, BookOfOnePage) {
    CompositionInfo unused = MakeBook({{kEmpty, kEmpty}});
    unused.PrunePages({});
    EXPECT_EQ(PagesLeft(unused), (Pages{L"1"}));

    CompositionInfo used = MakeBook({{1, kEmpty}});
    used.PrunePages(Corrections({7}));
    EXPECT_EQ(PagesLeft(used), Pages{});
    EXPECT_EQ(used.GetZoInfo().pageCount, 0);
}

TEST(PageSelection, NamesAreComparedAfterTheLastSeparatorAndExactly) {
    struct Case {
        std::wstring correction;
        bool keeps;
    };
    const Case cases[] = {
        {L"/elsewhere/IMG-2.JPG", true},
        {L"IMG-2.JPG", false}, // no folder part: no name to compare
        {L"/opt/TEMP/CORRECT/img-2.jpg", false},
        {L"/opt/TEMP/CORRECT/IMG-2.JPG ", false},
        {L"/opt/TEMP/CORRECT/IMG-22.JPG", false},
    };
    for (const Case& c : cases) {
        CompositionInfo info = MakeBook({{1, 2}, {3}});
        info.PrunePages({c.correction});
        EXPECT_EQ(info.PageRecordCount(), c.keeps ? 2 : 0) << c.correction;
    }
}

TEST(PageSelection, ChoosesFlagsPerSpread) {
    const CompositionInfo info = MakeBook({{1}, {2}, {3}, {4}, {kEmpty}, {kEmpty}, {7}});
    EXPECT_EQ(ChoosePagesToKeep(info, Corrections({2, 7})),
              (std::vector<std::uint8_t>{1, 1, 0, 0, 1, 1, 1}));
}

TEST(PageSelection, PictureBlocksFollowThePageCounts) {
    const CompositionInfo info = MakeBook({{1, 2}, {}, {kEmpty, 4, kEmpty}});
    std::vector<std::int32_t> indices{99};
    info.PictureIndicesOfPage(2, indices);
    EXPECT_EQ(indices, (std::vector<std::int32_t>{2, 3, 4}));
    info.PictureIndicesOfPage(1, indices);
    EXPECT_TRUE(indices.empty());
    info.PictureIndicesOfPage(3, indices);
    EXPECT_TRUE(indices.empty());
    EXPECT_EQ(info.PageOfPicture(0), 0);
    EXPECT_EQ(info.PageOfPicture(2), 2);
    EXPECT_EQ(info.PageOfPicture(5), -1);
    EXPECT_EQ(info.UsedPictureCount(2), 1);
    EXPECT_EQ(info.UsedPictureCount(1), 0);
}

TEST(PageSelection, CountsThatDisagreeWithTheRecordsStayInsideTheArrays) {
    CompositionInfo info = MakeBook({{1, 2}, {3}, {4}});
    info.GetPage(0)->pictureCount = -1;         // block of page 1 now starts at -1
    info.GetPage(2)->pictureCount = 2000000000; // far beyond the records
    std::vector<std::int32_t> indices;
    info.PictureIndicesOfPage(0, indices);
    EXPECT_TRUE(indices.empty());
    info.PictureIndicesOfPage(1, indices);
    EXPECT_TRUE(indices.empty()); // its block [-1, 0) holds no record
    info.PictureIndicesOfPage(2, indices);
    EXPECT_EQ(indices, (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(info.UsedPictureCount(2), 4);

    info.RemovePage(2);
    EXPECT_EQ(info.PictureRecordCount(), 0);
    EXPECT_EQ(info.GetZoInfo().pictureCount, 0);
    EXPECT_EQ(info.GetZoInfo().pageCount, 2);
    info.RemovePage(5);
    info.RemovePage(-1);
    EXPECT_EQ(info.PageRecordCount(), 2);
}

TEST(PageSelection, PicturesBeyondThePageBlocksBelongToNoPage) {
    CompositionInfo info = MakeBook({{1}, {2}, {3}});
    info.GetPage(2)->pictureCount = 0; // picture 2 is now outside every block
    EXPECT_EQ(info.PageOfPicture(2), -1);
    info.PrunePages(Corrections({3}));
    // The correction marks no page, and the stray picture stays because no page owns it.
    EXPECT_EQ(PagesLeft(info), Pages{});
    EXPECT_EQ(PictureNamesLeft(info), (Pages{L"IMG-3.JPG"}));
    EXPECT_EQ(info.GetZoInfo().pictureCount, 1);
}

TEST(PageSelection, PrunedBookIsSavedWithRenumberedSections) {
    TempFolder folder;
    CompositionInfo info = MakeBook({{1}, {2}, {3, 4}, {5}});
    info.PrunePages(Corrections({4}));
    ASSERT_TRUE(info.SaveToFile(folder / L"QrmZoInRi.ini"));
    CompositionInfo reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(folder / L"QrmZoInRi.ini"));
    EXPECT_EQ(PagesLeft(reloaded), (Pages{L"3", L"4"}));
    EXPECT_EQ(PictureNamesLeft(reloaded), (Pages{L"IMG-3.JPG", L"IMG-4.JPG", L"IMG-5.JPG"}));
    EXPECT_EQ(reloaded.GetZoInfo().pictureCount, 3);
}
