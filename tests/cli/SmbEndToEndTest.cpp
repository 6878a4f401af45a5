// relaydesk-cli on terminals whose folders are shares of a real Samba server, each share
// reached with its own account: no mount, no root for the controller's own work.

#include "ControllerFolder.h"
#include "Eventually.h"
#include "SambaServer.h"

#include "config/MessageCatalogue.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// One terminal: input folder on one share, output folder on another.
struct ShareTerminal {
    std::wstring name;
    std::string inputShare;
    SambaServer::User inputUser;
    std::string outputShare;
    SambaServer::User outputUser;
};

class SmbEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef RELAYDESK_HAVE_SMB
        GTEST_SKIP() << "built without the SMB client";
#endif
        if (const std::string why = SambaServer::Unavailable(); !why.empty())
            GTEST_SKIP() << why;
        server = std::make_unique<SambaServer>();
        ASSERT_TRUE(server->Error().empty()) << server->Error();
        launcher = "RELAYDESK_SMB_PORT=" + std::to_string(server->Port()) + " ";
    }

    /// The terminal's folder inside the share, on the server's side.
    std::wstring LocalFolder(const std::string& share, const std::wstring& terminal,
                             const wchar_t* name) const {
        return platform::FromFsPath(server->ShareFolder(share) / platform::ToFsPath(terminal) /
                                    name);
    }
    std::wstring NetworkFolder(const std::string& share, const std::wstring& terminal,
                               const wchar_t* name) const {
        return server->SharePath(share) + L"/" + terminal + L"/" + name;
    }

    /// Adds the terminal through relaydesk-cli, its passwords read from standard input.
    void AddTerminal(const ShareTerminal& terminal, const std::string& inputPassword) {
        for (const auto& [share, user, name] :
             {std::tuple{terminal.inputShare, terminal.inputUser, L"in"},
              std::tuple{terminal.outputShare, terminal.outputUser, L"out"}}) {
            fs::create_directories(platform::ToFsPath(LocalFolder(share, terminal.name, name)));
            GiveToUser(server->ShareFolder(share), user);
        }
        folder.Root().WriteFile(L"passwords.txt",
                                inputPassword + "\n" + terminal.outputUser.password + "\n");
        std::string output;
        ASSERT_EQ(
            folder.RunCli("terminal add --name " + Quote(terminal.name) + " --path " +
                              Quote(NetworkFolder(terminal.inputShare, terminal.name, L"in")) +
                              " --user " + terminal.inputUser.name + " --password-stdin" +
                              " --out-name " + Quote(terminal.name + L"-out") + " --out-path " +
                              Quote(NetworkFolder(terminal.outputShare, terminal.name, L"out")) +
                              " --out-user " + terminal.outputUser.name +
                              " --out-password-stdin <" + Quote(folder.Root() / L"passwords.txt"),
                          &output, launcher),
            0)
            << output;
        ASSERT_EQ(folder.RunCli("terminal enable " + Quote(terminal.name), &output, launcher), 0)
            << output;
    }

    /// An order written by the kiosk into its own share.
    void WriteOrder(const ShareTerminal& terminal, int orderNumber) {
        folder.WriteOrder(LocalFolder(terminal.inputShare, terminal.name, L"in"), orderNumber);
        GiveToUser(server->ShareFolder(terminal.inputShare), terminal.inputUser);
    }

    static void GiveToUser(const fs::path& tree, const SambaServer::User& user) {
        const std::string command =
            std::string("chown -R ") + user.name + " " + Quote(platform::FromFsPath(tree));
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    int RunUntilIdle() {
        return folder.RunCli("run --until-idle", &console, launcher);
    }

    /// The two connection states that `terminal list` shows for the terminal.
    std::pair<std::wstring, std::wstring> States(const std::wstring& terminal) {
        std::string listing;
        folder.RunCli("terminal list", &listing, launcher);
        for (const std::wstring& line : Split(platform::Utf8ToWide(listing), L'\n')) {
            std::vector<std::wstring> fields = Split(line, L'\t');
            if (fields.size() == 6 && fields[0].ends_with(L" " + terminal))
                return {fields[2], fields[5]};
        }
        ADD_FAILURE() << listing;
        return {};
    }
    std::wstring StateText(int status) const {
        const MainWindowTexts texts =
            ReadMainWindowTexts(ChooseMessageCatalogue(folder.ProgramFolder()), 0);
        return texts.statusTexts[static_cast<size_t>(status)];
    }

    static std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
        std::vector<std::wstring> parts(1);
        for (const wchar_t c : text) {
            if (c == separator)
                parts.emplace_back();
            else
                parts.back() += c;
        }
        return parts;
    }

    std::unique_ptr<SambaServer> server;
    std::string launcher;
    ControllerFolder folder;
    std::string console;

    // Each terminal's input and output lie on shares of two different users.
    const ShareTerminal terminalA{L"端末A", "a", SambaServer::kUserA, "b", SambaServer::kUserB};
    const ShareTerminal terminalB{L"端末B", "b", SambaServer::kUserB, "a", SambaServer::kUserA};
};

TEST_F(SmbEndToEnd, TwoTerminalsOnSharesOfTwoUsersAreDeliveredWithTheirOwnLogons) {
    AddTerminal(terminalA, SambaServer::kUserA.password);
    AddTerminal(terminalB, SambaServer::kUserB.password);
    WriteOrder(terminalA, 1);
    WriteOrder(terminalB, 2);
    EXPECT_EQ(States(terminalA.name), std::pair(StateText(0), StateText(0)));

    ASSERT_EQ(RunUntilIdle(), 0) << console;

    for (const auto& [terminal, order] : {std::pair{terminalA, 1}, std::pair{terminalB, 2}}) {
        const std::wstring number = L"000000" + std::to_wstring(order);
        EXPECT_EQ(FolderNames(LocalFolder(terminal.inputShare, terminal.name, L"in")),
                  Names{L"e" + number});
        const std::wstring output = LocalFolder(terminal.outputShare, terminal.name, L"out");
        EXPECT_EQ(FolderNames(output), Names{L"o" + number});
        const std::wstring finished = output + L"/o" + number;
        EXPECT_GT(CountFiles(finished + L"/IMAGE", L"cmb*.*"), 0);
        EXPECT_TRUE(fs::is_regular_file(platform::ToFsPath(finished + L"/MISC/AUTPRINT.MRK")));
    }
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 end"), 2);
    // The accounts' passwords appear in no log line.
    for (const std::wstring& line : folder.LogLines()) {
        for (const char* password : {SambaServer::kUserA.password, SambaServer::kUserB.password})
            EXPECT_EQ(line.find(platform::Utf8ToWide(password)), std::wstring::npos) << password;
    }
}

TEST_F(SmbEndToEnd, RefusedLogonsAndAStoppedServerKeepEveryOrderUntilTheShareIsBack) {
    // Share b is reached by no other logon: a wrong password for it is not helped out by a
    // connection that another folder made.
    const ShareTerminal onShareA{L"端末A", "a", SambaServer::kUserA, "a", SambaServer::kUserA};
    AddTerminal(onShareA, SambaServer::kUserA.password);
    AddTerminal(terminalB, "wrong password");
    WriteOrder(onShareA, 1);
    WriteOrder(terminalB, 2);
    EXPECT_EQ(States(terminalB.name), std::pair(StateText(4), StateText(0)));

    ASSERT_EQ(RunUntilIdle(), 0) << console;
    const std::wstring inputA = LocalFolder("a", onShareA.name, L"in");
    const std::wstring inputB = LocalFolder("b", terminalB.name, L"in");
    EXPECT_EQ(FolderNames(inputA), Names{L"e0000001"});
    EXPECT_EQ(FolderNames(inputB), Names{L"r0000002"});

    // The server stops: no route to it, and the new order waits at the kiosk.
    WriteOrder(onShareA, 3);
    server->Stop();
    EXPECT_EQ(States(onShareA.name), std::pair(StateText(5), StateText(5)));
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(inputA), (Names{L"e0000001", L"r0000003"}));

    // Back: the waiting order goes through as if nothing had happened.
    ASSERT_TRUE(server->Start()) << server->Error();
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(inputA), (Names{L"e0000001", L"e0000003"}));
    EXPECT_EQ(FolderNames(LocalFolder("a", onShareA.name, L"out")),
              (Names{L"o0000001", L"o0000003"}));
    EXPECT_EQ(FolderNames(inputB), Names{L"r0000002"});

    // A share that the server does not have, with an account it accepts: network name not
    // found.
    std::string output;
    ASSERT_EQ(folder.RunCli("terminal edit " + Quote(onShareA.name) + " --out-path " +
                                Quote(server->SharePath("nosuch") + L"/out"),
                            &output, launcher),
              0)
        << output;
    EXPECT_EQ(States(onShareA.name).second, StateText(3));
}

TEST_F(SmbEndToEnd, ServerThatStopsDuringATransferLeavesTheOrderToBeDeliveredOnce) {
    AddTerminal(terminalA, SambaServer::kUserA.password);
    WriteOrder(terminalA, 1);
    // The server goes away once the transfer has begun, while the controller runs.
    std::atomic<int> firstRun{-1};
    std::thread controller([&] { firstRun = RunUntilIdle(); });
    Eventually(
        [&] { return folder.CountLogLines(L"Relaydesk2 IN TerminalFolder:") > 0 || firstRun >= 0; },
        std::chrono::minutes(5), std::chrono::milliseconds(20));
    server->Stop();
    controller.join();
    const std::wstring input = LocalFolder("a", terminalA.name, L"in");
    const std::wstring output = LocalFolder("b", terminalA.name, L"out");
    // Either the order was through before the server went, or it waits at the kiosk.
    const Names afterStop = FolderNames(input);
    EXPECT_TRUE(afterStop == Names{L"e0000001"} || afterStop == Names{L"r0000001"}) << console;

    ASSERT_TRUE(server->Start()) << server->Error();
    ASSERT_EQ(RunUntilIdle(), 0) << console;
    EXPECT_EQ(FolderNames(input), Names{L"e0000001"});
    EXPECT_EQ(FolderNames(output), Names{L"o0000001"});
    EXPECT_EQ(folder.CountLogLines(L"Relaydesk2 end"), 1);
    EXPECT_GT(CountFiles(output + L"/o0000001/IMAGE", L"cmb*.*"), 0);
}

} // namespace
