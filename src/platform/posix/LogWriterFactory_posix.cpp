#include "platform/LogWriterFactory.h"

#include "platform/DynamicLibrary.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>

namespace platform {

void ComInitialize() {}
void ComUninitialize() {}

ILogWriter* CreateLogWriter() {
    // The service library stays loaded for the life of the process once found: writers
    // created from it may outlive any one caller.
    static std::mutex mutex;
    static DynamicLibrary library;
    std::lock_guard lock(mutex);
    if (!library.IsLoaded() && !library.Load(L"QRM_LOGSVC.DLL"))
        return nullptr;
    auto create = library.Resolve<CreateLogWriterFunction>("RelaydeskCreateLogWriter");
    return create ? create() : nullptr;
}

// Same layout as the system's COM strings: a 32-bit byte length, then the characters and a
// terminator; the pointer handed out points at the characters.
wchar_t* AllocComString(std::wstring_view text) {
    size_t bytes = text.size() * sizeof(wchar_t);
    auto* block = static_cast<std::uint8_t*>(
        ::operator new(sizeof(wchar_t) + bytes + sizeof(wchar_t), std::nothrow));
    if (!block)
        return nullptr;
    auto length = static_cast<std::uint32_t>(bytes);
    std::memcpy(block + sizeof(wchar_t) - sizeof(length), &length, sizeof(length));
    auto* characters = reinterpret_cast<wchar_t*>(block + sizeof(wchar_t));
    std::memcpy(characters, text.data(), bytes);
    characters[text.size()] = L'\0';
    return characters;
}

void FreeComString(wchar_t* text) {
    if (text)
        ::operator delete(reinterpret_cast<std::uint8_t*>(text) - sizeof(wchar_t));
}

} // namespace platform
