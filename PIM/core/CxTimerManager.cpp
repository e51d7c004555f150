#include "PIM/core/CxTimerManager.h"

#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/PimClock.h"

namespace {

CxTimerManager* g_manager = nullptr;

} // namespace

CxTimerManager* CxTimerManager::GetInstance()
{
    return g_manager;
}

bool CxTimerManager::Enter(CxTimerCallBack* timer)
{
    if (!g_manager) {
        g_manager = new CxTimerManager;
        if (!g_manager)
            return false;
        if (!g_manager->IsHooked()) {
            DestroyIfUnused();
            return false;
        }
    }
    if (!g_manager->m_timers.Append(timer)) {
        DestroyIfUnused();
        return false;
    }
    ++g_manager->m_live;
    return true;
}

void CxTimerManager::Leave(CxTimerCallBack* timer)
{
    if (!g_manager)
        return;
    CxTimerManager& manager = *g_manager;
    const ptrdiff_t index = manager.m_timers.IndexOf(timer);
    if (index < 0)
        return;
    if (manager.m_pollDepth > 0) {
        *manager.m_timers.Get(static_cast<size_t>(index)) = nullptr;
        ++manager.m_cleared;
    } else {
        manager.m_timers.RemoveAt(static_cast<size_t>(index));
    }
    --manager.m_live;
    DestroyIfUnused();
}

// A poll in progress still stands in the manager; the outermost one destroys
// it on its way out instead.
void CxTimerManager::DestroyIfUnused()
{
    if (!g_manager || g_manager->m_live > 0 || g_manager->m_pollDepth > 0)
        return;
    CxTimerManager* manager = g_manager;
    g_manager = nullptr;
    delete manager;
}

void CxTimerManager::OnMainLoop()
{
    Poll();
}

void CxTimerManager::Poll()
{
    ++m_pollDepth;
    const size_t count = m_timers.GetCount();
    for (size_t i = 0; i < count; ++i) {
        CxTimerCallBack* timer = *m_timers.Get(i);
        if (!timer)
            continue;
        CxTimerListener* listener = timer->GetListener();
        // Nothing here touches the timer after the call: the listener may
        // have deleted it, or this very manager may be all that is left.
        if (timer->TakeCall(PimGetTicks()))
            listener->OnTimer(timer);
    }
    if (--m_pollDepth > 0)
        return;
    Sweep();
    // The last timer went during the poll: nothing after this line may touch
    // a member.
    DestroyIfUnused();
}

void CxTimerManager::Sweep()
{
    if (m_cleared == 0)
        return;
    for (size_t i = m_timers.GetCount(); i-- > 0;) {
        if (!*m_timers.Get(i))
            m_timers.RemoveAt(i);
    }
    m_cleared = 0;
}
