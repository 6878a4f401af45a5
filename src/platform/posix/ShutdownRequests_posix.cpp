#include "platform/ShutdownRequests.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <functional>
#include <iterator>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kWatchedSignals[] = {SIGTERM, SIGINT, SIGHUP};
/// Written by the watcher's destructor; a signal writes its own (non-zero) number.
constexpr unsigned char kStopByte = 0;

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the pipe's end");
// The write end of the watcher's pipe, the only thing a signal handler may safely use.
std::atomic<int> g_signalPipe{-1};

void OnSignal(int number) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(number);
    const int pipeEnd = g_signalPipe.load();
    if (pipeEnd >= 0 && write(pipeEnd, &byte, 1) < 0) {
        // A full pipe already holds a request: this one adds nothing.
    }
    errno = savedErrno;
}

} // namespace

struct ShutdownRequestWatcher::Impl {
    int pipeEnds[2] = {-1, -1};
    struct sigaction previous[std::size(kWatchedSignals)] = {};
    std::thread thread;
};

ShutdownRequestWatcher::ShutdownRequestWatcher(std::function<void()> onRequest)
    : m_impl(std::make_unique<Impl>()) {
    if (pipe2(m_impl->pipeEnds, O_CLOEXEC) != 0)
        return;
    const int readEnd = m_impl->pipeEnds[0];
    m_impl->thread = std::thread([readEnd, onRequest = std::move(onRequest)] {
        for (;;) {
            unsigned char byte = kStopByte;
            const ssize_t got = read(readEnd, &byte, 1);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || byte == kStopByte)
                return;
            onRequest();
        }
    });
    g_signalPipe = m_impl->pipeEnds[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Worker threads in the middle of a system call carry on as if nothing had happened.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kWatchedSignals); ++i)
        sigaction(kWatchedSignals[i], &action, &m_impl->previous[i]);
}

ShutdownRequestWatcher::~ShutdownRequestWatcher() {
    if (!m_impl->thread.joinable())
        return;
    for (std::size_t i = 0; i < std::size(kWatchedSignals); ++i)
        sigaction(kWatchedSignals[i], &m_impl->previous[i], nullptr);
    g_signalPipe = -1;
    const unsigned char stop = kStopByte;
    while (write(m_impl->pipeEnds[1], &stop, 1) < 0 && errno == EINTR) {
    }
    m_impl->thread.join();
    close(m_impl->pipeEnds[0]);
    close(m_impl->pipeEnds[1]);
}

} // namespace platform
