#include "transfer/ConnectionProbe.h"

#include "fileutil/FileSystemResolver.h"
#include "platform/NetworkShare.h"

#include <vector>

namespace {

int LogOn(FileSystem& share, const std::wstring& folder, const std::wstring& userId,
          const std::wstring& password) {
    if (userId.empty())
        return share.LogOn(folder, {}, {});
    const int error = share.LogOn(folder, userId, password);
    if (error == platform::kNetworkOk)
        return error;
    // A share that accepts the current user's own logon (or an existing connection) passes.
    return share.LogOn(folder, {}, {}) == platform::kNetworkOk ? 0 : error;
}

bool CanListFolder(FileSystem& share, const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    return static_cast<bool>(share.ListFolder(folder, entries));
}

} // namespace

ConnectionStatus StatusFromError(int error) {
    switch (error) {
    case platform::kNetworkOk:
        return 0;
    case platform::kNetworkAccessDenied:
        return 1;
    case platform::kNetworkExtendedError:
    case kNoAttemptError:
        return 2;
    case platform::kNetworkBadNetName:
        return 3;
    case platform::kNetworkInvalidPassword:
        return 4;
    case platform::kNetworkBadPathOrNoNetwork:
        return 5;
    case platform::kNetworkNoNetwork:
        return 6;
    default:
        return 1;
    }
}

ConnectionStatus CheckFolderConnection(FileSystemResolver& files, const std::wstring& folder,
                                       const std::wstring& userId, const std::wstring& password) {
    FileSystem& share = files.For(folder);
    int error = kNoAttemptError;
    if (platform::HasDriveComponent(folder))
        error = platform::kNetworkOk;
    else if (!folder.empty())
        error = LogOn(share, folder, userId, password);
    if (error == platform::kNetworkOk && !CanListFolder(share, folder))
        error = platform::kNetworkBadNetName;
    return StatusFromError(error);
}
