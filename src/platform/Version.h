#pragma once
/// The program's version: on Windows the file version of the executable's version resource,
/// elsewhere the project's version compiled in.

namespace platform {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
    int build = 0;
};

ProgramVersion GetProgramVersion();

} // namespace platform
