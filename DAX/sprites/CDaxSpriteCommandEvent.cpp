#include "DAX/sprites/CDaxSpriteCommandEvent.h"

#include "DAX/sprites/CDaxSprite.h"

CDaxSpriteCommandEvent::CDaxSpriteCommandEvent(CDaxSprite& sprite, const char* name, uint32_t flags)
    : CDaxHandleCommandEvent(sprite, name, flags)
{
}

CDaxSpriteCommandEvent* CDaxSpriteCommandEvent::Create(CDaxSprite& sprite, const char* name,
                                                       const CxEventArgs& args, uint32_t flags)
{
    return Completed(new CDaxSpriteCommandEvent(sprite, name, flags), name, args);
}
