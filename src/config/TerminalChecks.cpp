#include "config/TerminalChecks.h"

#include "platform/CharWidth.h"
#include "platform/ComputerName.h"
#include "platform/NetworkShare.h"

#include <algorithm>
#include <string_view>

namespace {

bool IsOnlyDots(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L'.'; });
}

bool HasReservedCharacter(const std::wstring& name) {
    return name.find_first_of(L"\\/:*?<>|") != std::wstring::npos;
}

/// The platform's computer name call is given a buffer of 16 characters.
constexpr std::size_t kComputerNameCharacters = 15;

} // namespace

bool FitsFieldLimit(const std::wstring& text, const TerminalFieldLimit& limit) {
    if (limit.maxCharacters != 0 && text.size() > limit.maxCharacters)
        return false;
    return platform::TextDisplayWidth(text) <= limit.maxDisplayWidth;
}

std::wstring FindOverlongField(const TerminalEntry& entry) {
    const struct {
        const wchar_t* key;
        const std::wstring& value;
        TerminalFieldLimit limit;
    } fields[] = {
        {L"path", entry.path, kFolderFieldLimit},
        {L"name", entry.name, kNameFieldLimit},
        {L"userId", entry.userId, kCredentialFieldLimit},
        {L"password", entry.password, kCredentialFieldLimit},
        {L"outPath", entry.outPath, kOutFolderFieldLimit},
        {L"outName", entry.outName, kOutNameFieldLimit},
        {L"outUserId", entry.outUserId, kOutCredentialFieldLimit},
        {L"outPassword", entry.outPassword, kOutCredentialFieldLimit},
    };
    for (const auto& field : fields) {
        if (!FitsFieldLimit(field.value, field.limit))
            return field.key;
    }
    return {};
}

bool HasRequiredFields(const TerminalEntry& entry) {
    return !entry.path.empty() && !entry.outPath.empty() && !entry.name.empty() &&
           !entry.outName.empty();
}

TerminalRule FindBrokenRule(const TerminalEntry& entry,
                            const std::vector<std::wstring>& namesInUse) {
    if (entry.path == entry.outPath)
        return TerminalRule::kSameFolders;
    if (IsOnlyDots(entry.path))
        return TerminalRule::kFolderOnlyDots;
    if (IsOnlyDots(entry.name))
        return TerminalRule::kNameOnlyDots;
    if (std::find(namesInUse.begin(), namesInUse.end(), entry.name) != namesInUse.end())
        return TerminalRule::kNameInUse;
    if (HasReservedCharacter(entry.name))
        return TerminalRule::kReservedCharacter;
    return TerminalRule::kNone;
}

TerminalCheckResult CheckTerminalEntry(const TerminalEntry& entry,
                                       const std::vector<std::wstring>& namesInUse) {
    switch (FindBrokenRule(entry, namesInUse)) {
    case TerminalRule::kNone:
        return TerminalCheckResult::kAccepted;
    case TerminalRule::kSameFolders:
        return TerminalCheckResult::kSameFolders;
    default:
        return TerminalCheckResult::kInvalidFolderOrName;
    }
}

std::wstring TerminalNameFromFolder(const std::wstring& folder) {
    // A folder inside a mounted share belongs to the share's server, not to this computer.
    const std::wstring network =
        platform::IsNetworkPath(folder) ? folder : platform::NetworkPathOfLocalFolder(folder);
    if (!network.empty()) {
        const std::size_t end = network.find_first_of(L"\\/", 2);
        if (end == std::wstring::npos)
            return {};
        return network.substr(2, end - 2);
    }
    if (platform::HasDriveComponent(folder))
        return platform::GetLocalComputerName().substr(0, kComputerNameCharacters);
    return {};
}
