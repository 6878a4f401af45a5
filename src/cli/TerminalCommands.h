#pragma once
/// relaydesk-cli terminal list|add|edit|remove|enable|disable: the terminal list commands of
/// the main window, with the edit dialog's checks, saved to composition.ini at once and
/// announced to a controller that runs.

#include "cli/ControllerFolders.h"

#include <optional>
#include <string>

/// Field values given on the command line; an absent field is left as it is (edit) or
/// empty (add).
struct TerminalFields {
    std::optional<std::wstring> name, path, userId, password;
    std::optional<std::wstring> outName, outPath, outUserId, outPassword;
};

/// Each returns the exit status: 0 on success, 1 on bad input or a refused change.
int ListTerminals(const ControllerFolders& folders);
/// A name not given comes from its folder, as the folder picker derives it.
int AddTerminal(const ControllerFolders& folders, TerminalFields fields);
int EditTerminal(const ControllerFolders& folders, const std::wstring& terminal,
                 const TerminalFields& fields);
int RemoveTerminal(const ControllerFolders& folders, const std::wstring& terminal);
int SetTerminalEnabled(const ControllerFolders& folders, const std::wstring& terminal,
                       bool enabled);
