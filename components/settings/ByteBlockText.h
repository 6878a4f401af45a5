#pragma once
/// The text form in which the settings library stores byte blocks: two upper-case
/// hexadecimal digits per byte, nothing else ("41004200" for the bytes 41 00 42 00; an empty
/// block is an empty value). Every byte survives, and the value never holds a line break,
/// a quote, a blank or a character outside ASCII.

#include <optional>
#include <string>
#include <string_view>

std::wstring EncodeByteBlock(std::string_view bytes);
/// The bytes of a stored value; nullopt when the value is not in the block form (an odd
/// number of digits, as when it was cut short, or any other character). Lower-case digits
/// are accepted.
std::optional<std::string> DecodeByteBlock(std::wstring_view text);
