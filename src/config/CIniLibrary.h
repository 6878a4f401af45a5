#pragma once
/// The program's adapter for the settings library QRM_UTIL.
///
/// Text values are stored as byte blocks with a companion integer under the value's key
/// followed by "_Code": 1 means UTF-16LE bytes (on every platform), 0 or anything else the
/// system code page. A missing library or entry point makes every operation return 2
/// without doing anything.
///
/// Ownership and threads: one adapter serves one load or one save of one file on one
/// thread: construct, `Load`, `OpenFile`, reads or writes, `Terminate`, destroy. The library
/// keeps the open file as its own state, so only one adapter may be between `OpenFile` and
/// `Terminate` at a time.

#include "config/SettingsLibraryEntryPoints.h"
#include "platform/DynamicLibrary.h"

#include <cstddef>
#include <string>
#include <string_view>

/// The file kind and mode with which the program opens its settings files.
inline constexpr char kSettingsFileKind[] = "FileInfo";
/// Result of every operation whose library or entry point is missing.
constexpr int kIniLibraryMissing = 2;
/// Text codes of stored text values.
constexpr int kTextCodeSystemCodePage = 0;
constexpr int kTextCodeUtf16 = 1;
/// Bytes that `GetText` reads at most.
constexpr int kTextReadBufferSize = 4096;

class CIniLibrary {
public:
    /// `libraryName` is a name resolved in the program folder, or a path (tests use one).
    explicit CIniLibrary(std::wstring libraryName = kSettingsLibraryName);
    virtual ~CIniLibrary();
    CIniLibrary(const CIniLibrary&) = delete;
    CIniLibrary& operator=(const CIniLibrary&) = delete;

    /// 0 when the library loaded (missing entry points stay null), 1 when it did not.
    int Load();
    void Unload();

    int OpenFile(const char* path, const char* fileKind, int mode);
    /// Makes everything set since `OpenFile` permanent; 0, or 2 when the entry point is missing.
    int Terminate();

    /// The stored integer or `defaultValue`; 2 when the library is missing.
    int GetInt(const char* section, const char* key, int defaultValue);
    int SetInt(const char* section, const char* key, int value);

    /// `value` holds the default on entry and the stored text on success. Returns the byte
    /// count read (> 0), or the library's result (<= 0) or 2, leaving `value` unchanged.
    int GetText(const char* section, const char* key, std::wstring& value);
    /// Stores `textCode` under key + "_Code" and the text's bytes under key (no bytes for a
    /// code other than 0 or 1); returns the byte block's result.
    int SetText(const char* section, const char* key, const std::wstring& value, int textCode);

private:
    std::wstring m_libraryName;
    platform::DynamicLibrary m_library;
    SettingsLibraryEntryPoints m_entry;
};

/// `text` in the system code page, zero-terminated, cut to fit `bufferSize` bytes
/// (never inside a multi-byte character). Used for paths handed to `OpenFile`.
void ToSystemCodePage(std::wstring_view text, char* buffer, std::size_t bufferSize);
