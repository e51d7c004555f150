#include "DAX/sprites/CDaxSpritePlayOnceEvent.h"

#include "DAX/sprites/CDaxSprite.h"

CDaxSpritePlayOnceEvent::CDaxSpritePlayOnceEvent(CDaxSprite& sprite, int state, uint32_t flags)
    : CDaxSpriteEvent(sprite, flags), m_playState(state)
{
}

CDaxSpritePlayOnceEvent* CDaxSpritePlayOnceEvent::Create(CDaxSprite& sprite, int state, uint32_t flags)
{
    auto* event = new CDaxSpritePlayOnceEvent(sprite, state, flags);
    if (event && event->GetTargetHandle() == 0) {
        delete event;
        return nullptr;
    }
    return event;
}

void CDaxSpritePlayOnceEvent::Reset()
{
    CDaxSpriteEvent::Reset();
    m_stopped = false;
}

void CDaxSpritePlayOnceEvent::Start()
{
    SetState(kStarted);
    m_stopped = false;
    if (CDaxSprite* sprite = GetTarget())
        sprite->PlayOnce(m_playState);
}

void CDaxSpritePlayOnceEvent::Stop()
{
    if (CDaxSprite* sprite = GetTarget())
        sprite->Stop();
    m_stopped = true;
}

bool CDaxSpritePlayOnceEvent::IsDone() const
{
    const CDaxSprite* sprite = GetTarget();
    return m_stopped || !sprite || sprite->IsStopped();
}
