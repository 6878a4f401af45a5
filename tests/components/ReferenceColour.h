#pragma once
/// Colours converted by lcms2, a colour engine independent of the one the composition engine
/// drives, to hold composed spreads against.

#include <lcms2.h>

#include <string>
#include <vector>

using Lab = cmsCIELab;

/// Profile name that stands for CIELAB (D50) as a conversion's target.
inline const std::string kLabSpace = "*Lab";

/// Converts `values` from profile `from` to profile `to` (files, or kLabSpace), relative
/// colorimetric. Values in the calculator's units: RGB and grey 0-255, CMYK percent.
std::vector<double> ReferenceConvert(const std::string& from, const std::string& to,
                                     const std::vector<double>& values);

/// `values` (0-255) of an RGB or grey profile as CIELAB.
Lab ReferenceLab(const std::string& profile, const std::vector<double>& values);

/// The CIEDE2000 difference of two CIELAB colours (kL = kC = kH = 1).
inline double DeltaE2000(const Lab& first, const Lab& second) {
    return cmsCIE2000DeltaE(&first, &second, 1, 1, 1);
}
