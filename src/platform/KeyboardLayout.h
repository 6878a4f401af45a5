#pragma once
/// The language of the keyboard layout in use, as a Windows language id
/// (0x0411 Japanese, 0x0409 English).

#include <cstdint>

namespace platform {

constexpr std::uint16_t kLanguageJapanese = 0x0411;
constexpr std::uint16_t kLanguageEnglish = 0x0409;

/// On POSIX: RELAYDESK_KEYBOARD_LAYOUT (a hexadecimal id) when set; otherwise Japanese when
/// the X keyboard layout is jp or the locale's language is ja; otherwise English.
std::uint16_t GetKeyboardLanguageId();

} // namespace platform
