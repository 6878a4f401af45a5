#include "fileutil/FsResult.h"

#include "platform/FileSystemCalls.h"

namespace {

struct ReasonOfCondition {
    std::errc condition;
    FsError reason;
};

constexpr ReasonOfCondition kReasons[] = {
    {std::errc::no_such_file_or_directory, FsError::kNotFound},
    {std::errc::not_a_directory, FsError::kNotFound},
    {std::errc::file_exists, FsError::kExists},
    {std::errc::directory_not_empty, FsError::kExists},
    {std::errc::permission_denied, FsError::kNoAccess},
    {std::errc::operation_not_permitted, FsError::kNoAccess},
    {std::errc::read_only_file_system, FsError::kNoAccess},
    {std::errc::text_file_busy, FsError::kNoAccess},
    {std::errc::device_or_resource_busy, FsError::kNoAccess},
    {std::errc::no_space_on_device, FsError::kNoSpace},
    {std::errc::file_too_large, FsError::kNoSpace},
    {std::errc::host_unreachable, FsError::kUnreachable},
    {std::errc::network_unreachable, FsError::kUnreachable},
    {std::errc::network_down, FsError::kUnreachable},
    {std::errc::connection_reset, FsError::kUnreachable},
    {std::errc::connection_aborted, FsError::kUnreachable},
    {std::errc::connection_refused, FsError::kUnreachable},
    {std::errc::not_connected, FsError::kUnreachable},
    {std::errc::timed_out, FsError::kUnreachable},
    {std::errc::no_such_device, FsError::kUnreachable},
    {std::errc::no_such_device_or_address, FsError::kUnreachable},
    {std::errc::filename_too_long, FsError::kTooLong},
    {std::errc::io_error, FsError::kIo},
};

} // namespace

FsResult FsResult::FromErrorCode(const std::error_code& systemCode) {
    if (!systemCode)
        return FsError::kNone;
    const std::error_code code = platform::PortableErrorCode(systemCode);
    for (const ReasonOfCondition& known : kReasons) {
        if (code == std::make_error_condition(known.condition))
            return known.reason;
    }
    return FsError::kFailed;
}

const wchar_t* FsResult::Reason() const {
    switch (m_error) {
    case FsError::kNone:
        return L"ok";
    case FsError::kNotFound:
        return L"not found";
    case FsError::kExists:
        return L"name taken";
    case FsError::kNoAccess:
        return L"no access";
    case FsError::kNoSpace:
        return L"no space";
    case FsError::kUnreachable:
        return L"unreachable";
    case FsError::kTooLong:
        return L"path too long";
    case FsError::kIo:
        return L"i/o error";
    case FsError::kFailed:
        break;
    }
    return L"failed";
}
