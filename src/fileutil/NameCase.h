#pragma once
/// Upper-casing of names as the Windows file system and profile functions compare them:
/// character by character, independent of the process locale.

#include <string>
#include <string_view>

wchar_t UpperCaseNameChar(wchar_t c);
std::wstring UpperCaseName(std::wstring_view text);

/// Equal without regard to case.
bool NamesEqual(std::wstring_view a, std::wstring_view b);
