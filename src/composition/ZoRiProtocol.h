#pragma once
/// The interface of the photo-book composition engine library QRM_ZO_RI: its eight C entry
/// points and the window messages that pass between the engine and the program. Shared by
/// the adapter (CZoRiEngine) and the library itself, which is built separately.

#include <cstdint>

namespace zori {

/// Handed to createInstance: where and how the engine reports.
struct NotifyRecord {
    std::uintptr_t notifyWindow; ///< receives progress and results
    std::uint32_t notifyMessage; ///< the message number used for every report (1000)
    std::int32_t value;          ///< 103, passed through unchanged
};

using EngineInstance = void*;

/// Posted by the program to the engine window.
constexpr std::uint32_t kMessageStartValue = 0x1510; ///< lParam: start value (dots per inch)
constexpr std::uint32_t kMessageStart = 0x1505;      ///< begins the composition

/// Sent by the engine with the notify message as wParam.
constexpr std::uint32_t kNotifyMessage = 1000;
constexpr std::uintptr_t kNotifyProgress = 0x1531; ///< lParam: 0..100
constexpr std::uintptr_t kNotifyDone = 0x1532;     ///< lParam: result code
constexpr std::uintptr_t kNotifyAborted = 0x1533;  ///< lParam: result code (failure or cancel)

constexpr std::int32_t kCreationValue = 103;
constexpr std::int32_t kApplicationId = 1;

extern "C" {
using CreateInstanceFunction = EngineInstance (*)(const NotifyRecord* notify,
                                                  std::uintptr_t* engineWindow);
using ReleaseInstanceFunction = void (*)(EngineInstance instance);
using SetIniFileNameFunction = void (*)(EngineInstance instance, std::int32_t reserved,
                                        const wchar_t* path);
using SetWindowHdlFunction = void (*)(EngineInstance instance, std::uintptr_t window);
using SetMidPictureSizeFunction = void (*)(EngineInstance instance, std::int32_t width,
                                           std::int32_t height);
using SetDataPathFunction = void (*)(EngineInstance instance, const wchar_t* path);
using CancelFunction = void (*)(EngineInstance instance, std::int32_t reserved);
using SetApplicationIdFunction = void (*)(EngineInstance instance, std::int32_t id);
}

} // namespace zori
