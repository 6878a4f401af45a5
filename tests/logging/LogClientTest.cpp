#include "logging/LogClient.h"

#include "platform/LogWriterFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

// A logger whose statuses are scripted per call and which records what it was asked.
struct ScriptedLogger final : platform::ILogWriter {
    std::deque<std::int32_t> openStatuses, beginStatuses, writeStatuses, endStatuses;
    std::vector<std::wstring> calls;
    std::vector<std::wstring> lines;
    bool released = false;

    static void Apply(std::deque<std::int32_t>& script, std::int32_t* status) {
        if (script.empty())
            *status = 0;
        else if (script.front() != -1) // -1: write no status, leaving the client's preset
            *status = script.front();
        if (!script.empty())
            script.pop_front();
    }
    void Release() override { released = true; }
    void Open(std::int32_t* status) override {
        calls.push_back(L"Open");
        Apply(openStatuses, status);
    }
    void Close(std::int32_t* status) override {
        calls.push_back(L"Close");
        *status = 0;
    }
    void Begin(std::int32_t* token, std::int32_t* status) override {
        calls.push_back(L"Begin");
        *token = 77;
        Apply(beginStatuses, status);
    }
    void End(std::int32_t* token, std::int32_t* status) override {
        calls.push_back(*token == 77 ? L"End" : L"End(bad token)");
        Apply(endStatuses, status);
    }
    void Write(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
               std::int32_t, const wchar_t* application, const wchar_t* line,
               std::int32_t* status) override {
        calls.push_back(L"Write");
        lines.push_back(std::wstring(application) + L"|" + line);
        Apply(writeStatuses, status);
    }
};

/// A client whose logger is scripted, counting how often it asked for one.
class ClientWithScriptedLogger : public ::testing::Test {
protected:
    std::unique_ptr<ScriptedLogger> logger = std::make_unique<ScriptedLogger>();
    int creations = 0;
    bool failCreation = false;
    CLogClient client{L"QRM_Relaydesk2", [this]() -> platform::ILogWriter* {
                          ++creations;
                          return failCreation ? nullptr : logger.get();
                      }};
};
class LogLine : public ClientWithScriptedLogger {};
class WriteLogFormatting : public ClientWithScriptedLogger {};
class SendStatus : public ClientWithScriptedLogger {};

} // namespace

TEST_F(LogLine, LevelIsTwoDigitsAndTheSourceAndOptionalFieldsFollowQuotedInOrder) {
    EXPECT_EQ(WriteLog(&client, L"OnOK IN"), 0u);
    client.LogLine(3, nullptr, nullptr);
    client.LogLine(12, L"first", L"say \"hi\"");
    client.LogLine(8, L"only first", nullptr);
    // An empty source name is refused; another one stands in the second field.
    EXPECT_FALSE(client.SetSourceName(L""));
    EXPECT_TRUE(client.SetSourceName(L"端末"));
    client.LogLine(8, nullptr, L"x");
    EXPECT_EQ(logger->lines,
              (std::vector<std::wstring>{
                  L"QRM_Relaydesk2|\"08\",\"QRM_Relaydesk2\",\"OnOK IN\"",
                  L"QRM_Relaydesk2|\"03\",\"QRM_Relaydesk2\"",
                  L"QRM_Relaydesk2|\"12\",\"QRM_Relaydesk2\",\"first\",\"say \"hi\"\"",
                  L"QRM_Relaydesk2|\"08\",\"QRM_Relaydesk2\",\"only first\"",
                  L"QRM_Relaydesk2|\"08\",\"端末\",\"x\""}));
}

TEST_F(WriteLogFormatting, FormatsArgumentsAndNeverReadsMissingOnes) {
    WriteLog(&client, L"WindowProc IN %d", 3000);
    WriteLog(&client, L"Start: Ver %d.%d.%d.%d", 2, 1, 0, 7);
    WriteLog(&client, L"OnBDelete OUT YES 100% done %s %d");
    WriteLog(&client, L"%s-%5s-%-4d|%03d", L"a", std::wstring(L"端末"), 7, 5);
    WriteLog(&client, L"%q %");
    // The message is the third field.
    const auto line = [](std::wstring_view message) {
        return L"QRM_Relaydesk2|\"08\",\"QRM_Relaydesk2\",\"" + std::wstring(message) + L"\"";
    };
    EXPECT_EQ(logger->lines,
              (std::vector<std::wstring>{line(L"WindowProc IN 3000"), line(L"Start: Ver 2.1.0.7"),
                                         line(L"OnBDelete OUT YES 100% done %s %d"),
                                         line(L"a-   端末-7   |005"), line(L"%q %")}));
}

TEST_F(WriteLogFormatting, LongMessageIsCutToTheBufferAndNoClientLogsNothing) {
    std::wstring longText(5000, L'x');
    WriteLog(&client, L"%s", longText);
    const std::wstring& line = logger->lines[0];
    EXPECT_EQ(std::count(line.begin(), line.end(), L'x'),
              static_cast<long>(kLogMessageBufferSize - 1));
    // Without a client nothing is logged.
    EXPECT_EQ(WriteLog(nullptr, L"OnOK IN"), kLogStatusUnavailable);
}

TEST_F(SendStatus, FailedCreationReturnsUnavailableAndIsRetriedNextSend) {
    failCreation = true;
    EXPECT_EQ(WriteLog(&client, L"a"), kLogStatusUnavailable);
    EXPECT_EQ(WriteLog(&client, L"b"), kLogStatusUnavailable);
    EXPECT_EQ(creations, 2);
    failCreation = false;
    EXPECT_EQ(WriteLog(&client, L"c"), 0u);
    EXPECT_EQ(creations, 3);
    EXPECT_EQ(logger->lines.size(), 1u);
}

TEST_F(SendStatus, FailedOpenDisconnectsAndTheNextSendCreatesAgain) {
    logger->openStatuses = {-1, 0};
    EXPECT_EQ(WriteLog(&client, L"a"), kLogStatusUnavailable); // the open preset
    EXPECT_TRUE(logger->released);
    EXPECT_EQ(WriteLog(&client, L"b"), 0u);
    EXPECT_EQ(creations, 2);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Close", L"Open", L"Begin", L"Write", L"End"}),
              logger->calls);
}

TEST_F(SendStatus, BeginIsTriedThreeTimesThenTheStatusReturnsAndTheLoggerStays) {
    logger->beginStatuses = {5, 5, -1};
    EXPECT_EQ(WriteLog(&client, L"a"), kLogStatusBeginFailed);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Begin", L"Begin", L"Begin"}), logger->calls);
    logger->beginStatuses = {9, 0};
    EXPECT_EQ(WriteLog(&client, L"b"), 0u);
    EXPECT_EQ(creations, 1);
    EXPECT_FALSE(logger->released);
}

TEST_F(SendStatus, FailedWriteSkipsEnd) {
    logger->writeStatuses = {42};
    EXPECT_EQ(WriteLog(&client, L"a"), 42u);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Begin", L"Write"}), logger->calls);
}

TEST_F(SendStatus, EndIsRetriedWithTheBeginToken) {
    logger->endStatuses = {-1, -1, -1};
    EXPECT_EQ(WriteLog(&client, L"a"), kLogStatusEndFailed);
    logger->endStatuses = {3, 0};
    EXPECT_EQ(WriteLog(&client, L"b"), 0u);
    EXPECT_EQ(std::count(logger->calls.begin(), logger->calls.end(), L"End"), 5);
}

TEST_F(SendStatus, MissingApplicationNameReturnsUnavailableWithoutTouchingTheLogger) {
    CLogClient nameless(
        L"QRM_Relaydesk2",
        [this]() -> platform::ILogWriter* {
            ++creations;
            return logger.get();
        },
        [](std::wstring_view text) -> wchar_t* {
            return text == L"QRM_Relaydesk2" ? nullptr : platform::AllocComString(text);
        });
    EXPECT_EQ(WriteLog(&nameless, L"OnOK IN"), kLogStatusUnavailable);
    EXPECT_EQ(creations, 0);
    EXPECT_TRUE(logger->calls.empty());
}
