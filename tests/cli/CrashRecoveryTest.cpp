// A controller that ends in the middle of a transfer (killed, power cut) must leave every
// order transferred exactly once after its next start. Here the folders are set as such an
// end leaves them; FaultSweepTest kills the controller itself at calls all through a run.

#include "OneTerminalTest.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "platform/TextEncoding.h"
#include "transfer/TransferJournal.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

/// How the folders stood when a controller ended after it had built the finished order of
/// 21, and what its next start must make of them.
struct Ending {
    const char* name;
    const wchar_t* terminalLetter; ///< the terminal's order still named so
    void (*change)(const TempFolder& root, const std::wstring& input, const std::wstring& output);
    int compositions;        ///< of both starts
    const wchar_t* recovery; ///< the line that tells how it was recovered; empty: none checked
    const char* backup;      ///< what the backup of the first picture holds; empty: not checked
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class EndedAfterBuild : public OneTerminalTest, public ::testing::WithParamInterface<Ending> {
protected:
    void SetUp() override {
        OneTerminalTest::SetUp();
        folder.WriteOrder(input, 21);
        ASSERT_EQ(RunUntilIdle(), 0) << console;
        ASSERT_EQ(FolderNames(output), (Names{L"o0000021"}));
    }

    TransferJournal Journal() const {
        return TransferJournal(JoinPath(folder.ProgramFolder(), kTransferJournalFolderName));
    }
};

TEST_P(EndedAfterBuild, NextStartLeavesTheOrderTransferredOnce) {
    const Ending& ending = GetParam();
    ASSERT_TRUE(
        MoveItem(LocalFolders(), JoinPath(output, L"o0000021"), JoinPath(output, L"p0000021")));
    const std::wstring terminalName = std::wstring(ending.terminalLetter) + L"0000021";
    if (terminalName != L"e0000021") {
        ASSERT_TRUE(
            MoveItem(LocalFolders(), JoinPath(input, L"e0000021"), JoinPath(input, terminalName)));
    }
    ASSERT_TRUE(Journal().Record(OrderTicket{JoinPath(input, L"r0000021"), input, output, 21}));
    if (ending.change)
        ending.change(folder.Root(), input, output);

    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000021"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000021"}));
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), ending.compositions);
    if (*ending.recovery) {
        EXPECT_EQ(folder.CountLogLines(ending.recovery), 1);
    }
    EXPECT_TRUE(Journal().Pending().empty());
    EXPECT_TRUE(FolderNames(JoinPath(input, L"e0000021/CORRECT")).empty());
    EXPECT_FALSE(PathExists(LocalFolders(), JoinPath(input, L"e0000021/CORRECT_BK~new")));
    if (*ending.backup) {
        EXPECT_EQ(folder.Root().ReadFile(L"端末A/input/e0000021/CORRECT_BK/IMG-0001.jpg"),
                  ending.backup);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CrashRecovery, EndedAfterBuild,
    ::testing::Values(
        Ending{"OrderAlreadyMarkedTransferred", L"e", nullptr, 1, L"", ""},
        Ending{"OrderStillWaiting", L"r", nullptr, 1, L"RecoverTransfer OUT e", ""},
        // The merged backup stood complete beside the order when the journal was written: it
        // replaces the old one, and the corrections go.
        Ending{"StagedBackup", L"r",
               [](const TempFolder& root, const std::wstring& input, const std::wstring&) {
                   const std::wstring order = JoinPath(input, L"r0000021");
                   ASSERT_TRUE(CopyFolderWhole(LocalFolders(), JoinPath(order, L"CORRECT_BK"),
                                               JoinPath(order, L"CORRECT_BK~new")));
                   root.WriteFile(L"端末A/input/r0000021/CORRECT_BK~new/IMG-0001.jpg", "merged");
                   root.WriteFile(L"端末A/input/r0000021/CORRECT/IMG-0001.jpg", "a correction");
               },
               1, L"", "merged"},
        Ending{"FinishedOrderGone", L"e",
               [](const TempFolder&, const std::wstring&, const std::wstring& output) {
                   ASSERT_TRUE(DeleteItem(LocalFolders(), JoinPath(output, L"p0000021")));
               },
               2, L"RecoverTransfer OUT r", ""}),
    [](const ::testing::TestParamInfo<Ending>& ending) { return std::string(ending.param.name); });

} // namespace
