#include "fileutil/Wildcard.h"

#include "fileutil/NameCase.h"

#include <vector>

namespace {

// A "." followed by a wildcard or by the end of the pattern also matches the end of a name.
bool IsDosDot(std::wstring_view pattern, std::size_t j) {
    return pattern[j] == L'.' &&
           (j + 1 == pattern.size() || pattern[j + 1] == L'*' || pattern[j + 1] == L'?');
}

// The UTF-16 code units of one character, for NTFS order where wchar_t is 32 bits wide.
void AppendUtf16Units(std::vector<char32_t>& units, wchar_t c) {
    auto code = static_cast<char32_t>(c);
    if (code >= 0x10000) {
        code -= 0x10000;
        units.push_back(0xD800 + (code >> 10));
        units.push_back(0xDC00 + (code & 0x3FF));
    } else {
        units.push_back(code);
    }
}

} // namespace

bool MatchesWildcard(std::wstring_view name, std::wstring_view pattern) {
    const std::size_t n = name.size();
    const std::size_t m = pattern.size();
    const std::size_t lastDot = name.rfind(L'.');
    // matches[i * (m + 1) + j]: name from i matches pattern from j. Filled from the end, so
    // every pattern costs O(n * m) however many stars it holds.
    std::vector<char> matches((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> char& { return matches[i * (m + 1) + j]; };
    at(n, m) = 1;
    for (std::size_t j = m; j-- > 0;) {
        for (std::size_t i = n + 1; i-- > 0;) {
            const wchar_t p = pattern[j];
            const bool more = i < n;
            bool result = false;
            if (p == L'*') {
                // A star before a dot stops short of the name's last dot, so "*." only
                // matches names without an extension.
                const bool mayConsume = more && !(j + 1 < m && pattern[j + 1] == L'.' && i == lastDot);
                result = at(i, j + 1) || (mayConsume && at(i + 1, j));
            } else if (p == L'?') {
                result = (more && at(i + 1, j + 1)) || ((!more || name[i] == L'.') && at(i, j + 1));
            } else if (IsDosDot(pattern, j)) {
                result = (more && name[i] == L'.' && at(i + 1, j + 1)) || (!more && at(i, j + 1));
            } else {
                result = more && UpperCaseNameChar(name[i]) == UpperCaseNameChar(p) && at(i + 1, j + 1);
            }
            at(i, j) = result ? 1 : 0;
        }
    }
    return at(0, 0) != 0;
}

bool HasWildcards(std::wstring_view text) {
    return text.find_first_of(L"*?") != std::wstring_view::npos;
}

int CompareNtfsNames(std::wstring_view a, std::wstring_view b) {
    std::vector<char32_t> left;
    std::vector<char32_t> right;
    for (wchar_t c : a)
        AppendUtf16Units(left, UpperCaseNameChar(c));
    for (wchar_t c : b)
        AppendUtf16Units(right, UpperCaseNameChar(c));
    if (left == right)
        return 0;
    return left < right ? -1 : 1;
}
