#include "DAX/sprites/CDaxSpriteCommandEvent.h"

#include "DAX/sprites/CDaxSprite.h"
#include "PIM/core/Pimstr.h"

CDaxSpriteCommandEvent::CDaxSpriteCommandEvent(CDaxSprite& sprite, const char* name, uint32_t flags)
    : CCommandEvent(nullptr, name, flags), m_handle(sprite.GetHandle())
{
}

CDaxSpriteCommandEvent* CDaxSpriteCommandEvent::Create(CDaxSprite& sprite, const char* name,
                                                       const CxEventArgs& args, uint32_t flags)
{
    auto* event = new CDaxSpriteCommandEvent(sprite, name, flags);
    if (!event)
        return nullptr;
    const bool nameKept = !event->GetName().IsEmpty() || PimStrLen(name) == 0;
    if (event->m_handle == 0 || !nameKept || event->SetArguments(args) != PIM_OK) {
        delete event;
        return nullptr;
    }
    return event;
}

void CDaxSpriteCommandEvent::Start()
{
    SetState(kStarted);
    if (CDaxSprite* sprite = CDaxSprite::FromHandle(m_handle))
        sprite->OnCommand(GetName().GetText(), GetArguments());
}
