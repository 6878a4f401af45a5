#pragma once
/// The backend that reaches share paths over the network itself, with each share's logon:
/// the SMB client where the program has one (not on Windows, which opens share paths itself).

#include "fileutil/FileSystem.h"

#include <memory>

/// A new share client; null where the program was built without one.
std::unique_ptr<FileSystem> MakeShareClient();
