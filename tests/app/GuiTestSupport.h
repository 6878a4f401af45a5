#pragma once
/// What the GUI tests share: a program folder of their own with catalogues, terminals and a
/// log folder; running the event loop until something has happened; answering modal dialogs.

#include "TempFolder.h"
#include "config/TerminalTable.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

/// A fresh program folder per test (with a Japanese name), the Japanese and English
/// catalogues that ship, a log folder and an instance-lock folder of its own. The keyboard
/// layout is Japanese unless a test says otherwise.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::wstring& ProgramFolder() const { return m_programFolder; }
    std::wstring CompositionIni() const;
    /// Stores terminals in composition.ini as the program stores them.
    void SaveTerminals(const std::vector<TerminalEntry>& terminals) const;
    TerminalTable LoadTerminals() const;
    /// A terminal whose folders exist below the test folder.
    TerminalEntry MakeTerminal(const std::wstring& name, bool enabled = false) const;

    /// The texts of the log lines written so far ("OnOK IN"), oldest first.
    std::vector<std::wstring> LogLines() const;
    /// Position of the first line equal to `text` at or after `from`; -1 when absent.
    int FindLogLine(const std::wstring& text, int from = 0) const;
    /// Checks that the log ends with the program's exit, after a whole shutdown (OnOK).
    void ExpectShutdownRan() const;

    /// Creates the process-wide log client for tests that build dialogs themselves.
    void StartLogging();

    /// Copies the program and its libraries from the build into the program folder: the
    /// program takes its folder from its own location. Returns its path.
    std::wstring InstallProgram() const;

    TempFolder m_folder;

private:
    std::wstring m_programFolder;
    bool m_ownsLogClient = false;
};

/// Runs the event loop until `done` holds or thirty seconds have passed; whether it held.
bool PumpUntil(const std::function<bool()>& done);
/// Runs the event loop until nothing more is waiting.
void PumpPending();

/// Answers the modal dialogs that the code under test opens, in order. A step receives the
/// dialog and returns its result, or wxID_NONE to let it run modally (the step then drives
/// it, typically through CallAfter). A dialog beyond the script fails the test and is
/// cancelled.
class ModalScript : public wxModalDialogHook {
public:
    using Step = std::function<int(wxDialog*)>;

    ModalScript() { Register(); }
    void Then(Step step) { m_steps.push_back(std::move(step)); }
    /// Answers the next message box with `answer` and records its text.
    void ThenMessageBox(int answer);
    /// A step for the next dialog, which must be a `Dialog`: `act` drives it while it runs
    /// modally, and a dialog still open after that ends with wxID_ABORT.
    template <typename Dialog> void ThenWhileModal(std::function<void(Dialog&)> act) {
        Then([act](wxDialog* dialog) {
            auto* typed = dynamic_cast<Dialog*>(dialog);
            EXPECT_NE(typed, nullptr) << "another kind of dialog opened";
            if (!typed)
                return wxID_CANCEL;
            wxTheApp->CallAfter([typed, act] {
                act(*typed);
                if (typed->IsModal())
                    typed->EndModal(wxID_ABORT);
            });
            return wxID_NONE;
        });
    }

    bool Done() const { return m_steps.empty(); }
    const std::vector<std::wstring>& MessageTexts() const { return m_messages; }

protected:
    int Enter(wxDialog* dialog) override;

private:
    std::deque<Step> m_steps;
    std::vector<std::wstring> m_messages;
};

/// Clicks a button as the user would: only an enabled button reacts.
void Click(wxWindow* button);
/// Types a whole new text into the text field `id` of `window`, as the user replacing it would.
void Type(wxWindow* window, int id, const std::wstring& text);
