#pragma once
/// Test-only ways to make file operations fail as on a full disk or without rights.

#include <cstdint>

/// Whether this process runs as the super-user (on Windows: an administrator).
bool RunningAsRoot();

/// While it lives, permission bits stop the calling thread as they stop any user. On Linux
/// the super-user sets aside the capabilities that pass them (and takes them up again at
/// the end); an administrator on Windows, and so under wine, passes access lists whatever
/// it does: tests of unreadable files skip when Active() is false.
class PermissionsApply {
public:
    PermissionsApply();
    ~PermissionsApply();
    PermissionsApply(const PermissionsApply&) = delete;
    PermissionsApply& operator=(const PermissionsApply&) = delete;

    bool Active() const { return m_bActive; }

private:
    bool m_bActive = false;
    bool m_bCapabilitiesSetAside = false;
};

/// Whether files carry owner, group and others mode bits; Windows keeps access in the
/// access lists files inherit from their folder instead.
bool FileModeBitsKept();

/// While it lives, no file of this process may grow beyond `bytes`, as on a full disk.
class FileSizeLimit {
public:
    /// False where the system has no per-process file size limit (Windows).
    static bool Available();
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();

private:
    std::uint64_t m_nPreviousSoft = 0;
    void (*m_pPreviousHandler)(int) = nullptr;
};
