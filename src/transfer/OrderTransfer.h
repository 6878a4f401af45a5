#pragma once
/// The transfer of one order: work folder, composition, finished order, the order's new
/// letter at the terminal. Runs on the transfer thread, one order at a time.
///
/// An order is delivered whole or not at all: the finished order p is released as o only
/// complete, and together with the terminal's rename of r to e (both covered by the
/// journal). A passing fault (a full or vanished share, a refused rename) leaves the order r
/// for a later try; only faults in the order's own data make it q.

#include "transfer/OrderTicket.h"
#include "transfer/TransferJournal.h"
#include "transfer/TransferSteps.h"

#include <atomic>
#include <string>
#include <vector>

class CZoRiEngine;
class FileSystemResolver;

class OrderTransfer {
public:
    /// `closing` is the controller's closing flag; `programFolder` holds TEMP and the journal;
    /// `files` reaches the terminals' folders.
    OrderTransfer(CZoRiEngine& engine, FileSystemResolver& files, const std::atomic<bool>& closing,
                  std::wstring programFolder);

    /// Transfers the order; the outcome shows in the order folder's name (e, q, or still r)
    /// and in the log, which names the step, the path and the reason of every failure.
    [[nodiscard]] TransferOutcome TransferOrder(const OrderTicket& ticket);
    /// Why the last transfer failed or waits ("copy /x: no space", "engine error 12");
    /// empty when it was delivered.
    const std::wstring& LastReason() const { return m_strLastReason; }

    /// Orders whose finished order was built but whose renames are not both done.
    std::vector<OrderTicket> JournaledTransfers() const;
    /// Whether the order in `orderFolder` waits for the completion of its renames: it must
    /// not be transferred again meanwhile.
    bool IsJournaled(const std::wstring& orderFolder) const;
    /// Completes a journaled transfer where its folders can be reached: kDelivered when it
    /// is done, kRetry when a folder is out of reach (the entry stays), and kFailed when its
    /// finished order is gone and the order was handed back as r to be composed again.
    [[nodiscard]] TransferOutcome CompleteJournaledTransfer(const OrderTicket& ticket);

private:
    /// What the preparation of an order gave: its steps, and the first value of the order's
    /// data that names a place outside the order (empty when there is none).
    struct PreparedOrder {
        TransferSteps steps;
        std::wstring rejectedValue;
        bool Usable() const { return steps.AllSucceeded() && rejectedValue.empty(); }
    };

    // The stages of a transfer, in order: prepare, compose, build, release. Each stage
    // collects its steps' results in TransferSteps; the transfer decides from them.
    PreparedOrder Prepare(const OrderTicket& ticket);
    int Compose(const PreparedOrder& prepared);
    TransferOutcome MarkFailed(const OrderTicket& ticket, int engineResult);
    TransferOutcome Cancel();

    // The steps of the preparation.
    TransferSteps CopyIntoWorkFolder(const OrderTicket& ticket);
    TransferSteps FillInCompositionInfo(const OrderTicket& ticket);
    TransferSteps RewriteCompositionInfo(std::wstring& rejectedValue);
    int RunEngine();

    // Build and release (OrderDelivery.cpp).
    TransferSteps Build(const OrderTicket& ticket);
    TransferSteps BuildFinishedOrder(const OrderTicket& ticket);
    TransferSteps StageBackup(const OrderTicket& ticket);
    TransferOutcome Release(const OrderTicket& ticket);
    /// After the order became e: its merged backup replaces the old one, its corrections go.
    TransferSteps FinishTransferredOrder(const std::wstring& transferredFolder);
    /// Undoes what a delivery left before its renames: the staged backup, the built p.
    void Discard(const OrderTicket& ticket);
    /// Removes the order's journal entry, then discards; keeps both when the entry stays.
    void ForgetAndDiscard(const OrderTicket& ticket);
    // Completion of a journaled transfer: the order handed back as r when its finished order
    // was lost, else the renames that are not done yet.
    TransferSteps HandBack(const OrderTicket& ticket);
    TransferSteps CompleteRenames(const OrderTicket& ticket);
    /// Removes the order's journal entry; logs and returns false when it stays.
    bool ForgetJournaled(const OrderTicket& ticket);

    TransferOutcome RetryLater(const TransferSteps& steps);
    std::wstring WorkFolder() const;

    CZoRiEngine& m_engine;
    FileSystemResolver& m_files;
    const std::atomic<bool>& m_bClosing;
    std::wstring m_strProgramFolder;
    TransferJournal m_journal;
    std::wstring m_strLastReason; ///< of the last transfer
};

/// The names the transfer gives an order's folders.
struct OrderFolders {
    explicit OrderFolders(const OrderTicket& ticket);

    std::wstring waiting;     ///< the r folder at the terminal
    std::wstring transferred; ///< its e name
    std::wstring failed;      ///< its q name
    std::wstring building;    ///< p in the output folder
    std::wstring finished;    ///< o in the output folder
};

/// The merged backup staged in an order folder before the order is marked transferred.
std::wstring StagedBackupFolder(const std::wstring& orderFolder);
