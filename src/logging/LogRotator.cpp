#include "logging/LogRotator.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/FolderLister.h"
#include "platform/FileSystemCalls.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

CLogRotator::~CLogRotator() {
    m_files.clear();
    m_entries.clear();
}

std::uint32_t CLogRotator::TimeKey(std::uint32_t year, std::uint32_t month, std::uint32_t day,
                                   std::uint32_t hour, std::uint32_t minute) {
    return ((((year * 12 + month) * 32 + day) * 24 + hour) * 60 + minute) - 1105920000u;
}

int CLogRotator::Run() {
    Trim();
    return 1;
}

void CLogRotator::Trim() {
    if (m_sizeLimit == 0)
        return;
    // A file that cannot be read ends the pass with nothing deleted; the next pass retries.
    if (!ScanLogFiles())
        return;
    std::uint64_t total = 0;
    for (const LogFileEntry& entry : m_entries) {
        total += entry.size;
        if (total > m_sizeLimit) {
            std::error_code ignored; // a file that cannot be deleted counts again next pass
            std::filesystem::remove(platform::ToFsPath(entry.path), ignored);
        }
    }
}

bool CLogRotator::FileCreationTime(const std::wstring& path, platform::SystemTime& time) const {
    return platform::GetCreationTimeUtc(path, time);
}

bool CLogRotator::ScanLogFiles() {
    FolderLister lister(LocalFolders());
    m_files.clear();
    lister.ListToArray(m_files, m_folder, L"*.log", 0, FolderLister::kFiles);
    m_entries.assign(m_files.size(), LogFileEntry{});
    for (size_t i = 0; i < m_files.size(); ++i) {
        std::ifstream file(platform::ToFsPath(m_files[i]), std::ios::binary);
        platform::SystemTime created;
        std::error_code error;
        auto size = std::filesystem::file_size(platform::ToFsPath(m_files[i]), error);
        if (!file || error || !FileCreationTime(m_files[i], created))
            return false;
        m_entries[i].path = m_files[i];
        m_entries[i].size = size;
        m_entries[i].timeKey =
            TimeKey(created.year, created.month, created.day, created.hour, created.minute);
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const LogFileEntry& a, const LogFileEntry& b) { return a.timeKey > b.timeKey; });
    return true;
}
