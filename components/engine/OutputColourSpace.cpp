#include "OutputColourSpace.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/FileSystemCalls.h"
#include "platform/ModulePath.h"

namespace zori {

namespace {

using vips::VImage;

/// EXIF ColorSpace: 1 is sRGB; every other space is "uncalibrated" and told by the profile.
constexpr const char* kExifSrgb = "1";
constexpr const char* kExifUncalibrated = "65535";

/// The image library's names for the profiles it carries.
constexpr const char* kLibrarySrgb = "srgb";
constexpr const char* kLibraryDisplayP3 = "p3";

std::string BuiltInProfileBytes(const char* name) {
    VipsBlob* blob = VImage::profile_load(name);
    size_t length = 0;
    const void* data = vips_blob_get(blob, &length);
    std::string bytes(static_cast<const char*>(data), length);
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
}

/// True when pictures can be converted to `profile` and come out as three bands.
bool IsRgbOutputProfile(const std::string& profile) {
    try {
        VImage probe = VImage::black(1, 1, VImage::option()->set("bands", 3))
                           .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
        VImage converted = probe.icc_transform(
            profile.c_str(), VImage::option()->set("input_profile", kLibrarySrgb));
        converted.getpoint(0, 0);
        return converted.bands() == 3;
    } catch (const vips::VError&) {
        return false;
    }
}

} // namespace

std::optional<OutputColourSpace> OutputColourSpace::Open(const std::wstring& profile) {
    if (profile.empty() || profile == kSrgbProfileName)
        return OutputColourSpace(kLibrarySrgb, BuiltInProfileBytes(kLibrarySrgb), true);
    if (profile == kDisplayP3ProfileName)
        return OutputColourSpace(kLibraryDisplayP3, BuiltInProfileBytes(kLibraryDisplayP3), false);

    const std::filesystem::path path =
        profile == kAdobeRgbProfileName
            ? platform::ToFsPath(platform::GetModuleFilePath()).parent_path() / kAdobeRgbProfileFile
            : platform::ToFsPath(profile);
    std::ifstream file(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof())
        return std::nullopt;
    if (bytes.empty() || !IsRgbOutputProfile(path.string()))
        return std::nullopt;
    return OutputColourSpace(path.string(), std::move(bytes), false);
}

VImage OutputColourSpace::FromUntagged(const VImage& picture) const {
    // Untagged numbers are sRGB numbers: grey is spread over three bands without any change
    // of colour, and 16-bit pictures keep their 16 bits until the conversion.
    const bool deep = picture.format() == VIPS_FORMAT_USHORT;
    VImage rgb = picture.colourspace(deep ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB);
    if (m_srgb)
        return rgb.colourspace(VIPS_INTERPRETATION_sRGB);
    return rgb.icc_transform(m_libraryName.c_str(), VImage::option()
                                                        ->set("input_profile", kLibrarySrgb)
                                                        ->set("intent", kRenderingIntent)
                                                        ->set("depth", 8));
}

VImage OutputColourSpace::OnPage(VImage picture, const std::uint8_t pageRgb[3]) {
    if (picture.has_alpha())
        picture = picture.flatten(VImage::option()->set(
            "background",
            std::vector<double>{double(pageRgb[0]), double(pageRgb[1]), double(pageRgb[2])}));
    if (picture.bands() > 3)
        picture = picture.extract_band(0, VImage::option()->set("n", 3));
    return picture.format() == VIPS_FORMAT_UCHAR ? picture : picture.cast(VIPS_FORMAT_UCHAR);
}

VImage OutputColourSpace::Tag(const VImage& spread) const {
    VImage tagged = spread.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    VipsImage* image = tagged.get_image();
    gchar** fields = vips_image_get_fields(image);
    for (gchar** field = fields; *field != nullptr; ++field)
        vips_image_remove(image, *field); // header fields are not metadata and stay
    g_strfreev(fields);
    vips_image_set_blob_copy(image, VIPS_META_ICC_NAME, m_profileBytes.data(),
                             m_profileBytes.size());
    vips_image_set_string(image, "exif-ifd2-ColorSpace", m_srgb ? kExifSrgb : kExifUncalibrated);
    return tagged;
}

} // namespace zori
