#pragma once
/// Result codes of the composition engine, reported with the abort notification (0x1533)
/// or, for success, with the done notification (0x1532). docs/engine.md lists them.

#include <cstdint>

namespace zori {

enum EngineResult : std::int32_t {
    kResultSuccess = 0,
    kResultUnreadableCompositionFile = 10, ///< missing, unreadable, or without [ZO_INFO]
    kResultInvalidCompositionValue = 11,   ///< a value out of range, pictures past PICT_CNT
    kResultMissingFormatFile = 20,         ///< the format file cannot be read
    kResultMissingFormat = 21,             ///< no such format, or too few frames for the page
    kResultMissingBackground = 22,         ///< a background image is missing or broken
    kResultUnusableOutputProfile = 23,     ///< the output profile is missing or not RGB
    kResultMissingPicture = 30,            ///< a used picture's file does not exist
    kResultUndecodablePicture = 31,        ///< a picture cannot be decoded
    kResultPathOutsideFolders = 32,        ///< a file named leads outside the given folders
    kResultUnwritableOutput = 40,          ///< an output folder or file cannot be written
    kResultCancelled = 50,
    kResultRenderingFailed = 60, ///< the image library failed otherwise
};

} // namespace zori
