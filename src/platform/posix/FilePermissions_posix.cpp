#include "platform/FilePermissions.h"

#include "platform/TextEncoding.h"

#include <sys/stat.h>

namespace platform {

bool RestrictFileAccess(const std::wstring& path, FileAccess access) {
    const mode_t mode = access == FileAccess::kOwnerOnly ? 0600 : 0640;
    return chmod(WideToUtf8FileName(path).c_str(), mode) == 0;
}

} // namespace platform
