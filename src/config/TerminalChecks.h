#pragma once
/// The checks that a terminal's settings pass before they enter the terminal table: the
/// field limits, the enabling rule of the OK button and the OK checks of the terminal edit
/// dialog, and the name derived from a chosen folder. Shared by the dialog and relaydesk-cli.

#include "config/TerminalTable.h"

#include <string>
#include <vector>

/// Character and display-width limits of one field of the edit dialog (a character limit
/// of 0 means none: only the display width counts).
struct TerminalFieldLimit {
    std::size_t maxCharacters;
    int maxDisplayWidth;
};

constexpr TerminalFieldLimit kFolderFieldLimit{256, 256};
constexpr TerminalFieldLimit kNameFieldLimit{15, 15};
constexpr TerminalFieldLimit kCredentialFieldLimit{256, 256};
constexpr TerminalFieldLimit kOutFolderFieldLimit{0, 256};
constexpr TerminalFieldLimit kOutNameFieldLimit{0, 15};
constexpr TerminalFieldLimit kOutCredentialFieldLimit{0, 256};

/// Whether `text` stays within the limit (full-width characters and hiragana count twice).
bool FitsFieldLimit(const std::wstring& text, const TerminalFieldLimit& limit);

/// The first of the eight fields (by its key name, "path", "name", ...) that exceeds its
/// limit; empty when all fit.
std::wstring FindOverlongField(const TerminalEntry& entry);

/// The OK button is enabled exactly when path, outPath, name and outName are all set.
bool HasRequiredFields(const TerminalEntry& entry);

enum class TerminalCheckResult {
    kAccepted,
    kSameFolders,         ///< input and output folder are equal (catalogue text position 19)
    kInvalidFolderOrName, ///< dots only, name in use or a reserved character (position 11)
};

/// The single OK rule that an entry breaks; the dialog shows the last four under one message,
/// relaydesk-cli names the rule.
enum class TerminalRule {
    kNone,
    kSameFolders,
    kFolderOnlyDots,
    kNameOnlyDots,
    kNameInUse,
    kReservedCharacter,
};

/// The first rule that `entry` breaks, in the order of the OK checks.
TerminalRule FindBrokenRule(const TerminalEntry& entry,
                            const std::vector<std::wstring>& namesInUse);

/// The OK checks in their order: equal folders first, then the folder and name rules.
/// `namesInUse` are the input names of the other terminals; all of them are compared.
TerminalCheckResult CheckTerminalEntry(const TerminalEntry& entry,
                                       const std::vector<std::wstring>& namesInUse);

/// The terminal name that choosing `folder` gives, in the folder picker or with relaydesk-cli:
/// the server's name for a network path ("\\PC01\share" gives "PC01") and for a folder
/// inside a mounted share, the local computer's name for another drive path, otherwise empty.
std::wstring TerminalNameFromFolder(const std::wstring& folder);
