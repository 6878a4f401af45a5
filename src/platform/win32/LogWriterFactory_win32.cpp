#include "platform/LogWriterFactory.h"

#include "WindowsHeaders.h"

#include <objbase.h>
#include <oleauto.h>

#include <new>

namespace platform {
namespace {

const GUID kLoggerClass = {
    0xECAFFA0F, 0xCBE1, 0x4753, {0xA7, 0x7C, 0x39, 0x4F, 0xF8, 0xA7, 0xAF, 0x08}};
const GUID kLoggerInterface = {
    0x5FC2EFB1, 0x33EE, 0x4782, {0x81, 0x44, 0xED, 0x92, 0x7F, 0x78, 0x44, 0xBD}};

// Calls the COM logger through its method table by position (Write 41, Begin 50, End 51,
// Open 52, Close 53, Release 2), so no header of the service is needed.
class ComLogWriter final : public ILogWriter {
public:
    explicit ComLogWriter(IUnknown* object) : m_object(object) {}

    void Release() override {
        Slot<ULONG(STDMETHODCALLTYPE*)(IUnknown*)>(2)(m_object);
        delete this;
    }
    void Write(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
               std::int32_t minute, std::int32_t second, std::int32_t milliseconds,
               const wchar_t* applicationName, const wchar_t* line, std::int32_t* status) override {
        using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, long, long, long, long, long, long,
                                                   long, BSTR, BSTR, long*);
        long value = *status;
        Slot<Method>(41)(m_object, year, month, day, hour, minute, second, milliseconds,
                         const_cast<BSTR>(applicationName), const_cast<BSTR>(line), &value);
        *status = value;
    }
    void Begin(std::int32_t* token, std::int32_t* status) override { Pair(50, token, status); }
    void End(std::int32_t* token, std::int32_t* status) override { Pair(51, token, status); }
    void Open(std::int32_t* status) override { Single(52, status); }
    void Close(std::int32_t* status) override { Single(53, status); }

private:
    template <typename Method> Method Slot(int position) const {
        return reinterpret_cast<Method>((*reinterpret_cast<void***>(m_object))[position]);
    }
    void Pair(int position, std::int32_t* token, std::int32_t* status) {
        long tokenValue = *token;
        long value = *status;
        Slot<HRESULT(STDMETHODCALLTYPE*)(IUnknown*, long*, long*)>(position)(m_object, &tokenValue,
                                                                             &value);
        *token = tokenValue;
        *status = value;
    }
    void Single(int position, std::int32_t* status) {
        long value = *status;
        Slot<HRESULT(STDMETHODCALLTYPE*)(IUnknown*, long*)>(position)(m_object, &value);
        *status = value;
    }

    IUnknown* m_object;
};

} // namespace

void ComInitialize() {
    CoInitialize(nullptr);
}

void ComUninitialize() {
    CoUninitialize();
}

ILogWriter* CreateLogWriter() {
    constexpr DWORD kContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
    IUnknown* object = nullptr;
    HRESULT result = CoCreateInstance(kLoggerClass, nullptr, kContext, kLoggerInterface,
                                      reinterpret_cast<void**>(&object));
    if (result == CO_E_NOTINITIALIZED) {
        // A worker thread that never initialised COM logs too: it joins the process's
        // multithreaded apartment, where the service's objects serve every thread directly.
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        result = CoCreateInstance(kLoggerClass, nullptr, kContext, kLoggerInterface,
                                  reinterpret_cast<void**>(&object));
    }
    if (FAILED(result) || !object)
        return nullptr;
    auto* writer = new (std::nothrow) ComLogWriter(object);
    if (!writer)
        object->Release();
    return writer;
}

wchar_t* AllocComString(std::wstring_view text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void FreeComString(wchar_t* text) {
    SysFreeString(text);
}

} // namespace platform
