#include "transfer/ConnectionProbe.h"

#include "fileutil/FileSystem.h"
#include "platform/NetworkShare.h"

#include <vector>

namespace {

int LogOn(const std::wstring& folder, const std::wstring& userId, const std::wstring& password) {
    if (userId.empty())
        return platform::AddNetworkConnection(folder);
    const int error = platform::AddNetworkConnection(folder, userId, password);
    if (error == platform::kNetworkOk)
        return error;
    // A share that accepts the current user's own logon (or an existing connection) passes.
    return platform::AddNetworkConnection(folder) == platform::kNetworkOk ? 0 : error;
}

bool CanListFolder(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    return static_cast<bool>(FileSystemFor(folder).ListFolder(folder, entries));
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

ConnectionStatus CheckFolderConnection(const std::wstring& folder, const std::wstring& userId,
                                       const std::wstring& password) {
    int error = kNoAttemptError;
    if (platform::HasDriveComponent(folder))
        error = platform::kNetworkOk;
    else if (!folder.empty())
        error = LogOn(folder, userId, password);
    if (error == platform::kNetworkOk && !CanListFolder(folder))
        error = platform::kNetworkBadNetName;
    return StatusFromError(error);
}
