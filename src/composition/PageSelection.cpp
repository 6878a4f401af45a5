#include "composition/PageSelection.h"

#include "composition/CompositionInfo.h"
#include "fileutil/FileUtil.h"

#include <unordered_set>

namespace {

std::wstring NameOf(const std::wstring& path) {
    std::wstring folder;
    std::wstring name;
    SplitPath(path, folder, name);
    return name;
}

/// The first page whose block holds the picture, or -1.
int PageOfPictureIn(const std::vector<CompositionInfo::PictureBlock>& blocks, int picture) {
    for (std::size_t page = 0; page < blocks.size(); ++page) {
        if (picture >= blocks[page].first && picture < blocks[page].end)
            return static_cast<int>(page);
    }
    return -1;
}

} // namespace

std::vector<std::uint8_t> ChoosePagesToKeep(const CompositionInfo& info,
                                            const std::vector<std::wstring>& correctedImages) {
    const int pages = info.PageRecordCount();
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(pages), 0);

    // A path without a separator has no name part; an empty name matches nothing.
    std::unordered_set<std::wstring> correctedNames;
    for (const std::wstring& image : correctedImages) {
        std::wstring name = NameOf(image);
        if (!name.empty())
            correctedNames.insert(std::move(name));
    }
    if (!correctedNames.empty()) {
        const std::vector<CompositionInfo::PictureBlock> blocks = info.PictureBlocks();
        for (int picture = 0; picture < info.PictureRecordCount(); ++picture) {
            if (!correctedNames.count(NameOf(info.GetPicture(picture)->fileName)))
                continue;
            const int page = PageOfPictureIn(blocks, picture);
            if (page >= 0)
                keep[page] = 1;
        }
    }

    for (int k = 0; k + 1 < pages; k += 2) {
        if (keep[k] || keep[k + 1])
            keep[k] = keep[k + 1] = 1;
        else if (info.UsedPictureCount(k) == 0 && info.UsedPictureCount(k + 1) == 0)
            keep[k] = keep[k + 1] = 1;
    }
    if (pages == 1 && info.UsedPictureCount(0) == 0)
        keep[0] = 1;
    return keep;
}

void CompositionInfo::PrunePages(const std::vector<std::wstring>& correctedImages) {
    const std::vector<std::uint8_t> keep = ChoosePagesToKeep(*this, correctedImages);
    // From the back, so that the blocks of the lower pages stay where they are.
    for (int page = static_cast<int>(keep.size()) - 1; page >= 0; --page) {
        if (!keep[page])
            RemovePage(page);
    }
}
