#include "logging/LogRotator.h"

#include "TempFolder.h"
#include "platform/FileSystemCalls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

// Creation times come from a table by file name, so that the order is under the test's
// control (the file system's birth times of files made together fall in one minute).
class ScriptedRotator : public CLogRotator {
public:
    std::map<std::wstring, int> minuteOf;

protected:
    bool FileCreationTime(const std::wstring& path, platform::SystemTime& time) const override {
        auto found = minuteOf.find(path.substr(path.find_last_of(platform::kPathSeparator) + 1));
        if (found == minuteOf.end())
            return false;
        time = platform::SystemTime{2026, 12, 0, 5, 10, static_cast<std::uint16_t>(found->second),
                                    0,    0};
        return true;
    }
};

class LogFolder : public ::testing::Test {
protected:
    // Sparse files: sizes without writing the bytes.
    void MakeFile(const std::wstring& name, std::uint64_t size, int minute) {
        m_folder.WriteFile(name, "");
        std::filesystem::resize_file(platform::ToFsPath(m_folder / name), size);
        m_rotator.minuteOf[name] = minute;
    }
    void RunWithLimit(std::uint32_t limit) {
        m_rotator.SetFolder(m_folder.Path());
        m_rotator.SetSizeLimit(limit);
        EXPECT_EQ(m_rotator.Run(), 1);
    }
    TempFolder m_folder;
    ScriptedRotator m_rotator;
};

} // namespace

struct RotationCase {
    const char* what;
    std::uint32_t limit;
    struct File {
        const wchar_t* name;
        std::uint64_t size;
        int minute;
        bool kept;
    };
    std::vector<File> files;
};

class LogFolderRotation : public LogFolder, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(LogFolderRotation, KeepsTheNewestFilesWithinTheLimit) {
    for (const auto& file : GetParam().files)
        MakeFile(file.name, file.size, file.minute);
    RunWithLimit(GetParam().limit);
    for (const auto& file : GetParam().files)
        EXPECT_EQ(m_folder.Exists(file.name), file.kept) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Totals, LogFolderRotation,
    ::testing::Values(
        // 60, 90, then 110 MiB: only the file that passes the limit goes.
        RotationCase{"passing file",
                     100 * kMiB,
                     {{L"newest.log", 60 * kMiB, 30, true},
                      {L"middle.log", 30 * kMiB, 20, true},
                      {L"oldest.log", 20 * kMiB, 10, false}}},
        // A newest file over the limit goes itself, and every older file with it.
        RotationCase{"newest over limit",
                     100 * kMiB,
                     {{L"a.log", 150 * kMiB, 50, false},
                      {L"b.log", 1 * kMiB, 40, false},
                      {L"c.log", 1 * kMiB, 30, false}}},
        RotationCase{"limit zero", 0, {{L"big.log", 500 * kMiB, 1, true}}}));

TEST_F(LogFolder, OnlyLogFilesDirectlyInTheFolderCount) {
    MakeFile(L"keep.log", 90 * kMiB, 30);
    MakeFile(L"other.txt", 90 * kMiB, 40);
    m_folder.MakeFolder(L"sub");
    MakeFile(L"sub/nested.log", 90 * kMiB, 50);
    MakeFile(L"old.LOG", 20 * kMiB, 10);
    RunWithLimit(100 * kMiB);
    EXPECT_TRUE(m_folder.Exists(L"keep.log"));
    EXPECT_TRUE(m_folder.Exists(L"other.txt"));
    EXPECT_TRUE(m_folder.Exists(L"sub/nested.log"));
    EXPECT_FALSE(m_folder.Exists(L"old.LOG")); // the pattern matches without regard to case
}

TEST_F(LogFolder, AFileThatCannotBeMeasuredStopsThePassWithNothingDeleted) {
    MakeFile(L"new.log", 90 * kMiB, 30);
    MakeFile(L"old.log", 90 * kMiB, 10);
    m_folder.WriteFile(L"unknown.log", "x"); // no creation time in the table
    RunWithLimit(100 * kMiB);
    EXPECT_TRUE(m_folder.Exists(L"old.log"));
}

TEST_F(LogFolder, MissingFolderIsHarmless) {
    m_rotator.SetFolder(m_folder / L"does-not-exist");
    m_rotator.SetSizeLimit(1);
    EXPECT_EQ(m_rotator.Run(), 1);
}
