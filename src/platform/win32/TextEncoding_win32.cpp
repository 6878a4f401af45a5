#include "platform/TextEncoding.h"

#include "WindowsHeaders.h"

namespace platform {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty())
        return {};
    int length =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                        length);
    return out;
}

// A character beyond the 16-bit range, which no ANSI code page holds, would become one
// question mark per surrogate half: it becomes one, as on POSIX.
std::wstring OneUnitPerCharacter(std::wstring_view text) {
    std::wstring units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair =
            IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        units += pair ? L'?' : text[i];
        i += pair ? 1 : 0;
    }
    return units;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    std::wstring units;
    if (codePage != CP_UTF8 && (codePage != CP_ACP || GetACP() != CP_UTF8)) {
        units = OneUnitPerCharacter(text);
        text = units;
    }
    int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                        nullptr, nullptr);
    return out;
}

} // namespace

std::wstring ShiftJisToWide(std::string_view bytes) {
    return ToWide(932, bytes);
}

std::string WideToShiftJis(std::wstring_view text) {
    return FromWide(932, text);
}

std::string WideToSystemCodePage(std::wstring_view text) {
    return FromWide(CP_ACP, text);
}

std::wstring SystemCodePageToWide(std::string_view bytes) {
    return ToWide(CP_ACP, bytes);
}

} // namespace platform
