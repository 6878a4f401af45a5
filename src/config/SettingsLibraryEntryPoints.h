#pragma once
/// The C interface of the settings library QRM_UTIL: the sixteen entry points that the
/// program resolves by name, shared by the library itself and by its adapter `CIniLibrary`.
///
/// Every name (file path, file kind, section, key) and every text is an 8-bit string in the
/// system code page. Results: 0 or a positive count on success, a negative `SettingsResult`
/// on failure; the getters return the stored value or the caller's default.

#include "platform/DynamicLibrary.h"

#include <cstdint>

/// The name under which the program loads the settings library.
inline constexpr wchar_t kSettingsLibraryName[] = L"QRM_UTIL.DLL";

/// Failure results of the library's entry points.
enum SettingsResult : int {
    kSettingsOk = 0,
    kSettingsNotOpen = -1,     ///< no file is open, or an argument is null
    kSettingsUnreadable = -2,  ///< the file exists but cannot be read; nothing will be saved
    kSettingsWriteFailed = -3, ///< the file could not be replaced; the old file stays
    kSettingsMalformed = -4,   ///< the stored value is not in the form its getter expects
    kSettingsReadOnly = -5,    ///< the file was opened for reading only
    kSettingsBadValue = -6,    ///< the value cannot be stored (a line break in a text)
};

/// Modes of `QRM_PlxIniOpen`.
enum SettingsOpenMode : int {
    kSettingsOpenRead = 0,      ///< reads only (as does any mode but 1); setters are refused
    kSettingsOpenReadWrite = 1, ///< reads and writes; a missing file is created at terminate
};

extern "C" {
using QrmPlxIniOpenFn = int (*)(const char* path, const char* fileKind, int mode);
using QrmPlxIniOpenForWriteFn = int (*)(const char* path, const char* fileKind);
using QrmPlxIniFlushFn = int (*)();
using QrmPlxIniTerminateFn = int (*)();
using QrmPlxIniGetFn = int (*)(const char* section, const char* key, char* buffer, int bufferSize,
                               const char* defaultValue);
using QrmPlxIniGetIntFn = int (*)(const char* section, const char* key, int defaultValue);
using QrmPlxIniGetDoubleFn = double (*)(const char* section, const char* key, double defaultValue);
using QrmPlxIniGetStringFn = int (*)(const char* section, const char* key, char* buffer,
                                     int bufferSize, const char* defaultValue);
using QrmPlxIniGetBinaryFn = int (*)(const char* section, const char* key, void* buffer,
                                     int bufferSize, const void* defaultBytes, int defaultSize);
using QrmPlxIniSetFn = int (*)(const char* section, const char* key, const char* value);
using QrmPlxIniSetIntFn = int (*)(const char* section, const char* key, int value);
using QrmPlxIniSetDoubleFn = int (*)(const char* section, const char* key, double value);
using QrmPlxIniSetStringFn = int (*)(const char* section, const char* key, const char* value);
using QrmPlxIniSetBinaryFn = int (*)(const char* section, const char* key, const void* bytes,
                                     int size);
using QrmPlxIniDeleteSectionFn = int (*)(const char* section);
using QrmPlxIniDeleteKeyFn = int (*)(const char* section, const char* key);
}

/// The sixteen entry points of one loaded library; each is null when the library lacks it.
struct SettingsLibraryEntryPoints {
    QrmPlxIniOpenFn open = nullptr;
    QrmPlxIniOpenForWriteFn openForWrite = nullptr;
    QrmPlxIniFlushFn flush = nullptr;
    QrmPlxIniTerminateFn terminate = nullptr;
    QrmPlxIniGetFn get = nullptr;
    QrmPlxIniGetIntFn getInt = nullptr;
    QrmPlxIniGetDoubleFn getDouble = nullptr;
    QrmPlxIniGetStringFn getString = nullptr;
    QrmPlxIniGetBinaryFn getBinary = nullptr;
    QrmPlxIniSetFn set = nullptr;
    QrmPlxIniSetIntFn setInt = nullptr;
    QrmPlxIniSetDoubleFn setDouble = nullptr;
    QrmPlxIniSetStringFn setString = nullptr;
    QrmPlxIniSetBinaryFn setBinary = nullptr;
    QrmPlxIniDeleteSectionFn deleteSection = nullptr;
    QrmPlxIniDeleteKeyFn deleteKey = nullptr;
};

/// Looks up the sixteen entry points by their names, in the order above.
SettingsLibraryEntryPoints ResolveSettingsEntryPoints(const platform::DynamicLibrary& library);
