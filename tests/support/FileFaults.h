#pragma once
/// Test-only ways to make file operations fail as on a full disk or without rights.

#include <cstdint>

/// Permission bits do not stop the super-user (on Windows: an administrator); tests of
/// unreadable files skip then.
bool RunningAsRoot();

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
