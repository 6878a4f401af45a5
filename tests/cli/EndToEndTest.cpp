// relaydesk-cli run --until-idle on orders written by the kiosk simulator, with the real
// composition engine.

#include "Eventually.h"
#include "OneTerminalTest.h"

#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "platform/FileSystemCalls.h"
#include "transfer/TransferJournal.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
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
    EXPECT_NE(console.find(" 端末A order 0000001 delivered\n"), std::string::npos) << console;
    EXPECT_NE(console.find(" 端末A order 0000002 delivered\n"), std::string::npos) << console;
    EXPECT_EQ(console.find('\r'), std::string::npos) << console;

    EXPECT_EQ(FolderNames(input), (Names{L"e0000001", L"e0000002"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000001", L"o0000002"}));
    for (const wchar_t* order : {L"o0000001", L"o0000002"}) {
        const std::wstring images = JoinPath(JoinPath(output, order), L"IMAGE");
        const int composed =
            FolderLister(LocalFolders()).CountEntries(images, L"cmb*.*", 0, FolderLister::kFiles);
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
    EXPECT_GT(FolderLister(LocalFolders())
                  .CountEntries(JoinPath(work, L"COMPOSITION_INFO/LAYOUTFINAL"), L"cmb*.*", 0,
                                FolderLister::kFiles),
              0);
    EXPECT_TRUE(FolderNames(JoinPath(folder.ProgramFolder(), kTransferJournalFolderName)).empty());
    EXPECT_FALSE(PathExists(LocalFolders(), interruptedDeletion));
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 oldWorkError"), 0);
}

TEST_F(EndToEnd, LogsStartUpThreadsAndShutdownInOrder) {
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    const std::vector<std::wstring> lines = folder.LogLines();
    const std::vector<std::wstring> expected = {
        L"InitInstance IN", L"OnInitDialog IN",  L"OnInitDialog OUT",
        L"ThreadStart IN",  L"ThreadStart OUT",  L"OnOK IN",
        L"OnOK OUT",        L"InitInstance OUT", L"ExitInstance"};
    size_t next = 0;
    for (const std::wstring& line : lines) {
        if (next < expected.size() && line == expected[next])
            ++next;
    }
    EXPECT_EQ(next, expected.size())
        << "missing or out of order: " << std::string(expected[next].begin(), expected[next].end());
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
    const std::wstring order = L"端末A/input/r0000007/";
    std::map<std::wstring, std::string> merged;
    for (const std::wstring& name : FolderNames(JoinPath(input, L"r0000007/CORRECT_BK")))
        merged[name] = folder.Root().ReadFile(order + L"CORRECT_BK/" + name);
    const Names corrected = FolderNames(JoinPath(input, L"r0000007/CORRECT"));
    ASSERT_FALSE(corrected.empty());
    for (const std::wstring& name : corrected) {
        ASSERT_TRUE(merged.contains(name));
        merged[name] = folder.Root().ReadFile(order + L"CORRECT/" + name);
    }
    ASSERT_EQ(RunUntilIdle(), 0) << console;

    EXPECT_EQ(FolderNames(input), (Names{L"e0000007"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000007"}));
    // The corrections went into the backup, and the order's CORRECT is empty again.
    EXPECT_TRUE(FolderNames(JoinPath(input, L"e0000007/CORRECT")).empty());
    EXPECT_EQ(FolderNames(JoinPath(input, L"e0000007/CORRECT_BK")).size(), merged.size());
    for (const auto& [name, bytes] : merged) {
        const std::wstring backup = L"端末A/input/e0000007/CORRECT_BK/" + name;
        EXPECT_EQ(folder.Root().ReadFile(backup), bytes) << "backup differs";
        // Taken over from the order's own files, each ends with a single name.
        EXPECT_EQ(std::filesystem::hard_link_count(platform::ToFsPath(folder.Root() / backup)), 1u);
    }
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
        ASSERT_TRUE(
            DeleteItem(LocalFolders(),
                       JoinPath(input, L"r000000" + std::to_wstring(number) + L"/" + missing)));
    }
    // Quiet: the failed orders and nothing else.
    ASSERT_EQ(folder.RunCli("run --until-idle --quiet", &console), 3) << console;
    EXPECT_NE(console.find(" 端末A order 0000004 failed: copy "), std::string::npos) << console;
    EXPECT_NE(console.find("CTML: not found\n"), std::string::npos) << console;
    EXPECT_NE(console.find(" 端末A order 0000006 failed: "), std::string::npos) << console;
    EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 3) << console;

    EXPECT_EQ(FolderNames(input), (Names{L"q0000004", L"q0000005", L"q0000006"}));
    EXPECT_TRUE(FolderNames(output).empty());
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 fileError"), 3);
    const std::vector<std::wstring> lines = folder.LogLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::wstring& line) {
                                return line.starts_with(L"Relaydesk2 zori error = ");
                            }),
              3);
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
        EXPECT_NE(refusal.find("QRM_Relaydesk2.lock"), std::string::npos) << refusal;
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
    EXPECT_NE(said.find("the running controller (process " + pid + ") takes the change"),
              std::string::npos)
        << said;
    Eventually([&] { return PathExists(LocalFolders(), JoinPath(secondInput, L"e0000005")); }, 60s,
               100ms);
    EXPECT_EQ(FolderNames(secondInput), (Names{L"e0000005"}));

    const char* stop = ControllerFolder::UnderWine() ? "kill -INT " : "kill -TERM ";
    ASSERT_EQ(std::system((stop + shellPid).c_str()), 0);
    Eventually([&] { return folder.CountLogLines(L"OnOK OUT") > 0; }, 30s, 100ms);
    EXPECT_EQ(folder.CountLogLines(L"OnOK OUT"), 1);
    // The table it saved when it ended is the changed one.
    ASSERT_EQ(folder.RunCli("terminal list", &said), 0);
    EXPECT_NE(said.find("1 [x] 端末B\t"), std::string::npos) << said;
    EXPECT_NE(said.find("\t二番\t"), std::string::npos) << said;
}

} // namespace
