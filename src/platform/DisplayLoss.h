#pragma once
/// The loss of the window's display: the X server ended, or the connection to it broke
/// (the session ended, a remote display went away). The window toolkit cannot carry on
/// after it and would end the process on the spot.

namespace platform {

/// `onLost` runs on the thread whose display call failed. The display is gone: it must touch
/// no window. The process ends with its result as exit status when it returns.
/// On Windows the end of a session reaches the window as its end-session message instead,
/// and this does nothing.
void SetDisplayLostHandler(int (*onLost)());

} // namespace platform
