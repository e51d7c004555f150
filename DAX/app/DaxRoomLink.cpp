#include "DAX/app/DaxRoomLink.h"

#include "DAX/rooms/CDaxWindow.h"
#include "PIM/core/CxError.h"

int DaxRoomLoadOptions(CxGameWindow* room)
{
    auto* window = dynamic_cast<CDaxWindow*>(room);
    return window ? window->LoadOptions() : PIM_OK;
}

PimChannelId DaxRoomChannel(const CxGameWindow* room)
{
    const auto* window = dynamic_cast<const CDaxWindow*>(room);
    return window ? window->GetChannel() : 0;
}

void DaxRoomNoteInput(CxGameWindow* room)
{
    if (auto* window = dynamic_cast<CDaxWindow*>(room))
        window->NoteInput();
}
