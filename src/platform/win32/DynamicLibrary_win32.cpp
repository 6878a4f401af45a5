#include "platform/DynamicLibrary.h"

#include "WindowsHeaders.h"

namespace platform {

DynamicLibrary::~DynamicLibrary() {
    Free();
}

std::wstring DynamicLibrary::ResolvePath(const std::wstring& name) {
    return name; // LoadLibraryW searches the program folder first
}

bool DynamicLibrary::Load(const std::wstring& name) {
    Free();
    m_handle = reinterpret_cast<void*>(LoadLibraryW(name.c_str()));
    return m_handle != nullptr;
}

void DynamicLibrary::Free() {
    if (m_handle)
        FreeLibrary(static_cast<HMODULE>(m_handle));
    m_handle = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const {
    return m_handle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name))
                    : nullptr;
}

} // namespace platform
