#include "transfer/JobFile.h"

#include "fileutil/FileSystemResolver.h"
#include "logging/LogClient.h"

#include <string>
#include <string_view>

namespace {

constexpr std::string_view kJobLine = "[JOB]";

} // namespace

std::string CutToJobs(std::string_view source, int jobCount) {
    const long long jobsToKeep = jobCount < 0 ? 0 : jobCount;
    long long jobsSeen = 0;
    std::string copy;
    copy.reserve(source.size() + source.size() / 16);
    for (std::size_t start = 0; start < source.size();) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos)
            end = source.size();
        std::string_view line = source.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == kJobLine && ++jobsSeen > jobsToKeep)
            break;
        copy += line;
        copy += "\r\n";
    }
    return copy;
}

bool JobFile::CopyJobs(FileSystemResolver& files, int jobCount,
                       const std::wstring& destination) const {
    std::string source;
    if (!files.For(m_strPath).ReadFile(m_strPath, source, kMaxSourceBytes)) {
        WriteLog(g_pLogClient, L"JobFile CopyJobs ERR read %s", m_strPath);
        return false;
    }
    if (!files.For(destination).WriteFileAtomically(destination, CutToJobs(source, jobCount))) {
        WriteLog(g_pLogClient, L"JobFile CopyJobs ERR write %s", destination);
        return false;
    }
    return true;
}
