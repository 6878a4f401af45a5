#pragma once
/// CIEDE2000 colour difference, for tests that hold composed colours against a reference.

struct Lab {
    double l = 0, a = 0, b = 0;
};

/// The CIEDE2000 difference of two CIELAB colours (kL = kC = kH = 1).
double DeltaE2000(const Lab& first, const Lab& second);
