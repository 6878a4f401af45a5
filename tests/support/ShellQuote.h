#pragma once
/// Paths in the shell commands that tests run.

#include "platform/TextEncoding.h"

#include <string>

/// A path quoted for the shell.
inline std::string Quote(const std::wstring& path) {
    std::string quoted = "'";
    for (char c : platform::WideToUtf8(path)) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}
