#include "fileutil/Wildcard.h"

#include "fileutil/NameCase.h"

#include <algorithm>
#include <vector>

namespace {

// A "." followed by a wildcard or by the end of the pattern also matches the end of a name.
bool IsDosDot(std::wstring_view pattern, std::size_t j) {
    return pattern[j] == L'.' &&
           (j + 1 == pattern.size() || pattern[j + 1] == L'*' || pattern[j + 1] == L'?');
}

// A key that orders characters as their UTF-16 code units do, with wchar_t of either width:
// characters beyond the basic plane (surrogate pairs) come between U+D7FF and U+E000.
char32_t Utf16OrderKey(wchar_t c) {
    const auto code = static_cast<char32_t>(c);
    if (code >= 0xE000 && code <= 0xFFFF)
        return code + 0x110000;
    if (code >= 0xD800 && code <= 0xDFFF)
        return 0x10000 + ((code - 0xD800) << 10);
    return code;
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
                const bool mayConsume =
                    more && !(j + 1 < m && pattern[j + 1] == L'.' && i == lastDot);
                result = at(i, j + 1) || (mayConsume && at(i + 1, j));
            } else if (p == L'?') {
                result = (more && at(i + 1, j + 1)) || ((!more || name[i] == L'.') && at(i, j + 1));
            } else if (IsDosDot(pattern, j)) {
                result = (more && name[i] == L'.' && at(i + 1, j + 1)) || (!more && at(i, j + 1));
            } else {
                result =
                    more && UpperCaseNameChar(name[i]) == UpperCaseNameChar(p) && at(i + 1, j + 1);
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
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char32_t left = Utf16OrderKey(UpperCaseNameChar(a[i]));
        const char32_t right = Utf16OrderKey(UpperCaseNameChar(b[i]));
        if (left != right)
            return left < right ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
