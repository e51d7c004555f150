#pragma once
// A wait: done when its duration has passed since it started. A duration of
// 0 has no end, so the event holds its channel until the channel is flushed
// (a room's idle loop waits that way). Time spent paused does not count.
//
// The timer is a plain CxTimer read by the dispatcher every frame; nothing
// else polls it.

#include "PIM/app/CxEvent.h"
#include "PIM/core/CxTimer.h"

class CTimerEvent : public CxEvent
{
public:
    explicit CTimerEvent(uint32_t duration, uint32_t flags = 0);
    ~CTimerEvent() override = default;

    void Reset() override;
    void Start() override;
    // Ends the wait: the event is done from then on, until reset.
    void Stop() override;
    bool IsDone() const override;
    // One pause of the timer, however many times called; Resume gives it back.
    void Pause() override;
    void Resume() override;

    uint32_t GetDuration() const { return m_duration; }
    const CxTimer& GetTimer() const { return m_timer; }

private:
    CxTimer m_timer;
    uint32_t m_duration;
    bool m_stopped = false;
};
