#pragma once
/// The program's command-line arguments as UTF-8, the program name first, and the guard
/// around a command-line program's body.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace platform {

/// POSIX hands UTF-8 already; Windows hands `argv` in the ANSI code page, which loses every
/// character outside it, so the arguments are read again from the wide command line.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

/// Runs `body` (returning the exit status). An exception that nothing else catches (memory
/// exhausted, a library's own failure) ends the program with status 1 and a line that says
/// why, rather than with an abort.
template <typename Body> int RunGuarded(const char* program, Body&& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        std::cerr << program << ": " << error.what() << '\n';
    } catch (...) {
        std::cerr << program << ": unexpected failure\n";
    }
    return 1;
}

} // namespace platform
