#include "platform/Version.h"

namespace platform {

ProgramVersion GetProgramVersion() {
    return ProgramVersion{RELAYDESK_VERSION_MAJOR, RELAYDESK_VERSION_MINOR + 0,
                          RELAYDESK_VERSION_PATCH + 0, RELAYDESK_VERSION_TWEAK + 0};
}

} // namespace platform
