#include "PIM/app/CInfoEvent.h"

void CInfoEvent::Start()
{
    SetState(kStarted);
}

bool CInfoEvent::IsDone() const
{
    return true;
}

// A paused notice holds its channel: the dispatcher leaves a paused front
// event alone, so whatever was queued behind it waits as well.
void CInfoEvent::Pause()
{
    SetState(kPaused);
}

void CInfoEvent::Resume()
{
    ClearState(kPaused);
}
