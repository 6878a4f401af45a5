#include "FileFaults.h"

#include "platform/win32/WindowsHeaders.h"

#include <shlobj.h>

// Wine runs every program as an administrator, whom file attributes and access lists do
// not stop either.
bool RunningAsRoot() {
    return IsUserAnAdmin() != FALSE;
}

PermissionsApply::PermissionsApply() : m_bActive(!RunningAsRoot()) {}

PermissionsApply::~PermissionsApply() = default;

bool FileModeBitsKept() {
    return false;
}

bool FileSizeLimit::Available() {
    return false;
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {}

FileSizeLimit::~FileSizeLimit() = default;
