#include "config/MessageCatalogue.h"

#include "config/ProfileFunctions.h"
#include "config/TextSubstitution.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "fileutil/NameCase.h"
#include "platform/KeyboardLayout.h"

#include <string>
#include <vector>

namespace {

constexpr wchar_t kCatalogueSection[] = L"MESSAGE";
constexpr wchar_t kCataloguePattern[] = L"MSG_*.ini";
// Catalogues being translated carry ".TAG" in their names and are never chosen.
constexpr wchar_t kDraftMarker[] = L".TAG";
constexpr std::uint16_t kJapaneseLayoutMask = 0x411;
// A logical font's face name holds 31 characters and its terminator.
constexpr size_t kFaceNameMaxLength = 31;
constexpr wchar_t kSmallFace[] = L"ＭＳ Ｐゴシック";
constexpr int kSmallFaceHeight = 12;
constexpr int kFaceHeight = 15;

constexpr int kFreeDiskPosition = 12;
static_assert(kEditDialogMessages[kFreeDiskPosition] == kMsgEditFreeDisk);

// Messages that fill the status template's "%s" for statuses 1 to 6.
constexpr int kStatusReasons[kStatusTextCount - 1] = {
    kMsgStatusReason1, kMsgStatusReason2, kMsgStatusReason3,
    kMsgStatusReason4, kMsgStatusReason5, kMsgStatusReason6,
};

} // namespace

std::wstring ChooseMessageCatalogue(const std::wstring& programFolder, std::uint16_t layoutId) {
    std::vector<std::wstring> names;
    FolderLister(LocalFolders())
        .ListNamesToArray(names, programFolder, kCataloguePattern, 0, FolderLister::kFiles);
    std::erase_if(names, [](const std::wstring& name) {
        return name.find(kDraftMarker) != std::wstring::npos;
    });
    if (names.empty())
        return {};
    size_t index = (layoutId & kJapaneseLayoutMask) == kJapaneseLayoutMask ? 1 : 0;
    if (index >= names.size())
        index = names.size() - 1;
    return JoinPath(programFolder, names[index]);
}

std::wstring ChooseMessageCatalogue(const std::wstring& programFolder) {
    return ChooseMessageCatalogue(programFolder, platform::GetKeyboardLanguageId());
}

std::wstring ReadCatalogueText(const std::wstring& cataloguePath, int number) {
    if (cataloguePath.empty())
        return {};
    return ReadProfileString(cataloguePath, kCatalogueSection, std::to_wstring(number), L"");
}

std::wstring FormatProgressText(const std::wstring& progressFormat, int percent) {
    return ReplaceAll(progressFormat, L"%d", std::to_wstring(percent));
}

MainWindowTexts ReadMainWindowTexts(const std::wstring& cataloguePath, std::uint32_t freeDisk) {
    MainWindowTexts texts;
    for (int position = 0; position < kMessageTextCount; ++position)
        texts.messages[position] = ReadCatalogueText(cataloguePath, kEditDialogMessages[position]);
    // The free-disk setting is written as a signed number, as "%d" writes it.
    std::wstring& freeDiskText = texts.messages[kFreeDiskPosition];
    freeDiskText =
        ReplaceAll(freeDiskText, L"%d", std::to_wstring(static_cast<std::int32_t>(freeDisk)));

    texts.statusTexts[0] = ReadCatalogueText(cataloguePath, kMsgStatusConnected);
    const std::wstring statusFormat = ReadCatalogueText(cataloguePath, kMsgStatusFormat);
    for (int status = 1; status < kStatusTextCount; ++status)
        texts.statusTexts[status] = ReplaceAll(
            statusFormat, L"%s", ReadCatalogueText(cataloguePath, kStatusReasons[status - 1]));
    texts.progressFormat = ReadCatalogueText(cataloguePath, kMsgProgressFormat);
    texts.heldOrdersFormat = ReadCatalogueText(cataloguePath, kMsgHeldOrders);
    return texts;
}

CatalogueFont MakeCatalogueFont(const std::wstring& faceName) {
    CatalogueFont font;
    font.faceName = faceName.substr(0, kFaceNameMaxLength);
    font.height = NamesEqual(font.faceName, kSmallFace) ? kSmallFaceHeight : kFaceHeight;
    return font;
}
