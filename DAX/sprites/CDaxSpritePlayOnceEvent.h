#pragma once
// "PlayOnce" aimed at a scripted sprite: starting it plays the state once,
// and it is done when the sprite has stopped (or was stopped through the
// event, or is gone), so that a sequence waits for the animation to end.

#include "DAX/sprites/CDaxSpriteEvent.h"

class CDaxSpritePlayOnceEvent : public CDaxSpriteEvent
{
public:
    CDaxSpritePlayOnceEvent(CDaxSprite& sprite, int state, uint32_t flags = kDeleteWhenDone);
    ~CDaxSpritePlayOnceEvent() override = default;

    // Null when memory ran out (for the event or the sprite's handle).
    static CDaxSpritePlayOnceEvent* Create(CDaxSprite& sprite, int state, uint32_t flags = kDeleteWhenDone);

    void Reset() override;
    void Start() override;
    void Stop() override;
    bool IsDone() const override;

    int GetPlayState() const { return m_playState; }

private:
    int m_playState;
    bool m_stopped = false;
};
