#pragma once
/// An in-process controller on a program folder of its own, with a test view that records
/// what the workers show and can act at the moment an order's transfer starts (as the
/// window's commands may), and a log client that keeps the lines in memory.

#include "FolderNames.h"
#include "RecordedLog.h"
#include "TempFolder.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "transfer/ITransferView.h"
#include "transfer/RelaydeskController.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class RecordingView : public ITransferView {
public:
    void SetListCell(int row, int column, const std::wstring& text) override;
    void SetServingName(const std::wstring& name) override;
    void SetProgressText(const std::wstring& text) override;

    /// Runs on the transfer thread when a terminal's order is about to be transferred.
    std::function<void(const std::wstring& terminalName)> onServing;

    std::wstring Cell(int row, int column) const;
    std::vector<std::wstring> ServingNames() const;
    std::vector<std::wstring> ProgressTexts() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::pair<int, int>, std::wstring> m_cells;
    std::vector<std::wstring> m_servingNames;
    std::vector<std::wstring> m_progressTexts;
};

class ControllerHarness {
    // First made, last gone: the controller's workers log until it is gone.
    RecordedLog m_log;

public:
    ControllerHarness();

    /// Adds a switched-on terminal whose folders lie in the test folder.
    void AddTerminal(const std::wstring& name, const std::wstring& input,
                     const std::wstring& output);
    void WriteOrder(const std::wstring& input, int orderNumber) const;

    /// Starts both workers (where they do not run yet) and dispatches this thread's window messages
    /// until `done` holds (checked between dispatches; `onPump` runs there too) or ten minutes have
    /// passed.
    bool RunUntil(const std::function<bool()>& done, const std::function<void()>& onPump = {});

    /// How many of the messages logged so far are exactly `text`.
    int CountLogLines(const std::wstring& text) const;

    TempFolder folder;
    RecordingView view;
    ShareResolver files;
    std::unique_ptr<RelaydeskController> controller;
};
