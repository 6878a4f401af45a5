#include "cli/TerminalCommands.h"

#include "cli/ConsoleText.h"
#include "cli/RunningController.h"
#include "cli/TerminalSelection.h"
#include "config/MessageCatalogue.h"
#include "config/TerminalChecks.h"
#include "config/TerminalTable.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "transfer/ConnectionProbe.h"

#include <vector>

namespace {

/// Saves the table and tells a running controller; says so on stderr when either failed.
bool SaveTable(const ControllerFolders& folders, const TerminalTable& table,
               const TerminalTableChange& change) {
    if (!SaveTerminalTable(folders.CompositionIni(), table)) {
        PrintError(L"cannot save the terminal table to " + folders.CompositionIni());
        return false;
    }
    return change.Announce();
}

void Apply(const std::optional<std::wstring>& value, std::wstring& field) {
    if (value)
        field = *value;
}

void ApplyFields(const TerminalFields& fields, TerminalEntry& entry) {
    Apply(fields.name, entry.name);
    Apply(fields.path, entry.path);
    Apply(fields.userId, entry.userId);
    Apply(fields.password, entry.password);
    Apply(fields.outName, entry.outName);
    Apply(fields.outPath, entry.outPath);
    Apply(fields.outUserId, entry.outUserId);
    Apply(fields.outPassword, entry.outPassword);
}

std::vector<std::wstring> NamesOfOtherSlots(const TerminalTable& table, int slot) {
    std::vector<std::wstring> names;
    for (int other = 0; other < table.UsedCount(); ++other) {
        if (other != slot)
            names.push_back(table.slots[static_cast<size_t>(other)].name);
    }
    return names;
}

/// The fields the OK button waits for that are empty, with their options.
std::wstring MissingFields(const TerminalEntry& entry) {
    std::wstring missing;
    const auto note = [&missing](const std::wstring& value, const wchar_t* what) {
        if (value.empty())
            missing += (missing.empty() ? L"" : L", ") + std::wstring(what);
    };
    note(entry.name, L"a name (--name)");
    note(entry.path, L"an input folder (--path)");
    note(entry.outName, L"an output name (--out-name)");
    note(entry.outPath, L"an output folder (--out-path)");
    return missing;
}

/// Why the edit dialog's OK would refuse the entry: the one rule it breaks.
std::wstring BrokenRuleText(const TerminalEntry& entry, TerminalRule rule) {
    switch (rule) {
    case TerminalRule::kNone:
        break;
    case TerminalRule::kSameFolders:
        return L"the input and the output folder must differ";
    case TerminalRule::kFolderOnlyDots:
        return L"the input folder \"" + entry.path + L"\" is made only of dots";
    case TerminalRule::kNameOnlyDots:
        return L"the name \"" + entry.name + L"\" is made only of dots";
    case TerminalRule::kNameInUse:
        return L"the name \"" + entry.name + L"\" is already in use";
    case TerminalRule::kReservedCharacter:
        return L"the name \"" + entry.name + L"\" contains one of \\ / : * ? < > |";
    }
    return {};
}

/// The edit dialog's OK rules; prints the one that refuses the entry.
bool IsAcceptable(const ControllerFolders& folders, const TerminalEntry& entry,
                  const std::vector<std::wstring>& namesInUse) {
    if (const std::wstring missing = MissingFields(entry); !missing.empty()) {
        PrintError(L"a terminal needs " + missing);
        return false;
    }
    if (const std::wstring overlong = FindOverlongField(entry); !overlong.empty()) {
        const bool isName = overlong == L"name" || overlong == L"outName";
        PrintError(overlong + L" is too long (at most " + (isName ? L"15" : L"256") +
                   L" columns; full-width characters count twice)");
        return false;
    }
    const TerminalRule rule = FindBrokenRule(entry, namesInUse);
    if (rule == TerminalRule::kNone)
        return true;
    const std::wstring catalogue = ChooseMessageCatalogue(folders.program);
    const int message =
        rule == TerminalRule::kSameFolders ? kMsgEditSameFolders : kMsgEditInvalidEntry;
    PrintError(ReadCatalogueText(catalogue, message) + L" (" + BrokenRuleText(entry, rule) + L")");
    return false;
}

} // namespace

int ListTerminals(const ControllerFolders& folders) {
    ShareResolver files;
    const TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    if (table.UsedCount() == 0) {
        PrintLine(stdout, L"no terminals; add one with 'relaydesk-cli terminal add'");
        return 0;
    }
    const MainWindowTexts texts = ReadMainWindowTexts(ChooseMessageCatalogue(folders.program), 0);
    PrintLine(stdout,
              L"slot on name\tinput folder\tinput state\toutput name\toutput folder\toutput "
              L"state");
    for (int slot = 0; slot < table.UsedCount(); ++slot) {
        const TerminalEntry& entry = table.slots[static_cast<size_t>(slot)];
        const ConnectionStatus input =
            CheckFolderConnection(files, entry.path, entry.userId, entry.password);
        const ConnectionStatus output =
            CheckFolderConnection(files, entry.outPath, entry.outUserId, entry.outPassword);
        PrintLine(stdout, std::to_wstring(slot) + (entry.enabled ? L" [x] " : L" [ ] ") +
                              entry.name + L"\t" + entry.path + L"\t" +
                              texts.statusTexts[static_cast<size_t>(input)] + L"\t" +
                              entry.outName + L"\t" + entry.outPath + L"\t" +
                              texts.statusTexts[static_cast<size_t>(output)]);
    }
    return 0;
}

int AddTerminal(const ControllerFolders& folders, TerminalFields fields) {
    const TerminalTableChange change;
    if (!change.CanBegin())
        return 1;
    WriteLog(g_pLogClient, L"OnBAdd IN");
    TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    const int used = table.UsedCount();
    // A chosen folder names its terminal when no name is given, as the folder picker does.
    if (!fields.name && fields.path)
        fields.name = TerminalNameFromFolder(*fields.path);
    if (!fields.outName && fields.outPath)
        fields.outName = TerminalNameFromFolder(*fields.outPath);
    TerminalEntry entry;
    ApplyFields(fields, entry);
    int status = 1;
    if (used >= kTerminalSlots) {
        PrintError(L"all ten terminal slots are in use");
    } else if (IsAcceptable(folders, entry, NamesOfOtherSlots(table, -1)) &&
               table.AddTerminal(entry) && SaveTable(folders, table, change)) {
        PrintLine(stdout, L"added terminal " + std::to_wstring(used) + L" (switched off)");
        status = 0;
    }
    WriteLog(g_pLogClient, L"OnBAdd OUT");
    return status;
}

int EditTerminal(const ControllerFolders& folders, const std::wstring& terminal,
                 const TerminalFields& fields) {
    const TerminalTableChange change;
    if (!change.CanBegin())
        return 1;
    WriteLog(g_pLogClient, L"OnBEdit IN");
    TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    int status = 1;
    const int slot = FindTerminalSlot(table, terminal);
    if (slot >= 0) {
        TerminalEntry entry = table.slots[static_cast<size_t>(slot)];
        ApplyFields(fields, entry);
        if (IsAcceptable(folders, entry, NamesOfOtherSlots(table, slot))) {
            table.slots[static_cast<size_t>(slot)] = entry;
            if (SaveTable(folders, table, change))
                status = 0;
        }
    }
    WriteLog(g_pLogClient, L"OnBEdit OUT");
    return status;
}

int RemoveTerminal(const ControllerFolders& folders, const std::wstring& terminal) {
    const TerminalTableChange change;
    if (!change.CanBegin())
        return 1;
    WriteLog(g_pLogClient, L"OnBDelete IN");
    TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    const int slot = FindTerminalSlot(table, terminal);
    if (slot < 0) {
        WriteLog(g_pLogClient, L"OnBDelete OUT YES ");
        return 1;
    }
    const std::wstring path = table.slots[static_cast<size_t>(slot)].path;
    table.DeleteTerminal(slot);
    const bool saved = SaveTable(folders, table, change);
    WriteLog(g_pLogClient, L"OnBDelete OUT YES %s", path);
    return saved ? 0 : 1;
}

int SetTerminalEnabled(const ControllerFolders& folders, const std::wstring& terminal,
                       bool enabled) {
    const TerminalTableChange change;
    if (!change.CanBegin())
        return 1;
    TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    const int slot = FindTerminalSlot(table, terminal);
    if (slot < 0)
        return 1;
    table.slots[static_cast<size_t>(slot)].enabled = enabled ? 1 : 0;
    return SaveTable(folders, table, change) ? 0 : 1;
}
