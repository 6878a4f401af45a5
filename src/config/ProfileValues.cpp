#include "config/ProfileValues.h"

std::int32_t ProfileNumberFromText(const std::optional<std::wstring>& value,
                                   std::int32_t defaultValue) {
    if (!value || value->empty())
        return defaultValue;
    const std::wstring& text = *value;
    std::size_t position = 0;
    while (position < text.size() && (text[position] == L' ' || text[position] == L'\t'))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == L'-' || text[position] == L'+'))
        negative = text[position++] == L'-';
    // Unsigned arithmetic: an overlong number wraps instead of overflowing.
    std::uint32_t number = 0;
    for (; position < text.size() && text[position] >= L'0' && text[position] <= L'9'; ++position)
        number = number * 10u + static_cast<std::uint32_t>(text[position] - L'0');
    if (negative)
        number = 0u - number;
    return static_cast<std::int32_t>(number);
}

std::int32_t ReadDocumentNumber(const ProfileDocument& document, std::wstring_view section,
                                std::wstring_view key, std::int32_t defaultValue) {
    return ProfileNumberFromText(document.Get(section, key), defaultValue);
}

std::wstring ReadDocumentText(const ProfileDocument& document, std::wstring_view section,
                              std::wstring_view key, std::wstring_view defaultValue) {
    std::optional<std::wstring> value = document.Get(section, key);
    std::wstring text = value ? std::move(*value) : std::wstring(defaultValue);
    if (text.size() > kProfileTextLength)
        text.resize(kProfileTextLength);
    return text;
}
