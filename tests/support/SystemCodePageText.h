#pragma once
/// Texts for tests of the system code page, which differs between machines: UTF-8 on POSIX,
/// the ANSI code page on Windows (Shift-JIS on a Japanese one, 1252 on a Western one).

#include "platform/TextEncoding.h"

#include <cstdio>
#include <string>

/// `japanese` when the system code page holds it, else `western` (Latin letters with accents,
/// which the Western code pages hold).
inline std::wstring TextTheSystemCodePageHolds(const std::wstring& japanese,
                                               const std::wstring& western) {
    const std::string bytes = platform::WideToSystemCodePage(japanese);
    return platform::SystemCodePageToWide(bytes) == japanese ? japanese : western;
}

/// Bytes as the settings library stores a byte block: two upper-case hexadecimal digits each.
inline std::wstring StoredBlock(const std::string& bytes) {
    std::wstring hex;
    for (const unsigned char byte : bytes) {
        wchar_t digits[3];
        std::swprintf(digits, 3, L"%02X", byte);
        hex += digits;
    }
    return hex;
}
