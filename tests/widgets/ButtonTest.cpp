// Buttons and scroll bars driven through the display tree: the events each
// visual state change tells, push buttons against toggles, the capture, and
// the scroll bar's thumb, notifications and held-button repeat on the
// virtual clock.
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxTimerManager.h"
#include "PIM/core/PimClock.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/widgets/CxButton.h"
#include "PIM/widgets/CxScrollBar.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ST_NOTE
{
    int code;
    CxDisplayObject* sender;
    intptr_t value;
};

class NoteParent : public CxDisplayObject
{
public:
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t) override
    {
        notes.push_back(ST_NOTE{code, sender, first});
        return 0;
    }
    std::vector<int> Values()
    {
        std::vector<int> values;
        for (const ST_NOTE& note : notes)
            values.push_back(static_cast<int>(note.value));
        notes.clear();
        return values;
    }
    std::vector<ST_NOTE> notes;
};

using Events = std::vector<int>;

class Buttons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(200, 100), 1), PIM_OK);
        m_parent.Create(0, 0, 200, 100, GetRootObject());
        m_parent.Show();
    }
    void TearDown() override
    {
        m_parent.Detach();
        PimSetClock(nullptr);
        ShutdownDisplay();
    }
    // A 30 x 10 button at (20, 20) whose frames are coloured 100..104.
    void MakeButton(CxButton& button, int kind)
    {
        button.SetKind(kind);
        DisplayTest::MakeSprite(button, &m_parent, 20, 20, 30, 10, 100, 5);
        button.Show();
        m_parent.notes.clear();
    }
    static void Move(int32_t x, int32_t y)
    {
        SetCursorPosition(CxPoint(x, y));
        DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, CxPoint(x, y), 0));
    }
    static void Down(int32_t x, int32_t y) { DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(x, y), 1)); }
    static void Up(int32_t x, int32_t y)
    {
        SetCursorPosition(CxPoint(x, y));
        DispatchMouse(MouseEvent(EMouseAction::Up, EMouseButton::Left, CxPoint(x, y), 0));
    }
    static void Click(int32_t x, int32_t y)
    {
        Down(x, y);
        Up(x, y);
    }

    NoteParent m_parent;
};

} // namespace

TEST_F(Buttons, PushButtonClicksOnlyWhenReleasedInside)
{
    CxButton button;
    MakeButton(button, PIM_BUTTON_PUSH);

    Move(25, 25);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    EXPECT_TRUE(button.HasCapture());
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_HIGHLIGHTED}));

    // Pressed, dragged out (moves do not undo a press) and released outside.
    Down(25, 25);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_PRESSED);
    Move(150, 80);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_PRESSED);
    Up(150, 80);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_NORMAL);
    EXPECT_FALSE(button.HasCapture());
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_CHECKED, PIM_BUTTON_EVENT_NORMAL, PIM_BUTTON_EVENT_LEFT}));
    EXPECT_EQ(button.GetFrame(), 0);

    // Released inside: a click, then the hover is worked out again at the pointer.
    Move(25, 25);
    m_parent.notes.clear();
    Click(30, 22);
    EXPECT_EQ(m_parent.Values(),
              Events({PIM_BUTTON_EVENT_CHECKED, PIM_BUTTON_EVENT_NORMAL, PIM_BUTTON_EVENT_CLICKED,
                      PIM_BUTTON_EVENT_HIGHLIGHTED}));
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    EXPECT_TRUE(button.HasCapture());

    // Without the recheck the button rests at normal and lets go.
    CxButton::SetRecheckHoverOnRelease(false);
    Click(30, 22);
    CxButton::SetRecheckHoverOnRelease(true);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_NORMAL);
    EXPECT_FALSE(button.HasCapture());

    // A release the button never saw pressed says nothing.
    m_parent.notes.clear();
    button.OnLButtonUp(0, CxPoint(2, 2));
    EXPECT_TRUE(m_parent.notes.empty());
}

TEST_F(Buttons, CheckBoxTogglesAndRadioButtonStaysChecked)
{
    CxButton check;
    MakeButton(check, PIM_BUTTON_CHECK);
    Move(25, 25);
    Click(25, 25);
    EXPECT_TRUE(check.IsChecked());
    EXPECT_EQ(check.GetVisualState(), PIM_BUTTON_PRESSED);
    EXPECT_FALSE(check.HasCapture());
    Move(26, 25);
    Click(26, 25);
    EXPECT_FALSE(check.IsChecked());
    EXPECT_EQ(check.GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_HIGHLIGHTED, PIM_BUTTON_EVENT_CHECKED,
                                         PIM_BUTTON_EVENT_NORMAL}));
    // Leaving: a checked box falls back to checked, an unchecked one to normal.
    check.SetVisualState(PIM_BUTTON_PRESSED);
    Move(27, 25);
    Move(150, 80);
    EXPECT_EQ(check.GetVisualState(), PIM_BUTTON_CHECKED);
    EXPECT_FALSE(check.HasCapture());
    check.Hide();

    CxButton radio;
    MakeButton(radio, PIM_BUTTON_RADIO);
    Move(25, 25);
    Click(25, 25);
    Move(25, 26);
    Click(25, 26);
    EXPECT_TRUE(radio.IsChecked());
    EXPECT_EQ(radio.GetVisualState(), PIM_BUTTON_PRESSED);
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_HIGHLIGHTED, PIM_BUTTON_EVENT_CHECKED}));
    // A click lets go of the capture; the next move inside takes it again.
    Move(25, 27);
    Move(150, 80);
    EXPECT_EQ(radio.GetVisualState(), PIM_BUTTON_CHECKED);
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_LEFT}));
}

TEST_F(Buttons, VisualStateChangesTellTheirEvents)
{
    struct ST_ROW
    {
        int from;
        int to;
        Events events;
    };
    const ST_ROW table[] = {
        {0, 1, {1}},    {0, 2, {2}},    {0, 3, {1, 2}}, {0, 4, {4}},    {1, 0, {0}},    {1, 2, {0, 2}},
        {1, 3, {2}},    {2, 0, {11}},   {2, 1, {1}},    {2, 3, {1}},    {3, 0, {0}},    {3, 1, {11}},
        {3, 2, {0}},    {4, 0, {0}},    {4, 2, {0, 2}}, {2, 2, {}},     {3, 3, {}},
    };
    CxButton button;
    MakeButton(button, PIM_BUTTON_PUSH);
    for (const ST_ROW& row : table) {
        button.SetVisualState(row.from);
        m_parent.notes.clear();
        button.SetVisualState(row.to);
        EXPECT_EQ(m_parent.Values(), row.events) << row.from << " -> " << row.to;
        EXPECT_EQ(button.GetFrame(), row.to);
    }
    EXPECT_EQ(m_parent.notes.size(), 0u);

    // The frame map decides the picture; a bad state is ignored.
    button.SetFrameMap(PIM_BUTTON_NORMAL, 4);
    button.SetVisualState(PIM_BUTTON_NORMAL);
    EXPECT_EQ(button.GetFrame(), 4);
    button.SetVisualState(7);
    EXPECT_EQ(button.GetVisualState(), PIM_BUTTON_NORMAL);
    m_parent.notes.clear();

    // A routine takes the parent's place; without a parent nobody hears.
    static std::vector<int> heard;
    heard.clear();
    button.SetRoutine([](CxButton*, int event) { heard.push_back(event); });
    button.SetChecked(true);
    EXPECT_EQ(heard, Events({PIM_BUTTON_EVENT_CHECKED}));
    EXPECT_TRUE(m_parent.notes.empty());
    button.Detach();
    button.SetChecked(false);
    button.Notify(PIM_BUTTON_EVENT_CLICKED);
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(Buttons, DisableAndHideLetGoOfTheCapture)
{
    CxButton push;
    MakeButton(push, PIM_BUTTON_PUSH);
    Move(25, 25);
    ASSERT_TRUE(push.HasCapture());
    push.Disable();
    EXPECT_FALSE(push.HasCapture());
    EXPECT_FALSE(push.IsEnabled());
    EXPECT_EQ(push.GetVisualState(), PIM_BUTTON_DISABLED);
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_HIGHLIGHTED, PIM_BUTTON_EVENT_DISABLED}));
    // Disabled, it neither lights up nor presses.
    Move(26, 25);
    Down(26, 25);
    EXPECT_EQ(push.GetVisualState(), PIM_BUTTON_DISABLED);
    EXPECT_FALSE(push.HasCapture());
    push.Enable();
    EXPECT_EQ(push.GetVisualState(), PIM_BUTTON_NORMAL);
    EXPECT_EQ(m_parent.Values(), Events({PIM_BUTTON_EVENT_NORMAL}));

    // A pressed button hidden lets go and does not stay pressed.
    Down(25, 25);
    ASSERT_TRUE(push.HasCapture());
    push.Hide();
    EXPECT_FALSE(push.HasCapture());
    EXPECT_EQ(push.GetVisualState(), PIM_BUTTON_NORMAL);
    EXPECT_EQ(GetModalDepth(), 0);
    // Only the hover and the press go with hiding, not a checked look.
    push.Show();
    push.SetChecked(true);
    push.Hide();
    EXPECT_TRUE(push.IsChecked());

    // A check box keeps being checked across disabling.
    CxButton check;
    MakeButton(check, PIM_BUTTON_CHECK);
    check.SetChecked(true);
    Move(25, 25);
    check.Disable();
    check.Disable();
    check.Enable();
    EXPECT_EQ(check.GetVisualState(), PIM_BUTTON_CHECKED);
}

TEST_F(Buttons, AnimatedButtonPlaysTheMappedAction)
{
    CxAnimatedButton button;
    MakeButton(button, PIM_BUTTON_PUSH);
    ST_ANIM_ACTION actions[3];
    for (int i = 0; i < 3; ++i) {
        actions[i].flags = PIM_ANIM_START_FRAME;
        actions[i].startFrame = i + 1;
    }
    ASSERT_EQ(button.SetActions(actions, 3), PIM_OK);
    button.SetFrameMap(PIM_BUTTON_HIGHLIGHTED, 2);
    EXPECT_TRUE(button.GetAnimation().IsPlaying());
    EXPECT_EQ(button.GetAnimation().GetCurActionIndex(), 0);
    Move(25, 25);
    EXPECT_EQ(button.GetAnimation().GetCurActionIndex(), 2);
    EXPECT_EQ(button.GetFrame(), 3);
    button.Hide();
    EXPECT_FALSE(button.GetAnimation().IsPlaying());
}

// --- scroll bars -------------------------------------------------------------------------

namespace {

class ScrollBars : public Buttons
{
protected:
    // A 100 x 10 bar at (10, 50): 10 x 10 buttons and a 20 x 6 thumb leave
    // the thumb 60 pixels to travel.
    void MakeBar(CxScrollBar& bar, int32_t width = 100, int32_t height = 10)
    {
        bar.Create(10, 50, width, height, &m_parent);
        bar.Show();
        ASSERT_EQ(bar.SetDecreaseButton(DisplayTest::MakeSurface(50, 10, 16, 1)), PIM_OK);
        ASSERT_EQ(bar.SetIncreaseButton(DisplayTest::MakeSurface(50, 10, 16, 2)), PIM_OK);
        ASSERT_EQ(bar.SetThumb(DisplayTest::MakeSurface(bar.IsVertical() ? 6 : 20, bar.IsVertical() ? 20 : 6,
                                                          16, 3)),
                  PIM_OK);
        m_parent.notes.clear();
    }
};

} // namespace

TEST_F(ScrollBars, PositionIsClampedAndPlacesTheThumb)
{
    CxScrollBar bar;
    MakeBar(bar);
    EXPECT_EQ(bar.GetDecreaseRect(), CxRect(0, 0, 9, 9));
    EXPECT_EQ(bar.GetIncreaseRect(), CxRect(90, 0, 99, 9));

    bar.SetRange(10, 20);
    EXPECT_EQ(bar.GetPosition(), 10);
    EXPECT_EQ(bar.GetThumb()->GetPosition(), CxPoint(10, 2));
    bar.SetPosition(15);
    EXPECT_EQ(bar.GetThumb()->GetPosition(), CxPoint(40, 2));
    bar.SetPosition(99);
    EXPECT_EQ(bar.GetPosition(), 20);
    EXPECT_EQ(bar.GetThumb()->GetPosition(), CxPoint(70, 2));
    bar.SetPosition(-5);
    EXPECT_EQ(bar.GetPosition(), 10);
    EXPECT_TRUE(bar.HitThumb(CxPoint(15, 4)));
    EXPECT_FALSE(bar.HitThumb(CxPoint(35, 4)));

    // One position, and a bar too short for its parts: the thumb sits after
    // the decrease button instead of dividing by zero.
    bar.SetRange(7, 7);
    EXPECT_EQ(bar.GetThumb()->GetPosition(), CxPoint(10, 2));
    bar.SetRange(0, 50);
    bar.Resize(CxSize(30, 10));
    bar.SetPosition(25);
    EXPECT_EQ(bar.GetThumb()->GetPosition().x, 10);

    // The vertical form runs the same rules down its height.
    CxVerticalScrollBar vertical;
    MakeBar(vertical, 10, 100);
    vertical.SetRange(-10, 0);
    vertical.SetPosition(-5);
    EXPECT_EQ(vertical.GetThumb()->GetPosition(), CxPoint(2, 40));
    EXPECT_EQ(vertical.GetIncreaseRect(), CxRect(0, 90, 9, 99));
}

TEST_F(ScrollBars, ChangesAreToldOnceAndOnlyWhileEnabled)
{
    CxScrollBar bar;
    MakeBar(bar);
    bar.SetPosition(5);
    bar.SetPosition(5);
    bar.SetPosition(500);
    ASSERT_EQ(m_parent.notes.size(), 2u);
    EXPECT_EQ(m_parent.notes[0].code, PIM_NOTIFY_SCROLL);
    EXPECT_EQ(m_parent.notes[0].sender, &bar);
    EXPECT_EQ(m_parent.Values(), Events({5, 100}));

    bar.Disable();
    bar.SetPosition(3);
    EXPECT_EQ(bar.GetPosition(), 100);
    EXPECT_EQ(bar.GetDecreaseButton()->GetVisualState(), PIM_BUTTON_DISABLED);
    bar.Enable();
    EXPECT_EQ(bar.GetDecreaseButton()->GetVisualState(), PIM_BUTTON_NORMAL);

    static std::vector<int> heard;
    heard.clear();
    bar.SetChangeRoutine([](CxScrollBar*, int32_t position) { heard.push_back(position); });
    bar.SetPosition(40);
    EXPECT_EQ(heard, Events({40}));
    EXPECT_TRUE(m_parent.notes.empty());

    // Dragging the thumb: grabbed at its left edge + 5, dropped 30 pixels on.
    bar.SetChangeRoutine(nullptr);
    const int32_t thumbX = bar.GetThumb()->GetPosition().x;
    Down(10 + thumbX + 5, 54);
    Move(10 + thumbX + 35, 54);
    Up(10 + thumbX + 35, 54);
    EXPECT_EQ(bar.GetPosition(), 40 + 50);
    EXPECT_EQ(GetModalDepth(), 0);
}

TEST_F(ScrollBars, HeldButtonRepeatsOnTheClock)
{
    CxVirtualClock clock(1000);
    PimSetClock(&clock);
    CxScrollBar bar;
    MakeBar(bar);
    bar.SetRepeatTiming(300, 50);
    bar.SetPosition(50);
    m_parent.notes.clear();
    const auto poll = [&clock](uint32_t ms) {
        clock.Advance(ms);
        CxTimerManager::GetInstance()->OnMainLoop();
    };

    // Pressing the increase button steps at once (the button's own news stay with the bar).
    Down(10 + 95, 55);
    EXPECT_EQ(m_parent.Values(), Events({51}));
    EXPECT_TRUE(bar.IsRepeating());
    poll(299);
    EXPECT_TRUE(m_parent.notes.empty());
    poll(1);
    EXPECT_EQ(m_parent.Values(), Events({52}));
    poll(49);
    poll(1);
    poll(50);
    EXPECT_EQ(m_parent.Values(), Events({53, 54}));
    // Released: no more steps, and the click adds none.
    Up(10 + 95, 55);
    EXPECT_FALSE(bar.IsRepeating());
    poll(500);
    EXPECT_TRUE(m_parent.notes.empty());
    EXPECT_EQ(bar.GetPosition(), 54);

    // The decrease button steps down; hiding the bar stops the repeat.
    bar.SetStep(10);
    Move(10 + 2, 55);
    Down(10 + 2, 55);
    poll(300);
    EXPECT_EQ(m_parent.Values(), Events({44, 34}));
    bar.Hide();
    EXPECT_FALSE(bar.IsRepeating());
    EXPECT_EQ(bar.GetDecreaseButton()->GetVisualState(), PIM_BUTTON_NORMAL);
    EXPECT_EQ(GetModalDepth(), 0);
    poll(500);
    EXPECT_EQ(bar.GetPosition(), 34);
}

TEST_F(ScrollBars, MissingPicturesAndMemoryAreReported)
{
    CxScrollBar bar;
    bar.Create(0, 0, 100, 10, &m_parent);
    ErrorRecorder recorder;
    const auto last = [&recorder]() {
        return recorder.errors.empty() ? std::string() : recorder.errors.back().message;
    };
    EXPECT_EQ(bar.LoadDecreaseButton("/nonexistent/left.bmp"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(last(), "Invalid DisplaySurface passed to CxScrollBar::LoadLeftButton()");
    EXPECT_EQ(bar.LoadThumb(nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(last(), "Invalid CxDrawSurface passed to CxScrollBar::LoadThumb()");
    EXPECT_EQ(bar.GetDecreaseButton(), nullptr);

    // Out of memory the picture stays the caller's.
    CxDrawSurface* surface = DisplayTest::MakeSurface(50, 10, 16, 1);
    SetAllocationFailHook([](size_t) { return true; });
    EXPECT_EQ(bar.SetIncreaseButton(surface), PIM_ERR_OUT_OF_MEMORY);
    const std::string noButton = last();
    EXPECT_EQ(bar.SetThumb(surface), PIM_ERR_OUT_OF_MEMORY);
    const std::string noSprite = last();
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(noButton, "Could not allocate a new CxButton");
    EXPECT_EQ(noSprite, "Could not allocate a new CxSprite");
    EXPECT_EQ(bar.GetThumb(), nullptr);
    // Taken once the memory is there.
    EXPECT_EQ(bar.SetThumb(surface), PIM_OK);
    EXPECT_EQ(bar.GetThumb()->GetSize(), CxSize(50, 10));
}
