#include "fileutil/NameCase.h"

wchar_t UpperCaseNameChar(wchar_t c) {
    const auto code = static_cast<unsigned long>(c);
    auto shifted = [c](long delta) { return static_cast<wchar_t>(static_cast<long>(c) + delta); };
    if (code < 0x80)
        return (c >= L'a' && c <= L'z') ? shifted(-0x20) : c;
    if (code >= 0xE0 && code <= 0xFE && code != 0xF7)
        return shifted(-0x20);
    if (code == 0xFF)
        return static_cast<wchar_t>(0x178);
    // Latin Extended-A: upper and lower case alternate in pairs.
    if ((code >= 0x100 && code <= 0x137) || (code >= 0x14A && code <= 0x177))
        return (code & 1) ? shifted(-1) : c;
    if ((code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E))
        return (code & 1) ? c : shifted(-1);
    if (code == 0x3C2)
        return static_cast<wchar_t>(0x3A3);
    if ((code >= 0x3B1 && code <= 0x3CB) || (code >= 0x430 && code <= 0x44F))
        return shifted(-0x20);
    if (code >= 0x450 && code <= 0x45F)
        return shifted(-0x50);
    if (code >= 0xFF41 && code <= 0xFF5A) // full-width a to z
        return shifted(-0x20);
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
