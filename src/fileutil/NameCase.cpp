#include "fileutil/NameCase.h"

#include <cstdint>
#include <type_traits>

namespace {

enum class Shifted { kAll, kOdd, kEven };

/// Lower-case characters that have an upper case, in ranges by code: `delta` is added to
/// those of the range that `shifted` names (where upper and lower case alternate in pairs,
/// the lower case is the odd or the even one of each pair).
struct LowerCaseRange {
    std::uint32_t first;
    std::uint32_t last;
    std::int32_t delta;
    Shifted shifted;
};

// The letters of the Latin, Greek and Cyrillic blocks and the full-width Latin letters; no
// other character changes. Sorted by code, without overlaps.
constexpr LowerCaseRange kLowerCaseRanges[] = {
    {0x61, 0x7A, -0x20, Shifted::kAll}, // a to z
    {0xE0, 0xF6, -0x20, Shifted::kAll}, // Latin-1, around the division sign F7
    {0xF8, 0xFE, -0x20, Shifted::kAll},
    {0xFF, 0xFF, 0x79, Shifted::kAll}, // y with diaeresis: 178
    {0x100, 0x137, -1, Shifted::kOdd}, // Latin Extended-A, in pairs
    {0x139, 0x148, -1, Shifted::kEven},
    {0x14A, 0x177, -1, Shifted::kOdd},
    {0x179, 0x17E, -1, Shifted::kEven},
    {0x3B1, 0x3C1, -0x20, Shifted::kAll}, // Greek
    {0x3C2, 0x3C2, -0x1F, Shifted::kAll}, // final sigma: 3A3
    {0x3C3, 0x3CB, -0x20, Shifted::kAll},
    {0x430, 0x44F, -0x20, Shifted::kAll}, // Cyrillic
    {0x450, 0x45F, -0x50, Shifted::kAll},
    {0xFF41, 0xFF5A, -0x20, Shifted::kAll}, // full-width a to z
};

bool IsShifted(std::uint32_t code, Shifted shifted) {
    return shifted == Shifted::kAll || (code % 2 == 1) == (shifted == Shifted::kOdd);
}

} // namespace

wchar_t UpperCaseNameChar(wchar_t c) {
    // Through the unsigned type of wchar_t's own width: a 16-bit unit never sign-extends.
    const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    for (const LowerCaseRange& range : kLowerCaseRanges) {
        if (code < range.first)
            break;
        if (code <= range.last)
            return IsShifted(code, range.shifted)
                       ? static_cast<wchar_t>(static_cast<std::int32_t>(code) + range.delta)
                       : c;
    }
    return c;
}

std::wstring UpperCaseName(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper)
        c = UpperCaseNameChar(c);
    return upper;
}

bool NamesEqual(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperCaseNameChar(a[i]) != UpperCaseNameChar(b[i]))
            return false;
    }
    return true;
}
