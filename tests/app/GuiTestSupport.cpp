#include "GuiTestSupport.h"

#include "LogRecords.h"

#include "fileutil/FileUtil.h"
#include "logging/LogClient.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char kJapaneseCatalogue[] = R"([MESSAGE]
1000=ＭＳ Ｐゴシック
1001=ja_JP
26268=中継デスク
26265=終了
26061=追加
26062=編集
25102=削除
20135=出力済み注文
26057=端末一覧
26058=端末名
26266=進捗
26059=フォルダ
26060=接続
26267=合成中 %d%
5984=削除しますか？
26076=接続OK
26077=エラー（%s）
26063=拒否
26065=網
26064=無し
26066=鍵
26067=道
26068=断
25030=決定
25031=取消
25185=参照
26069=端末の設定
26070=利用者
26071=暗証
26295=入力側
26297=出力側
26080=フォルダの選択
5985=フォルダまたは名前が正しくありません
6080=入力と出力に同じフォルダは使えません
5986=空き %d MB
25110=日時
25378=注文
20258=すべて選択
20092=削除
25358=期間で選択
25523=～
20058=閉じる
)";

const char kEnglishCatalogue[] = R"([MESSAGE]
1000=Tahoma
1001=en_US
26268=Relay desk
26265=Exit
26061=Add
26062=Edit
25102=Delete
5984=Delete this terminal?
5985=Invalid folder or name
6080=Input and output must differ
)";

void SetEnvironment(const char* name, const std::wstring& value) {
    setenv(name, platform::WideToUtf8(value).c_str(), 1);
}

} // namespace

void GuiTest::SetUp() {
    m_programFolder = m_folder / L"プログラム";
    m_folder.MakeFolder(L"プログラム");
    m_folder.WriteFile(L"プログラム/MSG_ENG.ini", kEnglishCatalogue);
    m_folder.WriteFile(L"プログラム/MSG_JPN.ini", kJapaneseCatalogue);
    m_folder.MakeFolder(L"run");
    SetEnvironment("RELAYDESK_LOG_DIR", m_folder / L"ログ");
    SetEnvironment("XDG_RUNTIME_DIR", m_folder / L"run");
    SetEnvironment("RELAYDESK_KEYBOARD_LAYOUT", L"0411");
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
    TerminalTable table;
    std::uint32_t freeDisk = 0;
    LoadTerminalTable(CompositionIni(), table, freeDisk);
    return table;
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

bool PumpUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        wxMilliSleep(5);
    }
    return true;
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
    ++m_entered;
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
