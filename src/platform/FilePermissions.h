#pragma once
/// Who may read the files that hold credentials and the log.

#include <string>

namespace platform {

enum class FileAccess {
    kOwnerOnly,           ///< read and write by the owner only (0600): credentials
    kOwnerAndGroupReader, ///< the owner writes, its group reads (0640): logs for admins
};

/// Sets the access of an existing file; false when it cannot be set. On Windows the file
/// keeps the access it inherits from its folder, and this succeeds.
bool RestrictFileAccess(const std::wstring& path, FileAccess access);

} // namespace platform
