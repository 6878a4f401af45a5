#include "ReferenceColour.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "TempFolder.h"
#include "platform/FileSystemCalls.h"

namespace {

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace

std::vector<double> ReferenceConvert(const std::string& from, const std::string& to,
                                     const std::vector<double>& values) {
    TempFolder scratch;
    const std::string input = platform::ToFsPath(scratch / L"in.txt").string();
    const std::string output = platform::ToFsPath(scratch / L"out.txt").string();
    {
        std::ofstream file(input);
        for (double value : values)
            file << value << ' ';
        file << '\n';
    }
    const std::string command = "transicc -t 1 -n -i " + Quoted(from) + " -o " + Quoted(to) +
                                " < " + Quoted(input) + " > " + Quoted(output) + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream result(output);
    std::vector<double> converted;
    for (double value = 0; result >> value;)
        converted.push_back(value);
    EXPECT_FALSE(converted.empty()) << command;
    return converted;
}

Lab ReferenceLab(const std::string& profile, const std::vector<double>& values) {
    const std::vector<double> lab = ReferenceConvert(profile, kLabSpace, values);
    if (lab.size() != 3)
        return {};
    return {lab[0], lab[1], lab[2]};
}
