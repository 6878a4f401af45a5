#pragma once
/// The program's channel to the logging service.

#include "logging/LogFormat.h"
#include "platform/ILogWriter.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

/// Statuses of a send besides those the logger itself reports.
enum LogStatus : std::uint32_t {
    kLogStatusOk = 0,
    kLogStatusUnavailable =
        61417, ///< no application name, no memory, no logger; open and write preset
    kLogStatusBeginFailed = 60812, ///< preset of the begin step
    kLogStatusEndFailed = 60913,   ///< preset of the end step
};

/// Builds log lines and hands them to the logging service, creating the service object on
/// the first send and again after a failed creation or open.
///
/// Thread contract: one client serves every thread of the process; sends are serialised by
/// the client, so lines never interleave and the logger is created once.
class CLogClient {
public:
    using LoggerFactory = std::function<platform::ILogWriter*()>;
    using StringAllocator = std::function<wchar_t*(std::wstring_view)>;

    /// `createLogger` and `allocateString` default to the platform's; tests pass their own.
    explicit CLogClient(const std::wstring& sourceName, LoggerFactory createLogger = {},
                        StringAllocator allocateString = {});
    virtual ~CLogClient();
    CLogClient(const CLogClient&) = delete;
    CLogClient& operator=(const CLogClient&) = delete;

    /// An empty name changes nothing and yields false.
    [[nodiscard]] bool SetSourceName(const std::wstring& sourceName);

    /// Sends the line "\"LL\",\"source\"" followed by each present field as ",\"field\"".
    std::uint32_t LogLine(int level, const wchar_t* first, const wchar_t* second);
    std::uint32_t Send(const std::wstring& line);
    /// Closes and releases the logger; the next send creates it again.
    void Disconnect();

private:
    std::uint32_t SendLocked(const std::wstring& line);
    void DisconnectLocked();

    std::recursive_mutex m_mutex;
    wchar_t* m_applicationName = nullptr;
    std::wstring m_sourceName;
    platform::ILogWriter* m_pLogger = nullptr;
    LoggerFactory m_createLogger;
    StringAllocator m_allocateString;
};

/// The process-wide client, created by the application object at start-up; may be null
/// (then nothing is logged).
extern CLogClient* g_pLogClient;

/// Message buffer of WriteLog in characters, including the terminator.
constexpr size_t kLogMessageBufferSize = 2048;

std::uint32_t WriteLogMessage(CLogClient* client, std::wstring_view format,
                              const std::vector<LogArgument>& arguments);

/// Formats a message printf-style and logs it at level 8. A conversion without a matching
/// argument is written as it stands, so preassembled text containing "%" is safe; a message
/// longer than the buffer is cut.
template <typename... Arguments>
std::uint32_t WriteLog(CLogClient* client, std::wstring_view format,
                       const Arguments&... arguments) {
    return WriteLogMessage(client, format, {ToLogArgument(arguments)...});
}
