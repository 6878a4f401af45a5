#pragma once
/// The application object: brings up COM and the log channel, logs the version, keeps to
/// one running copy, runs the main dialog modally and releases everything when it ends.

#include "platform/SingleInstance.h"

#include <wx/app.h>

#include <memory>
#include <string>

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

private:
    std::wstring m_strAppName;
    std::wstring m_strProgramFolder;
    std::unique_ptr<platform::SingleInstanceGuard> m_pInstanceGuard;
};

wxDECLARE_APP(CRelaydeskApp);
