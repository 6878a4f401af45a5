#include "composition/CorrectionFolders.h"

#include "composition/CompositionInfo.h"
#include "config/ProfileDocument.h"
#include "config/ProfileValues.h"
#include "fileutil/ConcurrentBatch.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "fileutil/NameCase.h"
#include "fileutil/Wildcard.h"
#include "logging/LogClient.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

/// The files of one folder, listed once in name order and matched against many patterns.
class FolderFiles {
public:
    explicit FolderFiles(const std::wstring& folder) {
        FolderLister(LocalFolders()).ListToArray(m_paths, folder, L"*", 0, FolderLister::kFiles);
        m_names.reserve(m_paths.size());
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            m_names.push_back(NameOfPath(m_paths[i]));
            m_firstByName.emplace(UpperCaseName(m_names.back()), i);
        }
    }

    /// Full path of the first file whose name matches `pattern`; null when none does.
    const std::wstring* FirstMatch(const std::wstring& pattern) const {
        if (pattern.empty())
            return nullptr;
        // A plain name matches only itself, without regard to case; a book's names are
        // nearly all plain, and a lookup spares a wildcard match against every file. A
        // trailing dot is a pattern of its own ("IMG." also matches "IMG").
        if (!HasWildcards(pattern) && pattern.back() != L'.') {
            const auto found = m_firstByName.find(UpperCaseName(pattern));
            return found == m_firstByName.end() ? nullptr : &m_paths[found->second];
        }
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            if (MatchesWildcard(m_names[i], pattern))
                return &m_paths[i];
        }
        return nullptr;
    }

    /// Indices of every file whose name matches `pattern`, in name order.
    std::vector<std::size_t> Matches(const std::wstring& pattern) const {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < m_names.size(); ++i) {
            if (MatchesWildcard(m_names[i], pattern))
                found.push_back(i);
        }
        return found;
    }

    std::size_t Count() const { return m_paths.size(); }
    const std::wstring& Path(std::size_t index) const { return m_paths[index]; }

private:
    std::vector<std::wstring> m_paths;
    std::vector<std::wstring> m_names;
    /// Upper-cased name -> index of the first file of that name in name order.
    std::unordered_map<std::wstring, std::size_t> m_firstByName;
};

} // namespace

bool ResolvePictureFiles(const std::wstring& workFolder) {
    const std::wstring infoFile =
        JoinPath(JoinPath(workFolder, kCompositionInfoFolderName), kCompositionInfoFileName);
    ProfileDocument document;
    if (!document.Load(infoFile))
        return true;
    // Records beyond what a load would hold are never composed, so they need no file.
    const std::int32_t pictures =
        std::min(ReadDocumentNumber(document, L"ZO_INFO", L"PICT_CNT", 0).value,
                 CompositionInfo::kMaxRecordCount);
    if (pictures <= 0)
        return true;

    const FolderFiles corrected(JoinPath(workFolder, kCorrectFolderName));
    const FolderFiles backedUp(JoinPath(workFolder, kCorrectBackupFolderName));
    // Each name is looked up once: a name with wildcards is matched against every file, and
    // many pictures may give the same one.
    std::unordered_map<std::wstring, const std::wstring*> newestByName;
    bool changed = false;
    for (std::int32_t n = 1; n <= pictures; ++n) {
        const std::wstring section = L"PICT_INFO" + std::to_wstring(n);
        const std::wstring fileName = ReadDocumentText(document, section, L"FILENAME", L"");
        const auto [entry, added] = newestByName.try_emplace(fileName, nullptr);
        if (added) {
            entry->second = corrected.FirstMatch(fileName);
            if (!entry->second)
                entry->second = backedUp.FirstMatch(fileName);
        }
        const std::wstring* newest = entry->second;
        if (newest && *newest != fileName) {
            document.Set(section, L"FILENAME", *newest);
            changed = true;
        }
    }
    if (changed && !document.Save(infoFile)) {
        WriteLog(g_pLogClient, L"ResolvePictureFiles ERR %s", infoFile);
        return false;
    }
    return true;
}

bool MergeCorrections(const std::wstring& workFolder) {
    const std::wstring correctFolder = JoinPath(workFolder, kCorrectFolderName);
    const std::wstring backupFolder = JoinPath(workFolder, kCorrectBackupFolderName);

    std::vector<std::wstring> corrections;
    FolderLister(LocalFolders())
        .ListToArray(corrections, correctFolder, kCorrectedImagePattern, 0, FolderLister::kFiles);
    // The backup folder is listed once; a backup that several corrections replace is
    // deleted once.
    const FolderFiles backups(backupFolder);
    std::vector<bool> replaced(backups.Count(), false);
    std::vector<std::wstring> outdated;
    for (const std::wstring& correction : corrections) {
        // The name keeps its dot: IMG-0001.JPG gives IMG-0001.* and spares IMG-00010.JPG.
        const std::wstring name = NameOfPath(correction);
        const std::wstring pattern =
            name.substr(0, name.size() - GetExtensionText(name).size()) + L"*";
        for (const std::size_t backup : backups.Matches(pattern)) {
            if (!replaced[backup])
                outdated.push_back(backups.Path(backup));
            replaced[backup] = true;
        }
    }
    const std::size_t undeleted = RunConcurrently(outdated.size(), [&outdated](std::size_t backup) {
        if (DeleteItem(LocalFolders(), outdated[backup]))
            return true;
        WriteLog(g_pLogClient, L"MergeCorrections ERR delete %s", outdated[backup]);
        return false;
    });
    // Both folders are the work folder's own, whose pictures are never rewritten in place.
    if (!LinkFolderWhole(LocalFolders(), correctFolder, backupFolder)) {
        WriteLog(g_pLogClient, L"MergeCorrections ERR copy %s", correctFolder);
        return false;
    }
    return undeleted == 0;
}
