// A stand-in for the composition engine library that misbehaves on purpose, for the tests
// of the adapter. It speaks the library's interface and message protocol; what it does on
// the start message depends on the data path it is handed:
//   "succeed"       reports progress 40, then success
//   "cancel-N"      reports nothing until cancelled, then answers with the abort code N
//   anything else   reports nothing (the adapter must end through a cancel)
// Build variants: FAKE_ZORI_OMIT_CANCEL leaves out one entry point, FAKE_ZORI_CREATE_FAILS
// refuses to create an instance. It records every call for the tests to inspect.

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "FakeZoRiRecord.h"
#include "composition/ZoRiProtocol.h"
#include "platform/SharedLibraryExport.h"
#include "platform/WindowMessages.h"

#define FAKE_EXPORT RELAYDESK_EXPORT

#ifdef FAKE_ZORI_CREATE_FAILS
constexpr bool kCreateFails = true;
#else
constexpr bool kCreateFails = false;
#endif

namespace {

FakeZoRiRecord g_record;
zori::NotifyRecord g_notify{};
platform::WindowHandle g_engineWindow = 0;
int g_instanceTag = 0;
const wchar_t kClassName[] = L"FakeZoRiEngineWindow";

void Note(char letter) {
    ++g_record.calls;
    std::size_t length = std::strlen(g_record.callOrder);
    if (length + 1 < sizeof g_record.callOrder)
        g_record.callOrder[length] = letter;
}

void Report(std::uintptr_t kind, std::intptr_t value) {
    platform::PostWindowMessage(g_notify.notifyWindow, g_notify.notifyMessage, kind, value);
}

void Start() {
    g_record.started = 1;
    const std::wstring mode = g_record.dataPath;
    if (mode == L"succeed") {
        Report(zori::kNotifyProgress, 40);
        Report(zori::kNotifyDone, 0);
    }
}

std::intptr_t EngineWindowProc(platform::WindowHandle hwnd, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == zori::kMessageStartValue)
        g_record.startValue = static_cast<std::int32_t>(lParam);
    else if (message == zori::kMessageStart)
        Start();
    return platform::DefaultWindowProcedure(hwnd, message, wParam, lParam);
}

} // namespace

FAKE_EXPORT zori::EngineInstance QRM_ZO_RI_createInstance(const zori::NotifyRecord* notify,
                                                          std::uintptr_t* engineWindow) {
    Note('C');
    g_notify = *notify;
    g_record.creationValue = notify->value;
    if (kCreateFails)
        return nullptr;
    platform::RegisterWindowClass(kClassName, &EngineWindowProc);
    g_engineWindow = platform::CreateHiddenWindow(kClassName, L"fake");
    *engineWindow = g_engineWindow;
    return &g_instanceTag;
}

FAKE_EXPORT void QRM_ZO_RI_releaseInstance(zori::EngineInstance) {
    Note('R');
    ++g_record.releaseCalls;
    platform::DestroyHiddenWindow(g_engineWindow);
    platform::UnregisterWindowClass(kClassName);
}

FAKE_EXPORT void QRM_ZO_RI_setIniFileName(zori::EngineInstance, std::int32_t, const wchar_t* path) {
    Note('I');
    std::wcsncpy(g_record.iniPath, path, 259);
}

FAKE_EXPORT void QRM_ZO_RI_setWindowHdl(zori::EngineInstance, std::uintptr_t) {
    Note('W');
}

FAKE_EXPORT void QRM_ZO_RI_setMidPictureSize(zori::EngineInstance, std::int32_t width,
                                             std::int32_t height) {
    Note('M');
    g_record.midWidth = width;
    g_record.midHeight = height;
}

FAKE_EXPORT void QRM_ZO_RI_setDataPath(zori::EngineInstance, const wchar_t* path) {
    Note('D');
    std::wcsncpy(g_record.dataPath, path, 259);
}

#ifndef FAKE_ZORI_OMIT_CANCEL
FAKE_EXPORT void QRM_ZO_RI_cancel(zori::EngineInstance, std::int32_t) {
    Note('X');
    ++g_record.cancelCalls;
    const std::wstring mode = g_record.dataPath;
    if (mode.rfind(L"cancel-", 0) == 0)
        Report(zori::kNotifyAborted, std::wcstol(mode.c_str() + 7, nullptr, 10));
}
#endif

FAKE_EXPORT void QRM_ZO_RI_setApplicationID(zori::EngineInstance, std::int32_t id) {
    Note('A');
    g_record.applicationId = id;
}

// Test hook, not part of the engine interface.
FAKE_EXPORT FakeZoRiRecord* FakeZoRi_Record() {
    return &g_record;
}
