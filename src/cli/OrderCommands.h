#pragma once
/// relaydesk-cli orders list|delete: the order view of a terminal's output folder.

#include <string>
#include <vector>

int ListOrders(const std::wstring& programFolder, const std::wstring& terminal);
/// Deletes the named orders, or (with names empty) those modified between the two days
/// ("YYYY-MM-DD"), both included. A name that is not a listed order is an error.
int DeleteOrders(const std::wstring& programFolder, const std::wstring& terminal,
                 const std::vector<std::wstring>& names, const std::wstring& fromDay,
                 const std::wstring& toDay);
