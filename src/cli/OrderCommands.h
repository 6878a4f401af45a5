#pragma once
/// relaydesk-cli orders list|delete|status|retry: the order view of a terminal's output
/// folder, and the orders waiting, transferred or failed at the terminals.

#include "cli/ControllerFolders.h"

#include <string>
#include <vector>

int ListOrders(const ControllerFolders& folders, const std::wstring& terminal);

/// Which finished orders to delete, and how.
struct OrderDeletion {
    std::vector<std::wstring> names; ///< order folder names; empty: by days
    std::wstring fromDay, toDay;     ///< "YYYY-MM-DD", both included, either order
    bool dryRun = false;             ///< name them, delete nothing
    bool confirmed = false;          ///< --yes: do not ask
};

/// Deletes the named orders, or those modified between the two days. Asks on standard input
/// unless confirmed; anything but "y" or "yes" deletes nothing. A name that is not a listed
/// order is an error.
int DeleteOrders(const ControllerFolders& folders, const std::wstring& terminal,
                 const OrderDeletion& deletion);

/// The r, e and q orders at the input folder of the terminal, or of every terminal, with
/// their modification times.
int ShowOrderStatus(const ControllerFolders& folders, const std::wstring& terminal);

/// Sends a failed order again: renames q to r at the terminal, so that the next polling pass
/// takes it. `order` is its folder name ("q0001234") or its number.
int RetryOrder(const ControllerFolders& folders, const std::wstring& terminal,
               const std::wstring& order);
