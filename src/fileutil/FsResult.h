#pragma once
/// The answer of a file-system operation: success, or why it failed, so that a caller can
/// tell a full disk or a vanished share (worth another try later) from a missing file, and
/// log which it was. A result is looked at; one ignored on purpose is cast to void under a
/// comment that says why.

#include <string>
#include <system_error>

enum class FsError {
    kNone,
    kNotFound,    ///< the item, or a folder on its path, does not exist
    kExists,      ///< the name is taken (also by a name that differs only in case)
    kNoAccess,    ///< refused: permissions, a read-only volume, a file in use
    kNoSpace,     ///< the volume or the quota is full, or the file too large for it
    kUnreachable, ///< the share or the device does not answer
    kTooLong,     ///< the path does not fit a path buffer
    kIo,          ///< the device reported a read or write error
    kFailed,      ///< any other failure
};

class [[nodiscard]] FsResult {
public:
    /// Success, or a failure without a known reason (kFailed).
    FsResult(bool succeeded) : m_error(succeeded ? FsError::kNone : FsError::kFailed) {}
    FsResult(FsError error) : m_error(error) {}
    /// Success for an empty code, else the reason the code stands for (a system's own code,
    /// such as a Win32 error, as the portable condition the platform layer names for it).
    static FsResult FromErrorCode(const std::error_code& code);

    explicit operator bool() const { return m_error == FsError::kNone; }
    FsError Error() const { return m_error; }
    /// The reason in a few words for the log ("no space", "not found"; "ok" on success).
    const wchar_t* Reason() const;

private:
    FsError m_error;
};

/// The first failure of two steps that both ran; success when both succeeded.
inline FsResult FirstFailure(const FsResult& first, const FsResult& second) {
    return first ? second : first;
}
