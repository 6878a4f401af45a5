#include "ControllerHarness.h"

#include "LogRecords.h"

#include "fileutil/FileUtil.h"
#include "kiosk/KioskOrder.h"
#include "kiosk/SyntheticPhoto.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

void RecordingView::SetListCell(int row, int column, const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    m_cells[{row, column}] = text;
}

void RecordingView::SetServingName(const std::wstring& name) {
    {
        std::lock_guard lock(m_mutex);
        m_servingNames.push_back(name);
    }
    if (!name.empty() && onServing)
        onServing(name);
}

void RecordingView::SetProgressText(const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    m_progressTexts.push_back(text);
}

std::wstring RecordingView::Cell(int row, int column) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_cells.find({row, column});
    return found == m_cells.end() ? std::wstring() : found->second;
}

std::vector<std::wstring> RecordingView::ServingNames() const {
    std::lock_guard lock(m_mutex);
    return m_servingNames;
}

std::vector<std::wstring> RecordingView::ProgressTexts() const {
    std::lock_guard lock(m_mutex);
    return m_progressTexts;
}

ControllerHarness::ControllerHarness() {
    controller = std::make_unique<RelaydeskController>(view, files, folder.Path());
    controller->Initialize();
    std::array<std::wstring, kConnectionStatusCount> statusTexts;
    for (int status = 0; status < kConnectionStatusCount; ++status)
        statusTexts[static_cast<size_t>(status)] = L"状態" + std::to_wstring(status);
    controller->SetTexts(statusTexts, L"合成中 %d%", L"保留 %s");
}

void ControllerHarness::AddTerminal(const std::wstring& name, const std::wstring& input,
                                    const std::wstring& output) {
    // An empty folder name stands for a terminal without that folder.
    for (const std::wstring* made : {&input, &output}) {
        if (!made->empty()) {
            ASSERT_TRUE(MakeFolderPath(*made));
        }
    }
    controller->ModifyTerminalTable([&](TerminalTable& table) {
        TerminalEntry entry;
        entry.name = name;
        entry.path = input;
        entry.outName = name + L"出力";
        entry.outPath = output;
        ASSERT_TRUE(table.AddTerminal(entry));
        table.slots[static_cast<size_t>(table.UsedCount() - 1)].enabled = 1;
    });
}

void ControllerHarness::WriteOrder(const std::wstring& input, int orderNumber) const {
    std::wstring error;
    ASSERT_TRUE(kiosk::StartImages());
    ASSERT_TRUE(kiosk::WriteOrder(kiosk::QuickOrder(input, orderNumber), error))
        << platform::WideToUtf8(error);
}

bool ControllerHarness::RunUntil(const std::function<bool()>& done,
                                 const std::function<void()>& onPump) {
    controller->StartCheckThread();
    // A second wait goes on with the workers of the first.
    if (!controller->IsTransferRunning())
        controller->ThreadStart();
    // A bound, not a measure: under ThreadSanitizer one composition takes minutes.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        // The engine's wrapper window belongs to this thread.
        platform::WaitForWindowMessage(20);
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message))
            platform::DispatchWindowMessage(message);
        if (onPump)
            onPump();
    }
    return true;
}

int ControllerHarness::CountLogLines(const std::wstring& text) const {
    return CountOf(m_log.Messages(), text);
}
