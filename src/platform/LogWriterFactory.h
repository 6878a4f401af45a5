#pragma once
/// Object creation for the logging service, and the per-thread COM initialisation that the
/// program performs around it.

#include <string>
#include <string_view>

#include "platform/ILogWriter.h"

namespace platform {

/// Per-thread component-model initialisation; no-ops on POSIX.
void ComInitialize();
void ComUninitialize();

/// Creates the logging service object ({ECAFFA0F-CBE1-4753-A77C-394FF8A7AF08}); null when
/// it cannot be created (on POSIX: the library QRM_LOGSVC is missing from the program folder
/// or lacks its factory).
ILogWriter* CreateLogWriter();

/// A length-prefixed component-model string; null when memory is exhausted.
wchar_t* AllocComString(std::wstring_view text);
void FreeComString(wchar_t* text);

} // namespace platform
