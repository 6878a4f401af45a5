#pragma once
/// The connection check of one terminal folder: logon to its share, then a listing test.

#include <string>

class FileSystemResolver;

/// 0 connected and listable; 1 access denied or another error; 2 extended network error or
/// no folder configured; 3 network name not found or not listable; 4 invalid password;
/// 5 no network or bad path; 6 no network. Indexes the seven status texts.
using ConnectionStatus = int;

constexpr ConnectionStatus kConnected = 0;
constexpr int kConnectionStatusCount = 7;

/// Error value of a probe that made no attempt (empty folder).
constexpr int kNoAttemptError = -3;

/// Probes `folder`, through the backend that `files` chooses, with the given credentials. A drive
/// path gets no logon; a network path is logged on with the credentials and, when they are refused,
/// once more with the current user's own logon. Safe on any thread.
ConnectionStatus CheckFolderConnection(FileSystemResolver& files, const std::wstring& folder,
                                       const std::wstring& userId, const std::wstring& password);

/// The status of a logon or listing error number.
ConnectionStatus StatusFromError(int error);
