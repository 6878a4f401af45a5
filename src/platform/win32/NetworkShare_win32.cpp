#include "platform/NetworkShare.h"

#include "WindowsHeaders.h"

#include <winnetwk.h>

#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// The logon is to the share itself ("\\server\share"): the network provider knows no
// folder inside it and no forward slashes.
int AddConnection(const std::wstring& remoteName, const wchar_t* userId, const wchar_t* password) {
    const std::wstring share = NetworkShareName(remoteName);
    if (share.empty())
        return kNetworkBadPathOrNoNetwork;
    std::vector<wchar_t> remote(share.begin(), share.end());
    remote.push_back(L'\0');
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = nullptr;
    resource.lpRemoteName = remote.data();
    resource.lpProvider = nullptr;
    return static_cast<int>(WNetAddConnection2W(&resource, password, userId, 0));
}

} // namespace

bool HasDriveComponent(const std::wstring& path) {
    wchar_t drive[_MAX_DRIVE] = {};
    _wsplitpath_s(path.c_str(), drive, _MAX_DRIVE, nullptr, 0, nullptr, 0, nullptr, 0);
    return drive[0] != L'\0';
}

int AddNetworkConnection(const std::wstring& remoteName, const std::wstring& userId,
                         const std::wstring& password) {
    return AddConnection(remoteName, userId.c_str(), password.c_str());
}

int AddNetworkConnection(const std::wstring& remoteName) {
    return AddConnection(remoteName, nullptr, nullptr);
}

std::wstring ResolveNetworkPath(const std::wstring& path) {
    return path;
}

std::wstring NetworkPathOfLocalFolder(const std::wstring& folder) {
    if (!HasDriveComponent(folder))
        return {};
    // The universal name of a path on a mapped drive ("\\server\share\folder").
    DWORD size = 1024;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    const DWORD result =
        WNetGetUniversalNameW(folder.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    if (result != NO_ERROR)
        return {};
    const auto* info = reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(buffer.data());
    return info->lpUniversalName ? std::wstring(info->lpUniversalName) : std::wstring();
}

} // namespace platform
