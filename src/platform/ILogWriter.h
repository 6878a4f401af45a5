#pragma once
/// The logging service's interface: every method but Release reports through a 32-bit status
/// out-parameter where 0 means success. Strings are handed as COM strings (AllocComString,
/// platform/LogWriterFactory.h).

#include <cstdint>

namespace platform {

class ILogWriter {
public:
    virtual void Release() = 0;
    virtual void Write(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                       std::int32_t minute, std::int32_t second, std::int32_t milliseconds,
                       const wchar_t* applicationName, const wchar_t* line,
                       std::int32_t* status) = 0;
    virtual void Begin(std::int32_t* token, std::int32_t* status) = 0;
    virtual void End(std::int32_t* token, std::int32_t* status) = 0;
    virtual void Open(std::int32_t* status) = 0;
    virtual void Close(std::int32_t* status) = 0;

protected:
    ~ILogWriter() = default;
};

/// Signature of the factory that the logging service library exports as
/// "RelaydeskCreateLogWriter": returns a new writer with one reference, or null.
using CreateLogWriterFunction = ILogWriter* (*)();

} // namespace platform
