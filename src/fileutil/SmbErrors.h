#pragma once
/// What the SMB client library's errno values mean for the file functions and for a logon.

#include "fileutil/FsResult.h"

/// The reason for a failed file operation on a share.
FsResult FsResultFromSmbError(int error);

/// True for the errors of a server or share that does not answer (or no longer exists).
bool IsSmbConnectionError(int error);

/// The logon error number (platform::NetworkError) for a failed connection to a share.
/// `logonRefused` tells an EACCES of a refused logon (wrong password, unknown user) from one
/// of a share that refuses a user it knows.
int NetworkErrorFromSmbError(int error, bool logonRefused);
