#include "platform/DynamicLibrary.h"

#include "platform/ModulePath.h"
#include "platform/TextEncoding.h"

#include <dlfcn.h>

namespace platform {

DynamicLibrary::~DynamicLibrary() {
    Free();
}

std::wstring DynamicLibrary::ResolvePath(const std::wstring& name) {
    std::wstring path = name;
    size_t slash = path.find_last_of(L"/\\");
    size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        path.erase(dot);
    if (slash == std::wstring::npos) {
        std::wstring module = GetModuleFilePath();
        path = module.substr(0, module.find_last_of(L'/')) + L"/" + path;
    }
    return path + L".so";
}

bool DynamicLibrary::Load(const std::wstring& name) {
    Free();
    m_handle = dlopen(WideToUtf8FileName(ResolvePath(name)).c_str(), RTLD_NOW | RTLD_LOCAL);
    return m_handle != nullptr;
}

void DynamicLibrary::Free() {
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const {
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

} // namespace platform
