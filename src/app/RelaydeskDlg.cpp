#include "app/RelaydeskDlg.h"

#include "dialogs/DialogLayout.h"
#include "dialogs/MessageBox.h"
#include "dialogs/OrderViewDlg.h"
#include "dialogs/TerminalEditDlg.h"
#include "dialogs/WindowFont.h"
#include "fileutil/FileUtil.h"
#include "logging/LogClient.h"
#include "platform/SingleInstance.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/renderer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "relaydesk.xpm"

namespace {

constexpr wchar_t kResourceTitle[] = L"QRM_Relaydesk";
constexpr int kMessageStartUserInterface = 3000;
constexpr int kMessageStartTransfer = 6000;
constexpr int kRaiseCheckIntervalMs = 500;
/// Position of the delete question among the catalogue texts handed to the edit dialog.
constexpr int kDeleteQuestionPosition = 8;
constexpr DialogUnitRect kProgressField = {82, 34, 82, 15};

struct ColumnLayout {
    int header;
    int width;
};

// Name, folder and status of the input side, then the same of the output side. The widths
// are where the columns start; FitColumns then gives names and statuses their full width.
constexpr ColumnLayout kColumns[] = {
    {kMsgTerminalName, 100}, {kMsgFolder, 175}, {kMsgConnection, 100},
    {kMsgTerminalName, 100}, {kMsgFolder, 175}, {kMsgConnection, 100},
};
static_assert(std::size(kColumns) == CRelaydeskDlg::kListColumns);

bool IsFolderColumn(int column) {
    return column == 1 || column == 4;
}

/// Room the list leaves around a cell's text, and the least a folder column gets.
constexpr int kCellPadding = 12;
constexpr int kCheckBoxMargins = 10;
constexpr int kMinFolderWidth = 120;

struct ButtonLayout {
    int id;
    const wchar_t* caption;
    DialogUnitRect rect;
};

const ButtonLayout kButtons[] = {
    {wxID_OK, L"OK", {422, 243, 50, 14}},
    {CRelaydeskDlg::kIdAdd, L"add", {8, 222, 50, 14}},
    {CRelaydeskDlg::kIdEdit, L"edit", {70, 222, 50, 14}},
    {CRelaydeskDlg::kIdDelete, L"delete", {132, 222, 50, 14}},
    {CRelaydeskDlg::kIdOrderView, L"orderView", {195, 222, 89, 14}},
};

// The edit dialog's fields, keeping the terminal's switch.
void TakeEditDialogFields(const CTerminalEditDlg& dialog, TerminalEntry& entry) {
    std::int32_t enabled = entry.enabled;
    entry = dialog.m_entry;
    entry.enabled = enabled;
}

} // namespace

CRelaydeskDlg::CRelaydeskDlg(platform::SingleInstanceGuard* instanceGuard,
                             std::wstring programFolder, std::wstring engineLibrary)
    : wxDialog(nullptr, wxID_ANY, kResourceTitle, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX),
      m_pInstanceGuard(instanceGuard),
      m_strProgramFolder(programFolder.empty() ? GetModuleFolder() : std::move(programFolder)),
      m_hIcon(relaydesk_xpm), m_view(*this),
      m_pController(std::make_unique<RelaydeskController>(m_view, m_files, m_strProgramFolder,
                                                          std::move(engineLibrary))) {
    SetFont(LayoutFont());
    CreateControls();
    SetClientSizeInDialogUnits(this, 479, 264);

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnOK(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnBAdd(); }, kIdAdd);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnBEdit(); }, kIdEdit);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnBDelete(); }, kIdDelete);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOrderView(); }, kIdOrderView);
    m_raiseTimer.Bind(wxEVT_TIMER, &CRelaydeskDlg::OnTimer, this);
    m_raiseTimer.Start(kRaiseCheckIntervalMs);

    OnInitDialog();
}

CRelaydeskDlg::~CRelaydeskDlg() {
    m_raiseTimer.Stop();
    OnOK();
    // The window's base class destroys the list once this part of the dialog is gone, and the
    // list sends selection and focus events while it goes: none may reach the handlers here.
    m_pList->SetEvtHandlerEnabled(false);
    m_pList->GetMainWindowOfCompositeControl()->SetEvtHandlerEnabled(false);
}

void CRelaydeskDlg::CreateControls() {
    wxRect group = ToPixels(this, {7, 64, 465, 174});
    new wxStaticBox(this, kIdGroup, L"control", group.GetPosition(), group.GetSize());
    ControlPlace place = PlaceControl(this, {7, 83, 432, 121});
    m_pList = new wxListCtrl(place.parent, kIdList, place.position, place.size,
                             wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES |
                                 wxBORDER_SUNKEN | wxTAB_TRAVERSAL);
    m_pList->EnableCheckBoxes(true);

    place = PlaceControl(this, {13, 18, 54, 15});
    new wxStaticText(place.parent, kIdServingLabel, L"Static", place.position, place.size);
    place = PlaceControl(this, {13, 34, 57, 15});
    m_pServingName = new wxTextCtrl(place.parent, kIdServingName, L"", place.position, place.size,
                                    wxTE_READONLY);
    place = PlaceControl(this, {82, 18, 64, 8});
    new wxStaticText(place.parent, kIdProgressLabel, L"Static", place.position, place.size);
    place = PlaceControl(this, kProgressField);
    m_pProgress =
        new wxTextCtrl(place.parent, kIdProgress, L"", place.position, place.size, wxTE_READONLY);
    place = PlaceControl(this, {411, 7, 61, 16});
    m_pVersion = new wxStaticText(place.parent, kIdVersion, L"Static", place.position, place.size,
                                  wxALIGN_RIGHT | wxST_NO_AUTORESIZE);

    for (const ButtonLayout& button : kButtons) {
        place = PlaceControl(this, button.rect);
        auto* created =
            new wxButton(place.parent, button.id, button.caption, place.position, place.size);
        if (button.id == wxID_OK)
            m_pOkButton = created;
    }
    m_pOkButton->SetDefault();

    // The command buttons follow the list: any selection change, key or focus in it.
    auto followList = [this](wxEvent& event) {
        UpdateButtons();
        event.Skip();
    };
    m_pList->Bind(wxEVT_LIST_ITEM_SELECTED, followList);
    m_pList->Bind(wxEVT_LIST_ITEM_DESELECTED, followList);
    m_pList->Bind(wxEVT_LIST_ITEM_FOCUSED, followList);
    m_pList->Bind(wxEVT_LIST_KEY_DOWN, followList);
    m_pList->Bind(wxEVT_CHILD_FOCUS, followList);
    m_pList->Bind(wxEVT_SET_FOCUS, followList);
    wxWindow* rows = m_pList->GetMainWindowOfCompositeControl();
    rows->Bind(wxEVT_MOTION, &CRelaydeskDlg::OnListMouseMove, this);
    rows->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& event) {
        ForgetTooltip();
        event.Skip();
    });
    m_pList->Bind(wxEVT_LIST_ITEM_CHECKED,
                  [this](wxListEvent& event) { OnCheckBoxChanged(event.GetIndex(), true); });
    m_pList->Bind(wxEVT_LIST_ITEM_UNCHECKED,
                  [this](wxListEvent& event) { OnCheckBoxChanged(event.GetIndex(), false); });
}

bool CRelaydeskDlg::OnInitDialog() {
    WriteLog(g_pLogClient, L"OnInitDialog IN");
    SetIcon(m_hIcon);
    for (int id : {kIdEdit, kIdDelete, kIdAdd, kIdOrderView})
        FindWindow(id)->Disable();
    m_bStarted = true;
    // The two set-up steps run from the event loop, after this function, in this order.
    CallAfter(&CRelaydeskDlg::OnStartUserInterface);
    CallAfter(&CRelaydeskDlg::OnStartTransfer);
    m_pController->Initialize();
    m_strVersion = m_pController->GetVersionText();
    m_pVersion->SetLabel(m_strVersion);
    WriteLog(g_pLogClient, L"OnInitDialog OUT");
    return true;
}

void CRelaydeskDlg::OnStartUserInterface() {
    WriteLog(g_pLogClient, L"WindowProc IN %d", kMessageStartUserInterface);
    if (!m_pController->IsClosing()) {
        m_strMessageFile = ChooseMessageCatalogue(m_strProgramFolder);
        m_locale.Apply(m_strMessageFile);
        m_bStarted = true;
        m_texts = ReadMainWindowTexts(m_strMessageFile, m_pController->GetFreeDisk());
        m_font = ToWindowFont(MakeCatalogueFont(m_texts.messages[CTerminalEditDlg::kTextFontFace]));
        SetChildrenFont(this, m_font);
        m_pController->SetTexts(m_texts.statusTexts, m_texts.progressFormat,
                                m_texts.heldOrdersFormat);
        ApplyCatalogue();
        CreateListColumns();
        TerminalTable table = m_pController->GetTerminalTable();
        for (int slot = 0; slot < kTerminalSlots; ++slot) {
            if (!table.slots[slot].path.empty())
                SetListItem(slot, true);
        }
        m_pController->StartCheckThread();
        Show();
        Enable();
        m_pList->SetFocus();
    }
    WriteLog(g_pLogClient, L"WindowProc OUT %d", kMessageStartUserInterface);
}

void CRelaydeskDlg::OnStartTransfer() {
    WriteLog(g_pLogClient, L"WindowProc IN %d", kMessageStartTransfer);
    if (!m_pController->IsClosing())
        m_pController->ThreadStart();
    WriteLog(g_pLogClient, L"WindowProc OUT %d", kMessageStartTransfer);
}

void CRelaydeskDlg::ApplyCatalogue() {
    auto text = [this](int number) { return ReadCatalogueText(m_strMessageFile, number); };
    SetTitle(text(kMsgMainTitle));
    m_pOkButton->SetLabel(text(kMsgMainOk));
    FindWindow(kIdAdd)->SetLabel(text(kMsgMainAdd));
    FindWindow(kIdEdit)->SetLabel(text(kMsgMainEdit));
    FindWindow(kIdDelete)->SetLabel(text(kMsgMainDelete));
    FindWindow(kIdGroup)->SetLabel(text(kMsgTerminalGroup));
    FindWindow(kIdOrderView)->SetLabel(text(kMsgOrderView));
    FindWindow(kIdServingLabel)->SetLabel(text(kMsgTerminalName));
    FindWindow(kIdProgressLabel)->SetLabel(text(kMsgProgressLabel));
    FitProgressField(text(kMsgProgressFormat));
}

void CRelaydeskDlg::FitProgressField(const std::wstring& progressFormat) {
    // The text at 100 % is the longest the field shows; the layout's width is the least.
    const std::wstring widest = FormatProgressText(progressFormat, 100);
    const int needed = m_pProgress->GetSizeFromTextSize(m_pProgress->GetTextExtent(widest)).x;
    wxRect field = ToPixels(this, kProgressField);
    m_pProgress->SetSize(std::max(field.width, needed), m_pProgress->GetSize().y);
}

void CRelaydeskDlg::CreateListColumns() {
    m_pList->DeleteAllItems();
    m_pList->DeleteAllColumns();
    int column = 0;
    for (const ColumnLayout& layout : kColumns) {
        std::wstring header = ReadCatalogueText(m_strMessageFile, layout.header);
        m_columnHeaders[column] = header;
        m_pList->InsertColumn(column++, header, wxLIST_FORMAT_LEFT, layout.width);
    }
}

void CRelaydeskDlg::ShowCell(int row, int column, const std::wstring& text) {
    m_cellTexts[row][column] = text;
    if (!IsFolderColumn(column))
        m_pList->SetItem(row, column, text);
}

void CRelaydeskDlg::FitColumns() {
    wxClientDC dc(m_pList->GetMainWindowOfCompositeControl());
    dc.SetFont(m_pList->GetFont());
    const int rows = m_pList->GetItemCount();
    std::array<int, kListColumns> widths{};
    for (int column = 0; column < kListColumns; ++column) {
        int widest = dc.GetTextExtent(m_columnHeaders[column]).x;
        for (int row = 0; row < rows && !IsFolderColumn(column); ++row)
            widest = std::max(widest, dc.GetTextExtent(m_cellTexts[row][column]).x);
        widths[column] = widest + kCellPadding;
    }
    widths[0] += wxRendererNative::Get().GetCheckBoxSize(m_pList).x + kCheckBoxMargins;
    // The folders share what names and statuses leave; a long path is shortened in its
    // middle, where it differs least from its neighbours' (the tooltip shows it whole).
    const int rest = m_pList->GetMainWindowOfCompositeControl()->GetClientSize().x - widths[0] -
                     widths[2] - widths[3] - widths[5];
    for (int column : {1, 4}) {
        widths[column] = std::max({rest / 2, kMinFolderWidth, widths[column]});
        for (int row = 0; row < rows; ++row) {
            const wxString shown = wxControl::Ellipsize(
                m_cellTexts[row][column], dc, wxELLIPSIZE_MIDDLE, widths[column] - kCellPadding);
            if (m_pList->GetItemText(row, column) != shown)
                m_pList->SetItem(row, column, shown);
        }
    }
    for (int column = 0; column < kListColumns; ++column) {
        if (m_pList->GetColumnWidth(column) != widths[column])
            m_pList->SetColumnWidth(column, widths[column]);
    }
}

void CRelaydeskDlg::ForgetTooltip() {
    m_nTooltipRow = -1;
    m_pList->GetMainWindowOfCompositeControl()->UnsetToolTip();
}

void CRelaydeskDlg::SetListItem(int slot, bool insert) {
    WriteLog(g_pLogClient, L"SetListItem IN %d", slot);
    TerminalEntry entry = m_pController->GetTerminalTable().slots[slot];
    const std::wstring texts[] = {entry.name, entry.path, L"", entry.outName, entry.outPath, L""};
    if (insert)
        m_pList->InsertItem(slot, L"");
    for (int column = 0; column < kListColumns; ++column)
        ShowCell(slot, column, texts[column]);
    m_pList->CheckItem(slot, entry.enabled != 0);
    FitColumns();
    ForgetTooltip();
    WriteLog(g_pLogClient, L"SetListItem OUT");
}

void CRelaydeskDlg::UpdateButtons() {
    bool rowSelected = m_pList->GetSelectedItemCount() != 0;
    bool hasRoom = m_pList->GetItemCount() < kTerminalSlots;
    for (int id : {kIdEdit, kIdDelete, kIdOrderView})
        FindWindow(id)->Enable(rowSelected);
    FindWindow(kIdAdd)->Enable(hasRoom);
}

void CRelaydeskDlg::OnCheckBoxChanged(long row, bool checked) {
    if (row < 0 || row >= kTerminalSlots)
        return;
    m_pController->ModifyTerminalTable(
        [row, checked](TerminalTable& table) { table.slots[row].enabled = checked ? 1 : 0; });
}

int CRelaydeskDlg::SelectedRow() const {
    return static_cast<int>(m_pList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

void CRelaydeskDlg::OnBAdd() {
    WriteLog(g_pLogClient, L"OnBAdd IN");
    int rows = m_pList->GetItemCount();
    if (rows < kTerminalSlots) {
        TerminalTable table = m_pController->GetTerminalTable();
        CTerminalEditDlg dialog;
        for (int slot = 0; slot < rows; ++slot) {
            dialog.m_usedNames.push_back(table.slots[slot].name);
            dialog.m_usedOutNames.push_back(table.slots[slot].outName);
        }
        dialog.m_strMessage = m_texts.messages;
        if (dialog.ShowModal() == wxID_OK && !dialog.m_entry.path.empty()) {
            m_pController->ModifyTerminalTable([&](TerminalTable& changed) {
                changed.slots[rows] = dialog.m_entry;
                changed.slots[rows].enabled = 0;
            });
            SetListItem(rows, true);
        }
    }
    UpdateButtons();
    WriteLog(g_pLogClient, L"OnBAdd OUT");
}

void CRelaydeskDlg::OnBEdit() {
    WriteLog(g_pLogClient, L"OnBEdit IN");
    int row = SelectedRow();
    if (row >= 0) {
        TerminalTable table = m_pController->GetTerminalTable();
        CTerminalEditDlg dialog;
        for (int slot = 0; slot < kTerminalSlots; ++slot) {
            if (slot == row)
                continue;
            dialog.m_usedNames.push_back(table.slots[slot].name);
            dialog.m_usedOutNames.push_back(table.slots[slot].outName);
        }
        dialog.m_strMessage = m_texts.messages;
        dialog.m_entry = table.slots[row];
        if (dialog.ShowModal() == wxID_OK && !dialog.m_entry.path.empty()) {
            m_pController->ModifyTerminalTable(
                [&](TerminalTable& changed) { TakeEditDialogFields(dialog, changed.slots[row]); });
        }
        SetListItem(row, false);
    }
    WriteLog(g_pLogClient, L"OnBEdit OUT");
}

void CRelaydeskDlg::OnBDelete() {
    WriteLog(g_pLogClient, L"OnBDelete IN");
    // A box closed without an answer (the program being ended) deletes nothing.
    if (ShowMessageBox(this, m_texts.messages[kDeleteQuestionPosition], wxYES_NO) != wxID_YES) {
        WriteLog(g_pLogClient, L"OnBDelete OUT NO");
        return;
    }
    int row = SelectedRow();
    int rows = m_pList->GetItemCount();
    std::wstring deletedPath;
    if (row >= 0) {
        m_pController->ModifyTerminalTable([&](TerminalTable& table) {
            deletedPath = table.slots[row].path;
            table.DeleteTerminal(row);
        });
        for (int moved = row; moved < rows - 1; ++moved)
            SetListItem(moved, false);
        m_pList->DeleteItem(rows - 1);
        FitColumns();
        ForgetTooltip();
    }
    UpdateButtons();
    WriteLog(g_pLogClient, L"OnBDelete OUT YES %s", deletedPath);
}

void CRelaydeskDlg::OnOrderView() {
    int row = SelectedRow();
    if (row < 0)
        return;
    std::wstring outPath = m_pController->GetTerminalTable().slots[row].outPath;
    COrderViewDlg dialog(m_files, m_strMessageFile, outPath);
    dialog.ShowModal();
}

void CRelaydeskDlg::OnOK() {
    // A message dispatched while the workers are awaited may itself ask to close.
    if (m_bInShutdown)
        return;
    m_bInShutdown = true;
    StopAndSave(true);
    if (IsModal())
        EndModal(wxID_OK);
    m_bInShutdown = false;
}

void CRelaydeskDlg::OnDisplayLost() {
    // Also when the display went during OnOK: a second run only saves the table again.
    StopAndSave(false);
}

void CRelaydeskDlg::StopAndSave(bool displayAvailable) {
    WriteLog(g_pLogClient, L"OnOK IN");
    m_bStarted = false;
    if (displayAvailable)
        Hide();
    // The cancel is asked again at every wait slice: a composition that was only about to
    // start when the first request came would otherwise miss it and run to its end.
    m_pController->Shutdown(PlatformMessagePump::DispatchOne);
    if (displayAvailable)
        SetTitle(kResourceTitle);
    WriteLog(g_pLogClient, L"OnOK OUT");
}

void CRelaydeskDlg::SaveTerminalTable() {
    m_pController->SaveTerminalTable();
}

void CRelaydeskDlg::OnTimer(wxTimerEvent&) {
    if (!m_bStarted)
        Hide();
    if (m_bStarted && m_pInstanceGuard && m_pInstanceGuard->TakeRaiseRequest()) {
        Iconize(false);
        Raise();
    }
}

void CRelaydeskDlg::OnListMouseMove(wxMouseEvent& event) {
    event.Skip();
    int flags = 0;
    long row = m_pList->HitTest(event.GetPosition(), flags);
    if (row == m_nTooltipRow)
        return;
    if (row < 0) {
        ForgetTooltip();
        return;
    }
    m_nTooltipRow = row;
    ShowTooltip();
}

void CRelaydeskDlg::ShowTooltip() {
    const auto& cell = m_cellTexts[m_nTooltipRow];
    m_pList->GetMainWindowOfCompositeControl()->SetToolTip(
        cell[0] + L"\n" + cell[1] + L"  " + cell[kInputStatusColumn] + L"\n" + cell[3] + L"  " +
        cell[4] + L"  " + cell[kOutputStatusColumn]);
}

void CRelaydeskDlg::ShowListCell(int row, int column, const std::wstring& text) {
    if (row < 0 || row >= m_pList->GetItemCount() || column < 0 || column >= kListColumns)
        return;
    ShowCell(row, column, text);
    FitColumns();
    if (row == m_nTooltipRow)
        ShowTooltip();
}

void CRelaydeskDlg::ShowServingName(const std::wstring& name) {
    m_pServingName->ChangeValue(name);
}

void CRelaydeskDlg::ShowProgressText(const std::wstring& text) {
    // Measured again on a shown field: before the field is on screen, the toolkit does not
    // count its frame's full padding.
    FitProgressField(m_texts.progressFormat);
    m_pProgress->ChangeValue(text);
}
