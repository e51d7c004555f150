#include "PIM/core/CxRoomTimers.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxTimerCallBack.h"

CxRoomTimers::CxRoomTimers(CxTimerListener* room) : m_room(room)
{
}

CxRoomTimers::~CxRoomTimers()
{
    Unload();
}

int CxRoomTimers::SetTimer(int id, uint32_t interval, int userValue)
{
    KillTimer(id);
    CxTimerCallBack* timer = new CxTimerCallBack(m_room, interval, id, userValue);
    if (timer && (!timer->IsPolled() || !m_timers.Append(timer))) {
        delete timer;
        timer = nullptr;
    }
    // Every way this fails is an allocation the tracking allocator has
    // already reported (and counted): reporting it again would count one
    // failure twice towards the game's error limit.
    if (!timer)
        return PIM_ERR_OUT_OF_MEMORY;
    // Set while the room is paused: held like the room's other timers, and
    // released by the same Resume.
    for (int i = 0; i < m_pauseDepth; ++i)
        timer->AddPause();
    timer->Start(0);
    return PIM_OK;
}

bool CxRoomTimers::KillTimer(int id)
{
    TimerNode* node = FindNode(id);
    if (!node)
        return false;
    Discard(node);
    return true;
}

void CxRoomTimers::KillAllTimers()
{
    while (TimerNode* node = m_timers.GetLast())
        Discard(node);
}

bool CxRoomTimers::PauseTimer(int id)
{
    CxTimerCallBack* timer = FindTimer(id);
    if (!timer)
        return false;
    timer->AddPause();
    return true;
}

bool CxRoomTimers::ResumeTimer(int id)
{
    CxTimerCallBack* timer = FindTimer(id);
    if (!timer)
        return false;
    // The pauses below the room's depth are the room's own.
    if (timer->GetPauseCount() > m_pauseDepth)
        timer->RemovePause();
    return true;
}

void CxRoomTimers::Pause()
{
    ++m_pauseDepth;
    for (TimerNode* node = m_timers.GetFirst(); node; node = node->GetNext())
        node->GetElement()->AddPause();
}

void CxRoomTimers::Resume()
{
    if (m_pauseDepth == 0)
        return;
    --m_pauseDepth;
    for (TimerNode* node = m_timers.GetFirst(); node; node = node->GetNext())
        node->GetElement()->RemovePause();
}

void CxRoomTimers::Flush()
{
    m_cleaner.Flush();
}

void CxRoomTimers::Unload()
{
    KillAllTimers();
    Flush();
}

CxTimerCallBack* CxRoomTimers::FindTimer(int id)
{
    TimerNode* node = FindNode(id);
    return node ? node->GetElement() : nullptr;
}

CxRoomTimers::TimerNode* CxRoomTimers::FindNode(int id)
{
    for (TimerNode* node = m_timers.GetFirst(); node; node = node->GetNext()) {
        if (node->GetElement()->GetId() == id)
            return node;
    }
    return nullptr;
}

void CxRoomTimers::Discard(TimerNode* node)
{
    CxTimerCallBack* timer = node->GetElement();
    m_timers.Remove(node);
    // Stopped and cut from the room now, deleted only at the flush: it must
    // not fire again, not even later in the poll that is calling a handler.
    timer->Reset();
    timer->SetListener(nullptr);
    m_cleaner.Add(timer);
}
