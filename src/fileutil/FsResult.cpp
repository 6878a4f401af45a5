#include "fileutil/FsResult.h"

FsResult FsResult::FromErrorCode(const std::error_code& code) {
    if (!code)
        return FsError::kNone;
    using std::errc;
    const auto is = [&code](errc value) { return code == std::make_error_condition(value); };
    if (is(errc::no_such_file_or_directory) || is(errc::not_a_directory))
        return FsError::kNotFound;
    if (is(errc::file_exists) || is(errc::directory_not_empty))
        return FsError::kExists;
    if (is(errc::permission_denied) || is(errc::operation_not_permitted) ||
        is(errc::read_only_file_system) || is(errc::text_file_busy) ||
        is(errc::device_or_resource_busy))
        return FsError::kNoAccess;
    if (is(errc::no_space_on_device) || is(errc::file_too_large))
        return FsError::kNoSpace;
    if (is(errc::host_unreachable) || is(errc::network_unreachable) || is(errc::network_down) ||
        is(errc::connection_reset) || is(errc::connection_aborted) || is(errc::timed_out) ||
        is(errc::no_such_device) || is(errc::no_such_device_or_address))
        return FsError::kUnreachable;
    if (is(errc::filename_too_long))
        return FsError::kTooLong;
    if (is(errc::io_error))
        return FsError::kIo;
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
