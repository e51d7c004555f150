// The SDL screens: the placement arithmetic everywhere, and on a real
// display what each screen puts in the window, the pointer's mapping at
// many window sizes, full screen and the system cursors. The suites are
// named SdlWindow... so that the run under a virtual display takes them.
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/sdl/CxSdlScreens.h"
#include "PIM/backends/sdl/CxSdlWindow.h"
#include "PIM/backends/sdl/PimKeyTranslate.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/display/PimCursors.h"
#include "tests/support/DisplayChild.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(SdlWindowPlacement, LetterboxingKeepsTheAspectAndMapsPointsToTheirPixel)
{
    const CxSize screen(320, 200);
    // Same aspect: the whole drawable.
    EXPECT_EQ(PlaceLetterboxed(screen, {640, 400}, {640, 400}).picture, CxRect(0, 0, 639, 399));
    // Too tall: bars above and below; too wide: bars left and right.
    EXPECT_EQ(PlaceLetterboxed(screen, {640, 600}, {640, 600}).picture, CxRect(0, 100, 639, 499));
    EXPECT_EQ(PlaceLetterboxed(screen, {1000, 400}, {1000, 400}).picture, CxRect(180, 0, 819, 399));
    EXPECT_TRUE(PlaceLetterboxed(screen, {0, 0}, {0, 0}).picture.IsEmpty());
    EXPECT_EQ(MapWindowPoint(PlaceLetterboxed(screen, {0, 0}, {0, 0}), screen, {5, 5}), CxPoint(-1, -1));

    // A broken scale: 333 x 211 shows 333 x 208 from row 1. The row above is
    // a bar (-1, where truncating would give 0); the far corner is the last pixel.
    const ST_SCREEN_PLACEMENT odd = PlaceLetterboxed(screen, {333, 211}, {333, 211});
    EXPECT_EQ(odd.picture, CxRect(0, 1, 332, 208));
    EXPECT_EQ(MapWindowPoint(odd, screen, {0, 0}), CxPoint(0, -1));
    EXPECT_EQ(MapWindowPoint(odd, screen, {0, 1}), CxPoint(0, 0));
    EXPECT_EQ(MapWindowPoint(odd, screen, {332, 208}), CxPoint(319, 199));
    EXPECT_EQ(MapWindowPoint(odd, screen, {332, 209}), CxPoint(319, 200));

    // High DPI: the window is 400 x 250 units over 800 x 500 pixels. A unit
    // covers two pixels and maps to the screen pixel under its centre: unit
    // 3 is at pixel 7.0, in screen pixel 2 (read as a pixel it would be 1).
    const ST_SCREEN_PLACEMENT hi = PlaceLetterboxed(screen, {400, 250}, {800, 500});
    EXPECT_EQ(hi.picture, CxRect(0, 0, 799, 499));
    EXPECT_EQ(MapWindowPoint(hi, screen, {0, 0}), CxPoint(0, 0));
    EXPECT_EQ(MapWindowPoint(hi, screen, {3, 3}), CxPoint(2, 2));
    EXPECT_EQ(MapWindowPoint(hi, screen, {399, 249}), CxPoint(319, 199));
    // Letterboxed on high DPI: 1000 x 500 pixels for 500 x 250 units.
    const ST_SCREEN_PLACEMENT bars = PlaceLetterboxed(screen, {500, 250}, {1000, 500});
    EXPECT_EQ(bars.picture, CxRect(100, 0, 899, 499));
    EXPECT_EQ(MapWindowPoint(bars, screen, {50, 0}), CxPoint(0, 0));
    EXPECT_EQ(MapWindowPoint(bars, screen, {49, 0}).x, -1);
    EXPECT_EQ(MapWindowPoint(bars, screen, {449, 0}).x, 319);
    EXPECT_EQ(MapWindowPoint(bars, screen, {450, 0}).x, 320);
}

TEST(SdlWindowPlacement, WholeMultiplesCentreAndCropSmallWindows)
{
    const CxSize screen(160, 100);
    EXPECT_EQ(PlaceWholeMultiple(screen, {160, 100}, {160, 100}).picture, CxRect(0, 0, 159, 99));
    const ST_SCREEN_PLACEMENT twice = PlaceWholeMultiple(screen, {400, 250}, {400, 250});
    EXPECT_EQ(twice.picture, CxRect(40, 25, 359, 224));
    EXPECT_EQ(MapWindowPoint(twice, screen, {40, 25}), CxPoint(0, 0));
    EXPECT_EQ(MapWindowPoint(twice, screen, {41, 26}), CxPoint(0, 0));
    EXPECT_EQ(MapWindowPoint(twice, screen, {42, 27}), CxPoint(1, 1));
    EXPECT_EQ(MapWindowPoint(twice, screen, {39, 24}), CxPoint(-1, -1));
    // Smaller than the screen: shown from the top-left, one to one.
    const ST_SCREEN_PLACEMENT small = PlaceWholeMultiple(screen, {100, 80}, {100, 80});
    EXPECT_EQ(small.picture, CxRect(0, 0, 159, 99));
    EXPECT_EQ(MapWindowPoint(small, screen, {99, 79}), CxPoint(99, 79));
}

TEST(SdlWindowPlacement, ScreenPixelsMapToWindowPointsThatMapBack)
{
    // A pointer warped to a game pixel must be read back as that pixel at
    // any window size the picture is shown at its own size or larger.
    const CxSize screen(800, 600);
    const ST_SCREEN_PLACEMENT placements[] = {
        PlaceLetterboxed(screen, {800, 600}, {800, 600}),
        PlaceLetterboxed(screen, {1280, 720}, {1280, 720}),   // bars left and right
        PlaceLetterboxed(screen, {1000, 1000}, {1000, 1000}), // bars above and below
        PlaceLetterboxed(screen, {1000, 750}, {2000, 1500}),  // high DPI
        PlaceWholeMultiple(screen, {1700, 1300}, {1700, 1300}),
    };
    for (const ST_SCREEN_PLACEMENT& placement : placements) {
        for (int32_t x = 0; x < 800; x += 37)
            for (int32_t y = 0; y < 600; y += 41) {
                const CxPoint back = MapWindowPoint(placement, screen, MapScreenPoint(placement, screen, {x, y}));
                ASSERT_EQ(back, CxPoint(x, y)) << placement.window.width << "x" << placement.window.height;
            }
        const CxPoint corner = MapWindowPoint(placement, screen, MapScreenPoint(placement, screen, {799, 599}));
        EXPECT_EQ(corner, CxPoint(799, 599));
    }
    // The bars' offset is added: pixel 0 of a 1280 x 720 window is 160 units in.
    EXPECT_EQ(MapScreenPoint(placements[1], screen, {0, 0}), CxPoint(160, 0));
    // A window smaller than the picture: neighbours share a point, within one pixel.
    const ST_SCREEN_PLACEMENT half = PlaceLetterboxed(screen, {400, 300}, {400, 300});
    const CxPoint near = MapWindowPoint(half, screen, MapScreenPoint(half, screen, {301, 433}));
    EXPECT_LE(std::abs(near.x - 301), 1);
    EXPECT_LE(std::abs(near.y - 433), 1);
    // No picture: the point is passed through rather than divided by zero.
    EXPECT_EQ(MapScreenPoint(PlaceLetterboxed(screen, {0, 0}, {0, 0}), screen, {5, 6}), CxPoint(5, 6));
}

TEST(SdlWindowPlacement, TheHeadlessWindowMakesMemoryScreens)
{
    CxHeadlessWindow window;
    std::unique_ptr<CxScreenSurface> screen(window.CreateScreen(true));
    ASSERT_NE(screen, nullptr);
    EXPECT_STREQ(screen->GetKindName(), "memory");
    EXPECT_EQ(screen->GetWindow(), &window);
    EXPECT_EQ(screen->WindowToScreen({7, 9}), CxPoint(7, 9));
}

// --- on a real display ------------------------------------------------------------------------

namespace {

// Reads messages for at most a few seconds until one matches.
template <class Match>
bool PumpUntil(CxSdlWindow& window, Match match, ST_MESSAGE* found = nullptr)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    ST_MESSAGE m;
    while (std::chrono::steady_clock::now() < end) {
        while (window.PollMessage(m)) {
            if (match(m)) {
                if (found)
                    *found = m;
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Each pixel's own colour: red the column, green the row, blue full, so a
// captured window pixel tells which screen pixel it shows (black: a bar).
void PaintCoordinates(CxScreenSurface& screen)
{
    for (int32_t y = 0; y < screen.GetHeight(); ++y)
        for (int32_t x = 0; x < screen.GetWidth(); ++x)
            screen.SetPixel(x, y, static_cast<uint32_t>((x << 11) | (y << 5) | 31));
}

// The screen pixel a captured window pixel shows, (-1, -1) for black.
CxPoint Decode(CxDrawSurface& capture, int32_t x, int32_t y)
{
    const uint32_t argb = capture.GetPixel(x, y);
    if ((argb & 0xFFFFFF) == 0)
        return CxPoint(-1, -1);
    return CxPoint(static_cast<int32_t>((argb >> 19) & 31), static_cast<int32_t>((argb >> 10) & 63));
}

// How far off a renderer may sample a window pixel (dpi 1) along an axis
// of the picture: -1 or +1 when the centre of `at` lies within 1/64 of a
// screen pixel's edge, where rounding (a GPU's floats, SDL's fixed point)
// may fall on the other side; 0 elsewhere.
int EdgeSide(int32_t at, int32_t offset, int64_t extent, int32_t size)
{
    const int64_t twice = 2 * extent;
    int64_t position = ((2 * (at - offset) + 1) * int64_t{size}) % twice;
    if (position < 0)
        position += twice;
    if (position * 64 < twice)
        return -1;
    if ((twice - position) * 64 < twice)
        return 1;
    return 0;
}

// Window pixels (every `step`-th) where the picture does not show what
// WindowToScreen says is there. Bars must be black. Next to an edge the
// pixel across it counts as right too.
int MismatchedPixels(CxSdlScreen& screen, int step)
{
    CxDrawSurface capture;
    EXPECT_EQ(screen.CaptureWindow(capture), PIM_OK);
    const CxRect picture = screen.GetPlacement().picture;
    int wrong = 0;
    for (int32_t y = 0; y < capture.GetHeight(); y += step)
        for (int32_t x = 0; x < capture.GetWidth(); x += step) {
            const CxPoint mapped = screen.WindowToScreen({x, y});
            const CxPoint shown = Decode(capture, x, y);
            const int sideX = EdgeSide(x, picture.left, picture.Width(), screen.GetWidth());
            const int sideY = EdgeSide(y, picture.top, picture.Height(), screen.GetHeight());
            // What may be seen there: the mapped pixel, or one across a
            // near edge; outside the screen, a bar.
            auto seen = [&](int dx, int dy) {
                const CxPoint p(mapped.x + dx, mapped.y + dy);
                return screen.GetRect().Contains(p) ? p : CxPoint(-1, -1);
            };
            const CxPoint expected = seen(0, 0);
            const bool edge = shown == seen(sideX, 0) || shown == seen(0, sideY) || shown == seen(sideX, sideY);
            if (shown != expected && !edge && ++wrong <= 3)
                ADD_FAILURE() << "window pixel " << x << "," << y << " shows " << shown.x << "," << shown.y
                              << ", mapped to " << expected.x << "," << expected.y;
        }
    return wrong;
}

bool Resize(CxSdlWindow& window, int32_t width, int32_t height)
{
    window.SetClientSize(width, height);
    return PumpUntil(window, [&](const ST_MESSAGE& m) {
        return m.type == EMessage::Size && m.width == width && m.height == height;
    });
}

// The pointer moved to a window point arrives as the screen pixel.
CxPoint PointerAt(CxSdlWindow& window, int32_t x, int32_t y)
{
    EXPECT_TRUE(window.SimulateMouseMove(x, y));
    ST_MESSAGE move;
    if (!PumpUntil(
            window,
            [](const ST_MESSAGE& m) { return m.type == EMessage::Mouse && m.mouse.action == EMouseAction::Move; },
            &move))
        return CxPoint(-1000, -1000);
    return move.mouse.point;
}

ST_SCREEN_SETTINGS Settings(CxSdlWindow& window, int32_t width, int32_t height, int scale = 1)
{
    ST_SCREEN_SETTINGS settings;
    settings.window = &window;
    settings.width = width;
    settings.height = height;
    settings.depth = 16;
    settings.scale = scale;
    return settings;
}

void CheckSoftwareScreen(CxSdlWindow& window)
{
    std::unique_ptr<CxScreenSurface> made(window.CreateScreen(false));
    auto* screen = dynamic_cast<CxSdlSoftwareScreen*>(made.get());
    ASSERT_NE(screen, nullptr);
    EXPECT_STREQ(screen->GetKindName(), "software");
    ASSERT_EQ(screen->Open(Settings(window, 32, 24)), PIM_OK);
    EXPECT_EQ(window.GetScreen(), screen);
    EXPECT_EQ(GetPreferredLayout16(), PIM_LAYOUT_565);
    EXPECT_TRUE(PumpUntil(window, [](const ST_MESSAGE& m) { return m.type == EMessage::Paint; }));

    PaintCoordinates(*screen);
    ASSERT_EQ(screen->Present(nullptr, 0), PIM_OK);
    EXPECT_EQ(MismatchedPixels(*screen, 1), 0);
    // Only the listed rectangle reaches the window.
    screen->FillRect(CxRect(0, 0, 31, 23), 0x0000);
    ASSERT_EQ(screen->PresentRect(CxRect(4, 4, 7, 7)), PIM_OK);
    CxDrawSurface capture;
    ASSERT_EQ(screen->CaptureWindow(capture), PIM_OK);
    EXPECT_EQ(Decode(capture, 5, 5), CxPoint(-1, -1));
    EXPECT_EQ(Decode(capture, 8, 8), CxPoint(8, 8));

    // Twice the size: whole pixels, and the pointer maps back.
    ASSERT_EQ(screen->Open(Settings(window, 32, 24, 2)), PIM_OK);
    ASSERT_TRUE(PumpUntil(window, [](const ST_MESSAGE& m) { return m.type == EMessage::Size && m.width == 64; }));
    PaintCoordinates(*screen);
    ASSERT_EQ(screen->Present(nullptr, 0), PIM_OK);
    EXPECT_EQ(MismatchedPixels(*screen, 1), 0);
    EXPECT_EQ(PointerAt(window, 13, 40), CxPoint(6, 20));
    // A larger window centres the picture; a resize repaints it whole.
    ASSERT_TRUE(Resize(window, 110, 90));
    ASSERT_EQ(screen->Present(nullptr, 0), PIM_OK);
    EXPECT_EQ(screen->GetPlacement().picture, CxRect(7, 9, 102, 80)); // three times
    EXPECT_EQ(MismatchedPixels(*screen, 1), 0);

    // Presenting converts in place: nothing of the engine's is allocated.
    ResetMemoryStats();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(screen->PresentRect(CxRect(i, i, i + 10, i + 10)), PIM_OK);
    EXPECT_EQ(GetMemoryStats().allocations, 0u);
    screen->Close();
    EXPECT_EQ(window.GetScreen(), nullptr);
}

// 5-6-5 green at full strength, whatever the last bits of its widening.
bool IsGreen(uint32_t argb)
{
    return (argb & 0xF800F8) == 0 && ((argb >> 10) & 63) == 63;
}

// The renderer the system offers: the picture, rectangle updates, the
// cursor and a device reset, at the game's size.
void CheckRendererAsOffered(CxSdlWindow& window)
{
    std::unique_ptr<CxScreenSurface> made(window.CreateScreen(true));
    auto* screen = dynamic_cast<CxSdlRendererScreen*>(made.get());
    ASSERT_NE(screen, nullptr);
    EXPECT_STREQ(screen->GetKindName(), "accelerated");
    ASSERT_EQ(screen->Open(Settings(window, 32, 24)), PIM_OK) << GetLastErrorMessage();
    std::printf("  renderer: %s (%s)\n", screen->GetRendererName(),
                screen->IsAccelerated() ? "accelerated" : "software fallback");
    // The open put the window back to the game's size.
    PumpUntil(window, [](const ST_MESSAGE& m) { return m.type == EMessage::Size && m.width == 32; });
    ASSERT_EQ(screen->GetPlacement().drawable, CxSize(32, 24));
    PaintCoordinates(*screen);
    ASSERT_EQ(screen->Present(nullptr, 0), PIM_OK);
    EXPECT_EQ(MismatchedPixels(*screen, 1), 0);

    // Rectangle by rectangle: the texture keeps what was not listed.
    screen->FillRect(screen->GetRect(), 0);
    ASSERT_EQ(screen->PresentRect(CxRect(0, 0, 3, 3)), PIM_OK);
    CxDrawSurface capture;
    ASSERT_EQ(screen->CaptureWindow(capture), PIM_OK);
    EXPECT_EQ(Decode(capture, 2, 2), CxPoint(-1, -1));
    EXPECT_EQ(Decode(capture, 10, 10), CxPoint(10, 10));

    // A lost device is rebuilt with the whole picture.
    PaintCoordinates(*screen);
    ASSERT_EQ(screen->ResetDevice(), PIM_OK);
    EXPECT_EQ(MismatchedPixels(*screen, 1), 0);

    // The engine cursor reaches the window; the back buffer keeps none.
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    screen->FillRect(screen->GetRect(), 0x07E0);
    SetCursorPosition(CxPoint(5, 5));
    ASSERT_EQ(screen->Present(nullptr, 0), PIM_OK);
    ASSERT_EQ(screen->CaptureWindow(capture), PIM_OK);
    EXPECT_EQ(capture.GetPixel(5, 5) & 0xFFFFFF, 0u) << "the arrow's tip";
    EXPECT_TRUE(IsGreen(capture.GetPixel(4, 4))) << std::hex << capture.GetPixel(4, 4);
    EXPECT_EQ(screen->GetPixel(5, 5), 0x07E0u);
    ShutdownCursors();
}

// Any window size and full screen. SDL's own software renderer is used:
// the virtual display's GL does not follow its windows' new sizes, while
// this code's part (the placement, the texture, the mapping) is the same.
void CheckRendererAtAnySize(CxSdlWindow& window, const ST_DESKTOP& desktop)
{
    std::unique_ptr<CxScreenSurface> made(window.CreateScreen(true));
    auto* screen = dynamic_cast<CxSdlRendererScreen*>(made.get());
    ASSERT_NE(screen, nullptr);
    screen->SetSoftwareRendering(true);
    ASSERT_EQ(screen->Open(Settings(window, 32, 24)), PIM_OK) << GetLastErrorMessage();
    EXPECT_FALSE(screen->IsAccelerated());
    EXPECT_STREQ(screen->GetRendererName(), "software");
    PaintCoordinates(*screen);
    ASSERT_EQ(screen->Present(nullptr, 0), PIM_OK);

    // The picture keeps its aspect, and the pointer lands on the pixel shown
    // under it.
    const CxSize sizes[] = {{64, 48}, {100, 60}, {77, 91}, {333, 111}, {50, 50}, {129, 97}, {640, 479}};
    for (CxSize size : sizes) {
        ASSERT_TRUE(Resize(window, size.width, size.height)) << size.width << " x " << size.height;
        EXPECT_EQ(MismatchedPixels(*screen, 1), 0) << size.width << " x " << size.height;
        const CxRect pic = screen->GetPlacement().picture;
        const CxPoint probes[] = {{(pic.left + pic.right) / 2, (pic.top + pic.bottom) / 2},
                                  {pic.left - 1, pic.top - 1},
                                  {pic.right + 1, pic.bottom + 1}};
        for (CxPoint probe : probes)
            EXPECT_EQ(PointerAt(window, probe.x, probe.y), screen->WindowToScreen(probe))
                << probe.x << "," << probe.y << " in " << size.width << " x " << size.height;
        EXPECT_EQ(PointerAt(window, pic.left, pic.top), CxPoint(0, 0));
        EXPECT_EQ(PointerAt(window, pic.right, pic.bottom), CxPoint(31, 23));
    }

    // Alt+Enter toggles full screen inside the window, and is no key.
    EXPECT_FALSE(screen->IsFullScreen());
    ASSERT_TRUE(window.SimulateKey(PIM_HOSTKEY_RETURN, PIM_HOSTMOD_ALT, true));
    ASSERT_TRUE(window.SimulateKey(PIM_HOSTKEY_RETURN, PIM_HOSTMOD_ALT, false));
    bool sawKey = false;
    EXPECT_TRUE(PumpUntil(window, [&](const ST_MESSAGE& m) {
        sawKey = sawKey || m.type == EMessage::KeyDown || m.type == EMessage::KeyUp;
        return m.type == EMessage::Size && m.width == desktop.width;
    }));
    EXPECT_FALSE(sawKey);
    EXPECT_TRUE(screen->IsFullScreen());
    EXPECT_EQ(MismatchedPixels(*screen, 5), 0);
    const CxPoint middle(desktop.width / 2, desktop.height / 2);
    EXPECT_EQ(PointerAt(window, middle.x, middle.y), screen->WindowToScreen(middle));
    EXPECT_EQ(screen->WindowToScreen(middle), CxPoint(16, 12));
    EXPECT_TRUE(screen->SetFullScreen(false));
    EXPECT_FALSE(screen->IsFullScreen());
    // Plain Enter is still a key.
    ASSERT_TRUE(window.SimulateKey(PIM_HOSTKEY_RETURN, 0, true));
    EXPECT_TRUE(PumpUntil(window, [](const ST_MESSAGE& m) { return m.type == EMessage::KeyDown; }));

    // The window closes the screen when it goes first.
    window.Destroy();
    EXPECT_FALSE(screen->IsOpen());
    EXPECT_EQ(screen->Present(nullptr, 0), PIM_ERR_BAD_ARG);
}

// A warp to a game pixel comes back as a move to that pixel, and is where
// the pointer is read to be, through the scaled picture. A window of its
// own, well inside the virtual display, and checked last: from here on the
// real pointer is over the window and its own moves would reach any check
// of simulated ones.
void CheckPointerWarp(const ST_WINDOW_SETUP& setup)
{
    CxSdlWindow window;
    ASSERT_TRUE(window.Create(setup)) << window.GetLastError();
    std::unique_ptr<CxScreenSurface> made(window.CreateScreen(true));
    auto* screen = dynamic_cast<CxSdlRendererScreen*>(made.get());
    ASSERT_NE(screen, nullptr);
    screen->SetSoftwareRendering(true);
    ASSERT_EQ(screen->Open(Settings(window, 32, 24)), PIM_OK) << GetLastErrorMessage();
    ASSERT_TRUE(Resize(window, 160, 100)); // five times, letterboxed left and right
    for (CxPoint pixel : {CxPoint(17, 9), CxPoint(0, 0), CxPoint(31, 23), CxPoint(5, 20)}) {
        ASSERT_TRUE(window.WarpPointer(pixel));
        EXPECT_TRUE(PumpUntil(window, [&](const ST_MESSAGE& m) {
            return m.type == EMessage::Mouse && m.mouse.action == EMouseAction::Move && m.mouse.point == pixel;
        })) << pixel.x << "," << pixel.y;
        CxPoint read;
        ASSERT_TRUE(window.GetPointer(read));
        EXPECT_EQ(read, pixel);
    }
}

void CheckSdlScreens()
{
    CxSdlWindow window;
    ST_DESKTOP desktop;
    ASSERT_TRUE(window.QueryDesktop(desktop)) << window.GetLastError();
    ST_WINDOW_SETUP setup;
    setup.title = "Marrowdale screens";
    setup.width = 32;
    setup.height = 24;
    setup.flags = PIM_WF_SIZABLE;
    ASSERT_TRUE(window.Create(setup)) << window.GetLastError();
    // The window shows the system's cursors for the engine.
    EXPECT_NE(GetSystemCursorHook(), nullptr);
    SetCursor(PIM_CURSOR_HAND);
    HideCursor();
    ShowCursor();
    SetCursor(PIM_CURSOR_ARROW);
    window.PresentCleared();

    CheckSoftwareScreen(window);
    CheckRendererAsOffered(window);
    CheckRendererAtAnySize(window, desktop);
    EXPECT_EQ(GetSystemCursorHook(), nullptr);

    // A screen deleted before its window, and one left by a window that went.
    ASSERT_TRUE(window.Create(setup)) << window.GetLastError();
    CxScreenSurface* early = window.CreateScreen(false);
    ASSERT_EQ(early->Open(Settings(window, 32, 24)), PIM_OK);
    delete early;
    EXPECT_EQ(window.GetScreen(), nullptr);
    std::unique_ptr<CxScreenSurface> late;
    {
        CxSdlWindow other;
        ASSERT_TRUE(other.Create(setup));
        late.reset(other.CreateScreen(true));
        ASSERT_EQ(late->Open(Settings(other, 32, 24)), PIM_OK);
    }
    EXPECT_FALSE(late->IsOpen());
    EXPECT_NE(late->Open(Settings(window, 32, 24)), PIM_OK) << "its window is gone";
    window.Destroy();

    setup.flags |= PIM_WF_CENTERED;
    CheckPointerWarp(setup);
}

} // namespace

TEST(SdlWindowScreens, EachScreenShowsThePictureAndMapsThePointer)
{
    PIM_RUN_WITH_DISPLAY(CheckSdlScreens, "the screens' checks");
}
