#pragma once
/// A composition run on a thread of its own, as the transfer thread runs it: the adapter is
/// made there too, so that thread also owns the wrapper window and pumps its reports.

#include "composition/ZoRiEngine.h"

#include <chrono>
#include <future>
#include <string>

class BackgroundRun {
public:
    BackgroundRun(const std::wstring& library, const EngineRunParams& params) {
        std::promise<CZoRiEngine*> adapterReady;
        auto adapterFuture = adapterReady.get_future();
        m_result = m_code.get_future();
        m_thread = std::async(std::launch::async, [this, library, params, &adapterReady] {
            CZoRiEngine adapter(library);
            // An engine that cannot be loaded shows as the result of the run below.
            (void)adapter.Prepare();
            adapterReady.set_value(&adapter);
            EngineRunParams run = params;
            m_code.set_value(adapter.Run(&run));
            m_mayFinish.get_future().wait(); // the test may still be using the adapter
        });
        m_adapter = adapterFuture.get();
    }
    /// A run the test has not waited for is cancelled.
    ~BackgroundRun() {
        if (!m_finished) {
            m_adapter->RequestCancel();
            m_mayFinish.set_value();
        }
    }
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    CZoRiEngine& Adapter() { return *m_adapter; }
    /// A bound to wait for the run, not a measure of it.
    bool EndsWithin(std::chrono::seconds limit) {
        return m_result.wait_for(limit) == std::future_status::ready;
    }
    /// The run's result, once it has ended; the adapter goes then.
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
