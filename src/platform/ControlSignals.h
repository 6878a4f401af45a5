#pragma once
/// The signals that control a running controller without a window: stop (SIGINT, SIGTERM;
/// Ctrl+C or Ctrl+Break on Windows) and re-read the terminal table (SIGHUP; on Windows an
/// event named after the process).

namespace platform {

/// Installs the handlers; from then on a stop or reload signal only sets a flag, and a
/// closed output pipe no longer ends the process (its writes fail instead).
void InstallControlSignals();

/// Whether a stop signal has arrived since InstallControlSignals.
bool IsStopRequested();

/// Whether a reload signal arrived since the last call.
bool TakeReloadRequest();

/// Asks process `processId` to re-read its terminal table; false when it cannot be asked.
bool AskProcessToReload(int processId);

} // namespace platform
