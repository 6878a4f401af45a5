#pragma once
/// relaydesk-cli run: the controller without its window, until a signal or, with
/// `untilIdle`, until the first complete polling pass that transferred no order.

#include <string>

/// Exit status: 0, or 1 when another controller already runs.
int RunController(const std::wstring& programFolder, bool untilIdle);
