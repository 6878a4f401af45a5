// relaydesk-cli: the controller without a window, and its administration commands.
//
// Exit status: 0 success, 1 failure (bad input, a refused change, a controller that cannot
// start), 2 a usage error, 3 an until-idle run that left an order undelivered.

#include "cli/ConsoleText.h"
#include "cli/ControllerFolders.h"
#include "cli/OrderCommands.h"
#include "cli/RunCommand.h"
#include "cli/TerminalCommands.h"
#include "cli/TerminalOptions.h"
#include "config/AppSettings.h"
#include "logging/LogClient.h"
#include "platform/CommandLine.h"
#include "platform/ProcessEnvironment.h"
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
constexpr int kExitUsage = 2;

std::wstring Wide(const std::string& text) {
    return platform::Utf8ToWide(text);
}

std::string VersionText() {
    const platform::ProgramVersion version = platform::GetProgramVersion();
    return "relaydesk-cli " + std::to_string(version.major) + "." + std::to_string(version.minor) +
           "." + std::to_string(version.patch) + "." + std::to_string(version.build);
}

void LogStart() {
    const platform::ProgramVersion version = platform::GetProgramVersion();
    WriteLog(g_pLogClient, L"Start: Ver %d.%d.%d.%d", version.major, version.minor, version.patch,
             version.build);
}

void AddTerminalArgument(CLI::App& command, std::string& terminalName) {
    command.add_option("terminal", terminalName, "terminal name or slot number")->required();
}

} // namespace

static int RunCommandLine(int argc, char** argv) {
    CLI::App app{"Relaydesk controller without a window"};
    app.require_subcommand(1);
    // --version and --home are understood after any sub-command too.
    app.fallthrough();
    app.set_version_flag("--version", VersionText());
    std::optional<std::string> homeOption;
    app.add_option("--home", homeOption,
                   "folder of composition.ini, TEMP, ini/ and log/ (default: RELAYDESK_HOME, "
                   "else the program folder)");

    bool untilIdle = false, quiet = false, verbose = false;
    CLI::App* run = app.add_subcommand("run", "run the controller until SIGINT or SIGTERM");
    run->add_flag("--until-idle", untilIdle,
                  "end after the first polling pass that transferred no order; exit 3 when an "
                  "order was not delivered");
    CLI::Option* quietFlag =
        run->add_flag("-q,--quiet", quiet, "print only orders that failed or wait");
    run->add_flag("-v,--verbose", verbose, "print also the terminal served and the progress")
        ->excludes(quietFlag);

    CLI::App* terminal = app.add_subcommand("terminal", "list and change the terminals");
    terminal->require_subcommand(1);
    terminal->add_subcommand("list", "the terminals with the state of their folders");
    TerminalOptions addOptions, editOptions;
    std::string terminalName;
    CLI::App* add = terminal->add_subcommand("add", "add a terminal (switched off)");
    addOptions.AddTo(*add);
    CLI::App* edit = terminal->add_subcommand("edit", "change the given fields of a terminal");
    AddTerminalArgument(*edit, terminalName);
    editOptions.AddTo(*edit);
    CLI::App* remove = terminal->add_subcommand("remove", "delete a terminal; later ones move up");
    AddTerminalArgument(*remove, terminalName);
    CLI::App* enable = terminal->add_subcommand("enable", "switch a terminal on");
    AddTerminalArgument(*enable, terminalName);
    CLI::App* disable = terminal->add_subcommand("disable", "switch a terminal off");
    AddTerminalArgument(*disable, terminalName);

    CLI::App* orders = app.add_subcommand("orders", "the orders of the terminals");
    orders->require_subcommand(1);
    CLI::App* listOrders =
        orders->add_subcommand("list", "the finished orders of a terminal's output folder");
    AddTerminalArgument(*listOrders, terminalName);
    OrderDeletion deletion;
    std::string fromDay, toDay;
    std::vector<std::string> orderNames;
    CLI::App* deleteOrders =
        orders->add_subcommand("delete", "delete finished orders by name or by days (asks first)");
    AddTerminalArgument(*deleteOrders, terminalName);
    deleteOrders->add_option("orders", orderNames, "order folder names, e.g. o0001234");
    CLI::Option* from = deleteOrders->add_option("--from", fromDay, "first day, YYYY-MM-DD");
    CLI::Option* to = deleteOrders->add_option("--to", toDay, "last day, YYYY-MM-DD");
    from->needs(to);
    to->needs(from);
    deleteOrders->add_flag("-y,--yes", deletion.confirmed, "delete without asking");
    deleteOrders->add_flag("--dry-run", deletion.dryRun, "name the orders, delete nothing");
    CLI::App* orderStatus = orders->add_subcommand(
        "status", "the waiting (r), transferred (e) and failed (q) orders at the terminals");
    orderStatus->add_option("terminal", terminalName,
                            "terminal name or slot number (default: all)");
    std::string retriedOrder;
    CLI::App* retryOrder =
        orders->add_subcommand("retry", "send a failed order again (renames q to r)");
    AddTerminalArgument(*retryOrder, terminalName);
    retryOrder->add_option("order", retriedOrder, "order folder name or number")->required();

    try {
        const std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
        std::vector<const char*> pointers;
        pointers.reserve(arguments.size());
        for (const std::string& argument : arguments)
            pointers.push_back(argument.c_str());
        app.parse(static_cast<int>(pointers.size()), pointers.data());
        if (deleteOrders->parsed() && orderNames.empty() == fromDay.empty())
            throw CLI::ValidationError("give either order names or --from and --to, not both");
    } catch (const CLI::ParseError& error) {
        // Help and --version end with 0; every usage error with one status of our own.
        return app.exit(error) == 0 ? 0 : kExitUsage;
    }

    std::optional<std::wstring> home;
    if (homeOption)
        home = Wide(*homeOption);
    const std::optional<ControllerFolders> folders = FindControllerFolders(home);
    if (!folders)
        return 1;
    // The logging service and the log rotation must agree on one folder: it is settled here,
    // before the first line, and handed to the service.
    platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", ReadLogFolder(folders->home));
    auto logClient = std::make_unique<CLogClient>(kApplicationName);
    g_pLogClient = logClient.get();

    int status = 0;
    const std::wstring name = Wide(terminalName);
    if (run->parsed()) {
        LogStart();
        const Verbosity verbosity =
            quiet ? Verbosity::kQuiet : (verbose ? Verbosity::kVerbose : Verbosity::kNormal);
        status = RunController(folders->home, folders->program, untilIdle, verbosity);
        WriteLog(g_pLogClient, L"ExitInstance");
    } else if (terminal->got_subcommand("list")) {
        status = ListTerminals(*folders);
    } else if (add->parsed() || edit->parsed()) {
        const std::optional<TerminalFields> fields =
            (add->parsed() ? addOptions : editOptions).ReadFields();
        if (!fields)
            status = 1;
        else
            status = add->parsed() ? AddTerminal(*folders, *fields)
                                   : EditTerminal(*folders, name, *fields);
    } else if (remove->parsed()) {
        status = RemoveTerminal(*folders, name);
    } else if (enable->parsed() || disable->parsed()) {
        status = SetTerminalEnabled(*folders, name, enable->parsed());
    } else if (listOrders->parsed()) {
        status = ListOrders(*folders, name);
    } else if (deleteOrders->parsed()) {
        for (const std::string& order : orderNames)
            deletion.names.push_back(Wide(order));
        deletion.fromDay = Wide(fromDay);
        deletion.toDay = Wide(toDay);
        status = DeleteOrders(*folders, name, deletion);
    } else if (orderStatus->parsed()) {
        status = ShowOrderStatus(*folders, name);
    } else if (retryOrder->parsed()) {
        status = RetryOrder(*folders, name, Wide(retriedOrder));
    }
    g_pLogClient = nullptr;
    return status;
}

int main(int argc, char** argv) {
    return platform::RunGuarded("relaydesk-cli", [&] { return RunCommandLine(argc, argv); });
}
