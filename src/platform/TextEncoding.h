#pragma once
/// Conversions between the program's wide strings and the byte encodings it meets:
/// UTF-8 (POSIX file names, files written here), UTF-16LE (text byte blocks of the
/// settings library), Shift-JIS (files from Japanese Windows kiosks) and the system code
/// page (UTF-8 on POSIX, the ANSI code page on Windows).

#include <string>
#include <string_view>

namespace platform {

std::string WideToUtf8(std::wstring_view text);
/// Invalid sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

/// File names on POSIX: UTF-8, except that each byte that is not part of valid UTF-8 stands
/// as one lone surrogate U+DC80..U+DCFF, so that every name the system lists converts back to
/// its own bytes and can be opened, copied and deleted. For names only: text keeps U+FFFD.
std::string WideToUtf8FileName(std::wstring_view name);
std::wstring Utf8FileNameToWide(std::string_view bytes);

std::string WideToUtf16Le(std::wstring_view text);
/// An odd trailing byte is ignored; unpaired surrogates become U+FFFD.
std::wstring Utf16LeToWide(std::string_view bytes);

std::wstring ShiftJisToWide(std::string_view bytes);
std::string WideToShiftJis(std::wstring_view text);

std::string WideToSystemCodePage(std::wstring_view text);
std::wstring SystemCodePageToWide(std::string_view bytes);

/// Text of a file whose encoding is not declared: a byte-order mark decides when present,
/// otherwise valid UTF-8 is read as UTF-8 and anything else as Shift-JIS.
std::wstring DecodeText(std::string_view bytes);

} // namespace platform
