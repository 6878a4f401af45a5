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
    if (type3 & (C3_HALFWIDTH | C3_ALPHA | C3_SYMBOL | C3_KATAKANA) ||
        (unit >= 0x20 && unit < 0x7F))
        return 1;
    return 0;
}

int TextDisplayWidth(std::wstring_view text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t character = text[i];
        // A character beyond 16 bits is a pair of UTF-16 units: measured once, as a whole.
        if (character >= 0xD800 && character <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            character = 0x10000 + ((character - 0xD800) << 10) + (text[++i] - 0xDC00);
        width += CharDisplayWidth(character);
    }
    return width;
}

} // namespace platform
