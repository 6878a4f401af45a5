#pragma once
/// The transfer of one order: work folder, composition, finished order, the order's new
/// letter at the terminal. Runs on the transfer thread, one order at a time.

#include "transfer/OrderTicket.h"
#include "transfer/TransferJournal.h"

#include <atomic>
#include <string>

class CZoRiEngine;

class COrderTransfer {
public:
    /// `closing` is the controller's closing flag; `programFolder` holds TEMP and the journal.
    COrderTransfer(CZoRiEngine& engine, const std::atomic<bool>& closing,
                   std::wstring programFolder);

    /// Transfers the order; the outcome shows only in the order folder's new name (e or q;
    /// unchanged when the controller is closing) and in the log.
    void TransferOrder(OrderTicket ticket);

    /// Completes a transfer that ended with the process after its finished order had been
    /// built (the journal names it). True when nothing is left to do; false when a folder
    /// involved cannot be reached now (the journal stays, and no other transfer may start,
    /// since the work folder still holds what the completion needs).
    bool RecoverInterruptedTransfer();

private:
    /// Steps after a successful build: corrections back into the order, then the terminal's
    /// order becomes e. False when the rename failed.
    bool FinishTerminalOrder(const std::wstring& orderFolder, int orderNumber);
    /// Replaces the order's backup by the work folder's merged one and empties the order's
    /// corrections; false (and logged) when that could not be done whole, and then the order
    /// keeps both as they were.
    bool ReturnBackup(const std::wstring& orderFolder);
    /// Builds p + number in the output folder; false when a step failed.
    bool BuildFinishedOrder(const std::wstring& outputFolder, int orderNumber);

    std::wstring WorkFolder() const;
    std::wstring WorkPath(const wchar_t* relative) const;

    CZoRiEngine& m_engine;
    const std::atomic<bool>& m_bClosing;
    std::wstring m_strProgramFolder;
    TransferJournal m_journal;
    bool m_bRecoveryFailureLogged = false;
};
