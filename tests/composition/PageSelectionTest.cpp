#include "composition/PageSelection.h"
#include "composition/CompositionInfo.h"

#include "TempFolder.h"
#include "platform/FileSystemCalls.h"

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
            picture.fileName =
                NativePath(L"/kiosk/注文/IMG-" + std::to_wstring(++pictureNumber) + L".JPG");
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
        paths.push_back(
            NativePath(L"/opt/relaydesk/TEMP/CORRECT/IMG-" + std::to_wstring(number) + L".JPG"));
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
        names.push_back(path.substr(path.rfind(platform::kPathSeparator) + 1));
    }
    return names;
}

using Pages = std::vector<std::wstring>;

/// The book holds the pages and pictures named, and counts them in its composition info.
void ExpectLeft(const CompositionInfo& info, const Pages& pages, const Pages& pictures) {
    EXPECT_EQ(PagesLeft(info), pages);
    EXPECT_EQ(PictureNamesLeft(info), pictures);
    EXPECT_EQ(info.GetZoInfo().pageCount, static_cast<int>(pages.size()));
    EXPECT_EQ(info.GetZoInfo().pictureCount, static_cast<int>(pictures.size()));
}

} // namespace

TEST(PageSelection, CorrectedPictureKeepsItsWholeSpread) {
    CompositionInfo info = MakeBook({{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    info.PrunePages(Corrections({3}));
    ExpectLeft(info, {L"1", L"2"}, {L"IMG-1.JPG", L"IMG-2.JPG", L"IMG-3.JPG", L"IMG-4.JPG"});
}

TEST(PageSelection, SpreadsWithoutUsedPicturesAreAlwaysKept) {
    // Pages 0-1: empty slots only; 2-3: no pictures; 4-5 and 6: one used picture each.
    const CompositionInfo info = MakeBook({{kEmpty, kEmpty}, {kEmpty}, {}, {}, {kEmpty}, {5}, {6}});
    using Flags = std::vector<std::uint8_t>;
    EXPECT_EQ(ChoosePagesToKeep(info, {}), (Flags{1, 1, 1, 1, 0, 0, 0}));
    // The fifth picture lies on page 5.
    EXPECT_EQ(ChoosePagesToKeep(info, Corrections({5})), (Flags{1, 1, 1, 1, 1, 1, 0}));
}

TEST(PageSelection, OddLastPageStandsAlone) {
    const struct {
        std::vector<std::vector<int>> pages;
        std::vector<std::wstring> corrections;
        Pages left;
    } cases[] = {
        {{{1}, {2}, {3}, {4}, {5}}, Corrections({5}), {L"5"}},
        {{{1}, {2}, {kEmpty}}, {}, {}}, // without used pictures it goes unless corrected
        {{{1}, {2}, {kEmpty}}, Corrections({3}), {L"3"}},
        {{{kEmpty, kEmpty}}, {}, {L"1"}}, // except in a book of one page
        {{{1, kEmpty}}, Corrections({7}), {}},
    };
    for (const auto& c : cases) {
        CompositionInfo info = MakeBook(c.pages);
        info.PrunePages(c.corrections);
        EXPECT_EQ(PagesLeft(info), c.left);
        EXPECT_EQ(info.GetZoInfo().pageCount, static_cast<int>(c.left.size()));
    }
}

TEST(PageSelection, NamesAreComparedAfterTheLastSeparatorAndExactly) {
    const struct {
        std::wstring correction;
        bool keeps;
    } cases[] = {
        {L"/elsewhere/IMG-2.JPG", true},
        {L"IMG-2.JPG", false}, // no folder part: no name to compare
        {L"/opt/TEMP/CORRECT/img-2.jpg", false},
        {L"/opt/TEMP/CORRECT/IMG-22.JPG", false},
    };
    for (const auto& c : cases) {
        CompositionInfo info = MakeBook({{1, 2}, {3}});
        info.PrunePages({NativePath(c.correction)});
        EXPECT_EQ(info.PageRecordCount(), c.keeps ? 2 : 0) << c.correction;
    }
}

TEST(PageSelection, PageBlocksStayInsideThePictureArray) {
    CompositionInfo info = MakeBook({{1, 2}, {3}, {4}, {5}});
    std::vector<std::int32_t> indices{99};
    info.PictureIndicesOfPage(0, indices);
    EXPECT_EQ(indices, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(info.PageOfPicture(2), 1);

    // Counts that disagree with the records: page 0 below zero, page 2 far beyond the end.
    info.GetPage(0)->pictureCount = -1;
    info.GetPage(2)->pictureCount = 2000000000;
    info.GetPage(3)->pictureCount = 0;
    info.PictureIndicesOfPage(1, indices);
    EXPECT_TRUE(indices.empty()); // its block [-1, 0) holds no record
    info.PictureIndicesOfPage(2, indices);
    EXPECT_EQ(indices, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(info.UsedPictureCount(2), 5);
    EXPECT_EQ(info.PageOfPicture(4), 2);
    EXPECT_EQ(info.PageOfPicture(5), -1);

    info.RemovePage(2);
    EXPECT_EQ(info.PictureRecordCount(), 0);
    EXPECT_EQ(info.GetZoInfo().pictureCount, 0);
    EXPECT_EQ(info.GetZoInfo().pageCount, 3);
    info.RemovePage(5);
    EXPECT_EQ(info.PageRecordCount(), 3);
}

TEST(PageSelection, PrunedBookIsSavedWithRenumberedSections) {
    TempFolder folder;
    CompositionInfo info = MakeBook({{1}, {2}, {3, 4}, {5}});
    info.PrunePages(Corrections({4}));
    ASSERT_TRUE(info.SaveToFile(folder / L"QrmZoInRi.ini"));
    CompositionInfo reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(folder / L"QrmZoInRi.ini"));
    ExpectLeft(reloaded, {L"3", L"4"}, {L"IMG-3.JPG", L"IMG-4.JPG", L"IMG-5.JPG"});
}

TEST(PageSelection, KeptPagesKeepTheirPicturesWhenBlocksOverlap) {
    // A negative count moves page 2's block back onto page 0's: IMG-2 lies in both and is
    // page 0's; IMG-4 and IMG-5 lie in no block.
    CompositionInfo info = MakeBook({{1, 2}, {3}, {4}, {5}});
    info.GetPage(1)->pictureCount = -1;
    ASSERT_EQ(info.PageOfPicture(1), 0);
    ASSERT_EQ(info.PageOfPicture(2), 3);
    info.PrunePages(Corrections({2}));
    ExpectLeft(info, {L"1", L"2"}, {L"IMG-1.JPG", L"IMG-2.JPG", L"IMG-4.JPG", L"IMG-5.JPG"});
}
