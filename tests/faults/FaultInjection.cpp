// A library preloaded into relaydesk-cli by the fault-injection tests. It counts the calls
// that change files below one folder (RELAYDESK_FAULT_UNDER) and makes the N-th of them
// (RELAYDESK_FAULT_AT) fail as a full disk, a device error or a refusal would
// (RELAYDESK_FAULT = ENOSPC, EIO or EACCES), or kills the process there (KILL). Calls on
// paths below RELAYDESK_FAULT_SPARE (the log folder) are neither counted nor failed. At exit
// it writes "calls=<counted> syncs=<fsync and syncfs calls>" to RELAYDESK_FAULT_REPORT.
//
// Interposed: the calls through which the program, its libraries and the image library
// create, write, rename, link, delete and sync files. Reads are not faulted: the faults of a
// shop (a full disk, a share that refuses or fails) show on writes.

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kTrackedDescriptors = 65536;

struct Settings {
    /// Only the controller counts: the library is inherited by the commands around it.
    bool active = false;
    long faultAt = 0;
    int error = 0; // 0: kill
    std::string under;
    std::string spare;
    std::string report;
};

// Never destroyed: the report at exit reads it after other statics are gone.
const Settings& Config() {
    static const Settings& settings = *[] {
        auto* created = new Settings;
        Settings& s = *created;
        s.active = std::strcmp(program_invocation_short_name, "relaydesk-cli") == 0;
        if (const char* at = std::getenv("RELAYDESK_FAULT_AT"))
            s.faultAt = std::atol(at);
        const char* kind = std::getenv("RELAYDESK_FAULT");
        const std::string name = kind ? kind : "";
        s.error = name == "ENOSPC" ? ENOSPC : name == "EIO" ? EIO : name == "EACCES" ? EACCES : 0;
        if (const char* under = std::getenv("RELAYDESK_FAULT_UNDER"))
            s.under = under;
        if (const char* spare = std::getenv("RELAYDESK_FAULT_SPARE"))
            s.spare = spare;
        if (const char* report = std::getenv("RELAYDESK_FAULT_REPORT"))
            s.report = report;
        return created;
    }();
    return settings;
}

std::atomic<long> g_calls{0};
std::atomic<long> g_syncs{0};
std::atomic<bool> g_tracked[kTrackedDescriptors];

template <typename Function> Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

// Whether a call on `path` (relative to `folder` when given and not absolute) is watched.
bool Watched(int folder, const char* path) {
    if (!path)
        return false;
    std::string full = path;
    if (path[0] != '/') {
        char buffer[4096];
        ssize_t length = -1;
        if (folder == AT_FDCWD || folder < 0) {
            if (getcwd(buffer, sizeof(buffer)))
                length = static_cast<ssize_t>(std::strlen(buffer));
        } else {
            const std::string link = "/proc/self/fd/" + std::to_string(folder);
            length = readlink(link.c_str(), buffer, sizeof(buffer) - 1);
        }
        if (length < 0)
            return false;
        full = std::string(buffer, static_cast<std::size_t>(length)) + "/" + path;
    }
    const Settings& settings = Config();
    return settings.active && StartsWith(full, settings.under) && !StartsWith(full, settings.spare);
}

bool TrackedDescriptor(int descriptor) {
    return descriptor >= 0 && descriptor < kTrackedDescriptors && g_tracked[descriptor].load();
}

void Track(int descriptor, bool tracked) {
    if (descriptor >= 0 && descriptor < kTrackedDescriptors)
        g_tracked[descriptor] = tracked;
}

// Counts a watched call; true when this one is to fail (errno set). Kills the process at
// the fault point when asked to.
bool Fault() {
    const long call = ++g_calls;
    const Settings& settings = Config();
    if (settings.faultAt == 0 || call != settings.faultAt)
        return false;
    if (settings.error == 0)
        kill(getpid(), SIGKILL);
    errno = settings.error;
    return true;
}

// A descriptor opened for writing below the watched folder, or one opened there to sync it.
bool TrackedOrWatchedFolder(int descriptor) {
    return TrackedDescriptor(descriptor) || Watched(descriptor, ".");
}

bool OpensForWriting(int flags) {
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
}

int OpenWatched(const char* name, int folder, const char* path, int flags, mode_t mode) {
    using OpenAt = int (*)(int, const char*, int, ...);
    static const auto next = Next<OpenAt>(name);
    const bool watched = OpensForWriting(flags) && Watched(folder, path);
    if (watched && Fault())
        return -1;
    const int descriptor = next(folder, path, flags, mode);
    Track(descriptor, watched);
    return descriptor;
}

mode_t ModeArgument(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

// The body of the open functions: their mode comes after the flags only when they create.
#define OPEN_WITH_MODE_ARGUMENT(name, folder)                                                      \
    va_list arguments;                                                                             \
    va_start(arguments, flags);                                                                    \
    const mode_t mode = ModeArgument(flags, arguments);                                            \
    va_end(arguments);                                                                             \
    return OpenWatched(name, folder, path, flags, mode)

/// Calls the C library's own `name` (the function `Interposer` stands in for), unless the
/// call is `watched` and the one to fail: then -1 with errno set.
template <auto Interposer, typename... Arguments>
auto Forward(const char* name, bool watched, Arguments... arguments) {
    static const auto next = Next<decltype(Interposer)>(name);
    using Result = decltype(next(arguments...));
    return watched && Fault() ? Result(-1) : next(arguments...);
}

/// Counts a sync of a written file or of the watched folder, then makes it.
template <auto Interposer> int Sync(const char* name, int descriptor) {
    if (TrackedOrWatchedFolder(descriptor))
        ++g_syncs;
    return Forward<Interposer>(name, false, descriptor);
}

struct Report {
    ~Report() {
        const Settings& settings = Config();
        if (!settings.active || settings.report.empty())
            return;
        if (FILE* file = std::fopen(settings.report.c_str(), "w")) {
            std::fprintf(file, "calls=%ld syncs=%ld\n", g_calls.load(), g_syncs.load());
            std::fclose(file);
        }
    }
} g_report;

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    OPEN_WITH_MODE_ARGUMENT("openat", AT_FDCWD);
}

int open64(const char* path, int flags, ...) {
    OPEN_WITH_MODE_ARGUMENT("openat64", AT_FDCWD);
}

int openat(int folder, const char* path, int flags, ...) {
    OPEN_WITH_MODE_ARGUMENT("openat", folder);
}

int openat64(int folder, const char* path, int flags, ...) {
    OPEN_WITH_MODE_ARGUMENT("openat64", folder);
}

int creat(const char* path, mode_t mode) {
    return OpenWatched("openat", AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}

FILE* fopen(const char* path, const char* mode) {
    static const auto next = Next<FILE* (*)(const char*, const char*)>("fopen");
    const bool watched = std::strpbrk(mode, "wa+") && Watched(AT_FDCWD, path);
    if (watched && Fault())
        return nullptr;
    FILE* file = next(path, mode);
    if (file)
        Track(fileno(file), watched);
    return file;
}

FILE* fopen64(const char* path, const char* mode) {
    return fopen(path, mode);
}

int close(int descriptor) {
    Track(descriptor, false);
    return Forward<&close>("close", false, descriptor);
}

ssize_t write(int descriptor, const void* data, size_t size) {
    return Forward<&write>("write", TrackedDescriptor(descriptor), descriptor, data, size);
}

ssize_t pwrite64(int descriptor, const void* data, size_t size, off_t offset) {
    return Forward<&pwrite64>("pwrite64", TrackedDescriptor(descriptor), descriptor, data, size,
                              offset);
}

ssize_t pwrite(int descriptor, const void* data, size_t size, off_t offset) {
    return pwrite64(descriptor, data, size, offset);
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t size,
                        unsigned flags) {
    return Forward<&copy_file_range>("copy_file_range", TrackedDescriptor(out), in, inOffset, out,
                                     outOffset, size, flags);
}

int fsync(int descriptor) {
    return Sync<&fsync>("fsync", descriptor);
}

int fdatasync(int descriptor) {
    return Sync<&fdatasync>("fdatasync", descriptor);
}

int syncfs(int descriptor) {
    return Sync<&syncfs>("syncfs", descriptor);
}

int rename(const char* from, const char* to) {
    return Forward<&rename>("rename", Watched(AT_FDCWD, from) || Watched(AT_FDCWD, to), from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    return Forward<&renameat>("renameat", Watched(fromFolder, from) || Watched(toFolder, to),
                              fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    return Forward<&renameat2>("renameat2", Watched(fromFolder, from) || Watched(toFolder, to),
                               fromFolder, from, toFolder, to, flags);
}

int mkdir(const char* path, mode_t mode) {
    return Forward<&mkdir>("mkdir", Watched(AT_FDCWD, path), path, mode);
}

int mkdirat(int folder, const char* path, mode_t mode) {
    return Forward<&mkdirat>("mkdirat", Watched(folder, path), folder, path, mode);
}

int link(const char* from, const char* to) {
    return Forward<&link>("link", Watched(AT_FDCWD, to), from, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    return Forward<&linkat>("linkat", Watched(toFolder, to), fromFolder, from, toFolder, to, flags);
}

int unlink(const char* path) {
    return Forward<&unlink>("unlink", Watched(AT_FDCWD, path), path);
}

int unlinkat(int folder, const char* path, int flags) {
    return Forward<&unlinkat>("unlinkat", Watched(folder, path), folder, path, flags);
}

int rmdir(const char* path) {
    return Forward<&rmdir>("rmdir", Watched(AT_FDCWD, path), path);
}

int remove(const char* path) {
    return Forward<&remove>("remove", Watched(AT_FDCWD, path), path);
}

} // extern "C"
