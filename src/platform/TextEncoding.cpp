#include "platform/TextEncoding.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// Reads one code point from wide text, joining surrogate pairs where wchar_t is 16 bits.
char32_t NextCodePoint(std::wstring_view text, size_t& i) {
    char32_t cp = static_cast<char32_t>(text[i++]);
    if (cp >= 0xD800 && cp <= 0xDBFF && i < text.size()) {
        char32_t low = static_cast<char32_t>(text[i]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF)
        return kReplacement;
    return cp > 0x10FFFF ? kReplacement : cp;
}

// Decodes one UTF-8 sequence at `i`; returns false (and skips one byte) when invalid.
bool DecodeUtf8(std::string_view bytes, size_t& i, char32_t& cp) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char lead = byte(i);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || i + length > bytes.size()) {
        ++i;
        return false;
    }
    cp = length == 1   ? lead
         : length == 2 ? (lead & 0x1F)
         : length == 3 ? (lead & 0x0F)
                       : (lead & 0x07);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return false;
    }
    i += length;
    return true;
}

// Encodes one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// A byte of a file name that is not UTF-8 stands as a lone low surrogate, which no UTF-8 text
// decodes to, so that the name converts back to the same bytes.
constexpr wchar_t kEscapedByteBase = 0xDC00;

bool IsEscapedByte(wchar_t c) {
    return c >= kEscapedByteBase + 0x80 && c <= kEscapedByteBase + 0xFF;
}

} // namespace

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendUtf8(out, NextCodePoint(text, i));
    return out;
}

std::wstring Utf8ToWide(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        AppendCodePoint(out, DecodeUtf8(bytes, i, cp) ? cp : kReplacement);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(bytes, i, cp))
            return false;
    }
    return true;
}

std::string WideToUtf8FileName(std::wstring_view name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        // At the start of a character a low surrogate has no high one before it: a lone one.
        if (IsEscapedByte(name[i])) {
            out.push_back(static_cast<char>(name[i++] - kEscapedByteBase));
            continue;
        }
        AppendUtf8(out, NextCodePoint(name, i));
    }
    return out;
}

std::wstring Utf8FileNameToWide(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t start = i;
        char32_t cp = 0;
        if (DecodeUtf8(bytes, i, cp))
            AppendCodePoint(out, cp);
        else
            out.push_back(
                static_cast<wchar_t>(kEscapedByteBase + static_cast<unsigned char>(bytes[start])));
    }
    return out;
}

std::string WideToUtf16Le(std::wstring_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    auto unit = [&out](std::uint16_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    for (size_t i = 0; i < text.size();) {
        char32_t cp = NextCodePoint(text, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            unit(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            unit(static_cast<std::uint16_t>(cp));
        }
    }
    return out;
}

std::wstring Utf16LeToWide(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    size_t units = bytes.size() / 2;
    for (size_t k = 0; k < units; ++k) {
        char32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
            unit(k + 1) <= 0xDFFF) {
            AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
            ++k;
        } else {
            AppendCodePoint(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
        }
    }
    return out;
}

std::wstring DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return Utf8ToWide(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE"))
        return Utf16LeToWide(bytes.substr(2));
    if (IsValidUtf8(bytes))
        return Utf8ToWide(bytes);
    return ShiftJisToWide(bytes);
}

} // namespace platform
