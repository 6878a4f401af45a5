#include "SpreadRenderer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>
#include <vips/vips8>

#include "FrameGeometry.h"
#include "platform/FileSystemCalls.h"
#include "platform/MemoryAllocation.h"
#include "platform/TextEncoding.h"

namespace zori {

namespace {

using vips::VImage;

constexpr double kMillimetresPerInch = 25.4;

/// A picture that could not be decoded; carries the engine's code through the pipeline build.
struct PictureError {
    EngineResult code;
};

std::string Utf8Path(const std::wstring& path) {
    return platform::ToFsPath(path).string();
}

/// 3-band 8-bit sRGB without alpha, as the spread is.
VImage AsSrgb(VImage image) {
    if (image.has_alpha())
        image = image.flatten(VImage::option()->set("background", std::vector<double>{255, 255, 255}));
    if (image.interpretation() != VIPS_INTERPRETATION_sRGB || image.bands() != 3)
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    if (image.bands() > 3)
        image = image.extract_band(0, VImage::option()->set("n", 3));
    return image.format() == VIPS_FORMAT_UCHAR ? image : image.cast(VIPS_FORMAT_UCHAR);
}

/// Width and height as displayed, after the orientation tag's rotation.
bool UprightSize(const std::string& file, int& width, int& height) {
    try {
        VImage header = VImage::new_from_file(file.c_str(),
                                              VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        width = header.width();
        height = header.height();
        if (header.get_typeof(VIPS_META_ORIENTATION) != 0) {
            int orientation = header.get_int(VIPS_META_ORIENTATION);
            if (orientation >= 5 && orientation <= 8)
                std::swap(width, height);
        }
        return width > 0 && height > 0;
    } catch (const vips::VError&) {
        return false;
    }
}

VipsAngle ClockwiseAngle(int degrees) {
    switch (degrees) {
    case 90: return VIPS_ANGLE_D90;
    case 180: return VIPS_ANGLE_D180;
    case 270: return VIPS_ANGLE_D270;
    default: return VIPS_ANGLE_D0;
    }
}

void StopWhenCancelled(VipsImage* image, VipsProgress*, void* cancel) {
    if (*static_cast<const std::atomic<bool>*>(cancel))
        vips_image_set_kill(image, TRUE);
}

/// Makes the evaluation of `image` stop soon after `cancel` is set.
void WatchCancel(VImage& image, const std::atomic<bool>& cancel) {
    vips_image_set_progress(image.get_image(), TRUE);
    g_signal_connect(image.get_image(), "eval", G_CALLBACK(StopWhenCancelled),
                     const_cast<std::atomic<bool>*>(&cancel));
}

bool CanCreate(const std::wstring& file) {
    std::ofstream probe(platform::ToFsPath(file), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(probe);
}

} // namespace

bool StartImageLibrary() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        started = vips_init("QRM_ZO_RI") == 0;
        platform::ReturnLargeBlocksPromptly();
        // Operations are not reused between spreads; a cache would only hold memory.
        if (started)
            vips_cache_set_max(0);
    });
    return started;
}

SpreadRenderer::SpreadRenderer(ImageFit fit, int quality, int dotsPerInch,
                               const std::atomic<bool>& cancel)
    : m_fit(fit), m_quality(quality), m_dotsPerInch(dotsPerInch), m_cancel(cancel) {}

int SpreadRenderer::ToPixels(double millimetres) const {
    return std::max(1, static_cast<int>(std::lround(millimetres * m_dotsPerInch / kMillimetresPerInch)));
}

namespace {

class SpreadPipeline {
public:
    SpreadPipeline(const SpreadRenderer& renderer, ImageFit fit, const std::atomic<bool>& cancel)
        : m_renderer(renderer), m_fit(fit), m_cancel(cancel) {}

    VImage Build(const SpreadLayout& spread) {
        int width = 0, height = 0;
        for (const PageLayout& page : spread.pages) {
            width += m_renderer.ToPixels(page.widthMm);
            height = std::max(height, m_renderer.ToPixels(page.heightMm));
        }
        VImage canvas = VImage::black(width, height).new_from_image({255, 255, 255});
        int pageLeft = 0;
        for (const PageLayout& page : spread.pages) {
            canvas = DrawPage(canvas, page, pageLeft);
            pageLeft += m_renderer.ToPixels(page.widthMm);
        }
        return canvas;
    }

private:
    VImage DrawPage(VImage canvas, const PageLayout& page, int pageLeft) {
        const int width = m_renderer.ToPixels(page.widthMm);
        const int height = m_renderer.ToPixels(page.heightMm);
        VImage background;
        if (!page.backgroundPath.empty()) {
            try {
                background = AsSrgb(VImage::thumbnail(
                    Utf8Path(page.backgroundPath).c_str(), width,
                    VImage::option()->set("height", height)->set("size", VIPS_SIZE_FORCE)));
            } catch (const vips::VError&) {
                throw PictureError{kResultMissingBackground};
            }
        } else {
            background = VImage::black(width, height)
                             .new_from_image({double(page.backgroundRgb[0]), double(page.backgroundRgb[1]),
                                              double(page.backgroundRgb[2])})
                             .cast(VIPS_FORMAT_UCHAR);
        }
        canvas = canvas.insert(background, pageLeft, 0);
        for (const Frame& frame : page.frames) {
            if (m_cancel)
                throw PictureError{kResultCancelled};
            if (frame.used)
                canvas = DrawPicture(canvas, frame, pageLeft);
        }
        return canvas;
    }

    VImage DrawPicture(VImage canvas, const Frame& frame, int pageLeft) {
        const PicturePlacement& picture = frame.picture;
        const std::string file = Utf8Path(picture.path);
        int sourceWidth = 0, sourceHeight = 0;
        if (!UprightSize(file, sourceWidth, sourceHeight))
            throw PictureError{kResultUndecodablePicture};

        const int frameLeft = pageLeft + m_renderer.ToPixels(frame.xMm);
        const int frameTop = m_renderer.ToPixels(frame.yMm);
        const PictureGeometry geometry =
            PlacePicture(sourceWidth, sourceHeight, m_renderer.ToPixels(frame.widthMm),
                         m_renderer.ToPixels(frame.heightMm), m_fit, picture);
        if (!geometry.placeable)
            throw PictureError{kResultUndecodablePicture};
        if (!geometry.Visible())
            return canvas;
        const PixelRect& cut = geometry.cut;
        VImage placed;
        try {
            placed = VImage::thumbnail(file.c_str(), geometry.decodeWidth,
                                       VImage::option()
                                           ->set("height", geometry.decodeHeight)
                                           ->set("size", VIPS_SIZE_FORCE)
                                           ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
            placed = AsSrgb(placed.extract_area(cut.left, cut.top, cut.width, cut.height));
            // Decode one picture at a time and keep only its visible part: the decoders and
            // their buffers are freed before the next picture, so memory stays at about
            // one spread whatever the pictures' size. Turning needs the cut in memory anyway.
            WatchCancel(placed, m_cancel);
            placed = placed.copy_memory();
            if (picture.clockwiseDegrees != 0)
                placed = placed.rot(ClockwiseAngle(picture.clockwiseDegrees));
        } catch (const vips::VError&) {
            throw PictureError{m_cancel ? kResultCancelled : kResultUndecodablePicture};
        }
        return canvas.insert(placed, frameLeft + geometry.frameX, frameTop + geometry.frameY);
    }

    const SpreadRenderer& m_renderer;
    ImageFit m_fit;
    const std::atomic<bool>& m_cancel;
};

} // namespace

EngineResult SpreadRenderer::Render(const SpreadLayout& spread, const std::wstring& outputFile) const {
    if (!CanCreate(outputFile))
        return kResultUnwritableOutput;
    EngineResult result = kResultSuccess;
    try {
        const double pixelsPerMillimetre = m_dotsPerInch / kMillimetresPerInch;
        VImage image = SpreadPipeline(*this, m_fit, m_cancel).Build(spread).copy(
            VImage::option()->set("xres", pixelsPerMillimetre)->set("yres", pixelsPerMillimetre));
        WatchCancel(image, m_cancel);
        image.jpegsave(Utf8Path(outputFile).c_str(),
                       VImage::option()
                           ->set("Q", m_quality)
                           ->set("optimize_coding", true));
    } catch (const PictureError& error) {
        result = error.code;
    } catch (const vips::VError&) {
        // The pictures were decoded before the save began: what fails now is the writing.
        result = m_cancel ? kResultCancelled : kResultUnwritableOutput;
    }
    if (m_cancel && result == kResultSuccess)
        result = kResultCancelled;
    if (result != kResultSuccess) {
        std::error_code error;
        std::filesystem::remove(platform::ToFsPath(outputFile), error);
    }
    return result;
}

} // namespace zori
