// The entry point that the program's object creation looks up when it loads this library.

#include "LogService.h"

#include "platform/SharedLibraryExport.h"

RELAYDESK_EXPORT platform::ILogWriter* RelaydeskCreateLogWriter() {
    return CreateLogService();
}
