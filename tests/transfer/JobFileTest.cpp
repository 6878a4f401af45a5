#include "transfer/JobFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A print-order file with two header lines and three jobs, written with CR LF.
const std::string kThreeJobs = "[HDR]\r\nGEN REV = 01.10\r\n"
                               "[JOB]\r\nPRT PID = 001\r\nIMG SRC = \"../IMAGE/cmb0001.jpg\"\r\n"
                               "[JOB]\r\nPRT PID = 002\r\nIMG SRC = \"../IMAGE/cmb0002.jpg\"\r\n"
                               "[JOB]\r\nPRT PID = 003\r\nIMG SRC = \"../IMAGE/cmb0003.jpg\"\r\n";

std::string CutJobs(const TempFolder& folder, const std::string& source, int jobCount) {
    folder.WriteFile(L"COMPOSITION_INFO/AUTPRINT.MRK", source);
    JobFile jobFile;
    jobFile.SetPath(folder / L"COMPOSITION_INFO/AUTPRINT.MRK");
    folder.MakeFolder(L"MISC");
    EXPECT_TRUE(jobFile.CopyJobs(jobCount, folder / L"MISC/AUTPRINT.MRK"));
    return folder.ReadFile(L"MISC/AUTPRINT.MRK");
}

} // namespace

TEST(JobFile, KeepsHeaderAndFirstJobs) {
    TempFolder folder;
    EXPECT_EQ(CutJobs(folder, kThreeJobs, 2),
              "[HDR]\r\nGEN REV = 01.10\r\n"
              "[JOB]\r\nPRT PID = 001\r\nIMG SRC = \"../IMAGE/cmb0001.jpg\"\r\n"
              "[JOB]\r\nPRT PID = 002\r\nIMG SRC = \"../IMAGE/cmb0002.jpg\"\r\n");
}

TEST(JobFile, CopiesWholeFileWhenItHoldsNoMoreJobsThanAsked) {
    for (int jobCount : {3, 4, 1000000}) {
        TempFolder folder;
        EXPECT_EQ(CutJobs(folder, kThreeJobs, jobCount), kThreeJobs) << jobCount;
    }
}

TEST(JobFile, KeepsOnlyHeaderForNoOrNegativeJobCount) {
    for (int jobCount : {0, -1, -2}) {
        TempFolder folder;
        EXPECT_EQ(CutJobs(folder, kThreeJobs, jobCount), "[HDR]\r\nGEN REV = 01.10\r\n")
            << jobCount;
    }
}

TEST(JobFile, FileWithoutJobsIsCopiedAsHeader) {
    TempFolder folder;
    EXPECT_EQ(CutJobs(folder, "[HDR]\nGEN REV = 01.10\n", 0), "[HDR]\r\nGEN REV = 01.10\r\n");
}

TEST(JobFile, CountsOnlyExactJobLines) {
    // None of these opens an entry, so with one job kept they all stay inside job 1.
    for (const std::string notAJob : {" [JOB]", "[JOB] ", "\t[JOB]", "[job]", "[JOB]x", "[JOB"}) {
        TempFolder folder;
        const std::string source = "[HDR]\r\n[JOB]\r\nA\r\n" + notAJob + "\r\nB\r\n[JOB]\r\nC\r\n";
        EXPECT_EQ(CutJobs(folder, source, 1), "[HDR]\r\n[JOB]\r\nA\r\n" + notAJob + "\r\nB\r\n")
            << '"' << notAJob << '"';
    }
}

TEST(JobFile, WritesCarriageReturnLineFeedWhateverTheSourceUsed) {
    TempFolder folder;
    const std::string lineFeeds = "[HDR]\n[JOB]\r\nA\n[JOB]\nB";
    EXPECT_EQ(CutJobs(folder, lineFeeds, 5), "[HDR]\r\n[JOB]\r\nA\r\n[JOB]\r\nB\r\n");
}

TEST(JobFile, UnterminatedJobLineStillOpensAnEntry) {
    TempFolder folder;
    EXPECT_EQ(CutJobs(folder, "[HDR]\r\n[JOB]\r\nA\r\n[JOB]", 1), "[HDR]\r\n[JOB]\r\nA\r\n");
}

TEST(JobFile, EmptyLinesAndShiftJisTextPassUnchanged) {
    TempFolder folder;
    // "写真" in Shift-JIS, followed by an empty line inside the job.
    const std::string source = "[HDR]\r\nUSR NAM = \"\x8e\xca\x90\x5e\"\r\n[JOB]\r\n\r\nA\r\n";
    EXPECT_EQ(CutJobs(folder, source, 1), source);
}

TEST(JobFile, MissingSourceWritesNoDestination) {
    TempFolder folder;
    JobFile jobFile;
    jobFile.SetPath(folder / L"注文/AUTPRINT.MRK");
    EXPECT_FALSE(jobFile.CopyJobs(1, folder / L"AUTPRINT.MRK"));
    EXPECT_FALSE(folder.Exists(L"AUTPRINT.MRK"));
}

TEST(JobFile, UncreatableDestinationLeavesSourceAlone) {
    TempFolder folder;
    folder.WriteFile(L"AUTPRINT.MRK", kThreeJobs);
    JobFile jobFile;
    jobFile.SetPath(folder / L"AUTPRINT.MRK");
    EXPECT_FALSE(jobFile.CopyJobs(1, folder / L"存在しない/AUTPRINT.MRK"));
    EXPECT_EQ(folder.ReadFile(L"AUTPRINT.MRK"), kThreeJobs);
}

TEST(JobFile, RefusesToCutTheSourceIntoItself) {
    TempFolder folder;
    folder.WriteFile(L"AUTPRINT.MRK", kThreeJobs);
    JobFile jobFile;
    jobFile.SetPath(folder / L"AUTPRINT.MRK");
    EXPECT_FALSE(jobFile.CopyJobs(1, folder / L"AUTPRINT.MRK"));
    EXPECT_EQ(folder.ReadFile(L"AUTPRINT.MRK"), kThreeJobs);
}
