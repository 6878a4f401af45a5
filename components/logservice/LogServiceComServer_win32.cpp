// The logging service as an in-process COM server: the class object, the logger object whose
// method table holds each method where the program's client calls it, and the registration
// of the class for this DLL (regsvr32, or the installer).

#include "LogService.h"

#include "platform/win32/WindowsHeaders.h"

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <array>
#include <atomic>
#include <new>
#include <string>

namespace {

const CLSID kLoggerClass = {
    0xECAFFA0F, 0xCBE1, 0x4753, {0xA7, 0x7C, 0x39, 0x4F, 0xF8, 0xA7, 0xAF, 0x08}};
const IID kLoggerInterface = {
    0x5FC2EFB1, 0x33EE, 0x4782, {0x81, 0x44, 0xED, 0x92, 0x7F, 0x78, 0x44, 0xBD}};
constexpr wchar_t kClassKey[] = L"Software\\Classes\\CLSID\\{ECAFFA0F-CBE1-4753-A77C-394FF8A7AF08}";
constexpr wchar_t kClassDescription[] = L"Relaydesk logging service";

// Objects alive and LockServer calls outstanding: while either is non-zero the DLL stays.
std::atomic<long> g_objects{0};
std::atomic<long> g_serverLocks{0};

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

using AnyMethod = void (*)();

/// The COM face of one LogService. Its first member is the method table, as COM expects.
struct ComLogger {
    const AnyMethod* methods;
    std::atomic<ULONG> references;
    platform::ILogWriter* service;
};

HRESULT STDMETHODCALLTYPE LoggerQueryInterface(ComLogger* self, REFIID iid, void** object);

ULONG STDMETHODCALLTYPE LoggerAddRef(ComLogger* self) {
    return ++self->references;
}

ULONG STDMETHODCALLTYPE LoggerRelease(ComLogger* self) {
    const ULONG left = --self->references;
    if (left == 0) {
        self->service->Release();
        delete self;
        --g_objects;
    }
    return left;
}

// The interface's other methods sit between IUnknown and the logger's own; the program calls
// none of them, so they only hold their places.
HRESULT STDMETHODCALLTYPE NotImplemented(ComLogger*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE LoggerWrite(ComLogger* self, long year, long month, long day, long hour,
                                      long minute, long second, long milliseconds,
                                      BSTR applicationName, BSTR line, long* status) {
    if (!status)
        return E_POINTER;
    std::int32_t result = 0;
    self->service->Write(year, month, day, hour, minute, second, milliseconds, applicationName,
                         line, &result);
    *status = result;
    return S_OK;
}

template <void (platform::ILogWriter::*Step)(std::int32_t*, std::int32_t*)>
HRESULT STDMETHODCALLTYPE LoggerTokenStep(ComLogger* self, long* token, long* status) {
    if (!token || !status)
        return E_POINTER;
    std::int32_t tokenValue = *token;
    std::int32_t result = 0;
    (self->service->*Step)(&tokenValue, &result);
    *token = tokenValue;
    *status = result;
    return S_OK;
}

template <void (platform::ILogWriter::*Step)(std::int32_t*)>
HRESULT STDMETHODCALLTYPE LoggerStep(ComLogger* self, long* status) {
    if (!status)
        return E_POINTER;
    std::int32_t result = 0;
    (self->service->*Step)(&result);
    *status = result;
    return S_OK;
}

// Positions of the methods in the interface (the client calls them by position).
constexpr std::size_t kSlotWrite = 41;
constexpr std::size_t kSlotBegin = 50;
constexpr std::size_t kSlotEnd = 51;
constexpr std::size_t kSlotOpen = 52;
constexpr std::size_t kSlotClose = 53;
constexpr std::size_t kSlotCount = 54;

template <typename Method> AnyMethod Entry(Method method) {
    return reinterpret_cast<AnyMethod>(method);
}

const std::array<AnyMethod, kSlotCount> kLoggerMethods = [] {
    std::array<AnyMethod, kSlotCount> methods{};
    methods.fill(Entry(&NotImplemented));
    methods[0] = Entry(&LoggerQueryInterface);
    methods[1] = Entry(&LoggerAddRef);
    methods[2] = Entry(&LoggerRelease);
    methods[kSlotWrite] = Entry(&LoggerWrite);
    methods[kSlotBegin] = Entry(&LoggerTokenStep<&platform::ILogWriter::Begin>);
    methods[kSlotEnd] = Entry(&LoggerTokenStep<&platform::ILogWriter::End>);
    methods[kSlotOpen] = Entry(&LoggerStep<&platform::ILogWriter::Open>);
    methods[kSlotClose] = Entry(&LoggerStep<&platform::ILogWriter::Close>);
    return methods;
}();

HRESULT STDMETHODCALLTYPE LoggerQueryInterface(ComLogger* self, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, kLoggerInterface)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    LoggerAddRef(self);
    *object = self;
    return S_OK;
}

class LoggerClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // One static class object for the life of the DLL: references are not counted.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        platform::ILogWriter* service = CreateLogService();
        auto* logger =
            service ? new (std::nothrow) ComLogger{kLoggerMethods.data(), 1, service} : nullptr;
        if (!logger) {
            if (service)
                service->Release();
            return E_OUTOFMEMORY;
        }
        ++g_objects;
        const HRESULT result = LoggerQueryInterface(logger, iid, object);
        LoggerRelease(logger); // the reference of a successful query is the caller's
        return result;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ++g_serverLocks : --g_serverLocks;
        return S_OK;
    }
};

LoggerClassFactory g_classFactory;

LSTATUS WriteString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS WriteClassKeys(HKEY root, const std::wstring& modulePath) {
    HKEY classKey = nullptr;
    LSTATUS status =
        RegCreateKeyExW(root, kClassKey, 0, nullptr, 0, KEY_WRITE, nullptr, &classKey, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    HKEY serverKey = nullptr;
    status = WriteString(classKey, nullptr, kClassDescription);
    if (status == ERROR_SUCCESS)
        status = RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr,
                                 &serverKey, nullptr);
    if (status == ERROR_SUCCESS) {
        status = WriteString(serverKey, nullptr, modulePath);
        // The service serialises its own calls: one object may be used from any thread.
        if (status == ERROR_SUCCESS)
            status = WriteString(serverKey, L"ThreadingModel", L"Both");
        RegCloseKey(serverKey);
    }
    RegCloseKey(classKey);
    return status;
}

} // namespace

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, kLoggerClass))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_classFactory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() {
    return g_objects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}

/// Registers the class for every user when allowed (an administrator, the installer), else for
/// the calling user only.
STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return SELFREG_E_CLASS;
    LSTATUS status = WriteClassKeys(HKEY_LOCAL_MACHINE, path);
    if (status == ERROR_ACCESS_DENIED)
        status = WriteClassKeys(HKEY_CURRENT_USER, path);
    return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

/// Removes the class from both places it may have been registered; absent keys are no error.
STDAPI DllUnregisterServer() {
    HRESULT result = S_OK;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        const LSTATUS status = RegDeleteTreeW(root, kClassKey);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            result = SELFREG_E_CLASS;
    }
    return result;
}
