#include "fileutil/DeferredDeletion.h"

#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

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
