#pragma once
/// Display width of characters: 1 for half-width characters, 2 for full-width characters
/// and hiragana, 0 for characters that take no cell (controls, combining marks).

#include <string_view>

namespace platform {

int CharDisplayWidth(char32_t character);
int TextDisplayWidth(std::wstring_view text);

} // namespace platform
