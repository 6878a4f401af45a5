// Delivery of a composed order: the finished order p built whole in the output folder, the
// order's merged backup staged beside its pictures, then the two renames that mark the
// order transferred and release the finished order, covered by the journal.

#include "transfer/OrderTransfer.h"

#include "composition/CorrectionFolders.h"
#include "fileutil/DeferredDeletion.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "logging/LogClient.h"
#include "transfer/JobFile.h"
#include "transfer/OrderFolderName.h"

#include <vector>

namespace {

constexpr wchar_t kPrintOrderFile[] = L"AUTPRINT.MRK";
constexpr wchar_t kComposedPattern[] = L"cmb*.*";
constexpr wchar_t kComposedFolders[][12] = {L"COVERFINAL", L"LAYOUTFINAL"};

std::size_t CountFiles(FileSystemResolver& files, const std::wstring& folder,
                       const wchar_t* pattern) {
    std::vector<std::wstring> paths;
    FolderLister(files).ListToArray(paths, folder, pattern, 0, FolderLister::kFiles);
    return paths.size();
}

/// Every file the engine composed has arrived in the finished order.
FsResult AllComposedImagesArrived(FileSystemResolver& files, const std::wstring& workInfo,
                                  const std::wstring& images) {
    std::size_t composed = 0;
    for (const wchar_t* folder : kComposedFolders)
        composed += CountFiles(files, JoinPath(workInfo, folder), L"*");
    return CountFiles(files, images, L"*") == composed ? FsResult(true) : FsError::kIo;
}

} // namespace

TransferSteps OrderTransfer::Build(const OrderTicket& ticket) {
    const OrderFolders folders(ticket);
    // The order may have gone while it was composed (its share unmounted, its folder renamed
    // away): nothing is written for it then, and it is tried again when it is back.
    TransferSteps present;
    if (!present.Check(L"find", folders.waiting,
                       ItemExists(m_files, folders.waiting) ? FsResult(true) : FsError::kNotFound))
        return present;

    TransferSteps built = BuildFinishedOrder(ticket);
    if (!built.AllSucceeded()) {
        WriteLog(g_pLogClient, L"Relaydesk2 fileError2");
        Discard(ticket);
        return built;
    }
    TransferSteps staged = StageBackup(ticket);
    // From here on a kill or a vanished share must not strand the order: the journal lets a
    // later pass finish both renames.
    if (!staged.AllSucceeded() || !staged.Check(L"journal", m_journal.EntryPath(ticket.orderFolder),
                                                m_journal.Record(ticket)))
        Discard(ticket);
    return staged;
}

TransferSteps OrderTransfer::BuildFinishedOrder(const OrderTicket& ticket) {
    const OrderFolders folders(ticket);
    const std::wstring workInfo = JoinPath(WorkFolder(), kCompositionInfoFolderName);
    const std::wstring workPrintOrder = JoinPath(workInfo, kPrintOrderFile);
    const std::wstring images = JoinPath(folders.building, L"IMAGE");
    const std::wstring misc = JoinPath(folders.building, L"MISC");
    const std::wstring printOrder = JoinPath(misc, kPrintOrderFile);
    TransferSteps steps;

    // An earlier p or o of the same number (the terminal sent the order again) goes first.
    const std::wstring earlier =
        JoinPath(ticket.outputFolder, L"*" + OrderDigits(ticket.orderNumber));
    if (!steps.Check(L"delete", earlier, DeleteItem(m_files, earlier)))
        return steps;
    // The output folder itself is the terminal's: only p is made in it, never the folder.
    if (!steps.Check(L"mkdir", folders.building, MakeFolder(m_files, folders.building)) ||
        !steps.Check(L"mkdir", images, MakeFolder(m_files, images)) ||
        !steps.Check(L"mkdir", misc, MakeFolder(m_files, misc)))
        return steps;
    for (const wchar_t* folder : kComposedFolders) {
        if (!steps.Check(L"copy", images,
                         CopyFolderWhole(m_files, JoinPath(workInfo, folder), images)))
            return steps;
    }
    if (!steps.Check(L"copy", printOrder, CopyOneFile(m_files, workPrintOrder, printOrder)))
        return steps;

    // The print order keeps as many jobs as there are composed images.
    JobFile jobs;
    jobs.SetPath(workPrintOrder);
    const auto composed = static_cast<int>(CountFiles(m_files, images, kComposedPattern));
    if (steps.Check(L"delete", printOrder, DeleteItem(m_files, printOrder)))
        steps.Check(L"write", printOrder, jobs.CopyJobs(m_files, composed, printOrder));
    steps.Check(L"verify", images, AllComposedImagesArrived(m_files, workInfo, images));
    steps.Check(L"flush", folders.building, m_files.For(folders.building).Flush(folders.building));
    return steps;
}

TransferSteps OrderTransfer::StageBackup(const OrderTicket& ticket) {
    const std::wstring& order = ticket.orderFolder;
    const std::wstring backup = JoinPath(order, kCorrectBackupFolderName);
    const std::wstring staged = StagedBackupFolder(order);
    TransferSteps steps;
    if (!steps.Check(L"merge", WorkFolder(), MergeCorrections(WorkFolder())))
        return steps;
    steps.Check(L"delete", staged, DeleteItem(m_files, staged));
    // Most merged pictures are still here unchanged, as a correction or as an old backup,
    // both about to be deleted: those get a second name instead of being sent back.
    if (steps.Check(
            L"copy", staged,
            CopyFolderWholeFromTwins(m_files, JoinPath(WorkFolder(), kCorrectBackupFolderName),
                                     staged, {JoinPath(order, kCorrectFolderName), backup})))
        steps.Check(L"flush", staged, m_files.For(staged).Flush(staged));
    return steps;
}

TransferOutcome OrderTransfer::Release(const OrderTicket& ticket) {
    const OrderFolders folders(ticket);
    TransferSteps marked;
    if (!marked.Check(L"rename", folders.waiting,
                      MoveItem(m_files, folders.waiting, folders.transferred))) {
        ForgetAndDiscard(ticket);
        if (marked.FirstFailure().Error() == FsError::kExists) {
            WriteLog(g_pLogClient, L"Relaydesk2 conflict %s", folders.transferred);
            m_strLastReason = folders.transferred + L" exists";
            return TransferOutcome::kConflict;
        }
        return RetryLater(marked);
    }
    TransferSteps released;
    if (!released.Check(L"rename", folders.building,
                        MoveItem(m_files, folders.building, folders.finished))) {
        // Not released: the order goes back to r, so that it is not e without its o. Where
        // that fails too, the journal completes the release once the output folder is back.
        if (MoveItem(m_files, folders.transferred, folders.waiting))
            ForgetAndDiscard(ticket);
        WriteLog(g_pLogClient, L"Relaydesk2 fileError2");
        return RetryLater(released);
    }
    const TransferSteps finished = FinishTransferredOrder(folders.transferred);
    if (!finished.AllSucceeded()) {
        // Delivered; the order's backup is swapped by a later pass from its journal entry.
        WriteLog(g_pLogClient, L"Relaydesk2 backupError %s", finished.Describe());
        return TransferOutcome::kDelivered;
    }
    // An entry left behind is completed again by a later pass, which finds nothing to do.
    (void)ForgetJournaled(ticket);
    WriteLog(g_pLogClient, L"Relaydesk2 end");
    return TransferOutcome::kDelivered;
}

TransferSteps OrderTransfer::FinishTransferredOrder(const std::wstring& transferredFolder) {
    const std::wstring backup = JoinPath(transferredFolder, kCorrectBackupFolderName);
    const std::wstring staged = StagedBackupFolder(transferredFolder);
    const std::wstring corrections = JoinPath(transferredFolder, kCorrectFolderName);
    TransferSteps steps;
    // Without a staged backup the swap is done already: only the corrections may be left.
    if (PathExists(m_files, staged)) {
        // The old backup is deleted in the background while the staged one takes its name.
        DeferredDeletion oldBackup(m_files);
        if (!oldBackup.Start(backup))
            steps.Check(L"delete", backup, DeleteItem(m_files, backup));
        if (!steps.Check(L"rename", staged, MoveItem(m_files, staged, backup)))
            return steps;
    }
    if (PathExists(m_files, corrections)) {
        std::vector<FolderEntry> left;
        if (steps.Check(L"list", corrections,
                        m_files.For(corrections).ListFolder(corrections, left)) &&
            !left.empty() && steps.Check(L"delete", corrections, DeleteItem(m_files, corrections)))
            steps.Check(L"mkdir", corrections, MakeFolder(m_files, corrections));
    }
    return steps;
}

void OrderTransfer::ForgetAndDiscard(const OrderTicket& ticket) {
    // The entry goes first: an entry whose p is half deleted would release a partial order.
    if (ForgetJournaled(ticket))
        Discard(ticket);
}

bool OrderTransfer::ForgetJournaled(const OrderTicket& ticket) {
    if (m_journal.Clear(ticket))
        return true;
    WriteLog(g_pLogClient, L"Relaydesk2 journalError %s", m_journal.EntryPath(ticket.orderFolder));
    return false;
}

void OrderTransfer::Discard(const OrderTicket& ticket) {
    const OrderFolders folders(ticket);
    for (const std::wstring& path : {StagedBackupFolder(ticket.orderFolder), folders.building}) {
        if (PathExists(m_files, path) && !DeleteItem(m_files, path))
            WriteLog(g_pLogClient, L"Relaydesk2 discardError %s", path);
    }
}

TransferOutcome OrderTransfer::CompleteJournaledTransfer(const OrderTicket& ticket) {
    const OrderFolders folders(ticket);
    std::wstring terminalFolder, name;
    SplitPath(ticket.orderFolder, terminalFolder, name);
    // Nothing is tried, and nothing logged, while either share is away.
    if (!PathExists(m_files, terminalFolder) || !PathExists(m_files, ticket.outputFolder))
        return TransferOutcome::kRetry;
    WriteLog(g_pLogClient, L"RecoverTransfer IN %s", ticket.orderFolder);
    const bool hasFinishedOrder =
        PathExists(m_files, folders.building) || PathExists(m_files, folders.finished);
    const TransferSteps steps = hasFinishedOrder ? CompleteRenames(ticket) : HandBack(ticket);
    if (!steps.AllSucceeded()) {
        WriteLog(g_pLogClient, L"RecoverTransfer ERR %s", steps.Describe());
        return TransferOutcome::kRetry;
    }
    // An entry left behind is recovered again, which finds nothing left to do.
    (void)ForgetJournaled(ticket);
    WriteLog(g_pLogClient, hasFinishedOrder ? L"RecoverTransfer OUT e" : L"RecoverTransfer OUT r");
    return hasFinishedOrder ? TransferOutcome::kDelivered : TransferOutcome::kFailed;
}

TransferSteps OrderTransfer::HandBack(const OrderTicket& ticket) {
    // The built order was lost (deleted by hand): the order is composed again.
    const OrderFolders folders(ticket);
    TransferSteps steps;
    if (PathExists(m_files, folders.transferred))
        steps.Check(L"rename", folders.transferred,
                    MoveItem(m_files, folders.transferred, folders.waiting));
    if (steps.AllSucceeded())
        Discard(ticket);
    return steps;
}

TransferSteps OrderTransfer::CompleteRenames(const OrderTicket& ticket) {
    const OrderFolders folders(ticket);
    TransferSteps steps;
    if (PathExists(m_files, folders.waiting) && !PathExists(m_files, folders.transferred))
        steps.Check(L"rename", folders.waiting,
                    MoveItem(m_files, folders.waiting, folders.transferred));
    if (steps.AllSucceeded() && PathExists(m_files, folders.building))
        steps.Check(L"rename", folders.building,
                    MoveItem(m_files, folders.building, folders.finished));
    if (steps.AllSucceeded())
        steps.Check(L"finish", folders.transferred,
                    FinishTransferredOrder(folders.transferred).FirstFailure());
    return steps;
}
