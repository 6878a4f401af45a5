#include "composition/ZoRiEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "../components/fake_engine/FakeZoRiRecord.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystemCalls.h"
#include "platform/ModulePath.h"

namespace {

using namespace std::chrono_literals;

std::wstring FakeEnginePath(const std::wstring& variant) {
    std::wstring program = platform::GetModuleFilePath();
    std::wstring folder = program.substr(0, program.find_last_of(platform::kPathSeparator));
    const wchar_t sep = platform::kPathSeparator;
    return folder + sep + L"fake-zori" + sep + variant + sep + L"QRM_ZO_RI.dll";
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
        for (int i = 0; i < 500 && m_record->started == 0; ++i)
            std::this_thread::sleep_for(10ms);
        return m_record->started != 0;
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

    FakeEngine fake;
    CZoRiEngine adapter;
    int prepared;
};

/// Runs a composition on a thread of its own, as the transfer thread does; the adapter is
/// created there too, so that thread also owns the wrapper window and pumps its reports.
class BackgroundRun {
public:
    BackgroundRun(const std::wstring& library, const std::wstring& dataPath) {
        std::promise<CZoRiEngine*> adapterReady;
        auto adapterFuture = adapterReady.get_future();
        m_result = m_code.get_future();
        m_thread = std::async(std::launch::async, [this, library, dataPath, &adapterReady] {
            CZoRiEngine adapter(library);
            // An engine that cannot be loaded shows as the result of the run below.
            (void)adapter.Prepare();
            adapterReady.set_value(&adapter);
            EngineRunParams params = ParamsFor(dataPath);
            m_code.set_value(adapter.Run(&params));
            m_mayFinish.get_future().wait(); // the test may still be using the adapter
        });
        m_adapter = adapterFuture.get();
    }
    ~BackgroundRun() {
        if (!m_finished) {
            m_adapter->RequestCancel();
            m_mayFinish.set_value();
        }
    }
    CZoRiEngine& Adapter() { return *m_adapter; }
    bool EndsWithin(std::chrono::seconds limit) {
        return m_result.wait_for(limit) == std::future_status::ready;
    }
    int Result() {
        m_finished = true;
        m_mayFinish.set_value();
        return m_result.get();
    }

private:
    std::promise<void> m_mayFinish;
    std::promise<int> m_code;
    std::future<int> m_result;
    std::future<void> m_thread;
    CZoRiEngine* m_adapter = nullptr;
    bool m_finished = false;
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
    ASSERT_TRUE(setup.fake.Ready());
    ASSERT_EQ(setup.prepared, 0);
    EXPECT_EQ(setup.Run(L"succeed"), -1);
    EXPECT_STREQ(setup.fake.Record().callOrder, "C");
}

TEST(ZoRiEngine, IncompleteParametersReturnMinusOneBeforeCreatingAnInstance) {
    PreparedAdapter setup(L"complete");
    ASSERT_TRUE(setup.fake.Ready());
    ASSERT_EQ(setup.prepared, 0);
    EXPECT_EQ(setup.adapter.Run(nullptr), -1);
    EXPECT_EQ(setup.Run(L""), -1);
    EngineRunParams noFile = ParamsFor(L"succeed");
    noFile.SetCompositionInfoPath(L"");
    EXPECT_EQ(setup.adapter.Run(&noFile), -1);
    EXPECT_EQ(setup.fake.Record().calls, 0);
}

TEST(ZoRiEngine, SuccessfulRunHandsOverDefaultsInOrderAndReportsProgress) {
    FakeEngine fake(L"complete");
    ASSERT_TRUE(fake.Ready());
    CZoRiEngine adapter(fake.Path());
    ASSERT_EQ(adapter.Prepare(), 0);
    EngineRunParams params = ParamsFor(L"succeed");
    params.midPictureWidth = 0;
    params.midPictureHeight = 0;
    params.startValue = 0;

    EXPECT_EQ(adapter.Run(&params), 0);

    FakeZoRiRecord& record = fake.Record();
    EXPECT_STREQ(record.callOrder, "CMDAIR"); // setWindowHdl is never called
    EXPECT_EQ(record.midWidth, 400);
    EXPECT_EQ(record.midHeight, 400);
    EXPECT_EQ(record.startValue, 300);
    EXPECT_EQ(record.creationValue, 103);
    EXPECT_EQ(record.applicationId, 1);
    EXPECT_EQ(std::wstring(record.iniPath), L"/work/TEMP/COMPOSITION_INFO/QrmZoInRi.ini");
    EXPECT_EQ(adapter.GetProgress(), 40);
    EXPECT_EQ(adapter.Prepare(), 0);
    EXPECT_EQ(adapter.GetProgress(), 0);
}

TEST(ZoRiEngine, EngineFailureCodeBecomesTheResult) {
    PreparedAdapter setup(L"complete");
    ASSERT_TRUE(setup.fake.Ready());
    ASSERT_EQ(setup.prepared, 0);
    EXPECT_EQ(setup.Run(L"fail-7"), 7);
    EXPECT_EQ(setup.fake.Record().releaseCalls, 1);
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
        BackgroundRun run(fake.Path(), engine.behaviour);
        ASSERT_TRUE(fake.WaitUntilStarted());

        run.Adapter().RequestCancel();
        ASSERT_TRUE(run.EndsWithin(3s));
        EXPECT_EQ(run.Result(), engine.result);
        EXPECT_EQ(fake.Record().cancelCalls, 1);
        EXPECT_EQ(fake.Record().releaseCalls, 1);
    }
}

TEST(ZoRiEngine, CancelWithoutARunningCompositionIsIgnored) {
    PreparedAdapter setup(L"complete");
    ASSERT_TRUE(setup.fake.Ready());
    ASSERT_EQ(setup.prepared, 0);
    setup.adapter.RequestCancel();
    EXPECT_EQ(setup.Run(L"succeed"), 0);
    EXPECT_EQ(setup.fake.Record().cancelCalls, 0);
}

} // namespace
