#pragma once
// A timer that calls its listener: every `interval` milliseconds, once when
// it runs out, or both. The timer manager polls every call-back timer once per
// main-loop iteration, so the resolution is one frame, and a late poll makes
// one call, never one per interval missed.
//
// A call-back timer enters the manager's list when constructed and leaves it
// when destroyed; it may be destroyed at any moment, from inside its own
// OnTimer included. Timers are main-thread only.

#include "PIM/core/CxTimer.h"
#include "PIM/core/CxTimerListener.h"

class CxTimerCallBack : public CxTimer
{
public:
    // PIM_INFINITE as the interval means no periodic calls. The timer is made
    // stopped: Start() sets it going.
    explicit CxTimerCallBack(CxTimerListener* listener = nullptr, uint32_t interval = PIM_INFINITE, int id = 0,
                             int userValue = 0);
    ~CxTimerCallBack() override;

    // The manager's list holds the timer by address.
    CxTimerCallBack(const CxTimerCallBack&) = delete;
    CxTimerCallBack& operator=(const CxTimerCallBack&) = delete;

    // Keep the interval's phase across a pause: a timer paused 200 ms after a
    // call makes its next call interval - 200 ms after the resume.
    void Pause() override;
    void Resume() override;

    CxTimerListener* GetListener() const { return m_listener; }
    void SetListener(CxTimerListener* listener) { m_listener = listener; }
    uint32_t GetInterval() const { return m_interval; }
    void SetInterval(uint32_t interval) { m_interval = interval; }
    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }
    int GetUserValue() const { return m_userValue; }
    void SetUserValue(int value) { m_userValue = value; }

    // The tick of the last periodic call; meaningful only once HasBeenCalled.
    uint32_t GetLastCallTick() const { return m_lastCall; }
    // A flag rather than a last-call tick of 0, which is a real tick for a
    // clock that starts near 0 (or wraps): a new timer fires at its first poll.
    bool HasBeenCalled() const { return m_called; }
    // Counts as called at `tick`: the next periodic call comes one interval
    // after it (a timer started and marked at its start tick makes its first
    // call one interval later, not at its first poll).
    void SetLastCallTick(uint32_t tick)
    {
        m_lastCall = tick;
        m_called = true;
    }

    // False when memory ran out as the timer entered the manager's list: the
    // timer would never be polled, so its owner should delete it.
    bool IsPolled() const { return m_polled; }

    // The poll's decision for this timer at `now`, applied: a timer that is
    // due stops, one whose interval has come round records the call. True
    // when the listener is to be called.
    bool TakeCall(uint32_t now);

private:
    CxTimerListener* m_listener;
    uint32_t m_interval;
    uint32_t m_phaseAtPause = 0;
    uint32_t m_lastCall = 0;
    int m_userValue;
    int m_id;
    bool m_called = false;
    bool m_phaseKept = false;
    bool m_polled = false;
};
