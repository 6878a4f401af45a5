#include "GuiTestSupport.h"

#include "Eventually.h"
#include "LogRecords.h"

#include "fileutil/FileUtil.h"
#include "logging/LogClient.h"
#include "platform/FileSystemCalls.h"
#include "platform/ProcessEnvironment.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

void GuiTest::SetUp() {
    m_programFolder = m_folder / L"プログラム";
    m_folder.MakeFolder(L"プログラム");
    for (const wchar_t* name : {L"MSG_ENG.ini", L"MSG_JPN.ini"})
        fs::copy_file(platform::ToFsPath(JoinPath(GetModuleFolder(), name)),
                      platform::ToFsPath(JoinPath(m_programFolder, name)));
    m_folder.MakeFolder(L"run");
    platform::SetEnvironmentValue("RELAYDESK_LOG_DIR", m_folder / L"ログ");
    platform::SetEnvironmentValue("XDG_RUNTIME_DIR", m_folder / L"run");
    platform::SetEnvironmentValue("RELAYDESK_KEYBOARD_LAYOUT", L"0411");
}

void GuiTest::TearDown() {
    PumpPending();
    if (m_ownsLogClient) {
        delete g_pLogClient;
        g_pLogClient = nullptr;
    }
    unsetenv("RELAYDESK_LOG_DIR");
    unsetenv("RELAYDESK_KEYBOARD_LAYOUT");
}

void GuiTest::StartLogging() {
    g_pLogClient = new CLogClient(L"QRM_Relaydesk2");
    m_ownsLogClient = true;
}

std::wstring GuiTest::InstallProgram() const {
    const fs::path program = platform::ToFsPath(m_programFolder);
    for (const fs::directory_entry& entry :
         fs::directory_iterator(platform::ToFsPath(GetModuleFolder()))) {
        const fs::path name = entry.path().filename();
        if (name == "relaydesk" || name == "ini" || name.extension() == ".so")
            fs::copy(entry.path(), program / name, fs::copy_options::recursive);
    }
    return m_programFolder + platform::kPathSeparator + L"relaydesk";
}

std::wstring GuiTest::CompositionIni() const {
    return m_programFolder + platform::kPathSeparator + L"composition.ini";
}

void GuiTest::SaveTerminals(const std::vector<TerminalEntry>& terminals) const {
    TerminalTable table;
    for (std::size_t slot = 0; slot < terminals.size(); ++slot)
        table.slots[slot] = terminals[slot];
    SaveTerminalTable(CompositionIni(), table);
}

TerminalTable GuiTest::LoadTerminals() const {
    return LoadTerminalTable(CompositionIni());
}

TerminalEntry GuiTest::MakeTerminal(const std::wstring& name, bool enabled) const {
    TerminalEntry entry;
    entry.enabled = enabled ? 1 : 0;
    entry.name = name;
    entry.path = m_folder / (L"端末/" + name + L"/in");
    entry.outName = name + L"出力";
    entry.outPath = m_folder / (L"端末/" + name + L"/out");
    m_folder.MakeFolder(L"端末/" + name + L"/in");
    m_folder.MakeFolder(L"端末/" + name + L"/out");
    return entry;
}

std::vector<std::wstring> GuiTest::LogLines() const {
    return LogMessagesIn(m_folder / L"ログ");
}

int GuiTest::FindLogLine(const std::wstring& text, int from) const {
    return IndexOf(LogLines(), text, from);
}

void GuiTest::ExpectShutdownRan() const {
    const std::vector<std::wstring> lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), L"ExitInstance");
    const int shutdown = FindLogLine(L"OnOK IN");
    EXPECT_GE(shutdown, 0);
    EXPECT_GT(FindLogLine(L"OnOK OUT"), shutdown);
}

bool PumpUntil(const std::function<bool()>& done) {
    return Eventually(
        [&] {
            PumpPending();
            return done();
        },
        std::chrono::seconds(30), std::chrono::milliseconds(5));
}

void PumpPending() {
    for (int round = 0; round < 5; ++round) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
    }
}

void ModalScript::ThenMessageBox(int answer) {
    Then([this, answer](wxDialog* dialog) {
        auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);
        EXPECT_NE(box, nullptr) << "expected a message box";
        if (box)
            m_messages.push_back(box->GetMessage().ToStdWstring());
        return answer;
    });
}

int ModalScript::Enter(wxDialog* dialog) {
    if (m_steps.empty()) {
        ADD_FAILURE() << "an unexpected modal dialog opened: " << dialog->GetTitle().utf8_str();
        return wxID_CANCEL;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    return step(dialog);
}

void Click(wxWindow* button) {
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->IsEnabled()) << "the button is disabled";
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void Type(wxWindow* window, int id, const std::wstring& text) {
    static_cast<wxTextCtrl*>(window->FindWindow(id))->SetValue(text);
}
