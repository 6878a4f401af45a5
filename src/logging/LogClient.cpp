#include "logging/LogClient.h"

#include "platform/LocalTime.h"
#include "platform/LogWriterFactory.h"

#include <chrono>
#include <thread>

CLogClient* g_pLogClient = nullptr;

namespace {

constexpr wchar_t kApplicationName[] = L"QRM_Relaydesk2";
constexpr int kLogLevel = 8;
constexpr int kStepAttempts = 3;

void SleepOneMillisecond() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Calls a guarded step up to three times, sleeping 1 ms after each failure; the status is
// preset before every call, so a logger that writes none leaves the preset.
template <typename Step> std::int32_t RunWithRetries(std::int32_t preset, Step step) {
    std::int32_t status = preset;
    for (int attempt = 0; attempt < kStepAttempts; ++attempt) {
        status = preset;
        step(&status);
        if (status == 0)
            return 0;
        SleepOneMillisecond();
    }
    return status;
}

} // namespace

CLogClient::CLogClient(const std::wstring& sourceName, LoggerFactory createLogger,
                       StringAllocator allocateString)
    : m_createLogger(createLogger ? std::move(createLogger)
                                  : LoggerFactory(platform::CreateLogWriter)),
      m_allocateString(allocateString ? std::move(allocateString)
                                      : StringAllocator(platform::AllocComString)) {
    m_applicationName = m_allocateString(kApplicationName);
    // An empty name leaves the source name empty; the lines are sent all the same.
    (void)SetSourceName(sourceName);
}

CLogClient::~CLogClient() {
    std::lock_guard lock(m_mutex);
    platform::FreeComString(m_applicationName);
    m_applicationName = nullptr;
    DisconnectLocked();
}

bool CLogClient::SetSourceName(const std::wstring& sourceName) {
    if (sourceName.empty())
        return false;
    std::lock_guard lock(m_mutex);
    m_sourceName = sourceName;
    return true;
}

std::uint32_t CLogClient::LogLine(int level, const wchar_t* first, const wchar_t* second) {
    std::lock_guard lock(m_mutex);
    wchar_t levelText[16] = {};
    std::swprintf(levelText, 16, L"%02d", level);
    std::wstring line = L"\"" + std::wstring(levelText) + L"\",\"" + m_sourceName + L"\"";
    for (const wchar_t* field : {first, second})
        if (field)
            line += L",\"" + std::wstring(field) + L"\"";
    return SendLocked(line);
}

std::uint32_t CLogClient::Send(const std::wstring& line) {
    std::lock_guard lock(m_mutex);
    return SendLocked(line);
}

std::uint32_t CLogClient::SendLocked(const std::wstring& line) {
    if (!m_applicationName)
        return kLogStatusUnavailable;
    wchar_t* text = m_allocateString(line);
    if (!text)
        return kLogStatusUnavailable;
    struct TextOwner {
        wchar_t* text;
        ~TextOwner() { platform::FreeComString(text); }
    } owner{text};

    const platform::SystemTime now = platform::GetLocalTime();

    if (!m_pLogger) {
        m_pLogger = m_createLogger();
        if (!m_pLogger)
            return kLogStatusUnavailable;
        std::int32_t status = kLogStatusUnavailable;
        m_pLogger->Open(&status);
        if (status != 0) {
            DisconnectLocked();
            return static_cast<std::uint32_t>(status);
        }
    }

    std::int32_t token = 0;
    std::int32_t status = RunWithRetries(kLogStatusBeginFailed,
                                         [&](std::int32_t* s) { m_pLogger->Begin(&token, s); });
    if (status != 0)
        return static_cast<std::uint32_t>(status);

    status = kLogStatusUnavailable;
    m_pLogger->Write(now.year, now.month, now.day, now.hour, now.minute, now.second,
                     now.milliseconds, m_applicationName, text, &status);
    if (status != 0)
        return static_cast<std::uint32_t>(status);

    status =
        RunWithRetries(kLogStatusEndFailed, [&](std::int32_t* s) { m_pLogger->End(&token, s); });
    return static_cast<std::uint32_t>(status);
}

void CLogClient::Disconnect() {
    std::lock_guard lock(m_mutex);
    DisconnectLocked();
}

void CLogClient::DisconnectLocked() {
    if (!m_pLogger)
        return;
    std::int32_t status = 0;
    m_pLogger->Close(&status);
    m_pLogger->Release();
    m_pLogger = nullptr;
}

std::uint32_t WriteLogMessage(CLogClient* client, std::wstring_view format,
                              const std::vector<LogArgument>& arguments) {
    if (!client)
        return kLogStatusUnavailable;
    std::wstring message = FormatLogMessage(format, arguments, kLogMessageBufferSize - 1);
    return client->LogLine(kLogLevel, nullptr, message.c_str());
}
