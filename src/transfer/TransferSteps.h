#pragma once
/// The one way a transfer collects the results of its steps: every step reports what it did,
/// where and with which result; the first failure is kept with its reason, and the steps go
/// on or stop as the transfer decides.

#include "fileutil/FsResult.h"

#include <string>

/// How one transfer of an order ended.
enum class TransferOutcome {
    kDelivered, ///< the order is e and its finished order o
    kFailed,    ///< the order's own data is at fault: it is q
    kRetry,     ///< a passing fault: the order is left r (or journaled) for a later try
    kConflict,  ///< the order's e or q name is taken at the terminal: left for the operator
    kCancelled, ///< the controller is closing: the order is left r
};

class [[nodiscard]] TransferSteps {
public:
    /// Records the result of `step` on `path`; true when it succeeded.
    bool Check(const wchar_t* step, const std::wstring& path, const FsResult& result);

    bool AllSucceeded() const { return static_cast<bool>(m_firstFailure); }
    const FsResult& FirstFailure() const { return m_firstFailure; }
    const std::wstring& FailedPath() const { return m_strFailedPath; }
    /// "copy /path/to/x: no space" for the log; empty while every step succeeded.
    std::wstring Describe() const;

private:
    FsResult m_firstFailure = true;
    std::wstring m_strFailedStep;
    std::wstring m_strFailedPath;
};
