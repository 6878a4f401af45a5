#include "ThreadStat.h"

#include <algorithm>
#include <fstream>
#include <ios>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/ThreadPriority.h"

std::optional<ThreadStat> ReadThreadStat(const std::filesystem::path& statFile) {
    std::ifstream stat(statFile);
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        // The thread ended between opening its file and reading it (ESRCH): libstdc++'s
        // file buffer throws on a failed read whatever the stream's exception mask.
        return std::nullopt;
    }
    const std::size_t open = text.find('('), close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos)
        return std::nullopt;
    // After the name: state is field 3, nice field 19.
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    for (int number = 3; number <= 19; ++number)
        if (!(fields >> field))
            return std::nullopt;
    return ThreadStat{text.substr(open + 1, close - open - 1), std::stoi(field)};
}

std::map<std::string, ThreadStat> ThreadsOfThisProcess() {
    std::map<std::string, ThreadStat> threads;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        if (auto stat = ReadThreadStat(task.path() / "stat"))
            threads[task.path().filename().string()] = *stat;
    }
    return threads;
}

int LowestNormalNice() {
    constexpr int kHighestNice = 19;
    return std::min(kHighestNice, ReadThreadStat("/proc/self/stat").value().nice +
                                      platform::kLowestNormalNiceRaise);
}
