// relaydesk-cli terminal and orders commands: the edit dialog's checks, the slot moves and
// the order view, with clear refusals and a non-zero exit on bad input.

#include "ControllerFolder.h"

#include "config/TerminalTable.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>

namespace {

class Administration : public ::testing::Test {
protected:
    TerminalTable Table() const {
        TerminalTable table;
        std::uint32_t freeDisk = 0;
        LoadTerminalTable(JoinPath(folder.ProgramFolder(), L"composition.ini"), table, freeDisk);
        return table;
    }

    int Add(const std::string& options) {
        return folder.RunCli("terminal add " + options, &output);
    }

    ControllerFolder folder;
    std::string output;
};

TEST_F(Administration, RefusesTerminalsTheEditDialogRefuses) {
    const std::string in = " --path " + Quote(folder.Root() / L"in");
    const std::string out = " --out-path " + Quote(folder.Root() / L"out") + " --out-name 出力";
    EXPECT_EQ(Add("--name 店頭" + in + " --out-name x --out-path " + Quote(folder.Root() / L"in")),
              1);
    EXPECT_NE(output.find("must differ"), std::string::npos) << output;
    EXPECT_EQ(Add("--name 店頭" + in), 1) << "no output folder";
    EXPECT_EQ(Add("--name 'a:b'" + in + out), 1);
    EXPECT_EQ(Add("--name ..." + in + out), 1);
    EXPECT_EQ(Add("--name あいうえおかきく" + in + out), 1) << "width 16";
    EXPECT_NE(output.find("name is too long"), std::string::npos) << output;
    EXPECT_EQ(Table().UsedCount(), 0);

    EXPECT_EQ(Add("--name 店頭" + in + out), 0) << output;
    EXPECT_EQ(Add("--name 店頭 --path " + Quote(folder.Root() / L"in2") + out), 1) << "name in use";
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
    ASSERT_EQ(folder.RunCli("terminal enable 三", &output), 0) << output;
    ASSERT_EQ(
        folder.RunCli("terminal edit 1 --user 利用者 --out-path " + Quote(folder.Root() / L"別"),
                      &output),
        0)
        << output;
    ASSERT_EQ(folder.RunCli("terminal remove 一", &output), 0) << output;

    const TerminalTable table = Table();
    ASSERT_EQ(table.UsedCount(), 2);
    EXPECT_EQ(table.slots[0].name, L"二");
    EXPECT_EQ(table.slots[0].userId, L"利用者");
    EXPECT_EQ(table.slots[0].outPath, folder.Root() / L"別");
    EXPECT_EQ(table.slots[0].path, folder.Root() / L"二") << "fields not given stay";
    EXPECT_EQ(table.slots[1].name, L"三");
    EXPECT_EQ(table.slots[1].enabled, 1);
    EXPECT_EQ(folder.RunCli("terminal disable 四", &output), 1);
    EXPECT_NE(output.find("no terminal named"), std::string::npos) << output;
    EXPECT_EQ(folder.CountLogLines(L"OnBDelete OUT YES " + (folder.Root() / L"一")), 1);
}

TEST_F(Administration, ListsAndDeletesFinishedOrdersByNameAndByDays) {
    const std::wstring out = folder.Root() / L"出力";
    folder.AddTerminal(L"店頭", folder.Root() / L"入力", out);
    const auto stamp = [&](const wchar_t* name, int day) {
        folder.Root().MakeFolder(std::wstring(L"出力/") + name);
        std::tm time{};
        time.tm_year = 2026 - 1900;
        time.tm_mon = 2;
        time.tm_mday = day;
        time.tm_hour = 12;
        time.tm_isdst = -1;
        const auto point = std::chrono::system_clock::from_time_t(std::mktime(&time));
        std::filesystem::last_write_time(platform::ToFsPath(JoinPath(out, name)),
                                         std::chrono::file_clock::from_sys(point));
    };
    stamp(L"o0000001", 1);
    stamp(L"o0000002", 3);
    stamp(L"p0000003", 4);
    stamp(L"o1234567", 3); // not "?00*"

    ASSERT_EQ(folder.RunCli("orders list 店頭", &output), 0) << output;
    EXPECT_NE(output.find("2026/03/01  12:00:00\to0000001"), std::string::npos) << output;
    EXPECT_NE(output.find("p0000003"), std::string::npos);
    EXPECT_EQ(output.find("o1234567"), std::string::npos);

    EXPECT_EQ(folder.RunCli("orders delete 店頭 o0000009", &output), 1);
    EXPECT_NE(folder.RunCli("orders delete 店頭 --from 2026-03-04", &output), 0)
        << "--from needs --to";
    ASSERT_EQ(folder.RunCli("orders delete 店頭 --from 2026-03-03 --to 2026-03-01", &output), 0)
        << output;
    EXPECT_EQ(ControllerFolder::Names(out), (std::vector<std::wstring>{L"o1234567", L"p0000003"}));
    ASSERT_EQ(folder.RunCli("orders delete 店頭 p0000003", &output), 0) << output;
    EXPECT_EQ(ControllerFolder::Names(out), (std::vector<std::wstring>{L"o1234567"}));
}

} // namespace
