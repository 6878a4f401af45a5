#pragma once
/// The logging service object, offered to the program by each platform's entry point.

#include "platform/ILogWriter.h"

/// A new writer with one reference (the caller releases it); null when memory is exhausted.
/// Writers share the process's files and their Begin/End guard.
platform::ILogWriter* CreateLogService();
