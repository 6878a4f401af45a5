#include "platform/CharWidth.h"
#include "platform/ControlSignals.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystemCalls.h"
#include "platform/NetworkShare.h"
#include "platform/SingleInstance.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace platform;

TEST(CharWidth, FullWidthAndHiraganaCountTwice) {
    EXPECT_EQ(TextDisplayWidth(L"abc"), 3);
    EXPECT_EQ(TextDisplayWidth(L"あいう"), 6);
    EXPECT_EQ(TextDisplayWidth(L"ＡＢ"), 4);
    EXPECT_EQ(TextDisplayWidth(L"ｱｲ"), 2); // half-width katakana
    EXPECT_EQ(TextDisplayWidth(L"写真a"), 5);
    EXPECT_EQ(TextDisplayWidth(L"𠮷野家"), 6) << "a character beyond 16 bits is one wide character";
}

TEST(FileSystemCalls, CreationAndModificationTimesOfAFile) {
    TempFolder folder;
    folder.WriteFile(L"x.log", "x");
    SystemTime created;
    ASSERT_TRUE(GetCreationTimeUtc(folder / L"x.log", created));
    EXPECT_GE(created.year, 2024);
    std::int64_t modified = 0;
    EXPECT_TRUE(GetModificationTime(folder / L"x.log", modified));
    EXPECT_GT(modified, 1700000000);
    EXPECT_FALSE(GetModificationTime(folder / L"missing", modified));
}

TEST(NetworkShare, LogonNamesTheShareInTheSystemsOwnFormNotTheFolder) {
    const std::wstring separator(1, kPathSeparator);
    const std::wstring share = separator + separator + L"pc01" + separator + L"注文";
    EXPECT_EQ(NetworkShareName(L"//pc01/注文/in/2024"), share);
    EXPECT_EQ(NetworkShareName(L"\\\\pc01\\注文\\"), share);
    EXPECT_EQ(NetworkShareName(L"//pc01//注文"), share);
    EXPECT_EQ(NetworkShareName(L"//pc01"), L"");
    EXPECT_EQ(NetworkShareName(L"C:/orders"), L"");
    EXPECT_EQ(AddNetworkConnection(L"//pc01/"), kNetworkBadPathOrNoNetwork);
}

TEST(DynamicLibrary, WindowsNamesResolveInTheProgramFolder) {
    DynamicLibrary settings;
    ASSERT_TRUE(settings.Load(L"QRM_UTIL.DLL"));
    EXPECT_NE(settings.Symbol("QRM_PlxIniOpen"), nullptr);
    DynamicLibrary missing;
    EXPECT_FALSE(missing.Load(L"NO_SUCH_LIBRARY.dll"));
    EXPECT_EQ(missing.Symbol("anything"), nullptr);
}

TEST(SingleInstanceGuard, SecondGuardOfTheSameNameIsNotFirst) {
    SingleInstanceGuard first(L"RelaydeskTestInstance");
    ASSERT_TRUE(first.IsFirstInstance());
    // A second guard in the same process stands for a second copy.
    SingleInstanceGuard second(L"RelaydeskTestInstance");
    EXPECT_FALSE(second.IsFirstInstance());
    EXPECT_FALSE(first.TakeRaiseRequest());
    second.AskRunningInstanceToRaise();
    EXPECT_TRUE(first.TakeRaiseRequest());
    EXPECT_FALSE(first.TakeRaiseRequest());

    // A later copy can name the holder and tell whether it takes a reload request.
    EXPECT_EQ(second.HolderProcessId(), getpid());
    EXPECT_NE(second.LockName().find(L"RelaydeskTestInstance"), std::wstring::npos);
    EXPECT_FALSE(second.HolderTakesReload()) << "the window does not";
    first.AnnounceReloadable();
    EXPECT_TRUE(second.HolderTakesReload());
    EXPECT_EQ(second.HolderProcessId(), getpid());
}

TEST(ControlSignals, AReloadRequestIsTakenOnceByTheProcessAsked) {
    InstallControlSignals();
    EXPECT_FALSE(TakeReloadRequest());
    ASSERT_TRUE(AskProcessToReload(getpid()));
    EXPECT_TRUE(TakeReloadRequest());
    EXPECT_FALSE(TakeReloadRequest()) << "one request, one reload";
    EXPECT_FALSE(AskProcessToReload(0));
}
