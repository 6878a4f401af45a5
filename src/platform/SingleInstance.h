#pragma once
/// One running copy per machine and user session, named like the program's mutex.

#include <memory>
#include <string>

namespace platform {

/// Holds the named instance lock for its lifetime. The system releases the lock when the
/// process ends, however it ends.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::wstring& name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    /// False when another process holds the lock (or it could not be taken).
    bool IsFirstInstance() const;

    /// The process that holds the lock; 0 when it cannot be told.
    int HolderProcessId() const;
    /// Where the lock lives (its file, or the system object's name), for messages.
    std::wstring LockName() const;

    /// In the copy that holds the lock: tells later copies that this process takes the
    /// terminal table again when asked (AskProcessToReload); the window does not.
    void AnnounceReloadable();
    /// Whether the holder announced so.
    bool HolderTakesReload() const;

    /// Asks the copy that holds the lock to bring its window to the front.
    void AskRunningInstanceToRaise();

    /// In the copy that holds the lock: whether a later copy asked it to come to the front
    /// since the last call.
    bool TakeRaiseRequest();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform
