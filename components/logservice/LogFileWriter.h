#pragma once
/// Appends records to the daily log files of one folder.
///
/// File: "<application name>_<YYYYMMDD>.log", UTF-8, readable by the owner's group only; open
/// only while a record is written, and made again when it is deleted between records. Record:
/// "YYYY/MM/DD HH:MM:SS.mmm", a tab, the line, a line feed; each record goes to the file in one
/// write.

#include <cstdint>
#include <string>

#include "platform/LocalTime.h"

class LogFileWriter {
public:
    /// The folder of RELAYDESK_LOG_DIR, else "log" in the program folder.
    static std::wstring DefaultFolder();

    explicit LogFileWriter(std::wstring folder);

    /// Creates the folder when missing; false when it cannot be created.
    bool Prepare();
    /// Appends one record; false when the file cannot be opened or written.
    bool Append(const platform::SystemTime& time, const std::wstring& applicationName,
                const std::wstring& line);

private:
    std::wstring m_folder;
};
