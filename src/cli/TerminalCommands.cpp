#include "cli/TerminalCommands.h"

#include "cli/ConsoleText.h"
#include "cli/TerminalSelection.h"
#include "config/MessageCatalogue.h"
#include "config/TerminalChecks.h"
#include "config/TerminalTable.h"
#include "fileutil/FileUtil.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "platform/SingleInstance.h"
#include "transfer/ConnectionProbe.h"

#include <vector>

namespace {

constexpr wchar_t kInstanceName[] = L"QRM_Relaydesk2";

std::wstring CompositionIni(const std::wstring& programFolder) {
    return JoinPath(programFolder, L"composition.ini");
}

TerminalTable LoadTable(const std::wstring& programFolder) {
    TerminalTable table;
    std::uint32_t freeDisk = 0;
    LoadTerminalTable(CompositionIni(programFolder), table, freeDisk);
    return table;
}

/// Saves the table; says so on stderr when it could not be written.
bool SaveTable(const std::wstring& programFolder, const TerminalTable& table) {
    if (SaveTerminalTable(CompositionIni(programFolder), table))
        return true;
    PrintError(L"cannot save the terminal table to " + CompositionIni(programFolder));
    return false;
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
    // A chosen folder names its terminal when no name is given, as the folder picker does.
    if (!fields.name && fields.path)
        entry.name = TerminalNameFromFolder(entry.path);
    if (!fields.outName && fields.outPath)
        entry.outName = TerminalNameFromFolder(entry.outPath);
}

/// The edit dialog's OK rules; prints why an entry is refused.
bool IsAcceptable(const std::wstring& programFolder, const TerminalEntry& entry,
                  const std::vector<std::wstring>& namesInUse) {
    if (!HasRequiredFields(entry)) {
        PrintError(L"a terminal needs a name, an input folder (--path), an output name and an "
                   L"output folder (--out-path)");
        return false;
    }
    const std::wstring overlong = FindOverlongField(entry);
    if (!overlong.empty()) {
        PrintError(overlong + L" is too long (names: 15 columns, folders and credentials: 256)");
        return false;
    }
    const std::wstring catalogue = ChooseMessageCatalogue(programFolder);
    switch (CheckTerminalEntry(entry, namesInUse)) {
    case TerminalCheckResult::kSameFolders:
        PrintError(ReadCatalogueText(catalogue, kMsgEditSameFolders) +
                   L" (the input and the output folder must differ)");
        return false;
    case TerminalCheckResult::kInvalidFolderOrName:
        PrintError(ReadCatalogueText(catalogue, kMsgEditInvalidEntry) +
                   L" (folder or name made only of dots, name already in use, or one of \\ / : * ? "
                   L"< > | in the name)");
        return false;
    case TerminalCheckResult::kAccepted:
        break;
    }
    return true;
}

/// A running controller saves its own table when it ends and would undo the change.
bool NoControllerRunning(const platform::SingleInstanceGuard& instance) {
    if (instance.IsFirstInstance())
        return true;
    PrintError(L"a controller is running; stop it before changing its terminals");
    return false;
}

} // namespace

int ListTerminals(const std::wstring& programFolder) {
    ShareResolver files;
    const TerminalTable table = LoadTable(programFolder);
    const MainWindowTexts texts = ReadMainWindowTexts(ChooseMessageCatalogue(programFolder), 0);
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

int AddTerminal(const std::wstring& programFolder, const TerminalFields& fields) {
    platform::SingleInstanceGuard instance(kInstanceName);
    if (!NoControllerRunning(instance))
        return 1;
    WriteLog(g_pLogClient, L"OnBAdd IN");
    TerminalTable table = LoadTable(programFolder);
    const int used = table.UsedCount();
    int status = 1;
    TerminalEntry entry;
    ApplyFields(fields, entry);
    std::vector<std::wstring> namesInUse;
    for (int slot = 0; slot < used; ++slot)
        namesInUse.push_back(table.slots[static_cast<size_t>(slot)].name);
    if (used >= kTerminalSlots) {
        PrintError(L"all ten terminal slots are in use");
    } else if (IsAcceptable(programFolder, entry, namesInUse) && table.AddTerminal(entry) &&
               SaveTable(programFolder, table)) {
        PrintLine(stdout, L"added terminal " + std::to_wstring(used) + L" (switched off)");
        status = 0;
    }
    WriteLog(g_pLogClient, L"OnBAdd OUT");
    return status;
}

int EditTerminal(const std::wstring& programFolder, const std::wstring& terminal,
                 const TerminalFields& fields) {
    platform::SingleInstanceGuard instance(kInstanceName);
    if (!NoControllerRunning(instance))
        return 1;
    WriteLog(g_pLogClient, L"OnBEdit IN");
    TerminalTable table = LoadTable(programFolder);
    int status = 1;
    const int slot = FindTerminalSlot(table, terminal);
    if (slot >= 0) {
        TerminalEntry entry = table.slots[static_cast<size_t>(slot)];
        ApplyFields(fields, entry);
        std::vector<std::wstring> namesInUse;
        for (int other = 0; other < kTerminalSlots; ++other) {
            if (other != slot)
                namesInUse.push_back(table.slots[static_cast<size_t>(other)].name);
        }
        if (IsAcceptable(programFolder, entry, namesInUse)) {
            table.slots[static_cast<size_t>(slot)] = entry;
            if (SaveTable(programFolder, table))
                status = 0;
        }
    }
    WriteLog(g_pLogClient, L"OnBEdit OUT");
    return status;
}

int RemoveTerminal(const std::wstring& programFolder, const std::wstring& terminal) {
    platform::SingleInstanceGuard instance(kInstanceName);
    if (!NoControllerRunning(instance))
        return 1;
    WriteLog(g_pLogClient, L"OnBDelete IN");
    TerminalTable table = LoadTable(programFolder);
    const int slot = FindTerminalSlot(table, terminal);
    if (slot < 0) {
        WriteLog(g_pLogClient, L"OnBDelete OUT YES ");
        return 1;
    }
    const std::wstring path = table.slots[static_cast<size_t>(slot)].path;
    table.DeleteTerminal(slot);
    const bool saved = SaveTable(programFolder, table);
    WriteLog(g_pLogClient, L"OnBDelete OUT YES %s", path);
    return saved ? 0 : 1;
}

int SetTerminalEnabled(const std::wstring& programFolder, const std::wstring& terminal,
                       bool enabled) {
    platform::SingleInstanceGuard instance(kInstanceName);
    if (!NoControllerRunning(instance))
        return 1;
    TerminalTable table = LoadTable(programFolder);
    const int slot = FindTerminalSlot(table, terminal);
    if (slot < 0)
        return 1;
    table.slots[static_cast<size_t>(slot)].enabled = enabled ? 1 : 0;
    return SaveTable(programFolder, table) ? 0 : 1;
}
