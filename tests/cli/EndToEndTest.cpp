// relaydesk-cli run --until-idle on orders written by the kiosk simulator, with the real
// composition engine.

#include "Eventually.h"
#include "OneTerminalTest.h"
#include "TextContains.h"

#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "transfer/OrderFolderName.h"
#include "transfer/TransferJournal.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using namespace std::chrono_literals;

namespace {

int CountJobs(const std::string& printOrder) {
    int jobs = 0;
    for (size_t at = printOrder.find("[JOB]"); at != std::string::npos;
         at = printOrder.find("[JOB]", at + 1))
        ++jobs;
    return jobs;
}

using EndToEnd = OneTerminalTest;

TEST_F(EndToEnd, TransfersTwoOrdersOfOneTerminalInTwoPasses) {
    folder.WriteOrder(input, 1);
    folder.WriteOrder(input, 2, "--seed 2");
    // What a process killed while deleting an old work folder leaves beside the program.
    const std::wstring interruptedDeletion = JoinPath(folder.ProgramFolder(), L"TEMP~deleting");
    ASSERT_TRUE(MakeFolderPath(JoinPath(interruptedDeletion, L"CORRECT")));
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    // One line per order, whole lines only: the output is not a terminal.
    EXPECT_TRUE(Contains(console, " 端末A order 0000001 delivered\n"));
    EXPECT_TRUE(Contains(console, " 端末A order 0000002 delivered\n"));
    EXPECT_FALSE(Contains(console, "\r"));

    EXPECT_EQ(FolderNames(input), (Names{L"e0000001", L"e0000002"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000001", L"o0000002"}));
    for (const wchar_t* order : {L"o0000001", L"o0000002"}) {
        const int composed = CountFiles(JoinPath(JoinPath(output, order), L"IMAGE"), L"cmb*.*");
        EXPECT_GT(composed, 0) << order;
        const std::string printOrder =
            folder.Root().ReadFile(std::wstring(L"端末A/output/") + order + L"/MISC/AUTPRINT.MRK");
        EXPECT_EQ(CountJobs(printOrder), composed) << order;
    }
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 2);
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 end"), 2);
    // The work folder keeps the last order's preparation.
    const std::wstring work = JoinPath(folder.ProgramFolder(), L"TEMP");
    EXPECT_TRUE(PathExists(LocalFolders(), JoinPath(work, L"COMPOSITION_INFO/QrmZoInRi.ini")));
    EXPECT_GT(CountFiles(JoinPath(work, L"COMPOSITION_INFO/LAYOUTFINAL"), L"cmb*.*"), 0);
    EXPECT_TRUE(FolderNames(JoinPath(folder.ProgramFolder(), kTransferJournalFolderName)).empty());
    EXPECT_FALSE(PathExists(LocalFolders(), interruptedDeletion));
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 oldWorkError"), 0);
}

TEST_F(EndToEnd, LogsStartUpThreadsAndShutdownInOrder) {
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    const std::vector<std::wstring> lines = folder.LogLines();
    auto at = lines.begin();
    for (const wchar_t* step :
         {L"InitInstance IN", L"OnInitDialog IN", L"OnInitDialog OUT", L"ThreadStart IN",
          L"ThreadStart OUT", L"OnOK IN", L"OnOK OUT", L"InitInstance OUT", L"ExitInstance"}) {
        at = std::find(at, lines.end(), step);
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << platform::WideToUtf8(step);
    }
    EXPECT_EQ(folder.CountLogLines(L"RelaydeskThreadMain OUT"), 1);
    EXPECT_EQ(folder.CountLogLines(L"CheckConnectStatusThread OUT"), 1);
    EXPECT_EQ(lines.back(), L"ExitInstance");
}

TEST_F(EndToEnd, CorrectedOrderIsComposedAgainAndItsCorrectionsMerged) {
    folder.WriteOrder(input, 7);
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    folder.WriteOrder(input, 7, "--correct 1");
    ASSERT_EQ(FolderNames(input), (Names{L"r0000007"}));
    // What the merged backup must hold: every backup, corrected pictures replaced.
    Tree merged = ReadTree(JoinPath(input, L"r0000007/CORRECT_BK"));
    const Tree corrected = ReadTree(JoinPath(input, L"r0000007/CORRECT"));
    ASSERT_FALSE(corrected.empty());
    for (const auto& [name, bytes] : corrected) {
        ASSERT_TRUE(merged.contains(name));
        merged[name] = bytes;
    }
    ASSERT_EQ(RunUntilIdle(), 0) << console;

    EXPECT_EQ(FolderNames(input), (Names{L"e0000007"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000007"}));
    // The corrections went into the backup, and the order's CORRECT is empty again.
    EXPECT_TRUE(FolderNames(JoinPath(input, L"e0000007/CORRECT")).empty());
    const std::wstring backup = JoinPath(input, L"e0000007/CORRECT_BK");
    EXPECT_EQ(ReadTree(backup), merged);
    // Taken over from the order's own files, each ends with a single name.
    for (const auto& [name, bytes] : merged)
        EXPECT_EQ(std::filesystem::hard_link_count(
                      platform::ToFsPath(JoinPath(backup, platform::Utf8ToWide(name)))),
                  1u)
            << name;
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 end"), 2);
}

TEST_F(EndToEnd, LeavesMalformedFolderNamesAlone) {
    for (const wchar_t* name : {L"r000001", L"r00000001", L"r00a0001", L"x0000001"})
        folder.Root().MakeFolder(std::wstring(L"端末A/input/") + name);
    folder.WriteOrder(input, 3);
    ASSERT_TRUE(
        MoveItem(LocalFolders(), JoinPath(input, L"r0000003"), JoinPath(input, L"R0000003")));
    ASSERT_EQ(RunUntilIdle(), 0) << console;

    // A capital R is an order too; the others are no orders.
    EXPECT_EQ(FolderNames(input),
              (Names{L"e0000003", L"r00000001", L"r000001", L"r00a0001", L"x0000001"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000003"}));
}

TEST_F(EndToEnd, OrderWithoutOneOfItsFoldersEndsAsFailedAndWritesNothing) {
    const std::pair<int, const wchar_t*> orders[] = {
        {4, L"CTML"}, {5, L"COMPOSITION_INFO"}, {6, L"CORRECT"}};
    for (const auto& [number, missing] : orders) {
        folder.WriteOrder(input, number);
        ASSERT_TRUE(DeleteItem(LocalFolders(),
                               JoinPath(input, OrderFolderName(L'r', number) + L"/" + missing)));
    }
    // Quiet: the failed orders and nothing else.
    ASSERT_EQ(folder.RunCli("run --until-idle --quiet", &console), 3) << console;
    EXPECT_TRUE(Contains(console, " 端末A order 0000004 failed: copy "));
    EXPECT_TRUE(Contains(console, "CTML: not found\n"));
    EXPECT_TRUE(Contains(console, " 端末A order 0000006 failed: "));
    EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 3) << console;

    EXPECT_EQ(FolderNames(input), (Names{L"q0000004", L"q0000005", L"q0000006"}));
    EXPECT_TRUE(FolderNames(output).empty());
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 fileError"), 3);
    EXPECT_EQ(folder.CountLogLinesStartingWith(L"Relaydesk2 zori error = "), 3);
    // A failed order keeps its pictures for the next attempt.
    EXPECT_FALSE(FolderNames(JoinPath(input, L"q0000004/CORRECT")).empty());
}

TEST_F(EndToEnd, SkipsOrdersForAnotherControllerOnlyWhileTheCheckIsOn) {
    folder.SetUniqueIdCheck(true, L"11111111-2222-3333-4444-555555555555");
    folder.WriteOrder(input, 10, "--unique-id 99999999-2222-3333-4444-555555555555");
    folder.WriteOrder(input, 11, "--unique-id 11111111-2222-3333-4444-555555555555");
    folder.WriteOrder(input, 12);
    // An empty and a binary id file: no id, so the order is taken.
    folder.Root().WriteFile(L"端末A/input/r0000012/VQ_Info.ini", "");
    folder.WriteOrder(input, 13);
    folder.Root().WriteFile(L"端末A/input/r0000013/VQ_Info.ini",
                            std::string("\x00\xff\xfe\x01[INFO]\x00", 10));
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000011", L"e0000012", L"e0000013", L"r0000010"}));

    folder.SetUniqueIdCheck(false, L"11111111-2222-3333-4444-555555555555");
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000010", L"e0000011", L"e0000012", L"e0000013"}));
}

// Under wine the controller is stopped as a console's Ctrl+C stops it (wine turns SIGINT into
// that); hangups are POSIX only.
TEST_F(EndToEnd, RunningControllerRefusesASecondAndTakesTerminalChanges) {
    // The first copy keeps running (no --until-idle) until it is told to stop.
    const std::string shellPid = folder.StartCli("run");
    ASSERT_FALSE(shellPid.empty());
    Eventually([&] { return folder.CountLogLines(L"ThreadStart OUT") > 0; }, 30s, 100ms);
    std::string refusal;
    EXPECT_EQ(folder.RunCli("run --until-idle", &refusal), 1);
    // The process id the program knows itself by: a Windows one under wine.
    const std::string_view naming = "(process ";
    const std::size_t named = refusal.find(naming);
    ASSERT_NE(named, std::string::npos) << refusal;
    const std::size_t from = named + naming.size();
    const std::string pid = refusal.substr(from, refusal.find(')', from) - from);
    if (!ControllerFolder::UnderWine()) {
        EXPECT_EQ(pid, shellPid);
        EXPECT_TRUE(Contains(refusal, "QRM_Relaydesk2.lock"));
        // A closing SSH session's hangup does not end it.
        ASSERT_EQ(std::system(("kill -HUP " + shellPid).c_str()), 0);
    }
    EXPECT_EQ(folder.CountLogLines(L"InitInstance ERR"), 1);

    // A terminal added meanwhile is served.
    const std::wstring secondInput = folder.Root() / L"端末B/input";
    folder.Root().MakeFolder(L"端末B/input");
    folder.WriteOrder(secondInput, 5);
    std::string said;
    folder.AddTerminal(L"端末B", secondInput, folder.Root() / L"端末B/output");
    ASSERT_EQ(folder.RunCli("terminal edit 端末B --out-name 二番", &said), 0) << said;
    EXPECT_TRUE(Contains(said, "the running controller (process " + pid + ") takes the change"));
    Eventually([&] { return PathExists(LocalFolders(), JoinPath(secondInput, L"e0000005")); }, 60s,
               100ms);
    EXPECT_EQ(FolderNames(secondInput), (Names{L"e0000005"}));

    const char* stop = ControllerFolder::UnderWine() ? "kill -INT " : "kill -TERM ";
    ASSERT_EQ(std::system((stop + shellPid).c_str()), 0);
    Eventually([&] { return folder.CountLogLines(L"OnOK OUT") > 0; }, 30s, 100ms);
    EXPECT_EQ(folder.CountLogLines(L"OnOK OUT"), 1);
    // The table it saved when it ended is the changed one.
    ASSERT_EQ(folder.RunCli("terminal list", &said), 0);
    EXPECT_TRUE(Contains(said, "1 [x] 端末B\t"));
    EXPECT_TRUE(Contains(said, "\t二番\t"));
}

} // namespace
