#include "fileutil/FileSystem.h"

#include "platform/NetworkShare.h"

bool IsNetworkPath(std::wstring_view path) {
    return platform::IsNetworkPath(std::wstring(path));
}

int FileSystem::LogOn(const std::wstring& folder, const std::wstring& userId,
                      const std::wstring& password) {
    return userId.empty() ? platform::AddNetworkConnection(folder)
                          : platform::AddNetworkConnection(folder, userId, password);
}
