#include "transfer/JobFile.h"

#include "fileutil/FileSystemResolver.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHeader = "[HDR]\r\nGEN REV = 01.10\r\n";
const std::string kJob1 = "[JOB]\r\nPRT PID = 001\r\nIMG SRC = \"../IMAGE/cmb0001.jpg\"\r\n";

std::string CutJobs(const TempFolder& folder, const std::string& source, int jobCount) {
    folder.WriteFile(L"COMPOSITION_INFO/AUTPRINT.MRK", source);
    folder.MakeFolder(L"MISC");
    JobFile jobFile;
    jobFile.SetPath(folder / L"COMPOSITION_INFO/AUTPRINT.MRK");
    EXPECT_TRUE(jobFile.CopyJobs(LocalFolders(), jobCount, folder / L"MISC/AUTPRINT.MRK"));
    return folder.ReadFile(L"MISC/AUTPRINT.MRK");
}

} // namespace

TEST(JobFile, OnlyAnExactJobLineOpensAnEntry) {
    for (const std::string notAJob : {" [JOB]", "[JOB] ", "\t[JOB]", "[job]", "[JOB"}) {
        TempFolder folder;
        const std::string source = "[HDR]\r\n[JOB]\r\nA\r\n" + notAJob + "\r\nB\r\n[JOB]\r\nC\r\n";
        EXPECT_EQ(CutJobs(folder, source, 1), "[HDR]\r\n[JOB]\r\nA\r\n" + notAJob + "\r\nB\r\n")
            << '"' << notAJob << '"';
    }
}

TEST(JobFile, WritesCarriageReturnLineFeedWhateverTheSourceUsed) {
    TempFolder folder;
    // Bare LF, mixed line ends, Shift-JIS text ("写真") and an unterminated last line.
    EXPECT_EQ(CutJobs(folder, "[HDR]\nUSR = \x8e\xca\x90\x5e\n[JOB]\r\n\nA\n[JOB]\nB", 5),
              "[HDR]\r\nUSR = \x8e\xca\x90\x5e\r\n[JOB]\r\n\r\nA\r\n[JOB]\r\nB\r\n");
    EXPECT_EQ(CutJobs(folder, "[HDR]\n[JOB]\nA\n[JOB]", 1), "[HDR]\r\n[JOB]\r\nA\r\n");
}

TEST(JobFile, UnusablePathsChangeNothing) {
    TempFolder folder;
    folder.WriteFile(L"AUTPRINT.MRK", kHeader + kJob1);
    JobFile missing;
    missing.SetPath(folder / L"注文/AUTPRINT.MRK");
    EXPECT_FALSE(missing.CopyJobs(LocalFolders(), 1, folder / L"copy.MRK"));
    EXPECT_FALSE(folder.Exists(L"copy.MRK"));

    JobFile jobFile;
    jobFile.SetPath(folder / L"AUTPRINT.MRK");
    EXPECT_FALSE(jobFile.CopyJobs(LocalFolders(), 0, folder / L"存在しない/AUTPRINT.MRK"));
    EXPECT_EQ(folder.ReadFile(L"AUTPRINT.MRK"), kHeader + kJob1);
}
