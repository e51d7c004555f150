#include "DAX/app/DaxRoomLink.h"

#include "PIM/core/CxError.h"

// Stand-ins for the room window's three calls (see the header): a room
// without options, channel or idle prompts.

int DaxRoomLoadOptions(CxGameWindow*)
{
    return PIM_OK;
}

PimChannelId DaxRoomChannel(const CxGameWindow*)
{
    return 0;
}

void DaxRoomNoteInput(CxGameWindow*) {}
