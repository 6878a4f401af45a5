// Orders written as relaydesk-kiosk writes them, prepared as the transfer prepares them,
// composed by the engine; and corrections sent back by the kiosk.

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <vips/vips8>

#include "FolderNames.h"
#include "TempFolder.h"
#include "TestImages.h"
#include "composition/ZoRiEngine.h"
#include "config/ProfileDocument.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "kiosk/KioskOrder.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "fileutil/FileSystemResolver.h"

namespace {

std::string Utf8(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

/// Writes an order as the kiosk does; false when the kiosk would refuse it.
bool WriteKioskOrder(const std::wstring& input, int number, int pages, double megapixels,
                     kiosk::OrderRequest request = {}) {
    StartTestImages(); // the tests look at what the kiosk wrote
    request.inputFolder = input;
    request.orderNumber = number;
    request.pages = pages;
    request.megapixels = megapixels;
    std::wstring error;
    return kiosk::WriteOrder(request, error);
}

bool SendKioskCorrection(const std::wstring& input, int number, const std::vector<int>& pictures) {
    std::wstring error;
    return kiosk::SendCorrection(input, number, pictures, error);
}

/// Copies the order's folders into TEMP and fills in what the transfer fills in.
void PrepareWorkFolder(const std::wstring& order, const std::wstring& work) {
    ASSERT_TRUE(MakeFolderPath(work));
    for (const wchar_t* folder : {L"COMPOSITION_INFO", L"CORRECT", L"CTML"})
        ASSERT_TRUE(CopyFolder(LocalFolders(), JoinPath(order, folder), JoinPath(work, folder)));
    const std::wstring info = JoinPath(work, L"COMPOSITION_INFO");
    const std::wstring file = JoinPath(info, L"QrmZoInRi.ini");
    ASSERT_TRUE(ReplaceInTextFile(LocalFolders(), file, L"<<ALBUM_DIR>>", info));
    ASSERT_TRUE(ReplaceInTextFile(LocalFolders(), file, L"<<EXT>>", L"jpg"));
    ASSERT_TRUE(ReplaceInTextFile(LocalFolders(), file, L"<<CTML_DIR>>", JoinPath(work, L"CTML")));
    ASSERT_TRUE(
        ReplaceInTextFile(LocalFolders(), file, L"FileName=",
                          L"FileName=" + JoinPath(work, L"CORRECT") + platform::kPathSeparator));
}

TEST(EngineKiosk, KioskBookComposesIntoOneSpreadPerPrintJob) {
    TempFolder temp;
    const std::wstring terminal = temp / L"端末1";
    ASSERT_TRUE(MakeFolderPath(terminal));
    kiosk::OrderRequest request;
    request.photosPerPage = 3;
    request.uniqueId = L"店舗-7";
    request.seed = 5;
    ASSERT_TRUE(WriteKioskOrder(terminal, 42, 5, 0.3, request));

    const std::wstring order = JoinPath(terminal, L"r0000042");
    ASSERT_TRUE(PathExists(LocalFolders(), order));
    EXPECT_EQ(FolderLister(LocalFolders()).CountEntries(terminal, L"*", 0, FolderLister::kFolders),
              1); // no leftovers
    ProfileDocument ticket;
    ASSERT_TRUE(ticket.Load(JoinPath(order, L"VQ_Info.ini")));
    EXPECT_EQ(ticket.Get(L"INFO", L"UniqueID").value_or(L""), L"店舗-7");
    // Cover front: one photo; three inner pages of three.
    EXPECT_EQ(CountFiles(JoinPath(order, L"IMAGE"), L"IMG-*.jpg"), 10);
    EXPECT_EQ(CountFiles(JoinPath(order, L"CORRECT"), L"IMG-*.jpg"), 10);
    const std::string printOrder = temp.ReadFile(L"端末1/r0000042/COMPOSITION_INFO/AUTPRINT.MRK");
    EXPECT_NE(printOrder.find("[HDR]"), std::string::npos);
    int jobs = 0;
    for (std::size_t at = printOrder.find("[JOB]"); at != std::string::npos;
         at = printOrder.find("[JOB]", at + 1))
        ++jobs;
    EXPECT_EQ(jobs, 3);

    const std::wstring work = temp / L"TEMP";
    PrepareWorkFolder(order, work);
    CZoRiEngine adapter;
    ASSERT_EQ(adapter.Prepare(), 0);
    EngineRunParams params;
    params.startValue = 50;
    params.SetCompositionInfoPath(JoinPath(work, L"COMPOSITION_INFO/QrmZoInRi.ini"));
    params.SetDataPath(JoinPath(work, L"CTML"));
    ASSERT_EQ(adapter.Run(&params), 0);
    EXPECT_EQ(adapter.GetProgress(), 100);

    const std::wstring covers = JoinPath(work, L"COMPOSITION_INFO/COVERFINAL");
    const std::wstring inner = JoinPath(work, L"COMPOSITION_INFO/LAYOUTFINAL");
    EXPECT_EQ(CountFiles(covers, L"cmb*.*") + CountFiles(inner, L"cmb*.*"), jobs);
    EXPECT_TRUE(PathExists(LocalFolders(), JoinPath(covers, L"cmb0001.jpg")));
    // The fifth page stands alone: a spread one A4 page wide (210 mm at 50 dots per inch).
    vips::VImage last = vips::VImage::new_from_file(Utf8(JoinPath(inner, L"cmb0003.jpg")).c_str());
    EXPECT_EQ(last.width(), 413);
}

TEST(EngineKiosk, CorrectionPutsVisiblyChangedPicturesBackAndRenamesTheOrder) {
    TempFolder temp;
    const std::wstring terminal = temp.Path();
    ASSERT_TRUE(WriteKioskOrder(terminal, 7, 4, 0.2));
    // As after a transfer: the order is marked transferred and its CORRECT folder emptied.
    ASSERT_TRUE(
        MoveItem(LocalFolders(), JoinPath(terminal, L"r0000007"), JoinPath(terminal, L"e0000007")));
    ASSERT_TRUE(DeleteItem(LocalFolders(), JoinPath(terminal, L"e0000007/CORRECT/*")));

    ASSERT_TRUE(SendKioskCorrection(terminal, 7, {2, 3}));

    const std::wstring order = JoinPath(terminal, L"r0000007");
    ASSERT_TRUE(PathExists(LocalFolders(), order));
    EXPECT_FALSE(PathExists(LocalFolders(), JoinPath(terminal, L"e0000007")));
    EXPECT_EQ(CountFiles(JoinPath(order, L"CORRECT"), L"IMG-*.*"), 2);
    vips::VImage before =
        vips::VImage::new_from_file(Utf8(JoinPath(order, L"IMAGE/IMG-0002.jpg")).c_str());
    vips::VImage after =
        vips::VImage::new_from_file(Utf8(JoinPath(order, L"CORRECT/IMG-0002.jpg")).c_str());
    ASSERT_EQ(before.width(), after.width());
    EXPECT_GT((before - after).abs().avg(), 20.0);
}

TEST(EngineKiosk, KioskRefusesToOverwriteAnOrderOrCorrectAMissingOne) {
    TempFolder temp;
    ASSERT_TRUE(WriteKioskOrder(temp.Path(), 9, 2, 0.1));
    temp.WriteFile(L"r0000009/IMAGE/IMG-0001.jpg", "kept");

    EXPECT_FALSE(WriteKioskOrder(temp.Path(), 9, 2, 0.1));
    EXPECT_EQ(temp.ReadFile(L"r0000009/IMAGE/IMG-0001.jpg"), "kept");
    EXPECT_FALSE(temp.Exists(L"~r0000009"));
    EXPECT_FALSE(SendKioskCorrection(temp.Path(), 10, {1}));
}

} // namespace
