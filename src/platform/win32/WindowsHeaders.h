#pragma once
// The one place that includes <windows.h>, with the settings every Win32 file expects.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

// windows.h maps these names to their ANSI or wide functions; the program has its own
// functions of the same names (FileSystem::CopyFile, WriteProfileString), which a file that
// includes both must still reach. The Win32 functions stay callable as CopyFileW and
// WriteProfileStringW.
#undef CopyFile
#undef WriteProfileString
