#pragma once
/// Remembers, in the program folder, the order whose finished order has been built but not
/// yet released, so that a transfer cut short by the end of the process (killed, power cut)
/// is completed at the next start instead of being stranded.

#include "transfer/OrderTicket.h"

#include <optional>
#include <string>

/// File name of the journal beside composition.ini.
inline constexpr wchar_t kTransferJournalName[] = L"TransferJournal.ini";

class TransferJournal {
public:
    explicit TransferJournal(std::wstring path) : m_strPath(std::move(path)) {}

    /// Writes the ticket as one step (the old journal or the new one, never half of it).
    bool Record(const OrderTicket& ticket) const;
    /// The recorded ticket; nullopt when there is none or it is unreadable.
    std::optional<OrderTicket> Read() const;
    bool Exists() const;
    /// True when no journal is left.
    bool Clear() const;

private:
    std::wstring m_strPath;
};
