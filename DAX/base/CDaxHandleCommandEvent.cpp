#include "DAX/base/CDaxHandleCommandEvent.h"

#include "PIM/core/Pimstr.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimSpriteHandles.h"

CDaxHandleCommandEvent::CDaxHandleCommandEvent(CxSprite& target, const char* name, uint32_t flags)
    : CCommandEvent(nullptr, name, flags), m_handle(GetSpriteHandle(&target))
{
}

CDaxHandleCommandEvent* CDaxHandleCommandEvent::Create(CxSprite& target, const char* name, const CxEventArgs& args,
                                                       uint32_t flags)
{
    return Completed(new CDaxHandleCommandEvent(target, name, flags), name, args);
}

bool CDaxHandleCommandEvent::IsComplete(const char* name, const CxEventArgs& args)
{
    const bool nameKept = !GetName().IsEmpty() || PimStrLen(name) == 0;
    return m_handle != 0 && nameKept && SetArguments(args) == PIM_OK;
}

void CDaxHandleCommandEvent::Start()
{
    SetState(kStarted);
    if (auto* handler = dynamic_cast<CCommandHandler*>(FindSpriteByHandle(m_handle)))
        handler->OnCommand(GetName().GetText(), GetArguments());
}
