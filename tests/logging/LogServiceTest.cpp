#include "logging/LogClient.h"

#include "TempFolder.h"
#include "platform/FileSystemCalls.h"
#include "platform/LocalTime.h"
#include "platform/TextEncoding.h"
#include "platform/ProcessEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

namespace {

class LogServiceFolder : public ::testing::Test {
protected:
    void SetUp() override { platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", m_folder / L"ログ"); }
    void TearDown() override { platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", L""); }

    std::wstring TodaysFileName() const {
        platform::SystemTime now = platform::GetLocalTime();
        wchar_t name[64];
        std::swprintf(name, 64, L"ログ/QRM_Relaydesk2_%04u%02u%02u.log", now.year, now.month, now.day);
        return name;
    }
    std::vector<std::string> Records() const {
        std::istringstream text(m_folder.ReadFile(TodaysFileName()));
        std::vector<std::string> records;
        for (std::string line; std::getline(text, line);)
            records.push_back(line);
        return records;
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(LogServiceFolder, RecordCarriesTheTimeStampAndTheLineAsBuilt) {
    CLogClient client(L"QRM_Relaydesk2");
    ASSERT_EQ(WriteLog(&client, L"OnOK IN"), 0u);
    ASSERT_EQ(WriteLog(&client, L"端末 %d", 3), 0u);
    auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(std::regex_match(records[0], std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\.\d{3}\t.*)")))
        << records[0];
    EXPECT_TRUE(records[0].ends_with("\t\"08\",\"QRM_Relaydesk2\",\"OnOK IN\""));
    EXPECT_TRUE(records[1].ends_with("\"08\",\"QRM_Relaydesk2\",\"\xE7\xAB\xAF\xE6\x9C\xAB 3\""));
}

TEST_F(LogServiceFolder, FileDeletedWhileRunningIsMadeAgainForTheGroupOnly) {
    CLogClient client(L"QRM_Relaydesk2");
    ASSERT_EQ(WriteLog(&client, L"first"), 0u);
    const auto file = platform::ToFsPath(m_folder / TodaysFileName());
    ASSERT_TRUE(std::filesystem::remove(file));
    ASSERT_EQ(WriteLog(&client, L"second"), 0u);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].ends_with("\"second\"")) << records[0];
    using std::filesystem::perms;
    EXPECT_EQ(std::filesystem::status(file).permissions() & perms::all,
              perms::owner_read | perms::owner_write | perms::group_read);
}

TEST_F(LogServiceFolder, ConcurrentSendersNeverInterleaveWithinALine) {
    CLogClient shared(L"QRM_Relaydesk2");
    CLogClient second(L"QRM_Relaydesk2"); // a second client shares the service's files
    constexpr int kThreads = 4;
    constexpr int kLines = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            CLogClient* client = t % 2 ? &second : &shared;
            for (int i = 0; i < kLines; ++i)
                WriteLog(client, L"thread %d line %d %s", t, i, std::wstring(40, L'a' + t));
        });
    for (auto& thread : threads)
        thread.join();
    auto records = Records();
    ASSERT_EQ(records.size(), static_cast<size_t>(kThreads * kLines));
    std::regex wellFormed(R"(.*\t"08","QRM_Relaydesk2","thread (\d) line \d+ ([a-d])\2{39}")");
    for (const auto& record : records)
        ASSERT_TRUE(std::regex_match(record, wellFormed)) << record;
}

TEST_F(LogServiceFolder, UnwritableLogFolderMakesSendsFailWithoutHarm) {
    m_folder.WriteFile(L"blocker", "a file where the folder should be");
    platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", m_folder / L"blocker/log");
    CLogClient client(L"QRM_Relaydesk2");
    EXPECT_NE(WriteLog(&client, L"OnOK IN"), 0u);
    EXPECT_NE(WriteLog(&client, L"OnOK OUT"), 0u);
}

TEST_F(LogServiceFolder, MissingServiceLibraryGivesUnavailableForEverySend) {
    // The probe program, copied alone into a folder, finds no service library beside it.
    std::string probe = platform::WideToUtf8(m_folder / L"relaydesk_log_probe");
    std::string copy = "cp relaydesk_log_probe '" + probe + "'";
    ASSERT_EQ(std::system(copy.c_str()), 0);
    std::string output = platform::WideToUtf8(m_folder / L"out.txt");
    ASSERT_EQ(std::system(("'" + probe + "' > '" + output + "'").c_str()), 0);
    EXPECT_EQ(m_folder.ReadFile(L"out.txt"), "61417 61417 61417\n");
}
