// Built where no SMB client library is found: share paths are reached through mounts only.
#include "fileutil/ShareClient.h"

std::unique_ptr<FileSystem> MakeShareClient() {
    return nullptr;
}
