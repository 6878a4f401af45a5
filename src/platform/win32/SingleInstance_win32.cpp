#include "platform/SingleInstance.h"

#include "WindowsHeaders.h"

namespace platform {

namespace {

/// What the holder tells later copies, in a small shared memory named after the lock.
struct HolderRecord {
    DWORD processId;
    LONG reloadable;
};

} // namespace

// The lock is the existence of a named mutex; a request to raise the window is a named
// event; the holder's record lives in "<name>.holder", which every copy maps.
struct SingleInstanceGuard::Impl {
    std::wstring name;
    HANDLE mutex = nullptr;
    HANDLE raiseEvent = nullptr;
    HANDLE recordMapping = nullptr;
    HolderRecord* record = nullptr;
    bool first = false;
};

SingleInstanceGuard::SingleInstanceGuard(const std::wstring& name)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->name = name;
    m_impl->mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    m_impl->first = m_impl->mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    m_impl->raiseEvent = CreateEventW(nullptr, FALSE, FALSE, (name + L".raise").c_str());
    m_impl->recordMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                               sizeof(HolderRecord), (name + L".holder").c_str());
    if (m_impl->recordMapping)
        m_impl->record = static_cast<HolderRecord*>(MapViewOfFile(
            m_impl->recordMapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(HolderRecord)));
    if (m_impl->first && m_impl->record) {
        InterlockedExchange(&m_impl->record->reloadable, 0);
        m_impl->record->processId = GetCurrentProcessId();
    }
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (m_impl->record)
        UnmapViewOfFile(m_impl->record);
    for (HANDLE handle : {m_impl->recordMapping, m_impl->raiseEvent, m_impl->mutex})
        if (handle)
            CloseHandle(handle);
}

bool SingleInstanceGuard::IsFirstInstance() const {
    return m_impl->first;
}

int SingleInstanceGuard::HolderProcessId() const {
    if (m_impl->first)
        return static_cast<int>(GetCurrentProcessId());
    return m_impl->record ? static_cast<int>(m_impl->record->processId) : 0;
}

std::wstring SingleInstanceGuard::LockName() const {
    return L"mutex " + m_impl->name;
}

void SingleInstanceGuard::AnnounceReloadable() {
    if (m_impl->first && m_impl->record)
        InterlockedExchange(&m_impl->record->reloadable, 1);
}

bool SingleInstanceGuard::HolderTakesReload() const {
    return !m_impl->first && m_impl->record && m_impl->record->processId != 0 &&
           InterlockedCompareExchange(&m_impl->record->reloadable, 0, 0) != 0;
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
