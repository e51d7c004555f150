#include "PIM/display/CxAnimation.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/CxDisplayObject.h"
#include "PIM/display/PimDisplay.h"

#include <cmath>
#include <cstdint>

namespace {

using PlayingList = CxLinkedList<CxAnimation*>;
using ActionNode = CxLinkedList<ST_ANIM_ACTION*>::Node;

struct AnimationState
{
    // The main-loop callback array is made first so that it outlives this
    // state: an animation still playing at exit takes its callback out of it.
    AnimationState() { (void)GetMainLoopCallbackCount(); }

    // An entry whose animation left during a walk holds null until the
    // outermost walk sweeps it, so that no walk loses its place.
    PlayingList playing;
    CxTimer updateTimer;
    CxAnimation* firstAll = nullptr;
    int live = 0;
    int walkDepth = 0;
    // Bumped on every join and leave: a round ends early when it changes.
    uint32_t changes = 0;
    bool sweepPending = false;
    bool goneHookInstalled = false;
};

// Made by the first animation's constructor, so it is destroyed only after
// every animation that outlives main.
AnimationState& State()
{
    static AnimationState state;
    return state;
}

int AnchorOf(const ST_ANIM_ACTION& action)
{
    return (action.flags & PIM_ANIM_ANCHOR) ? action.anchor : PIM_ANCHOR_TOP_LEFT;
}

// 0 when the action steps no frames. A rate so high that the period would
// be below a millisecond steps every millisecond, several frames at a time
// when updates come slower.
uint32_t FramePeriod(const ST_ANIM_ACTION& action)
{
    if (!(action.flags & PIM_ANIM_FRAME_RATE) || !(action.frameRate > 0.0f))
        return 0;
    const double period = 1000.0 / static_cast<double>(action.frameRate);
    if (period < 1.0)
        return 1;
    if (period > static_cast<double>(kMaxTimerSpan))
        return kMaxTimerSpan;
    return static_cast<uint32_t>(period);
}

// The signed time to the timer's end: negative when the end has passed, so
// that a late update shortens what follows.
int64_t TimeLeft(const CxTimer& timer)
{
    if (!timer.IsRunning() || timer.IsEndless())
        return 0;
    if (timer.IsPaused())
        return timer.Remaining();
    return static_cast<int32_t>(timer.GetEndTick() - PimGetTicks());
}

// Toward zero, as the stored position is compared with the object's point;
// rounding to nearest here would make the two disagree and the animation
// would take its own half-pixel move for a move by somebody else.
int32_t Truncate(float value)
{
    if (!(value > static_cast<float>(INT32_MIN)))
        return INT32_MIN;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    return static_cast<int32_t>(value);
}

// Objects wrap frames themselves; only a value beyond int is wrapped here.
int FrameValue(int64_t frame, int frameCount)
{
    if (frame >= INT32_MIN && frame <= INT32_MAX)
        return static_cast<int>(frame);
    const int64_t count = frameCount > 0 ? frameCount : 1;
    int64_t wrapped = frame % count;
    if (wrapped < 0)
        wrapped += count;
    return static_cast<int>(wrapped);
}

} // namespace

CxAnimation::CxAnimation()
{
    AnimationState& state = State();
    if (!state.goneHookInstalled)
        state.goneHookInstalled = AddObjectGoneHook(&CxAnimation::ForgetDisplayObject);
    m_nextAll = state.firstAll;
    if (m_nextAll)
        m_nextAll->m_previousAll = this;
    state.firstAll = this;
}

CxAnimation::~CxAnimation()
{
    if (m_deletedFlag)
        *m_deletedFlag = true;
    m_playing = false;
    LeavePlayingList();
    CxAnimation::RemoveAllActions();

    AnimationState& state = State();
    if (m_previousAll)
        m_previousAll->m_nextAll = m_nextAll;
    else
        state.firstAll = m_nextAll;
    if (m_nextAll)
        m_nextAll->m_previousAll = m_previousAll;
}

// --- playing ---------------------------------------------------------------------------------

void CxAnimation::Play(int firstAction)
{
    m_playing = true;
    ClearPauses();
    // A restart owes nothing to the run before it (no lateness carried over).
    ResetTimers();
    m_loopsLeft = m_loopCount;
    if (m_actions.IsEmpty() || SetCurAction(firstAction, true) != PIM_OK) {
        Stop();
        return;
    }
    JoinPlayingList();
}

void CxAnimation::Stop()
{
    LeavePlayingList();
    ClearPauses();
    m_playing = false;
    ResetTimers();
}

void CxAnimation::SetLoopCount(int loops)
{
    m_loopCount = loops > 0 ? loops : 1;
    m_loopsLeft = m_loopCount;
}

void CxAnimation::Pause()
{
    if (m_pauseCount++ == 0) {
        m_frameTimer.AddPause();
        m_moveTimer.AddPause();
        m_durationTimer.AddPause();
    }
}

void CxAnimation::Resume()
{
    if (m_pauseCount > 0 && --m_pauseCount == 0) {
        m_frameTimer.RemovePause();
        m_moveTimer.RemovePause();
        m_durationTimer.RemovePause();
    }
}

void CxAnimation::ClearPauses()
{
    if (m_pauseCount > 0) {
        m_pauseCount = 1;
        Resume();
    }
}

void CxAnimation::ResetTimers()
{
    m_frameTimer.Reset();
    m_moveTimer.Reset();
    m_durationTimer.Reset();
}

// --- the action list -------------------------------------------------------------------------

ST_ANIM_ACTION* CxAnimation::ActionAt(int index) const
{
    if (index < 0)
        return nullptr;
    ST_ANIM_ACTION* const* entry = m_actions.GetAt(static_cast<size_t>(index));
    return entry ? *entry : nullptr;
}

const ST_ANIM_ACTION* CxAnimation::GetAction(int index) const
{
    return ActionAt(index == -1 ? m_current : index);
}

int CxAnimation::SetActionFrameRate(int index, float rate)
{
    ST_ANIM_ACTION* action = ActionAt(index);
    if (!action)
        return PIM_ERR_BAD_ARG;
    action->frameRate = rate;
    action->flags |= PIM_ANIM_FRAME_RATE;
    return PIM_OK;
}

int CxAnimation::InsertActions(int index, const ST_ANIM_ACTION* actions, int count)
{
    if (count == 0)
        return PIM_OK;
    if (count < 0 || !actions)
        return PIM_ERR_BAD_ARG;
    const int existing = GetActionCount();
    if (index < 0)
        index = 0;
    ActionNode* before = nullptr;
    if (index < existing) {
        before = m_actions.GetFirst();
        for (int i = 0; i < index; ++i)
            before = before->GetNext();
    }
    ActionNode* first = nullptr;
    for (int i = 0; i < count; ++i) {
        ST_ANIM_ACTION* copy = PimNew<ST_ANIM_ACTION>(__FILE__, __LINE__, actions[i]);
        ActionNode* node = copy ? m_actions.InsertBefore(before, copy) : nullptr;
        if (!node) {
            // All or nothing: a half-inserted script would play nonsense.
            PimDelete(copy);
            while (first && first != before) {
                ActionNode* next = first->GetNext();
                PimDelete(first->GetElement());
                m_actions.Remove(first);
                first = next;
            }
            // The allocator has reported the failure already.
            m_error = PIM_ERR_OUT_OF_MEMORY;
            return m_error;
        }
        if (!first)
            first = node;
    }
    // The playing action stays the one playing.
    if (m_playing && existing > 0 && index <= m_current)
        m_current += count;
    return PIM_OK;
}

int CxAnimation::AddActions(const ST_ANIM_ACTION* actions, int count)
{
    return InsertActions(GetActionCount(), actions, count);
}

int CxAnimation::InsertAction(int index, const ST_ANIM_ACTION& action)
{
    return InsertActions(index, &action, 1);
}

int CxAnimation::RemoveAction(int index)
{
    const int count = GetActionCount();
    if (index < 0 || index >= count)
        return PIM_ERR_BAD_ARG;
    ActionNode* node = m_actions.GetFirst();
    for (int i = 0; i < index; ++i)
        node = node->GetNext();
    PimDelete(node->GetElement());
    m_actions.Remove(node);

    if (index < m_current) {
        --m_current;
    } else if (index == m_current) {
        // Its placing and timers are gone with it; carrying on with the next
        // action half set up would be guesswork.
        if (m_playing)
            Stop();
        if (m_current >= count - 1)
            m_current = 0;
    }
    return PIM_OK;
}

void CxAnimation::RemoveAllActions()
{
    for (ActionNode* node = m_actions.GetFirst(); node; node = node->GetNext())
        PimDelete(node->GetElement());
    m_actions.Clear();
    m_current = 0;
    if (m_playing)
        Stop();
}

// --- stepping --------------------------------------------------------------------------------

int CxAnimation::SetCurAction(int index, bool resetRepeats)
{
    if (!m_object)
        return SetError(PIM_ERR_UNKNOWN, "No DisplayObject available for CxAnimation::SetCurAction()");
    const int count = GetActionCount();
    if (count == 0)
        return PIM_OK;
    index %= count;
    if (index < 0)
        index += count;
    m_current = index;
    ++m_actionStarts;
    ST_ANIM_ACTION& action = *ActionAt(index);

    if (resetRepeats)
        m_repeatsLeft = (action.flags & PIM_ANIM_REPEAT) && action.repeatCount > 1 ? action.repeatCount : 1;

    const int anchor = AnchorOf(action);
    CxPoint position = m_object->GetAnchorPoint(anchor);
    if (!m_ignorePositions && (action.flags & PIM_ANIM_START)) {
        const CxPoint start(action.startX, action.startY);
        position = m_relative ? position + start : start;
    }
    if (action.flags & PIM_ANIM_Z)
        m_object->SetZ(action.z);
    // Shows the object too.
    m_object->MoveTo(position, anchor);

    if (action.flags & PIM_ANIM_DURATION) {
        int64_t duration = static_cast<int64_t>(action.duration) + TimeLeft(m_durationTimer);
        if (duration < 1)
            duration = 1;
        m_durationTimer.Start(static_cast<uint32_t>(duration < kMaxTimerSpan ? duration : kMaxTimerSpan));
    } else {
        // An expired timer left from the previous action would end this one
        // on its first update.
        m_durationTimer.Reset();
    }

    const uint32_t period = FramePeriod(action);
    if (period)
        m_frameTimer.Start(period);
    else
        m_frameTimer.Reset();

    m_moveTimer.Start(0);

    if (!(action.flags & PIM_ANIM_SPEED))
        action.speed = 1.0f;
    if (action.flags & PIM_ANIM_START_FRAME)
        m_object->SetFrame(action.startFrame);

    m_x = static_cast<float>(position.x);
    m_y = static_cast<float>(position.y);
    m_z = 0.0f;
    return PIM_OK;
}

void CxAnimation::Update()
{
    if (!m_object || !m_playing || m_pauseCount > 0)
        return;
    const ST_ANIM_ACTION* current = ActionAt(m_current);
    if (!current) {
        Stop();
        return;
    }
    const ST_ANIM_ACTION& action = *current;
    const int anchor = AnchorOf(action);

    const CxPoint point = m_object->GetAnchorPoint(anchor);
    if (point != CxPoint(Truncate(m_x), Truncate(m_y))) {
        // Somebody else moved the object: carry on from where it is now.
        m_x = static_cast<float>(point.x);
        m_y = static_cast<float>(point.y);
    }

    if (m_durationTimer.IsDueAt(PimGetTicks())) {
        NextAction();
        return;
    }
    const bool moves = !m_ignorePositions && (action.flags & PIM_ANIM_TARGET);
    const CxPoint target(action.targetX, action.targetY);
    if (moves && point == target) {
        NextAction();
        return;
    }
    if ((action.flags & PIM_ANIM_END_FRAME) && !(action.flags & PIM_ANIM_ABSOLUTE_FRAMES) &&
        m_object->GetFrame() == action.endFrame) {
        NextAction();
        return;
    }

    bool notifyMove = false;
    if (moves && m_moveTimer.IsRunning()) {
        const float dx = static_cast<float>(target.x) - m_x;
        const float dy = static_cast<float>(target.y) - m_y;
        const float distance = std::sqrt(dx * dx + dy * dy);
        const float step = static_cast<float>(m_moveTimer.Elapsed()) * action.speed * 0.001f;
        if (step >= distance) {
            m_x = static_cast<float>(target.x);
            m_y = static_cast<float>(target.y);
        } else if (step > 0.0f) {
            m_x += dx / distance * step;
            m_y += dy / distance * step;
        }
        const CxPoint rounded(Truncate(m_x), Truncate(m_y));
        if (rounded != point) {
            m_object->MoveTo(rounded, anchor);
            notifyMove = (action.flags & PIM_ANIM_NOTIFY_MOVE) != 0;
        }
        m_moveTimer.Start(0);
    }

    if (!StepFrames(action))
        return;
    if (notifyMove)
        (void)Notify();
}

bool CxAnimation::StepFrames(const ST_ANIM_ACTION& action)
{
    const uint32_t period = FramePeriod(action);
    const uint32_t now = PimGetTicks();
    if (period == 0 || !m_frameTimer.IsDueAt(now))
        return true;
    const uint32_t late = now - m_frameTimer.GetEndTick();
    const int64_t steps = late / period + 1;
    // Restarted short by the lateness, so the frames keep their rhythm.
    m_frameTimer.Start(period - late % period);

    const int before = m_object->GetFrame();
    const uint32_t flags = action.flags;
    int64_t next;
    if (flags & PIM_ANIM_ABSOLUTE_FRAMES) {
        next = action.startFrame + steps;
    } else if ((flags & PIM_ANIM_START_FRAME) && (flags & PIM_ANIM_END_FRAME) && action.endFrame < action.startFrame) {
        next = before - steps;
        if (next < action.endFrame)
            next = action.endFrame;
    } else {
        next = before + steps;
        if ((flags & PIM_ANIM_END_FRAME) && next > action.endFrame)
            next = action.endFrame;
    }
    m_object->SetFrame(FrameValue(next, m_object->GetFrameCount()));

    if ((flags & PIM_ANIM_NOTIFY_FRAME) && m_object->GetFrame() != before) {
        (void)Notify();
        return false;
    }
    return true;
}

void CxAnimation::NextAction()
{
    const uint32_t starts = m_actionStarts;
    if (!Notify())
        return;
    // A listener that started an action itself has decided what comes next.
    if (!m_object || !m_playing || m_pauseCount > 0 || m_actionStarts != starts)
        return;
    // The listener may have removed actions.
    const ST_ANIM_ACTION* action = ActionAt(m_current);
    if (!action) {
        Stop();
        return;
    }
    if (--m_repeatsLeft >= 1) {
        SetCurAction(m_current, false);
        return;
    }
    if (!(action->flags & PIM_ANIM_LAST)) {
        if (m_current + 1 < GetActionCount()) {
            SetCurAction(m_current + 1, true);
            return;
        }
        if (--m_loopsLeft >= 1) {
            SetCurAction(0, true);
            return;
        }
    }
    Stop();
}

bool CxAnimation::Notify()
{
    if (!m_listener)
        return true;
    // Chained, so that an outer notification still running on the stack
    // learns of a deletion inside a nested one.
    bool deleted = false;
    bool* outer = m_deletedFlag;
    m_deletedFlag = &deleted;
    m_listener->OnAnimationEvent(this);
    if (deleted) {
        if (outer)
            *outer = true;
        return false;
    }
    m_deletedFlag = outer;
    return true;
}

// --- the playing list ------------------------------------------------------------------------

void CxAnimation::JoinPlayingList()
{
    AnimationState& state = State();
    if (state.playing.Find(this))
        return;
    if (!state.playing.Append(this)) {
        m_error = PIM_ERR_OUT_OF_MEMORY;
        m_playing = false;
        ResetTimers();
        return;
    }
    ++state.changes;
    ++state.live;
    // Asked on every join (adding twice does nothing), so that a main loop
    // that was reset meanwhile gets the callback back.
    if (!AddMainLoopCallback(&CxAnimation::UpdateAll)) {
        m_error = PIM_ERR_OUT_OF_MEMORY;
        Stop();
    }
}

void CxAnimation::LeavePlayingList()
{
    AnimationState& state = State();
    PlayingList::Node* node = state.playing.Find(this);
    if (!node)
        return;
    if (state.walkDepth > 0) {
        node->GetElement() = nullptr;
        state.sweepPending = true;
    } else {
        state.playing.Remove(node);
    }
    ++state.changes;
    if (--state.live == 0) {
        RemoveMainLoopCallback(&CxAnimation::UpdateAll);
        // The next animation to play starts a rhythm of its own.
        state.updateTimer.Reset();
    }
}

int CxAnimation::GetPlayingCount()
{
    return State().live;
}

void CxAnimation::ForgetDisplayObject(const CxDisplayObject* object)
{
    if (!object)
        return;
    for (CxAnimation* animation = State().firstAll; animation; animation = animation->m_nextAll) {
        if (animation->m_object == object)
            animation->m_object = nullptr;
    }
}

void CxAnimation::UpdateAll()
{
    AnimationState& state = State();
    if (state.updateTimer.IsRunning() && !state.updateTimer.IsDueAt(PimGetTicks()))
        return;
    const uint32_t changes = state.changes;
    ++state.walkDepth;
    // Nodes are freed only by the sweep below, so the walk keeps its place
    // whatever the updates do, nested walks included.
    for (PlayingList::Node* node = state.playing.GetFirst(); node; node = node->GetNext()) {
        CxAnimation* animation = node->GetElement();
        if (!animation)
            continue;
        animation->Update();
        if (state.changes != changes)
            break;
    }
    if (--state.walkDepth == 0 && state.sweepPending) {
        state.sweepPending = false;
        PlayingList::Node* node = state.playing.GetFirst();
        while (node) {
            PlayingList::Node* next = node->GetNext();
            if (!node->GetElement())
                state.playing.Remove(node);
            node = next;
        }
    }
    if (state.live > 0)
        state.updateTimer.Start(PIM_ANIMATION_UPDATE_MS);
    else
        state.updateTimer.Reset();
}
