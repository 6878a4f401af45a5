// Profile (INI) documents as read from any file: an untouched document writes back exactly the
// bytes it read; setting one key (an existing one or a new one, chosen by the input) and
// reloading the written bytes leaves every other key's value as it was (unless the change made
// a Shift-JIS text UTF-8), and the set key reads back as its value trimmed and unquoted (unless
// its name could not be decoded).

#include "FuzzSupport.h"

#include "config/ProfileDocument.h"
#include "fileutil/NameCase.h"

#include <map>
#include <optional>
#include <utility>

namespace {

using KeyPath = std::pair<std::wstring, std::wstring>;

/// Every key that counts (the first of duplicates) with its value, by upper-cased name.
std::map<KeyPath, std::wstring> Values(const ProfileDocument& document) {
    std::map<KeyPath, std::wstring> values;
    for (const std::wstring& section : document.SectionNames())
        for (const std::wstring& key : document.Keys(section))
            values.emplace(KeyPath{UpperCaseName(section), UpperCaseName(key)},
                           document.Get(section, key).value());
    return values;
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}

/// A value as Get gives it back after Set: trimmed, one pair of enclosing quotes removed.
std::wstring ReadBack(std::wstring_view value) {
    value = Trimmed(value);
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}

/// A name that a program would use: no line break, no "=" or "]", not blank.
std::wstring NewName(FuzzedDataProvider& input) {
    std::wstring name = TakeText(input, L"aZ09_ .あ漢ｱ", 8);
    return Trimmed(name).empty() ? L"N" + name : name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto choice = input.ConsumeIntegral<std::uint16_t>();
    const std::wstring value = TakeText(input, kIniAlphabet, 12);
    std::wstring newSection = NewName(input);
    std::wstring newKey = NewName(input);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    ProfileDocument document;
    document.LoadFromBytes(bytes);
    Check(document.ToBytes() == bytes, "an untouched document writes back its bytes");

    const std::map<KeyPath, std::wstring> before = Values(document);
    std::wstring section = std::move(newSection);
    std::wstring key = std::move(newKey);
    const std::vector<std::wstring> sections = document.SectionNames();
    if (!sections.empty() && choice % 3 != 0) {
        section = sections[choice % sections.size()];
        const std::vector<std::wstring> keys = document.Keys(section);
        if (!keys.empty() && choice % 3 == 1)
            key = keys[choice / 3 % keys.size()];
    }
    document.Set(section, key, value);

    ProfileDocument reloaded;
    reloaded.LoadFromBytes(document.ToBytes());
    const KeyPath setPath{UpperCaseName(Trimmed(section)), UpperCaseName(Trimmed(key))};
    // The encoding is detected anew: a text that was Shift-JIS only for the line changed reads
    // as UTF-8 now, every other line with the bytes it had but decoded as UTF-8.
    const bool redetected = reloaded.GetEncoding() != document.GetEncoding();
    Check(!redetected || (document.GetEncoding() == ProfileDocument::Encoding::kShiftJis &&
                          reloaded.GetEncoding() == ProfileDocument::Encoding::kUtf8),
          "a change alters the detected encoding only from Shift-JIS to UTF-8");
    const std::map<KeyPath, std::wstring> after = Values(reloaded);
    for (const auto& [path, oldValue] : before) {
        if (redetected || path == setPath)
            continue;
        const auto found = after.find(path);
        Check(found != after.end() && found->second == oldValue,
              "setting one key leaves every other key's value", path.first + L"/" + path.second);
    }
    // A changed line is encoded anew: a key name its encoding could not decode (read as
    // U+FFFD) cannot be written back as it was.
    if (key.find(L'\uFFFD') == std::wstring::npos)
        Check(reloaded.Get(section, key) == std::optional<std::wstring>(ReadBack(value)),
              "the set key reads back", section + L"/" + key + L"=" + value);
    return 0;
}
