// The eight C entry points of the composition engine library, as the program looks them up.

#include <cstdint>

#include "ZoRiInstance.h"
#include "composition/ZoRiProtocol.h"
#include "platform/SharedLibraryExport.h"

namespace {

zori::ZoRiInstance* AsInstance(zori::EngineInstance instance) {
    return static_cast<zori::ZoRiInstance*>(instance);
}

} // namespace

RELAYDESK_EXPORT zori::EngineInstance QRM_ZO_RI_createInstance(const zori::NotifyRecord* notify,
                                                               std::uintptr_t* engineWindow) {
    if (notify == nullptr || engineWindow == nullptr)
        return nullptr;
    auto* instance = new (std::nothrow) zori::ZoRiInstance(*notify);
    if (instance == nullptr)
        return nullptr;
    if (instance->Window() == 0) {
        delete instance;
        return nullptr;
    }
    *engineWindow = instance->Window();
    return instance;
}

RELAYDESK_EXPORT void QRM_ZO_RI_releaseInstance(zori::EngineInstance instance) {
    delete AsInstance(instance);
}

RELAYDESK_EXPORT void QRM_ZO_RI_setIniFileName(zori::EngineInstance instance, std::int32_t,
                                               const wchar_t* path) {
    if (instance)
        AsInstance(instance)->SetCompositionFile(path);
}

// The engine keeps its own window; the program never hands it another one.
RELAYDESK_EXPORT void QRM_ZO_RI_setWindowHdl(zori::EngineInstance, std::uintptr_t) {}

RELAYDESK_EXPORT void QRM_ZO_RI_setMidPictureSize(zori::EngineInstance instance, std::int32_t width,
                                                  std::int32_t height) {
    if (instance)
        AsInstance(instance)->SetMidPictureSize(width, height);
}

RELAYDESK_EXPORT void QRM_ZO_RI_setDataPath(zori::EngineInstance instance, const wchar_t* path) {
    if (instance)
        AsInstance(instance)->SetDataPath(path);
}

RELAYDESK_EXPORT void QRM_ZO_RI_cancel(zori::EngineInstance instance, std::int32_t) {
    if (instance)
        AsInstance(instance)->Cancel();
}

RELAYDESK_EXPORT void QRM_ZO_RI_setApplicationID(zori::EngineInstance instance, std::int32_t id) {
    if (instance)
        AsInstance(instance)->SetApplicationId(id);
}
