#include "SambaServer.h"

#include "Eventually.h"

#include "platform/TextEncoding.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr const char* kSmbd = "/usr/sbin/smbd";

struct ShareSetting {
    std::string_view name;
    const char* folder;
    const char* validUser; // nullptr: a guest share
};

const ShareSetting kShares[] = {
    {"a", "a", SambaServer::kUserA.name},
    {"b", "b", SambaServer::kUserB.name},
    {SambaServer::kGuestShare, "guest", nullptr},
};

// The server keeps all its state under the test's folder, one setting per folder.
struct RunFolder {
    const char* setting;
    const char* name;
};

const RunFolder kRunFolders[] = {
    {"lock directory", "lock"}, {"state directory", "state"}, {"cache directory", "cache"},
    {"private dir", "private"}, {"pid directory", "pid"},     {"ncalrpc dir", "ncalrpc"},
};

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t FreePort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    std::uint16_t port = 0;
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(socket);
    return port;
}

bool Answers(std::uint16_t port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(socket);
    return connected;
}

// Tests may run side by side: another may be adding the same user at the same moment.
const passwd* EnsureUser(const char* name) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (const passwd* user = getpwnam(name))
            return user;
        const std::string command = std::string("useradd --system --no-create-home --shell "
                                                "/usr/sbin/nologin ") +
                                    name + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            std::this_thread::sleep_for(100ms);
    }
    return getpwnam(name);
}

bool SetPassword(const fs::path& config, const SambaServer::User& user) {
    const std::string command =
        "smbpasswd -c '" + config.string() + "' -s -a " + user.name + " >/dev/null 2>&1";
    FILE* input = popen(command.c_str(), "w");
    if (!input)
        return false;
    std::fprintf(input, "%s\n%s\n", user.password, user.password);
    return pclose(input) == 0;
}

} // namespace

std::string SambaServer::Unavailable() {
    if (access(kSmbd, X_OK) != 0)
        return "smbd is not installed";
    if (geteuid() != 0)
        return "a Samba server for tests needs root (its users and their files)";
    return {};
}

SambaServer::SambaServer(std::uint64_t fileSizeLimit) : m_fileSizeLimit(fileSizeLimit) {
    m_error = Unavailable();
    if (!m_error.empty())
        return;
    char pattern[] = "/tmp/relaydesk-samba-XXXXXX";
    if (!mkdtemp(pattern)) {
        m_error = "no temporary folder";
        return;
    }
    m_root = pattern;
    if (Configure())
        Start();
}

SambaServer::~SambaServer() {
    Stop();
    std::error_code ignored;
    if (!m_root.empty())
        fs::remove_all(m_root, ignored);
}

bool SambaServer::Configure() {
    // smbd reaches the shares as their users: the folders above them must be open to all.
    chmod(m_root.c_str(), 0755);
    for (const RunFolder& folder : kRunFolders)
        fs::create_directories(m_root / "run" / folder.name);
    fs::create_directories(m_root / "run" / "log");
    fs::create_directories(m_root / "shares");
    chmod((m_root / "shares").c_str(), 0755);
    for (const ShareSetting& share : kShares) {
        const fs::path folder = m_root / "shares" / share.folder;
        fs::create_directories(folder);
        if (!share.validUser) {
            chmod(folder.c_str(), 0777);
            continue;
        }
        const passwd* user = EnsureUser(share.validUser);
        if (!user || chown(folder.c_str(), user->pw_uid, user->pw_gid) != 0) {
            m_error = std::string("cannot make the user ") + share.validUser;
            return false;
        }
    }

    m_port = FreePort();
    const fs::path run = m_root / "run";
    std::ofstream config(m_root / "smb.conf");
    config << "[global]\n"
           << "  server role = standalone server\n"
           << "  interfaces = 127.0.0.1\n"
           << "  bind interfaces only = yes\n"
           << "  smb ports = " << m_port << "\n"
           << "  disable netbios = yes\n"
           << "  server min protocol = SMB2_02\n"
           << "  map to guest = never\n"
           << "  load printers = no\n"
           << "  printcap name = /dev/null\n"
           << "  disable spoolss = yes\n";
    for (const RunFolder& folder : kRunFolders)
        config << "  " << folder.setting << " = " << (run / folder.name).string() << "\n";
    config << "  log file = " << (run / "log").string() << "/log.%m\n"
           << "  passdb backend = tdbsam:" << (run / "private" / "passdb.tdb").string() << "\n";
    for (const ShareSetting& share : kShares) {
        config << "[" << share.name << "]\n"
               << "  path = " << (m_root / "shares" / share.folder).string() << "\n"
               << "  read only = no\n";
        if (share.validUser)
            config << "  valid users = " << share.validUser << "\n";
        else // an anonymous user owns nothing: what it makes must stay open to it
            config << "  guest ok = yes\n  create mask = 0777\n  directory mask = 0777\n";
    }
    config.close();
    if (!config || !SetPassword(m_root / "smb.conf", kUserA) ||
        !SetPassword(m_root / "smb.conf", kUserB)) {
        m_error = "cannot write the server's configuration or passwords";
        return false;
    }
    return true;
}

bool SambaServer::Start() {
    if (m_pid > 0)
        return true;
    if (m_root.empty() || m_port == 0)
        return false;
    const std::string config = (m_root / "smb.conf").string();
    const std::string output = (m_root / "run" / "log" / "smbd.out").string();
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Its own process group, so that every process of the server can be stopped at once;
        // and it dies with the test, should the test die first.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(1);
        if (m_fileSizeLimit != 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{m_fileSizeLimit, m_fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const int log = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        execl(kSmbd, "smbd", "--foreground", "--no-process-group", "-s", config.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) {
        m_error = "cannot start smbd";
        return false;
    }
    setpgid(pid, pid);
    m_pid = pid;
    for (auto waited = 0ms; waited < 20s; waited += 50ms) {
        if (Answers(m_port)) {
            m_error.clear();
            return true;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            m_pid = -1;
            m_error = "smbd ended at once; see " + output;
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    Stop();
    m_error = "smbd does not answer; see " + output;
    return false;
}

void SambaServer::Stop() {
    if (m_pid <= 0)
        return;
    kill(-m_pid, SIGTERM);
    int status = 0;
    const bool ended =
        Eventually([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, 5s, 20ms);
    // Whatever is left of the server (its children, a stuck main process) goes too.
    kill(-m_pid, SIGKILL);
    if (!ended)
        waitpid(m_pid, &status, 0);
    m_pid = -1;
    Eventually([this] { return !Answers(m_port); }, 5s, 20ms);
}

std::wstring SambaServer::SharePath(std::string_view share) const {
    return L"//127.0.0.1/" + platform::Utf8ToWide(share);
}

fs::path SambaServer::ShareFolder(std::string_view share) const {
    for (const ShareSetting& setting : kShares) {
        if (setting.name == share)
            return m_root / "shares" / setting.folder;
    }
    return {};
}
