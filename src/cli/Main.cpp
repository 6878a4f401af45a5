// relaydesk-cli: the controller without a window, and its administration commands.

#include "cli/ConsoleText.h"
#include "cli/OrderCommands.h"
#include "cli/RunCommand.h"
#include "cli/TerminalCommands.h"
#include "fileutil/FileUtil.h"
#include "logging/LogClient.h"
#include "platform/TextEncoding.h"
#include "platform/Version.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

/// The source name under which the window logs too.
constexpr wchar_t kApplicationName[] = L"QRM_Relaydesk2";

std::wstring Wide(const std::string& text) {
    return platform::Utf8ToWide(text);
}

std::optional<std::wstring> Wide(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    return Wide(*text);
}

/// Command-line values of the eight terminal fields, in UTF-8 as given.
struct TerminalOptions {
    std::optional<std::string> name, path, userId, password, outName, outPath, outUserId,
        outPassword;

    void AddTo(CLI::App& command) {
        command.add_option("--name", name, "terminal name (default: from the input folder)");
        command.add_option("--path", path, "input folder");
        command.add_option("--user", userId, "network user id of the input folder");
        command.add_option("--password", password, "password of the input folder");
        command.add_option("--out-name", outName, "output name (default: from the output folder)");
        command.add_option("--out-path", outPath, "output folder");
        command.add_option("--out-user", outUserId, "network user id of the output folder");
        command.add_option("--out-password", outPassword, "password of the output folder");
    }

    TerminalFields ToFields() const {
        return TerminalFields{Wide(name),    Wide(path),    Wide(userId),    Wide(password),
                              Wide(outName), Wide(outPath), Wide(outUserId), Wide(outPassword)};
    }
};

void LogStart() {
    const platform::ProgramVersion version = platform::GetProgramVersion();
    WriteLog(g_pLogClient, L"Start: Ver %d.%d.%d.%d", version.major, version.minor, version.patch,
             version.build);
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Relaydesk controller without a window"};
    app.require_subcommand(1);

    bool untilIdle = false;
    CLI::App* run = app.add_subcommand("run", "run the controller until SIGINT or SIGTERM");
    run->add_flag("--until-idle", untilIdle,
                  "end after the first polling pass that transferred no order");

    CLI::App* terminal = app.add_subcommand("terminal", "list and change the terminals");
    terminal->require_subcommand(1);
    terminal->add_subcommand("list", "the terminals with the state of their folders");
    TerminalOptions addOptions, editOptions;
    std::string terminalName;
    CLI::App* add = terminal->add_subcommand("add", "add a terminal (switched off)");
    addOptions.AddTo(*add);
    CLI::App* edit = terminal->add_subcommand("edit", "change the given fields of a terminal");
    edit->add_option("terminal", terminalName, "terminal name or slot number")->required();
    editOptions.AddTo(*edit);
    CLI::App* remove = terminal->add_subcommand("remove", "delete a terminal; later ones move up");
    remove->add_option("terminal", terminalName, "terminal name or slot number")->required();
    CLI::App* enable = terminal->add_subcommand("enable", "switch a terminal on");
    enable->add_option("terminal", terminalName, "terminal name or slot number")->required();
    CLI::App* disable = terminal->add_subcommand("disable", "switch a terminal off");
    disable->add_option("terminal", terminalName, "terminal name or slot number")->required();

    CLI::App* orders =
        app.add_subcommand("orders", "the finished orders of a terminal's output folder");
    orders->require_subcommand(1);
    CLI::App* listOrders = orders->add_subcommand("list", "the orders with their times");
    listOrders->add_option("terminal", terminalName, "terminal name or slot number")->required();
    std::vector<std::string> orderNames;
    std::string fromDay, toDay;
    CLI::App* deleteOrders = orders->add_subcommand("delete", "delete orders by name or by days");
    deleteOrders->add_option("terminal", terminalName, "terminal name or slot number")->required();
    deleteOrders->add_option("orders", orderNames, "order folder names, e.g. o0001234");
    CLI::Option* from = deleteOrders->add_option("--from", fromDay, "first day, YYYY-MM-DD");
    CLI::Option* to = deleteOrders->add_option("--to", toDay, "last day, YYYY-MM-DD");
    from->needs(to);
    to->needs(from);

    CLI11_PARSE(app, argc, argv);

    const std::wstring programFolder = GetModuleFolder();
    if (programFolder.empty()) {
        PrintError(L"cannot tell the program folder");
        return 1;
    }
    auto logClient = std::make_unique<CLogClient>(kApplicationName);
    g_pLogClient = logClient.get();

    int status = 0;
    if (run->parsed()) {
        LogStart();
        status = RunController(programFolder, untilIdle);
        WriteLog(g_pLogClient, L"ExitInstance");
    } else if (terminal->got_subcommand("list")) {
        status = ListTerminals(programFolder);
    } else if (add->parsed()) {
        status = AddTerminal(programFolder, addOptions.ToFields());
    } else if (edit->parsed()) {
        status = EditTerminal(programFolder, Wide(terminalName), editOptions.ToFields());
    } else if (remove->parsed()) {
        status = RemoveTerminal(programFolder, Wide(terminalName));
    } else if (enable->parsed() || disable->parsed()) {
        status = SetTerminalEnabled(programFolder, Wide(terminalName), enable->parsed());
    } else if (listOrders->parsed()) {
        status = ListOrders(programFolder, Wide(terminalName));
    } else if (deleteOrders->parsed()) {
        if (orderNames.empty() == fromDay.empty()) {
            PrintError(L"give either order names or --from and --to, not both");
            status = 1;
        } else {
            std::vector<std::wstring> names;
            for (const std::string& name : orderNames)
                names.push_back(Wide(name));
            status =
                DeleteOrders(programFolder, Wide(terminalName), names, Wide(fromDay), Wide(toDay));
        }
    }
    g_pLogClient = nullptr;
    return status;
}
