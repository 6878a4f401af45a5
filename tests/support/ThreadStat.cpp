#include "ThreadStat.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/ThreadPriority.h"

std::optional<ThreadStat> ReadThreadStat(const std::filesystem::path& statFile) {
    std::ifstream stat(statFile);
    const std::string text{std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>()};
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
