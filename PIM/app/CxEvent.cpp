#include "PIM/app/CxEvent.h"

#include "PIM/app/PimEventChannels.h"

CxEvent::~CxEvent()
{
    // A queue entry must never outlive its event, and a dispatcher calling
    // out on this event must learn that it is gone.
    PimEventInternal::EventDestroyed(this);
}

void CxEvent::Reset()
{
    ClearState(kStarted | kPaused);
}

bool CxEvent::IsStarted() const
{
    return (m_state & kStarted) != 0;
}

void CxEvent::Stop()
{
}

bool CxEvent::IsPaused() const
{
    return (m_state & kPaused) != 0;
}

void CxEvent::OnDone()
{
}

bool CxEvent::IsRunning() const
{
    return IsStarted() && !IsDone();
}

int CxEvent::Post(PimChannelId channel)
{
    return ::Post(this, channel);
}

void CxEvent::Unpost()
{
    PimEventInternal::Unpost(this);
}
