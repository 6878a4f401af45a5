#include "fileutil/ShareResolver.h"

#include "fileutil/ShareClient.h"
#include "platform/FileSystemCalls.h"

ShareResolver::ShareResolver() : m_client(MakeShareClient()) {}

ShareResolver::~ShareResolver() = default;

FileSystem& ShareResolver::For(std::wstring_view path) {
    if (!IsNetworkPath(path) || platform::kPathSeparator == L'\\')
        return LocalFileSystem();
    // Without a client, the mounted shares answer for every share path: their logon tells
    // why a share is out of reach, and every file operation fails.
    if (m_client && !m_mounted.Serves(path))
        return *m_client;
    return m_mounted;
}
