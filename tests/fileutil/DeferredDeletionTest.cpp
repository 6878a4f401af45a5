#include "fileutil/DeferredDeletion.h"

#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

TEST(DeferredDeletion, FreesTheNameAtOnceAndLeavesNothingBehind) {
    TempFolder folder;
    for (int picture = 1; picture <= 40; ++picture)
        folder.WriteFile(L"TEMP/CORRECT/IMG-" + std::to_wstring(picture) + L".jpg", "picture");
    folder.WriteFile(L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini", "[ZO_INFO]\r\n");
    {
        DeferredDeletion deletion(LocalFolders());
        ASSERT_TRUE(deletion.Start(folder / L"TEMP"));
        EXPECT_FALSE(folder.Exists(L"TEMP"));
        // The new folder can be made while the old one is still being deleted.
        folder.WriteFile(L"TEMP/CORRECT/IMG-1.jpg", "next order");
        EXPECT_TRUE(deletion.Finish());
    }
    EXPECT_FALSE(folder.Exists(L"TEMP~deleting"));
    EXPECT_EQ(folder.ReadFile(L"TEMP/CORRECT/IMG-1.jpg"), "next order");
    EXPECT_FALSE(folder.Exists(L"TEMP/COMPOSITION_INFO"));
}

TEST(DeferredDeletion, RemovesAnInterruptedDeletionFirstAndAcceptsNothingToDelete) {
    TempFolder folder;
    folder.WriteFile(L"TEMP~deleting/CORRECT/IMG-1.jpg", "left by a crash");
    folder.WriteFile(L"TEMP/CORRECT/IMG-2.jpg", "last order");
    DeferredDeletion deletion(LocalFolders());
    ASSERT_TRUE(deletion.Start(folder / L"TEMP"));
    EXPECT_TRUE(deletion.Finish());
    EXPECT_FALSE(folder.Exists(L"TEMP") || folder.Exists(L"TEMP~deleting"));

    // A second start finds nothing; the object can be used again, and a missing folder is
    // no failure.
    EXPECT_TRUE(deletion.Start(folder / L"TEMP"));
    EXPECT_TRUE(deletion.Start(folder / L"missing/TEMP"));
    EXPECT_TRUE(deletion.Finish());
    // A crash may also come after the folder was set aside and before a new one was made.
    folder.WriteFile(L"CORRECT_BK~deleting/IMG-1.jpg", "left by a crash");
    EXPECT_TRUE(deletion.Start(folder / L"CORRECT_BK"));
    EXPECT_FALSE(folder.Exists(L"CORRECT_BK~deleting"));
}
