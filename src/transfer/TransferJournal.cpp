#include "transfer/TransferJournal.h"

#include "config/ProfileDocument.h"
#include "fileutil/FileUtil.h"

namespace {

constexpr wchar_t kSection[] = L"TRANSFER";
constexpr wchar_t kOrderFolderKey[] = L"ORDER_FOLDER";
constexpr wchar_t kInputFolderKey[] = L"INPUT_FOLDER";
constexpr wchar_t kOutputFolderKey[] = L"OUTPUT_FOLDER";
constexpr wchar_t kOrderNumberKey[] = L"ORDER_NUMBER";

} // namespace

bool TransferJournal::Record(const OrderTicket& ticket) const {
    ProfileDocument document;
    document.SetEncoding(ProfileDocument::Encoding::kUtf8);
    document.Set(kSection, kOrderFolderKey, ticket.orderFolder);
    document.Set(kSection, kInputFolderKey, ticket.inputFolder);
    document.Set(kSection, kOutputFolderKey, ticket.outputFolder);
    document.Set(kSection, kOrderNumberKey, std::to_wstring(ticket.orderNumber));
    return document.Save(m_strPath);
}

std::optional<OrderTicket> TransferJournal::Read() const {
    ProfileDocument document;
    if (!document.Load(m_strPath))
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
    try {
        ticket.orderNumber = std::stoi(*orderNumber);
    } catch (...) {
        return std::nullopt;
    }
    return ticket;
}

bool TransferJournal::Exists() const {
    return ItemExists(m_strPath);
}

bool TransferJournal::Clear() const {
    return !ItemExists(m_strPath) || DeleteItem(m_strPath);
}
