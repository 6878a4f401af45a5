#pragma once
/// A machine registry of the test's own, given as the text of the POSIX stand-in: "[key
/// path]" sections holding "name=value" lines. On POSIX it is that file, named by
/// RELAYDESK_REGISTRY. On Windows the keys are written into HKEY_LOCAL_MACHINE as a 32-bit
/// program writes them (the controller software is one), and removed again at the end;
/// tests that use it must not run side by side in one Windows (see tests/CMakeLists.txt).

#include "TempFolder.h"

#include <string>
#include <string_view>
#include <vector>

class TestRegistry {
public:
    /// Starts empty: no key exists.
    TestRegistry();
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    /// Replaces every key and value with those of `text`.
    void Use(std::string_view text);

private:
    void Clear();
    TempFolder m_folder;
    std::vector<std::wstring> m_keys;
};
