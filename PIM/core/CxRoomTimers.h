#pragma once
// A room's call-back timers, known by the ids its scripts give them, with the
// cleaner that holds killed ones until the room's next per-frame update. The
// room embeds one, passing itself as the listener of every timer, calls
// Flush at the start of its per-frame update (which the main loop runs after
// the timer poll), and forwards its own Pause/Resume here.
//
// Killing is immediate as far as firing goes (a killed timer is stopped and
// cut from the room at once, so it cannot fire later in the same poll) but
// the object lives on until the flush: a handler may kill its own timer and
// go on reading it.

#include "PIM/core/CxCleaner.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxPauseResume.h"
#include "PIM/core/PimDefs.h"

class CxTimerCallBack;
class CxTimerListener;

class CxRoomTimers : public CxPauseResume
{
public:
    explicit CxRoomTimers(CxTimerListener* room);
    // Unloads: kills every timer and deletes them all.
    ~CxRoomTimers() override;

    CxRoomTimers(const CxRoomTimers&) = delete;
    CxRoomTimers& operator=(const CxRoomTimers&) = delete;

    // Replaces any timer with this id by a new one that fires at the first
    // poll after this call and then every `interval` ms, with the room as its
    // listener. PIM_OK, or PIM_ERR_OUT_OF_MEMORY (reported by the allocator) when the timer
    // could not be made; the old timer of that id is gone either way.
    int SetTimer(int id, uint32_t interval, int userValue);
    // Stops the first timer with this id and hands it to the cleaner. False
    // when the room has no such timer.
    bool KillTimer(int id);
    // The same for every timer, the newest first.
    void KillAllTimers();
    // Counted: two PauseTimer calls need two ResumeTimer calls. A ResumeTimer
    // with nothing to undo does nothing; in particular it cannot undo the
    // room's own pause. False when the room has no such timer.
    bool PauseTimer(int id);
    bool ResumeTimer(int id);

    // The room's pause (a dialog over it, the application losing the focus):
    // counted like PauseTimer, holding every timer of the room, those set
    // while it lasts included.
    void Pause() override;
    void Resume() override;
    int GetPauseDepth() const { return m_pauseDepth; }

    // Deletes the killed timers: at the start of the room's per-frame update.
    void Flush();
    // What the room does when it unloads: KillAllTimers, then Flush.
    void Unload();

    // The first timer with this id, or null.
    CxTimerCallBack* FindTimer(int id);
    size_t GetTimerCount() const { return m_timers.GetCount(); }
    CxCleaner& GetCleaner() { return m_cleaner; }

private:
    using TimerNode = CxLinkedList<CxTimerCallBack*>::Node;

    TimerNode* FindNode(int id);
    void Discard(TimerNode* node);

    CxTimerListener* m_room;
    CxLinkedList<CxTimerCallBack*> m_timers;
    CxCleaner m_cleaner;
    int m_pauseDepth = 0;
};
