#include "logging/LogClient.h"

#include "LogRecords.h"
#include "TempFolder.h"
#include "TodaysLog.h"
#include "platform/DynamicLibrary.h"
#include "platform/FilePermissions.h"
#include "platform/FileSystemCalls.h"
#include "platform/LogWriterFactory.h"
#include "platform/ModulePath.h"
#include "platform/ProcessEnvironment.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

namespace {

/// Puts the logging service into the state a test needs, and back as it was. A service that
/// is created through its registration (the Windows COM server, which exports
/// DllRegisterServer) is registered or unregistered; one that the program loads from its
/// folder needs neither, and is left alone.
class ServiceRegistration {
public:
    explicit ServiceRegistration(bool registered) {
        m_service.Load(L"QRM_LOGSVC.DLL");
        m_register = m_service.Resolve<Step>("DllRegisterServer");
        m_unregister = m_service.Resolve<Step>("DllUnregisterServer");
        if (!m_register || !m_unregister)
            return;
        platform::ComInitialize();
        m_wasRegistered = Creatable();
        EXPECT_EQ((registered ? m_register : m_unregister)(), 0);
    }
    ~ServiceRegistration() {
        if (!m_register || !m_unregister)
            return;
        EXPECT_EQ((m_wasRegistered ? m_register : m_unregister)(), 0);
        platform::ComUninitialize();
    }
    ServiceRegistration(const ServiceRegistration&) = delete;
    ServiceRegistration& operator=(const ServiceRegistration&) = delete;

private:
    // DllRegisterServer and DllUnregisterServer take nothing and return an HRESULT (0: success).
    using Step = std::int32_t (*)();

    static bool Creatable() {
        platform::ILogWriter* writer = platform::CreateLogWriter();
        if (writer)
            writer->Release();
        return writer != nullptr;
    }

    platform::DynamicLibrary m_service;
    Step m_register = nullptr;
    Step m_unregister = nullptr;
    bool m_wasRegistered = false;
};

/// Runs `program` with its standard output written to `output`; the exit status.
int RunWithOutputTo(const std::wstring& program, const std::wstring& output) {
    std::string command =
        "\"" + platform::WideToUtf8(program) + "\" > \"" + platform::WideToUtf8(output) + "\"";
    // cmd.exe takes the outer quotes off a command that begins with one: quote it once more.
    if (platform::kPathSeparator == L'\\')
        command = "\"" + command + "\"";
    return std::system(command.c_str());
}

class LogServiceFolder : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", m_folder / L"ログ");
    }
    void TearDown() override { platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", L""); }

    std::vector<std::string> Records() const {
        std::istringstream text(m_folder.ReadFile(TodaysLogFile()));
        std::vector<std::string> records;
        for (std::string line; std::getline(text, line);)
            records.push_back(line);
        return records;
    }

    ServiceRegistration m_service{true};
    TempFolder m_folder;
};

} // namespace

TEST_F(LogServiceFolder, RecordCarriesTheTimeStampAndTheLineAsBuilt) {
    CLogClient client(L"QRM_Relaydesk2");
    ASSERT_EQ(WriteLog(&client, L"OnOK IN"), 0u);
    ASSERT_EQ(WriteLog(&client, L"端末 %d", 3), 0u);
    auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(
        std::regex_match(records[0], std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\.\d{3}\t.*)")))
        << records[0];
    EXPECT_TRUE(records[0].ends_with("\t\"08\",\"QRM_Relaydesk2\",\"OnOK IN\""));
    EXPECT_TRUE(records[1].ends_with("\"08\",\"QRM_Relaydesk2\",\"\xE7\xAB\xAF\xE6\x9C\xAB 3\""));
}

TEST_F(LogServiceFolder, FileDeletedWhileRunningIsMadeAgainForTheGroupOnly) {
    CLogClient client(L"QRM_Relaydesk2");
    ASSERT_EQ(WriteLog(&client, L"first"), 0u);
    const auto file = platform::ToFsPath(m_folder / TodaysLogFile());
    ASSERT_TRUE(std::filesystem::remove(file));
    ASSERT_EQ(WriteLog(&client, L"second"), 0u);
    EXPECT_EQ(LogMessagesIn(m_folder / L"ログ"), std::vector<std::wstring>{L"second"});
    // Readable for the group as the platform grants it (0640 on POSIX).
    m_folder.WriteFile(L"reference", "");
    ASSERT_TRUE(platform::RestrictFileAccess(m_folder / L"reference",
                                             platform::FileAccess::kOwnerAndGroupReader));
    const auto permissions = [](const std::filesystem::path& path) {
        return std::filesystem::status(path).permissions() & std::filesystem::perms::all;
    };
    EXPECT_EQ(permissions(file), permissions(platform::ToFsPath(m_folder / L"reference")));
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
    // The probe program, copied alone into a folder, finds no service library beside it;
    // where the service is created through its registration, none is registered.
    ServiceRegistration unregistered(false);
    const std::filesystem::path program = platform::ToFsPath(platform::GetModuleFilePath());
    const std::filesystem::path probeName = L"relaydesk_log_probe" + program.extension().wstring();
    const std::wstring probe = m_folder / probeName.wstring();
    std::filesystem::copy_file(program.parent_path() / probeName, platform::ToFsPath(probe));
    ASSERT_EQ(RunWithOutputTo(probe, m_folder / L"out.txt"), 0);
    const std::string output = m_folder.ReadFile(L"out.txt");
    EXPECT_EQ(output.substr(0, output.find_first_of("\r\n")), "61417 61417 61417") << output;
}
