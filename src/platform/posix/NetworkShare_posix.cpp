#include "platform/NetworkShare.h"

#include "platform/SharePath.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

/// The mount table escapes blanks and backslashes as octal sequences ("\040").
std::string DecodeMountField(const std::string& field) {
    std::string decoded;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                decoded += static_cast<char>(std::strtol(digits.c_str(), nullptr, 8));
                i += 3;
                continue;
            }
        }
        decoded += field[i];
    }
    return decoded;
}

struct MountEntry {
    std::wstring source;
    std::wstring mountPoint;
    std::string type;
    std::wstring options;
};

std::string MountTablePath() {
    const char* configured = std::getenv("RELAYDESK_MOUNTS");
    return configured && *configured ? configured : "/proc/self/mounts";
}

std::optional<std::vector<MountEntry>> ParseMountTable(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        return std::nullopt;
    std::vector<MountEntry> entries;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string source, mountPoint, type, options;
        if (!(fields >> source >> mountPoint >> type))
            continue;
        fields >> options;
        entries.push_back(MountEntry{Utf8ToWide(DecodeMountField(source)),
                                     Utf8FileNameToWide(DecodeMountField(mountPoint)), type,
                                     Utf8ToWide(DecodeMountField(options))});
    }
    return entries;
}

/// The mount table, read again only when it changed: the kernel's table signals a change to
/// poll() on an open descriptor; a table in a file (tests) is compared by its identity, time
/// and size.
class MountTableCache {
public:
    std::optional<std::vector<MountEntry>> Get() {
        std::lock_guard lock(m_mutex);
        const std::string path = MountTablePath();
        if (path != m_path) {
            Forget();
            m_path = path;
        }
        if (!m_entries || Changed())
            m_entries = ParseMountTable(m_path);
        return m_entries;
    }

private:
    bool Changed() {
        if (m_path == kKernelTable) {
            if (m_watch < 0)
                m_watch = open(kKernelTable, O_RDONLY | O_CLOEXEC);
            pollfd watch{m_watch, POLLPRI, 0};
            return m_watch < 0 || poll(&watch, 1, 0) != 0;
        }
        struct stat status {};
        if (stat(m_path.c_str(), &status) != 0)
            return true;
        const bool changed = status.st_mtim.tv_sec != m_stamp.tv_sec ||
                             status.st_mtim.tv_nsec != m_stamp.tv_nsec ||
                             status.st_size != m_size || status.st_ino != m_inode;
        m_stamp = status.st_mtim;
        m_size = status.st_size;
        m_inode = status.st_ino;
        return changed;
    }

    void Forget() {
        if (m_watch >= 0)
            close(m_watch);
        m_watch = -1;
        m_entries.reset();
        m_stamp = {};
        m_size = -1;
        m_inode = 0;
    }

    static constexpr const char* kKernelTable = "/proc/self/mounts";
    std::mutex m_mutex;
    std::string m_path;
    std::optional<std::vector<MountEntry>> m_entries;
    int m_watch = -1;
    timespec m_stamp{};
    off_t m_size = -1;
    ino_t m_inode = 0;
};

std::optional<std::vector<MountEntry>> ReadMountTable() {
    static MountTableCache cache;
    return cache.Get();
}

bool IsSmbMount(const std::string& type) {
    return type == "cifs" || type == "smb3" || type == "smbfs";
}

bool IsGvfsMount(const std::string& type) {
    return type == "fuse.gvfsd-fuse";
}

/// The value of "name=" in a comma-separated option list, empty when absent.
std::wstring MountOption(const std::wstring& options, std::wstring_view name) {
    size_t start = 0;
    while (start <= options.size()) {
        size_t end = options.find(L',', start);
        if (end == std::wstring::npos)
            end = options.size();
        const std::wstring_view option(options.data() + start, end - start);
        if (option.size() > name.size() && option[name.size()] == L'=' &&
            EqualNoCase(option.substr(0, name.size()), name))
            return std::wstring(option.substr(name.size() + 1));
        start = end + 1;
    }
    return {};
}

bool IsFolder(const std::wstring& path) {
    struct stat status {};
    return stat(WideToUtf8FileName(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

/// The mount that serves the share, with the folder of the share's root in `root`.
std::optional<MountEntry> FindShareMount(const std::vector<MountEntry>& mounts,
                                         const SharePath& share, std::wstring& root) {
    for (const MountEntry& entry : mounts) {
        if (IsSmbMount(entry.type)) {
            const std::optional<SharePath> source = SplitSharePath(entry.source);
            if (source && source->rest.empty() && EqualNoCase(source->server, share.server) &&
                EqualNoCase(source->share, share.share)) {
                root = entry.mountPoint;
                return entry;
            }
        } else if (IsGvfsMount(entry.type)) {
            // gvfs keeps one folder per mounted share below its own mount point.
            std::wstring lowerServer = share.server, lowerShare = share.share;
            std::transform(lowerServer.begin(), lowerServer.end(), lowerServer.begin(), towlower);
            std::transform(lowerShare.begin(), lowerShare.end(), lowerShare.begin(), towlower);
            std::wstring folder = entry.mountPoint;
            folder.append(L"/smb-share:server=").append(lowerServer);
            folder.append(L",share=").append(lowerShare);
            if (IsFolder(folder)) {
                root = folder;
                return entry;
            }
        }
    }
    return std::nullopt;
}

/// The part of `folder` below `mountPoint` ("" for the mount point itself), or nothing when
/// the folder is not inside it. Compared by whole names: /mnt/a2 is not inside /mnt/a.
std::optional<std::wstring> PathBelow(const std::wstring& folder, std::wstring mountPoint) {
    while (mountPoint.size() > 1 && mountPoint.back() == L'/')
        mountPoint.pop_back();
    if (folder.compare(0, mountPoint.size(), mountPoint) != 0)
        return std::nullopt;
    std::wstring rest = folder.substr(mountPoint.size());
    if (!rest.empty() && rest.front() != L'/' && mountPoint != L"/")
        return std::nullopt;
    while (!rest.empty() && rest.front() == L'/')
        rest.erase(rest.begin());
    while (!rest.empty() && rest.back() == L'/')
        rest.pop_back();
    return rest;
}

std::wstring JoinSharePath(const SharePath& share, const std::wstring& below) {
    std::wstring path = L"//" + share.server + L'/' + share.share;
    for (const std::wstring& part : {share.rest, below}) {
        if (!part.empty())
            path += L'/' + part;
    }
    return path;
}

/// gvfs names a mounted share's folder "smb-share:server=pc01,share=orders".
std::optional<SharePath> GvfsShareOf(const std::wstring& folderName) {
    const std::wstring prefix = L"smb-share:";
    if (folderName.rfind(prefix, 0) != 0)
        return std::nullopt;
    const std::wstring options = folderName.substr(prefix.size());
    SharePath share{MountOption(options, L"server"), MountOption(options, L"share"), {}};
    if (share.server.empty() || share.share.empty())
        return std::nullopt;
    return share;
}

int ConnectShare(const std::wstring& remoteName, const std::wstring* userId) {
    const std::optional<SharePath> share = SplitSharePath(remoteName);
    if (!share)
        return kNetworkBadPathOrNoNetwork;
    const std::optional<std::vector<MountEntry>> mounts = ReadMountTable();
    if (!mounts)
        return kNetworkNoNetwork;
    std::wstring root;
    const std::optional<MountEntry> mount = FindShareMount(*mounts, *share, root);
    if (!mount)
        return kNetworkBadNetName;
    // A share mounted for another account does not accept this terminal's credentials;
    // the caller's second attempt without credentials then decides.
    if (userId) {
        const std::wstring mountedUser = MountOption(mount->options, L"username");
        if (!mountedUser.empty() && !EqualNoCase(mountedUser, *userId))
            return kNetworkInvalidPassword;
    }
    if (access(WideToUtf8FileName(root).c_str(), R_OK | X_OK) != 0)
        return errno == EACCES ? kNetworkAccessDenied : kNetworkBadNetName;
    return kNetworkOk;
}

} // namespace

bool HasDriveComponent(const std::wstring& path) {
    return !path.empty() && path[0] == L'/' && !IsNetworkPath(path);
}

int AddNetworkConnection(const std::wstring& remoteName, const std::wstring& userId,
                         const std::wstring& /*password*/) {
    return ConnectShare(remoteName, &userId);
}

int AddNetworkConnection(const std::wstring& remoteName) {
    return ConnectShare(remoteName, nullptr);
}

std::wstring ResolveNetworkPath(const std::wstring& path) {
    const std::optional<SharePath> share = SplitSharePath(path);
    if (!share)
        return IsNetworkPath(path) ? std::wstring() : path;
    const std::optional<std::vector<MountEntry>> mounts = ReadMountTable();
    std::wstring root;
    if (!mounts || !FindShareMount(*mounts, *share, root))
        return {};
    return share->rest.empty() ? root : root + L'/' + share->rest;
}

std::wstring NetworkPathOfLocalFolder(const std::wstring& folder) {
    if (folder.empty() || folder.front() != L'/' || IsNetworkPath(folder))
        return {};
    const std::optional<std::vector<MountEntry>> mounts = ReadMountTable();
    if (!mounts)
        return {};
    // Mounts may nest: the deepest mount point that holds the folder serves it.
    std::wstring best;
    std::optional<std::size_t> bestDepth;
    for (const MountEntry& entry : *mounts) {
        const std::optional<std::wstring> below = PathBelow(folder, entry.mountPoint);
        if (!below || (bestDepth && entry.mountPoint.size() < *bestDepth))
            continue;
        std::wstring network;
        if (IsSmbMount(entry.type)) {
            if (const std::optional<SharePath> share = SplitSharePath(entry.source))
                network = JoinSharePath(*share, *below);
        } else if (IsGvfsMount(entry.type)) {
            const std::size_t end = below->find(L'/');
            if (const std::optional<SharePath> share = GvfsShareOf(below->substr(0, end)))
                network =
                    JoinSharePath(*share, end == std::wstring::npos ? L"" : below->substr(end + 1));
        }
        // A local file system mounted deeper inside a share hides the share there.
        best = network;
        bestDepth = entry.mountPoint.size();
    }
    return best;
}

} // namespace platform
