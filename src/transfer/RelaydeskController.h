#pragma once
/// The controller without its window: the terminal table shared with the window, the two
/// worker threads and their flags, the composition engine adapter, the log rotation, the
/// connection checks, the polling pass and the start-up and shutdown that the window and
/// relaydesk-cli share.
///
/// Thread contract: construct, initialise, start, shut down and destroy on one thread (the
/// window's thread, or the CLI's main thread). That thread owns the engine's wrapper window
/// and must keep dispatching platform window messages while the controller runs. The
/// terminal table is read and changed only through the accessors below, which lock it; the
/// flags are atomic. The destructor stops and joins the workers if they still run.

#include "composition/ZoRiEngine.h"
#include "config/TerminalTable.h"
#include "logging/LogRotator.h"
#include "transfer/ConnectionProbe.h"
#include "transfer/ITransferView.h"
#include "transfer/OrderTicket.h"
#include "transfer/OrderTransfer.h"
#include "transfer/RetrySchedule.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

class FileSystemResolver;

class RelaydeskController {
public:
    /// `files` reaches the terminals' folders; `engineLibrary` names the composition engine
    /// library (tests hand in a stand-in).
    RelaydeskController(ITransferView& view, FileSystemResolver& files, std::wstring programFolder,
                        std::wstring engineLibrary = L"QRM_ZO_RI.dll");
    ~RelaydeskController();
    RelaydeskController(const RelaydeskController&) = delete;
    RelaydeskController& operator=(const RelaydeskController&) = delete;

    /// Start-up as the main dialog initialises: terminal table, work folder, settings with
    /// one log rotation, unique id; all flags false.
    void Initialize();
    /// The seven connection status texts, the progress template with "%d" and the template
    /// with "%s" that follows a terminal's input status while orders of it are held.
    void SetTexts(const std::array<std::wstring, kConnectionStatusCount>& statusTexts,
                  const std::wstring& progressFormat, const std::wstring& heldOrdersFormat);

    /// Starts the connection thread.
    void StartCheckThread();
    /// Waits for an ended transfer thread's flag to fall, then starts the transfer thread.
    void ThreadStart();
    /// Core of the shutdown routine: closing flag, stop requests, engine cancel, the wait for
    /// each worker in 500 ms slices that calls `dispatchOne` and sleeps 100 ms after every
    /// slice that times out, then saves the terminal table. Safe to repeat. By default
    /// `dispatchOne` dispatches one platform window message of the calling thread.
    void Shutdown(const std::function<void()>& dispatchOne = {});

    TerminalTable GetTerminalTable() const;
    /// Changes the table under its lock (the window's add, edit, delete and check boxes).
    void ModifyTerminalTable(const std::function<void(TerminalTable&)>& change);
    void SaveTerminalTable() const;
    /// Takes the terminal table from composition.ini again, as another program changed it
    /// there; an order being transferred finishes with the folders it started with.
    void ReloadTerminalTable();
    std::uint32_t GetFreeDisk() const { return m_nFreeDisk; }
    const std::wstring& GetCompositionIni() const { return m_strCompositionIni; }
    const std::wstring& GetVersionText() const { return m_strVersion; }

    /// Called on the transfer thread after every complete polling pass with the number of
    /// orders that pass transferred. Set before `ThreadStart`.
    void SetPassObserver(std::function<void(int transferred)> observer);

    ConnectionStatus CheckInputConnection(int slot) const;
    ConnectionStatus CheckOutputConnection(int slot) const;
    /// One connection pass over the used rows (connection thread).
    void CheckConnectStatus();
    /// One polling pass over the ten slots (transfer thread); the number of orders handed
    /// to the transfer.
    int CheckTerminalFolder();
    /// Progress line from the template, or empty while no order is being transferred.
    void UpdateProgressText();

    bool IsTransferRunning() const { return m_bTransferRunning; }
    bool IsCheckRunning() const { return m_bCheckRunning; }
    bool IsOrderBusy() const { return m_bOrderBusy; }
    bool IsClosing() const { return m_bClosing; }
    void RequestStop();

private:
    void RelaydeskThreadMain();
    void CheckConnectStatusThread();
    void RunTransferLoop();
    bool RunCheckLoop();
    TerminalEntry GetSlot(int slot) const;
    int UsedRowCount() const;
    /// Hands an acceptable order of the terminal's input folder to the transfer; true when one was.
    bool PollTerminal(const TerminalEntry& terminal);
    bool IsForThisController(const std::wstring& orderFolder) const;
    bool IsHeldForTheOperator(const TerminalEntry& terminal, const std::wstring& orderFolder,
                              int orderNumber);
    /// Completes the renames of journaled transfers whose shares can be reached.
    void CompleteJournaledTransfers();
    void WaitForWorker(std::thread& worker, const std::atomic<bool>& ended,
                       const std::function<void()>& dispatchOne);
    void MarkEnded(std::atomic<bool>& ended);
    std::wstring StatusText(ConnectionStatus status) const;
    /// The input status of a terminal, with its held orders named after it.
    std::wstring InputStatusText(ConnectionStatus status, const std::wstring& inputFolder) const;
    void SetHeld(const std::wstring& orderFolder, const std::wstring& inputFolder, bool held);
    /// Drops the notes of held orders of the terminal whose folders are gone (sent again
    /// under another name, or deleted by the operator).
    void ForgetHeldOrdersThatWent(const std::wstring& inputFolder);

    ITransferView& m_view;
    FileSystemResolver& m_files;
    std::wstring m_strProgramFolder;
    std::wstring m_strCompositionIni;
    std::wstring m_strVersion;

    mutable std::mutex m_tableMutex;
    TerminalTable m_table;
    std::uint32_t m_nFreeDisk = kMinimumFreeDisk;

    mutable std::mutex m_textMutex;
    std::array<std::wstring, kConnectionStatusCount> m_strStatusText;
    std::wstring m_strProgressFormat;
    std::wstring m_strHeldOrdersFormat;
    /// Orders held for the operator: upper-cased order folder, and its terminal's folder.
    std::map<std::wstring, std::wstring> m_heldOrders;
    std::wstring m_strLastProgressText;

    // Read by the transfer thread only after start-up has set them.
    bool m_bCheckUniqueId = false;
    std::wstring m_strUniqueId;

    std::atomic<bool> m_bTransferRunning{false};
    std::atomic<bool> m_bTransferStop{false};
    std::atomic<bool> m_bCheckRunning{false};
    std::atomic<bool> m_bCheckStop{false};
    std::atomic<bool> m_bOrderBusy{false};
    std::atomic<bool> m_bClosing{false};
    std::atomic<bool> m_bTransferEnded{true};
    std::atomic<bool> m_bCheckEnded{true};
    std::mutex m_endMutex;
    std::condition_variable m_endCondition;

    std::function<void(int)> m_passObserver;
    CLogRotator m_logRotator;
    CZoRiEngine m_engine;
    OrderTransfer m_transfer;
    OrderTicket m_currentOrder;                  ///< transfer thread only
    RetrySchedule m_retries;                     ///< transfer thread only
    std::set<std::wstring> m_heldOrdersReported; ///< transfer thread only
    std::thread m_pTransferThread;
    std::thread m_pCheckThread;
};
