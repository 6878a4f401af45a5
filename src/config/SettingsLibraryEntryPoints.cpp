#include "config/SettingsLibraryEntryPoints.h"

SettingsLibraryEntryPoints ResolveSettingsEntryPoints(const platform::DynamicLibrary& library) {
    SettingsLibraryEntryPoints entry;
    entry.open = library.Resolve<QrmPlxIniOpenFn>("QRM_PlxIniOpen");
    entry.openForWrite = library.Resolve<QrmPlxIniOpenForWriteFn>("QRM_PlxIniOpenForWrite");
    entry.flush = library.Resolve<QrmPlxIniFlushFn>("QRM_PlxIniFlush");
    entry.terminate = library.Resolve<QrmPlxIniTerminateFn>("QRM_PlxIniTerminate");
    entry.get = library.Resolve<QrmPlxIniGetFn>("QRM_PlxIniGet");
    entry.getInt = library.Resolve<QrmPlxIniGetIntFn>("QRM_PlxIniGetInt");
    entry.getDouble = library.Resolve<QrmPlxIniGetDoubleFn>("QRM_PlxIniGetDouble");
    entry.getString = library.Resolve<QrmPlxIniGetStringFn>("QRM_PlxIniGetString");
    entry.getBinary = library.Resolve<QrmPlxIniGetBinaryFn>("QRM_PlxIniGetBinary");
    entry.set = library.Resolve<QrmPlxIniSetFn>("QRM_PlxIniSet");
    entry.setInt = library.Resolve<QrmPlxIniSetIntFn>("QRM_PlxIniSetInt");
    entry.setDouble = library.Resolve<QrmPlxIniSetDoubleFn>("QRM_PlxIniSetDouble");
    entry.setString = library.Resolve<QrmPlxIniSetStringFn>("QRM_PlxIniSetString");
    entry.setBinary = library.Resolve<QrmPlxIniSetBinaryFn>("QRM_PlxIniSetBinary");
    entry.deleteSection = library.Resolve<QrmPlxIniDeleteSectionFn>("QRM_PlxIniDeleteSection");
    entry.deleteKey = library.Resolve<QrmPlxIniDeleteKeyFn>("QRM_PlxIniDeleteKey");
    return entry;
}
