#pragma once
/// The program's command-line arguments as UTF-8, the program name first.

#include <string>
#include <vector>

namespace platform {

/// POSIX hands UTF-8 already; Windows hands `argv` in the ANSI code page, which loses every
/// character outside it, so the arguments are read again from the wide command line.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

} // namespace platform
