#include "platform/TextEncoding.h"

#include "WindowsHeaders.h"

namespace platform {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty())
        return {};
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), length);
    return out;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
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
