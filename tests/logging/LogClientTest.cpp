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

struct ClientWithScriptedLogger {
    std::unique_ptr<ScriptedLogger> logger = std::make_unique<ScriptedLogger>();
    int creations = 0;
    bool failCreation = false;
    CLogClient client{L"QRM_Relaydesk2", [this]() -> platform::ILogWriter* {
                          ++creations;
                          return failCreation ? nullptr : logger.get();
                      }};
};

} // namespace

TEST(LogLine, LevelIsTwoDigitsAndTheSourceAndOptionalFieldsFollowQuotedInOrder) {
    ClientWithScriptedLogger fixture;
    EXPECT_EQ(WriteLog(&fixture.client, L"OnOK IN"), 0u);
    fixture.client.LogLine(3, nullptr, nullptr);
    fixture.client.LogLine(12, L"first", L"say \"hi\"");
    fixture.client.LogLine(8, L"only first", nullptr);
    // An empty source name is refused; another one stands in the second field.
    EXPECT_FALSE(fixture.client.SetSourceName(L""));
    EXPECT_TRUE(fixture.client.SetSourceName(L"端末"));
    fixture.client.LogLine(8, nullptr, L"x");
    EXPECT_EQ(fixture.logger->lines,
              (std::vector<std::wstring>{
                  L"QRM_Relaydesk2|\"08\",\"QRM_Relaydesk2\",\"OnOK IN\"",
                  L"QRM_Relaydesk2|\"03\",\"QRM_Relaydesk2\"",
                  L"QRM_Relaydesk2|\"12\",\"QRM_Relaydesk2\",\"first\",\"say \"hi\"\"",
                  L"QRM_Relaydesk2|\"08\",\"QRM_Relaydesk2\",\"only first\"",
                  L"QRM_Relaydesk2|\"08\",\"端末\",\"x\""}));
}

TEST(WriteLogFormatting, FormatsArgumentsAndNeverReadsMissingOnes) {
    ClientWithScriptedLogger fixture;
    WriteLog(&fixture.client, L"WindowProc IN %d", 3000);
    WriteLog(&fixture.client, L"Start: Ver %d.%d.%d.%d", 2, 1, 0, 7);
    WriteLog(&fixture.client, L"OnBDelete OUT YES 100% done %s %d");
    WriteLog(&fixture.client, L"%s-%5s-%-4d|%03d", L"a", std::wstring(L"端末"), 7, 5);
    WriteLog(&fixture.client, L"%q %");
    // The message is the third field: between the prefix and the closing quote.
    const std::wstring prefix = L"QRM_Relaydesk2|\"08\",\"QRM_Relaydesk2\",\"";
    auto message = [&](size_t i) {
        const std::wstring& line = fixture.logger->lines[i];
        return line.substr(prefix.size(), line.size() - prefix.size() - 1);
    };
    EXPECT_EQ(message(0), L"WindowProc IN 3000");
    EXPECT_EQ(message(1), L"Start: Ver 2.1.0.7");
    EXPECT_EQ(message(2), L"OnBDelete OUT YES 100% done %s %d");
    EXPECT_EQ(message(3), L"a-   端末-7   |005");
    EXPECT_EQ(message(4), L"%q %");
}

TEST(WriteLogFormatting, LongMessageIsCutToTheBufferAndNoClientLogsNothing) {
    ClientWithScriptedLogger fixture;
    std::wstring longText(5000, L'x');
    WriteLog(&fixture.client, L"%s", longText);
    const std::wstring& line = fixture.logger->lines[0];
    EXPECT_EQ(std::count(line.begin(), line.end(), L'x'),
              static_cast<long>(kLogMessageBufferSize - 1));
    // Without a client nothing is logged.
    EXPECT_EQ(WriteLog(nullptr, L"OnOK IN"), kLogStatusUnavailable);
}

TEST(SendStatus, FailedCreationReturnsUnavailableAndIsRetriedNextSend) {
    ClientWithScriptedLogger fixture;
    fixture.failCreation = true;
    EXPECT_EQ(WriteLog(&fixture.client, L"a"), kLogStatusUnavailable);
    EXPECT_EQ(WriteLog(&fixture.client, L"b"), kLogStatusUnavailable);
    EXPECT_EQ(fixture.creations, 2);
    fixture.failCreation = false;
    EXPECT_EQ(WriteLog(&fixture.client, L"c"), 0u);
    EXPECT_EQ(fixture.creations, 3);
    EXPECT_EQ(fixture.logger->lines.size(), 1u);
}

TEST(SendStatus, FailedOpenDisconnectsAndTheNextSendCreatesAgain) {
    ClientWithScriptedLogger fixture;
    fixture.logger->openStatuses = {-1, 0};
    EXPECT_EQ(WriteLog(&fixture.client, L"a"), kLogStatusUnavailable); // the open preset
    EXPECT_TRUE(fixture.logger->released);
    EXPECT_EQ(WriteLog(&fixture.client, L"b"), 0u);
    EXPECT_EQ(fixture.creations, 2);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Close", L"Open", L"Begin", L"Write", L"End"}),
              fixture.logger->calls);
}

TEST(SendStatus, BeginIsTriedThreeTimesThenTheStatusReturnsAndTheLoggerStays) {
    ClientWithScriptedLogger fixture;
    fixture.logger->beginStatuses = {5, 5, -1};
    EXPECT_EQ(WriteLog(&fixture.client, L"a"), kLogStatusBeginFailed);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Begin", L"Begin", L"Begin"}),
              fixture.logger->calls);
    fixture.logger->beginStatuses = {9, 0};
    EXPECT_EQ(WriteLog(&fixture.client, L"b"), 0u);
    EXPECT_EQ(fixture.creations, 1);
    EXPECT_FALSE(fixture.logger->released);
}

TEST(SendStatus, FailedWriteSkipsEnd) {
    ClientWithScriptedLogger fixture;
    fixture.logger->writeStatuses = {42};
    EXPECT_EQ(WriteLog(&fixture.client, L"a"), 42u);
    EXPECT_EQ((std::vector<std::wstring>{L"Open", L"Begin", L"Write"}), fixture.logger->calls);
}

TEST(SendStatus, EndIsRetriedWithTheBeginToken) {
    ClientWithScriptedLogger fixture;
    fixture.logger->endStatuses = {-1, -1, -1};
    EXPECT_EQ(WriteLog(&fixture.client, L"a"), kLogStatusEndFailed);
    fixture.logger->endStatuses = {3, 0};
    EXPECT_EQ(WriteLog(&fixture.client, L"b"), 0u);
    EXPECT_EQ(std::count(fixture.logger->calls.begin(), fixture.logger->calls.end(), L"End"), 5);
}

TEST(SendStatus, MissingApplicationNameReturnsUnavailableWithoutTouchingTheLogger) {
    int creations = 0;
    CLogClient client(
        L"QRM_Relaydesk2",
        [&]() -> platform::ILogWriter* {
            ++creations;
            return nullptr;
        },
        [](std::wstring_view text) -> wchar_t* {
            return text == L"QRM_Relaydesk2" ? nullptr : platform::AllocComString(text);
        });
    EXPECT_EQ(WriteLog(&client, L"OnOK IN"), kLogStatusUnavailable);
    EXPECT_EQ(creations, 0);
}
