#include "config/ProfileValues.h"

#include <limits>

namespace {

/// The leading signed decimal of a value, blanks before it skipped.
struct LeadingDecimal {
    bool negative = false;
    /// The digits modulo 2^32: unsigned arithmetic wraps instead of overflowing.
    std::uint32_t wrapped = 0;
    /// The digits' value, held once it passes 2^32 so that it cannot overflow.
    std::uint64_t magnitude = 0;
};

LeadingDecimal ScanLeadingDecimal(const std::wstring& text) {
    constexpr std::uint64_t kHeldAbove = std::uint64_t{1} << 32;
    LeadingDecimal number;
    std::size_t position = 0;
    while (position < text.size() && (text[position] == L' ' || text[position] == L'\t'))
        ++position;
    if (position < text.size() && (text[position] == L'-' || text[position] == L'+'))
        number.negative = text[position++] == L'-';
    for (; position < text.size() && text[position] >= L'0' && text[position] <= L'9'; ++position) {
        const auto digit = static_cast<std::uint32_t>(text[position] - L'0');
        number.wrapped = number.wrapped * 10u + digit;
        if (number.magnitude <= kHeldAbove)
            number.magnitude = number.magnitude * 10u + digit;
    }
    return number;
}

} // namespace

std::int32_t ProfileNumberFromText(const std::optional<std::wstring>& value,
                                   std::int32_t defaultValue) {
    if (!value || value->empty())
        return defaultValue;
    const LeadingDecimal number = ScanLeadingDecimal(*value);
    return static_cast<std::int32_t>(number.negative ? 0u - number.wrapped : number.wrapped);
}

Int32ProfileNumber ProfileNumberWithinInt32(const std::optional<std::wstring>& value,
                                            std::int32_t defaultValue) {
    if (!value || value->empty())
        return {defaultValue, true};
    using Limits = std::numeric_limits<std::int32_t>;
    const LeadingDecimal number = ScanLeadingDecimal(*value);
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
