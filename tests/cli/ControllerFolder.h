#pragma once
/// A program folder of its own for one end-to-end test: relaydesk-cli, the libraries and the
/// catalogues copied from the build's program folder, a log folder and an empty registry,
/// terminal folders beside it, and a way to run the CLI and the kiosk simulator there.

#include "FolderNames.h"
#include "ShellQuote.h"
#include "TempFolder.h"

#include <string>
#include <vector>

class ControllerFolder {
public:
    ControllerFolder();

    const std::wstring& ProgramFolder() const { return m_programFolder; }
    TempFolder& Root() { return m_root; }
    const TempFolder& Root() const { return m_root; }

    /// Runs relaydesk-cli with `arguments` (already quoted for the shell); its exit status,
    /// standard output in `output` when given. `launcher` goes before the program: shell
    /// assignments and a command that runs it (as "LD_PRELOAD=x timeout 60 ").
    int RunCli(const std::string& arguments, std::string* output = nullptr,
               const std::string& launcher = {}) const;
    /// Starts relaydesk-cli with `arguments` in the background, its output discarded; the
    /// process id the shell knows it by (under wine, that of the wine process).
    std::string StartCli(const std::string& arguments) const;
    /// True when the program is a Windows build run under wine (RELAYDESK_WINDOWS_PROGRAM).
    static bool UnderWine();
    const std::wstring& LogFolder() const { return m_logFolder; }
    /// Writes an order with the kiosk simulator; extra options as given.
    void WriteOrder(const std::wstring& inputFolder, int orderNumber,
                    const std::string& options = {}) const;
    /// Adds and switches on a terminal with the given folders (created if missing).
    void AddTerminal(const std::wstring& name, const std::wstring& inputFolder,
                     const std::wstring& outputFolder) const;
    /// Sets [CONFIG] of composition.ini before the first start.
    void SetUniqueIdCheck(bool on, const std::wstring& uniqueId) const;

    /// Every log line written so far, without time stamps, as the client built them.
    std::vector<std::wstring> LogLines() const;
    /// How many log lines carry exactly `text` as their message.
    int CountLogLines(const std::wstring& text) const;
    /// How many log lines have a message that starts with `start`.
    int CountLogLinesStartingWith(const std::wstring& start) const;

private:
    /// Shell assignments that give a started program this test's log folder, registry and
    /// runtime folder (where the single-instance lock lives, so that tests running side by
    /// side do not see each other's controllers).
    std::string Environment() const;

    TempFolder m_root;
    std::wstring m_programFolder;
    std::wstring m_logFolder;

    /// The shell command that runs the program, without arguments.
    std::string ProgramCommand() const;
};
