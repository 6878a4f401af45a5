#include "composition/ZoRiEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "../components/fake_engine/FakeZoRiRecord.h"
#include "BackgroundRun.h"
#include "Eventually.h"
#include "TempFolder.h"
#include "fileutil/FileUtil.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystemCalls.h"

namespace {

using namespace std::chrono_literals;

std::wstring FakeEnginePath(const std::wstring& variant) {
    return NativePath(GetModuleFolder() + L"/fake-zori/" + variant + L"/QRM_ZO_RI.dll");
}

EngineRunParams ParamsFor(const std::wstring& dataPath) {
    EngineRunParams params;
    params.SetCompositionInfoPath(L"/work/TEMP/COMPOSITION_INFO/QrmZoInRi.ini");
    params.SetDataPath(dataPath);
    return params;
}

/// Holds a stand-in engine library open to read what it recorded.
class FakeEngine {
public:
    explicit FakeEngine(const std::wstring& variant) : m_path(FakeEnginePath(variant)) {
        m_library.Load(m_path);
        auto recordOf = m_library.Resolve<FakeZoRiRecordFunction>("FakeZoRi_Record");
        m_record = recordOf ? recordOf() : nullptr;
        if (m_record)
            m_record->Reset();
    }
    bool Ready() const { return m_record != nullptr; }
    const std::wstring& Path() const { return m_path; }
    FakeZoRiRecord& Record() { return *m_record; }

    /// Waits (bounded) until the engine has received the start message.
    bool WaitUntilStarted() {
        return Eventually([this] { return m_record->started != 0; }, 5s);
    }

private:
    std::wstring m_path;
    platform::DynamicLibrary m_library;
    FakeZoRiRecord* m_record = nullptr;
};

/// A stand-in engine and an adapter that has prepared it, for runs on the test's thread.
struct PreparedAdapter {
    explicit PreparedAdapter(const std::wstring& variant)
        : fake(variant), adapter(fake.Path()), prepared(adapter.Prepare()) {}
    int Run(const std::wstring& dataPath) {
        EngineRunParams params = ParamsFor(dataPath);
        return adapter.Run(&params);
    }
    /// Whether the stand-in was loaded and prepared.
    bool Usable() const { return fake.Ready() && prepared == 0; }

    FakeEngine fake;
    CZoRiEngine adapter;
    int prepared;
};

TEST(ZoRiEngine, MissingLibraryMakesRunReturnMinusOne) {
    CZoRiEngine adapter(FakeEnginePath(L"no-such-variant"));
    EXPECT_EQ(adapter.Prepare(), -1);
    EngineRunParams params = ParamsFor(L"succeed");
    EXPECT_EQ(adapter.Run(&params), -1);
}

TEST(ZoRiEngine, MissingEntryPointMakesRunReturnWithoutCallingTheLibrary) {
    PreparedAdapter setup(L"omit-cancel");
    ASSERT_TRUE(setup.fake.Ready());
    EXPECT_EQ(setup.prepared, -1);
    EXPECT_EQ(setup.adapter.LoadEngine(), -1);
    EXPECT_EQ(setup.Run(L"succeed"), -1);
    EXPECT_EQ(setup.fake.Record().calls, 0);
}

TEST(ZoRiEngine, RefusedInstanceReturnsMinusOneAndReleasesNothing) {
    PreparedAdapter setup(L"create-fails");
    ASSERT_TRUE(setup.Usable());
    EXPECT_EQ(setup.Run(L"succeed"), -1);
    EXPECT_STREQ(setup.fake.Record().callOrder, "C");
}

TEST(ZoRiEngine, IncompleteParametersReturnMinusOneBeforeCreatingAnInstance) {
    PreparedAdapter setup(L"complete");
    ASSERT_TRUE(setup.Usable());
    EXPECT_EQ(setup.adapter.Run(nullptr), -1);
    EXPECT_EQ(setup.Run(L""), -1);
    EngineRunParams noFile = ParamsFor(L"succeed");
    noFile.SetCompositionInfoPath(L"");
    EXPECT_EQ(setup.adapter.Run(&noFile), -1);
    EXPECT_EQ(setup.fake.Record().calls, 0);
}

TEST(ZoRiEngine, SuccessfulRunHandsOverDefaultsInOrderAndReportsProgress) {
    PreparedAdapter setup(L"complete");
    ASSERT_TRUE(setup.Usable());
    EngineRunParams params = ParamsFor(L"succeed");
    params.midPictureWidth = 0;
    params.midPictureHeight = 0;
    params.startValue = 0;

    EXPECT_EQ(setup.adapter.Run(&params), 0);

    FakeZoRiRecord& record = setup.fake.Record();
    EXPECT_STREQ(record.callOrder, "CMDAIR"); // setWindowHdl is never called
    EXPECT_EQ(record.midWidth, 400);
    EXPECT_EQ(record.midHeight, 400);
    EXPECT_EQ(record.startValue, 300);
    EXPECT_EQ(record.creationValue, 103);
    EXPECT_EQ(record.applicationId, 1);
    EXPECT_EQ(std::wstring(record.iniPath), L"/work/TEMP/COMPOSITION_INFO/QrmZoInRi.ini");
    EXPECT_EQ(setup.adapter.GetProgress(), 40);
    EXPECT_EQ(setup.adapter.Prepare(), 0);
    EXPECT_EQ(setup.adapter.GetProgress(), 0);
}

TEST(ZoRiEngine, LongPathsAreCutToTheFieldSize) {
    EngineRunParams params;
    params.SetDataPath(std::wstring(300, L'写'));
    EXPECT_EQ(std::wstring(params.dataPath), std::wstring(259, L'写'));
}

TEST(ZoRiEngine, CancelEndsARunningCompositionAndAnAbortReportIsItsResult) {
    const struct {
        const wchar_t* behaviour; ///< a silent engine, or one that answers with abort code 9
        int result;
    } engines[] = {{L"silent", 0}, {L"cancel-9", 9}};
    for (const auto& engine : engines) {
        FakeEngine fake(L"complete");
        ASSERT_TRUE(fake.Ready());
        BackgroundRun run(fake.Path(), ParamsFor(engine.behaviour));
        ASSERT_TRUE(fake.WaitUntilStarted());

        run.Adapter().RequestCancel();
        ASSERT_TRUE(run.EndsWithin(3s));
        EXPECT_EQ(run.Result(), engine.result);
        EXPECT_EQ(fake.Record().cancelCalls, 1);
        EXPECT_EQ(fake.Record().releaseCalls, 1);
    }
}

} // namespace
