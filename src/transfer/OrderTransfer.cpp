#include "transfer/OrderTransfer.h"

#include "composition/CompositionInfo.h"
#include "composition/CorrectionFolders.h"
#include "composition/ZoRiEngine.h"
#include "fileutil/DeferredDeletion.h"
#include "fileutil/FileSystem.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "logging/LogClient.h"
#include "platform/FileSystemCalls.h"
#include "transfer/JobFile.h"
#include "transfer/OrderFolderName.h"

#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <vector>

namespace {

constexpr wchar_t kCompositionInfoFile[] = L"QrmZoInRi.ini";
constexpr wchar_t kPrintOrderFile[] = L"AUTPRINT.MRK";
constexpr wchar_t kComposedPattern[] = L"cmb*.*";
constexpr wchar_t kPictureNameWithoutPictures[] = L"test.txt";

// The engine's run record for every order.
constexpr std::int32_t kMidPictureSize = 400;
constexpr std::int32_t kStartValue = 300;

std::wstring Join(std::wstring folder, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names)
        folder = JoinPath(folder, name);
    return folder;
}

/// One folder whose parent exists, as the platform's create-folder call makes it.
bool CreateFolder(const std::wstring& path) {
    return FileSystemFor(path).MakeFolder(path);
}

std::wstring ParentFolder(const std::wstring& path) {
    std::wstring parent, name;
    SplitPath(path, parent, name);
    return parent;
}

/// The previous order's work folder, set aside and deleted in the background while this
/// transfer runs; the deletion has ended when the transfer returns.
class OldWorkFolder {
public:
    explicit OldWorkFolder(std::wstring workFolder) : m_strWorkFolder(std::move(workFolder)) {
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

COrderTransfer::COrderTransfer(CZoRiEngine& engine, const std::atomic<bool>& closing,
                               std::wstring programFolder)
    : m_engine(engine), m_bClosing(closing), m_strProgramFolder(std::move(programFolder)),
      m_journal(JoinPath(m_strProgramFolder, kTransferJournalName)) {}

std::wstring COrderTransfer::WorkFolder() const {
    return JoinPath(m_strProgramFolder, kWorkFolderName);
}

void COrderTransfer::TransferOrder(OrderTicket ticket) {
    const std::wstring& order = ticket.orderFolder;
    const int number = ticket.orderNumber;
    const std::wstring work = WorkFolder();
    const std::wstring workInfo = JoinPath(work, kCompositionInfoFolderName);
    const std::wstring infoFile = JoinPath(workInfo, kCompositionInfoFile);
    bool stepsSucceeded = true;
    const auto step = [&stepsSucceeded](bool succeeded) {
        if (!succeeded)
            stepsSucceeded = false;
    };

    m_engine.Prepare();
    WriteLog(g_pLogClient, L"Relaydesk2 IN TerminalFolder:");

    // The backup copy and the work folder's deletion touch different folders, so the
    // deletion may begin first and go on while the order is copied and composed.
    const OldWorkFolder oldWork(work);
    const std::wstring orderBackup = JoinPath(order, kCorrectBackupFolderName);
    if (!PathExists(orderBackup) && !CopyFolderWhole(JoinPath(order, L"IMAGE"), orderBackup)) {
        step(false);
        // A partial backup would stand in the way of a whole one at the next attempt.
        DeleteItem(orderBackup);
    }
    if (!oldWork.SetAside())
        DeleteItem(work);
    step(CreateFolder(work));
    step(CreateFolder(workInfo));
    step(CreateFolder(JoinPath(work, kCorrectFolderName)));
    for (const wchar_t* folder : {kCompositionInfoFolderName, kCorrectFolderName, L"CTML"})
        step(CopyFolderWhole(JoinPath(order, folder), JoinPath(work, folder)));
    // The merge replaces the backup of a picture corrected under the same name, so the
    // correction stands in for it from the start instead of a copy that would be dropped.
    step(CopyFolderWholeOverlaid(orderBackup, JoinPath(work, kCorrectFolderName),
                                 JoinPath(work, kCorrectBackupFolderName)));

    std::vector<std::wstring> pictures;
    FolderLister().ListNamesToArray(pictures, JoinPath(order, kCorrectFolderName),
                                    kCorrectedImagePattern, 0,
                                    FolderLister::kFiles | FolderLister::kFolders);
    std::wstring pictureName = kPictureNameWithoutPictures;
    if (pictures.empty())
        WriteLog(g_pLogClient, L"Relaydesk2 NoImageFile");
    else
        pictureName = pictures.front();

    step(CreateFolder(JoinPath(workInfo, L"COVERFINAL")));
    step(CreateFolder(JoinPath(workInfo, L"LAYOUTFINAL")));

    ReplaceInTextFile(infoFile, L"<<ALBUM_DIR>>", workInfo);
    ReplaceInTextFile(infoFile, L"<<EXT>>", GetExtensionText(pictureName));
    ReplaceInTextFile(infoFile, L"<<CTML_DIR>>", JoinPath(work, L"CTML"));

    ResolvePictureFiles(work);
    CompositionInfo info;
    info.LoadFromFile(infoFile);
    std::vector<std::wstring> correctedPictures;
    FolderLister().ListToArray(correctedPictures, JoinPath(work, kCorrectFolderName),
                               kCorrectedImagePattern, 0, FolderLister::kFiles);
    info.PrunePages(correctedPictures);
    DeleteMatching(infoFile);
    info.SaveToFile(infoFile);

    if (!stepsSucceeded)
        WriteLog(g_pLogClient, L"Relaydesk2 fileError");

    EngineRunParams params;
    params.midPictureWidth = kMidPictureSize;
    params.midPictureHeight = kMidPictureSize;
    params.startValue = kStartValue;
    params.SetCompositionInfoPath(infoFile);
    params.SetDataPath(JoinPath(work, L"CTML"));
    std::error_code ignored;
    std::filesystem::current_path(platform::ToFsPath(m_strProgramFolder), ignored);
    const int result = m_engine.Run(&params);

    if (m_bClosing) {
        WriteLog(g_pLogClient, L"Relaydesk2 cancel");
        return;
    }
    const std::wstring parent = ParentFolder(order);
    if (result != 0 || !stepsSucceeded) {
        MoveItem(order, JoinPath(parent, OrderFolderName(kFailedLetter, number)));
        WriteLog(g_pLogClient, L"Relaydesk2 zori error = %d", result);
        return;
    }

    if (!BuildFinishedOrder(ticket.outputFolder, number))
        stepsSucceeded = false;
    // From here on a kill must not strand the order: the journal lets the next start finish.
    if (!m_journal.Record(ticket))
        WriteLog(g_pLogClient, L"Relaydesk2 journalError");
    if (!FinishTerminalOrder(order, number))
        stepsSucceeded = false;
    const bool released =
        MoveItem(JoinPath(ticket.outputFolder, OrderFolderName(kBuildingLetter, number)),
                 JoinPath(ticket.outputFolder, OrderFolderName(kFinishedLetter, number)));
    m_journal.Clear();
    if (!released || !stepsSucceeded)
        WriteLog(g_pLogClient, L"Relaydesk2 fileError2");
    else
        WriteLog(g_pLogClient, L"Relaydesk2 end");
}

bool COrderTransfer::BuildFinishedOrder(const std::wstring& outputFolder, int orderNumber) {
    const std::wstring workInfo = JoinPath(WorkFolder(), kCompositionInfoFolderName);
    const std::wstring workPrintOrder = JoinPath(workInfo, kPrintOrderFile);
    DeleteItem(JoinPath(outputFolder, L"*" + OrderDigits(orderNumber)));

    const std::wstring finished =
        JoinPath(outputFolder, OrderFolderName(kBuildingLetter, orderNumber));
    const std::wstring images = JoinPath(finished, L"IMAGE");
    const std::wstring printOrder = Join(finished, {L"MISC", kPrintOrderFile});
    bool succeeded = CreateFolder(finished);
    succeeded = CreateFolder(images) && succeeded;
    succeeded = CreateFolder(JoinPath(finished, L"MISC")) && succeeded;
    succeeded = CopyFolder(JoinPath(workInfo, L"COVERFINAL"), images) && succeeded;
    succeeded = CopyFolder(JoinPath(workInfo, L"LAYOUTFINAL"), images) && succeeded;
    succeeded = CopyOneFile(workPrintOrder, printOrder) && succeeded;

    // The print order keeps as many jobs as there are composed images.
    JobFile jobs;
    jobs.SetPath(workPrintOrder);
    std::vector<std::wstring> composed;
    FolderLister().ListToArray(composed, images, kComposedPattern, 0, FolderLister::kFiles);
    DeleteMatching(printOrder);
    jobs.CopyJobs(static_cast<int>(composed.size()), printOrder);
    return succeeded;
}

bool COrderTransfer::FinishTerminalOrder(const std::wstring& orderFolder, int orderNumber) {
    MergeCorrections(WorkFolder());
    ReturnBackup(orderFolder);
    return MoveItem(orderFolder, JoinPath(ParentFolder(orderFolder),
                                          OrderFolderName(kTransferredLetter, orderNumber)));
}

bool COrderTransfer::ReturnBackup(const std::wstring& orderFolder) {
    // The order gives up its backup and its corrections only once a whole copy of the merged
    // backup stands beside them: a full share or a vanished file leaves them as they were.
    const std::wstring backup = JoinPath(orderFolder, kCorrectBackupFolderName);
    const std::wstring incoming = backup + L"~new";
    const std::wstring corrections = JoinPath(orderFolder, kCorrectFolderName);
    DeleteItem(incoming);
    // Most merged pictures are still here unchanged, as a correction or as an old backup,
    // both about to be deleted: those get a second name instead of being sent back.
    if (!CopyFolderWholeFromTwins(JoinPath(WorkFolder(), kCorrectBackupFolderName), incoming,
                                  {corrections, backup})) {
        DeleteItem(incoming);
        WriteLog(g_pLogClient, L"Relaydesk2 backupError %s", backup);
        return false;
    }
    // The old backup is deleted in the background while the corrections are emptied.
    DeferredDeletion oldBackup;
    if (!oldBackup.Start(backup))
        DeleteItem(backup);
    if (!MoveItem(incoming, backup)) {
        WriteLog(g_pLogClient, L"Relaydesk2 backupError %s", backup);
        return false;
    }
    if (PathExists(corrections)) {
        DeleteItem(corrections);
        CreateFolder(corrections);
    }
    return true;
}

bool COrderTransfer::RecoverInterruptedTransfer() {
    if (!m_journal.Exists())
        return true;
    const std::optional<OrderTicket> ticket = m_journal.Read();
    if (!ticket) {
        WriteLog(g_pLogClient, L"RecoverTransfer ERR unreadable journal");
        return m_journal.Clear();
    }
    WriteLog(g_pLogClient, L"RecoverTransfer IN %s", ticket->orderFolder);
    const int number = ticket->orderNumber;
    const std::wstring parent = ParentFolder(ticket->orderFolder);
    const std::wstring transferred = JoinPath(parent, OrderFolderName(kTransferredLetter, number));
    const std::wstring building =
        JoinPath(ticket->outputFolder, OrderFolderName(kBuildingLetter, number));
    const std::wstring finished =
        JoinPath(ticket->outputFolder, OrderFolderName(kFinishedLetter, number));

    const bool inputReachable = PathExists(parent);
    const bool outputReachable = PathExists(ticket->outputFolder);
    if (!inputReachable || !outputReachable) {
        if (!m_bRecoveryFailureLogged)
            WriteLog(g_pLogClient, L"RecoverTransfer ERR unreachable");
        m_bRecoveryFailureLogged = true;
        return false;
    }
    // Still r: the process ended between the build and the terminal's rename.
    if (ItemExists(ticket->orderFolder) && !FinishTerminalOrder(ticket->orderFolder, number)) {
        WriteLog(g_pLogClient, L"RecoverTransfer ERR rename");
        return false;
    }
    if (ItemExists(building) && !ItemExists(finished) && !MoveItem(building, finished)) {
        WriteLog(g_pLogClient, L"RecoverTransfer ERR release");
        return false;
    }
    m_bRecoveryFailureLogged = false;
    m_journal.Clear();
    WriteLog(g_pLogClient, L"RecoverTransfer OUT %s", ItemExists(transferred) ? L"e" : L"-");
    return true;
}
