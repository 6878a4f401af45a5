#pragma once
/// The image library for tests that make or inspect pictures themselves.

#include <vips/vips8>

/// Starts libvips once per test process; true when it runs.
inline bool StartTestImages() {
    static const bool started = vips_init("relaydesk-tests") == 0;
    return started;
}
