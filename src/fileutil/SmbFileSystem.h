#pragma once
/// The network backend on the SMB client library: network paths ("//server/share/folder" or
/// "\\server\share\folder") are reached over the network with the logon made for their share.
/// Copies also run between a share and a local folder, in both directions.

#include "fileutil/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

class SmbContextPool;
class SmbCredentialTable;
struct SmbSharePath;

class SmbFileSystem final : public FileSystem {
public:
    /// The server port of every share; 0 takes the setting of the environment variable
    /// RELAYDESK_SMB_PORT (for tests), else the standard port.
    explicit SmbFileSystem(std::uint16_t port = 0);
    ~SmbFileSystem() override;

    /// Logs on to the share that holds `folder` ("DOMAIN\user" accepted; no user id: an
    /// anonymous logon, or the logon the share already has). On success the credentials are
    /// kept for that share and serve every later operation on it. Returns 0 or an error
    /// number of platform::NetworkError. Thread-safe.
    int LogOn(const std::wstring& folder, const std::wstring& userId,
              const std::wstring& password) override;

    FsResult ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override;
    FsResult GetItemInfo(const std::wstring& path, ItemInfo& info) override;
    FsResult MakeFolder(const std::wstring& path) override;
    FsResult RenameNoReplace(const std::wstring& from, const std::wstring& to) override;
    FsResult DeleteTree(const std::wstring& path) override;
    /// Either side may be a local path. Within one share the server copies the bytes itself.
    FsResult CopyFile(const std::wstring& from, const std::wstring& to) override;
    FsResult ReadFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes) override;
    FsResult WriteFileAtomically(const std::wstring& path, std::string_view bytes) override;
    /// The server holds what it has acknowledged; this checks that the path is still there.
    FsResult Flush(const std::wstring& path) override;
    FsResult GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) override;

private:
    std::uint16_t m_port;
    std::unique_ptr<SmbCredentialTable> m_credentials;
    std::unique_ptr<SmbContextPool> m_contexts;
};

/// The server port setting of RELAYDESK_SMB_PORT; 0 when unset or not a port number.
std::uint16_t SmbPortSetting();
