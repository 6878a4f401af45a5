#include "LogFileWriter.h"

#include "platform/FilePermissions.h"
#include "platform/FileSystemCalls.h"
#include "platform/ModulePath.h"
#include "platform/ProcessEnvironment.h"
#include "platform/TextEncoding.h"

#include <cstdio>
#include <filesystem>
#include <optional>

std::wstring LogFileWriter::DefaultFolder() {
    // Through the platform: a folder name outside the ANSI code page survives on Windows.
    if (const std::optional<std::wstring> configured = platform::GetEnvironmentValue("RELAYDESK_LOG_DIR");
        configured && !configured->empty())
        return *configured;
    std::wstring program = platform::GetModuleFilePath();
    return program.substr(0, program.find_last_of(L"/\\")) + platform::kPathSeparator + L"log";
}

LogFileWriter::LogFileWriter(std::wstring folder) : m_folder(std::move(folder)) {}

bool LogFileWriter::Prepare() {
    std::error_code error;
    std::filesystem::create_directories(platform::ToFsPath(m_folder), error);
    return std::filesystem::is_directory(platform::ToFsPath(m_folder), error);
}

bool LogFileWriter::Append(const platform::SystemTime& time, const std::wstring& applicationName,
                           const std::wstring& line) {
    wchar_t date[16] = {};
    std::swprintf(date, 16, L"%04u%02u%02u", time.year, time.month, time.day);
    std::wstring name = applicationName + L"_" + date + L".log";
    const std::wstring path = m_folder + platform::kPathSeparator + name;
    std::error_code error;
    // A file deleted while the program runs (by hand, or by the rotation) is made again
    // rather than written into the void.
    if (name != m_openName || !m_file.is_open() ||
        !std::filesystem::exists(platform::ToFsPath(path), error)) {
        m_file.close();
        m_file.clear();
        m_file.open(platform::ToFsPath(path), std::ios::binary | std::ios::app);
        m_openName = m_file.is_open() ? name : std::wstring();
        if (!m_file.is_open())
            return false;
        // The log names folders and orders of the shop: its admins read it, nobody else.
        // Should that fail, the file is still written: logging never stops the program.
        platform::RestrictFileAccess(path, platform::FileAccess::kOwnerAndGroupReader);
    }
    char stamp[64] = {};
    std::snprintf(stamp, sizeof(stamp), "%04u/%02u/%02u %02u:%02u:%02u.%03u\t", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.milliseconds);
    std::string record = stamp + platform::WideToUtf8(line) + "\n";
    m_file.write(record.data(), static_cast<std::streamsize>(record.size()));
    m_file.flush();
    if (!m_file) {
        // A failed write leaves the stream unusable: reopen on the next record.
        m_file.close();
        m_openName.clear();
        return false;
    }
    return true;
}
