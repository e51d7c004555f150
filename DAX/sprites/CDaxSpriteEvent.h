#pragma once
// What the game layer's events aimed at a scripted sprite or a talking
// character share: the target held by its checked handle, never by its
// address, so that an event whose sprite was deleted finds nothing (and is
// then done) instead of freed memory; and pausing that nests on the
// target's own pause count, one pause an event at the most, given back
// when the event resumes, is reset or goes.

#include "PIM/app/CxEvent.h"

class CDaxSprite;

class CDaxSpriteEvent : public CxEvent
{
public:
    CDaxSpriteEvent(CDaxSprite& target, uint32_t flags);
    ~CDaxSpriteEvent() override;

    void Reset() override;
    void Pause() override;
    void Resume() override;

    // The target, or null once it is gone.
    CDaxSprite* GetTarget() const;
    uint32_t GetTargetHandle() const { return m_handle; }

private:
    uint32_t m_handle;
};
