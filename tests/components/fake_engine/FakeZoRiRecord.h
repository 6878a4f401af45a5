#pragma once
/// What the stand-in engine library records, as the tests read it through its hook
/// "FakeZoRi_Record".

#include <atomic>
#include <cstdint>

struct FakeZoRiRecord {
    std::atomic<int> calls{0};
    std::atomic<int> cancelCalls{0};
    std::atomic<int> releaseCalls{0};
    std::atomic<int> started{0};
    std::int32_t midWidth = 0;
    std::int32_t midHeight = 0;
    std::int32_t startValue = 0;
    std::int32_t applicationId = 0;
    std::int32_t creationValue = 0;
    char callOrder[64] = {};
    wchar_t iniPath[260] = {};
    wchar_t dataPath[260] = {};

    void Reset() {
        calls = cancelCalls = releaseCalls = started = 0;
        midWidth = midHeight = startValue = applicationId = creationValue = 0;
        callOrder[0] = '\0';
        iniPath[0] = dataPath[0] = L'\0';
    }
};

using FakeZoRiRecordFunction = FakeZoRiRecord* (*)();
