#include "platform/CommandLine.h"

#include "WindowsHeaders.h"
#include "platform/TextEncoding.h"

#include <shellapi.h>

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int index = 0; index < count; ++index)
        arguments.push_back(WideToUtf8(wide[index]));
    LocalFree(wide);
    return arguments;
}

} // namespace platform
