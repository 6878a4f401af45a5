#pragma once
/// Where the controller keeps its state and where its program files lie. By default both are
/// the program folder; a packaged install keeps the state elsewhere (RELAYDESK_HOME or
/// --home), so that the program files stay read-only.

#include <optional>
#include <string>

struct ControllerFolders {
    std::wstring home;    ///< composition.ini, TEMP, JOURNAL, ini/ and, by default, log/
    std::wstring program; ///< the executables, the libraries and the message catalogues

    std::wstring CompositionIni() const;
};

/// The home from `homeOption`, else RELAYDESK_HOME, else the program folder; nullopt, with
/// a message, when the program folder cannot be told.
std::optional<ControllerFolders>
FindControllerFolders(const std::optional<std::wstring>& homeOption);
