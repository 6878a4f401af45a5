#pragma once
/// The main window (dialog 102): the terminal list with the connection state of each
/// folder, the terminal being served, the composition progress and the list commands.
/// It owns the controller, which owns the worker threads; every way of closing runs the
/// shutdown routine `OnOK`, which may run any number of times.

#include "app/CatalogueLocale.h"
#include "app/PlatformMessagePump.h"
#include "app/QueuedTransferView.h"
#include "config/MessageCatalogue.h"
#include "fileutil/ShareResolver.h"
#include "transfer/RelaydeskController.h"

#include <wx/dialog.h>
#include <wx/font.h>
#include <wx/icon.h>
#include <wx/timer.h>

#include <array>
#include <memory>
#include <string>

class wxButton;
class wxListCtrl;
class wxTextCtrl;
class wxStaticText;
class wxStaticBox;
namespace platform {
class SingleInstanceGuard;
}

class CRelaydeskDlg : public wxDialog, private ITransferViewSink {
public:
    enum ControlId {
        kIdEdit = 3,
        kIdAdd = 4,
        kIdDelete = 5,
        kIdOrderView = 7,
        kIdList = 1000,
        kIdGroup = 1007,
        kIdServingLabel = 1018,
        kIdProgressLabel = 1019,
        kIdServingName = 1020,
        kIdProgress = 1021,
        kIdVersion = 1022,
    };
    static constexpr int kListColumns = 6;

    /// `instanceGuard`, when given, is asked for requests of later copies to come to the
    /// front. `engineLibrary` names the composition engine (tests hand in a stand-in).
    /// `programFolder` holds composition.ini, TEMP and the catalogues (the running program's
    /// folder by default).
    explicit CRelaydeskDlg(platform::SingleInstanceGuard* instanceGuard = nullptr,
                           std::wstring programFolder = {},
                           std::wstring engineLibrary = L"QRM_ZO_RI.dll");
    ~CRelaydeskDlg() override;

    /// Loads the table and the settings and queues the two set-up steps (3000, then 6000).
    bool OnInitDialog();
    /// Set-up step 3000: catalogue texts, font, captions, columns, rows, connection thread,
    /// then the window shows itself. Step 6000: the transfer thread.
    void OnStartUserInterface();
    void OnStartTransfer();

    /// Writes slot `slot` of the table into list row `slot`, inserting the row first when
    /// `insert`; the status columns are left empty for the connection thread to fill.
    void SetListItem(int slot, bool insert);

    void OnBAdd();
    void OnBEdit();
    void OnBDelete();
    void OnOrderView();
    /// The shutdown routine: hides the window, stops and waits for the workers while
    /// dispatching messages, saves the table and ends the modal run.
    void OnOK();
    /// The shutdown routine once the display is gone: stops, waits and saves, touching no
    /// window. The modal run is not ended; the program ends right after.
    void OnDisplayLost();
    void SaveTerminalTable();

    RelaydeskController& Controller() { return *m_pController; }
    wxListCtrl* List() const { return m_pList; }
    wxTextCtrl* Progress() const { return m_pProgress; }
    /// The view through which the transfer engine updates the window.
    ITransferView& View() { return m_view; }
    const std::wstring& MessageFile() const { return m_strMessageFile; }

private:
    void CreateControls();
    /// The shutdown routine's work between its two log lines.
    void StopAndSave(bool displayAvailable);
    void ApplyCatalogue();
    void FitProgressField(const std::wstring& progressFormat);
    void CreateListColumns();
    /// Enables edit, delete and order view while a row is selected, add while there is room.
    void UpdateButtons();
    void OnCheckBoxChanged(long row, bool checked);
    int SelectedRow() const;
    void OnTimer(wxTimerEvent& event);
    /// The row under the mouse shows its full folders and statuses as its tooltip.
    void OnListMouseMove(wxMouseEvent& event);
    void ShowTooltip();
    /// After the rows change: the tooltip of a row that moved or went must not stay up.
    void ForgetTooltip();
    /// Keeps a cell's full text and shows it (a folder shortened by FitColumns).
    void ShowCell(int row, int column, const std::wstring& text);
    /// Names and statuses as wide as their widest text; the folders share the rest.
    void FitColumns();

    void ShowListCell(int row, int column, const std::wstring& text) override;
    void ShowServingName(const std::wstring& name) override;
    void ShowProgressText(const std::wstring& text) override;

    platform::SingleInstanceGuard* m_pInstanceGuard;
    std::wstring m_strProgramFolder;
    wxIcon m_hIcon;
    wxFont m_font;
    wxButton* m_pOkButton = nullptr;
    wxListCtrl* m_pList = nullptr;
    wxTextCtrl* m_pServingName = nullptr;
    wxTextCtrl* m_pProgress = nullptr;
    wxStaticText* m_pVersion = nullptr;
    wxTimer m_raiseTimer;

    std::wstring m_strVersion;
    std::wstring m_strMessageFile;
    MainWindowTexts m_texts;
    CatalogueLocale m_locale;
    bool m_bStarted = false;
    bool m_bInShutdown = false;
    long m_nTooltipRow = -1;
    std::array<std::wstring, kListColumns> m_columnHeaders;
    std::array<std::array<std::wstring, kListColumns>, kTerminalSlots> m_cellTexts;

    PlatformMessagePump m_messagePump;
    QueuedTransferView m_view;
    ShareResolver m_files;
    // Declared last: it dies first, joining the workers before the view goes.
    std::unique_ptr<RelaydeskController> m_pController;
};
