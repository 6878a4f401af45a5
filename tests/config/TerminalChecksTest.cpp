// The terminal edit dialog's rules, shared with relaydesk-cli.

#include "config/TerminalChecks.h"

#include "MountTable.h"
#include "TempFolder.h"
#include "platform/ComputerName.h"
#include "platform/NetworkShare.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

TerminalEntry Entry(const std::wstring& name, const std::wstring& path,
                    const std::wstring& outPath) {
    TerminalEntry entry;
    entry.name = name;
    entry.path = path;
    entry.outName = L"出力";
    entry.outPath = outPath;
    return entry;
}

TEST(TerminalChecks, RefusesEqualFoldersBeforeAnyOtherRule) {
    EXPECT_EQ(CheckTerminalEntry(Entry(L"..", L"/srv/a", L"/srv/a"), {}),
              TerminalCheckResult::kSameFolders);
    // Compared exactly: a different letter case is another folder.
    EXPECT_EQ(CheckTerminalEntry(Entry(L"店頭", L"/srv/a", L"/srv/A"), {}),
              TerminalCheckResult::kAccepted);
}

TEST(TerminalChecks, CountsFullWidthCharactersTwice) {
    EXPECT_TRUE(FitsFieldLimit(L"ABCDEFGHIJKLMNO", kNameFieldLimit));
    EXPECT_FALSE(FitsFieldLimit(L"ABCDEFGHIJKLMNOP", kNameFieldLimit));
    EXPECT_TRUE(FitsFieldLimit(L"あいうえおかき", kNameFieldLimit));    // width 14
    EXPECT_FALSE(FitsFieldLimit(L"あいうえおかきく", kNameFieldLimit)); // width 16
    // The output name has no character limit, only its width.
    EXPECT_TRUE(FitsFieldLimit(std::wstring(20, L'\u0301'), kOutNameFieldLimit));
    TerminalEntry entry = Entry(L"あいうえおかきく", L"/in", L"/out");
    EXPECT_EQ(FindOverlongField(entry), L"name");
    entry.name = L"ok";
    EXPECT_EQ(FindOverlongField(entry), L"");
    EXPECT_TRUE(HasRequiredFields(entry));
    entry.outName.clear();
    EXPECT_FALSE(HasRequiredFields(entry));
}

TEST(TerminalChecks, NamesTheTerminalAfterTheComputerOfItsFolder) {
    EXPECT_EQ(TerminalNameFromFolder(L"\\\\PC01\\orders\\in"), L"PC01");
    EXPECT_EQ(TerminalNameFromFolder(L"//PC02/orders"), L"PC02");
    EXPECT_EQ(TerminalNameFromFolder(L"\\\\PC03"), L"");
    EXPECT_EQ(TerminalNameFromFolder(L"relative/folder"), L"");
    // A folder of this computer, whatever the system writes its paths like.
    const TempFolder local;
    EXPECT_EQ(TerminalNameFromFolder(local.Path()), platform::GetLocalComputerName().substr(0, 15));
}

TEST(TerminalChecks, NamesAFolderInsideAMountedShareAfterTheShareServer) {
    TempFolder folder;
    const std::string mnt = platform::WideToUtf8(folder / L"mnt");
    const MountTable mounts(
        folder, "/dev/sda1 / ext4 rw 0 0\n" +
                    MountTable::Cifs("//KIOSK7/orders", folder / L"mnt/受付", "rw,username=kiosk") +
                    "//pc02/spool/sub " + mnt +
                    "/with\\040blank smb3 rw 0 0\n"
                    "tmpfs " +
                    mnt +
                    "/受付/local tmpfs rw 0 0\n"
                    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n");
    const std::wstring computer = platform::GetLocalComputerName().substr(0, 15);
    const struct {
        std::wstring folder;
        std::wstring networkPath;
        std::wstring name;
    } cases[] = {
        {folder / L"mnt/受付", L"//KIOSK7/orders", L"KIOSK7"},
        {folder / L"mnt/受付/in/", L"//KIOSK7/orders/in", L"KIOSK7"},
        {folder / L"mnt/with blank/注文", L"//pc02/spool/sub/注文", L"pc02"},
        {L"/run/user/1000/gvfs/smb-share:server=pc03,share=orders/in", L"//pc03/orders/in",
         L"pc03"},
        // Beside a mount point with the same beginning, and a local mount inside a share.
        {folder / L"mnt/受付2", L"", computer},
        {folder / L"mnt/受付/local/in", L"", computer},
        {L"/srv/orders", L"", computer},
    };
    for (const auto& expected : cases) {
        EXPECT_EQ(platform::NetworkPathOfLocalFolder(expected.folder), expected.networkPath)
            << platform::WideToUtf8(expected.folder);
        EXPECT_EQ(TerminalNameFromFolder(expected.folder), expected.name)
            << platform::WideToUtf8(expected.folder);
    }
}

} // namespace
