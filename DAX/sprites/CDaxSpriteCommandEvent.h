#pragma once
// A command for a scripted sprite, queued like any event ("Barn.Erase()"
// after a sound hides the barn once the sound is over). It holds the
// sprite's checked handle: a command whose sprite is gone does nothing and
// is done, as every command is once started.

#include "DAX/base/CDaxHandleCommandEvent.h"

class CDaxSprite;

class CDaxSpriteCommandEvent : public CDaxHandleCommandEvent
{
public:
    CDaxSpriteCommandEvent(CDaxSprite& sprite, const char* name, uint32_t flags = kDeleteWhenDone);
    ~CDaxSpriteCommandEvent() override = default;

    // With copies of `args`; null when memory ran out.
    static CDaxSpriteCommandEvent* Create(CDaxSprite& sprite, const char* name, const CxEventArgs& args,
                                          uint32_t flags = kDeleteWhenDone);
};
