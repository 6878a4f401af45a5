#pragma once
/// Test-only makers of folder entries that hold no bytes to copy.

#include <string>

enum class SpecialFile { kFifo, kSocket };

/// Makes a fifo or a socket entry at `path`; false when the system refuses.
bool MakeSpecialFile(const std::wstring& path, SpecialFile kind);
