// The logging service object: what the program's writer calls reach, however it was created.

#include "LogService.h"

#include "LogFileWriter.h"

#include "platform/ILogWriter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

namespace {

// Statuses this service reports (0 is success).
enum ServiceStatus : std::int32_t {
    kFolderUnavailable = 0x4C01, ///< the log folder cannot be created
    kBusy = 0x4C02,              ///< another writer holds the file; try again
    kBadToken = 0x4C03,          ///< End with a token that Begin did not hand out
    kWriteFailed = 0x4C04,       ///< the record could not be written
    kNotOpen = 0x4C05,           ///< Write before a successful Open
};

// Held from Begin to End, two separate calls. A flag under a mutex rather than a timed
// mutex: ThreadSanitizer does not follow a timed mutex's waits and reports its unlock.
class FileGuard {
public:
    bool TryAcquireFor(std::chrono::milliseconds wait) {
        std::unique_lock lock(m_mutex);
        if (!m_released.wait_for(lock, wait, [this] { return !m_bHeld; }))
            return false;
        m_bHeld = true;
        return true;
    }

    void Release() {
        {
            std::lock_guard lock(m_mutex);
            m_bHeld = false;
        }
        m_released.notify_one();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_bHeld = false;
};

// Begin/End guard the files of the whole process: every writer object shares them.
FileGuard g_fileGuard;
std::atomic<std::int32_t> g_nextToken{1};
std::int32_t g_heldToken = 0;

class LogService final : public platform::ILogWriter {
public:
    void Release() override {
        if (--m_references == 0)
            delete this;
    }

    void Open(std::int32_t* status) override {
        m_opened = m_writer.Prepare();
        *status = m_opened ? 0 : kFolderUnavailable;
    }

    void Close(std::int32_t* status) override {
        m_opened = false;
        *status = 0;
    }

    void Begin(std::int32_t* token, std::int32_t* status) override {
        if (!g_fileGuard.TryAcquireFor(std::chrono::milliseconds(50))) {
            *status = kBusy;
            return;
        }
        g_heldToken = g_nextToken++;
        *token = g_heldToken;
        *status = 0;
    }

    void End(std::int32_t* token, std::int32_t* status) override {
        if (*token == 0 || *token != g_heldToken) {
            *status = kBadToken;
            return;
        }
        g_heldToken = 0;
        *token = 0;
        g_fileGuard.Release();
        *status = 0;
    }

    void Write(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
               std::int32_t minute, std::int32_t second, std::int32_t milliseconds,
               const wchar_t* applicationName, const wchar_t* line, std::int32_t* status) override {
        if (!m_opened) {
            *status = kNotOpen;
            return;
        }
        platform::SystemTime time;
        time.year = static_cast<std::uint16_t>(year);
        time.month = static_cast<std::uint16_t>(month);
        time.day = static_cast<std::uint16_t>(day);
        time.hour = static_cast<std::uint16_t>(hour);
        time.minute = static_cast<std::uint16_t>(minute);
        time.second = static_cast<std::uint16_t>(second);
        time.milliseconds = static_cast<std::uint16_t>(milliseconds);
        bool written =
            m_writer.Append(time, applicationName ? applicationName : L"", line ? line : L"");
        *status = written ? 0 : kWriteFailed;
        if (!written && g_heldToken != 0) {
            // The client calls no End after a failed write: release the guard here.
            g_heldToken = 0;
            g_fileGuard.Release();
        }
    }

private:
    std::atomic<int> m_references{1};
    LogFileWriter m_writer{LogFileWriter::DefaultFolder()};
    bool m_opened = false;
};

} // namespace

platform::ILogWriter* CreateLogService() {
    return new (std::nothrow) LogService();
}
