#include "platform/SingleInstance.h"

#include "WindowsHeaders.h"

namespace platform {

struct SingleInstanceGuard::Impl {
    std::wstring name;
    HANDLE mutex = nullptr;
    HANDLE raiseEvent = nullptr;
    bool first = false;
};

SingleInstanceGuard::SingleInstanceGuard(const std::wstring& name)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->name = name;
    m_impl->mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    m_impl->first = m_impl->mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    m_impl->raiseEvent = CreateEventW(nullptr, FALSE, FALSE, (name + L".raise").c_str());
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (m_impl->raiseEvent)
        CloseHandle(m_impl->raiseEvent);
    if (m_impl->mutex)
        CloseHandle(m_impl->mutex);
}

bool SingleInstanceGuard::IsFirstInstance() const {
    return m_impl->first;
}

int SingleInstanceGuard::HolderProcessId() const {
    // A named mutex does not tell its owner.
    return m_impl->first ? static_cast<int>(GetCurrentProcessId()) : 0;
}

std::wstring SingleInstanceGuard::LockName() const {
    return L"mutex " + m_impl->name;
}

// Windows has no reload request (see AskProcessToReload): nothing to announce.
void SingleInstanceGuard::AnnounceReloadable() {}

bool SingleInstanceGuard::HolderTakesReload() const {
    return false;
}

void SingleInstanceGuard::AskRunningInstanceToRaise() {
    if (m_impl->raiseEvent)
        SetEvent(m_impl->raiseEvent);
}

bool SingleInstanceGuard::TakeRaiseRequest() {
    return m_impl->first && m_impl->raiseEvent &&
           WaitForSingleObject(m_impl->raiseEvent, 0) == WAIT_OBJECT_0;
}

} // namespace platform
