// Connection checks of terminal folders: drive paths, network paths through the mount table,
// empty folders, and the status of every error number.

#include "transfer/ConnectionProbe.h"

#include "fileutil/FileUtil.h"
#include "fileutil/ShareResolver.h"
#include "platform/NetworkShare.h"
#include "platform/TextEncoding.h"

#include "MountTable.h"
#include "TempFolder.h"
#include "platform/ProcessEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectionProbe, MapsEveryErrorNumberToItsStatus) {
    const struct {
        int error;
        ConnectionStatus status;
    } cases[] = {{0, 0},    {5, 1},  {1208, 2}, {kNoAttemptError, 2}, {67, 3}, {86, 4}, {1203, 5},
                 {1222, 6}, {53, 1}, {1326, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(StatusFromError(c.error), c.status) << c.error;
}

TEST(ConnectionProbe, DrivePathIsConnectedWhenItCanBeListed) {
    TempFolder folder;
    folder.MakeFolder(L"端末/input");
    EXPECT_EQ(CheckFolderConnection(LocalFolders(), folder / L"端末/input", L"user", L"wrong"), 0);
    EXPECT_EQ(CheckFolderConnection(LocalFolders(), folder / L"端末/missing", L"", L""), 3);
    EXPECT_EQ(CheckFolderConnection(LocalFolders(), L"", L"", L""), 2);
}

/// A mount table of its own for the network paths; blanks in mount points are escaped in it.
class MountedShares : public ::testing::Test {
protected:
    MountedShares() {
        folder.MakeFolder(L"mnt/pc01-orders/入力");
        folder.MakeFolder(L"mnt/with blank");
    }

    TempFolder folder;
    const MountTable mounts{folder,
                            "proc /proc proc rw 0 0\n" +
                                MountTable::Cifs("//PC01/orders", folder / L"mnt/pc01-orders",
                                                 "rw,username=kiosk,vers=3.0") +
                                "//pc02/spool " + platform::WideToUtf8(folder / L"mnt/with") +
                                "\\040blank smb3 rw 0 0\n"};
    ShareResolver files;
};

TEST_F(MountedShares, NetworkPathIsServedByItsMountedShare) {
    EXPECT_EQ(CheckFolderConnection(files, L"//pc01/ORDERS/入力", L"", L""), 0);
    EXPECT_EQ(CheckFolderConnection(files, L"\\\\PC01\\orders\\入力", L"kiosk", L"secret"), 0);
    EXPECT_EQ(CheckFolderConnection(files, L"//pc02/spool", L"", L""), 0);
    EXPECT_EQ(platform::ResolveNetworkPath(L"//PC01/orders/入力/r0000001"),
              (folder / L"mnt/pc01-orders/入力") + L"/r0000001");
    // The file functions reach the share's folders through the network path.
    EXPECT_TRUE(MakeFolder(files, L"//PC01/orders/入力/r0000001"));
    EXPECT_TRUE(PathExists(LocalFolders(), folder / L"mnt/pc01-orders/入力/r0000001"));
}

TEST_F(MountedShares, CredentialsOfAnotherAccountFallBackToTheOwnLogon) {
    EXPECT_EQ(platform::AddNetworkConnection(L"//PC01/orders", L"other", L"pw"),
              platform::kNetworkInvalidPassword);
    EXPECT_EQ(CheckFolderConnection(files, L"//PC01/orders/入力", L"other", L"pw"), 0);
}

TEST_F(MountedShares, UnreachableSharesGiveTheirStatus) {
    EXPECT_EQ(CheckFolderConnection(files, L"//PC09/orders/入力", L"", L""), 3); // not mounted
    EXPECT_EQ(CheckFolderConnection(files, L"//PC01/orders/無い", L"", L""), 3); // missing folder
    EXPECT_EQ(CheckFolderConnection(files, L"//PC01", L"", L""), 5);             // no share named
    EXPECT_EQ(CheckFolderConnection(files, L"relative/folder", L"", L""),
              5); // neither kind of path
    platform::SetEnvironmentValue("RELAYDESK_MOUNTS", folder / L"no-table");
    // Without a mount table the share client answers: a server name that does not resolve
    // is a network name not found.
    EXPECT_EQ(CheckFolderConnection(files, L"//PC01/orders/入力", L"", L""), 3);
}

} // namespace
