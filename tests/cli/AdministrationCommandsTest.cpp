// relaydesk-cli terminal and orders commands: the edit dialog's checks, the slot moves and
// the order view, with clear refusals and a non-zero exit on bad input.

#include "ControllerFolder.h"
#include "FileTimes.h"
#include "TextContains.h"

#include "config/TerminalTable.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class Administration : public ::testing::Test {
protected:
    TerminalTable Table() const {
        return LoadTerminalTable(JoinPath(folder.ProgramFolder(), L"composition.ini"));
    }

    /// relaydesk-cli with `arguments`; its output in `output`.
    int Cli(const std::string& arguments) { return folder.RunCli(arguments, &output); }
    int Add(const std::string& options) { return Cli("terminal add " + options); }

    ControllerFolder folder;
    std::string output;
};

TEST_F(Administration, RefusesTerminalsTheEditDialogRefuses) {
    const std::string in = " --path " + Quote(folder.Root() / L"in");
    const std::string out = " --out-path " + Quote(folder.Root() / L"out") + " --out-name 出力";
    EXPECT_EQ(Add("--name 店頭" + in + " --out-name x --out-path " + Quote(folder.Root() / L"in")),
              1);
    EXPECT_TRUE(Contains(output, "must differ"));
    // Each refusal names the rule that failed.
    EXPECT_EQ(Add("--name 店頭" + in), 1);
    EXPECT_TRUE(
        Contains(output, "needs an output name (--out-name), an output folder (--out-path)"));
    EXPECT_EQ(Add("--name 'a:b'" + in + out), 1);
    EXPECT_TRUE(Contains(output, "contains one of"));
    EXPECT_EQ(Add("--name ..." + in + out), 1);
    EXPECT_TRUE(Contains(output, "\"...\" is made only of dots"));
    EXPECT_EQ(Add("--name あいうえおかきく" + in + out), 1) << "width 16";
    EXPECT_TRUE(Contains(output, "name is too long (at most 15 columns"));
    EXPECT_EQ(Table().UsedCount(), 0);

    EXPECT_EQ(Add("--name 店頭" + in + out), 0) << output;
    EXPECT_EQ(Add("--name 店頭 --path " + Quote(folder.Root() / L"in2") + out), 1);
    EXPECT_TRUE(Contains(output, "already in use"));
    const TerminalTable table = Table();
    ASSERT_EQ(table.UsedCount(), 1);
    EXPECT_EQ(table.slots[0].name, L"店頭");
    EXPECT_EQ(table.slots[0].enabled, 0) << "a new terminal starts switched off";
}

TEST_F(Administration, RemoveMovesLaterTerminalsUpWithTheirSwitches) {
    for (const wchar_t* name : {L"一", L"二", L"三"})
        ASSERT_EQ(Add("--name " + Quote(name) + " --path " + Quote(folder.Root() / name) +
                      " --out-path " + Quote(folder.Root() / (std::wstring(name) + L"出力")) +
                      " --out-name o"),
                  0)
            << output;
    ASSERT_EQ(Cli("terminal enable 三"), 0) << output;
    ASSERT_EQ(Cli("terminal edit 1 --user 利用者 --out-path " + Quote(folder.Root() / L"別")), 0)
        << output;
    ASSERT_EQ(Cli("terminal remove 一"), 0) << output;

    const TerminalTable table = Table();
    ASSERT_EQ(table.UsedCount(), 2);
    EXPECT_EQ(table.slots[0].name, L"二");
    EXPECT_EQ(table.slots[0].userId, L"利用者");
    EXPECT_EQ(table.slots[0].outPath, folder.Root() / L"別");
    EXPECT_EQ(table.slots[0].path, folder.Root() / L"二") << "fields not given stay";
    EXPECT_EQ(table.slots[0].outName, L"o") << "a new folder does not rename the terminal";
    EXPECT_EQ(table.slots[1].name, L"三");
    EXPECT_EQ(table.slots[1].enabled, 1);
    EXPECT_EQ(Cli("terminal disable 四"), 1);
    EXPECT_TRUE(Contains(output, "no terminal named"));
    EXPECT_EQ(folder.CountLogLines(L"OnBDelete OUT YES " + (folder.Root() / L"一")), 1);
}

TEST_F(Administration, ListsAndDeletesFinishedOrdersByNameAndByDays) {
    const std::wstring out = folder.Root() / L"出力";
    folder.AddTerminal(L"店頭", folder.Root() / L"入力", out);
    // "o1234567" is no order: not "?00*".
    for (const auto& [name, day] : {std::pair{L"o0000001", 1}, std::pair{L"o0000002", 3},
                                    std::pair{L"p0000003", 4}, std::pair{L"o1234567", 3}}) {
        folder.Root().MakeFolder(std::wstring(L"出力/") + name);
        SetModifiedTime(JoinPath(out, name), LocalTime(2026, 3, day, 12));
    }

    ASSERT_EQ(Cli("orders list 店頭"), 0) << output;
    EXPECT_TRUE(Contains(output, "2026/03/01  12:00:00\to0000001"));
    EXPECT_TRUE(Contains(output, "p0000003"));
    EXPECT_FALSE(Contains(output, "o1234567"));

    EXPECT_EQ(Cli("orders delete 店頭 o0000009 --yes"), 1);
    EXPECT_EQ(Cli("orders delete 店頭 --from 2026-03-04"), 2) << "--from needs --to";
    EXPECT_EQ(Cli("orders delete 店頭"), 2) << "neither names nor days";
    // Deletion asks first: no answer, or any answer but yes, deletes nothing.
    const std::string days = "orders delete 店頭 --from 2026-03-03 --to 2026-03-01";
    folder.Root().WriteFile(L"no.txt", "n\n");
    EXPECT_EQ(Cli(days + " </dev/null"), 1) << output;
    EXPECT_EQ(Cli(days + " <" + Quote(folder.Root() / L"no.txt")), 1);
    ASSERT_EQ(Cli(days + " --dry-run"), 0) << output;
    EXPECT_TRUE(Contains(output, "would delete 2026/03/01  12:00:00\to0000001"));
    EXPECT_EQ(FolderNames(out).size(), 4u);
    folder.Root().WriteFile(L"yes.txt", "yes\n");
    ASSERT_EQ(Cli(days + " <" + Quote(folder.Root() / L"yes.txt")), 0) << output;
    EXPECT_EQ(FolderNames(out), (Names{L"o1234567", L"p0000003"}));
    ASSERT_EQ(Cli("orders delete 店頭 p0000003 --yes"), 0) << output;
    EXPECT_EQ(FolderNames(out), (Names{L"o1234567"}));
}

TEST_F(Administration, CommandLineSpeaksAsAdminsExpect) {
    EXPECT_EQ(Cli("--version"), 0);
    EXPECT_EQ(output.rfind("relaydesk-cli 2.", 0), 0u) << output;
    EXPECT_EQ(Cli("terminal list --version"), 0) << output;
    for (const char* misuse :
         {"", "run --until-idle --no-such-option", "terminal", "orders retry 0",
          "run --quiet --verbose", "terminal add --password secret"})
        EXPECT_EQ(Cli(misuse), 2) << misuse << "\n" << output;

    ASSERT_EQ(Cli("terminal list"), 0);
    EXPECT_TRUE(Contains(output, "no terminals"));
    folder.AddTerminal(L"店頭", folder.Root() / L"入力", folder.Root() / L"出力");
    ASSERT_EQ(Cli("terminal list"), 0);
    EXPECT_EQ(output.rfind("slot on name\tinput folder", 0), 0u) << output;
    EXPECT_TRUE(Contains(output, "0 [x] 店頭\t"));
}

TEST_F(Administration, HomeFolderHoldsTheStateAndTheLogsWhereItsSettingsSay) {
    // A packaged install: the program folder stays as installed, the state goes to the home
    // folder, and the logs to the folder its settings name (either separator).
    const std::wstring home = folder.Root() / L"ホーム";
    folder.Root().WriteFile(L"ホーム/ini/QRM_Relaydesk2.ini", "[PATH]\r\nLOG=ログ\\日々\r\n");
    const std::string options = "--home " + Quote(home) + " terminal add --name 店頭 --path " +
                                Quote(folder.Root() / L"in") + " --out-name o --out-path " +
                                Quote(folder.Root() / L"out");
    ASSERT_EQ(folder.RunCli(options, &output, "env -u RELAYDESK_LOG_DIR "), 0) << output;
    EXPECT_TRUE(folder.Root().Exists(L"ホーム/composition.ini"));
    EXPECT_FALSE(ItemExists(LocalFolders(), JoinPath(folder.ProgramFolder(), L"composition.ini")));
    EXPECT_EQ(FolderNames(home + L"/ログ/日々").size(), 1u) << "one log file";
    EXPECT_FALSE(ItemExists(LocalFolders(), JoinPath(folder.ProgramFolder(), L"log")));
}

TEST_F(Administration, PasswordsComeFromStandardInputAndStayWithTheOwner) {
    folder.Root().WriteFile(L"secrets.txt", "入力の秘密\noutput-secret\n");
    ASSERT_EQ(Add("--name 店頭 --path " + Quote(folder.Root() / L"in") + " --user 利用者 " +
                  "--password-stdin --out-name o --out-path " + Quote(folder.Root() / L"out") +
                  " --out-user u2 --out-password-stdin <" + Quote(folder.Root() / L"secrets.txt")),
              0)
        << output;
    TerminalTable table = Table();
    EXPECT_EQ(table.slots[0].password, L"入力の秘密");
    EXPECT_EQ(table.slots[0].outPassword, L"output-secret");
    // A user id given without a terminal to ask at leaves the password as it is.
    ASSERT_EQ(Cli("terminal edit 店頭 --user 別の利用者 </dev/null"), 0) << output;
    table = Table();
    EXPECT_EQ(table.slots[0].userId, L"別の利用者");
    EXPECT_EQ(table.slots[0].password, L"入力の秘密");
    EXPECT_EQ(Cli("terminal edit 店頭 --password-stdin </dev/null"), 1)
        << "input ended before the password";

    const auto mode = std::filesystem::status(
                          platform::ToFsPath(JoinPath(folder.ProgramFolder(), L"composition.ini")))
                          .permissions();
    EXPECT_EQ(mode & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    for (const std::wstring& line : folder.LogLines())
        EXPECT_EQ(line.find(L"秘密"), std::wstring::npos) << platform::WideToUtf8(line);
}

TEST_F(Administration, ShowsTheOrdersAtTheTerminalsAndSendsAFailedOneAgain) {
    const std::wstring in = folder.Root() / L"入力";
    folder.AddTerminal(L"店頭", in, folder.Root() / L"出力");
    for (const wchar_t* order : {L"r0000001", L"e0000002", L"q0000003", L"q0000004", L"x0000005"})
        folder.Root().MakeFolder(std::wstring(L"入力/") + order);
    folder.Root().MakeFolder(L"入力/r0000004");

    ASSERT_EQ(Cli("orders status"), 0) << output;
    for (const char* line :
         {"店頭\twaiting\tr0000001\t", "店頭\ttransferred\te0000002\t", "店頭\tfailed\tq0000003\t"})
        EXPECT_TRUE(Contains(output, line));
    EXPECT_FALSE(Contains(output, "x0000005"));

    ASSERT_EQ(Cli("orders retry 店頭 3"), 0) << output;
    EXPECT_EQ(Cli("orders retry 店頭 q0000003"), 1) << "already sent";
    EXPECT_EQ(Cli("orders retry 店頭 e0000002"), 1) << "not a failed order";
    EXPECT_EQ(Cli("orders retry 店頭 q0000004"), 1) << "r0000004 is there";
    EXPECT_EQ(FolderNames(in), (Names{L"e0000002", L"q0000004", L"r0000001", L"r0000003",
                                      L"r0000004", L"x0000005"}));
}

} // namespace
