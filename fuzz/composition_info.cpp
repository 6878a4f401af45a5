// The composition information file and page selection: any file loads into records that the
// counts promise, the one-pass views of the page blocks agree with the page-by-page ones, the
// chosen pages keep spreads together and keep every page with a corrected picture, and pruning
// gives what removing the dropped pages one by one from the back gives.

#include "FuzzSupport.h"

#include "composition/CompositionInfo.h"
#include "composition/PageSelection.h"

#include <algorithm>
#include <vector>

namespace {

// Page-by-page views cost a pass over the pages each: compared on a few records only.
constexpr int kComparedRecords = 8;

std::vector<std::wstring> FileNames(const CompositionInfo& info) {
    std::vector<std::wstring> names;
    for (int i = 0; i < info.PictureRecordCount(); ++i)
        names.push_back(info.GetPicture(i)->fileName);
    return names;
}

void CheckViews(const CompositionInfo& info) {
    const std::vector<int> pageOfPicture = info.PageOfEachPicture();
    for (int picture = 0; picture < std::min(kComparedRecords, info.PictureRecordCount());
         ++picture)
        Check(pageOfPicture[picture] == info.PageOfPicture(picture),
              "PageOfEachPicture agrees with PageOfPicture");
    const std::vector<int> used = info.UsedPictureCounts();
    for (int page = 0; page < std::min(kComparedRecords, info.PageRecordCount()); ++page)
        Check(used[page] == info.UsedPictureCount(page),
              "UsedPictureCounts agrees with UsedPictureCount");
}

void CheckSelection(const CompositionInfo& info, const std::vector<std::wstring>& corrected,
                    const std::vector<int>& correctedPages) {
    const std::vector<std::uint8_t> keep = ChoosePagesToKeep(info, corrected);
    Check(keep.size() == static_cast<std::size_t>(info.PageRecordCount()), "one flag per page");
    const std::vector<int> used = info.UsedPictureCounts();
    for (std::size_t page = 0; page < keep.size(); ++page) {
        Check(keep[page] <= 1, "flags are 0 or 1");
        const std::size_t partner = page ^ 1;
        if (partner < keep.size()) {
            Check(keep[page] == keep[partner], "a spread is kept or dropped whole");
            Check(used[page] + used[partner] > 0 || keep[page], "an empty spread is kept");
        }
    }
    for (int page : correctedPages)
        Check(keep[page] == 1, "a page with a corrected picture is kept");
}

void CheckPruning(const CompositionInfo& info, const std::vector<std::wstring>& corrected) {
    for (int page = 0; page < info.PageRecordCount(); ++page)
        if (info.GetPage(page)->pictureCount < 0)
            return; // overlapping blocks: RemovePage is no reference for them
    const std::vector<std::uint8_t> keep = ChoosePagesToKeep(info, corrected);
    CompositionInfo pruned = info;
    pruned.PrunePages(corrected);
    CompositionInfo reference = info;
    for (int page = reference.PageRecordCount(); page-- > 0;)
        if (!keep[page])
            reference.RemovePage(page);
    Check(pruned.PageRecordCount() == reference.PageRecordCount() &&
              pruned.GetZoInfo().pageCount == reference.GetZoInfo().pageCount &&
              pruned.GetZoInfo().pictureCount == reference.GetZoInfo().pictureCount &&
              FileNames(pruned) == FileNames(reference),
          "PrunePages removes what RemovePage from the back removes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto correctedChoice = input.ConsumeIntegral<std::uint16_t>();
    const std::wstring otherName = TakeText(input, L"ab/\\.", 6);

    CompositionInfo info;
    info.LoadFromBytes(input.ConsumeRemainingBytesAsString());
    const ZoInfo& zo = info.GetZoInfo();
    Check(info.PageRecordCount() == std::max(0, zo.pageCount), "PAGE_CNT page records");
    Check(info.PictureRecordCount() == std::max(0, zo.pictureCount), "PICT_CNT picture records");
    CheckViews(info);

    // Corrected images named by folder and name, as the correction folders list them.
    std::vector<std::wstring> corrected{otherName};
    std::vector<int> correctedPages;
    const std::vector<int> pageOfPicture = info.PageOfEachPicture();
    for (int picture = 0; picture < info.PictureRecordCount(); ++picture) {
        const std::wstring& fileName = info.GetPicture(picture)->fileName;
        const std::size_t slash = fileName.rfind(L'/');
        if ((picture + correctedChoice) % 3 != 0 || slash == std::wstring::npos ||
            slash + 1 == fileName.size() || fileName.find(L'\\') != std::wstring::npos)
            continue;
        corrected.push_back(L"corrected/" + fileName.substr(slash + 1));
        if (pageOfPicture[picture] >= 0)
            correctedPages.push_back(pageOfPicture[picture]);
    }
    CheckSelection(info, corrected, correctedPages);
    CheckPruning(info, corrected);
    return 0;
}
