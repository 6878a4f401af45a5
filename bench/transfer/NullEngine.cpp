// A composition engine that composes nothing: it speaks the engine library's interface and
// reports success as soon as it is started, so that the transfer benchmark measures the
// controller's own work.

#include "composition/ZoRiProtocol.h"
#include "rdwinmsg.h"

#include <cstdint>

#define NULL_ENGINE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

zori::NotifyRecord g_notify{};
RdHwnd g_engineWindow = 0;
int g_instance = 0;
const wchar_t kClassName[] = L"NullZoRiEngineWindow";

intptr_t EngineWindowProc(RdHwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == zori::kMessageStart)
        RdPostMessage(g_notify.notifyWindow, g_notify.notifyMessage, zori::kNotifyDone, 0);
    return RdDefWindowProc(window, message, wParam, lParam);
}

} // namespace

NULL_ENGINE_EXPORT zori::EngineInstance QRM_ZO_RI_createInstance(const zori::NotifyRecord* notify,
                                                                 std::uintptr_t* engineWindow) {
    g_notify = *notify;
    RdRegisterClass(kClassName, &EngineWindowProc);
    g_engineWindow = RdCreateWindow(kClassName, L"null");
    *engineWindow = g_engineWindow;
    return &g_instance;
}

NULL_ENGINE_EXPORT void QRM_ZO_RI_releaseInstance(zori::EngineInstance) {
    RdDestroyWindow(g_engineWindow);
    RdUnregisterClass(kClassName);
}

NULL_ENGINE_EXPORT void QRM_ZO_RI_setIniFileName(zori::EngineInstance, std::int32_t,
                                                 const wchar_t*) {}
NULL_ENGINE_EXPORT void QRM_ZO_RI_setWindowHdl(zori::EngineInstance, std::uintptr_t) {}
NULL_ENGINE_EXPORT void QRM_ZO_RI_setMidPictureSize(zori::EngineInstance, std::int32_t,
                                                    std::int32_t) {}
NULL_ENGINE_EXPORT void QRM_ZO_RI_setDataPath(zori::EngineInstance, const wchar_t*) {}
NULL_ENGINE_EXPORT void QRM_ZO_RI_cancel(zori::EngineInstance, std::int32_t) {}
NULL_ENGINE_EXPORT void QRM_ZO_RI_setApplicationID(zori::EngineInstance, std::int32_t) {}
