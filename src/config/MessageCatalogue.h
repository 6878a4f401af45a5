#pragma once
/// The message catalogue: the "MSG_*.ini" file beside the program from which every visible
/// text and the windows' font face come (section "MESSAGE", keys are message numbers).
///
/// Catalogue files are read with the profile functions, so UTF-8 and Shift-JIS files both
/// read correctly. A missing file or key gives an empty text.

#include <array>
#include <cstdint>
#include <string>

/// Message numbers, named after what they label.
enum MessageNumber : int {
    kMsgFontFace = 1000,
    /// The catalogue's language as a locale name ("ja_JP"): dates and the toolkit's own texts.
    kMsgLanguage = 1001,
    // Main window.
    kMsgMainTitle = 26268,
    kMsgMainOk = 26265,
    kMsgMainAdd = 26061,
    kMsgMainEdit = 26062,
    kMsgMainDelete = 25102,
    kMsgOrderView = 20135, ///< main window's order view button; order view title and list label
    kMsgTerminalGroup = 26057,
    /// Current-terminal label, list columns 0 and 3, edit dialog name labels.
    kMsgTerminalName = 26058,
    kMsgProgressLabel = 26266,
    kMsgFolder = 26059,         ///< list columns 1 and 4, edit dialog folder labels
    kMsgConnection = 26060,     ///< list columns 2 and 5
    kMsgProgressFormat = 26267, ///< with "%d"
    kMsgHeldOrders = 26269,     ///< with "%s": orders held because their new name is taken
    kMsgStatusConnected = 26076,
    kMsgStatusFormat = 26077, ///< with "%s", for statuses 1 to 6
    kMsgStatusReason1 = 26063,
    kMsgStatusReason2 = 26065,
    kMsgStatusReason3 = 26064,
    kMsgStatusReason4 = 26066,
    kMsgStatusReason5 = 26067,
    kMsgStatusReason6 = 26068,
    kMsgDeleteQuestion = 5984,
    // Terminal edit dialog.
    kMsgEditOk = 25030,
    kMsgEditCancel = 25031,
    kMsgEditBrowse = 25185,
    kMsgEditTitle = 26069,
    kMsgEditUserId = 26070,
    kMsgEditPassword = 26071,
    kMsgEditInputGroup = 26295,
    kMsgEditSpare1 = 26296,
    kMsgEditOutputGroup = 26297,
    kMsgEditSpare2 = 26298,
    kMsgEditSpare3 = 26299,
    kMsgEditSpare4 = 26300,
    kMsgEditPickerTitle = 26080,
    kMsgEditInvalidEntry = 5985,
    kMsgEditSameFolders = 6080,
    kMsgEditFreeDisk = 5986, ///< with "%d"
    // Order view dialog.
    kMsgOrderColumnOrder = 25110,
    kMsgOrderColumnDate = 25378,
    kMsgOrderSelectAll = 20258,
    kMsgOrderDelete = 20092,
    kMsgOrderSelectByDate = 25358,
    kMsgOrderDateSeparator = 25523,
    kMsgOrderOk = 20058,
};

constexpr int kMessageTextCount = 20;
constexpr int kStatusTextCount = 7;

/// The twenty texts handed to the terminal edit dialog, by position.
inline constexpr std::array<int, kMessageTextCount> kEditDialogMessages = {
    kMsgEditOk,         kMsgEditCancel,      kMsgEditBrowse,   kMsgEditTitle,
    kMsgFolder,         kMsgEditUserId,      kMsgEditPassword, kMsgFontFace,
    kMsgDeleteQuestion, kMsgEditPickerTitle, kMsgTerminalName, kMsgEditInvalidEntry,
    kMsgEditFreeDisk,   kMsgEditInputGroup,  kMsgEditSpare1,   kMsgEditOutputGroup,
    kMsgEditSpare2,     kMsgEditSpare3,      kMsgEditSpare4,   kMsgEditSameFolders,
};

/// The texts the main window reads once at start-up.
struct MainWindowTexts {
    std::array<std::wstring, kMessageTextCount> messages; ///< `kEditDialogMessages`, 5986 composed
    std::array<std::wstring, kStatusTextCount> statusTexts; ///< by connection status 0 to 6
    std::wstring progressFormat;                            ///< message 26267
    std::wstring heldOrdersFormat;                          ///< message 26269
};

/// The font that the main window and the edit dialog use.
struct CatalogueFont {
    std::wstring faceName; ///< message 1000, cut to 31 characters
    int height = 0;
};

/// The catalogue path for the keyboard layout `layoutId` (a Windows language id): of the
/// files "MSG_*.ini" in `programFolder` in file-system order, without those whose name holds
/// ".TAG", the second for a Japanese layout and the first otherwise. When that entry does
/// not exist the one remaining file is used; with none, the path is empty.
std::wstring ChooseMessageCatalogue(const std::wstring& programFolder, std::uint16_t layoutId);
/// The same for the keyboard layout of this session.
std::wstring ChooseMessageCatalogue(const std::wstring& programFolder);

/// Message `number` of the catalogue, cut to 259 characters; empty when absent.
std::wstring ReadCatalogueText(const std::wstring& cataloguePath, int number);

/// The main window's texts; "%d" in 5986 becomes `freeDisk`, "%s" in the status template
/// becomes each status's own message.
MainWindowTexts ReadMainWindowTexts(const std::wstring& cataloguePath, std::uint32_t freeDisk);

/// The progress text of message 26267 at `percent`.
std::wstring FormatProgressText(const std::wstring& progressFormat, int percent);

/// The catalogue font for the face name of message 1000: height 12 for "ＭＳ Ｐゴシック"
/// (in any letter case), 15 for any other face.
CatalogueFont MakeCatalogueFont(const std::wstring& faceName);
