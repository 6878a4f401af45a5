// The controller in process with the real composition engine: workers, flags, the view, the
// shared terminal table and the transfer's outcomes when folders change under it.

#include "ControllerHarness.h"
#include "Eventually.h"
#include "FileFaults.h"
#include "ShellQuote.h"
#include "ThreadStat.h"

#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "transfer/OrderFolderName.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>

namespace {

/// Takes a share's folder away (`step` renames or deletes it) as a share that goes off the
/// network: that is never refused, but Windows refuses to rename or delete a folder while
/// another thread lists it, as the controller's poller does on every pass. Tried again until
/// that listing has ended.
template <typename Step> bool TakeAway(const Step& step) {
    return Eventually([&] { return static_cast<bool>(step()); }, std::chrono::seconds(5));
}

class Controller : public ::testing::Test, protected ControllerHarness {
protected:
    void SetUp() override {
        input = folder / L"受付/input";
        output = folder / L"受付/output";
        AddTerminal(L"受付", input, output);
    }

    bool InputShows(const Names& names) const { return FolderNames(input) == names; }
    /// Runs until the first transfer attempt has ended, whatever its outcome.
    bool RunUntilTheFirstAttemptEnds() {
        return RunUntil([&] {
            return CountLogLines(L"Relaydesk2 IN TerminalFolder:") == 1 &&
                   !controller->IsOrderBusy();
        });
    }
    /// Order `number` with its backup made already, so that the transfer writes pictures
    /// only into the work folder; its folder.
    std::wstring WriteOrderWithBackup(int number) {
        WriteOrder(input, number);
        const std::wstring order = JoinPath(input, OrderFolderName(kWaitingLetter, number));
        EXPECT_TRUE(
            CopyFolder(LocalFolders(), JoinPath(order, L"IMAGE"), JoinPath(order, L"CORRECT_BK")));
        return order;
    }

    std::wstring input, output;
};

TEST_F(Controller, TransfersWhileTheWindowChangesTheTable) {
    AddTerminal(L"予備", folder / L"予備/input", folder / L"予備/output");
    WriteOrder(input, 1);
    int edits = 0;
    // The window's commands: check boxes, edits and reads, as fast as its thread can.
    const bool done = RunUntil([&] { return InputShows({L"e0000001"}); },
                               [&] {
                                   controller->ModifyTerminalTable([&](TerminalTable& table) {
                                       table.slots[1].enabled = edits % 2;
                                       table.slots[1].name = L"予備" + std::to_wstring(edits);
                                   });
                                   EXPECT_EQ(controller->GetTerminalTable().UsedCount(), 2);
                                   ++edits;
                               });
    controller->Shutdown();
    ASSERT_TRUE(done);
    EXPECT_EQ(FolderNames(output), (Names{L"o0000001"}));
    EXPECT_FALSE(controller->IsTransferRunning());
    EXPECT_FALSE(controller->IsCheckRunning());
    EXPECT_EQ(CountLogLines(L"Relaydesk2 end"), 1);
    EXPECT_EQ(CountLogLines(L"RelaydeskThreadMain OUT"), 1);
    EXPECT_EQ(CountLogLines(L"CheckConnectStatusThread OUT"), 1);
}

TEST_F(Controller, ShowsConnectionStatesServedTerminalAndProgress) {
    AddTerminal(L"欠落", folder / L"欠落/input", L"");
    WriteOrder(input, 2);
    std::optional<bool> transferThreadLowered;
    view.onServing = [&](const std::wstring&) {
        transferThreadLowered = CallingThreadRunsAtLowestNormalPriority();
    };
    ASSERT_TRUE(RunUntil([&] { return InputShows({L"e0000002"}) && !view.Cell(1, 5).empty(); }));
    controller->Shutdown();
    EXPECT_EQ(view.Cell(0, kInputStatusColumn), L"状態0");
    EXPECT_EQ(view.Cell(0, kOutputStatusColumn), L"状態0");
    // An empty output folder: no attempt made.
    EXPECT_EQ(view.Cell(1, kOutputStatusColumn), L"状態2");
    const Names serving = view.ServingNames();
    EXPECT_NE(std::find(serving.begin(), serving.end(), L"受付"), serving.end());
    const Names progress = view.ProgressTexts();
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().rfind(L"合成中 ", 0), 0u);
    // A background worker: the window and the rest of the machine come first.
    EXPECT_EQ(transferThreadLowered, true);
}

TEST_F(Controller, StopDuringCompositionLeavesTheOrderWaiting) {
    WriteOrder(input, 3);
    std::atomic<bool> composing{false};
    view.onServing = [&](const std::wstring&) { composing = true; };
    ASSERT_TRUE(RunUntil([&] { return composing.load(); }));
    controller->Shutdown();
    EXPECT_EQ(FolderNames(input), (Names{L"r0000003"}));
    EXPECT_TRUE(FolderNames(output).empty());
    EXPECT_EQ(CountLogLines(L"Relaydesk2 cancel"), 1);
    // A second shutdown (the window's destruction after OK) is harmless.
    controller->Shutdown();
    EXPECT_EQ(CountLogLines(L"RelaydeskThreadMain OUT"), 1);
}

TEST_F(Controller, TerminalDeletedDuringItsTransferStillGetsItsOrder) {
    WriteOrder(input, 4);
    view.onServing = [&](const std::wstring&) {
        controller->ModifyTerminalTable([](TerminalTable& table) { table.DeleteTerminal(0); });
    };
    ASSERT_TRUE(RunUntil([&] { return InputShows({L"e0000004"}); }));
    controller->Shutdown();
    EXPECT_EQ(FolderNames(output), (Names{L"o0000004"}));
    EXPECT_EQ(controller->GetTerminalTable().UsedCount(), 0);
    // The table saved at shutdown no longer holds the terminal.
    EXPECT_EQ(LoadTerminalTable(controller->GetCompositionIni()).UsedCount(), 0);
}

TEST_F(Controller, OutputFolderVanishingMidTransferKeepsTheOrderWaitingUntilItIsBack) {
    const std::wstring order = WriteOrderWithBackup(5);
    const auto before = ReadTree(order);
    bool removed = false;
    view.onServing = [&](const std::wstring&) {
        if (!std::exchange(removed, true)) {
            EXPECT_TRUE(TakeAway([&] { return DeleteItem(LocalFolders(), output); }));
        }
    };
    ASSERT_TRUE(RunUntil([&] { return CountLogLines(L"Relaydesk2 fileError2") == 1; }));
    // Nothing is built in place of the terminal's folder, and the order is not marked.
    EXPECT_FALSE(PathExists(LocalFolders(), output));
    EXPECT_EQ(FolderNames(input), (Names{L"r0000005"}));
    EXPECT_EQ(ReadTree(order), before);
    EXPECT_EQ(
        CountLogLines(L"Relaydesk2 retry mkdir " + JoinPath(output, L"p0000005") + L": not found"),
        1);

    // Once the share is back, a later try delivers the order.
    ASSERT_TRUE(MakeFolderPath(output));
    ASSERT_TRUE(RunUntil([&] { return InputShows({L"e0000005"}); }));
    controller->Shutdown();
    EXPECT_EQ(FolderNames(output), (Names{L"o0000005"}));
    EXPECT_TRUE(PathExists(LocalFolders(), JoinPath(output, L"o0000005/MISC/AUTPRINT.MRK")));
}

TEST_F(Controller, InputFolderVanishingMidTransferIsNeitherRebuiltNorMarked) {
    WriteOrder(input, 6);
    const std::wstring moved = folder / L"受付/moved";
    bool movedAway = false;
    view.onServing = [&](const std::wstring&) {
        if (!std::exchange(movedAway, true)) {
            EXPECT_TRUE(TakeAway([&] { return MoveItem(LocalFolders(), input, moved); }));
        }
    };
    ASSERT_TRUE(RunUntilTheFirstAttemptEnds());
    controller->Shutdown();
    EXPECT_FALSE(PathExists(LocalFolders(), input));
    EXPECT_EQ(FolderNames(moved), (Names{L"r0000006"}));
    EXPECT_TRUE(FolderNames(output).empty());
    EXPECT_EQ(CountLogLines(L"Relaydesk2 fileError"), 0);
    EXPECT_EQ(CountLogLines(L"Relaydesk2 end"), 0);
}

TEST_F(Controller, HeldOrderIsNamedInItsTerminalsInputStatusUntilItGoes) {
    WriteOrder(input, 9);
    ASSERT_TRUE(MakeFolderPath(JoinPath(input, L"e0000009")));
    ASSERT_TRUE(RunUntil([&] { return view.Cell(0, 2) == L"状態0  保留 r0000009"; }));
    EXPECT_EQ(CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 0);
    EXPECT_EQ(CountLogLines(L"Relaydesk2 conflict " + JoinPath(input, L"e0000009")), 1);

    // The operator removes the order itself: the note goes with it.
    const std::wstring order = JoinPath(input, L"r0000009");
    ASSERT_TRUE(MoveItem(LocalFolders(), order, folder / L"受付/r0000009.kept"));
    ASSERT_TRUE(RunUntil([&] { return view.Cell(0, 2) == L"状態0"; }));
    ASSERT_TRUE(MoveItem(LocalFolders(), folder / L"受付/r0000009.kept", order));
    ASSERT_TRUE(RunUntil([&] { return view.Cell(0, 2) == L"状態0  保留 r0000009"; }));

    // The operator moves the stale folder away: the order goes, and so does the note.
    ASSERT_TRUE(
        MoveItem(LocalFolders(), JoinPath(input, L"e0000009"), folder / L"受付/e0000009.old"));
    ASSERT_TRUE(RunUntil([&] { return InputShows({L"e0000009"}) && view.Cell(0, 2) == L"状態0"; }));
    controller->Shutdown();
}

TEST_F(Controller, UnmountedTerminalShareIsNotWrittenIntoItsBareMountPoint) {
    // The terminal's input folder is a mount; it goes away while an order is composed.
    const std::wstring share = folder / L"share";
    ASSERT_TRUE(MakeFolderPath(share));
    WriteOrder(share, 10);
    const auto before = ReadTree(JoinPath(share, L"r0000010"));
    const std::string mount = "mount --bind " + Quote(share) + " " + Quote(input) + " 2>/dev/null";
    if (!RunningAsRoot() || std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "bind mounts need root and mount rights";
    view.onServing = [&](const std::wstring&) {
        std::system(("umount -l " + Quote(input)).c_str());
    };
    ASSERT_TRUE(RunUntilTheFirstAttemptEnds());
    controller->Shutdown();
    EXPECT_TRUE(FolderNames(input).empty()) << "written into the bare mount point";
    EXPECT_EQ(FolderNames(share), (Names{L"r0000010"}));
    EXPECT_EQ(ReadTree(JoinPath(share, L"r0000010")), before);
    EXPECT_TRUE(FolderNames(output).empty());
}

} // namespace
