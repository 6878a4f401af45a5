#include "ReferenceColour.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Profile = std::unique_ptr<void, decltype(&cmsCloseProfile)>;

Profile Open(const std::string& name) {
    return {name == kLabSpace ? cmsCreateLab4Profile(nullptr)
                              : cmsOpenProfileFromFile(name.c_str(), "r"),
            &cmsCloseProfile};
}

/// The profile's values as doubles, and the factor from the calculator's units to lcms2's
/// (RGB and grey 0-1; CMYK percent and CIELAB as they are).
struct Layout {
    cmsUInt32Number format = 0;
    double scale = 1.0;
    std::size_t channels = 0;
};

Layout LayoutOf(cmsHPROFILE profile) {
    switch (cmsGetColorSpace(profile)) {
    case cmsSigRgbData:
        return {TYPE_RGB_DBL, 1 / 255.0, 3};
    case cmsSigGrayData:
        return {TYPE_GRAY_DBL, 1 / 255.0, 1};
    case cmsSigCmykData:
        return {TYPE_CMYK_DBL, 1.0, 4};
    case cmsSigLabData:
        return {TYPE_Lab_DBL, 1.0, 3};
    default:
        return {};
    }
}

} // namespace

std::vector<double> ReferenceConvert(const std::string& from, const std::string& to,
                                     const std::vector<double>& values) {
    const Profile input = Open(from), output = Open(to);
    EXPECT_TRUE(input && output) << from << " -> " << to;
    if (!input || !output)
        return {};
    const Layout in = LayoutOf(input.get()), out = LayoutOf(output.get());
    EXPECT_EQ(values.size(), in.channels) << from;
    std::unique_ptr<void, decltype(&cmsDeleteTransform)> transform(
        cmsCreateTransform(input.get(), in.format, output.get(), out.format,
                           INTENT_RELATIVE_COLORIMETRIC, 0),
        &cmsDeleteTransform);
    EXPECT_TRUE(transform) << from << " -> " << to;
    if (!transform || values.size() != in.channels || out.channels == 0)
        return {};
    std::vector<double> source(values), converted(out.channels);
    for (double& value : source)
        value *= in.scale;
    cmsDoTransform(transform.get(), source.data(), converted.data(), 1);
    for (double& value : converted)
        value /= out.scale;
    return converted;
}

Lab ReferenceLab(const std::string& profile, const std::vector<double>& values) {
    const std::vector<double> lab = ReferenceConvert(profile, kLabSpace, values);
    if (lab.size() != 3)
        return {};
    return {lab[0], lab[1], lab[2]};
}
