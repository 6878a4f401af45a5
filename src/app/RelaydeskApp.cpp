#include "app/RelaydeskApp.h"

#include "app/RelaydeskDlg.h"
#include "logging/LogClient.h"
#include "platform/LogWriterFactory.h"
#include "platform/Version.h"
#include "transfer/StartupChecks.h"

#include <wx/msgdlg.h>

#include <new>

namespace {

void LogProgramVersion() {
    platform::ProgramVersion version = platform::GetProgramVersion();
    WriteLog(g_pLogClient, L"Start: Ver %d.%d.%d.%d", version.major, version.minor, version.patch,
             version.build);
}

} // namespace

bool CRelaydeskApp::OnInit() {
    Bind(wxEVT_QUERY_END_SESSION, &CRelaydeskApp::OnQueryEndSession, this);
    Bind(wxEVT_END_SESSION, &CRelaydeskApp::OnEndSession, this);
    return true;
}

int CRelaydeskApp::OnRun() {
    InitInstance();
    return 0;
}

int CRelaydeskApp::OnExit() {
    return ExitInstance();
}

bool CRelaydeskApp::InitInstance() {
    m_strAppName = kAppName;
    platform::ComInitialize();
    g_pLogClient = new (std::nothrow) CLogClient(m_strAppName);
    LogProgramVersion();
    WriteLog(g_pLogClient, L"InitInstance IN");

    m_pInstanceGuard = std::make_unique<platform::SingleInstanceGuard>(m_strAppName);
    if (!m_pInstanceGuard->IsFirstInstance()) {
        m_pInstanceGuard->AskRunningInstanceToRaise();
        m_pInstanceGuard.reset();
        WriteLog(g_pLogClient, L"InitInstance ERR");
        return false;
    }

    // A controller that cannot write its own folders would fail every order quietly.
    if (const std::wstring problem = FindUnwritableFolder(m_strProgramFolder); !problem.empty()) {
        WriteLog(g_pLogClient, L"InitInstance ERR %s", problem);
        wxMessageBox(problem, m_strAppName, wxOK | wxICON_ERROR);
        m_pInstanceGuard.reset();
        return false;
    }

    {
        CRelaydeskDlg dialog(m_pInstanceGuard.get(), m_strProgramFolder);
        SetTopWindow(&dialog);
        dialog.ShowModal();
        WriteLog(g_pLogClient, L"InitInstance OUT");
        SetTopWindow(nullptr);
    }
    return false;
}

int CRelaydeskApp::ExitInstance() {
    m_pInstanceGuard.reset();
    WriteLog(g_pLogClient, L"ExitInstance");
    delete g_pLogClient;
    g_pLogClient = nullptr;
    platform::ComUninitialize();
    return wxApp::OnExit();
}

void CRelaydeskApp::OnQueryEndSession(wxCloseEvent& event) {
    if (auto* dialog = dynamic_cast<CRelaydeskDlg*>(GetTopWindow()))
        dialog->SaveTerminalTable();
    event.Skip(false);
}

void CRelaydeskApp::OnEndSession(wxCloseEvent&) {
    if (auto* dialog = dynamic_cast<CRelaydeskDlg*>(GetTopWindow()))
        dialog->OnOK();
}
