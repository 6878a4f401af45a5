#pragma once
/// A mount table of a test's own, named by RELAYDESK_MOUNTS while it lives: the POSIX
/// stand-in for the shares a shop mounts.

#include "TempFolder.h"
#include "platform/ProcessEnvironment.h"
#include "platform/TextEncoding.h"

#include <string>

class MountTable {
public:
    /// Writes `lines` (as /proc/self/mounts gives them) into `folder` and names the file.
    MountTable(const TempFolder& folder, const std::string& lines) {
        folder.WriteFile(L"mounts", lines);
        platform::SetEnvironmentValue("RELAYDESK_MOUNTS", folder / L"mounts");
    }
    ~MountTable() { platform::SetEnvironmentValue("RELAYDESK_MOUNTS", L""); }
    MountTable(const MountTable&) = delete;
    MountTable& operator=(const MountTable&) = delete;

    /// The line of a cifs mount of `share` (as "//server/share") at `mountPoint`.
    static std::string Cifs(const std::string& share, const std::wstring& mountPoint,
                            const std::string& options = "rw") {
        return share + " " + platform::WideToUtf8(mountPoint) + " cifs " + options + " 0 0\n";
    }
};
