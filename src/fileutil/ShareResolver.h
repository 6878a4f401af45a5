#pragma once
/// The resolver of a running controller. A folder of this machine is served by the local
/// backend. A share path is served, in this order:
///  1. by the share mounted on this machine, when the mount table has one for it: the shop
///     mounted it on purpose, every program on the machine then sees the same files through
///     the same client, and the mount's own account applies;
///  2. by the SMB client, which logs on with the terminal's own account (no mount, no root);
///  3. where the program was built without an SMB client, by the mounted shares all the
///     same: every operation fails, and the logon tells why (no such mount, no mount table).
/// On Windows the system opens share paths itself, once the logon has connected the share.

#include "fileutil/FileSystemResolver.h"
#include "fileutil/MountedShareFileSystem.h"

#include <memory>

class ShareResolver final : public FileSystemResolver {
public:
    ShareResolver();
    ~ShareResolver() override;

    FileSystem& For(std::wstring_view path) override;

private:
    MountedShareFileSystem m_mounted;
    std::unique_ptr<FileSystem> m_client;
};
