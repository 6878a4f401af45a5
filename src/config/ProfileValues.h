#pragma once
/// Values of an INI document as the profile functions hand them to the composition code:
/// texts cut to the 260-character read buffer, integers parsed as the system's profile
/// functions parse them.

#include "config/ProfileDocument.h"
#include "config/ProfileFunctions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// Characters of a text value that survive a read (the buffer holds 260 with terminator).
constexpr std::size_t kProfileTextLength = kProfileReadBuffer - 1;

/// The leading signed number of a value, blanks before it skipped, decimal or, after "0x",
/// "0o" or "0b", hexadecimal, octal or binary; 0 when the value holds no digits;
/// `defaultValue` when the value is missing or empty. Digits beyond 32 bits wrap around as
/// the profile functions' conversion does.
std::int32_t ProfileNumberFromText(const std::optional<std::wstring>& value,
                                   std::int32_t defaultValue);

/// A number read as ProfileNumberFromText reads it, but held to 32 bits instead of wrapping:
/// digits beyond them give the nearest 32-bit value and `fits` false.
struct Int32ProfileNumber {
    std::int32_t value = 0;
    bool fits = true;
};
Int32ProfileNumber ProfileNumberWithinInt32(const std::optional<std::wstring>& value,
                                            std::int32_t defaultValue);

/// A number of the document, held to 32 bits: order data must not wrap into range.
Int32ProfileNumber ReadDocumentNumber(const ProfileDocument& document, std::wstring_view section,
                                      std::wstring_view key, std::int32_t defaultValue);

/// The value cut to kProfileTextLength characters, or `defaultValue` when it is missing.
std::wstring ReadDocumentText(const ProfileDocument& document, std::wstring_view section,
                              std::wstring_view key, std::wstring_view defaultValue);
