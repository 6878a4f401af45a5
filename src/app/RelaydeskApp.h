#pragma once
/// The application object: brings up COM and the log channel, logs the version, keeps to
/// one running copy, runs the main dialog modally and releases everything when it ends.

#include "app/ModalDialogStack.h"
#include "platform/SingleInstance.h"

#include <wx/app.h>

#include <memory>
#include <string>

class CRelaydeskDlg;

class CRelaydeskApp : public wxApp {
public:
    /// Name of the single-instance lock and of the log source.
    static constexpr wchar_t kAppName[] = L"QRM_Relaydesk2";

    /// Start-up, the modal run of the main dialog and its end; always false, as nothing
    /// runs after the dialog. A second copy asks the first to come to the front, shows
    /// nothing and returns at once.
    bool InitInstance();
    /// Releases the instance lock, logs "ExitInstance" as the last line, deletes the log
    /// client and uninitialises COM.
    int ExitInstance();

    /// The folder that holds composition.ini, TEMP and the catalogues; the program's own
    /// folder when not set (tests hand in a temporary one).
    void SetProgramFolder(const std::wstring& folder) { m_strProgramFolder = folder; }

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    /// Asked by the system whether the session may end: the table is saved and the answer
    /// is yes. At the end of the session the shutdown routine runs.
    void OnQueryEndSession(wxCloseEvent& event);
    void OnEndSession(wxCloseEvent& event);

    CRelaydeskApp();

    /// Ends the program as closing the main window does, whatever dialog the user has open
    /// above it (those are cancelled first). The end of the session, a terminate, interrupt
    /// or hangup signal come here. GUI thread only.
    void EndOnRequest();

private:
    /// ExitInstance's releases, without the toolkit's own clean-up.
    void ReleaseInstance();
    /// The display is gone: the shutdown routine runs without touching a window, then the
    /// program's end is logged. Returns the exit status.
    static int OnDisplayLost();

    std::wstring m_strAppName;
    std::wstring m_strProgramFolder;
    std::unique_ptr<platform::SingleInstanceGuard> m_pInstanceGuard;
    ModalDialogStack m_modalDialogs;
    /// An end was asked for during this modal run of the main dialog.
    bool m_bEndRequested = false;
    /// The main dialog during its modal run, otherwise null.
    CRelaydeskDlg* m_pDialog = nullptr;
};

wxDECLARE_APP(CRelaydeskApp);
