// Engine-drawn cursors: registration and the key, selection with and
// without custom cursors, drawing with its save-under, animation.
#include "PIM/core/CxMemory.h"
#include "PIM/display/CxCursorImage.h"
#include "tests/display/CursorTestSupport.h"
#include "tests/support/Recorders.h"

#include <utility>
#include <vector>

namespace {

constexpr uint16_t kBackground = 0x2945; // a dark grey no cursor pixel has
constexpr uint16_t kWhite565 = 0xFFFF;
constexpr uint16_t kBlack565 = 0x0000;

std::vector<std::pair<int, bool>> g_hookCalls;

void RecordHook(int id, bool visible)
{
    g_hookCalls.emplace_back(id, visible);
}

// An 8-bit picture of one palette index, with `key` as its transparent colour.
CxDrawSurface* MakeIndexed(int32_t width, int32_t height, uint8_t fill, uint32_t key)
{
    auto* surface = new CxDrawSurface;
    EXPECT_EQ(surface->Create(width, height, 8), PIM_OK);
    surface->FillRect(surface->GetRect(), fill);
    surface->SetTransparentColour(key);
    return surface;
}

// A 5-6-5 strip of `frames` frames, frame i filled with colours[i].
CxDrawSurface* MakeStrip(int32_t frameWidth, int32_t height, std::vector<uint16_t> colours)
{
    auto* surface = new CxDrawSurface;
    const int32_t frames = static_cast<int32_t>(colours.size());
    EXPECT_EQ(surface->Create(frameWidth * frames, height, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    for (int32_t i = 0; i < frames; ++i)
        surface->FillRect(CxRect::FromSize(CxPoint(i * frameWidth, 0), CxSize(frameWidth, height)), colours[i]);
    return surface;
}

bool FailEverything(size_t)
{
    return true;
}

class Cursors : public CursorFixture
{
protected:
    void TearDown() override
    {
        CursorFixture::TearDown();
        g_hookCalls.clear();
    }
};

} // namespace

TEST_F(Cursors, BuiltinCursorsAreConvertedWithTheirKeyAndHotSpots)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    EXPECT_TRUE(UsesCustomCursors());
    EXPECT_EQ(CountCursors(), 4);
    EXPECT_EQ(GetCursor(), PIM_CURSOR_ARROW);

    const struct
    {
        int id;
        CxSize size;
        CxPoint hot;
    } expected[] = {{0, {11, 20}, {0, 0}}, {1, {13, 24}, {6, 10}}, {2, {7, 16}, {3, 7}}, {3, {18, 20}, {8, 10}}};
    for (const auto& e : expected) {
        const CxCursorImage* image = FindCursor(e.id);
        ASSERT_NE(image, nullptr) << e.id;
        CxDrawSurface& picture = *image->GetSurface();
        EXPECT_EQ(image->GetFrameSize(), e.size) << e.id;
        EXPECT_EQ(image->GetHotSpot(), e.hot) << e.id;
        EXPECT_EQ(picture.GetDepth(), 16) << e.id;
        EXPECT_EQ(picture.GetPixelLayout(), PIM_LAYOUT_565) << e.id;
        // The key became the converted magenta: unique, and only black and
        // white remain besides it.
        const uint32_t key = picture.GetTransparentColour();
        EXPECT_EQ(key, 0xF81Fu) << e.id;
        const int keyed = CountValue(picture, picture.GetRect(), key);
        const int drawn = CountValue(picture, picture.GetRect(), kBlack565) +
                          CountValue(picture, picture.GetRect(), kWhite565);
        EXPECT_GT(keyed, 0) << e.id;
        EXPECT_GT(drawn, 0) << e.id;
        EXPECT_EQ(keyed + drawn, e.size.width * e.size.height) << e.id;
        // The hot spot is on a drawn pixel, where a click would be aimed.
        EXPECT_NE(picture.GetPixel(e.hot.x, e.hot.y), key) << e.id;
    }
    CxPoint hot;
    EXPECT_EQ(CreateBuiltinCursor(4, hot), nullptr) << "there are four";
}

TEST_F(Cursors, RegisteringFollowsTheKeyPixelAndKeepsAlphaCursors)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    {
        ErrorRecorder errors;
        EXPECT_EQ(RegisterCursor(nullptr, 9, 0, 0), PIM_ERR_BAD_ARG);
        ASSERT_EQ(errors.errors.size(), 1u);
    }

    // Palette index 7 is the key and is used: it follows that pixel.
    CxDrawSurface* keyed = MakeIndexed(4, 4, 3, 7);
    keyed->SetPixel(2, 1, 7);
    ASSERT_EQ(RegisterCursor(keyed, 10, 1, 1), PIM_OK);
    const CxCursorImage* image = FindCursor(10);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetSurface()->GetDepth(), 16);
    EXPECT_EQ(image->GetSurface()->GetTransparentColour(), image->GetSurface()->GetPixel(2, 1));
    EXPECT_NE(image->GetSurface()->GetTransparentColour(), image->GetSurface()->GetPixel(0, 0));

    // A key no pixel has gives no key at all, not whatever a stray position holds.
    ASSERT_EQ(RegisterCursor(MakeIndexed(4, 4, 3, 7), 11, 0, 0), PIM_OK);
    EXPECT_EQ(FindCursor(11)->GetSurface()->GetTransparentColour(), PIM_NO_KEY);

    // 32-bit cursors keep their alpha and need no key...
    auto* alpha = new CxDrawSurface;
    ASSERT_EQ(alpha->Create(6, 6, 32), PIM_OK);
    alpha->SetTransparentColour(0);
    ASSERT_EQ(RegisterCursor(alpha, 12, 0, 0), PIM_OK);
    EXPECT_EQ(FindCursor(12)->GetSurface()->GetDepth(), 32);
    EXPECT_EQ(FindCursor(12)->GetSurface()->GetTransparentColour(), PIM_NO_KEY);
    // ...unless alpha is not allowed.
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565, false), PIM_OK);
    auto* flat = new CxDrawSurface;
    ASSERT_EQ(flat->Create(6, 6, 32), PIM_OK);
    ASSERT_EQ(RegisterCursor(flat, 12, 0, 0), PIM_OK);
    EXPECT_EQ(FindCursor(12)->GetSurface()->GetDepth(), 16);

    // A frame count that does not divide the width is one frame.
    ASSERT_EQ(RegisterCursor(MakeStrip(5, 3, {1, 2, 3}), 13, 0, 0, 2, 10.0f), PIM_OK);
    EXPECT_EQ(FindCursor(13)->GetFrameCount(), 1);
    EXPECT_EQ(FindCursor(13)->GetFrameSize(), CxSize(15, 3));
}

TEST_F(Cursors, ReplacingAndUnregisteringKeepTheSelectionConsistent)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    SetCursor(1);
    EXPECT_EQ(GetCursor(), 1);
    SetCursor(77); // unknown: the current image stays
    EXPECT_EQ(GetCursor(), 1);

    // A new picture under the current id is what is drawn from now on.
    ASSERT_EQ(RegisterCursor(MakeStrip(4, 4, {0x1234}), 1, 0, 0), PIM_OK);
    EXPECT_EQ(CountCursors(), 4);
    CxDrawSurface back;
    Create565(back, 40, 30, kBackground);
    SetCursorPosition(CxPoint(10, 10));
    EXPECT_EQ(DrawCursorInto(back), CxRect(10, 10, 13, 13));
    EXPECT_EQ(back.GetPixel(11, 11), 0x1234u);
    RestoreUnderCursor(back);

    SetDefaultCursor(1);
    UnregisterCursor(1);
    EXPECT_EQ(FindCursor(1), nullptr);
    EXPECT_EQ(GetDefaultCursor(), PIM_CURSOR_ARROW);
    EXPECT_TRUE(DrawCursorInto(back).IsEmpty()) << "the removed image must not be drawn";
    UnregisterCursor(1); // twice is harmless
    EXPECT_EQ(CountCursors(), 3);

    // Out of memory: nothing registered, nothing lost, the picture freed.
    CxDrawSurface* strip = MakeStrip(4, 4, {1});
    SetAllocationFailHook(&FailEverything);
    ErrorRecorder errors;
    EXPECT_EQ(RegisterCursor(strip, 20, 0, 0), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(CountCursors(), 3);
    EXPECT_EQ(FindCursor(20), nullptr);
}

TEST_F(Cursors, SystemCursorsGoThroughTheHookAndHidingNests)
{
    SetSystemCursorHook(&RecordHook);
    ASSERT_EQ(InitCursors(false, 16, PIM_LAYOUT_565), PIM_OK);
    EXPECT_FALSE(UsesCustomCursors());
    EXPECT_EQ(CountCursors(), 0);
    g_hookCalls.clear();

    SetCursor(PIM_CURSOR_HAND);
    SetCursor(PIM_CURSOR_HAND); // unchanged: not repeated
    HideCursor();
    HideCursor();
    SetCursor(PIM_CURSOR_TEXT); // chosen while hidden: shown later
    ShowCursor();
    ShowCursor();
    ShowCursor(); // one show too many banks nothing
    HideCursor();
    using Calls = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(g_hookCalls, (Calls{{PIM_CURSOR_HAND, true},
                                  {PIM_CURSOR_HAND, false},
                                  {PIM_CURSOR_TEXT, true},
                                  {PIM_CURSOR_TEXT, false}}));
    EXPECT_EQ(GetCursorHideCount(), 1);
    EXPECT_FALSE(IsCursorDirty()) << "nothing for a screen to present";

    // Custom cursors hide the system's, and shutting them down gives it back.
    g_hookCalls.clear();
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    ShutdownCursors();
    EXPECT_EQ(g_hookCalls, (Calls{{PIM_CURSOR_ARROW, false}, {PIM_CURSOR_ARROW, true}}));
}

TEST_F(Cursors, DrawingSavesAndRestoresOnlyInsideTheBackBuffer)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    CxDrawSurface back, clean;
    Create565(back, 64, 48, kBackground);
    Create565(clean, 64, 48, kBackground);
    EXPECT_TRUE(IsCursorDirty());

    SetCursorPosition(CxPoint(20, 10));
    const CxRect drawn = DrawCursorInto(back);
    EXPECT_EQ(drawn, CxRect(20, 10, 30, 29));
    EXPECT_FALSE(IsCursorDirty());
    EXPECT_EQ(back.GetPixel(20, 10), kBlack565) << "the arrow's tip is at the hot spot";
    EXPECT_EQ(back.GetPixel(30, 10), kBackground) << "the key is not drawn";
    EXPECT_EQ(CountDifferences(back, clean, back.GetRect()), CountDifferences(back, clean, drawn));

    // Drawing again without a restore (a present that went wrong) must not
    // save the cursor as if it were the picture.
    SetCursorPosition(CxPoint(24, 14));
    EXPECT_TRUE(IsCursorDirty());
    DrawCursorInto(back);
    RestoreUnderCursor(back);
    EXPECT_EQ(CountDifferences(back, clean, back.GetRect()), 0) << "a ghost cursor stayed";
    RestoreUnderCursor(back); // nothing saved: nothing changes
    EXPECT_EQ(CountDifferences(back, clean, back.GetRect()), 0);

    // At the edges the rectangle is clipped, for the save and the draw.
    SetCursor(PIM_CURSOR_WAIT); // 13 x 24, hot spot (6, 10)
    SetCursorPosition(CxPoint(60, 45));
    EXPECT_EQ(DrawCursorInto(back), CxRect(54, 35, 63, 47));
    RestoreUnderCursor(back);
    SetCursorPosition(CxPoint(2, 3));
    EXPECT_EQ(DrawCursorInto(back), CxRect(0, 0, 8, 16));
    RestoreUnderCursor(back);
    SetCursorPosition(CxPoint(-40, 5));
    EXPECT_TRUE(DrawCursorInto(back).IsEmpty());
    EXPECT_EQ(CountDifferences(back, clean, back.GetRect()), 0);

    // Another surface than the one saved from is never written by a restore.
    SetCursorPosition(CxPoint(30, 30));
    DrawCursorInto(back);
    CxDrawSurface other;
    Create565(other, 64, 48, 0x0841);
    RestoreUnderCursor(other);
    EXPECT_EQ(CountValue(other, other.GetRect(), 0x0841), 64 * 48);
    RestoreUnderCursor(back);

    HideCursor();
    EXPECT_TRUE(DrawCursorInto(back).IsEmpty());
    ShowCursor();
    EXPECT_FALSE(DrawCursorInto(back).IsEmpty());
    RestoreUnderCursor(back);
    EXPECT_EQ(CountDifferences(back, clean, back.GetRect()), 0);
}

TEST_F(Cursors, AlphaCursorsBlendAndOtherDepthsGetTheirOwnSaveUnder)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    auto* alpha = new CxDrawSurface;
    ASSERT_EQ(alpha->Create(4, 4, 32), PIM_OK);
    alpha->FillRect(alpha->GetRect(), 0x00FFFFFFu);     // invisible white
    alpha->FillRect(CxRect(0, 0, 1, 3), 0xFF000000u); // opaque black left half
    ASSERT_EQ(RegisterCursor(alpha, 30, 0, 0), PIM_OK);
    SetCursor(30);

    // A 32-bit back buffer (a screen of another depth than announced).
    CxDrawSurface back;
    ASSERT_EQ(back.Create(8, 8, 32), PIM_OK);
    back.FillRect(back.GetRect(), 0xFF204060u);
    SetCursorPosition(CxPoint(2, 2));
    EXPECT_EQ(DrawCursorInto(back), CxRect(2, 2, 5, 5));
    EXPECT_EQ(back.GetPixel(2, 2) & 0xFFFFFFu, 0u);
    EXPECT_EQ(back.GetPixel(4, 2), 0xFF204060u) << "alpha 0 leaves the picture";
    RestoreUnderCursor(back);
    EXPECT_EQ(CountValue(back, back.GetRect(), 0xFF204060u), 64);
}

TEST_F(Cursors, AnimatedCursorsStepOnTheClock)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    // Three frames at 10 a second: 100 ms each.
    ASSERT_EQ(RegisterCursor(MakeStrip(3, 3, {0x1111, 0x2222, 0x3333}), 40, 1, 1, 3, 10.0f), PIM_OK);
    const CxCursorImage* image = FindCursor(40);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFramePeriod(), 100u);
    SetCursor(40);
    SetCursorPosition(CxPoint(5, 5));
    CxDrawSurface back;
    Create565(back, 16, 16, kBackground);

    auto frameShown = [&] {
        DrawCursorInto(back);
        const uint32_t pixel = back.GetPixel(5, 5);
        RestoreUnderCursor(back);
        return pixel;
    };
    EXPECT_EQ(frameShown(), 0x1111u);
    EXPECT_FALSE(IsCursorDirty());
    m_clock.Advance(99);
    EXPECT_FALSE(IsCursorDirty());
    EXPECT_EQ(frameShown(), 0x1111u);
    m_clock.Advance(1);
    EXPECT_TRUE(IsCursorDirty()) << "a due frame needs presenting";
    EXPECT_EQ(frameShown(), 0x2222u);
    EXPECT_FALSE(IsCursorDirty());
    m_clock.Advance(100);
    EXPECT_EQ(frameShown(), 0x3333u);
    // A long pause steps once, not once per missed period.
    m_clock.Advance(1000);
    EXPECT_EQ(frameShown(), 0x1111u);
    EXPECT_EQ(image->GetFrame(), 0);
    // Hidden, it is not due for presenting.
    HideCursor();
    EXPECT_TRUE(DrawCursorInto(back).IsEmpty());
    m_clock.Advance(500);
    EXPECT_FALSE(IsCursorDirty());
}
