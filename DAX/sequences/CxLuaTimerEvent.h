#pragma once
// A line of Lua run again and again for a while: every `interval` ms from
// the start (the first call one interval after it), until `duration` ms have
// passed (0: until the channel is flushed). Pausing holds both the calls and
// the duration; the interval keeps its phase across the pause.

#include "DAX/sequences/CTimerEvent.h"
#include "PIM/core/CxString.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"

class CxLuaTimerEvent : public CTimerEvent, public CxTimerListener
{
public:
    // An interval of 0 calls at every poll of the timers (once a frame).
    CxLuaTimerEvent(uint32_t duration, uint32_t interval, const char* text, uint32_t flags = 0);
    ~CxLuaTimerEvent() override = default;

    void Reset() override;
    void Start() override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    // No call after the duration.
    void OnDone() override;

    // Runs the text. The text may delete this event: nothing of it is
    // touched after the call.
    void OnTimer(CxTimerCallBack* timer) override;

    const char* GetText() const { return m_text.GetText(); }
    uint32_t GetInterval() const { return m_interval; }

private:
    CxString m_text;
    uint32_t m_interval;
    CxTimerCallBack m_calls;
};
