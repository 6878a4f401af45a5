#include "SpecialFiles.h"

#include "platform/FileSystemCalls.h"

#include <sys/stat.h>

bool MakeSpecialFile(const std::wstring& path, SpecialFile kind) {
    const std::string native = platform::ToFsPath(path).string();
    // A socket entry needs no listener: the name alone is what a folder walk meets.
    const mode_t type = kind == SpecialFile::kFifo ? S_IFIFO : S_IFSOCK;
    return mknod(native.c_str(), type | 0644, 0) == 0;
}
