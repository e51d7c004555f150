// The game's buttons driven through the display tree on the virtual clock:
// the frames each state shows for 5-frame and animated strips, the Lua
// texts of enter, click and leave (run by a real Lua engine behind fake
// services), the hover cursor and its restore, and flashing.
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/CxTimerManager.h"
#include "PIM/core/PimClock.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/script/CxLuaEngine.h"
#include "tests/dax/DaxLuaServices.h"
#include "tests/display/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <lua.hpp>

#include <functional>
#include <string>
#include <vector>

namespace {

using DaxTest::LuaServices;

class EventParent : public CxDisplayObject
{
public:
    int OnNotify(int code, CxDisplayObject* sender, intptr_t event, intptr_t) override
    {
        if (code == PIM_NOTIFY_BUTTON) {
            events.push_back(static_cast<int>(event));
            if (onEvent)
                onEvent(sender, static_cast<int>(event));
        }
        return 0;
    }
    std::vector<int> events;
    std::function<void(CxDisplayObject*, int)> onEvent;
};

// Any ".strip" file: a 240 x 10 picture.
int LoadStrip(CxDrawSurface& surface, const char*, int)
{
    return surface.Create(240, 10, 16);
}

CDaxButton* g_doomed = nullptr;

int DestroyButton(lua_State*)
{
    delete g_doomed;
    g_doomed = nullptr;
    return 0;
}

class DaxButtons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PimSetClock(&m_clock);
        ASSERT_EQ(InitDisplay(CxSize(200, 100), 1), PIM_OK);
        m_parent.Create(0, 0, 200, 100, GetRootObject());
        m_parent.Show();
        SetDaxServices(&m_services);
        m_services.engine.Register("DestroyButton", &DestroyButton);
        SetDefaultCursor(1);
        SetCursor(1);
    }
    void TearDown() override
    {
        m_parent.Detach();
        SetDefaultCursor(0);
        SetCursor(0);
        ShutdownDisplay();
        PimSetClock(nullptr);
    }

    // A 30 x 10 button at (20, 20) whose frames are coloured 100, 101, ...
    void MakeButton(CDaxButton& button, int frames, int depth = 16)
    {
        CxDrawSurface* strip = DisplayTest::MakeSurface(30 * frames, 10, depth, 100);
        ASSERT_EQ(button.SetSurface(strip, frames), PIM_OK);
        button.Create(20, 20, 30, 10, &m_parent);
        button.Show();
    }
    // Time passes in 10 ms updates, timers and animations polled after each.
    void Advance(uint32_t milliseconds)
    {
        for (uint32_t t = 0; t < milliseconds; t += 10) {
            m_clock.Advance(10);
            Poll();
        }
    }
    static void Poll()
    {
        CxAnimation::UpdateAll();
        if (CxTimerManager* timers = CxTimerManager::GetInstance())
            timers->OnMainLoop();
    }
    static void Move(int32_t x, int32_t y)
    {
        SetCursorPosition(CxPoint(x, y));
        DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, CxPoint(x, y), 0));
    }
    static void Down(int32_t x, int32_t y)
    {
        DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(x, y), 1));
    }
    static void Up(int32_t x, int32_t y)
    {
        SetCursorPosition(CxPoint(x, y));
        DispatchMouse(MouseEvent(EMouseAction::Up, EMouseButton::Left, CxPoint(x, y), 0));
    }
    std::string Log() { return m_services.Text("log"); }
    static void Texts(CDaxButton& button)
    {
        button.SetEnterText("log = (log or '') .. 'E'");
        button.SetClickText("log = (log or '') .. 'C'");
        button.SetLeaveText("log = (log or '') .. 'L'");
    }

    CxVirtualClock m_clock{1000};
    EventParent m_parent;
    LuaServices m_services;
};

} // namespace

// --- frames --------------------------------------------------------------------------------------

TEST_F(DaxButtons, FiveFrameStripShowsOneFramePerState)
{
    CDaxButton button;
    EXPECT_STREQ(button.GetName(), "NoName");
    MakeButton(button, 5);
    for (int state = 0; state < PIM_BUTTON_STATE_COUNT; ++state) {
        const ST_ANIM_ACTION& action = button.GetStateAction(state);
        EXPECT_EQ(action.startFrame, state);
        EXPECT_EQ(action.endFrame, state);
        EXPECT_EQ(action.flags, 0x800003A0u) << state;
        EXPECT_EQ(action.repeatCount, 1);
        EXPECT_FLOAT_EQ(action.frameRate, 15.0f);
    }
    EXPECT_EQ(button.GetFrame(), 0);
    Move(25, 25);
    EXPECT_EQ(button.GetFrame(), 2);
    Down(25, 25);
    EXPECT_EQ(button.GetFrame(), 3);
    Advance(500); // a one-frame state stays put
    EXPECT_EQ(button.GetFrame(), 3);
    EXPECT_FALSE(button.GetAnimation().IsPlaying());
    Up(25, 25);
    EXPECT_EQ(button.GetFrame(), 2); // the hover, worked out again after the click
    button.Disable();
    EXPECT_EQ(button.GetFrame(), 4);
}

TEST_F(DaxButtons, AnimatedStripLoopsFramesOneToLastAtFifteenFramesASecond)
{
    CDaxButton button;
    MakeButton(button, 8);
    Advance(300);
    EXPECT_EQ(button.GetFrame(), 0); // at rest: frame 0 only

    Down(25, 25);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_PRESSED);
    std::vector<int> frames{button.GetFrame()};
    std::vector<uint32_t> changes{0};
    for (uint32_t t = 10; t <= 1000; t += 10) {
        Advance(10);
        if (button.GetFrame() != frames.back()) {
            frames.push_back(button.GetFrame());
            changes.push_back(t);
        }
    }
    const std::vector<int> loop = {1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5, 6, 7};
    ASSERT_GE(frames.size(), loop.size());
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + loop.size()), loop);
    // 15 frames a second: a frame every 66 ms, within one 10 ms update.
    for (size_t i = 1; i < 7; ++i) {
        EXPECT_GE(changes[i] - changes[i - 1], 60u) << i;
        EXPECT_LE(changes[i] - changes[i - 1], 76u) << i;
    }
    const ST_ANIM_ACTION& pressed = button.GetStateAction(PIM_BUTTON_PRESSED);
    EXPECT_EQ(pressed.flags, 0x3A0u);
    EXPECT_EQ(pressed.repeatCount, DAX_BUTTON_LOOP_FOREVER);
    Up(150, 80);
    EXPECT_EQ(button.GetFrame(), 0);
}

TEST_F(DaxButtons, StateFramesAreKeptInsideTheStrip)
{
    CDaxButton button;
    MakeButton(button, 8);
    button.SetStateFrames(PIM_BUTTON_HIGHLIGHTED, -3, 40, false);
    EXPECT_EQ(button.GetStateAction(PIM_BUTTON_HIGHLIGHTED).startFrame, 0);
    EXPECT_EQ(button.GetStateAction(PIM_BUTTON_HIGHLIGHTED).endFrame, 7);
    button.SetStateFrames(PIM_BUTTON_HIGHLIGHTED, 2, 5, true);
    EXPECT_EQ(button.GetStateAction(PIM_BUTTON_HIGHLIGHTED).flags, 0x800003A0u);
    EXPECT_EQ(button.GetStateAction(PIM_BUTTON_HIGHLIGHTED).repeatCount, 1);
    Move(25, 25);
    Advance(1000); // played once through, it rests on its last frame
    EXPECT_EQ(button.GetFrame(), 5);
    button.SetStateFrames(7, 1, 1, false); // no such state
    button.SetStateFrames(-1, 1, 1, false);
    EXPECT_EQ(button.GetAnimation().GetActionCount(), PIM_BUTTON_STATE_COUNT);

    // A frame count the strip's width does not divide gives one frame, and
    // no state names a frame past it.
    CDaxButton odd;
    ASSERT_EQ(odd.SetSurface(DisplayTest::MakeSurface(70, 10, 16, 1), 4), PIM_OK);
    EXPECT_EQ(odd.GetFrameCount(), 1);
    for (int state = 0; state < PIM_BUTTON_STATE_COUNT; ++state)
        EXPECT_EQ(odd.GetStateAction(state).endFrame, 0) << state;
    // Loading keeps the count asked for (the engine's buttons cut five).
    RegisterDefaultImageFilters();
    ASSERT_EQ(RegisterImageFilter(".strip", &LoadStrip, nullptr), PIM_OK);
    CDaxButton loaded;
    ASSERT_EQ(loaded.Load("eight.strip", 8), PIM_OK);
    EXPECT_EQ(loaded.GetFrameCount(), 8);
    EXPECT_EQ(loaded.GetStateAction(PIM_BUTTON_PRESSED).endFrame, 7);
    // Two frames: every state but normal shows frame 1 and stays there.
    CDaxButton pair;
    ASSERT_EQ(pair.SetSurface(DisplayTest::MakeSurface(60, 10, 16, 1), 2), PIM_OK);
    EXPECT_EQ(pair.GetStateAction(PIM_BUTTON_PRESSED).startFrame, 1);
    EXPECT_NE(pair.GetStateAction(PIM_BUTTON_PRESSED).flags & PIM_ANIM_LAST, 0u);
}

// --- texts and the cursor ------------------------------------------------------------------------

TEST_F(DaxButtons, TextsRunAfterTheOwnerHearsTheEvent)
{
    CDaxButton button;
    MakeButton(button, 5);
    Texts(button);
    std::string heardAtClick;
    m_parent.onEvent = [&](CxDisplayObject*, int event) {
        if (event == PIM_BUTTON_EVENT_CLICKED)
            heardAtClick = Log();
    };
    Move(25, 25);
    EXPECT_EQ(Log(), "E");
    Down(25, 25);
    Up(25, 25);
    EXPECT_EQ(heardAtClick, "E");
    EXPECT_EQ(Log(), "ECE"); // clicked, then entered again by the hover worked out anew
    Move(150, 80);
    EXPECT_EQ(Log(), "ECEL");

    // Without Lua engine the texts are skipped quietly.
    SetDaxServices(nullptr);
    Move(25, 25);
    Move(150, 80);
    SetDaxServices(&m_services);
    EXPECT_EQ(Log(), "ECEL");
}

TEST_F(DaxButtons, HoverCursorIsPutBackOnLeaving)
{
    CDaxButton button;
    MakeButton(button, 5);
    button.SetCursorId(2);
    Move(25, 25);
    EXPECT_EQ(GetCursor(), 2);
    EXPECT_EQ(button.GetRememberedCursor(), 1);
    // The engine puts the default cursor up at every move; ours comes back.
    Move(26, 25);
    EXPECT_EQ(GetCursor(), 2);
    Move(150, 80);
    EXPECT_EQ(GetCursor(), 1);
    EXPECT_EQ(button.GetRememberedCursor(), -1);

    // Disabled under the pointer: no leave comes, the cursor goes anyway.
    Move(25, 25);
    ASSERT_EQ(GetCursor(), 2);
    button.Disable();
    EXPECT_EQ(GetCursor(), 1);
    Move(26, 25);
    EXPECT_EQ(GetCursor(), 1);
    button.Enable();

    // A button without a cursor of its own leaves the pointer's alone.
    button.SetCursorId(-1);
    SetCursor(3);
    Move(25, 25);
    EXPECT_EQ(GetCursor(), 1); // the default, which any move puts up
    EXPECT_EQ(button.GetRememberedCursor(), -1);
    Move(150, 80);
    EXPECT_EQ(GetCursor(), 1);
}

TEST_F(DaxButtons, ReleaseOutsideSendsLeaveAndRunsTheLeaveText)
{
    CDaxButton button;
    MakeButton(button, 5);
    Texts(button);
    button.SetCursorId(4);
    Move(25, 25);
    Down(25, 25);
    Move(150, 80); // dragged off: still pressed, no leave yet
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_PRESSED);
    EXPECT_EQ(Log(), "E");
    m_parent.events.clear();
    Up(150, 80);
    EXPECT_EQ(m_parent.events, std::vector<int>({PIM_BUTTON_EVENT_NORMAL, PIM_BUTTON_EVENT_LEFT}));
    EXPECT_EQ(Log(), "EL"); // and no click
    EXPECT_EQ(GetCursor(), 1);
}

TEST_F(DaxButtons, ButtonGoneWithItsTextIsNotTouchedAgain)
{
    // A doomed button with cursor 2 pressed and released at (x, y).
    const auto pressDoomed = [&](const char* click, const char* leave, int32_t x, int32_t y) {
        g_doomed = new CDaxButton;
        MakeButton(*g_doomed, 5);
        g_doomed->SetCursorId(2);
        g_doomed->SetClickText(click);
        g_doomed->SetLeaveText(leave);
        Move(25, 25);
        Down(25, 25);
        Up(x, y);
    };
    // The click text destroys the button: the rest of the text still runs,
    // and the release goes on without it.
    pressDoomed("DestroyButton() after = 1", "", 25, 25);
    EXPECT_EQ(g_doomed, nullptr);
    EXPECT_EQ(m_services.engine.GetNumber("after", 0), 1);
    Move(30, 25);

    // So does a leave text on a release outside; the cursor still goes back.
    pressDoomed("", "DestroyButton()", 150, 80);
    EXPECT_EQ(g_doomed, nullptr);
    EXPECT_EQ(GetCursor(), 1);

    // An owner that deletes the button on hearing the click: no text runs.
    auto* button = new CDaxButton;
    MakeButton(*button, 5);
    Texts(*button);
    m_parent.onEvent = [&](CxDisplayObject* sender, int event) {
        if (event == PIM_BUTTON_EVENT_CLICKED) {
            delete static_cast<CDaxButton*>(sender);
            button = nullptr;
        }
    };
    Move(25, 25);
    Down(25, 25);
    Up(25, 25);
    EXPECT_EQ(button, nullptr);
    EXPECT_EQ(Log(), "E");
}

// --- flashing --------------------------------------------------------------------------------------

TEST_F(DaxButtons, FlashAlternatesLooksAndStopsOnTheNormalOne)
{
    // The modes seen: at the first poll (a flash comes at once), just
    // before and at the end of one period, a period later, after stopping
    // and a while after that.
    const auto flashModes = [&](CDaxButton& button, uint32_t period) {
        std::vector<int> modes{button.GetDrawMode()};
        button.StartFlash(period);
        EXPECT_TRUE(button.IsFlashing());
        Poll();
        modes.push_back(button.GetDrawMode());
        for (uint32_t wait : {period - 10, 10u, period}) {
            Advance(wait);
            modes.push_back(button.GetDrawMode());
        }
        button.StopFlash();
        EXPECT_FALSE(button.IsFlashing());
        modes.push_back(button.GetDrawMode());
        Advance(3 * period);
        modes.push_back(button.GetDrawMode());
        return modes;
    };
    CDaxButton plain;
    MakeButton(plain, 5, 16);
    EXPECT_EQ(flashModes(plain, 250), std::vector<int>({0, 12, 12, 0, 12, 0, 0}));
    plain.StartFlash(250);
    Poll();
    EXPECT_EQ(plain.GetDrawParams().argument1, 0);
    EXPECT_EQ(plain.GetDrawParams().argument2, 50);
    EXPECT_EQ(plain.GetDrawParams().argument3, 50);
    plain.StopFlash();

    // 32-bit pictures draw alpha blended and flash tinted.
    CDaxButton alpha;
    MakeButton(alpha, 5, 32);
    EXPECT_EQ(flashModes(alpha, 200), std::vector<int>({3, 9, 9, 3, 9, 3, 3}));
    // A 16-bit picture afterwards takes the plain looks again.
    ASSERT_EQ(alpha.SetSurface(DisplayTest::MakeSurface(150, 10, 16, 1), 5), PIM_OK);
    EXPECT_EQ(alpha.GetDrawMode(), 0);
    EXPECT_EQ(alpha.GetFlashParams().mode, 12);

    // A hidden button flashes without coming up.
    plain.Hide();
    plain.StartFlash(100);
    Advance(300);
    EXPECT_FALSE(plain.IsShown());
    plain.StopFlash();
}

TEST_F(DaxButtons, ResetStateTakesTheHoverAwayWithoutTellingAnyone)
{
    CDaxButton button;
    MakeButton(button, 5);
    Texts(button);
    button.SetCursorId(2);
    Move(25, 25);
    ASSERT_EQ(button.GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    ASSERT_TRUE(button.HasCapture());
    ASSERT_EQ(GetCursor(), 2);
    m_parent.events.clear();

    button.ResetState();
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_NORMAL);
    EXPECT_EQ(button.GetFrame(), 0);
    EXPECT_FALSE(button.HasCapture());
    EXPECT_EQ(GetCursor(), 1); // the one up before entering
    EXPECT_TRUE(m_parent.events.empty());
    EXPECT_EQ(Log(), "E"); // no leave text
    // The pointer still over it hovers it anew, as over any resting button.
    Move(26, 25);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    EXPECT_EQ(Log(), "EE");

    button.Disable();
    button.ResetState();
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_DISABLED);
    EXPECT_FALSE(button.IsEnabled());
}

TEST_F(DaxButtons, HighlightShowsTheFlashLookSteadilyAndEndsAFlash)
{
    CDaxButton button;
    MakeButton(button, 5);
    button.Highlight();
    EXPECT_TRUE(button.IsHighlighted());
    EXPECT_EQ(button.GetDrawMode(), DAX_BUTTON_FLASH_MODE);
    Advance(1000);
    EXPECT_EQ(button.GetDrawMode(), DAX_BUTTON_FLASH_MODE);

    button.StartFlash(100);
    EXPECT_FALSE(button.IsHighlighted());
    Advance(150);
    button.Highlight(); // from either look of the flash
    EXPECT_FALSE(button.IsFlashing());
    EXPECT_EQ(button.GetDrawMode(), DAX_BUTTON_FLASH_MODE);
    Advance(300);
    EXPECT_EQ(button.GetDrawMode(), DAX_BUTTON_FLASH_MODE);

    button.UnHighlight();
    EXPECT_FALSE(button.IsHighlighted());
    EXPECT_EQ(button.GetDrawMode(), PIM_DRAW_COPY);
}
