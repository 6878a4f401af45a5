#pragma once
/// Placeholder substitution in settings and catalogue texts.

#include <string>

/// `text` with every occurrence of `find` (case-sensitive, left to right, never inside a
/// replacement) replaced by `replacement`; an empty `find` changes nothing.
std::wstring ReplaceAll(std::wstring text, const std::wstring& find,
                        const std::wstring& replacement);
