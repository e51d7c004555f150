#pragma once
// The one list of call-back timers, polled once per main-loop iteration
// through the main-loop hook. It exists exactly while some call-back timer
// does: the first timer makes it, the last one to go takes it away.
//
// A listener may delete any timer while the poll runs, the one being called,
// the next ones, or all of them: a timer leaving during a poll only clears its
// slot, and the slots are swept once the outermost poll is over (a handler
// that runs a modal loop polls again from inside the poll). Slots never move
// during a poll, so no timer that was there when it began is skipped. Timers
// created during a poll are appended past the end the poll looks at, and get
// their first call at the next poll, never in the poll that made them.

#include "PIM/core/CxDynamicArray.h"
#include "PIM/core/CxMainLoopHook.h"

class CxTimerCallBack;

class CxTimerManager : public CxMainLoopHook
{
public:
    // Null while no call-back timer exists.
    static CxTimerManager* GetInstance();

    void OnMainLoop() override;

    // Live timers (cleared slots not counted).
    size_t GetTimerCount() const { return m_live; }
    bool IsPolling() const { return m_pollDepth > 0; }

private:
    friend class CxTimerCallBack;

    CxTimerManager() = default;
    ~CxTimerManager() override = default;

    // False when memory for the manager or the entry could not be had.
    static bool Enter(CxTimerCallBack* timer);
    static void Leave(CxTimerCallBack* timer);
    static void DestroyIfUnused();

    void Poll();
    void Sweep();

    CxDynamicArray<CxTimerCallBack*> m_timers;
    size_t m_live = 0;
    size_t m_cleared = 0;
    int m_pollDepth = 0;
};
