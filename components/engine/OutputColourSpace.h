#pragma once
/// The colour space a book is composed in and written with: every picture is brought into it
/// through its own ICC profile, page colours are numbers in it, and every spread carries its
/// profile. Composing in the output space means one conversion per picture, done on the
/// picture shrunk to its frame, and none for the spread.

#include <optional>
#include <string>
#include <vips/vips8>

namespace zori {

/// Names of the output profiles the image library carries itself (docs/engine.md).
inline constexpr wchar_t kSrgbProfileName[] = L"sRGB";
inline constexpr wchar_t kDisplayP3ProfileName[] = L"DisplayP3";
/// Named output profile installed in the program folder, under the file name below.
inline constexpr wchar_t kAdobeRgbProfileName[] = L"AdobeRGB";
inline constexpr wchar_t kAdobeRgbProfileFile[] = L"AdobeRGB1998.icc";

/// CMYK pictures without a profile are taken through the image library's own CMYK profile.
inline constexpr char kDefaultCmykProfile[] = "cmyk";

/// Relative colorimetric keeps in-gamut colours exact, which photos almost always are.
inline constexpr VipsIntent kRenderingIntent = VIPS_INTENT_RELATIVE;

class OutputColourSpace {
public:
    /// `profile` is one of the names above or the path of an RGB ICC profile file; nothing
    /// when the profile cannot be read or is no RGB output profile.
    static std::optional<OutputColourSpace> Open(const std::wstring& profile);

    /// The profile as the image library's ICC operations take it: a built-in name or a path.
    const std::string& ProfileForLibrary() const { return m_libraryName; }

    /// A picture without a profile, taken as sRGB (grey as sRGB grey), in the output space.
    vips::VImage FromUntagged(const vips::VImage& picture) const;

    /// Three 8-bit bands; transparency laid over `pageRgb` (a colour in the output space).
    static vips::VImage OnPage(vips::VImage picture, const std::uint8_t pageRgb[3]);

    /// Drops what the pictures brought along (their profiles, EXIF, orientation) and tags the
    /// spread with the output profile and the matching EXIF ColorSpace.
    vips::VImage Tag(const vips::VImage& spread) const;

private:
    OutputColourSpace(std::string libraryName, std::string profileBytes, bool srgb)
        : m_libraryName(std::move(libraryName)), m_profileBytes(std::move(profileBytes)),
          m_srgb(srgb) {}

    std::string m_libraryName;
    std::string m_profileBytes;
    bool m_srgb;
};

} // namespace zori
