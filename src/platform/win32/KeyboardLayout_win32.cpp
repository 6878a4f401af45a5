#include "platform/KeyboardLayout.h"

#include "WindowsHeaders.h"

namespace platform {

std::uint16_t GetKeyboardLanguageId() {
    return static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(0)) &
                                      0xFFFF);
}

} // namespace platform
