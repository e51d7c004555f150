// Animations on the virtual clock: movement, frame stepping, durations,
// repeats and loops, pausing, editing the list while playing, the shared
// main-loop callback, and listeners that destroy what they are told about.
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxDisplayObject.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// A display object with frames that wrap like a sprite's.
class FrameObject : public CxDisplayObject
{
public:
    explicit FrameObject(int frames = 10) : m_count(frames) {}
    int GetFrame() const override { return m_frame; }
    void SetFrame(int frame) override { m_frame = ((frame % m_count) + m_count) % m_count; }
    int GetFrameCount() const override { return m_count; }

private:
    int m_count;
    int m_frame = 0;
};

// Records the current action index at every event; `action` runs afterwards.
class Recorder : public CxAnimationListener
{
public:
    void OnAnimationEvent(CxAnimation* animation) override
    {
        indices.push_back(animation->GetCurActionIndex());
        if (action) {
            auto run = action; // the action may destroy this recorder's owner
            run(animation);
        }
    }
    size_t Count() const { return indices.size(); }

    std::vector<int> indices;
    std::function<void(CxAnimation*)> action;
};

// Counts the updates the shared callback makes; `onUpdate` replaces the step.
class CountingAnimation : public CxAnimation
{
public:
    void Update() override
    {
        ++updates;
        if (onUpdate) {
            auto run = onUpdate; // it may delete this animation
            run();
            return;
        }
        CxAnimation::Update();
    }
    int updates = 0;
    std::function<void()> onUpdate;
};

ST_ANIM_ACTION Move(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, float speed)
{
    ST_ANIM_ACTION a;
    a.flags = PIM_ANIM_START | PIM_ANIM_TARGET | PIM_ANIM_SPEED;
    a.startX = fromX;
    a.startY = fromY;
    a.targetX = toX;
    a.targetY = toY;
    a.speed = speed;
    return a;
}

ST_ANIM_ACTION Frames(int from, int to, float rate)
{
    ST_ANIM_ACTION a;
    a.flags = PIM_ANIM_START_FRAME | PIM_ANIM_END_FRAME | PIM_ANIM_FRAME_RATE;
    a.startFrame = from;
    a.endFrame = to;
    a.frameRate = rate;
    return a;
}

ST_ANIM_ACTION Timed(int32_t ms, uint32_t moreFlags = 0)
{
    ST_ANIM_ACTION a;
    a.flags = PIM_ANIM_DURATION | moreFlags;
    a.duration = ms;
    return a;
}

// Fails every allocation after the first `s_allowed`.
int s_allowed = 0;
bool FailAfterAllowed(size_t)
{
    return s_allowed-- <= 0;
}

class AnimationTest : public ::testing::Test
{
protected:
    void SetUp() override { PimSetClock(&m_clock); }
    void TearDown() override
    {
        EXPECT_EQ(CxAnimation::GetPlayingCount(), 0);
        EXPECT_FALSE(HasMainLoopCallback(&CxAnimation::UpdateAll));
        PimSetClock(nullptr);
    }

    // `count` updates of `animation`, 10 ms apart.
    void Run(CxAnimation& animation, int count)
    {
        for (int i = 0; i < count; ++i) {
            m_clock.Advance(10);
            animation.Update();
        }
    }
    // One round of the shared callback, `ms` later.
    void Round(uint32_t ms = PIM_ANIMATION_UPDATE_MS)
    {
        m_clock.Advance(ms);
        CxAnimation::UpdateAll();
    }
    void Attach(CxAnimation& animation, const std::vector<ST_ANIM_ACTION>& actions, CxDisplayObject* object = nullptr)
    {
        animation.SetDisplayObject(object ? object : &m_object);
        animation.SetListener(&m_listener);
        ASSERT_EQ(animation.AddActions(actions.data(), static_cast<int>(actions.size())), PIM_OK);
    }

    CxVirtualClock m_clock{1000};
    FrameObject m_object{40};
    Recorder m_listener;
};

TEST_F(AnimationTest, MovesAtItsSpeedAndFollowsHandMoves)
{
    {
        CxAnimation anim;
        Attach(anim, {Move(0, 0, 100, 0, 50), Timed(1000)});
        m_object.MoveTo(30, 30);
        anim.Play();
        EXPECT_EQ(m_object.GetPosition(), CxPoint(0, 0));
        Run(anim, 1); // half a pixel: not moved yet
        EXPECT_EQ(m_object.GetPosition().x, 0);
        Run(anim, 1);
        EXPECT_EQ(m_object.GetPosition().x, 1);
        Run(anim, 2);
        EXPECT_EQ(m_object.GetPosition().x, 2);
        Run(anim, 196); // 2000 ms in all
        EXPECT_EQ(m_object.GetPosition(), CxPoint(100, 0));
        EXPECT_EQ(anim.GetCurActionIndex(), 0);
        EXPECT_EQ(m_listener.Count(), 0u);
        Run(anim, 1);
        EXPECT_EQ(anim.GetCurActionIndex(), 1);
        EXPECT_EQ(m_listener.Count(), 1u);
        anim.Stop();
    }
    {
        // Only a step that really moved the object is told.
        CxAnimation anim;
        ST_ANIM_ACTION move = Move(0, 0, 10, 0, 50);
        move.flags |= PIM_ANIM_NOTIFY_MOVE;
        Attach(anim, {move});
        m_listener.indices.clear();
        anim.Play();
        Run(anim, 4);
        EXPECT_EQ(m_listener.Count(), 2u);
        anim.Stop();
    }
    {
        CxAnimation anim;
        Attach(anim, {Move(0, 0, 100, 0, 1000)});
        anim.Play();
        Run(anim, 2);
        EXPECT_EQ(m_object.GetPosition(), CxPoint(20, 0));
        m_object.MoveTo(50, 30);
        Run(anim, 1); // 10 px from (50, 30) toward (100, 0)
        EXPECT_EQ(m_object.GetPosition(), CxPoint(58, 24));
        Run(anim, 10);
        EXPECT_EQ(m_object.GetPosition(), CxPoint(100, 0));
        anim.Stop();
    }
}

TEST_F(AnimationTest, PlacesRelativeByAnchorSetsZAndShows)
{
    m_object.SetSize(20, 10);
    m_object.MoveTo(10, 10);
    m_object.Hide();
    ST_ANIM_ACTION place = Timed(100, PIM_ANIM_START | PIM_ANIM_ANCHOR | PIM_ANIM_Z);
    place.startX = 5;
    place.startY = 5;
    place.anchor = PIM_ANCHOR_CENTRE;
    place.z = 7;
    CxAnimation anim;
    Attach(anim, {place, Move(500, 500, 900, 900, 1000)});
    anim.SetRelative(true);
    anim.Play();
    // Centre (20, 15) moved by (5, 5).
    EXPECT_EQ(m_object.GetAnchorPoint(PIM_ANCHOR_CENTRE), CxPoint(25, 20));
    EXPECT_EQ(m_object.GetZ(), 7);
    EXPECT_TRUE(m_object.IsShown());

    anim.SetIgnorePositions(true);
    anim.SetCurAction(1, true);
    Run(anim, 5);
    EXPECT_EQ(m_object.GetPosition(), CxPoint(15, 15));
    anim.Stop();
}

TEST_F(AnimationTest, StepsFramesOnTimeForwardBackwardAndLate)
{
    {
        CxAnimation anim;
        Attach(anim, {Frames(0, 5, 10)});
        m_object.SetFrame(9);
        anim.Play();
        EXPECT_EQ(m_object.GetFrame(), 0);
        Run(anim, 49);
        EXPECT_EQ(m_object.GetFrame(), 4);
        Run(anim, 1);
        EXPECT_EQ(m_object.GetFrame(), 5);
        EXPECT_EQ(m_listener.Count(), 0u);
        Run(anim, 1);
        EXPECT_EQ(m_listener.Count(), 1u);
        EXPECT_FALSE(anim.IsPlaying());
    }
    {
        CxAnimation anim;
        Attach(anim, {Frames(5, 0, 10)});
        anim.Play();
        Run(anim, 20);
        EXPECT_EQ(m_object.GetFrame(), 3);
        Run(anim, 30);
        EXPECT_EQ(m_object.GetFrame(), 0);
        EXPECT_TRUE(anim.IsPlaying());
        Run(anim, 1);
        EXPECT_FALSE(anim.IsPlaying());
    }
    {
        // 250 ms late: three frames at once, then back on the 100 ms beat.
        CxAnimation anim;
        Attach(anim, {Frames(0, 9, 10)});
        anim.Play();
        m_clock.Advance(350);
        anim.Update();
        EXPECT_EQ(m_object.GetFrame(), 3);
        m_clock.Advance(49);
        anim.Update();
        EXPECT_EQ(m_object.GetFrame(), 3);
        m_clock.Advance(1);
        anim.Update();
        EXPECT_EQ(m_object.GetFrame(), 4);
        // Far past the end frame in one go: it stops there.
        m_clock.Advance(5000);
        anim.Update();
        EXPECT_EQ(m_object.GetFrame(), 9);
        anim.Stop();
    }
}

TEST_F(AnimationTest, FrameRatesAndFrameFlags)
{
    CxAnimation anim;
    ST_ANIM_ACTION notified = Frames(0, 3, 10);
    notified.flags |= PIM_ANIM_NOTIFY_FRAME;
    ST_ANIM_ACTION absolute = Frames(2, 3, 10);
    absolute.flags |= PIM_ANIM_ABSOLUTE_FRAMES;
    Attach(anim, {Frames(0, 5, 0), Frames(0, 5, -3), Frames(0, 30, 5000), notified, absolute});

    // A rate of 0 or less steps nothing (and never divides by it).
    for (int i = 0; i < 2; ++i) {
        anim.Play(i);
        Run(anim, 100);
        EXPECT_EQ(m_object.GetFrame(), 0);
        EXPECT_EQ(anim.GetCurActionIndex(), i);
    }
    // Above 1000 fps the period is 1 ms: ten frames per 10 ms update.
    anim.Play(2);
    Run(anim, 1);
    EXPECT_EQ(m_object.GetFrame(), 10);

    m_listener.indices.clear();
    anim.Play(3);
    Run(anim, 30);
    EXPECT_EQ(m_object.GetFrame(), 3);
    EXPECT_EQ(m_listener.Count(), 3u); // one per frame change
    Run(anim, 1);
    EXPECT_EQ(m_listener.Count(), 4u); // the action's end
    EXPECT_EQ(anim.GetCurActionIndex(), 4);

    // Absolute stepping counts from the start frame and ignores the end frame.
    m_clock.Advance(350);
    anim.Update();
    EXPECT_EQ(m_object.GetFrame(), 2 + 3);
    Run(anim, 5);
    EXPECT_EQ(m_object.GetFrame(), 2 + 1);
    EXPECT_EQ(anim.GetCurActionIndex(), 4);
    anim.Stop();
}

TEST_F(AnimationTest, DurationsRepeatsAndLoops)
{
    {
        // Lateness carries into the next timed action.
        CxAnimation anim;
        Attach(anim, {Timed(1000), Timed(1000)});
        anim.Play();
        m_clock.Advance(1030);
        anim.Update();
        EXPECT_EQ(anim.GetCurActionIndex(), 1);
        m_clock.Advance(969);
        anim.Update();
        EXPECT_EQ(m_listener.Count(), 1u);
        m_clock.Advance(1);
        anim.Update();
        EXPECT_EQ(m_listener.Count(), 2u);
        EXPECT_FALSE(anim.IsPlaying());
    }
    {
        // An action without a duration ignores the expired timer before it.
        CxAnimation anim;
        m_listener.indices.clear();
        Attach(anim, {Timed(100), Move(0, 0, 1000, 0, 10)});
        anim.Play();
        m_clock.Advance(130);
        anim.Update();
        EXPECT_EQ(anim.GetCurActionIndex(), 1);
        Run(anim, 3);
        EXPECT_EQ(m_listener.Count(), 1u);
        EXPECT_TRUE(anim.IsPlaying());
        anim.Stop();
    }
    {
        CxAnimation anim;
        m_listener.indices.clear();
        Attach(anim, {Timed(100), Timed(100), Timed(100)});
        anim.SetLoopCount(2);
        anim.Play();
        Run(anim, 70);
        EXPECT_EQ(m_listener.indices, (std::vector<int>{0, 1, 2, 0, 1, 2}));
        EXPECT_FALSE(anim.IsPlaying());
        // A second Play runs both loops again.
        m_listener.indices.clear();
        anim.Play();
        Run(anim, 70);
        EXPECT_EQ(m_listener.Count(), 6u);
    }
    {
        // Each repeat places again, relative to where the last one left it.
        CxAnimation anim;
        ST_ANIM_ACTION step = Timed(100, PIM_ANIM_REPEAT | PIM_ANIM_START);
        step.repeatCount = 3;
        step.startX = 10;
        m_object.MoveTo(0, 0);
        Attach(anim, {step, Timed(100, PIM_ANIM_LAST), Timed(100)});
        anim.SetRelative(true);
        anim.SetLoopCount(3);
        m_listener.indices.clear();
        anim.Play();
        EXPECT_EQ(anim.GetRepeatsLeft(), 3);
        Run(anim, 30);
        EXPECT_EQ(m_object.GetPosition().x, 30);
        EXPECT_EQ(anim.GetCurActionIndex(), 1);
        Run(anim, 10); // the last-action flag ends it, loops or not
        EXPECT_EQ(m_listener.indices, (std::vector<int>{0, 0, 0, 1}));
        EXPECT_FALSE(anim.IsPlaying());
    }
    {
        // Counts of 0 or less behave like 1.
        CxAnimation anim;
        ST_ANIM_ACTION none = Timed(100, PIM_ANIM_REPEAT);
        none.repeatCount = 0;
        ST_ANIM_ACTION negative = none;
        negative.repeatCount = -4;
        Attach(anim, {none, negative});
        anim.SetLoopCount(0);
        EXPECT_EQ(anim.GetLoopCount(), 1);
        anim.SetLoopCount(-7);
        EXPECT_EQ(anim.GetLoopCount(), 1);
        m_listener.indices.clear();
        anim.Play();
        EXPECT_EQ(anim.GetRepeatsLeft(), 1);
        Run(anim, 30);
        EXPECT_EQ(m_listener.indices, (std::vector<int>{0, 1}));
        EXPECT_FALSE(anim.IsPlaying());
    }
}

TEST_F(AnimationTest, PausesNestAndFreezeTheTimers)
{
    CxAnimation anim;
    Attach(anim, {Timed(100), Timed(100)});
    anim.Play();
    m_clock.Advance(50);
    anim.Pause();
    anim.Pause();
    m_clock.Advance(1000);
    anim.Update();
    anim.NextAction(); // told, but goes nowhere while paused
    EXPECT_EQ(m_listener.Count(), 1u);
    EXPECT_EQ(anim.GetCurActionIndex(), 0);
    anim.Resume();
    anim.Update();
    EXPECT_EQ(anim.GetPauseCount(), 1);
    EXPECT_EQ(anim.GetCurActionIndex(), 0);
    anim.Resume();
    anim.Resume(); // one too many does nothing
    EXPECT_EQ(anim.GetPauseCount(), 0);
    m_clock.Advance(49);
    anim.Update();
    EXPECT_EQ(anim.GetCurActionIndex(), 0);
    m_clock.Advance(1);
    anim.Update();
    EXPECT_EQ(anim.GetCurActionIndex(), 1);

    // Play and Stop clear the pause count.
    anim.Pause();
    anim.Play();
    EXPECT_EQ(anim.GetPauseCount(), 0);
    Run(anim, 10);
    EXPECT_EQ(anim.GetCurActionIndex(), 1);
    anim.Pause();
    anim.Stop();
    EXPECT_EQ(anim.GetPauseCount(), 0);
}

TEST_F(AnimationTest, EditingTheActionList)
{
    CxAnimation anim;
    Attach(anim, {Timed(1), Timed(2)});
    EXPECT_EQ(anim.InsertAction(1, Timed(9)), PIM_OK);
    EXPECT_EQ(anim.InsertAction(99, Timed(4)), PIM_OK);
    EXPECT_EQ(anim.InsertAction(-3, Timed(0)), PIM_OK);
    std::vector<int> durations;
    for (int i = 0; i < anim.GetActionCount(); ++i)
        durations.push_back(anim.GetAction(i)->duration);
    EXPECT_EQ(durations, (std::vector<int>{0, 1, 9, 2, 4}));
    EXPECT_EQ(anim.GetAction(5), nullptr);
    EXPECT_EQ(anim.GetAction(-2), nullptr);
    EXPECT_EQ(anim.RemoveAction(5), PIM_ERR_BAD_ARG);

    // A true modulo for indices out of range.
    anim.SetCurAction(-1, true);
    EXPECT_EQ(anim.GetCurActionIndex(), 4);
    anim.SetCurAction(-6, true);
    EXPECT_EQ(anim.GetCurActionIndex(), 4);
    anim.SetCurAction(7, true);
    EXPECT_EQ(anim.GetCurActionIndex(), 2);

    // All or nothing when memory runs out half way.
    s_allowed = 3;
    SetAllocationFailHook(&FailAfterAllowed);
    const ST_ANIM_ACTION more[3] = {Timed(5), Timed(6), Timed(7)};
    EXPECT_EQ(anim.InsertActions(1, more, 3), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(anim.GetActionCount(), 5);
    EXPECT_EQ(anim.GetAction(1)->duration, 1);

    // While playing, the current action stays the same one.
    anim.Play(2);
    anim.InsertAction(0, Timed(8));
    EXPECT_EQ(anim.GetAction()->duration, 9);
    anim.RemoveAction(0);
    anim.RemoveAction(0);
    EXPECT_EQ(anim.GetCurActionIndex(), 1);
    EXPECT_EQ(anim.GetAction()->duration, 9);
    EXPECT_TRUE(anim.IsPlaying());
    anim.RemoveAction(1); // the playing one
    EXPECT_FALSE(anim.IsPlaying());

    anim.Play();
    anim.RemoveAllActions();
    EXPECT_FALSE(anim.IsPlaying());
    EXPECT_EQ(anim.GetAction(), nullptr);
    anim.Play(); // nothing to play
    EXPECT_FALSE(anim.IsPlaying());

    // A listener emptying the list as an action ends.
    Attach(anim, {Timed(100), Timed(100)});
    m_listener.action = [](CxAnimation* a) { a->RemoveAllActions(); };
    anim.Play();
    Run(anim, 10);
    EXPECT_FALSE(anim.IsPlaying());
    m_listener.action = nullptr;

    // A listener switching to a new list as an action ends: the new list
    // starts at its first action, not one past it.
    Attach(anim, {Timed(100), Timed(100)});
    m_listener.action = [](CxAnimation* a) {
        const ST_ANIM_ACTION next[2] = {Timed(50), Timed(60)};
        a->RemoveAllActions();
        a->AddActions(next, 2);
        a->Play();
    };
    anim.Play();
    Run(anim, 10);
    EXPECT_EQ(anim.GetCurActionIndex(), 0);
    EXPECT_EQ(anim.GetAction()->duration, 50);
    m_listener.action = nullptr;
    anim.Stop();

    // Without an object there is nothing to drive.
    ErrorRecorder errors;
    CxAnimation orphan;
    orphan.AddActions(more, 1);
    EXPECT_EQ(orphan.SetCurAction(0, true), PIM_ERR_UNKNOWN);
    orphan.Play();
    EXPECT_FALSE(orphan.IsPlaying());
    ASSERT_EQ(errors.errors.size(), 2u);
    EXPECT_EQ(errors.errors[0].message, "No DisplayObject available for CxAnimation::SetCurAction()");
}

TEST_F(AnimationTest, SharedCallbackPacesAndSurvivesChanges)
{
    CountingAnimation a;
    Attach(a, {Timed(100000)});
    EXPECT_FALSE(HasMainLoopCallback(&CxAnimation::UpdateAll));
    a.Play();
    a.Play();
    EXPECT_EQ(CxAnimation::GetPlayingCount(), 1);
    EXPECT_TRUE(HasMainLoopCallback(&CxAnimation::UpdateAll));
    RunMainLoopCallbacks();
    EXPECT_EQ(a.updates, 1);
    m_clock.Advance(9);
    RunMainLoopCallbacks();
    EXPECT_EQ(a.updates, 1);
    m_clock.Advance(1);
    RunMainLoopCallbacks();
    EXPECT_EQ(a.updates, 2);

    auto* b = new CountingAnimation;
    auto* c = new CountingAnimation;
    CountingAnimation d;
    Attach(*b, {Timed(100000)});
    Attach(*c, {Timed(100000)});
    Attach(d, {Timed(100000)});
    b->Play();
    c->Play();

    // Stopping another ends the round early; the rest wait for the next one.
    a.onUpdate = [b] { b->Stop(); };
    Round();
    EXPECT_EQ(b->updates + c->updates, 0);
    a.onUpdate = nullptr;
    Round();
    EXPECT_EQ(b->updates, 0);
    EXPECT_EQ(c->updates, 1);
    b->Play();

    // A nested round inside an update, deleting an animation under both
    // walks and starting another.
    bool nested = false;
    a.onUpdate = [&] {
        if (!nested) {
            nested = true;
            CxAnimation::UpdateAll();
        }
    };
    b->onUpdate = [&] {
        delete c;
        c = nullptr;
        d.Play();
    };
    Round();
    EXPECT_EQ(a.updates, 6); // once in each round
    EXPECT_EQ(b->updates, 1);
    EXPECT_EQ(CxAnimation::GetPlayingCount(), 3);
    a.onUpdate = nullptr;
    b->onUpdate = [&] {
        delete b;
        b = nullptr;
    };
    Round();
    EXPECT_EQ(CxAnimation::GetPlayingCount(), 2);
    Round();
    EXPECT_EQ(a.updates, 8);
    EXPECT_EQ(d.updates, 1);

    a.Stop();
    EXPECT_TRUE(HasMainLoopCallback(&CxAnimation::UpdateAll));
    d.Stop();
}

TEST_F(AnimationTest, ListenerMayDestroyTheAnimationOrItsObject)
{
    const auto deleteIt = [](CxAnimation* a) { delete a; };
    ST_ANIM_ACTION frames = Frames(0, 9, 10);
    frames.flags |= PIM_ANIM_NOTIFY_FRAME;
    ST_ANIM_ACTION move = Move(0, 0, 100, 0, 1000);
    move.flags |= PIM_ANIM_NOTIFY_MOVE;
    // Action end, frame step and movement step, each through the shared callback.
    for (const ST_ANIM_ACTION& action : {Timed(20), frames, move}) {
        auto* anim = new CxAnimation;
        Attach(*anim, {action, Timed(100)});
        m_listener.action = deleteIt;
        anim->Play();
        Round(100);
        Round(100);
        EXPECT_EQ(CxAnimation::GetPlayingCount(), 0);
    }

    // Deleted in a notification nested inside another one.
    auto* anim = new CxAnimation;
    Attach(*anim, {Timed(10), Timed(10), Timed(10)});
    int events = 0;
    m_listener.action = [&events](CxAnimation* a) {
        if (events++ == 0)
            a->NextAction();
        else
            delete a;
    };
    anim->Play();
    Round(10);
    EXPECT_EQ(CxAnimation::GetPlayingCount(), 0);

    // The object goes: the animation lets go of it.
    auto* object = new FrameObject;
    CxAnimation driver;
    Attach(driver, {Timed(10), Timed(10)}, object);
    m_listener.action = [object](CxAnimation*) { delete object; };
    driver.Play();
    Round(10);
    EXPECT_EQ(driver.GetDisplayObject(), nullptr);
    EXPECT_EQ(driver.GetCurActionIndex(), 0);
    m_listener.action = nullptr;
    Round(10);
    {
        ErrorRecorder errors;
        EXPECT_EQ(driver.SetCurAction(1, true), PIM_ERR_UNKNOWN);
    }
    driver.Stop();

    auto* other = new FrameObject;
    driver.SetDisplayObject(other);
    delete other;
    EXPECT_EQ(driver.GetDisplayObject(), nullptr);
}

} // namespace
