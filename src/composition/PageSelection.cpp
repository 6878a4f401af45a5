#include "composition/PageSelection.h"

#include "composition/CompositionInfo.h"
#include "fileutil/FileUtil.h"

#include <unordered_set>

namespace {} // namespace

std::vector<std::uint8_t> ChoosePagesToKeep(const CompositionInfo& info,
                                            const std::vector<std::wstring>& correctedImages) {
    const int pages = info.PageRecordCount();
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(pages), 0);

    // A path without a separator has no name part; an empty name matches nothing.
    std::unordered_set<std::wstring> correctedNames;
    for (const std::wstring& image : correctedImages) {
        std::wstring name = NameOfPath(image);
        if (!name.empty())
            correctedNames.insert(std::move(name));
    }
    if (!correctedNames.empty()) {
        const std::vector<int> pageOfPicture = info.PageOfEachPicture();
        for (int picture = 0; picture < info.PictureRecordCount(); ++picture) {
            if (pageOfPicture[picture] >= 0 &&
                correctedNames.count(NameOfPath(info.GetPicture(picture)->fileName)))
                keep[pageOfPicture[picture]] = 1;
        }
    }

    const std::vector<int> used = info.UsedPictureCounts();
    for (int k = 0; k + 1 < pages; k += 2) {
        if (keep[k] || keep[k + 1] || (used[k] == 0 && used[k + 1] == 0))
            keep[k] = keep[k + 1] = 1;
    }
    if (pages == 1 && used[0] == 0)
        keep[0] = 1;
    return keep;
}

namespace {

/// Keeps the records whose index `keeps` accepts, in their order, in one pass; returns how
/// many were removed.
template <typename Record, typename Keeps>
std::size_t KeepOnly(std::vector<Record>& records, Keeps keeps) {
    std::size_t kept = 0;
    for (std::size_t index = 0; index < records.size(); ++index) {
        if (!keeps(index))
            continue;
        if (kept != index)
            records[kept] = std::move(records[index]);
        ++kept;
    }
    const std::size_t removed = records.size() - kept;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(kept), records.end());
    return removed;
}

} // namespace

void CompositionInfo::PrunePages(const std::vector<std::wstring>& correctedImages) {
    const std::vector<std::uint8_t> keep = ChoosePagesToKeep(*this, correctedImages);
    const std::vector<int> pageOfPicture = PageOfEachPicture();
    // One pass over each array: removing page by page would move the later records once for
    // every page removed before them.
    const std::size_t removedPictures = KeepOnly(m_pictures, [&](std::size_t picture) {
        return pageOfPicture[picture] < 0 || keep[pageOfPicture[picture]];
    });
    const std::size_t removedPages =
        KeepOnly(m_pages, [&keep](std::size_t page) { return keep[page] != 0; });
    m_zoInfo.pictureCount -= static_cast<std::int32_t>(removedPictures);
    m_zoInfo.pageCount -= static_cast<std::int32_t>(removedPages);
}
