#pragma once
/// Scheduling priority of the calling thread.

namespace platform {

/// Puts the calling thread at the lowest normal priority, where background work (order
/// transfer, composition) leaves the window and the rest of the machine responsive without
/// being starved. Best effort: a thread that cannot be lowered keeps running as it was.
///
/// Windows: THREAD_PRIORITY_LOWEST. Linux: the thread's nice value is raised to
/// kLowestNormalNiceRaise above the process's main thread (never lowered, never to the idle
/// class); threads created by it afterwards start with its nice value.
void LowerCurrentThreadPriority();

/// Windows' lowest normal level lies two of the seven steps from normal down towards idle;
/// the same fraction of nice's 19 steps above normal is 5.
inline constexpr int kLowestNormalNiceRaise = 5;

} // namespace platform
