#include "platform/SharePath.h"

#include "platform/FileSystemCalls.h"
#include "platform/NetworkShare.h"

#include <vector>

namespace platform {

namespace {

bool IsSeparator(wchar_t character) {
    return character == L'/' || character == L'\\';
}

} // namespace

bool IsNetworkPath(const std::wstring& path) {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

std::optional<SharePath> SplitSharePath(const std::wstring& path) {
    if (!IsNetworkPath(path))
        return std::nullopt;
    std::vector<std::wstring> parts;
    std::wstring current;
    for (size_t i = 2; i < path.size(); ++i) {
        if (IsSeparator(path[i])) {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += path[i];
        }
    }
    if (!current.empty())
        parts.push_back(current);
    if (parts.size() < 2)
        return std::nullopt;
    SharePath result{parts[0], parts[1], {}};
    for (size_t i = 2; i < parts.size(); ++i) {
        if (!result.rest.empty())
            result.rest += L'/';
        result.rest += parts[i];
    }
    return result;
}

std::wstring NetworkShareName(const std::wstring& path) {
    const std::optional<SharePath> share = SplitSharePath(path);
    if (!share)
        return {};
    return std::wstring(2, kPathSeparator) + share->server + kPathSeparator + share->share;
}

} // namespace platform
