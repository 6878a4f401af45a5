#pragma once
/// The process-wide log client (g_pLogClient) for the life of the object, writing into a
/// logger that keeps the lines, so tests read what was logged without the logging service.

#include "LogRecords.h"
#include "logging/LogClient.h"
#include "platform/ILogWriter.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RecordedLog {
public:
    RecordedLog()
        : m_client(std::make_unique<CLogClient>(L"QRM_Relaydesk2", [this] { return &m_writer; })) {
        g_pLogClient = m_client.get();
    }
    ~RecordedLog() { g_pLogClient = nullptr; }
    RecordedLog(const RecordedLog&) = delete;
    RecordedLog& operator=(const RecordedLog&) = delete;

    /// The message of every line so far, in order.
    std::vector<std::wstring> Messages() const {
        std::lock_guard lock(m_writer.mutex);
        std::vector<std::wstring> messages;
        for (const std::wstring& line : m_writer.lines)
            messages.push_back(LogMessageOf(line));
        return messages;
    }

private:
    struct Writer final : platform::ILogWriter {
        void Release() override {}
        void Write(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                   std::int32_t, std::int32_t, const wchar_t*, const wchar_t* line,
                   std::int32_t* status) override {
            std::lock_guard lock(mutex);
            lines.emplace_back(line);
            *status = 0;
        }
        void Begin(std::int32_t* token, std::int32_t* status) override { *token = 1, *status = 0; }
        void End(std::int32_t*, std::int32_t* status) override { *status = 0; }
        void Open(std::int32_t* status) override { *status = 0; }
        void Close(std::int32_t* status) override { *status = 0; }

        mutable std::mutex mutex;
        std::vector<std::wstring> lines;
    };

    Writer m_writer;
    std::unique_ptr<CLogClient> m_client;
};
