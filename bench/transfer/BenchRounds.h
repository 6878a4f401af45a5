#pragma once
// What the transfer benchmarks share: the size of their pictures, the number of measured
// rounds, their median, and shell steps that must succeed.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

constexpr int kRounds = 5;
constexpr std::size_t kPictureBytes = 1280 * 1024;

/// Runs a shell command; a failure ends the benchmark, naming `program` and the command.
inline void Shell(const char* program, const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "%s: failed: %s\n", program, command.c_str());
        std::exit(1);
    }
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
