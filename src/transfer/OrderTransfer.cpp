#include "transfer/OrderTransfer.h"

#include "composition/CompositionInfo.h"
#include "composition/CorrectionFolders.h"
#include "composition/ZoRiEngine.h"
#include "fileutil/DeferredDeletion.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "logging/LogClient.h"
#include "platform/FileSystemCalls.h"
#include "transfer/OrderFolderName.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr wchar_t kPictureNameWithoutPictures[] = L"test.txt";
constexpr wchar_t kCtmlFolderName[] = L"CTML";

// The engine's run record for every order.
constexpr std::int32_t kMidPictureSize = 400;
constexpr std::int32_t kStartValue = 300;
// The engine's code for an output it could not write: the work folder's volume is full or
// refuses writing, which passes.
constexpr int kEngineUnwritableOutput = 40;

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == platform::kPathSeparator;
}

/// A failure that lies with the order itself: something it should hold is missing while the
/// order is still there. Everything else (a full volume, a vanished share, a refusal)
/// passes, and the order is tried again.
bool IsOrderDataFault(FileSystemResolver& files, const TransferSteps& steps,
                      const std::wstring& orderFolder) {
    return steps.FirstFailure().Error() == FsError::kNotFound &&
           IsInside(steps.FailedPath(), orderFolder) && ItemExists(files, orderFolder);
}

/// The previous order's work folder, set aside and deleted in the background while this
/// transfer runs; the deletion has ended when the transfer returns.
class OldWorkFolder {
public:
    explicit OldWorkFolder(std::wstring workFolder)
        : m_strWorkFolder(std::move(workFolder)), m_deletion(LocalFolders()) {
        m_bSetAside = m_deletion.Start(m_strWorkFolder);
    }
    ~OldWorkFolder() {
        if (!m_deletion.Finish())
            WriteLog(g_pLogClient, L"Relaydesk2 oldWorkError %s",
                     DeferredDeletion::AsideName(m_strWorkFolder));
    }
    OldWorkFolder(const OldWorkFolder&) = delete;
    OldWorkFolder& operator=(const OldWorkFolder&) = delete;

    /// False when the folder could not be moved aside and must be deleted in place.
    bool SetAside() const { return m_bSetAside; }

private:
    std::wstring m_strWorkFolder;
    DeferredDeletion m_deletion;
    bool m_bSetAside = false;
};

} // namespace

OrderFolders::OrderFolders(const OrderTicket& ticket)
    : waiting(ticket.orderFolder),
      transferred(JoinPath(FolderOfPath(ticket.orderFolder),
                           OrderFolderName(kTransferredLetter, ticket.orderNumber))),
      failed(JoinPath(FolderOfPath(ticket.orderFolder),
                      OrderFolderName(kFailedLetter, ticket.orderNumber))),
      building(JoinPath(ticket.outputFolder, OrderFolderName(kBuildingLetter, ticket.orderNumber))),
      finished(
          JoinPath(ticket.outputFolder, OrderFolderName(kFinishedLetter, ticket.orderNumber))) {}

std::wstring StagedBackupFolder(const std::wstring& orderFolder) {
    return JoinPath(orderFolder, kCorrectBackupFolderName) + L"~new";
}

OrderTransfer::OrderTransfer(CZoRiEngine& engine, FileSystemResolver& files,
                             const std::atomic<bool>& closing, std::wstring programFolder)
    : m_engine(engine), m_files(files), m_bClosing(closing),
      m_strProgramFolder(std::move(programFolder)),
      m_journal(JoinPath(m_strProgramFolder, kTransferJournalFolderName)) {}

std::wstring OrderTransfer::WorkFolder() const {
    return JoinPath(m_strProgramFolder, kWorkFolderName);
}

TransferOutcome OrderTransfer::TransferOrder(const OrderTicket& ticket) {
    // An engine that cannot be loaded shows as the result of its run.
    (void)m_engine.Prepare();
    m_strLastReason.clear();
    WriteLog(g_pLogClient, L"Relaydesk2 IN TerminalFolder:");

    int engineResult = 0;
    {
        // The old work folder is deleted in the background while the order is copied and
        // composed; it must be gone before the transfer decides anything.
        const OldWorkFolder oldWork(WorkFolder());
        if (!oldWork.SetAside()) {
            // What is left of it fails the preparation's first mkdir, which says why.
            (void)DeleteItem(m_files, WorkFolder());
        }
        const PreparedOrder prepared = Prepare(ticket);
        if (!prepared.steps.AllSucceeded() &&
            !IsOrderDataFault(m_files, prepared.steps, ticket.orderFolder))
            return RetryLater(prepared.steps);
        engineResult = Compose(prepared);
        if (m_bClosing)
            return Cancel();
        if (engineResult == 0 && prepared.Usable()) {
            const TransferSteps built = Build(ticket);
            return built.AllSucceeded() ? Release(ticket) : RetryLater(built);
        }
    }
    if (engineResult == kEngineUnwritableOutput) {
        TransferSteps composed;
        composed.Check(L"compose", WorkFolder(), FsError::kNoSpace);
        return RetryLater(composed);
    }
    return MarkFailed(ticket, engineResult);
}

OrderTransfer::PreparedOrder OrderTransfer::Prepare(const OrderTicket& ticket) {
    PreparedOrder prepared;
    prepared.steps = CopyIntoWorkFolder(ticket);
    if (prepared.steps.AllSucceeded())
        prepared.steps = FillInCompositionInfo(ticket);
    if (prepared.steps.AllSucceeded())
        prepared.steps = RewriteCompositionInfo(prepared.rejectedValue);
    return prepared;
}

TransferSteps OrderTransfer::CopyIntoWorkFolder(const OrderTicket& ticket) {
    const std::wstring& order = ticket.orderFolder;
    const std::wstring work = WorkFolder();
    TransferSteps steps;

    const std::wstring orderBackup = JoinPath(order, kCorrectBackupFolderName);
    const std::wstring orderImages = JoinPath(order, L"IMAGE");
    if (!PathExists(m_files, orderBackup) &&
        !steps.Check(L"backup", orderImages, CopyFolderWhole(m_files, orderImages, orderBackup))) {
        // A partial backup would stand in the way of a whole one at the next attempt. The
        // failed copy has failed the transfer already, with its reason.
        (void)DeleteItem(m_files, orderBackup);
    }
    for (const std::wstring& made :
         {work, JoinPath(work, kCompositionInfoFolderName), JoinPath(work, kCorrectFolderName)})
        steps.Check(L"mkdir", made, MakeFolder(m_files, made));
    for (const wchar_t* folder : {kCompositionInfoFolderName, kCorrectFolderName, kCtmlFolderName})
        steps.Check(L"copy", JoinPath(order, folder),
                    CopyFolderWhole(m_files, JoinPath(order, folder), JoinPath(work, folder)));
    // The merge replaces the backup of a picture corrected under the same name, so the
    // correction stands in for it from the start instead of a copy that would be dropped.
    steps.Check(L"copy", orderBackup,
                CopyFolderWholeOverlaid(m_files, orderBackup, JoinPath(work, kCorrectFolderName),
                                        JoinPath(work, kCorrectBackupFolderName)));
    return steps;
}

TransferSteps OrderTransfer::FillInCompositionInfo(const OrderTicket& ticket) {
    const std::wstring work = WorkFolder();
    const std::wstring workInfo = JoinPath(work, kCompositionInfoFolderName);
    const std::wstring infoFile = JoinPath(workInfo, kCompositionInfoFileName);
    TransferSteps steps;

    std::vector<std::wstring> pictures;
    FolderLister(m_files).ListNamesToArray(
        pictures, JoinPath(ticket.orderFolder, kCorrectFolderName), kCorrectedImagePattern, 0,
        FolderLister::kFiles | FolderLister::kFolders);
    std::wstring pictureName = kPictureNameWithoutPictures;
    if (pictures.empty())
        WriteLog(g_pLogClient, L"Relaydesk2 NoImageFile");
    else
        pictureName = pictures.front();

    for (const wchar_t* folder : {L"COVERFINAL", L"LAYOUTFINAL"})
        steps.Check(L"mkdir", JoinPath(workInfo, folder),
                    MakeFolder(m_files, JoinPath(workInfo, folder)));

    steps.Check(L"edit", infoFile,
                ReplaceInTextFile(m_files, infoFile, L"<<ALBUM_DIR>>", workInfo));
    steps.Check(L"edit", infoFile,
                ReplaceInTextFile(m_files, infoFile, L"<<EXT>>", GetExtensionText(pictureName)));
    steps.Check(
        L"edit", infoFile,
        ReplaceInTextFile(m_files, infoFile, L"<<CTML_DIR>>", JoinPath(work, kCtmlFolderName)));
    steps.Check(L"resolve", infoFile, ResolvePictureFiles(work));
    return steps;
}

TransferSteps OrderTransfer::RewriteCompositionInfo(std::wstring& rejectedValue) {
    const std::wstring work = WorkFolder();
    const std::wstring workInfo = JoinPath(work, kCompositionInfoFolderName);
    const std::wstring infoFile = JoinPath(workInfo, kCompositionInfoFileName);
    TransferSteps steps;

    CompositionInfo info;
    steps.Check(L"read", infoFile, info.LoadFromFile(infoFile));
    // Read before page selection renumbers the records the answer names.
    rejectedValue = info.FindValueOutsideBounds({workInfo, JoinPath(work, kCtmlFolderName),
                                                 JoinPath(work, kCorrectFolderName),
                                                 JoinPath(work, kCorrectBackupFolderName)});
    std::vector<std::wstring> correctedPictures;
    FolderLister(m_files).ListToArray(correctedPictures, JoinPath(work, kCorrectFolderName),
                                      kCorrectedImagePattern, 0, FolderLister::kFiles);
    info.PrunePages(correctedPictures);
    // Saved into no file, the keys come in the documented order.
    steps.Check(L"delete", infoFile, DeleteItem(m_files, infoFile));
    steps.Check(L"write", infoFile, info.SaveToFile(infoFile));
    return steps;
}

int OrderTransfer::Compose(const PreparedOrder& prepared) {
    if (!prepared.steps.AllSucceeded()) {
        WriteLog(g_pLogClient, L"Relaydesk2 stepError %s", prepared.steps.Describe());
        WriteLog(g_pLogClient, L"Relaydesk2 fileError");
        m_strLastReason = prepared.steps.Describe();
    }
    // Order data that names places outside the order is never handed to the engine.
    if (!prepared.rejectedValue.empty()) {
        WriteLog(g_pLogClient, L"Relaydesk2 orderDataError %s", prepared.rejectedValue);
        m_strLastReason = L"order data out of bounds: " + prepared.rejectedValue;
        return 0;
    }
    const int result = RunEngine();
    if (result != 0 && m_strLastReason.empty())
        m_strLastReason = L"engine error " + std::to_wstring(result);
    return result;
}

int OrderTransfer::RunEngine() {
    EngineRunParams params;
    params.midPictureWidth = kMidPictureSize;
    params.midPictureHeight = kMidPictureSize;
    params.startValue = kStartValue;
    params.SetCompositionInfoPath(
        JoinPath(JoinPath(WorkFolder(), kCompositionInfoFolderName), kCompositionInfoFileName));
    params.SetDataPath(JoinPath(WorkFolder(), kCtmlFolderName));
    // The engine library may open files by names relative to the working folder and expects
    // the program folder there. The working folder is the whole process's: this thread is
    // the only one that sets it, always to the same folder, so that from the first transfer
    // on a relative name means the same on every thread. A failure shows in the run.
    std::error_code ignored;
    std::filesystem::current_path(platform::ToFsPath(m_strProgramFolder), ignored);
    return m_engine.Run(&params);
}

TransferOutcome OrderTransfer::Cancel() {
    WriteLog(g_pLogClient, L"Relaydesk2 cancel");
    m_strLastReason = L"the controller is closing";
    return TransferOutcome::kCancelled;
}

TransferOutcome OrderTransfer::MarkFailed(const OrderTicket& ticket, int engineResult) {
    const OrderFolders folders(ticket);
    TransferSteps steps;
    if (!steps.Check(L"rename", folders.waiting,
                     MoveItem(m_files, folders.waiting, folders.failed))) {
        if (steps.FirstFailure().Error() == FsError::kExists) {
            WriteLog(g_pLogClient, L"Relaydesk2 conflict %s", folders.failed);
            m_strLastReason = folders.failed + L" exists";
            return TransferOutcome::kConflict;
        }
        return RetryLater(steps);
    }
    WriteLog(g_pLogClient, L"Relaydesk2 zori error = %d", engineResult);
    return TransferOutcome::kFailed;
}

TransferOutcome OrderTransfer::RetryLater(const TransferSteps& steps) {
    WriteLog(g_pLogClient, L"Relaydesk2 retry %s", steps.Describe());
    m_strLastReason = steps.Describe();
    return TransferOutcome::kRetry;
}

std::vector<OrderTicket> OrderTransfer::JournaledTransfers() const {
    return m_journal.Pending();
}

bool OrderTransfer::IsJournaled(const std::wstring& orderFolder) const {
    return m_journal.IsPending(orderFolder);
}
