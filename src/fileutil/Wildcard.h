#pragma once
/// File-name patterns and name order as the Windows file system has them.

#include <string>
#include <string_view>

/// True when `name` matches `pattern`: case-insensitive, "*" any run of characters, "?" one
/// character (or none at the end of the name or before a dot), and a "." in the pattern that
/// ends it or is followed by "*" or "?" also matches the end of a name, so "*.*" matches every
/// name and "IMG-*.*" matches "IMG-0001"; a "*" followed by "." does not take the name's last
/// dot, so "*." matches only names without an extension.
bool MatchesWildcard(std::wstring_view name, std::wstring_view pattern);

/// True when `text` holds a "*" or "?".
bool HasWildcards(std::wstring_view text);

/// Order of names in an NTFS folder: each character upper-cased, then compared by UTF-16
/// code unit. Negative, zero or positive like a three-way comparison.
int CompareNtfsNames(std::wstring_view a, std::wstring_view b);
