#include "config/ProfileValues.h"

#include <limits>

namespace {

/// The leading number of a value as the system's profile functions read it: blanks skipped,
/// a sign, then hexadecimal digits after "0x", octal after "0o", binary after "0b", else
/// decimal ones.
struct LeadingNumber {
    bool negative = false;
    /// The digits modulo 2^32: unsigned arithmetic wraps instead of overflowing.
    std::uint32_t wrapped = 0;
    /// The digits' value, held once it passes 2^32 so that it cannot overflow.
    std::uint64_t magnitude = 0;
};

unsigned DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return static_cast<unsigned>(c - L'0');
    if (c >= L'a' && c <= L'z')
        return static_cast<unsigned>(c - L'a') + 10;
    if (c >= L'A' && c <= L'Z')
        return static_cast<unsigned>(c - L'A') + 10;
    return 36;
}

LeadingNumber ScanLeadingNumber(const std::wstring& text) {
    constexpr std::uint64_t kHeldAbove = std::uint64_t{1} << 32;
    LeadingNumber number;
    std::size_t position = 0;
    while (position < text.size() && (text[position] == L' ' || text[position] == L'\t'))
        ++position;
    if (position < text.size() && (text[position] == L'-' || text[position] == L'+'))
        number.negative = text[position++] == L'-';
    unsigned base = 10;
    if (position + 1 < text.size() && text[position] == L'0') {
        const wchar_t prefix = text[position + 1];
        base = prefix == L'x' ? 16 : prefix == L'o' ? 8 : prefix == L'b' ? 2 : 10;
        if (base != 10)
            position += 2;
    }
    for (; position < text.size() && DigitValue(text[position]) < base; ++position) {
        const unsigned digit = DigitValue(text[position]);
        number.wrapped = number.wrapped * base + digit;
        if (number.magnitude <= kHeldAbove)
            number.magnitude = number.magnitude * base + digit;
    }
    return number;
}

} // namespace

std::int32_t ProfileNumberFromText(const std::optional<std::wstring>& value,
                                   std::int32_t defaultValue) {
    if (!value || value->empty())
        return defaultValue;
    const LeadingNumber number = ScanLeadingNumber(*value);
    return static_cast<std::int32_t>(number.negative ? 0u - number.wrapped : number.wrapped);
}

Int32ProfileNumber ProfileNumberWithinInt32(const std::optional<std::wstring>& value,
                                            std::int32_t defaultValue) {
    if (!value || value->empty())
        return {defaultValue, true};
    using Limits = std::numeric_limits<std::int32_t>;
    const LeadingNumber number = ScanLeadingNumber(*value);
    const auto magnitude = static_cast<std::int64_t>(number.magnitude);
    const std::int64_t signedValue = number.negative ? -magnitude : magnitude;
    if (signedValue < Limits::min())
        return {Limits::min(), false};
    if (signedValue > Limits::max())
        return {Limits::max(), false};
    return {static_cast<std::int32_t>(signedValue), true};
}

Int32ProfileNumber ReadDocumentNumber(const ProfileDocument& document, std::wstring_view section,
                                      std::wstring_view key, std::int32_t defaultValue) {
    return ProfileNumberWithinInt32(document.Get(section, key), defaultValue);
}

std::wstring ReadDocumentText(const ProfileDocument& document, std::wstring_view section,
                              std::wstring_view key, std::wstring_view defaultValue) {
    std::optional<std::wstring> value = document.Get(section, key);
    std::wstring text = value ? std::move(*value) : std::wstring(defaultValue);
    if (text.size() > kProfileTextLength)
        text.resize(kProfileTextLength);
    return text;
}
