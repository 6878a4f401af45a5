// What a shop's faults do to orders, end to end with relaydesk-cli on real folders: a stale
// folder in an order's way, a journaled order whose share is away, order data that points
// outside the order, a controller that cannot write its own folders, a full output share.

#include "OneTerminalTest.h"
#include "TextContains.h"

#include "fileutil/FileUtil.h"
#include "platform/TextEncoding.h"
#include "transfer/OrderFolderName.h"
#include "transfer/TransferJournal.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using DeliveryFaults = OneTerminalTest;

TEST_F(DeliveryFaults, OrderWhoseNewNameIsTakenIsHeldForTheOperatorAndItsOrderKept) {
    // An earlier delivery of the same number stands complete in both places.
    folder.WriteOrder(input, 7);
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    ASSERT_EQ(FolderNames(output), (Names{L"o0000007"}));
    const std::wstring delivered = JoinPath(output, L"o0000007");
    const Names deliveredImages = FolderNames(JoinPath(delivered, L"IMAGE"));
    // The terminal sends the number again while the e folder is still there.
    folder.WriteOrder(input, 7);

    ASSERT_EQ(RunUntilIdle(), 0) << console;
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000007", L"r0000007"}));
    EXPECT_EQ(FolderNames(JoinPath(delivered, L"IMAGE")), deliveredImages);
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 1) << "composed again";
    // Told once per start, on the log and on the console.
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 conflict " + JoinPath(input, L"e0000007")), 2);
    EXPECT_TRUE(Contains(console, "held: 端末A r0000007"));
}

TEST_F(DeliveryFaults, JournaledOrderOfAnUnreachableTerminalHoldsUpNoOtherTerminal) {
    const std::wstring gone = folder.Root() / L"gone/input";
    const TransferJournal journal(JoinPath(folder.ProgramFolder(), kTransferJournalFolderName));
    ASSERT_TRUE(journal.Record(
        OrderTicket{JoinPath(gone, L"r0000001"), gone, folder.Root() / L"gone/output", 1}));
    folder.WriteOrder(input, 2);

    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), (Names{L"e0000002"}));
    EXPECT_EQ(FolderNames(output), (Names{L"o0000002"}));
    // The entry waits, quietly, for its shares; nothing of theirs is made here.
    EXPECT_EQ(journal.Pending().size(), 1u);
    EXPECT_EQ(folder.CountLogLinesStartingWith(L"RecoverTransfer"), 0);
    EXPECT_FALSE(PathExists(LocalFolders(), folder.Root() / L"gone"));
}

TEST_F(DeliveryFaults, OrderDataNamingPlacesOutsideTheOrderEndsFailedAndWritesNothingThere) {
    struct Hostile {
        int order;
        std::string line;
        std::wstring key;
    };
    const std::wstring outside = folder.Root() / L"outside";
    const std::vector<Hostile> cases = {
        {1, "OUTPUT_PATH=" + platform::WideToUtf8(outside), L"ZO_INFO/OUTPUT_PATH"},
        {2, "OUTPUT_PATH2=<<ALBUM_DIR>>\\..\\..\\..\\outside", L"ZO_INFO/OUTPUT_PATH2"},
        {3, "FORMAT_FILE_NAME=/etc/passwd", L"ZO_INFO/FORMAT_FILE_NAME"},
    };
    for (const Hostile& hostile : cases) {
        folder.WriteOrder(input, hostile.order);
        // A key given twice: the later line is the one read.
        const std::wstring info = L"端末A/input/" + OrderFolderName(L'r', hostile.order) +
                                  L"/COMPOSITION_INFO/QrmZoInRi.ini";
        std::string text = folder.Root().ReadFile(info);
        const std::size_t section = text.find("[ZO_INFO]");
        ASSERT_NE(section, std::string::npos);
        text.insert(text.find('\n', section) + 1, hostile.line + "\r\n");
        folder.Root().WriteFile(info, text);
    }
    ASSERT_EQ(RunUntilIdle(), 3) << "orders failed\n" << console;
    EXPECT_TRUE(Contains(console, "order 0000001 failed: order data out of bounds: "));
    ASSERT_EQ(RunUntilIdle(), 0) << "a failed order is not taken again\n" << console;
    EXPECT_EQ(FolderNames(input), (Names{L"q0000001", L"q0000002", L"q0000003"}));
    EXPECT_TRUE(FolderNames(output).empty());
    EXPECT_FALSE(PathExists(LocalFolders(), outside));
    for (const Hostile& hostile : cases)
        EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 orderDataError " + hostile.key), 1)
            << hostile.line;
}

TEST_F(DeliveryFaults, ControllerThatCannotWriteItsFoldersStopsBeforeAnyOrder) {
    folder.WriteOrder(input, 3);
    // A file where the work folder belongs, as a second installation might leave it.
    folder.Root().WriteFile(L"プログラム/TEMP", "not a folder");
    std::string refusal;
    EXPECT_EQ(folder.RunCli("run --until-idle", &refusal), 1);
    EXPECT_TRUE(Contains(refusal, "cannot write " + platform::WideToUtf8(JoinPath(
                                                        folder.ProgramFolder(), L"TEMP"))));
    EXPECT_EQ(FolderNames(input), (Names{L"r0000003"}));
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:"), 0);
}

TEST_F(DeliveryFaults, TerminalTableThatCannotBeSavedIsReportedAsAFailure) {
    const std::wstring ini = JoinPath(folder.ProgramFolder(), L"composition.ini");
    ASSERT_TRUE(DeleteItem(LocalFolders(), ini));
    folder.Root().MakeFolder(L"プログラム/composition.ini");
    std::string said;
    EXPECT_EQ(folder.RunCli("terminal add --name 二号機 --path " + Quote(folder.Root() / L"b") +
                                " --out-path " + Quote(folder.Root() / L"c"),
                            &said),
              1);
    EXPECT_TRUE(Contains(said, "cannot save the terminal table"));
    EXPECT_FALSE(Contains(said, "added"));
}

TEST_F(DeliveryFaults, FullOutputShareKeepsTheOrderWaitingUntilThereIsRoom) {
    // A size-limited file system in place of the output share, where the machine lets us.
    const std::string mountPoint = Quote(output);
    if (geteuid() != 0 ||
        std::system(
            ("mount -t tmpfs -o size=48k relaydesk-test " + mountPoint + " 2>/dev/null").c_str()) !=
            0)
        GTEST_SKIP() << "mounting a size-limited tmpfs needs root and mount rights";
    folder.WriteOrder(input, 4);
    ASSERT_EQ(RunUntilIdle(), 3) << "the order waits\n" << console;
    EXPECT_TRUE(Contains(console, "order 0000004 retried later: "));
    const Names afterFull = FolderNames(output);
    const Names orderAfterFull = FolderNames(input);
    const bool retried = folder.CountLogLinesStartingWith(L"Relaydesk2 retry ") > 0;

    ASSERT_EQ(std::system(("mount -o remount,size=64m " + mountPoint).c_str()), 0);
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_TRUE(Contains(console, "order 0000004 delivered"));
    const Names delivered = FolderNames(output);
    std::system(("umount " + mountPoint).c_str());

    EXPECT_TRUE(afterFull.empty()) << "a partial order stands in the output share";
    EXPECT_EQ(orderAfterFull, (Names{L"r0000004"}));
    EXPECT_TRUE(retried);
    EXPECT_EQ(FolderNames(input), (Names{L"e0000004"}));
    EXPECT_EQ(delivered, (Names{L"o0000004"}));
}

} // namespace
