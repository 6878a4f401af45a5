#pragma once
/// Plain INI access with the limits of the program's buffers, as the Windows profile
/// functions give it. Files are read and written through the file-system backend of their
/// path; writes within the process are serialised, and each replaces the file in one step.

#include <cstddef>
#include <string>

/// Read buffer of 260 characters: a value (or the default) is cut at 259 characters.
constexpr std::size_t kProfileReadBuffer = 260;
/// Write buffers of 128 characters: section, key and value are cut at 127 characters.
/// The file path is not: a program folder of any supported length must be able to keep its
/// settings beside it.
constexpr std::size_t kProfileWriteBuffer = 128;

/// The value of `key` in `section`, or `defaultValue` (trailing blanks removed) when the
/// file, section or key is missing.
std::wstring ReadProfileString(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, std::wstring defaultValue);

/// Sets `key` in `section`, creating file and section when missing and keeping every other
/// line. The file path may fill the path buffer of the program's other file functions, so any
/// file that can be read can be written; a longer path is refused (cutting it would name
/// another file). Failures are not reported.
void WriteProfileString(const std::wstring& file, std::wstring section, std::wstring key,
                        std::wstring value);

/// The leading decimal number (optional sign, blanks before it skipped) of the value; 0 when
/// the value holds no digits; `defaultValue` when the file, section or key is missing or the
/// value is empty.
int ReadProfileInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   int defaultValue);
