#pragma once
/// Renders one spread into one JPEG file with a single libvips pipeline: each picture is
/// decoded shrunk to the size it needs (shrink-on-load), brought into the output colour space,
/// cut to its frame and inserted into the page; nothing larger than a frame is held in memory,
/// and a cancel stops the pipeline.

#include <atomic>
#include <string>

#include "BookLayout.h"
#include "OutputColourSpace.h"

namespace zori {

class SpreadRenderer {
public:
    /// Spreads are composed in and tagged with `space`; `cancel` is watched while the spread
    /// is written. Without `colourManagement` the pictures' own profiles are ignored.
    SpreadRenderer(const OutputColourSpace& space, ImageFit fit, int quality, int dotsPerInch,
                   const std::atomic<bool>& cancel, bool colourManagement = true);

    EngineResult Render(const SpreadLayout& spread, const std::wstring& outputFile) const;

    /// Millimetres to pixels at the renderer's resolution.
    int ToPixels(double millimetres) const;

private:
    const OutputColourSpace& m_space;
    ImageFit m_fit;
    int m_quality;
    int m_dotsPerInch;
    const std::atomic<bool>& m_cancel;
    bool m_colourManagement;
};

/// Starts the image library once per process; false when it cannot start.
bool StartImageLibrary();

} // namespace zori
