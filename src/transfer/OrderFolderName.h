#pragma once
/// Order states carried in folder names: one letter and the order number in seven digits.

#include <string>

/// Letters of the order states: r waiting, e transferred, q failed (terminal side);
/// p being built, o finished (output side).
constexpr wchar_t kWaitingLetter = L'r';
constexpr wchar_t kTransferredLetter = L'e';
constexpr wchar_t kFailedLetter = L'q';
constexpr wchar_t kBuildingLetter = L'p';
constexpr wchar_t kFinishedLetter = L'o';

/// The order number in seven digits with leading zeros: "0001234".
std::wstring OrderDigits(int orderNumber);

/// "r0001234" for ('r', 1234).
std::wstring OrderFolderName(wchar_t letter, int orderNumber);

/// The order number of a waiting order's folder name (extension removed, as the path
/// splitter does): exactly eight characters, the last seven decimal digits. The first
/// letter is not examined here; the listing has already matched "r*" case-insensitively.
bool ParseOrderFolderName(const std::wstring& name, int& orderNumber);

/// The name without its extension: the text before the last dot.
std::wstring NameWithoutExtension(const std::wstring& name);
