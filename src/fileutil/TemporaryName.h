#pragma once
/// Names for files being written beside their final name.

#include <string>

/// A fresh name for a file written beside its final name and renamed onto it when complete.
/// It begins with a dot, so folder copies skip one left behind by a crash, and it is short, so
/// long final names still fit.
std::wstring TemporaryFileName();
