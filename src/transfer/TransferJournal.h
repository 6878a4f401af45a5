#pragma once
/// Remembers, in the program folder, every order whose finished order has been built but whose
/// two renames (the terminal's r to e, the output folder's p to o) are not both done, so that a
/// transfer cut short by the end of the process (killed, power cut) or by a share that went
/// away between the renames is completed later instead of being stranded or delivered twice.
///
/// One entry per order, each its own small file: an order whose share is unreachable waits
/// for it without holding up the others. An entry is written only once the finished order p
/// and the order's merged backup (CORRECT_BK~new) stand complete, so its presence says that
/// completing the renames delivers the whole order.

#include "fileutil/FsResult.h"
#include "transfer/OrderTicket.h"

#include <string>
#include <vector>

/// Folder of the journal entries beside composition.ini.
inline constexpr wchar_t kTransferJournalFolderName[] = L"JOURNAL";

class TransferJournal {
public:
    explicit TransferJournal(std::wstring folder) : m_strFolder(std::move(folder)) {}

    /// Writes the order's entry as one step, on the device before this returns.
    FsResult Record(const OrderTicket& ticket) const;
    /// Every recorded order. An entry that cannot be read is removed and logged.
    std::vector<OrderTicket> Pending() const;
    /// Whether the order (its r folder, named in any case) has an entry.
    bool IsPending(const std::wstring& orderFolder) const;
    /// Succeeds when the order has no entry left.
    FsResult Clear(const OrderTicket& ticket) const;

    /// The file that holds the entry of the order in `orderFolder`.
    std::wstring EntryPath(const std::wstring& orderFolder) const;

private:
    std::wstring m_strFolder;
};
