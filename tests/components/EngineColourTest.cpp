// The engine's colour management held against an independent colour engine: lcms2
// converts the same patches, and every sampled point of the composed spread must lie within
// CIEDE2000 2 of it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <vips/vips8>

#include "EngineBook.h"
#include "FolderNames.h"
#include "ReferenceColour.h"

namespace {

using vips::VImage;
using namespace engine_book;

constexpr double kMaxDeltaE = 2.0;

// Profiles the test pictures carry, from the packages scripts/install-deps installs.
const std::string kSrgbProfile = "/usr/share/color/icc/sRGB.icc";
const std::string kAdobeRgbProfile = "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc";
const std::string kGreyLStarProfile = "/usr/share/color/icc/Gray-CIE_L.icc";
const std::string kCmykProfile = "/usr/share/color/icc/ghostscript/default_cmyk.icc";

/// `length` bytes at `data`, as the file `path`.
void WriteBytes(const std::string& path, const void* data, std::size_t length) {
    std::ofstream(path, std::ios::binary)
        .write(static_cast<const char*>(data), static_cast<std::streamsize>(length));
}

/// A profile the image library carries (its Display P3 and default CMYK), as a file.
std::string LibraryProfileFile(const WorkFolder& work, const char* name) {
    VipsBlob* blob = VImage::profile_load(name);
    const std::string path = work.FilePath(L"profiles/" + platform::Utf8ToWide(name) + L".icc");
    WriteBytes(path, VIPS_AREA(blob)->data, VIPS_AREA(blob)->length);
    vips_area_unref(VIPS_AREA(blob));
    return path;
}

/// A solid picture of `values` in `format`, tagged with `profile` unless it is empty; saved
/// as the extension of `path` says.
void WriteSolid(const std::string& path, std::vector<double> values,
                VipsInterpretation interpretation, VipsBandFormat format,
                const std::string& profile, int width = 60, int height = 40) {
    VImage image = VImage::black(width, height)
                       .cast(format)
                       .new_from_image(values)
                       .copy(VImage::option()->set("interpretation", interpretation));
    if (!profile.empty()) {
        const std::string bytes = FileBytes(profile);
        vips_image_set_blob_copy(image.get_image(), VIPS_META_ICC_NAME, bytes.data(), bytes.size());
    }
    if (path.ends_with(".png"))
        image.pngsave(path.c_str());
    else
        image.jpegsave(path.c_str(), VImage::option()->set("Q", 98));
}

/// A composed spread with its own profile written to a file (empty when it carries none).
struct Spread {
    std::string file, profile;

    /// CIELAB of a pixel, read through the profile the spread carries.
    Lab At(int x, int y) const {
        return ReferenceLab(profile, VImage::new_from_file(file.c_str()).getpoint(x, y));
    }
};

/// The book written into `work`, composed: its first inner spread.
Spread ComposedSpread(const WorkFolder& work) {
    EXPECT_EQ(work.Compose(), 0);
    Spread spread{Utf8(work.Path(kFirstSpread)), ""};
    VImage image = VImage::new_from_file(spread.file.c_str());
    if (image.get_typeof(VIPS_META_ICC_NAME) == 0)
        return spread;
    size_t length = 0;
    const void* data = image.get_blob(VIPS_META_ICC_NAME, &length);
    spread.profile = work.FilePath(L"profiles/embedded.icc");
    WriteBytes(spread.profile, data, length);
    return spread;
}

/// One page of 135 x 25 mm in `pageRgb`, with `frames` frames of 10 x 10 mm in a row.
std::string RowOfFrames(int frames, const std::string& pageRgb, const std::string& extra = "") {
    std::string text = extra +
                       "[FORMAT_ROW]\nWIDTH_MM=135\nHEIGHT_MM=25\nBACKGROUND_COLOR=" + pageRgb +
                       "\nFRAME_CNT=" + std::to_string(frames) + "\n";
    for (int n = 1; n <= frames; ++n)
        text += "FRAME" + std::to_string(n) + "=" + std::to_string(2 + 12 * (n - 1)) + ",2,10,10\n";
    return text;
}

/// Centre of frame `n` (from 1) of RowOfFrames, in pixels.
int FrameCentreX(int n) {
    return (2 + 12 * (n - 1)) * 10 + 50;
}
constexpr int kFrameCentreY = 70;

Spread ComposeRow(const WorkFolder& work, const std::vector<std::string>& pictures) {
    std::string composition = ZoInfo(1, static_cast<int>(pictures.size())) +
                              Page(1, "ROW", static_cast<int>(pictures.size()));
    for (std::size_t n = 0; n < pictures.size(); ++n)
        composition += Picture(static_cast<int>(n + 1), pictures[n], static_cast<int>(n));
    work.WriteComposition(composition);
    return ComposedSpread(work);
}

/// A patch of one picture on the mixed spread: what it stores and what that means.
struct Patch {
    const char* name;
    const char* file;
    std::vector<double> stored; ///< as stored: 8 or 16 bits, alpha last
    VipsInterpretation interpretation;
    std::string profile;                ///< embedded; empty: untagged
    std::string implied = kSrgbProfile; ///< what untagged numbers mean

    bool Wide() const { return interpretation == VIPS_INTERPRETATION_RGB16; }
    bool HasAlpha() const {
        return interpretation == VIPS_INTERPRETATION_sRGB && stored.size() == 4;
    }
    VipsBandFormat Format() const { return Wide() ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR; }
    std::string ReferenceProfile() const { return profile.empty() ? implied : profile; }
    double Alpha() const { return HasAlpha() ? stored.back() / 255.0 : 1.0; }
    /// The stored colour in the calculator's units: 0-255 for RGB, percentages for CMYK, and
    /// untagged grey as the sRGB grey of the same value.
    std::vector<double> Reference() const {
        std::vector<double> colour(stored.begin(), stored.end() - (HasAlpha() ? 1 : 0));
        const double unit = Wide()                                       ? 257.0
                            : interpretation == VIPS_INTERPRETATION_CMYK ? 2.55
                                                                         : 1.0;
        for (double& value : colour)
            value /= unit;
        if (interpretation == VIPS_INTERPRETATION_B_W && profile.empty())
            colour.assign(3, colour[0]);
        return colour;
    }
};

struct OutputCase {
    const char* name;
    const char* key; ///< OUTPUT_PROFILE; empty: none
    const char* exifColorSpace;
};

class EngineOutputProfile : public ::testing::TestWithParam<OutputCase> {};

TEST_P(EngineOutputProfile, PicturesOfEveryKindAndThePageComeOutInTrueColour) {
    WorkFolder work;
    const std::string p3 = LibraryProfileFile(work, "p3");
    const std::string defaultCmyk = LibraryProfileFile(work, "cmyk");
    const std::string pageRgb = "200,120,90";
    const std::vector<double> page = {200, 120, 90};
    constexpr auto rgb = VIPS_INTERPRETATION_sRGB, rgb16 = VIPS_INTERPRETATION_RGB16,
                   cmyk = VIPS_INTERPRETATION_CMYK, grey = VIPS_INTERPRETATION_B_W;
    const std::vector<Patch> patches = {
        {"Adobe RGB", "adobe.jpg", {40, 160, 60}, rgb, kAdobeRgbProfile},
        {"Display P3", "p3.jpg", {230, 60, 50}, rgb, p3},
        {"untagged sRGB", "srgb.jpg", {30, 90, 200}, rgb, ""},
        {"tagged CMYK", "cmyk.jpg", {25, 180, 205, 20}, cmyk, kCmykProfile},
        {"untagged CMYK", "cmyk-plain.jpg", {200, 30, 10, 40}, cmyk, "", defaultCmyk},
        {"tagged grey", "grey.jpg", {100}, grey, kGreyLStarProfile},
        {"untagged grey", "grey-plain.jpg", {100}, grey, ""},
        {"16-bit Adobe RGB", "adobe16.png", {10000, 45000, 20000}, rgb16, kAdobeRgbProfile},
        {"16-bit untagged", "plain16.png", {50000, 12000, 30000}, rgb16, ""},
        {"half transparent", "alpha.png", {20, 40, 220, 128}, rgb, ""},
    };
    // Display P3 by name; Adobe RGB by name or as a profile file in the data folder.
    const std::string key = GetParam().key;
    const std::string outputProfile = key.empty()          ? kSrgbProfile
                                      : key == "DisplayP3" ? p3
                                                           : kAdobeRgbProfile;
    if (key.ends_with(".icc"))
        std::filesystem::copy_file(kAdobeRgbProfile,
                                   work.FilePath(L"TEMP/CTML/" + platform::Utf8ToWide(key)));
    const std::string extra = key.empty() ? "" : "[OUTPUT]\nOUTPUT_PROFILE=" + key + "\n";
    work.WriteFormats(RowOfFrames(static_cast<int>(patches.size()), pageRgb, extra));
    std::vector<std::string> pictures;
    for (const Patch& patch : patches) {
        pictures.push_back(work.FilePath(L"TEMP/CORRECT/" + platform::Utf8ToWide(patch.file)));
        WriteSolid(pictures.back(), patch.stored, patch.interpretation, patch.Format(),
                   patch.profile);
    }

    const Spread spread = ComposeRow(work, pictures);

    ASSERT_FALSE(spread.profile.empty()) << "the spread carries no profile";
    if (outputProfile == kAdobeRgbProfile) {
        EXPECT_EQ(FileBytes(spread.profile), FileBytes(kAdobeRgbProfile));
    }
    EXPECT_EQ(VImage::new_from_file(spread.file.c_str()).get_string("exif-ifd2-ColorSpace"),
              std::string(GetParam().exifColorSpace));
    for (std::size_t n = 0; n < patches.size(); ++n) {
        const Patch& patch = patches[n];
        std::vector<double> expected =
            ReferenceConvert(patch.ReferenceProfile(), outputProfile, patch.Reference());
        for (std::size_t band = 0; band < expected.size() && band < page.size(); ++band)
            expected[band] = patch.Alpha() * expected[band] + (1 - patch.Alpha()) * page[band];
        const double deltaE =
            DeltaE2000(ReferenceLab(outputProfile, expected),
                       spread.At(FrameCentreX(static_cast<int>(n + 1)), kFrameCentreY));
        EXPECT_LT(deltaE, kMaxDeltaE) << patch.name;
    }
    // The page's colour is a colour of the output space, as it is written.
    EXPECT_LT(DeltaE2000(ReferenceLab(outputProfile, page), spread.At(50, 200)), kMaxDeltaE)
        << "page";
}

INSTANTIATE_TEST_SUITE_P(
    EngineColour, EngineOutputProfile,
    ::testing::Values(OutputCase{"sRGB_by_default", "", "1 (sRGB, Short, 1 components, 2 bytes)"},
                      OutputCase{"DisplayP3", "DisplayP3",
                                 "65535 (Uncalibrated, Short, 1 components, 2 bytes)"},
                      OutputCase{"AdobeRGB_by_name", "AdobeRGB",
                                 "65535 (Uncalibrated, Short, 1 components, 2 bytes)"},
                      OutputCase{"AdobeRGB_profile_file", "AdobeRGB1998.icc",
                                 "65535 (Uncalibrated, Short, 1 components, 2 bytes)"}),
    [](const ::testing::TestParamInfo<OutputCase>& outputCase) {
        return std::string(outputCase.param.name);
    });

/// Orientation n's stored pixels for a picture that shows `upright`: the inverse of the turn
/// or mirror the tag asks a viewer to apply.
VImage StoredForOrientation(const VImage& upright, int orientation) {
    switch (orientation) {
    case 2:
        return upright.fliphor();
    case 3:
        return upright.rot180();
    case 4:
        return upright.flipver();
    case 5:
        return upright.rot90().fliphor(); // transposed
    case 6:
        return upright.rot270();
    case 7:
        return upright.rot90().flipver(); // transversed
    case 8:
        return upright.rot90();
    default:
        return upright;
    }
}

/// Four quadrants of `colours` (top-left, top-right, bottom-left, bottom-right).
VImage Quadrants(int width, int height, const std::vector<std::vector<double>>& colours,
                 VipsInterpretation interpretation) {
    return Solid(width, height, colours[0])
        .insert(Solid(width / 2, height / 2, colours[1]), width / 2, 0)
        .insert(Solid(width / 2, height / 2, colours[2]), 0, height / 2)
        .insert(Solid(width / 2, height / 2, colours[3]), width / 2, height / 2)
        .cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", interpretation));
}

TEST(EngineColour, EveryOrientationTagShowsThePictureUpright) {
    WorkFolder profiles;
    const std::string defaultCmyk = LibraryProfileFile(profiles, "cmyk");
    // Top-left, top-right, bottom-left, bottom-right.
    const std::vector<std::vector<double>> rgbQuadrants = {
        {230, 30, 30}, {30, 200, 60}, {40, 60, 220}, {240, 220, 40}};
    const std::vector<std::vector<double>> cmykQuadrants = {
        {0, 200, 200, 0}, {200, 0, 200, 0}, {200, 150, 0, 0}, {0, 30, 220, 0}};
    const struct {
        const char* kind;
        int width, height; // the CMYK picture is large enough to be shrunk while decoded
        VipsInterpretation interpretation;
        std::vector<std::vector<double>> quadrants;
        std::string profile; ///< what the numbers mean
        double toCalculatorUnits;
    } pictures[] = {
        {"sRGB", 120, 80, VIPS_INTERPRETATION_sRGB, rgbQuadrants, kSrgbProfile, 1.0},
        {"CMYK", 1200, 800, VIPS_INTERPRETATION_CMYK, cmykQuadrants, defaultCmyk, 100 / 255.0},
    };
    for (const auto& kind : pictures) {
        std::vector<Lab> expected;
        for (std::vector<double> colour : kind.quadrants) {
            for (double& value : colour)
                value *= kind.toCalculatorUnits;
            expected.push_back(
                ReferenceLab(kSrgbProfile, ReferenceConvert(kind.profile, kSrgbProfile, colour)));
        }
        const VImage upright =
            Quadrants(kind.width, kind.height, kind.quadrants, kind.interpretation);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(std::string(kind.kind) + ", orientation " + std::to_string(orientation));
            WorkFolder work;
            work.WriteFormats("[FORMAT_ONE]\nWIDTH_MM=40\nHEIGHT_MM=30\nFRAME_CNT=1\n"
                              "FRAME1=5,5,30,20\n");
            const std::string picture = work.FilePath(L"TEMP/CORRECT/turned.jpg");
            VImage stored = StoredForOrientation(upright, orientation).copy();
            stored.set(VIPS_META_ORIENTATION, orientation);
            stored.jpegsave(picture.c_str(), VImage::option()->set("Q", 98));
            work.WriteComposition(ZoInfo(1, 1) + Page(1, "ONE", 1) + Picture(1, picture, 0));
            const Spread spread = ComposedSpread(work);

            // The 300 x 200 pixel frame starts at (50, 50); sample each quadrant's middle.
            const int xs[] = {125, 275, 125, 275}, ys[] = {100, 100, 200, 200};
            for (int q = 0; q < 4; ++q)
                EXPECT_LT(DeltaE2000(expected[q], spread.At(xs[q], ys[q])), kMaxDeltaE)
                    << "quadrant " << q;
            EXPECT_EQ(VImage::new_from_file(spread.file.c_str()).get_int(VIPS_META_ORIENTATION), 1)
                << "the spread is upright itself";
        }
    }
}

TEST(EngineColour, CoverFillsTheFrameContainShowsThePageAroundThePicture) {
    const std::vector<double> adobeGreen = {40, 160, 60};
    const std::vector<double> page = {200, 120, 90};
    const struct {
        int imageFit;
        bool edgeShowsPicture;
    } fits[] = {{0, true}, {1, false}};
    for (const auto& fit : fits) {
        SCOPED_TRACE("fit " + std::to_string(fit.imageFit));
        WorkFolder work;
        work.WriteFormats(RowOfFrames(1, "200,120,90"));
        const std::string picture = work.FilePath(L"TEMP/CORRECT/wide.jpg");
        WriteSolid(picture, adobeGreen, VIPS_INTERPRETATION_sRGB, VIPS_FORMAT_UCHAR,
                   kAdobeRgbProfile, 200, 100);
        work.WriteComposition("[ZO_INFO]\nIMAGE_FIT=" + std::to_string(fit.imageFit) + "\n" +
                              ZoInfo(1, 1).substr(10) + Page(1, "ROW", 1) + Picture(1, picture, 0));
        const Spread spread = ComposedSpread(work);
        const Lab pictureLab = ReferenceLab(
            kSrgbProfile, ReferenceConvert(kAdobeRgbProfile, kSrgbProfile, adobeGreen));
        const Lab pageLab = ReferenceLab(kSrgbProfile, page);

        // The wide picture, contained in the square frame, fills its middle half only.
        EXPECT_LT(DeltaE2000(pictureLab, spread.At(70, 70)), kMaxDeltaE) << "middle";
        EXPECT_LT(DeltaE2000(fit.edgeShowsPicture ? pictureLab : pageLab, spread.At(70, 30)),
                  kMaxDeltaE)
            << "top edge of the frame";
    }
}

TEST(EngineColour, ABackgroundImageIsConvertedThroughItsProfile) {
    // A green far outside sRGB, written in Adobe RGB: a detour through sRGB would show.
    WorkFolder work;
    const std::vector<double> adobeGreen = {10, 200, 30};
    WriteSolid(work.FilePath(L"TEMP/CTML/paper.jpg"), adobeGreen, VIPS_INTERPRETATION_sRGB,
               VIPS_FORMAT_UCHAR, kAdobeRgbProfile);
    std::filesystem::copy_file(kAdobeRgbProfile, work.FilePath(L"TEMP/CTML/AdobeRGB1998.icc"));
    work.WriteFormats("[OUTPUT]\nOUTPUT_PROFILE=AdobeRGB1998.icc\n"
                      "[FORMAT_PAPER]\nWIDTH_MM=40\nHEIGHT_MM=30\nBACKGROUND=paper.jpg\n"
                      "FRAME_CNT=0\n");
    work.WriteComposition(ZoInfo(1, 0) + Page(1, "PAPER", 0));
    const Spread spread = ComposedSpread(work);

    EXPECT_LT(DeltaE2000(ReferenceLab(kAdobeRgbProfile, adobeGreen), spread.At(200, 150)),
              kMaxDeltaE);
}

TEST(EngineColour, AnUnusableOrOutsideOutputProfileStopsTheBook) {
    const struct {
        const char* name;
        const char* value;
        int expected;
    } cases[] = {
        {"missing file", "gone.icc", 23},
        {"a CMYK profile", "cmyk.icc", 23},
        {"not a profile", "QrmFormat.ini", 23},
        {"outside the data folder", "../../outside.icc", 32},
    };
    for (const auto& c : cases) {
        WorkFolder work;
        std::filesystem::copy_file(kCmykProfile, work.FilePath(L"TEMP/CTML/cmyk.icc"));
        std::filesystem::copy_file(kAdobeRgbProfile, work.FilePath(L"outside.icc"));
        work.WriteFormats(RowOfFrames(1, "200,120,90",
                                      std::string("[OUTPUT]\nOUTPUT_PROFILE=") + c.value + "\n"));
        const std::string picture = work.FilePath(L"TEMP/CORRECT/p.jpg");
        WriteSolid(picture, {40, 160, 60}, VIPS_INTERPRETATION_sRGB, VIPS_FORMAT_UCHAR, "");
        work.WriteComposition(ZoInfo(1, 1) + Page(1, "ROW", 1) + Picture(1, picture, 0));

        EXPECT_EQ(work.Compose(), c.expected) << c.name;
        EXPECT_FALSE(work.Temp().Exists(kFirstSpread)) << c.name;
    }
}

} // namespace
