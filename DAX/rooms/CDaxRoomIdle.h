#pragma once
// A room's idle time-outs. A player who does nothing for the idle time
// hears time-out 1, one idle time later time-out 2, and so on up to the
// most time-outs in a row; then nothing until the next input, which starts
// the wait again and (unless the room turned that off) the count too.
//
// The wait is a plain CxTimer that the room looks at once a frame
// (TakeTimeOut): no call comes from the timer poll, and a frame late is a
// frame late, never two time-outs at once.
//
// Numbers the option file gets wrong: "IdleTime" of 0 or less means no
// time-outs (a huge one is a wait that never ends, the timers' span being
// 24.8 days); "MaxIdleCount" below 0 is 0; at most DAX_ROOM_TIMEOUTS_MAX
// scripts are read.

#include "PIM/core/CxArray.h"
#include "PIM/core/CxString.h"
#include "PIM/core/CxTimer.h"

class CxOptions;

constexpr int DAX_ROOM_DEFAULT_IDLE_TIME = 30000;
constexpr int DAX_ROOM_DEFAULT_MAX_IDLE_COUNT = 3;
constexpr int DAX_ROOM_TIMEOUTS_MAX = 64;

class CDaxRoomIdle
{
public:
    CDaxRoomIdle() = default;
    CDaxRoomIdle(const CDaxRoomIdle&) = delete;
    CDaxRoomIdle& operator=(const CDaxRoomIdle&) = delete;

    // "OnTimeOut1", "OnTimeOut2", ... up to the first empty one, "IdleTime"
    // and "MaxIdleCount" of `section`; missing keys give the defaults.
    void ReadOptions(CxOptions& store, const char* section);
    void ClearScripts() { m_scripts.Clear(); }

    // The timer stopped, the count cleared, and the wait started (not
    // without an idle time).
    void Start();
    void Stop() { m_timer.Reset(); }
    // Input: a running wait that is not paused starts over; the count is
    // cleared when input clears it.
    void NoteInput();
    void ResetCount() { m_count = 0; }

    // Once a frame, at `now`: when the wait is over and fewer time-outs
    // than the most have come, the count goes up, the wait starts over and
    // the new count comes back (the number of the time-out due); else 0.
    int TakeTimeOut(uint32_t now);

    // The text of time-out `number` (from 1); null when there is none.
    const char* GetScript(int number) const;
    int GetScriptCount() const { return static_cast<int>(m_scripts.GetCount()); }

    // Counted: two pauses need two resumes. A wait started while paused
    // starts paused.
    void Pause() { m_timer.AddPause(); }
    void Resume() { m_timer.RemovePause(); }

    // 0 or less: no time-outs.
    void SetIdleTime(int ms) { m_idleTime = ms > 0 ? static_cast<uint32_t>(ms) : 0; }
    uint32_t GetIdleTime() const { return m_idleTime; }
    // Below 0: 0.
    void SetMaxCount(int count) { m_maxCount = count > 0 ? count : 0; }
    int GetMaxCount() const { return m_maxCount; }
    int GetCount() const { return m_count; }
    void SetInputClearsCount(bool on) { m_inputClears = on; }
    bool GetInputClearsCount() const { return m_inputClears; }
    const CxTimer& GetTimer() const { return m_timer; }

private:
    CxTimer m_timer;
    CxArray<CxString> m_scripts;
    uint32_t m_idleTime = DAX_ROOM_DEFAULT_IDLE_TIME;
    int m_maxCount = DAX_ROOM_DEFAULT_MAX_IDLE_COUNT;
    int m_count = 0;
    bool m_inputClears = true;
};
