#pragma once
/// What the fuzz targets share: a property check that ends the run as a crash (so that
/// libFuzzer keeps the input), texts drawn from the input's bytes, and a scratch folder for
/// the parsers that read files by path.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

/// Aborts with a message naming the property when `holds` is false.
inline void Check(bool holds, const char* property, std::wstring_view detail = {}) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s [%s]\n", property,
                 platform::WideToUtf8(detail).c_str());
    std::abort();
}

/// Characters that every encoding of a settings file can carry, including those with a
/// meaning in INI text (blanks, quotes, "=", brackets, ";") and double-byte ones.
inline constexpr std::wstring_view kIniAlphabet = L"aZ09_ =\"';[].\\/%\tあ漢ｱ";

/// Up to `maxLength` characters of `alphabet`, taken from the end of the input.
inline std::wstring TakeText(FuzzedDataProvider& input, std::wstring_view alphabet,
                             std::size_t maxLength) {
    std::wstring text(input.ConsumeIntegralInRange<std::size_t>(0, maxLength), L' ');
    for (wchar_t& c : text)
        c = alphabet[input.ConsumeIntegralInRange<std::size_t>(0, alphabet.size() - 1)];
    return text;
}

/// A folder of this process in memory (/dev/shm, where a synced write costs nothing) or else
/// in the temporary folder, made on first use and removed at exit. Each fuzzing process has
/// its own, so that parallel runs share no file.
inline const std::filesystem::path& ScratchFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::error_code error;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            std::string pattern = (base / "relaydesk-fuzz-XXXXXX").string();
            if (!mkdtemp(pattern.data()))
                std::abort();
            path = pattern;
        }
        ~Folder() {
            std::error_code ignored; // a folder left behind in /tmp harms nothing
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

/// Writes `bytes` to `path`, replacing it.
inline void WriteScratchFile(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
