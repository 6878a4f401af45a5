// The composition engine library composing small books, checked in pixels, driven the way
// the program drives it: through CZoRiEngine and the message protocol.

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <future>
#include <map>
#include <string>
#include <thread>
#include <vips/vips8>

#include "BackgroundRun.h"
#include "EngineBook.h"
#include "Eventually.h"
#include "FolderNames.h"
#include "ThreadStat.h"

namespace {

using namespace std::chrono_literals;
using vips::VImage;
using namespace engine_book;

/// Left half red, right half green.
VImage HalfRedHalfGreen(int width, int height) {
    return Solid(width, height, {255, 0, 0})
        .insert(Solid(width / 2, height, {0, 255, 0}), width / 2, 0);
}

/// White with a black square of `side` in the middle.
VImage WhiteWithCentreSquare(int width, int height, int side) {
    return Solid(width, height, {255, 255, 255})
        .insert(Solid(side, side, {0, 0, 0}), (width - side) / 2, (height - side) / 2);
}

std::vector<double> PixelAt(const std::wstring& file, int x, int y) {
    return VImage::new_from_file(Utf8(file).c_str()).getpoint(x, y);
}

void ExpectColour(const std::vector<double>& pixel, std::vector<double> rgb, const char* where) {
    ASSERT_EQ(pixel.size(), 3u) << where;
    for (int band = 0; band < 3; ++band)
        EXPECT_NEAR(pixel[band], rgb[band], 40) << where << " band " << band;
}

const char kFormats[] =
    "[FORMAT_COVER]\nWIDTH_MM=40\nHEIGHT_MM=30\nCOVER=1\nBACKGROUND_COLOR=255,255,0\nFRAME_CNT=0\n"
    "[FORMAT_TWO]\nWIDTH_MM=40\nHEIGHT_MM=30\nBACKGROUND_COLOR=0,0,255\nFRAME_CNT=2\n"
    "FRAME1=5,5,15,10\nFRAME2=22,5,15,20\n"
    "[FORMAT_PAPER]\nWIDTH_MM=40\nHEIGHT_MM=30\nBACKGROUND=\xe7\xb4\x99.jpg\nFRAME_CNT=0\n"
    "[FORMAT_SQUARES]\nWIDTH_MM=40\nHEIGHT_MM=30\nBACKGROUND_COLOR=0,0,255\nFRAME_CNT=2\n"
    "FRAME1=0,0,20,20\nFRAME2=20,0,20,20\n";

TEST(Engine, ComposesCoverAndInnerSpreadsWithPicturesInTheirFrames) {
    WorkFolder work;
    work.WriteFormats(kFormats);
    work.WritePicture(L"TEMP/CTML/紙.jpg", Solid(80, 60, {0, 160, 0}));
    const std::string red =
        work.WritePicture(L"TEMP/CORRECT/赤い写真.jpg", Solid(300, 200, {255, 0, 0}));
    work.WriteComposition(ZoInfo(4, 2) + Page(1, "COVER", 0) + Page(2, "COVER", 0) +
                          Page(3, "TWO", 2) + Page(4, "PAPER", 0) + Picture(1, red, 0) +
                          Picture(2, "", -1));

    ASSERT_EQ(work.Compose(), 0);

    const std::wstring cover = work.Path(L"TEMP/COMPOSITION_INFO/COVERFINAL/cmb0001.jpg");
    const std::wstring inner = work.Path(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL/cmb0002.jpg");
    ASSERT_TRUE(work.Temp().Exists(L"TEMP/COMPOSITION_INFO/COVERFINAL/cmb0001.jpg"));
    ASSERT_TRUE(work.Temp().Exists(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL/cmb0002.jpg"));
    EXPECT_FALSE(work.Temp().Exists(kFirstSpread));
    ExpectColour(PixelAt(cover, 600, 150), {255, 255, 0}, "cover");

    VImage spread = VImage::new_from_file(Utf8(inner).c_str());
    EXPECT_EQ(spread.width(), 800); // two pages of 40 mm at 10 pixels per millimetre
    EXPECT_EQ(spread.height(), 300);
    EXPECT_NEAR(spread.xres(), 10.0, 0.01);
    ExpectColour(PixelAt(inner, 55, 55), {255, 0, 0}, "frame 1, top-left inside");
    ExpectColour(PixelAt(inner, 195, 145), {255, 0, 0}, "frame 1, bottom-right inside");
    ExpectColour(PixelAt(inner, 44, 44), {0, 0, 255}, "page outside frame 1");
    ExpectColour(PixelAt(inner, 205, 100), {0, 0, 255}, "page right of frame 1");
    ExpectColour(PixelAt(inner, 290, 150), {0, 0, 255}, "empty slot shows the background");
    ExpectColour(PixelAt(inner, 600, 150), {0, 160, 0}, "second page's background picture");
}

TEST(Engine, AppliesRotationZoomAndShiftToThePicture) {
    WorkFolder work;
    work.WriteFormats(kFormats);
    const std::string turned =
        work.WritePicture(L"TEMP/CORRECT/IMG-0001.jpg", HalfRedHalfGreen(200, 100));
    const std::string zoomed =
        work.WritePicture(L"TEMP/CORRECT/IMG-0002.jpg", WhiteWithCentreSquare(200, 100, 20));
    work.WriteComposition(ZoInfo(1, 2) + Page(1, "SQUARES", 2) + "[PICT_INFO1]\nFileName=" +
                          turned + "\nFILENUM=0\ndegree=90\n" + "[PICT_INFO2]\nFileName=" + zoomed +
                          "\nFILENUM=1\nENLARGE=200\nmoveX=250\n");

    ASSERT_EQ(work.Compose(), 0);

    // A lone page is a spread of its own: 400 x 300 pixels.
    const std::wstring spread = work.Path(kFirstSpread);
    // Turned clockwise, the red left half lies on top; cover fit crops the ends.
    ExpectColour(PixelAt(spread, 100, 50), {255, 0, 0}, "turned picture, upper half");
    ExpectColour(PixelAt(spread, 100, 150), {0, 255, 0}, "turned picture, lower half");
    // The 20-pixel square, fitted at twice the frame's scale and zoomed twice, is 80 pixels
    // wide; shifted by a quarter of the frame's 200 pixels, its centre lies at x = 350.
    ExpectColour(PixelAt(spread, 350 + 30, 100), {0, 0, 0}, "zoomed square, right part");
    ExpectColour(PixelAt(spread, 300 - 20, 100), {255, 255, 255}, "left of the shifted square");
    ExpectColour(PixelAt(spread, 300, 250), {0, 0, 255}, "below the frames");
}

/// A valid book of one inner spread with one picture, in a work folder that also holds,
/// outside the composition's folders, a picture and a format file that would compose it.
void PrepareBook(const WorkFolder& work) {
    work.WriteFormats(kFormats);
    work.WritePicture(L"TEMP/CTML/紙.jpg", Solid(80, 60, {0, 160, 0}));
    const std::string picture =
        work.WritePicture(L"TEMP/CORRECT/IMG-0001.jpg", Solid(60, 40, {255, 0, 0}));
    work.WritePicture(L"外/IMG-0001.jpg", Solid(60, 40, {255, 0, 0}));
    work.Temp().WriteFile(L"外/QrmFormat.ini", kFormats);
    work.WriteComposition(ZoInfo(2, 1) + Page(1, "TWO", 1) + Page(2, "PAPER", 0) +
                          Picture(1, picture, 0));
}

/// The book of PrepareBook with `line` put first into `section` (of keys given twice the
/// first counts): into the format file where the section is a format's.
struct BookChange {
    const char* name; ///< empty: the line names the case
    const char* section;
    const char* line; ///< "%" stands for the work folder, "@" for its COMPOSITION_INFO
    int expected;     ///< the engine's result
    void (*prepare)(const WorkFolder&) = nullptr; ///< what else the case changes
};

void PrintTo(const BookChange& change, std::ostream* out) {
    *out << change.section << ": " << change.line;
}

class EngineBookChange : public ::testing::TestWithParam<BookChange> {};

std::string NameOfChange(const ::testing::TestParamInfo<BookChange>& change) {
    std::string name = *change.param.name ? change.param.name : change.param.line;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

void PutFirst(const TempFolder& folder, const std::wstring& file, const std::string& section,
              const std::string& line) {
    std::string text = folder.ReadFile(file);
    const std::string header = "[" + section + "]\n";
    const std::size_t at = text.find(header);
    ASSERT_NE(at, std::string::npos) << section;
    text.insert(at + header.size(), line + "\n");
    folder.WriteFile(file, text);
}

TEST_P(EngineBookChange, GivesItsResultAndWritesNothingElsewhere) {
    const BookChange& change = GetParam();
    WorkFolder work;
    PrepareBook(work);
    std::string line = change.line;
    for (const auto& [mark, path] :
         {std::pair{'%', work.Temp().Path()}, std::pair{'@', work.Path(L"TEMP/COMPOSITION_INFO")}})
        if (const std::size_t at = line.find(mark); at != std::string::npos)
            line.replace(at, 1, Utf8(path));
    PutFirst(work.Temp(),
             std::string_view(change.section).starts_with("FORMAT_")
                 ? L"TEMP/CTML/QrmFormat.ini"
                 : L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini",
             change.section, line);
    if (change.prepare)
        change.prepare(work);

    EXPECT_EQ(work.Compose(), change.expected);
    EXPECT_EQ(work.Temp().Exists(kFirstSpread), change.expected == 0);
    EXPECT_EQ(FolderNames(work.Path(L"外")), (Names{L"IMG-0001.jpg", L"QrmFormat.ini"}));
    EXPECT_FALSE(work.Temp().Exists(L"TEMP/CORRECT/cmb0001.jpg"));
}

// Every failure the engine tells apart has a code of its own.
INSTANTIATE_TEST_SUITE_P(
    OwnCodes, EngineBookChange,
    ::testing::Values(
        BookChange{"unreadable composition file", "ZO_INFO", "", 10,
                   [](const WorkFolder& w) {
                       w.Temp().WriteFile(L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini", "");
                   }},
        BookChange{"invalid rotation", "PICT_INFO1", "degree=45", 11},
        BookChange{"missing format file", "ZO_INFO", "FORMAT_FILE_NAME=gone.ini", 20},
        BookChange{"missing format", "PAGE_INFO1", "FORMAT_NO=NO_SUCH_FORMAT", 21},
        BookChange{"missing picture", "PICT_INFO1", "FileName=%/TEMP/CORRECT/IMG-0099.jpg", 30},
        BookChange{"undecodable picture", "PICT_INFO1", "", 31,
                   [](const WorkFolder& w) {
                       w.Temp().WriteFile(L"TEMP/CORRECT/IMG-0001.jpg", "not a picture at all");
                   }},
        // Covering the 150-pixel-wide frame and zoomed ten times, it would be 10.5 million
        // pixels tall: more than the image library holds along a side.
        BookChange{"picture too thin to cover its frame", "PICT_INFO1", "ENLARGE=1000", 31,
                   [](const WorkFolder& w) {
                       w.WritePicture(L"TEMP/CORRECT/IMG-0001.jpg", Solid(1, 7000, {255, 0, 0}));
                   }},
        BookChange{"unwritable output", "ZO_INFO", "OUTPUT_PATH=@\\blocked\\LAYOUTFINAL", 40,
                   [](const WorkFolder& w) {
                       w.Temp().WriteFile(L"TEMP/COMPOSITION_INFO/blocked",
                                          "a file where a folder should be");
                   }}),
    NameOfChange);

// Pictures, spreads and the format file stay inside their folders, links included.
INSTANTIATE_TEST_SUITE_P(
    RefusedOutsideTheFolders, EngineBookChange,
    ::testing::Values(
        BookChange{"picture outside the folders", "PICT_INFO1",
                   "FileName=%/TEMP/CORRECT/../../外/IMG-0001.jpg", 32},
        BookChange{"output absolute path elsewhere", "ZO_INFO", "OUTPUT_PATH=%/外/LAYOUTFINAL", 32},
        BookChange{"output dots out of the album folder", "ZO_INFO", "OUTPUT_PATH=@\\..\\..\\外\\x",
                   32},
        BookChange{"output dots with slashes", "ZO_INFO", "OUTPUT_PATH=@/LAYOUTFINAL/../../../外/x",
                   32},
        // The work folder's other folders hold the order's pictures, not spreads.
        BookChange{"output in the pictures folder", "ZO_INFO", "OUTPUT_PATH=@\\..\\CORRECT", 32},
        BookChange{"cover folder elsewhere", "ZO_INFO", "OUTPUT_PATH2=%/外/COVERFINAL", 32},
        BookChange{"output link out of the album folder", "ZO_INFO",
                   "OUTPUT_PATH=@\\out\\LAYOUTFINAL", 32,
                   [](const WorkFolder& w) { w.Link(L"外", L"TEMP/COMPOSITION_INFO/out"); }},
        // A spread's own name, linked to a file not made yet, would write through the link.
        BookChange{"spread file linked out of the output folder", "ZO_INFO",
                   "OUTPUT_PATH=@\\LAYOUTFINAL", 32,
                   [](const WorkFolder& w) { w.Link(L"外/cmb0001.jpg", kFirstSpread); }},
        BookChange{"format file absolute path elsewhere", "ZO_INFO",
                   "FORMAT_FILE_NAME=%/外/QrmFormat.ini", 32},
        BookChange{"format file dots out of the data folder", "ZO_INFO",
                   "FORMAT_FILE_NAME=..\\..\\外\\QrmFormat.ini", 32},
        BookChange{
            "format file linked in the data folder", "ZO_INFO", "FORMAT_FILE_NAME=linked.ini", 32,
            [](const WorkFolder& w) { w.Link(L"外/QrmFormat.ini", L"TEMP/CTML/linked.ini"); }}),
    NameOfChange);

// Each of the numbers marked wraps to an accepted value in 32 bits: 100, 90, -1 (an empty
// slot), 90, 1, 1, 1; the same values within range compose.
INSTANTIATE_TEST_SUITE_P(
    NumbersOutOfRangeNeverWrapped, EngineBookChange,
    ::testing::Values(BookChange{"", "PICT_INFO1", "moveX=-2147483648", 11},
                      BookChange{"", "PICT_INFO1", "moveY=2147483648", 11},
                      BookChange{"", "PICT_INFO1", "moveX=-1001", 11},
                      BookChange{"", "PICT_INFO1", "ENLARGE=4294967396", 11}, // wraps
                      BookChange{"", "PICT_INFO1", "degree=4294967386", 11},  // wraps
                      BookChange{"", "PICT_INFO1", "FILENUM=4294967295", 11}, // wraps
                      BookChange{"", "ZO_INFO", "quality=4294967386", 11},    // wraps
                      BookChange{"", "ZO_INFO", "IMAGE_FIT=4294967297", 11},  // wraps
                      BookChange{"", "ZO_INFO", "PICT_CNT=4294967297", 11},   // wraps
                      BookChange{"", "ZO_INFO", "PAGE_CNT=-2", 11},
                      BookChange{"", "PAGE_INFO1", "PICT_CNT=-4294967295", 11}, // wraps
                      BookChange{"", "PICT_INFO1", "moveX=-1000", 0},
                      BookChange{"", "PICT_INFO1", "degree=-2147483610", 0}),
    NameOfChange);

// A format's frames beyond a page's reach make the format file malformed.
INSTANTIATE_TEST_SUITE_P(FramesBeyondAPagesReach, EngineBookChange,
                         ::testing::Values(BookChange{"", "FORMAT_TWO", "FRAME1=1e300,5,15,10", 21},
                                           BookChange{"", "FORMAT_TWO", "FRAME1=5,-1e12,15,10", 21},
                                           BookChange{"", "FORMAT_TWO", "FRAME1=5,5,1e300,10", 21},
                                           BookChange{"", "FORMAT_TWO", "FRAME1=5,5,15,2001", 21}),
                         NameOfChange);

const char kBigFormat[] =
    "[FORMAT_BIG]\nWIDTH_MM=210\nHEIGHT_MM=297\nBACKGROUND_COLOR=250,250,250\n"
    "FRAME_CNT=2\nFRAME1=10,10,190,130\nFRAME2=10,150,190,130\n";

/// A book of `pages` A4 pages with two pictures each: each takes a while to compose.
void WriteLongBook(const WorkFolder& work, int pages) {
    work.WriteFormats(kBigFormat);
    const std::string picture =
        work.WritePicture(L"TEMP/CORRECT/IMG-0001.jpg", HalfRedHalfGreen(1600, 1200));
    std::string composition = ZoInfo(pages, pages * 2);
    for (int page = 1; page <= pages; ++page)
        composition += Page(page, "BIG", 2);
    for (int n = 1; n <= pages * 2; ++n)
        composition += Picture(n, picture, n - 1, n % 2 ? "" : "degree=90\n");
    work.WriteComposition(composition);
}

TEST(Engine, CancelStopsALongCompositionBeforeItsLastSpread) {
    WorkFolder work;
    WriteLongBook(work, 40);

    BackgroundRun run(L"QRM_ZO_RI.dll", work.Params(600));
    // The cancel meets a running book: one whose first spread is written.
    Eventually([&] { return work.Temp().Exists(kFirstSpread); }, 30s);
    run.Adapter().RequestCancel();
    // A run that ignored the cancel ends too, with its later spreads written.
    ASSERT_TRUE(run.EndsWithin(std::chrono::minutes(10)));
    EXPECT_FALSE(work.Temp().Exists(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL/cmb0020.jpg"));
    // The engine's cancel report arrives after the run stopped listening: no code.
    EXPECT_EQ(run.Result(), 0);
}

TEST(Engine, TheFirstFailingSpreadDecidesAndNoSpreadAfterItStays) {
    // Spreads are composed overlapping: the later ones are done, or fail, while the first is
    // still decoding its large pictures, and only then does its last picture fail.
    for (const bool secondUnwritable : {false, true}) {
        SCOPED_TRACE(secondUnwritable ? "second spread unwritable" : "every spread writable");
        WorkFolder work;
        work.WriteFormats(std::string(kFormats) + kBigFormat);
        const std::string large =
            work.WritePicture(L"TEMP/CORRECT/大きい.jpg", HalfRedHalfGreen(4000, 3000));
        const std::string small =
            work.WritePicture(L"TEMP/CORRECT/IMG-0001.jpg", Solid(60, 40, {255, 0, 0}));
        work.Temp().WriteFile(L"TEMP/CORRECT/壊れた.jpg", "not a picture at all");
        if (secondUnwritable)
            work.Temp().MakeFolder(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL/cmb0002.jpg");
        std::string composition = ZoInfo(8, 9) + Page(1, "BIG", 2) + Page(2, "TWO", 1);
        for (int page = 3; page <= 8; ++page)
            composition += Page(page, "TWO", 1);
        composition += Picture(1, large, 0) + Picture(2, large, 1, "degree=90\n") +
                       Picture(3, Utf8(work.Path(L"TEMP/CORRECT/壊れた.jpg")), 2);
        for (int n = 4; n <= 9; ++n)
            composition += Picture(n, small, n - 1);
        work.WriteComposition(composition);

        EXPECT_EQ(work.Compose(300), 31);
        for (const std::wstring spread :
             {L"cmb0001.jpg", L"cmb0002.jpg", L"cmb0003.jpg", L"cmb0004.jpg"})
            EXPECT_EQ(work.Temp().Exists(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL/" + spread),
                      secondUnwritable && spread == L"cmb0002.jpg")
                << Utf8(spread);
    }
}

TEST(Engine, ComposesAtTheLowestNormalPriorityAndSoDoTheImageLibrarysThreads) {
    WorkFolder work;
    WriteLongBook(work, 4); // two spreads, one for each of two threads

    // Every thread that comes up while the book is composed, as last seen: the engine's
    // threads end with the book, the image library's stay for later work.
    std::map<std::string, ThreadStat> before, started;
    const auto lookForNewThreads = [&] {
        for (const auto& [id, sample] : ThreadsOfThisProcess())
            if (!before.contains(id))
                started[id] = sample;
    };
    std::atomic<bool> composing{true};
    std::promise<void> watching;
    std::thread watcher([&] {
        before = ThreadsOfThisProcess();
        watching.set_value();
        while (composing) {
            lookForNewThreads();
            std::this_thread::sleep_for(1ms);
        }
    });
    watching.get_future().wait();
    const int result = work.Compose(300);
    composing = false;
    watcher.join();
    lookForNewThreads();

    ASSERT_EQ(result, 0);
    int engineThreads = 0, libraryThreads = 0;
    for (const auto& [id, sample] : started) {
        ++(sample.name.starts_with("libvips") ? libraryThreads : engineThreads);
        EXPECT_EQ(sample.nice, LowestNormalNice()) << "thread " << id << " " << sample.name;
    }
    EXPECT_GE(engineThreads, 2); // the composing thread and those of the spreads
    EXPECT_GE(libraryThreads, 1);
}

} // namespace
