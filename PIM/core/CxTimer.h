#pragma once
// A stopwatch that can also count down. All ticks come from PimGetTicks(): a
// 32-bit millisecond count that wraps about every 49.7 days. Time since a past
// tick is the plain unsigned difference, exact across the wrap; whether an end
// tick has come is told by a signed 32-bit difference, so durations are
// limited to kMaxTimerSpan (24.8 days) and longer ones are cut to it. "Stopped"
// and "runs without end" are flags of their own rather than end ticks of 0
// and 0xFFFFFFFF, which are ticks like any other near the wrap.
//
// Time spent paused does not count: a resume moves the start tick (and the
// end tick) forward by the length of the pause.

#include "PIM/core/CxObject.h"
#include "PIM/core/PimDefs.h"

// The longest duration a signed tick difference can tell from a past end.
constexpr uint32_t kMaxTimerSpan = 0x7FFFFFFFu;

class CxTimer : public CxObject
{
public:
    CxTimer() = default;
    ~CxTimer() override = default;

    // Starts over from now; 0 (or PIM_INFINITE) runs without end. A timer
    // started while its pause count is above 0 starts paused.
    void Start(uint32_t duration);
    // Stops and returns the time elapsed until now. The pause count is the
    // owner's and is left as it is.
    uint32_t Reset();

    // 0 when stopped; time spent paused does not count.
    uint32_t Elapsed() const;
    // 0 when stopped or due, PIM_INFINITE when running without end; frozen
    // while paused.
    uint32_t Remaining() const;
    // Running with an end, and `now` at or past it.
    bool IsDueAt(uint32_t now) const;

    // Called on the transitions of the pause count (0 to 1 and 1 to 0); they
    // do nothing on a stopped timer, and a second Pause is ignored until Resume.
    virtual void Pause();
    virtual void Resume();

    // The counted form owners use: the first AddPause pauses, the matching
    // last RemovePause resumes, and a RemovePause at 0 does nothing.
    void AddPause();
    void RemovePause();
    int GetPauseCount() const { return m_pauseCount; }
    bool IsPaused() const { return m_pauseCount > 0; }

    bool IsRunning() const { return m_running; }
    bool IsEndless() const { return m_running && m_endless; }
    uint32_t GetStartTick() const { return m_startTick; }
    // The old encoding, for callers that still look at it: 0 when stopped,
    // 0xFFFFFFFF without end. The flags above are what the timer goes by.
    uint32_t GetEndTick() const;

protected:
    // True between a Pause that took effect and its Resume.
    bool HasPauseCapture() const { return m_captured; }
    uint32_t GetPauseTick() const { return m_pauseTick; }

private:
    int m_pauseCount = 0;
    uint32_t m_startTick = 0;
    uint32_t m_endTick = 0;
    uint32_t m_pauseTick = 0;
    uint32_t m_remainingAtPause = 0;
    bool m_running = false;
    bool m_endless = false;
    bool m_captured = false;
};
