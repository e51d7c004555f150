#include "DAX/sprites/CDaxSpriteEvent.h"

#include "DAX/sprites/CDaxSprite.h"

CDaxSpriteEvent::CDaxSpriteEvent(CDaxSprite& target, uint32_t flags) : CxEvent(flags), m_handle(target.GetHandle())
{
}

CDaxSpriteEvent::~CDaxSpriteEvent()
{
    Resume();
}

CDaxSprite* CDaxSpriteEvent::GetTarget() const
{
    return CDaxSprite::FromHandle(m_handle);
}

void CDaxSpriteEvent::Reset()
{
    Resume();
    CxEvent::Reset();
}

void CDaxSpriteEvent::Pause()
{
    if (GetState() & kPaused)
        return;
    SetState(kPaused);
    if (CDaxSprite* target = GetTarget())
        target->Pause();
}

void CDaxSpriteEvent::Resume()
{
    if (!(GetState() & kPaused))
        return;
    ClearState(kPaused);
    if (CDaxSprite* target = GetTarget())
        target->Resume();
}
