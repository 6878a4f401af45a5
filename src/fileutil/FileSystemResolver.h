#pragma once
/// Chooses the backend that serves a path. Whoever runs the controller (the window, the
/// command line, a test) makes one at start-up and hands it to everything that touches a
/// terminal's folders; nothing in the core installs or looks up a backend on its own.

#include "fileutil/FileSystem.h"

#include <string_view>

class FileSystemResolver {
public:
    virtual ~FileSystemResolver() = default;

    /// The backend of `path`. Never fails: a path that no backend can reach gets one whose
    /// every operation fails with kUnreachable, so that a share path never falls through to
    /// a local folder of the same name.
    virtual FileSystem& For(std::wstring_view path) = 0;

    /// The backend that copies `from` to `to` (see FileSystem): the one of the network side.
    FileSystem& ForCopy(std::wstring_view from, std::wstring_view to) {
        return IsNetworkPath(from) ? For(from) : For(to);
    }
};

/// Serves this machine's folders only; network paths are unreachable. For the program's own
/// folders (program folder, logs, catalogues), which are never shares.
FileSystemResolver& LocalFolders();
