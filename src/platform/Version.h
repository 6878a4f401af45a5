#pragma once
/// The program's version, compiled in from the project's version.

namespace platform {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
    int build = 0;
};

ProgramVersion GetProgramVersion();

} // namespace platform
