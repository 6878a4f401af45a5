// Wildcard matching against a plain backtracking matcher written from the rules in
// Wildcard.h, on short names and patterns; and the NTFS name order is a three-way comparison
// (antisymmetric, zero exactly for names equal without regard to case).

#include "FuzzSupport.h"

#include "fileutil/NameCase.h"
#include "fileutil/Wildcard.h"

namespace {

// Backtracking is exponential in the stars: names and patterns stay short.
constexpr std::size_t kMaxName = 10;
constexpr std::size_t kMaxPattern = 8;

class ReferenceMatcher {
public:
    ReferenceMatcher(std::wstring_view name, std::wstring_view pattern)
        : m_name(name), m_pattern(pattern), m_lastDot(name.rfind(L'.')) {}

    bool Matches(std::size_t i, std::size_t j) const {
        if (j == m_pattern.size())
            return i == m_name.size();
        const bool more = i < m_name.size();
        const wchar_t p = m_pattern[j];
        if (p == L'*') {
            // "*." stops before the name's last dot: it matches names without an extension.
            const bool beforeDot = j + 1 < m_pattern.size() && m_pattern[j + 1] == L'.';
            return Matches(i, j + 1) ||
                   (more && !(beforeDot && i == m_lastDot) && Matches(i + 1, j));
        }
        if (p == L'?')
            return (more && Matches(i + 1, j + 1)) ||
                   ((!more || m_name[i] == L'.') && Matches(i, j + 1));
        if (p == L'.' && (j + 1 == m_pattern.size() || IsWildcard(m_pattern[j + 1])))
            return more ? m_name[i] == L'.' && Matches(i + 1, j + 1) : Matches(i, j + 1);
        return more && UpperCaseNameChar(m_name[i]) == UpperCaseNameChar(p) &&
               Matches(i + 1, j + 1);
    }

private:
    static bool IsWildcard(wchar_t c) { return c == L'*' || c == L'?'; }

    std::wstring_view m_name;
    std::wstring_view m_pattern;
    std::size_t m_lastDot;
};

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    constexpr std::wstring_view kAlphabet = L"aAbB1.*? éÉßẞ";
    const std::wstring name = TakeText(input, kAlphabet, kMaxName);
    const std::wstring pattern = TakeText(input, kAlphabet, kMaxPattern);

    Check(MatchesWildcard(name, pattern) == ReferenceMatcher(name, pattern).Matches(0, 0),
          "MatchesWildcard agrees with the reference", name + L" ~ " + pattern);

    Check(CompareNtfsNames(name, name) == 0, "a name sorts equal to itself", name);
    const int order = CompareNtfsNames(name, pattern);
    Check(Sign(order) == -Sign(CompareNtfsNames(pattern, name)), "the order is antisymmetric");
    Check((order == 0) == NamesEqual(name, pattern), "equal in order exactly when names are equal",
          name + L" / " + pattern);
    return 0;
}
