#include "transfer/RelaydeskController.h"

#include "config/AppSettings.h"
#include "config/MessageCatalogue.h"
#include "config/TextSubstitution.h"
#include "config/ProfileDocument.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "fileutil/NameCase.h"
#include "logging/LogClient.h"
#include "platform/ThreadPriority.h"
#include "platform/WindowMessages.h"
#include "transfer/OrderFolderName.h"

#include <chrono>
#include <list>
#include <vector>

namespace {

using std::chrono::milliseconds;

constexpr int kProgressStepsPerCheckPass = 200;
constexpr milliseconds kProgressStep{10};
constexpr milliseconds kPauseAfterPass{100};
constexpr milliseconds kPauseAfterTerminal{1000};
constexpr milliseconds kPauseAfterSkippedSlot{1};
constexpr milliseconds kPauseAfterTransfer{100};
constexpr milliseconds kShutdownWaitSlice{500};
constexpr milliseconds kShutdownPumpPause{100};

void Sleep(milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

/// Takes at most one message of the calling thread's queue and dispatches it.
void DispatchOneWindowMessage() {
    platform::WindowMessage message;
    if (platform::PeekWindowMessage(message))
        platform::DispatchWindowMessage(message);
}

} // namespace

RelaydeskController::RelaydeskController(ITransferView& view, FileSystemResolver& files,
                                         std::wstring programFolder, std::wstring engineLibrary)
    : m_view(view), m_files(files), m_strProgramFolder(std::move(programFolder)),
      m_strCompositionIni(JoinPath(m_strProgramFolder, L"composition.ini")),
      m_engine(std::move(engineLibrary)),
      m_transfer(m_engine, files, m_bClosing, m_strProgramFolder) {}

RelaydeskController::~RelaydeskController() {
    RequestStop();
    if (m_pTransferThread.joinable())
        m_pTransferThread.join();
    if (m_pCheckThread.joinable())
        m_pCheckThread.join();
}

void RelaydeskController::Initialize() {
    {
        std::lock_guard lock(m_tableMutex);
        LoadTerminalTable(m_strCompositionIni, m_table, m_nFreeDisk);
    }
    const std::wstring workFolder = JoinPath(m_strProgramFolder, L"TEMP");
    // One that cannot be made fails the first transfer's mkdir of it, which logs why.
    if (!ItemExists(m_files, workFolder))
        (void)MakeFolderPath(workFolder);
    const AppSettings settings = ReadAppSettings(m_strProgramFolder);
    m_strVersion = settings.version;
    m_logRotator.SetFolder(settings.logFolder);
    m_logRotator.SetSizeLimit(kLogFolderSizeLimit);
    m_logRotator.Run();
    m_bCheckUniqueId = settings.checkUniqueId;
    m_strUniqueId = settings.uniqueId;
    m_bTransferRunning = false;
    m_bOrderBusy = false;
    m_bClosing = false;
}

void RelaydeskController::SetTexts(
    const std::array<std::wstring, kConnectionStatusCount>& statusTexts,
    const std::wstring& progressFormat, const std::wstring& heldOrdersFormat) {
    std::lock_guard lock(m_textMutex);
    m_strStatusText = statusTexts;
    m_strProgressFormat = progressFormat;
    m_strHeldOrdersFormat = heldOrdersFormat;
}

void RelaydeskController::SetPassObserver(std::function<void(int)> observer) {
    m_passObserver = std::move(observer);
}

void RelaydeskController::StartCheckThread() {
    if (m_pCheckThread.joinable())
        return;
    m_bCheckStop = false;
    m_bCheckRunning = true;
    m_bCheckEnded = false;
    m_pCheckThread = std::thread(&RelaydeskController::CheckConnectStatusThread, this);
}

void RelaydeskController::ThreadStart() {
    while (m_bTransferRunning)
        Sleep(milliseconds(10));
    WriteLog(g_pLogClient, L"ThreadStart IN");
    if (m_pTransferThread.joinable())
        m_pTransferThread.join();
    // Cleared here rather than by the thread, so that a stop requested before the thread
    // runs is not lost.
    m_bTransferStop = false;
    m_bTransferEnded = false;
    m_pTransferThread = std::thread(&RelaydeskController::RelaydeskThreadMain, this);
    WriteLog(g_pLogClient, L"ThreadStart OUT");
}

void RelaydeskController::RequestStop() {
    m_bClosing = true;
    m_bTransferStop = true;
    m_bCheckStop = true;
    m_engine.RequestCancel();
}

void RelaydeskController::Shutdown(const std::function<void()>& dispatchOne) {
    RequestStop();
    const std::function<void()> dispatch = dispatchOne ? dispatchOne : DispatchOneWindowMessage;
    WaitForWorker(m_pTransferThread, m_bTransferEnded, dispatch);
    WaitForWorker(m_pCheckThread, m_bCheckEnded, dispatch);
    SaveTerminalTable();
}

void RelaydeskController::WaitForWorker(std::thread& worker, const std::atomic<bool>& ended,
                                        const std::function<void()>& dispatchOne) {
    if (!worker.joinable())
        return;
    for (;;) {
        std::unique_lock lock(m_endMutex);
        if (m_endCondition.wait_for(lock, kShutdownWaitSlice, [&ended] { return ended.load(); }))
            break;
        lock.unlock();
        // A cancel asked for just before a composition started found no run to stop: ask
        // again each slice until the worker has ended.
        m_engine.RequestCancel();
        // The engine's reports reach this thread's wrapper window; keep them flowing.
        dispatchOne();
        Sleep(kShutdownPumpPause);
    }
    worker.join();
}

void RelaydeskController::MarkEnded(std::atomic<bool>& ended) {
    {
        std::lock_guard lock(m_endMutex);
        ended = true;
    }
    m_endCondition.notify_all();
}

TerminalTable RelaydeskController::GetTerminalTable() const {
    std::lock_guard lock(m_tableMutex);
    return m_table;
}

void RelaydeskController::ModifyTerminalTable(const std::function<void(TerminalTable&)>& change) {
    std::lock_guard lock(m_tableMutex);
    change(m_table);
}

void RelaydeskController::SaveTerminalTable() const {
    const TerminalTable table = GetTerminalTable();
    if (!::SaveTerminalTable(m_strCompositionIni, table))
        WriteLog(g_pLogClient, L"SaveTerminalTable ERR %s", m_strCompositionIni);
}

void RelaydeskController::ReloadTerminalTable() {
    // A missing file would empty the table, and the shutdown would save that.
    if (!ItemExists(LocalFolders(), m_strCompositionIni)) {
        WriteLog(g_pLogClient, L"ReloadTerminalTable ERR %s", m_strCompositionIni);
        return;
    }
    const TerminalTable table = LoadTerminalTable(m_strCompositionIni);
    std::lock_guard lock(m_tableMutex);
    m_table = table;
    WriteLog(g_pLogClient, L"ReloadTerminalTable %d", m_table.UsedCount());
}

TerminalEntry RelaydeskController::GetSlot(int slot) const {
    std::lock_guard lock(m_tableMutex);
    return m_table.slots[static_cast<size_t>(slot)];
}

int RelaydeskController::UsedRowCount() const {
    std::lock_guard lock(m_tableMutex);
    return m_table.UsedCount();
}

std::wstring RelaydeskController::StatusText(ConnectionStatus status) const {
    std::lock_guard lock(m_textMutex);
    if (status < 0 || status >= kConnectionStatusCount)
        return {};
    return m_strStatusText[static_cast<size_t>(status)];
}

std::wstring RelaydeskController::InputStatusText(ConnectionStatus status,
                                                  const std::wstring& inputFolder) const {
    std::wstring text = StatusText(status);
    std::lock_guard lock(m_textMutex);
    std::wstring orders;
    for (const auto& [orderFolder, terminalFolder] : m_heldOrders) {
        if (terminalFolder != inputFolder)
            continue;
        orders += (orders.empty() ? L"" : L", ") + NameOfPath(orderFolder);
    }
    if (!orders.empty())
        text += L"  " + ReplaceAll(m_strHeldOrdersFormat, L"%s", orders);
    return text;
}

void RelaydeskController::SetHeld(const std::wstring& orderFolder, const std::wstring& inputFolder,
                                  bool held) {
    std::lock_guard lock(m_textMutex);
    if (held)
        m_heldOrders[orderFolder] = inputFolder;
    else
        m_heldOrders.erase(orderFolder);
}

void RelaydeskController::ForgetHeldOrdersThatWent(const std::wstring& inputFolder) {
    std::vector<std::wstring> held;
    {
        std::lock_guard lock(m_textMutex);
        for (const auto& [orderFolder, terminalFolder] : m_heldOrders) {
            if (terminalFolder == inputFolder)
                held.push_back(orderFolder);
        }
    }
    // Looked up outside the lock: the connection thread reads the notes meanwhile.
    for (const std::wstring& orderFolder : held) {
        if (!ItemExists(m_files, orderFolder))
            SetHeld(orderFolder, inputFolder, false);
    }
}

ConnectionStatus RelaydeskController::CheckInputConnection(int slot) const {
    const TerminalEntry terminal = GetSlot(slot);
    return CheckFolderConnection(m_files, terminal.path, terminal.userId, terminal.password);
}

ConnectionStatus RelaydeskController::CheckOutputConnection(int slot) const {
    const TerminalEntry terminal = GetSlot(slot);
    return CheckFolderConnection(m_files, terminal.outPath, terminal.outUserId,
                                 terminal.outPassword);
}

void RelaydeskController::RelaydeskThreadMain() {
    platform::LowerCurrentThreadPriority(); // a background worker: the window comes first
    try {
        WriteLog(g_pLogClient, L"RelaydeskThreadMain IN");
        m_bTransferRunning = true;
        RunTransferLoop();
        m_bTransferStop = false;
        m_bTransferRunning = false;
        WriteLog(g_pLogClient, L"RelaydeskThreadMain OUT");
    } catch (...) {
        // A thread that ended on an error must not keep the next ThreadStart waiting.
        m_bTransferRunning = false;
        WriteLog(g_pLogClient, L"RelaydeskThreadMain ERROR");
    }
    MarkEnded(m_bTransferEnded);
}

void RelaydeskController::RunTransferLoop() {
    while (!m_bTransferStop) {
        const int transferred = CheckTerminalFolder();
        if (m_passObserver)
            m_passObserver(transferred);
        DispatchOneWindowMessage();
        Sleep(kPauseAfterPass);
    }
}

void RelaydeskController::CheckConnectStatusThread() {
    platform::LowerCurrentThreadPriority(); // a background worker: the window comes first
    try {
        WriteLog(g_pLogClient, L"CheckConnectStatusThread IN");
        while (RunCheckLoop()) {
        }
        m_bCheckRunning = false;
        WriteLog(g_pLogClient, L"CheckConnectStatusThread OUT");
    } catch (...) {
        m_bCheckRunning = false;
        WriteLog(g_pLogClient, L"CheckConnectStatusThread ERROR");
    }
    MarkEnded(m_bCheckEnded);
}

bool RelaydeskController::RunCheckLoop() {
    CheckConnectStatus();
    for (int step = 0; step < kProgressStepsPerCheckPass; ++step) {
        Sleep(kProgressStep);
        DispatchOneWindowMessage();
        if (m_bCheckStop)
            return false;
        UpdateProgressText();
    }
    return !m_bCheckStop;
}

void RelaydeskController::CheckConnectStatus() {
    try {
        for (int row = 0; row < UsedRowCount(); ++row) {
            const ConnectionStatus input = CheckInputConnection(row);
            if (m_bCheckStop)
                return;
            m_view.SetListCell(row, kInputStatusColumn, InputStatusText(input, GetSlot(row).path));
            m_view.SetListCell(row, kOutputStatusColumn, StatusText(CheckOutputConnection(row)));
        }
    } catch (...) {
        WriteLog(g_pLogClient, L"CheckConnectStatus ERROR");
    }
}

void RelaydeskController::UpdateProgressText() {
    std::wstring text;
    if (m_bOrderBusy) {
        std::lock_guard lock(m_textMutex);
        text = FormatProgressText(m_strProgressFormat, m_engine.GetProgress());
    }
    // The window is told only of changes: this runs every 10 ms.
    if (text == m_strLastProgressText)
        return;
    m_strLastProgressText = text;
    m_view.SetProgressText(text);
}

void RelaydeskController::CompleteJournaledTransfers() {
    for (const OrderTicket& ticket : m_transfer.JournaledTransfers()) {
        if (m_bTransferStop)
            return;
        if (!m_retries.IsDue(ticket.orderFolder))
            continue;
        if (m_transfer.CompleteJournaledTransfer(ticket) == TransferOutcome::kRetry)
            m_retries.Postpone(ticket.orderFolder);
        else
            m_retries.Forget(ticket.orderFolder);
    }
}

int RelaydeskController::CheckTerminalFolder() {
    int transferred = 0;
    try {
        // A journaled order waits for its own shares only; the other terminals go on.
        CompleteJournaledTransfers();
        for (int slot = 0; slot < kTerminalSlots; ++slot) {
            const TerminalEntry terminal = GetSlot(slot);
            if (terminal.enabled == 0 || terminal.path.empty()) {
                Sleep(kPauseAfterSkippedSlot);
                continue;
            }
            if (CheckInputConnection(slot) != kConnected ||
                CheckOutputConnection(slot) != kConnected) {
                Sleep(kPauseAfterTerminal);
                continue;
            }
            if (PollTerminal(terminal))
                ++transferred;
            m_bOrderBusy = false;
            Sleep(kPauseAfterTerminal);
            Sleep(kPauseAfterSkippedSlot);
        }
    } catch (...) {
        m_bOrderBusy = false;
        WriteLog(g_pLogClient, L"CheckTerminalFolder OUT ERROR");
    }
    return transferred;
}

bool RelaydeskController::PollTerminal(const TerminalEntry& terminal) {
    ForgetHeldOrdersThatWent(terminal.path);
    std::list<std::wstring> folders;
    FolderLister(m_files).ListToList(folders, terminal.path, L"r*", 0, FolderLister::kFolders);
    for (const std::wstring& folder : folders) {
        if (m_bTransferStop)
            break;
        m_view.SetServingName(L"");
        const std::wstring name = NameWithoutExtension(NameOfPath(folder));
        int orderNumber = 0;
        if (!ParseOrderFolderName(name, orderNumber))
            continue;
        const std::wstring orderFolder = JoinPath(terminal.path, name);
        if (!m_retries.IsDue(orderFolder) || m_transfer.IsJournaled(orderFolder) ||
            !ItemExists(m_files, orderFolder) ||
            IsHeldForTheOperator(terminal, orderFolder, orderNumber) ||
            !IsForThisController(orderFolder))
            continue;
        SetHeld(orderFolder, terminal.path, false);
        m_currentOrder = OrderTicket{orderFolder, terminal.path, terminal.outPath, orderNumber};
        m_view.SetServingName(terminal.name);
        m_bOrderBusy = true;
        const TransferOutcome outcome = m_transfer.TransferOrder(m_currentOrder);
        m_view.ShowOrderResult({terminal.name, orderNumber, outcome, m_transfer.LastReason()});
        if (outcome == TransferOutcome::kRetry)
            m_retries.Postpone(orderFolder);
        else
            m_retries.Forget(orderFolder);
        m_logRotator.Run();
        Sleep(kPauseAfterTransfer);
        if (!m_bTransferStop)
            m_view.SetServingName(L"");
        return true;
    }
    return false;
}

bool RelaydeskController::IsHeldForTheOperator(const TerminalEntry& terminal,
                                               const std::wstring& orderFolder, int orderNumber) {
    // An order whose e or q name is taken (a stale folder of an earlier order) could be
    // marked neither way: it is not composed, and the operator is told once per start.
    for (const wchar_t letter : {kTransferredLetter, kFailedLetter}) {
        const std::wstring taken = JoinPath(terminal.path, OrderFolderName(letter, orderNumber));
        if (!ItemExists(m_files, taken))
            continue;
        SetHeld(orderFolder, terminal.path, true);
        if (m_heldOrdersReported.insert(UpperCaseName(taken)).second) {
            WriteLog(g_pLogClient, L"Relaydesk2 conflict %s", taken);
            m_view.ShowHeldOrder(terminal.name, OrderFolderName(kWaitingLetter, orderNumber),
                                 taken);
        }
        return true;
    }
    return false;
}

bool RelaydeskController::IsForThisController(const std::wstring& orderFolder) const {
    const std::wstring infoFile = JoinPath(orderFolder, L"VQ_Info.ini");
    ProfileDocument info;
    info.Load(m_files.For(infoFile), infoFile);
    const std::wstring id = info.Get(L"INFO", L"UniqueID").value_or(L"");
    return id.empty() || !m_bCheckUniqueId || id == m_strUniqueId;
}
