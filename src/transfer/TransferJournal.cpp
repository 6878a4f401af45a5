#include "transfer/TransferJournal.h"

#include "config/ProfileDocument.h"
#include "fileutil/FileSystem.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/NameCase.h"
#include "logging/LogClient.h"
#include "platform/TextEncoding.h"

#include <cstdint>
#include <cwchar>
#include <optional>

namespace {

constexpr wchar_t kSection[] = L"TRANSFER";
constexpr wchar_t kOrderFolderKey[] = L"ORDER_FOLDER";
constexpr wchar_t kInputFolderKey[] = L"INPUT_FOLDER";
constexpr wchar_t kOutputFolderKey[] = L"OUTPUT_FOLDER";
constexpr wchar_t kOrderNumberKey[] = L"ORDER_NUMBER";
constexpr wchar_t kEntryPrefix[] = L"order-";
constexpr wchar_t kEntryExtension[] = L".ini";
constexpr int kLargestOrderNumber = 9999999;

// A stable name for an order folder (FNV-1a of its upper-case UTF-8 form): the same folder
// named in another case is the same order.
std::wstring EntryName(const std::wstring& orderFolder) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char byte : platform::WideToUtf8(UpperCaseName(orderFolder))) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    wchar_t digits[17];
    std::swprintf(digits, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return kEntryPrefix + std::wstring(digits) + kEntryExtension;
}

std::optional<OrderTicket> ReadEntry(const std::wstring& path) {
    ProfileDocument document;
    if (!document.Load(path))
        return std::nullopt;
    const auto orderFolder = document.Get(kSection, kOrderFolderKey);
    const auto outputFolder = document.Get(kSection, kOutputFolderKey);
    const auto orderNumber = document.Get(kSection, kOrderNumberKey);
    if (!orderFolder || !outputFolder || !orderNumber || orderFolder->empty() ||
        outputFolder->empty())
        return std::nullopt;
    OrderTicket ticket;
    ticket.orderFolder = *orderFolder;
    ticket.inputFolder = document.Get(kSection, kInputFolderKey).value_or(L"");
    ticket.outputFolder = *outputFolder;
    wchar_t* end = nullptr;
    const long number = std::wcstol(orderNumber->c_str(), &end, 10);
    if (end == orderNumber->c_str() || *end != L'\0' || number < 0 || number > kLargestOrderNumber)
        return std::nullopt;
    ticket.orderNumber = static_cast<int>(number);
    return ticket;
}

} // namespace

std::wstring TransferJournal::EntryPath(const std::wstring& orderFolder) const {
    return JoinPath(m_strFolder, EntryName(orderFolder));
}

FsResult TransferJournal::Record(const OrderTicket& ticket) const {
    // The journal folder is the program's own.
    if (!MakeFolderPath(m_strFolder))
        return FsError::kNoAccess;
    ProfileDocument document;
    document.SetEncoding(ProfileDocument::Encoding::kUtf8);
    document.Set(kSection, kOrderFolderKey, ticket.orderFolder);
    document.Set(kSection, kInputFolderKey, ticket.inputFolder);
    document.Set(kSection, kOutputFolderKey, ticket.outputFolder);
    document.Set(kSection, kOrderNumberKey, std::to_wstring(ticket.orderNumber));
    const std::wstring path = EntryPath(ticket.orderFolder);
    return LocalFolders().For(path).WriteFileAtomically(path, document.ToBytes());
}

std::vector<OrderTicket> TransferJournal::Pending() const {
    std::vector<OrderTicket> tickets;
    std::vector<FolderEntry> entries;
    if (!LocalFolders().For(m_strFolder).ListFolder(m_strFolder, entries))
        return tickets;
    for (const FolderEntry& entry : entries) {
        const std::wstring path = JoinPath(m_strFolder, entry.name);
        // A write cut short by the end of the process leaves its temporary file.
        if (!entry.isFolder && entry.name.starts_with(L'.')) {
            // One that stays is tried again at the next pass.
            (void)DeleteItem(LocalFolders(), path);
            continue;
        }
        if (entry.isFolder || !entry.name.starts_with(kEntryPrefix))
            continue;
        if (std::optional<OrderTicket> ticket = ReadEntry(path)) {
            tickets.push_back(std::move(*ticket));
            continue;
        }
        WriteLog(g_pLogClient, L"RecoverTransfer ERR unreadable journal %s", path);
        if (!DeleteItem(LocalFolders(), path))
            WriteLog(g_pLogClient, L"RecoverTransfer ERR delete %s", path);
    }
    return tickets;
}

bool TransferJournal::IsPending(const std::wstring& orderFolder) const {
    return ItemExists(LocalFolders(), EntryPath(orderFolder));
}

FsResult TransferJournal::Clear(const OrderTicket& ticket) const {
    const std::wstring path = EntryPath(ticket.orderFolder);
    if (!ItemExists(LocalFolders(), path))
        return true;
    return DeleteItem(LocalFolders(), path);
}
