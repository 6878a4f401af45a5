#include "platform/CharWidth.h"

#include <utf8proc.h>

namespace platform {

int CharDisplayWidth(char32_t character) {
    if (character > 0x10FFFF)
        return 0;
    int width = utf8proc_charwidth(static_cast<utf8proc_int32_t>(character));
    return width < 0 ? 0 : width;
}

int TextDisplayWidth(std::wstring_view text) {
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t character = static_cast<char32_t>(text[i]);
        // Joins a surrogate pair where wchar_t is 16 bits.
        if (character >= 0xD800 && character <= 0xDBFF && i + 1 < text.size()) {
            character = 0x10000 + ((character - 0xD800) << 10) +
                        (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        width += CharDisplayWidth(character);
    }
    return width;
}

} // namespace platform
