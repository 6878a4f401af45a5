// The logging service as an in-process COM server: registration makes its class creatable
// and a line written through it reaches the log file; unregistration takes the class away.

#include "logging/LogClient.h"

#include "../TodaysLog.h"
#include "TempFolder.h"
#include "platform/DynamicLibrary.h"
#include "platform/LogWriterFactory.h"
#include "platform/ProcessEnvironment.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// DllRegisterServer and DllUnregisterServer take nothing and return an HRESULT (0: success).
using ServerRegistration = std::int32_t (*)();

class LogServiceRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_service.Load(L"QRM_LOGSVC.DLL"));
        m_register = m_service.Resolve<ServerRegistration>("DllRegisterServer");
        m_unregister = m_service.Resolve<ServerRegistration>("DllUnregisterServer");
        ASSERT_TRUE(m_register && m_unregister);
        platform::ComInitialize();
        platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", m_folder / L"ログ");
    }
    // The other tests of the prefix find the service registered, as they did before.
    void TearDown() override {
        if (m_register) {
            EXPECT_EQ(m_register(), 0);
        }
        platform::ComUninitialize();
    }

    TempFolder m_folder;
    platform::DynamicLibrary m_service;
    ServerRegistration m_register = nullptr;
    ServerRegistration m_unregister = nullptr;
};

} // namespace

TEST_F(LogServiceRegistration, RegisteredServiceWritesTheClientsLinesToItsFile) {
    ASSERT_EQ(m_register(), 0);
    {
        CLogClient client(L"QRM_Relaydesk2");
        ASSERT_EQ(WriteLog(&client, L"OnOK IN"), 0u);
        ASSERT_EQ(WriteLog(&client, L"端末 %d", 3), 0u);
    }
    const std::string log = m_folder.ReadFile(TodaysLogFile());
    EXPECT_NE(log.find("\t\"08\",\"QRM_Relaydesk2\",\"OnOK IN\"\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\"QRM_Relaydesk2\",\"\xE7\xAB\xAF\xE6\x9C\xAB 3\"\n"), std::string::npos)
        << log;
}

TEST_F(LogServiceRegistration, UnregisteredServiceCannotBeCreatedUntilRegisteredAgain) {
    ASSERT_EQ(m_unregister(), 0);
    EXPECT_EQ(m_unregister(), 0); // nothing left to remove is no failure
    {
        CLogClient client(L"QRM_Relaydesk2");
        EXPECT_EQ(WriteLog(&client, L"OnOK IN"), kLogStatusUnavailable);
    }
    ASSERT_EQ(m_register(), 0);
    platform::ILogWriter* writer = platform::CreateLogWriter();
    ASSERT_NE(writer, nullptr);
    writer->Release();
}
