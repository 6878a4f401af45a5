#include "transfer/JobFile.h"

#include "logging/LogClient.h"
#include "platform/FileSystemCalls.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

constexpr std::string_view kJobLine = "[JOB]";

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

bool JobFile::CopyJobs(int jobCount, const std::wstring& destination) const {
    const std::filesystem::path sourcePath = platform::ToFsPath(m_strPath);
    const std::filesystem::path destinationPath = platform::ToFsPath(destination);

    std::ifstream source(sourcePath, std::ios::binary);
    if (!source)
        return false;
    // Truncating the destination would destroy a source that is the same file.
    if (IsSameFile(sourcePath, destinationPath)) {
        WriteLog(g_pLogClient, L"JobFile CopyJobs ERR same file %s", destination);
        return false;
    }
    std::ofstream target(destinationPath, std::ios::binary | std::ios::trunc);
    if (!target)
        return false;

    const long long jobsToKeep = jobCount < 0 ? 0 : jobCount;
    long long jobsSeen = 0;
    std::string line;
    while (std::getline(source, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == kJobLine && ++jobsSeen > jobsToKeep)
            break;
        line += "\r\n";
        target.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    const bool readFailed = source.bad();
    target.close();
    if (readFailed || target.fail()) {
        std::error_code ignored;
        std::filesystem::remove(destinationPath, ignored);
        WriteLog(g_pLogClient, L"JobFile CopyJobs ERR %s", destination);
        return false;
    }
    return true;
}
