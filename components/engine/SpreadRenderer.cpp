#include "SpreadRenderer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>
#include <vips/vips8>

#include "FrameGeometry.h"
#include "OutputColourSpace.h"
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

/// What the decoder needs to know of a picture before decoding it.
struct PictureHeader {
    int width = 0, height = 0; ///< as displayed, after the orientation tag's rotation
    /// Its colours are told by a profile: its own, or for CMYK the default CMYK profile.
    bool profiled = false;
    bool cmyk = false;
    bool jpeg = false; ///< its decoder can shrink while it decodes
};

bool ReadHeader(const std::string& file, PictureHeader& picture) {
    try {
        VImage header = VImage::new_from_file(
            file.c_str(), VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        picture.width = header.width();
        picture.height = header.height();
        if (header.get_typeof(VIPS_META_ORIENTATION) != 0) {
            int orientation = header.get_int(VIPS_META_ORIENTATION);
            if (orientation >= 5 && orientation <= 8)
                std::swap(picture.width, picture.height);
        }
        picture.cmyk = header.interpretation() == VIPS_INTERPRETATION_CMYK;
        picture.profiled = header.get_typeof(VIPS_META_ICC_NAME) != 0 || picture.cmyk;
        picture.jpeg = header.get_typeof(VIPS_META_LOADER) != 0 &&
                       std::string(header.get_string(VIPS_META_LOADER)) == "jpegload";
        return picture.width > 0 && picture.height > 0;
    } catch (const vips::VError&) {
        return false;
    }
}

VipsAngle ClockwiseAngle(int degrees) {
    switch (degrees) {
    case 90:
        return VIPS_ANGLE_D90;
    case 180:
        return VIPS_ANGLE_D180;
    case 270:
        return VIPS_ANGLE_D270;
    default:
        return VIPS_ANGLE_D0;
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

SpreadRenderer::SpreadRenderer(const OutputColourSpace& space, ImageFit fit, int quality,
                               int dotsPerInch, const std::atomic<bool>& cancel,
                               bool colourManagement)
    : m_space(space), m_fit(fit), m_quality(quality), m_dotsPerInch(dotsPerInch), m_cancel(cancel),
      m_colourManagement(colourManagement) {}

int SpreadRenderer::ToPixels(double millimetres) const {
    return std::max(
        1, static_cast<int>(std::lround(millimetres * m_dotsPerInch / kMillimetresPerInch)));
}

namespace {

class SpreadPipeline {
public:
    SpreadPipeline(const SpreadRenderer& renderer, const OutputColourSpace& space, ImageFit fit,
                   const std::atomic<bool>& cancel, bool colourManagement)
        : m_renderer(renderer), m_space(space), m_fit(fit), m_cancel(cancel),
          m_colourManagement(colourManagement) {}

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
            const std::string file = Utf8Path(page.backgroundPath);
            PictureHeader header;
            try {
                if (!ReadHeader(file, header))
                    throw PictureError{kResultMissingBackground};
                background = OutputColourSpace::OnPage(
                    DecodeInOutputSpace(file, width, height, header), page.backgroundRgb);
            } catch (const vips::VError&) {
                throw PictureError{kResultMissingBackground};
            }
        } else {
            background =
                VImage::black(width, height)
                    .new_from_image({double(page.backgroundRgb[0]), double(page.backgroundRgb[1]),
                                     double(page.backgroundRgb[2])})
                    .cast(VIPS_FORMAT_UCHAR);
        }
        canvas = canvas.insert(background, pageLeft, 0);
        for (const Frame& frame : page.frames) {
            if (m_cancel)
                throw PictureError{kResultCancelled};
            if (frame.used)
                canvas = DrawPicture(canvas, frame, page, pageLeft);
        }
        return canvas;
    }

    VImage DrawPicture(VImage canvas, const Frame& frame, const PageLayout& page, int pageLeft) {
        const PicturePlacement& picture = frame.picture;
        const std::string file = Utf8Path(picture.path);
        PictureHeader header;
        if (!ReadHeader(file, header))
            throw PictureError{kResultUndecodablePicture};

        const int frameLeft = pageLeft + m_renderer.ToPixels(frame.xMm);
        const int frameTop = m_renderer.ToPixels(frame.yMm);
        const PictureGeometry geometry =
            PlacePicture(header.width, header.height, m_renderer.ToPixels(frame.widthMm),
                         m_renderer.ToPixels(frame.heightMm), m_fit, picture);
        if (!geometry.placeable)
            throw PictureError{kResultUndecodablePicture};
        if (!geometry.Visible())
            return canvas;
        const PixelRect& cut = geometry.cut;
        VImage placed;
        try {
            placed = DecodeInOutputSpace(file, geometry.decodeWidth, geometry.decodeHeight, header);
            // The pipeline is pulled by the cut, so only its pixels are converted.
            placed = OutputColourSpace::OnPage(
                placed.extract_area(cut.left, cut.top, cut.width, cut.height), page.backgroundRgb);
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

    /// The picture decoded shrunk to `width` x `height`, in the output colour space.
    VImage DecodeInOutputSpace(const std::string& file, int width, int height,
                               const PictureHeader& header) {
        if (header.cmyk)
            return DecodeCmyk(file, width, height, header);
        const auto options = [&] {
            return VImage::option()
                ->set("height", height)
                ->set("size", VIPS_SIZE_FORCE)
                ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
        };
        if (header.profiled && m_colourManagement) {
            try {
                return VImage::thumbnail(
                    file.c_str(), width,
                    options()
                        ->set("export_profile", m_space.ProfileForLibrary().c_str())
                        ->set("intent", kRenderingIntent));
            } catch (const vips::VError&) {
                // A broken or mismatched embedded profile: the numbers are taken as untagged.
            }
        }
        return m_space.FromUntagged(VImage::thumbnail(file.c_str(), width, options()));
    }

    /// The image library's thumbnail puts CMYK through its default profile whatever profile
    /// the picture embeds, so CMYK is decoded (shrunk by the JPEG decoder where it can be),
    /// converted through its own profile and then scaled.
    VImage DecodeCmyk(const std::string& file, int width, int height, const PictureHeader& header) {
        auto options = VImage::option()
                           ->set("access", VIPS_ACCESS_SEQUENTIAL)
                           ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
        if (header.jpeg)
            options->set("shrink", JpegShrink(header, width, height));
        VImage cmyk = VImage::new_from_file(file.c_str(), options);
        VImage converted = cmyk.icc_transform(m_space.ProfileForLibrary().c_str(),
                                              VImage::option()
                                                  ->set("embedded", m_colourManagement)
                                                  ->set("input_profile", kDefaultCmykProfile)
                                                  ->set("intent", kRenderingIntent)
                                                  ->set("depth", 8));
        return converted.thumbnail_image(
            width, VImage::option()->set("height", height)->set("size", VIPS_SIZE_FORCE));
    }

    /// The largest factor (1, 2, 4 or 8) the JPEG decoder may shrink by and still give at
    /// least `width` x `height` upright pixels.
    static int JpegShrink(const PictureHeader& header, int width, int height) {
        const double room = std::min(double(header.width) / width, double(header.height) / height);
        int shrink = 1;
        while (shrink < 8 && shrink * 2 <= room)
            shrink *= 2;
        return shrink;
    }

    const SpreadRenderer& m_renderer;
    const OutputColourSpace& m_space;
    ImageFit m_fit;
    const std::atomic<bool>& m_cancel;
    bool m_colourManagement;
};

} // namespace

EngineResult SpreadRenderer::Render(const SpreadLayout& spread,
                                    const std::wstring& outputFile) const {
    if (!CanCreate(outputFile))
        return kResultUnwritableOutput;
    EngineResult result = kResultSuccess;
    try {
        const double pixelsPerMillimetre = m_dotsPerInch / kMillimetresPerInch;
        VImage image = SpreadPipeline(*this, m_space, m_fit, m_cancel, m_colourManagement)
                           .Build(spread)
                           .copy(VImage::option()
                                     ->set("xres", pixelsPerMillimetre)
                                     ->set("yres", pixelsPerMillimetre));
        image = m_space.Tag(image);
        WatchCancel(image, m_cancel);
        // No optimised Huffman coding: it makes the encoder hold the whole spread's
        // coefficients (some 100 MB at 300 dpi) for a second pass, for files a few % smaller.
        image.jpegsave(Utf8Path(outputFile).c_str(), VImage::option()->set("Q", m_quality));
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
