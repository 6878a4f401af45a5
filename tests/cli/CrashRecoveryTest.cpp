// A controller that ends in the middle of a transfer (killed, power cut) must leave every
// order transferred exactly once after its next start.

#include "OneTerminalTest.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "platform/TextEncoding.h"
#include "transfer/TransferJournal.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class CrashRecovery : public OneTerminalTest {
protected:
    void SetUp() override {
        OneTerminalTest::SetUp();
        folder.WriteOrder(input, 21);
        ASSERT_EQ(RunUntilIdle(), 0) << console;
        ASSERT_EQ(FolderNames(output), (Names{L"o0000021"}));
    }

    /// Puts the folders back into the state of a transfer that ended after the finished order
    /// had been built, with the terminal's order still named `terminalLetter`.
    void SimulateEndAfterBuild(const wchar_t* terminalLetter) {
        ASSERT_TRUE(
            MoveItem(LocalFolders(), JoinPath(output, L"o0000021"), JoinPath(output, L"p0000021")));
        const std::wstring terminalName = std::wstring(terminalLetter) + L"0000021";
        if (terminalName != L"e0000021") {
            ASSERT_TRUE(MoveItem(LocalFolders(), JoinPath(input, L"e0000021"),
                                 JoinPath(input, terminalName)));
        }
        ASSERT_TRUE(Journal().Record(OrderTicket{JoinPath(input, L"r0000021"), input, output, 21}));
    }

    TransferJournal Journal() const {
        return TransferJournal(JoinPath(folder.ProgramFolder(), kTransferJournalFolderName));
    }
};

TEST_F(CrashRecovery, ReleasesTheFinishedOrderOfAnOrderAlreadyMarkedTransferred) {
    SimulateEndAfterBuild(L"e");
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000021"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000021"}));
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 1) << "composed again";
    EXPECT_TRUE(Journal().Pending().empty());
}

TEST_F(CrashRecovery, CompletesAnOrderStillWaitingWithoutComposingItAgain) {
    SimulateEndAfterBuild(L"r");
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000021"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000021"}));
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 1) << "composed again";
    EXPECT_EQ(folder.CountLogLines(L"RecoverTransfer OUT e"), 1);
}

TEST_F(CrashRecovery, StagedBackupReplacesTheOldOneAndTheCorrectionsGo) {
    SimulateEndAfterBuild(L"r");
    // The merged backup stood complete beside the order when the journal was written.
    const std::wstring order = JoinPath(input, L"r0000021");
    ASSERT_TRUE(CopyFolderWhole(LocalFolders(), JoinPath(order, L"CORRECT_BK"),
                                JoinPath(order, L"CORRECT_BK~new")));
    folder.Root().WriteFile(L"端末A/input/r0000021/CORRECT_BK~new/IMG-0001.jpg", "merged");
    folder.Root().WriteFile(L"端末A/input/r0000021/CORRECT/IMG-0001.jpg", "a correction");

    ASSERT_EQ(RunUntilIdle(), 0) << console;
    const std::wstring transferred = JoinPath(input, L"e0000021");
    EXPECT_EQ(FolderNames(input), (Names{L"e0000021"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000021"}));
    EXPECT_EQ(folder.Root().ReadFile(L"端末A/input/e0000021/CORRECT_BK/IMG-0001.jpg"), "merged");
    EXPECT_TRUE(FolderNames(JoinPath(transferred, L"CORRECT")).empty());
    EXPECT_FALSE(PathExists(LocalFolders(), JoinPath(transferred, L"CORRECT_BK~new")));
    EXPECT_TRUE(Journal().Pending().empty());
}

TEST_F(CrashRecovery, JournaledOrderWhoseFinishedOrderIsGoneIsComposedAgain) {
    SimulateEndAfterBuild(L"e");
    ASSERT_TRUE(DeleteItem(LocalFolders(), JoinPath(output, L"p0000021")));
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000021"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000021"}));
    EXPECT_EQ(folder.CountLogLines(L"RecoverTransfer OUT r"), 1);
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 2);
}

TEST_F(CrashRecovery, KilledControllerLeavesEachOrderTransferredOnceAfterRestart) {
    // Kill the controller at several moments of its transfers, restart it until idle, and
    // count: every order ends as e at the terminal and as exactly one o folder.
    const std::string start = folder.Environment() +
                              Quote(JoinPath(folder.ProgramFolder(), L"relaydesk-cli")) +
                              " run >/dev/null 2>&1 & echo $! >" + Quote(folder.Root() / L"pid");
    const std::string kill =
        "kill -KILL $(cat " + Quote(folder.Root() / L"pid") + ") 2>/dev/null; sleep 0.2";
    int order = 30;
    for (const char* delay : {"0.4", "1.2", "2.5"}) {
        folder.WriteOrder(input, order++);
        ASSERT_EQ(std::system(start.c_str()), 0);
        ASSERT_EQ(std::system((std::string("sleep ") + delay).c_str()), 0);
        ASSERT_EQ(std::system(kill.c_str()), 0);
    }
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000021", L"e0000030", L"e0000031", L"e0000032"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000021", L"o0000030", L"o0000031", L"o0000032"}));
}

} // namespace
