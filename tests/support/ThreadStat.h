#pragma once
/// The threads of the test process as Linux shows them in /proc: name and nice value.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

struct ThreadStat {
    std::string name;
    int nice = 0;
};

/// From a /proc stat file ("/proc/self/stat": the main thread; "/proc/thread-self/stat":
/// the calling thread); nothing when the thread has ended meanwhile.
std::optional<ThreadStat> ReadThreadStat(const std::filesystem::path& statFile);

/// Every thread of this process, by thread id.
std::map<std::string, ThreadStat> ThreadsOfThisProcess();

/// The nice value a thread lowered to the lowest normal priority has in this process.
int LowestNormalNice();

/// Whether the calling thread runs at the lowest normal priority
/// (platform::LowerCurrentThreadPriority): its nice value on Linux, its level on Windows.
bool CallingThreadRunsAtLowestNormalPriority();
