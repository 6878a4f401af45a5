// The program's profile functions against the system's own (GetPrivateProfileStringW,
// GetPrivateProfileIntW, WritePrivateProfileStringW) on the tricky INI files of
// profile-corpus, call by call. Every disagreement is printed; one that the corpus's
// known-differences.txt does not explain fails the test.
#include "platform/win32/WindowsHeaders.h"

#include "config/ProfileFunctions.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const wchar_t* const kSections[] = {L"Main",   L" Main ", L"MAIN",   L"",
                                    L"Second", L"写真",   L"Missing"};
const wchar_t* const kKeys[] = {L"Key",    L" Key ",  L"KEY",    L"Dup",  L"Before", L"Blank",
                                L"Number", L"Quoted", L"Single", L"Half", L"Inner",  L"Negative",
                                L"Hex",    L"Big",    L"Empty",  L"Plus", L"Hash",   L"Missing"};

struct Write {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
};
const Write kWrites[] = {
    {L"Main", L"Key", L"new"},
    {L" Main ", L"Added", L"added"},
    {L"Fresh", L"Key", L"fresh"},
    {L"Main", L"Dup", L"写真"},
};

/// One implementation of the three functions.
struct Profile {
    std::function<std::wstring(const std::wstring&, const wchar_t*, const wchar_t*)> readString;
    std::function<int(const std::wstring&, const wchar_t*, const wchar_t*)> readInt;
    std::function<void(const std::wstring&, const Write&)> write;
};

Profile SystemProfile() {
    return {
        [](const std::wstring& file, const wchar_t* section, const wchar_t* key) {
            wchar_t buffer[kProfileReadBuffer] = {};
            GetPrivateProfileStringW(section, key, L"default", buffer, kProfileReadBuffer,
                                     file.c_str());
            return std::wstring(buffer);
        },
        [](const std::wstring& file, const wchar_t* section, const wchar_t* key) {
            return static_cast<int>(GetPrivateProfileIntW(section, key, 7, file.c_str()));
        },
        [](const std::wstring& file, const Write& write) {
            WritePrivateProfileStringW(write.section, write.key, write.value, file.c_str());
        },
    };
}

Profile ProgramProfile() {
    return {
        [](const std::wstring& file, const wchar_t* section, const wchar_t* key) {
            return ReadProfileString(file, section, key, L"default");
        },
        [](const std::wstring& file, const wchar_t* section, const wchar_t* key) {
            return ReadProfileInt(file, section, key, 7);
        },
        [](const std::wstring& file, const Write& write) {
            WriteProfileString(file, write.section, write.key, write.value);
        },
    };
}

std::string Utf8(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

/// Every read of the corpus's sections and keys, as "<what> = <answer>" lines.
std::vector<std::pair<std::string, std::string>>
ReadEverything(const Profile& profile, const std::wstring& file, const std::string& prefix) {
    std::vector<std::pair<std::string, std::string>> answers;
    for (const wchar_t* section : kSections) {
        for (const wchar_t* key : kKeys) {
            const std::string call = prefix + " [\"" + Utf8(section) + "\"] \"" + Utf8(key) + "\"";
            answers.emplace_back(call + " string", Utf8(profile.readString(file, section, key)));
            answers.emplace_back(call + " int",
                                 std::to_string(profile.readInt(file, section, key)));
        }
    }
    return answers;
}

/// The patterns of "<pattern> | reason" lines; `*` in a pattern stands for any text.
std::vector<std::string> KnownDifferences(const fs::path& listFile) {
    std::vector<std::string> patterns;
    std::ifstream in(listFile);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        patterns.push_back(line.substr(0, line.find(" | ")));
    }
    return patterns;
}

bool Matches(std::string_view pattern, std::string_view text) {
    const std::size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return pattern == text;
    if (text.substr(0, star) != pattern.substr(0, star))
        return false;
    for (std::size_t from = star; from <= text.size(); ++from)
        if (Matches(pattern.substr(star + 1), text.substr(from)))
            return true;
    return false;
}

bool IsKnown(const std::vector<std::string>& known, const std::string& call) {
    return std::any_of(known.begin(), known.end(),
                       [&](const std::string& pattern) { return Matches(pattern, call); });
}

fs::path Corpus() {
    return platform::ToFsPath(JoinPath(GetModuleFolder(), L"profile-corpus"));
}

/// The INI files of the corpus, one test each: every file takes its own thousand-odd calls.
std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(Corpus(), error))
        if (entry.path().extension() == ".ini")
            names.push_back(entry.path().filename().string());
    return names;
}

class ProfileDifferential : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST(ProfileCorpus, HoldsTheTrickyFilesAndTheKnownDifferences) {
    EXPECT_GT(CorpusFiles().size(), 10u) << Corpus();
    EXPECT_TRUE(fs::exists(Corpus() / "known-differences.txt"));
}

TEST_P(ProfileDifferential, AgreesWithTheSystemsProfileFunctions) {
    const std::vector<std::string> known = KnownDifferences(Corpus() / "known-differences.txt");
    TempFolder folder;
    int calls = 0, agreed = 0, explained = 0;
    std::vector<std::string> unexplained;
    const auto compare = [&](const auto& system, const auto& program) {
        for (std::size_t i = 0; i < system.size(); ++i) {
            ++calls;
            if (system[i].second == program[i].second) {
                ++agreed;
                continue;
            }
            const std::string line = system[i].first + ": system \"" + system[i].second +
                                     "\", program \"" + program[i].second + "\"";
            std::cout << line << "\n";
            if (IsKnown(known, system[i].first))
                ++explained;
            else
                unexplained.push_back(line);
        }
    };
    const std::string& name = GetParam();
    const fs::path path = Corpus() / name;
    const std::wstring original = platform::FromFsPath(path);
    compare(ReadEverything(SystemProfile(), original, name + " read"),
            ReadEverything(ProgramProfile(), original, name + " read"));
    int step = 0;
    for (const Write& write : kWrites) {
        // Each implementation writes its own copy and reads it back.
        const std::string prefix =
            name + " after write [\"" + Utf8(write.section) + "\"] \"" + Utf8(write.key) + "\",";
        std::wstring copies[2];
        for (int side = 0; side < 2; ++side) {
            copies[side] = folder / (std::to_wstring(++step) + L".ini");
            fs::copy_file(path, platform::ToFsPath(copies[side]));
        }
        SystemProfile().write(copies[0], write);
        ProgramProfile().write(copies[1], write);
        compare(ReadEverything(SystemProfile(), copies[0], prefix),
                ReadEverything(ProgramProfile(), copies[1], prefix));
    }
    std::cout << name << ": " << agreed << " of " << calls << " calls agree, " << explained
              << " differences are known\n";
    EXPECT_TRUE(unexplained.empty())
        << unexplained.size() << " differences not known, the first: " << unexplained.front();
}

INSTANTIATE_TEST_SUITE_P(Corpus, ProfileDifferential, ::testing::ValuesIn(CorpusFiles()),
                         [](const ::testing::TestParamInfo<std::string>& file) {
                             std::string name = file.param;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
