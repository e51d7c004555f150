// Printing: where the picture lands on the page, the printer's steps and
// their failures, the page saved as a file when there is no printer, and
// the system's printing service reached through `lp`.

#include "PIM/app/CxCupsPrinter.h"
#include "PIM/app/CxFilePrinter.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/app/PimPageLayout.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/image/PimImageFilters.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const ST_PAGE_SETUP kA4At100 = CxPagePrinter::A4Page(100); // 827 x 1169

ST_PAGE_LAYOUT Layout(CxSize image, bool landscape = false, double scale = 0, ST_PAGE_SETUP setup = kA4At100)
{
    ST_PAGE_LAYOUT out;
    EXPECT_TRUE(PimLayoutPage(setup, landscape, image, scale, out)) << image.width << " x " << image.height;
    return out;
}

} // namespace

TEST(PageLayout, FitsThePageLessHalfAnInchCentredInEitherOrientation)
{
    ASSERT_EQ(kA4At100.pageWidth, 827);
    ASSERT_EQ(kA4At100.pageHeight, 1169);

    // A screen's shape across a portrait page: the width bounds it.
    ST_PAGE_LAYOUT portrait = Layout(CxSize(800, 600));
    EXPECT_EQ(portrait.page, CxSize(827, 1169));
    EXPECT_EQ(portrait.picture, CxRect(25, 293, 801, 875)); // 777 x 583

    // Landscape swaps the page: now the height bounds it.
    ST_PAGE_LAYOUT landscape = Layout(CxSize(800, 600), true);
    EXPECT_EQ(landscape.page, CxSize(1169, 827));
    EXPECT_EQ(landscape.picture, CxRect(66, 25, 1101, 801)); // 1036 x 777

    // A scale shrinks the page it is fitted into; it stays centred on the paper.
    ST_PAGE_LAYOUT half = Layout(CxSize(800, 600), false, 0.5);
    EXPECT_EQ(half.picture, CxRect(232, 448, 594, 719)); // 363 x 272
    // Zero, negative and non-numbers leave the page as it is.
    for (double scale : {0.0, -2.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(Layout(CxSize(800, 600), false, scale).picture, portrait.picture) << scale;

    // Different resolutions per axis: each margin in its own units.
    ST_PAGE_SETUP uneven{1000, 2000, 100, 200};
    EXPECT_EQ(Layout(CxSize(10, 10), false, 0, uneven).picture, CxRect(25, 525, 974, 1474));
    EXPECT_EQ(Layout(CxSize(10, 10), true, 0, uneven).picture, CxRect(525, 25, 1474, 974));
}

TEST(PageLayout, KeepsTheAspectOfTinyAndHugePictures)
{
    struct Case
    {
        CxSize image;
        CxSize placed;
    };
    const Case cases[] = {
        {CxSize(1, 1), CxSize(777, 777)},
        {CxSize(1, 1000), CxSize(1, 1119)},
        {CxSize(3, 1), CxSize(777, 259)},
        {CxSize(2147483647, 1), CxSize(777, 1)}, // too thin to round to nothing
        {CxSize(2147483647, 2147483647), CxSize(777, 777)},
        {CxSize(65536, 131072), CxSize(560, 1119)},
    };
    for (const Case& c : cases) {
        const ST_PAGE_LAYOUT out = Layout(c.image);
        EXPECT_EQ(out.picture.Width(), c.placed.width) << c.image.width << " x " << c.image.height;
        EXPECT_EQ(out.picture.Height(), c.placed.height) << c.image.width << " x " << c.image.height;
        // Centred: the margins either side differ by at most one unit.
        EXPECT_LE(std::abs((out.picture.left) - (826 - out.picture.right)), 1);
        EXPECT_LE(std::abs((out.picture.top) - (1168 - out.picture.bottom)), 1);
    }
    // A huge scale of a huge page stays within the rectangle's numbers.
    ST_PAGE_LAYOUT big;
    ASSERT_TRUE(PimLayoutPage({2000000000, 2000000000, 600, 600}, false, CxSize(4, 3), 1e9, big));
    EXPECT_GT(big.picture.Width(), 0);
    EXPECT_GT(big.picture.Height(), 0);
}

TEST(PageLayout, RefusesWhatCannotBePlaced)
{
    ST_PAGE_LAYOUT out;
    EXPECT_FALSE(PimLayoutPage(kA4At100, false, CxSize(0, 10), 0, out));
    EXPECT_TRUE(out.picture.IsEmpty());
    EXPECT_FALSE(PimLayoutPage(kA4At100, false, CxSize(10, -1), 0, out));
    EXPECT_FALSE(PimLayoutPage({0, 1169, 100, 100}, false, CxSize(10, 10), 0, out));
    EXPECT_FALSE(PimLayoutPage({827, 1169, 0, 100}, false, CxSize(10, 10), 0, out));
    // Nothing is left of a page no bigger than its margin, nor of a tiny scale.
    EXPECT_FALSE(PimLayoutPage({50, 500, 100, 100}, false, CxSize(10, 10), 0, out));
    EXPECT_FALSE(PimLayoutPage(kA4At100, false, CxSize(10, 10), 0.01, out));
}

namespace {

// Records each step it is asked for; the step named `failAt` fails.
class FakePrinter : public CxPrinter
{
public:
    FakePrinter(std::vector<std::string>& steps, std::string failAt) : m_steps(steps), m_failAt(std::move(failAt)) {}

    bool Open(bool withDialog, bool landscape, ST_PAGE_SETUP& page) override
    {
        page = {1000, 2000, 100, 100};
        return Step(std::string("Open ") + (withDialog ? "dialog " : "") + (landscape ? "landscape" : "portrait"),
                    "Open");
    }
    bool StartDoc(const char* name) override { return Step(std::string("StartDoc ") + name, "StartDoc"); }
    bool StartPage() override { return Step("StartPage", "StartPage"); }
    bool DrawPicture(CxDrawSurface& picture, const CxRect& place) override
    {
        const std::string what = "Draw " + std::to_string(picture.GetWidth()) + "x" +
                                 std::to_string(picture.GetHeight()) + "x" + std::to_string(picture.GetDepth()) +
                                 " at " + std::to_string(place.left) + "," + std::to_string(place.top) + " " +
                                 std::to_string(place.Width()) + "x" + std::to_string(place.Height()) +
                                 (GetCursor() == PIM_CURSOR_WAIT ? " busy" : " idle");
        return Step(what, "Draw");
    }
    bool EndPage() override { return Step("EndPage", "EndPage"); }
    bool EndDoc() override { return Step("EndDoc", "EndDoc"); }
    void Close() override { m_steps.push_back("Close"); }
    std::string GetLastProblem() const override { return "the fake refused " + m_failAt; }

private:
    bool Step(const std::string& what, const std::string& name)
    {
        m_steps.push_back(what);
        return name != m_failAt;
    }
    std::vector<std::string>& m_steps;
    std::string m_failAt;
};

class Printing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        config = folder.Write("Marrowdale.ini", "");
        init.name = "PrintTest";
        init.configFile = config.c_str();
        app = std::make_unique<CxGameApp>(init);
        app->SetBackend(HeadlessBackend());
        app->SetSingleInstance(false);
        RegisterDefaultImageFilters();
    }

    // A 16-bit picture of one colour, as the screen has.
    static std::unique_ptr<CxDrawSurface> Picture(int32_t width, int32_t height)
    {
        auto picture = std::make_unique<CxDrawSurface>();
        EXPECT_EQ(picture->Create(width, height, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
        picture->FillRect(picture->GetRect(), picture->MakeColour(0, 0, 255));
        return picture;
    }

    TempFolder folder;
    std::string config;
    ST_APP_INIT init;
    std::unique_ptr<CxGameApp> app;
};

} // namespace

TEST_F(Printing, TheStepsComeInOrderWithTheBusyCursorAndATrueColourPicture)
{
    std::vector<std::string> steps;
    app->SetPrinter(std::make_unique<FakePrinter>(steps, ""));
    SetCursor(PIM_CURSOR_HAND);
    ErrorRecorder errors;
    auto picture = Picture(200, 100);
    EXPECT_EQ(app->PrintSurface(*picture, true, true, 0), PIM_OK);
    const std::vector<std::string> expected = {
        "Open dialog landscape", "StartDoc Printout", "StartPage",
        "Draw 200x100x24 at 50,25 1900x950 busy", // the landscape page is 2000 x 1000
        "EndPage", "EndDoc", "Close"};
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(GetCursor(), PIM_CURSOR_HAND);
    // The caller's picture is left as it was.
    EXPECT_EQ(picture->GetDepth(), 16);
}

TEST_F(Printing, EachFailingStepIsReportedAsError19WithItsName)
{
    struct Case
    {
        const char* failAt;
        const char* message;
        size_t stepsTaken; // Close included
    };
    const Case cases[] = {
        {"Open", "GetPrinterDC() Failed", 2},  {"StartDoc", "StartDoc() Failed!", 3},
        {"StartPage", "StartPage() Failed!", 4}, {"Draw", "EndPage() Failed!", 5},
        {"EndPage", "EndPage() Failed!", 6},    {"EndDoc", "EndPage() Failed!", 7},
    };
    auto picture = Picture(20, 10);
    for (const Case& c : cases) {
        std::vector<std::string> steps;
        app->SetPrinter(std::make_unique<FakePrinter>(steps, c.failAt));
        ErrorRecorder errors;
        TraceRecorder trace;
        SetCursor(PIM_CURSOR_ARROW);
        EXPECT_EQ(app->PrintSurface(*picture, false, false, 0), PIM_ERR_PRINTER) << c.failAt;
        ASSERT_EQ(errors.errors.size(), 1u) << c.failAt;
        EXPECT_EQ(errors.errors[0].code, PIM_ERR_PRINTER);
        EXPECT_EQ(errors.errors[0].message, c.message);
        ASSERT_EQ(steps.size(), c.stepsTaken) << c.failAt;
        EXPECT_EQ(steps.back(), "Close") << "the printer is let go of after a failure too";
        EXPECT_EQ(GetCursor(), PIM_CURSOR_ARROW);
        bool why = false;
        for (const std::string& line : trace.lines)
            why = why || line.find(std::string("the fake refused ") + c.failAt) != std::string::npos;
        EXPECT_TRUE(why) << c.failAt;
    }
    // A picture with no pixels never reaches the printer.
    std::vector<std::string> steps;
    app->SetPrinter(std::make_unique<FakePrinter>(steps, ""));
    ErrorRecorder errors;
    CxDrawSurface empty;
    EXPECT_EQ(app->PrintSurface(empty, false, false, 0), PIM_ERR_BAD_ARG);
    EXPECT_TRUE(steps.empty());
}

TEST_F(Printing, WithoutAPrinterPagesAreSavedAsNumberedPicturesAndThePlayerIsTold)
{
    const std::string prints = folder / "data/PrintTest/prints";
    app->SetPrintFolder(prints); // its folders are made as needed
    app->SetPrinter(std::make_unique<CxFilePrinter>(prints));
    // An earlier printout is never replaced.
    std::filesystem::create_directories(prints);
    folder.Write("data/PrintTest/prints/Printout-001.png", "earlier");
    ErrorRecorder errors;
    TraceRecorder trace;
    auto picture = Picture(80, 60);
    ASSERT_EQ(app->PrintSurface(*picture, false, false, 0), PIM_OK);
    ASSERT_EQ(app->PrintSurface(*picture, true, false, 0), PIM_OK);
    EXPECT_TRUE(errors.errors.empty()) << errors.errors[0].message;
    EXPECT_EQ(folder.Read("data/PrintTest/prints/Printout-001.png"), "earlier");

    CxDrawSurface portrait, landscape;
    ASSERT_EQ(portrait.Load(("<DEFAULT>" + prints + "/Printout-002.png").c_str()), PIM_OK);
    ASSERT_EQ(landscape.Load(("<DEFAULT>" + prints + "/Printout-003.png").c_str()), PIM_OK);
    EXPECT_EQ(portrait.GetSize(), CxSize(827, 1169));
    EXPECT_EQ(landscape.GetSize(), CxSize(1169, 827));
    // The paper is white and the picture sits in its middle.
    EXPECT_EQ(portrait.GetRed(5, 5), 255);
    EXPECT_EQ(portrait.GetBlue(5, 5), 255);
    EXPECT_EQ(portrait.GetRed(413, 584), 0);
    EXPECT_GE(portrait.GetBlue(413, 584), 248);
    EXPECT_EQ(landscape.GetRed(584, 413), 0);

    // Each saved page was traced with where it went.
    int told = 0;
    for (const std::string& line : trace.lines)
        if (line.rfind("Printout: There is no printer", 0) == 0 && line.find(prints + "/Printout-00") != std::string::npos)
            ++told;
    EXPECT_EQ(told, 2);
}

TEST_F(Printing, TheNumberingSkipsTakenNamesAndTheFolderMustBeMakeable)
{
    const std::string prints = folder / "p";
    std::filesystem::create_directories(prints);
    folder.Write("p/Printout-002.png", "x");
    EXPECT_EQ(CxFilePrinter::NextFreeName("<DEFAULT>" + prints), "<DEFAULT>" + prints + "/Printout-001.png");
    folder.Write("p/Printout-001.png", "x");
    EXPECT_EQ(CxFilePrinter::NextFreeName("<DEFAULT>" + prints), "<DEFAULT>" + prints + "/Printout-003.png");

    // A folder that cannot be made is the printer that could not be had.
    folder.Write("file", "not a folder");
    app->SetPrinter(std::make_unique<CxFilePrinter>(folder / "file/prints"));
    ErrorRecorder errors;
    auto picture = Picture(8, 8);
    EXPECT_EQ(app->PrintSurface(*picture, false, false, 0), PIM_ERR_PRINTER);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].message, "GetPrinterDC() Failed");
}

namespace {

// Fake `lp` and `lpstat` first on $PATH for the life of the object.
class FakePrintingService
{
public:
    FakePrintingService(const TempFolder& folder, const std::string& lpstatSays, int lpExit)
        : m_folder(folder), m_oldPath(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        Script("bin/lpstat", "#!/bin/sh\necho '" + lpstatSays + "'\n");
        // lp notes its arguments, one a line, and whether the page was there.
        Script("bin/lp", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; last=\"$a\"; done > '" + (folder / "lp-args") +
                             "'\n[ -s \"$last\" ] && echo page > '" + (folder / "lp-page") +
                             "'\necho 'request id is Office-7 (1 file(s))'\nexit " + std::to_string(lpExit) + "\n");
        setenv("PATH", ((folder / "bin") + ":" + m_oldPath).c_str(), 1);
    }
    ~FakePrintingService() { setenv("PATH", m_oldPath.c_str(), 1); }

private:
    void Script(const std::string& name, const std::string& text)
    {
        const std::string path = m_folder.Write(name, text);
        chmod(path.c_str(), 0755);
    }
    const TempFolder& m_folder;
    std::string m_oldPath;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

TEST_F(Printing, TheSystemsDefaultPrinterGetsThePageThroughLp)
{
    FakePrintingService service(folder, "system default destination: Office_Laser", 0);
    ErrorRecorder errors;
    auto picture = Picture(64, 48);
    ASSERT_EQ(app->PrintSurface(*picture, false, false, 0), PIM_OK);
    EXPECT_TRUE(errors.errors.empty());
    const std::vector<std::string> args = Lines(folder.Read("lp-args"));
    ASSERT_EQ(args.size(), 8u);
    const std::vector<std::string> head(args.begin(), args.end() - 1);
    EXPECT_EQ(head, (std::vector<std::string>{"-d", "Office_Laser", "-t", "Printout", "-o", "fit-to-page", "--"}));
    EXPECT_EQ(folder.Read("lp-page"), "page\n");
    // The page was handed over; the temporary copy is gone.
    EXPECT_FALSE(std::filesystem::exists(args.back()));
    EXPECT_NE(args.back().find(".png"), std::string::npos);
}

TEST_F(Printing, AFailingLpIsAFailedPageAndNoDefaultPrinterMeansAFile)
{
    {
        FakePrintingService service(folder, "system default destination: Office_Laser", 1);
        ErrorRecorder errors;
        auto picture = Picture(8, 8);
        EXPECT_EQ(app->PrintSurface(*picture, false, false, 0), PIM_ERR_PRINTER);
        ASSERT_EQ(errors.errors.size(), 1u);
        EXPECT_EQ(errors.errors[0].message, "EndPage() Failed!");
    }
    std::filesystem::remove(folder / "lp-page");
    {
        FakePrintingService service(folder, "no system default destination", 0);
        app->SetPrintFolder(folder / "saved");
        ErrorRecorder errors;
        auto picture = Picture(8, 8);
        EXPECT_EQ(app->PrintSurface(*picture, false, false, 0), PIM_OK);
        EXPECT_TRUE(std::filesystem::exists(folder / "saved/Printout-001.png"));
        EXPECT_FALSE(std::filesystem::exists(folder / "lp-page"));
    }
}
