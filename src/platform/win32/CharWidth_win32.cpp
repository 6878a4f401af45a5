#include "platform/CharWidth.h"

#include "WindowsHeaders.h"

namespace platform {

int CharDisplayWidth(char32_t character) {
    if (character > 0xFFFF)
        return 2;
    wchar_t unit = static_cast<wchar_t>(character);
    WORD type3 = 0;
    if (!GetStringTypeW(CT_CTYPE3, &unit, 1, &type3))
        return 0;
    if (type3 & (C3_FULLWIDTH | C3_HIRAGANA | C3_IDEOGRAPH))
        return 2;
    if (type3 & (C3_HALFWIDTH | C3_ALPHA | C3_SYMBOL | C3_KATAKANA) || (unit >= 0x20 && unit < 0x7F))
        return 1;
    return 0;
}

int TextDisplayWidth(std::wstring_view text) {
    int width = 0;
    for (wchar_t unit : text)
        if (unit < 0xDC00 || unit > 0xDFFF) // the low half of a pair adds nothing
            width += CharDisplayWidth(static_cast<char32_t>(unit));
    return width;
}

} // namespace platform
