#pragma once
/// A real Samba server (smbd) on 127.0.0.1 at a free unprivileged port, with its own
/// configuration, users' passwords, state and logs in a temporary folder, for tests and
/// benchmarks of the SMB backend. Needs root: smbd serves each user's files as that user, and
/// the users (prefixed "rdsmb-") are made on the machine when missing.
///
/// Shares: "a" for user A only, "b" for user B only, "公開 guest" for anyone, anonymous too.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

class SambaServer {
public:
    struct User {
        const char* name;
        const char* password;
    };
    static constexpr User kUserA{"rdsmb-a", "Pa$$:w0rd;@/A"};
    static constexpr User kUserB{"rdsmb-b", "b password"};
    static constexpr std::string_view kGuestShare = "公開 guest";

    /// Why no server can run here (smbd not installed, not root); empty when one can.
    static std::string Unavailable();

    /// Starts the server. With `fileSizeLimit`, no file on any share can grow beyond that many
    /// bytes: writes fail as on a full disk.
    explicit SambaServer(std::uint64_t fileSizeLimit = 0);
    /// Stops the server (every process of it) and removes its folder.
    ~SambaServer();
    SambaServer(const SambaServer&) = delete;
    SambaServer& operator=(const SambaServer&) = delete;

    /// Empty when the server runs, else why it does not.
    const std::string& Error() const { return m_error; }
    std::uint16_t Port() const { return m_port; }
    /// The network path of a share: "//127.0.0.1/<share>".
    std::wstring SharePath(std::string_view share) const;
    /// The local folder that a share serves.
    std::filesystem::path ShareFolder(std::string_view share) const;

    /// Stops the server; the shares' files stay.
    void Stop();
    /// Starts it again on the same port; false (with Error()) when it does not answer.
    bool Start();

private:
    bool Configure();

    std::filesystem::path m_root;
    std::uint64_t m_fileSizeLimit;
    std::uint16_t m_port = 0;
    pid_t m_pid = -1;
    std::string m_error;
};
