#include "app/RelaydeskApp.h"

#include "app/RelaydeskDlg.h"
#include "config/AppSettings.h"
#include "dialogs/MessageBox.h"
#include "fileutil/FileUtil.h"
#include "logging/LogClient.h"
#include "platform/DisplayLoss.h"
#include "platform/LogWriterFactory.h"
#include "platform/ProcessEnvironment.h"
#include "platform/ShutdownRequests.h"
#include "platform/Version.h"
#include "transfer/StartupChecks.h"

#include <memory>
#include <new>

namespace {

void LogProgramVersion() {
    platform::ProgramVersion version = platform::GetProgramVersion();
    WriteLog(g_pLogClient, L"Start: Ver %d.%d.%d.%d", version.major, version.minor, version.patch,
             version.build);
}

} // namespace

CRelaydeskApp::CRelaydeskApp()
    : m_modalDialogs([this] {
          // A dialog above the main window has ended: go on closing what is left.
          if (m_bEndRequested)
              CallAfter(&CRelaydeskApp::EndOnRequest);
      }) {}

bool CRelaydeskApp::OnInit() {
    Bind(wxEVT_QUERY_END_SESSION, &CRelaydeskApp::OnQueryEndSession, this);
    Bind(wxEVT_END_SESSION, &CRelaydeskApp::OnEndSession, this);
    platform::SetDisplayLostHandler(&CRelaydeskApp::OnDisplayLost);
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
    const std::wstring programFolder =
        m_strProgramFolder.empty() ? GetModuleFolder() : m_strProgramFolder;
    // The logging service and the log rotation must agree on one folder: it is settled here,
    // before the first line, and handed to the service.
    platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", ReadLogFolder(programFolder));
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
    if (const std::wstring problem = FindUnwritableFolder(programFolder); !problem.empty()) {
        WriteLog(g_pLogClient, L"InitInstance ERR %s", problem);
        ShowMessageBox(nullptr, problem, wxOK | wxICON_ERROR, m_strAppName);
        m_pInstanceGuard.reset();
        return false;
    }

    {
        CRelaydeskDlg dialog(m_pInstanceGuard.get(), m_strProgramFolder);
        SetTopWindow(&dialog);
        m_pDialog = &dialog;
        // A request still queued when this run is over must not reach a later one.
        auto running = std::make_shared<bool>(true);
        {
            platform::ShutdownRequestWatcher requests([this, weak = std::weak_ptr(running)] {
                CallAfter([this, weak] {
                    if (weak.lock())
                        EndOnRequest();
                });
            });
            dialog.ShowModal();
        }
        running.reset();
        m_pDialog = nullptr;
        m_bEndRequested = false;
        WriteLog(g_pLogClient, L"InitInstance OUT");
        SetTopWindow(nullptr);
    }
    return false;
}

int CRelaydeskApp::ExitInstance() {
    ReleaseInstance();
    return wxApp::OnExit();
}

void CRelaydeskApp::ReleaseInstance() {
    m_pInstanceGuard.reset();
    WriteLog(g_pLogClient, L"ExitInstance");
    delete g_pLogClient;
    g_pLogClient = nullptr;
    platform::ComUninitialize();
}

void CRelaydeskApp::EndOnRequest() {
    if (!m_pDialog)
        return;
    m_bEndRequested = true;
    // The main window's modal run can only end once the runs above it have ended; the end
    // of each brings us back here.
    wxDialog* innermost = m_modalDialogs.Innermost();
    if (innermost && innermost != m_pDialog) {
        if (innermost->IsModal()) // not when its run is already ending
            innermost->EndModal(wxID_CANCEL);
        return;
    }
    m_bEndRequested = false;
    m_pDialog->OnOK();
}

int CRelaydeskApp::OnDisplayLost() {
    auto& app = *static_cast<CRelaydeskApp*>(wxTheApp);
    if (app.m_pDialog)
        app.m_pDialog->OnDisplayLost();
    app.ReleaseInstance();
    return 0;
}

void CRelaydeskApp::OnQueryEndSession(wxCloseEvent& event) {
    if (auto* dialog = dynamic_cast<CRelaydeskDlg*>(GetTopWindow()))
        dialog->SaveTerminalTable();
    event.Skip(false);
}

void CRelaydeskApp::OnEndSession(wxCloseEvent&) {
    EndOnRequest();
}
