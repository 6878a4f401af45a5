#include "LogFileWriter.h"

#include "platform/FilePermissions.h"
#include "platform/FileSystemCalls.h"
#include "platform/ModulePath.h"
#include "platform/ProcessEnvironment.h"
#include "platform/TextEncoding.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

std::wstring LogFileWriter::DefaultFolder() {
    // Through the platform: a folder name outside the ANSI code page survives on Windows.
    if (const std::optional<std::wstring> configured =
            platform::GetEnvironmentValue("RELAYDESK_LOG_DIR");
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
    const std::filesystem::path file = platform::ToFsPath(path);
    // The file is open only while a record is written: one deleted meanwhile (by hand, or by
    // the rotation) is made again rather than written into the void, and on Windows, which
    // refuses to delete a file that is open, it can be deleted or moved between records.
    std::error_code error;
    const bool made = !std::filesystem::exists(file, error);
    std::ofstream stream(file, std::ios::binary | std::ios::app);
    if (!stream.is_open())
        return false;
    // The log names folders and orders of the shop: its admins read it, nobody else.
    // Should that fail, the file is still written: logging never stops the program.
    if (made)
        platform::RestrictFileAccess(path, platform::FileAccess::kOwnerAndGroupReader);
    char stamp[64] = {};
    std::snprintf(stamp, sizeof(stamp), "%04u/%02u/%02u %02u:%02u:%02u.%03u\t", time.year,
                  time.month, time.day, time.hour, time.minute, time.second, time.milliseconds);
    std::string record = stamp + platform::WideToUtf8(line) + "\n";
    stream.write(record.data(), static_cast<std::streamsize>(record.size()));
    stream.close();
    return !stream.fail();
}
