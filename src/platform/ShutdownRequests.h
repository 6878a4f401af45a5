#pragma once
/// Requests from outside to end the program: a terminate (SIGTERM, from the service manager
/// or the session's end), an interrupt (SIGINT) and the hangup that the end of a login
/// session sends (SIGHUP); on Windows the console's close, logoff and shutdown events.

#include <functional>
#include <memory>

namespace platform {

/// While it exists, such a request no longer ends the process at once: `onRequest` is called
/// for each one on a thread of the watcher's own, so it must only schedule the shutdown.
/// One watcher at a time; its destruction restores the default handling.
class ShutdownRequestWatcher {
public:
    explicit ShutdownRequestWatcher(std::function<void()> onRequest);
    ~ShutdownRequestWatcher();
    ShutdownRequestWatcher(const ShutdownRequestWatcher&) = delete;
    ShutdownRequestWatcher& operator=(const ShutdownRequestWatcher&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform
