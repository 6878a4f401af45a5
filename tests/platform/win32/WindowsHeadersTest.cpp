// Included first, as a Win32 file of the platform layer does: the program's own functions
// that share their names with windows.h macros must still be the ones called.
#include "platform/win32/WindowsHeaders.h"

#include "config/ProfileFunctions.h"
#include "fileutil/FileSystem.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(WindowsHeaders, ProgramFunctionsNamedLikeWindowsMacrosKeepTheirMeaning) {
    TempFolder folder;
    WriteProfileString(folder / L"composition.ini", L"Config", L"UniqueId", L"注文");
    EXPECT_EQ(ReadProfileString(folder / L"composition.ini", L"Config", L"UniqueId", L""), L"注文");
    ASSERT_TRUE(LocalFileSystem().CopyFile(folder / L"composition.ini", folder / L"copy.ini"));
    EXPECT_EQ(folder.ReadFile(L"copy.ini"), folder.ReadFile(L"composition.ini"));
}
