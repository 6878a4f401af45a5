#include "GuiTestSupport.h"

#include "app/QueuedTransferView.h"

#include <wx/app.h>

#include <thread>

namespace {

struct RecordingSink : ITransferViewSink {
    void ShowListCell(int row, int column, const std::wstring& text) override {
        cells.push_back(std::to_wstring(row) + L"," + std::to_wstring(column) + L"," + text);
    }
    void ShowServingName(const std::wstring& name) override { names.push_back(name); }
    void ShowProgressText(const std::wstring& text) override { progress.push_back(text); }

    std::vector<std::wstring> cells, names, progress;
};

TEST(QueuedTransferView, WorkerUpdatesArriveOnTheGuiThreadInOrderWithTheLatestProgress) {
    RecordingSink sink;
    QueuedTransferView view(sink);
    std::thread worker([&view] {
        view.SetServingName(L"店頭1");
        for (int percent = 1; percent <= 500; ++percent)
            view.SetProgressText(L"合成中 " + std::to_wstring(percent) + L"%");
        view.SetListCell(0, 2, L"接続OK");
        view.SetListCell(0, 5, L"エラー");
        view.SetServingName(L"");
    });
    worker.join();
    EXPECT_TRUE(sink.progress.empty()) << "nothing is shown before the GUI thread runs";
    PumpPending();
    EXPECT_EQ(sink.names, (std::vector<std::wstring>{L"店頭1", L""}));
    EXPECT_EQ(sink.cells, (std::vector<std::wstring>{L"0,2,接続OK", L"0,5,エラー"}));
    ASSERT_FALSE(sink.progress.empty());
    EXPECT_EQ(sink.progress.back(), L"合成中 500%");
    EXPECT_LT(sink.progress.size(), 10u) << "progress lines are coalesced";
}

TEST(QueuedTransferView, UpdatesStillQueuedWhenTheViewGoesAreDropped) {
    RecordingSink sink;
    {
        QueuedTransferView view(sink);
        view.SetListCell(1, 2, L"接続OK");
        view.SetProgressText(L"合成中 5%");
    }
    PumpPending();
    EXPECT_TRUE(sink.cells.empty());
    EXPECT_TRUE(sink.progress.empty());
}

} // namespace
