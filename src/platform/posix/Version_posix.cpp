#include "platform/Version.h"

namespace platform {

// No version resource here: the version is the one CMake compiled in.
ProgramVersion GetProgramVersion() {
    return ProgramVersion{RELAYDESK_VERSION_MAJOR, RELAYDESK_VERSION_MINOR + 0,
                          RELAYDESK_VERSION_PATCH + 0, RELAYDESK_VERSION_TWEAK + 0};
}

} // namespace platform
