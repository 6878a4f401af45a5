#pragma once
/// relaydesk-cli run: the controller without its window, until a stop signal or, with
/// `untilIdle`, until the first complete polling pass that transferred no order. SIGHUP
/// makes it take the terminal table from composition.ini again.

#include "cli/ConsoleView.h"

#include <string>

/// Exit status of `run`: besides 0 and 1 (another controller runs, a folder cannot be
/// written), an until-idle run whose orders did not all get delivered.
constexpr int kExitUndeliveredOrders = 3;

/// `home` holds composition.ini, TEMP, the journal and the settings; `programFolder` the
/// message catalogues.
int RunController(const std::wstring& home, const std::wstring& programFolder, bool untilIdle,
                  Verbosity verbosity);
