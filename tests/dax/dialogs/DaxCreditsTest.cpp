// The credits roll: the text cut into lines and laid out in a bounded
// picture, the roll built from its keys, run modally on the virtual clock
// until the text has passed the top or a key or click ends it, and the
// files and numbers of a bad configuration.
#include "DAX/dialogs/CDaxCreditsDialog.h"
#include "DAX/dialogs/CDaxCreditsRoll.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxTimerManager.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/text/CxFont.h"
#include "tests/support/BlockFont.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

// Blocks of 10 pixels filled with the text colour, so that widths and
// positions can be counted; the live ones are counted too.
class CountedBlockFont : public BlockFont
{
public:
    static inline int alive = 0;
    CountedBlockFont() : BlockFont(10) { ++alive; }
    ~CountedBlockFont() override { --alive; }
};

CxFont* MakeBlockFont(const char*)
{
    return new CountedBlockFont;
}

// "<name>_<w>x<h>.pic": a 16-bit picture of that size, coloured 7 with
// (0, 0) coloured 5; "missing.pic" does not load.
int LoadGenerated(CxDrawSurface& surface, const char* fileName, int)
{
    int width = 0, height = 0;
    const char* size = std::strrchr(fileName, '_');
    if (!size || std::sscanf(size + 1, "%dx%d", &width, &height) != 2)
        return surface.SetError(PIM_ERR_OPEN, "no such picture: %s", fileName);
    if (surface.Create(width, height, 16) != PIM_OK)
        return surface.GetError();
    surface.FillRect(surface.GetRect(), 7);
    surface.SetPixel(0, 0, 5);
    return PIM_OK;
}

struct ST_LOOP
{
    CxVirtualClock* clock = nullptr;
    uint32_t period = 100;
    int frames = 0;
    std::function<void(int frame)> atFrame;
};

// One frame: the scroll period passes and the timers are polled.
int Frame(void* context)
{
    auto* loop = static_cast<ST_LOOP*>(context);
    ++loop->frames;
    loop->clock->Advance(loop->period);
    if (CxTimerManager* timers = CxTimerManager::GetInstance())
        timers->OnMainLoop();
    if (loop->atFrame)
        loop->atFrame(loop->frames);
    return loop->frames > 100000 ? 1 : 0; // a roll that never ends fails the test, not the run
}

class Credits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PimSetClock(&m_clock);
        ASSERT_EQ(InitDisplay(CxSize(800, 600), 1), PIM_OK);
        ASSERT_EQ(CreateDefaultFont(), PIM_OK);
        RegisterDefaultImageFilters();
        ASSERT_EQ(RegisterImageFilter(".pic", &LoadGenerated, nullptr), PIM_OK);
        ASSERT_EQ(RegisterFontFilter(".blk", &MakeBlockFont), PIM_OK);
        m_loop.clock = &m_clock;
        SetModalLoop(ST_MODAL_LOOP{&Frame, nullptr, nullptr, 1000, &m_loop});
    }
    void TearDown() override
    {
        ResetModalLoop();
        ShutdownDisplay();
        PimSetClock(nullptr);
    }
    // A "Credits" section of `keys` ("Key=value" lines), TextFile set to
    // a file holding `text` (none when `text` is null).
    CxOptions& Options(const std::string& keys, const char* text = nullptr)
    {
        std::string ini = "[Credits]\r\n" + keys;
        if (text)
            ini += "\r\nTextFile=" + m_folder.Write("credits.txt", text);
        EXPECT_EQ(m_options.ReadFromBuffer(ini.data(), ini.size()), PIM_OK);
        return m_options;
    }
    static std::string Lines(int count, const std::string& line)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += line + "\n";
        return text;
    }
    // Runs the dialog modally; the frames it took.
    int Run(CDaxCreditsDialog& dialog)
    {
        dialog.AttachToRoot();
        dialog.Show();
        m_loop.frames = 0;
        EXPECT_EQ(dialog.DoModal(), PIM_OK);
        return m_loop.frames;
    }
    // True when row `y` of `surface` holds some pixel other than its key.
    static bool RowHasText(CxDrawSurface& surface, int32_t y)
    {
        const uint32_t key = surface.GetPixel(0, 0);
        for (int32_t x = 0; x < surface.GetWidth(); ++x)
            if (surface.GetPixel(x, y) != key)
                return true;
        return false;
    }

    CxVirtualClock m_clock{5000};
    ST_LOOP m_loop;
    TempFolder m_folder;
    CxOptions m_options;
    ErrorRecorder m_errors;
    TraceRecorder m_trace;
};

} // namespace

// --- the text and its layout -------------------------------------------------------------------

TEST(CreditsRoll, LinesAreCutOnceTheSameForMeasuringAndDrawing)
{
    CDaxCreditsRoll roll;
    // Carriage returns and zero bytes go, tabs become four blanks, a last
    // line without a line feed counts, a final line feed makes no line.
    const char text[] = "A\tB\r\n\nC\0D\nlast";
    ASSERT_EQ(roll.SetText(text, sizeof text - 1), PIM_OK);
    ASSERT_EQ(roll.GetLineCount(), 4);
    EXPECT_STREQ(roll.GetLine(0), "A    B");
    EXPECT_STREQ(roll.GetLine(1), "");
    EXPECT_STREQ(roll.GetLine(2), "CD");
    EXPECT_STREQ(roll.GetLine(3), "last");
    EXPECT_STREQ(roll.GetLine(4), "");
    EXPECT_STREQ(roll.GetLine(-1), "");
    ASSERT_EQ(roll.SetText("x\n", 2), PIM_OK);
    EXPECT_EQ(roll.GetLineCount(), 1);

    // A line over 254 bytes goes on in the next line, never cutting a
    // character in two; one of exactly 254 makes no empty line after it.
    const std::string long600(600, 'w');
    ASSERT_EQ(roll.SetText(long600.data(), long600.size()), PIM_OK);
    ASSERT_EQ(roll.GetLineCount(), 3);
    EXPECT_EQ(std::strlen(roll.GetLine(0)), 254u);
    EXPECT_EQ(std::strlen(roll.GetLine(2)), 92u);
    const std::string accented = std::string(253, 'a') + "\xC3\xA9" + "b\n" + std::string(254, 'c') + "\n";
    ASSERT_EQ(roll.SetText(accented.data(), accented.size()), PIM_OK);
    ASSERT_EQ(roll.GetLineCount(), 3);
    EXPECT_EQ(std::strlen(roll.GetLine(0)), 253u);
    EXPECT_STREQ(roll.GetLine(1), "\xC3\xA9" "b");
    EXPECT_EQ(std::strlen(roll.GetLine(2)), 254u);

    // What is measured is what is drawn: the 254-byte piece, centred.
    CountedBlockFont font;
    ASSERT_EQ(roll.SetText(long600.data(), long600.size()), PIM_OK);
    const ST_CREDITS_LAYOUT layout = roll.Measure(&font, 0, 4, 16);
    EXPECT_EQ(layout.widestLine, 2540);
    EXPECT_EQ(layout.width, 2550);
    CxDrawSurface* picture = roll.CreatePicture(layout, &font, 0, 0x00FFFFFF);
    ASSERT_NE(picture, nullptr);
    const uint32_t key = picture->GetPixel(0, 0);
    EXPECT_EQ(picture->GetPixel(4, 5), key);
    EXPECT_NE(picture->GetPixel(5, 5), key);
    EXPECT_NE(picture->GetPixel(2544, 5), key);
    EXPECT_EQ(picture->GetPixel(2545, 5), key);
    // The 92-byte rest, centred: from (2550 - 920) / 2.
    EXPECT_EQ(picture->GetPixel(814, 2 * 28 + 5), key);
    EXPECT_NE(picture->GetPixel(815, 2 * 28 + 5), key);
    delete picture;
}

TEST(CreditsRoll, LayoutIsBoundedWhateverTheLines)
{
    const int32_t widths[] = {100, -50, 300, 0};
    ST_CREDITS_LAYOUT layout = CDaxCreditsRoll::ComputeLayout(widths, 4, 4, 16);
    EXPECT_EQ(layout.width, 310);
    EXPECT_EQ(layout.height, 4 * 28 + 100);
    EXPECT_EQ(layout.lineCount, 4);
    // Ten lines at spacing 4: 380 high.
    const int32_t ten[10] = {};
    EXPECT_EQ(CDaxCreditsRoll::ComputeLayout(ten, 10, 4, 16).height, 380);
    EXPECT_EQ(CDaxCreditsRoll::ComputeLayout(ten, 10, 4, 16).width, 10);
    EXPECT_EQ(CDaxCreditsRoll::ComputeLayout(nullptr, 10, 4, 16).height, 100);

    // Too wide, too many, too far apart: the width is capped, and the byte
    // budget decides how many lines a picture that wide and deep holds.
    static int32_t huge[3000];
    for (int32_t& w : huge)
        w = 100000;
    layout = CDaxCreditsRoll::ComputeLayout(huge, 3000, 1000000, 32);
    EXPECT_EQ(layout.width, DAX_CREDITS_MAX_WIDTH);
    EXPECT_EQ(layout.linePitch, 24 + 1000);
    EXPECT_LE(int64_t{layout.width} * layout.height * 4, DAX_CREDITS_MAX_PICTURE_BYTES);
    EXPECT_GT(layout.lineCount, 0);
    static int32_t narrow[3000];
    layout = CDaxCreditsRoll::ComputeLayout(narrow, 3000, 4, 16);
    EXPECT_EQ(layout.lineCount, DAX_CREDITS_MAX_LINES);
    // A spacing that would fold the lines onto each other keeps a pitch of 1.
    EXPECT_EQ(CDaxCreditsRoll::ComputeLayout(ten, 10, -500, 16).linePitch, 1);
    // Depths a picture cannot have are 16.
    EXPECT_EQ(CDaxCreditsRoll::ComputeLayout(ten, 10, 4, 12).depth, 16);

    int32_t next = 0;
    EXPECT_TRUE(CDaxCreditsRoll::NextScrollTop(300, 3, 380, next));
    EXPECT_EQ(next, 297);
    EXPECT_TRUE(CDaxCreditsRoll::NextScrollTop(-376, 3, 380, next));
    EXPECT_EQ(next, -379);
    EXPECT_FALSE(CDaxCreditsRoll::NextScrollTop(-377, 3, 380, next));
}

TEST(CreditsRoll, BadNumbersFromTheKeysArePutRight)
{
    TraceRecorder trace;
    CxOptions options;
    const char ini[] = "[Credits]\nScrollPixelsPerInterval=-3\nScrollTimeInterval=0\nTextSpacing=-900\n"
                       "Depth=12\nFontPointSize=99999\nFontColor=10, 20\n";
    ASSERT_EQ(options.ReadFromBuffer(ini, sizeof ini - 1), PIM_OK);
    ST_CREDITS_SETTINGS s = CDaxCreditsRoll::ReadSettings(options);
    EXPECT_EQ(s.scrollPixels, 3);
    EXPECT_EQ(s.scrollPeriod, 100);
    EXPECT_EQ(s.textSpacing, -23);
    EXPECT_EQ(s.depth, 16);
    EXPECT_EQ(s.pointSize, 512);
    EXPECT_EQ(s.fontColour, PIM_NO_COLOUR);
    EXPECT_GE(trace.lines.size(), 6u);

    const char good[] = "[Credits]\nScrollTimeInterval=-40\nScrollPixelsPerInterval=999999\nDepth=8\n"
                        "FontColor=10, 20, 300\nMask1=a.pic\nMask1Position=30,40\n";
    ASSERT_EQ(options.ReadFromBuffer(good, sizeof good - 1), PIM_OK);
    s = CDaxCreditsRoll::ReadSettings(options);
    EXPECT_EQ(s.scrollPeriod, 100);
    EXPECT_EQ(s.scrollPixels, 10000);
    EXPECT_EQ(s.depth, 8);
    EXPECT_EQ(s.fontColour, 0x000A14FFu);
    // The second overlay sits on the first unless told otherwise.
    EXPECT_EQ(s.maskPositions[1], CxPoint(30, 40));
    const ST_CREDITS_SETTINGS defaults = CDaxCreditsRoll::ReadSettings(options, "None");
    EXPECT_EQ(defaults.scrollPixels, 3);
    EXPECT_EQ(defaults.maskPositions[1], CxPoint(0, 0));
}

// --- the dialog ------------------------------------------------------------------------------------

TEST_F(Credits, TenLinesMakeAPicture380HighThatStartsMidScreen)
{
    const std::string text = "The Farm\n\tBy us\n\nA\nB\nC\nD\nE\nF\nG\n";
    auto credits = std::make_unique<CDaxCreditsDialog>(Options("Font=block.blk\nFontColor=10, 20, 30", text.c_str()));
    CDaxCreditsDialog& dialog = *credits;
    EXPECT_TRUE(m_errors.errors.empty());
    const ST_CREDITS_LAYOUT& layout = dialog.GetLayout();
    EXPECT_EQ(dialog.GetRoll().GetLineCount(), 10);
    EXPECT_EQ(layout.height, 380);
    EXPECT_EQ(layout.width, 9 * 10 + 10); // "    By us", its tab four blanks
    CxSprite& sprite = dialog.GetTextSprite();
    CxDrawSurface* picture = sprite.GetSurface();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetDepth(), 16);
    EXPECT_EQ(picture->GetPixel(0, 0), picture->MakeColour(255, 0, 255));
    EXPECT_EQ(sprite.GetTransparentColour(), picture->GetPixel(0, 0));
    EXPECT_EQ(sprite.GetPosition(), CxPoint(400 - 50, 300));
    EXPECT_EQ(sprite.GetParent(), &dialog.GetClip());
    EXPECT_EQ(dialog.GetClip().GetSize(), CxSize(800, 600));
    EXPECT_EQ(dialog.GetSize(), CxSize(800, 600)); // the empty screen for want of a background
    // Each line in its 28-pixel row, the blank one empty, in the colour asked for.
    EXPECT_TRUE(RowHasText(*picture, 5));
    EXPECT_TRUE(RowHasText(*picture, 28 + 5));
    EXPECT_FALSE(RowHasText(*picture, 2 * 28 + 5));
    EXPECT_FALSE(RowHasText(*picture, 25));
    EXPECT_TRUE(RowHasText(*picture, 9 * 28 + 5));
    EXPECT_FALSE(RowHasText(*picture, 10 * 28 + 5));
    EXPECT_GT(picture->CountPixelsOfValue(picture->MakeColour(10, 20, 30)), 0);

    // The font named is released with the dialog; the default one stays.
    EXPECT_NE(dialog.GetFontHandle(), PIM_DEFAULT_FONT);
    EXPECT_EQ(CountedBlockFont::alive, 1);
    credits.reset();
    EXPECT_EQ(CountedBlockFont::alive, 0);
    EXPECT_NE(GetDefaultFont(), nullptr);
}

TEST_F(Credits, RollEndsOnceTheTextHasPassedTheTop)
{
    CDaxCreditsDialog dialog(Options("", Lines(10, "Line").c_str()));
    ASSERT_EQ(dialog.GetLayout().height, 380);
    // (300 + 380) / 3 steps, rounded up: the 227th takes the last row past the top.
    const uint32_t start = m_clock.GetTicks();
    EXPECT_EQ(Run(dialog), 227);
    EXPECT_EQ(m_clock.GetTicks() - start, 22700u);
    EXPECT_EQ(dialog.GetTextSprite().GetPosition().y, 300 - 226 * 3);

    // Step and period come from the keys.
    CDaxCreditsDialog quick(Options("ScrollPixelsPerInterval=10\nScrollTimeInterval=50", Lines(10, "Line").c_str()));
    m_loop.period = 50;
    EXPECT_EQ(Run(quick), 68);
}

TEST_F(Credits, KeysAndAClickEndTheRollAtOnce)
{
    const uint32_t ending[] = {PIM_KEY_ENTER, PIM_KEY_ESC, PIM_KEY_SPACE, PIM_KEY_ALT | 'Q', PIM_KEY_ALT | 'q',
                               PIM_KEY_ALT | (PIM_KEY_F1 + 3)};
    for (uint32_t key : ending) {
        CDaxCreditsDialog dialog(Options("", Lines(10, "Line").c_str()));
        m_loop.atFrame = [&](int frame) {
            if (frame == 5)
                DispatchKeyDown(key, 0);
        };
        EXPECT_EQ(Run(dialog), 5) << key;
        EXPECT_EQ(dialog.GetTextSprite().GetPosition().y, 300 - 5 * 3);
    }
    // Other keys go their way; Q without Alt is no way out.
    CDaxCreditsDialog dialog(Options("", Lines(10, "Line").c_str()));
    m_loop.atFrame = [&](int frame) {
        if (frame == 3) {
            DispatchKeyDown('A', 0);
            DispatchKeyDown('Q', 0);
            DispatchKeyDown(PIM_KEY_F1 + 3, 0);
        }
        if (frame == 8)
            DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(10, 10), 1));
    };
    EXPECT_EQ(Run(dialog), 8);
}

TEST_F(Credits, MissingFilesLeaveTheirPartOutAndTheRollRuns)
{
    CDaxCreditsDialog dialog(
        Options("Background=missing.pic\nFont=nowhere.ttf\nLogo1=missing.pic\nMask1=missing.pic\n"
                "TextFile=" + m_folder / "no-such-credits.txt"));
    EXPECT_FALSE(m_errors.errors.empty());
    EXPECT_EQ(dialog.GetError(), PIM_OK); // it still runs
    EXPECT_EQ(dialog.GetSize(), CxSize(800, 600));
    EXPECT_EQ(dialog.GetFontHandle(), PIM_DEFAULT_FONT);
    EXPECT_EQ(dialog.GetRoll().GetLineCount(), 0);
    EXPECT_EQ(dialog.GetLayout().height, 100);
    EXPECT_FALSE(dialog.GetLogo(0)->IsShown());
    EXPECT_FALSE(dialog.GetMask(0)->IsShown());
    EXPECT_EQ(dialog.GetMask(0)->GetTransparentColour(), PIM_NO_COLOUR);
    m_loop.atFrame = [&](int frame) {
        if (frame == 2)
            DispatchKeyDown(PIM_KEY_SPACE, 0);
    };
    EXPECT_EQ(Run(dialog), 2);
    // Left alone, the empty roll passes in (300 + 100) / 3 steps.
    m_loop.atFrame = nullptr;
    CDaxCreditsDialog empty(Options("TextFile=" + m_folder / "no-such-credits.txt"));
    EXPECT_EQ(Run(empty), 134);
}

TEST_F(Credits, HugeTextsAndBadDepthsStayBounded)
{
    CDaxCreditsDialog many(Options("", Lines(5000, "x").c_str()));
    EXPECT_EQ(many.GetRoll().GetLineCount(), DAX_CREDITS_MAX_LINES);
    EXPECT_EQ(many.GetRoll().GetLinesCut(), 3000);
    EXPECT_EQ(many.GetLayout().height, 2000 * 28 + 100);

    CDaxCreditsDialog odd(Options("Depth=12", "x\n"));
    ASSERT_NE(odd.GetTextSprite().GetSurface(), nullptr);
    EXPECT_EQ(odd.GetTextSprite().GetSurface()->GetDepth(), 16);
    CDaxCreditsDialog deep(Options("Depth=32", "x\n"));
    CxDrawSurface* picture = deep.GetTextSprite().GetSurface();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetDepth(), 32);
    EXPECT_EQ(picture->GetPixel(0, 0), 0u);
    EXPECT_EQ(deep.GetTextSprite().GetDrawMode(), PIM_DRAW_SOURCE_ALPHA);
    CDaxCreditsDialog paletted(Options("Depth=8", "x\n"));
    ASSERT_NE(paletted.GetTextSprite().GetSurface(), nullptr);
    EXPECT_EQ(paletted.GetTextSprite().GetSurface()->GetDepth(), 8);
}

TEST_F(Credits, PictureThatCannotBeHadGivesErrorOneAndARollWithoutText)
{
    SetAllocationFailHook([](size_t size) { return size >= 100000; });
    CDaxCreditsDialog dialog(Options("", Lines(100, "A line of credits").c_str()));
    SetAllocationFailHook(nullptr);
    ASSERT_FALSE(m_errors.errors.empty());
    EXPECT_EQ(m_errors.errors.back().code, PIM_ERR_OUT_OF_MEMORY);
    EXPECT_EQ(dialog.GetTextSprite().GetSurface(), nullptr);
    EXPECT_EQ(dialog.GetTextSprite().GetHeight(), 100 * 28 + 100);
    m_loop.atFrame = [&](int frame) {
        if (frame == 4)
            DispatchKeyDown(PIM_KEY_ESC, 0);
    };
    EXPECT_EQ(Run(dialog), 4);
}

TEST_F(Credits, LogosHangFromTheFootAndMasksLieOverTheDialog)
{
    CDaxCreditsDialog dialog(Options("Background=bg_800x600.pic\nLogo1=logo_60x20.pic\nLogo2=logo_40x30.pic\n"
                                     "Mask1=frame_100x50.pic\nMask1Position=30,40\nMask2=corner_10x10.pic",
                                     Lines(10, std::string(60, 'm')).c_str()));
    for (const RecordedError& e : m_errors.errors)
        ADD_FAILURE() << e.code << " " << e.message;
    const ST_CREDITS_LAYOUT& layout = dialog.GetLayout();
    CxSprite& logo1 = *dialog.GetLogo(0);
    CxSprite& logo2 = *dialog.GetLogo(1);
    EXPECT_EQ(logo1.GetParent(), &dialog.GetTextSprite());
    EXPECT_EQ(logo1.GetAnchorPoint(PIM_ANCHOR_BOTTOM_LEFT), CxPoint(200, layout.height - 1));
    EXPECT_EQ(logo2.GetAnchorPoint(PIM_ANCHOR_BOTTOM_RIGHT), CxPoint(layout.width - 200, layout.height - 1));
    EXPECT_TRUE(logo1.IsShown());
    for (int i = 0; i < 2; ++i) {
        CxSprite& mask = *dialog.GetMask(i);
        EXPECT_EQ(mask.GetParent(), &dialog);
        EXPECT_EQ(mask.GetZ(), 1);
        EXPECT_EQ(mask.GetTransparentColour(), 5u);
        EXPECT_EQ(mask.GetPosition(), CxPoint(30, 40));
    }
    EXPECT_EQ(dialog.GetSurface()->GetWidth(), 800);
    EXPECT_EQ(dialog.GetMask(2), nullptr);

    // Building again takes the first build down.
    EXPECT_EQ(dialog.Build(Options("", "one\n")), PIM_OK);
    EXPECT_FALSE(dialog.GetLogo(0)->IsShown());
    EXPECT_EQ(dialog.GetLogo(0)->GetParent(), nullptr);
    EXPECT_EQ(dialog.GetRoll().GetLineCount(), 1);
}
