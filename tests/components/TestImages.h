#pragma once
/// The image library for tests that make or inspect pictures themselves.

#include <vips/vips8>

/// Starts libvips once per test process; true when it runs.
inline bool StartTestImages() {
    static const bool started = [] {
        if (vips_init("relaydesk-tests") != 0)
            return false;
        // A cached load keeps its file open, and Windows deletes no open file: the test's
        // folder must go when it ends.
        vips_cache_set_max(0);
        return true;
    }();
    return started;
}
