#include "fileutil/SmbErrors.h"

#include "platform/NetworkShare.h"

#include <cerrno>

// What the client library reports, as measured against Samba 4.17 (errno, server status):
//   wrong password, unknown user        EACCES        (NT_STATUS_LOGON_FAILURE)
//   user not admitted to the share      EACCES        (NT_STATUS_ACCESS_DENIED)
//   unknown share                       ENOENT        (NT_STATUS_BAD_NETWORK_NAME)
//   unknown server name                 EINVAL        (the name does not resolve)
//   server down, port closed            ECONNREFUSED
//   name taken (mkdir)                  EEXIST
// A server that goes away during a session and a full disk are classed by the errno families
// below (connection errors; ENOSPC, EFBIG); the tests check the outcome, unreachable and no
// space, against a stopped server and a size-limited one.

bool IsSmbConnectionError(int error) {
    switch (error) {
    case ECONNREFUSED:
    case ECONNRESET:
    case ECONNABORTED:
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETUNREACH:
    case ENETDOWN:
    case ENETRESET:
    case ENOTCONN:
    case EPIPE:
    case EINVAL: // the server name did not resolve
        return true;
    default:
        return false;
    }
}

FsResult FsResultFromSmbError(int error) {
    if (IsSmbConnectionError(error))
        return FsError::kUnreachable;
    switch (error) {
    case 0:
        return FsError::kNone;
    case ENOENT:
    case ENOTDIR:
        return FsError::kNotFound;
    case EEXIST:
    case ENOTEMPTY:
        return FsError::kExists;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return FsError::kNoAccess;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return FsError::kNoSpace;
    case ENAMETOOLONG:
        return FsError::kTooLong;
    case EIO:
        return FsError::kIo;
    default:
        return FsError::kFailed;
    }
}

int NetworkErrorFromSmbError(int error, bool logonRefused) {
    switch (error) {
    case 0:
        return platform::kNetworkOk;
    case EACCES:
    case EPERM:
        return logonRefused ? platform::kNetworkInvalidPassword : platform::kNetworkAccessDenied;
    case ENOENT:
    case EINVAL:
        return platform::kNetworkBadNetName;
    case ENETUNREACH:
    case ENETDOWN:
        return platform::kNetworkNoNetwork;
    default:
        return IsSmbConnectionError(error) ? platform::kNetworkBadPathOrNoNetwork
                                           : platform::kNetworkExtendedError;
    }
}
