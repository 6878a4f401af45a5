#include "transfer/TransferSteps.h"

bool TransferSteps::Check(const wchar_t* step, const std::wstring& path, const FsResult& result) {
    if (result)
        return true;
    if (m_firstFailure) {
        m_firstFailure = result;
        m_strFailedStep = step;
        m_strFailedPath = path;
    }
    return false;
}

std::wstring TransferSteps::Describe() const {
    if (AllSucceeded())
        return {};
    return m_strFailedStep + L" " + m_strFailedPath + L": " + m_firstFailure.Reason();
}
