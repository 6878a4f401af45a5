#include "transfer/StartupChecks.h"

#include "composition/CorrectionFolders.h"
#include "config/AppSettings.h"
#include "fileutil/FileSystem.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"

namespace {

constexpr wchar_t kProbeName[] = L".relaydesk-write-check";

/// Whether a file can be made and removed in `folder`, made first where missing.
FsResult CanWriteIn(const std::wstring& folder) {
    if (!MakeFolderPath(folder)) {
        ItemInfo info;
        if (!LocalFolders().For(folder).GetItemInfo(folder, info))
            return FsError::kNotFound;
        // A file where the folder belongs takes its name.
        return info.isFolder ? FsError::kNoAccess : FsError::kExists;
    }
    const std::wstring probe = JoinPath(folder, kProbeName);
    FileSystem& fileSystem = LocalFolders().For(probe);
    const FsResult written = fileSystem.WriteFileAtomically(probe, "");
    if (!written)
        return written;
    return fileSystem.DeleteTree(probe);
}

} // namespace

std::wstring FindUnwritableFolder(const std::wstring& programFolder) {
    for (const std::wstring& folder :
         {programFolder, JoinPath(programFolder, kWorkFolderName), ReadLogFolder(programFolder)}) {
        const FsResult writable = CanWriteIn(folder);
        if (!writable)
            return L"cannot write " + folder + L": " + writable.Reason();
    }
    return {};
}
