#include "fileutil/TemporaryName.h"

#include <cstdint>
#include <random>

std::wstring TemporaryFileName() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring name = L".rdtmp-";
    std::uint64_t bits = random();
    for (int i = 0; i < 16; ++i, bits >>= 4)
        name += kDigits[bits & 0xF];
    return name + L".part";
}
