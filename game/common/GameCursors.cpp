#include "game/common/GameCursors.h"

#include "PIM/core/PimTrace.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <algorithm>

bool RegisterGameCursor(const ST_GAME_CURSOR& cursor)
{
    if (!FsExists(cursor.file)) {
        Trace("Cursors: %s is missing; cursor %d is left out\n", cursor.file, cursor.id);
        return false;
    }
    CxDrawSurface* picture = CreateDrawSurface();
    if (!picture)
        return false;
    if (picture->Load(cursor.file) != PIM_OK || picture->GetWidth() < 1 || picture->GetHeight() < 1) {
        delete picture; // the loader has said why
        return false;
    }
    const bool keyInside = cursor.keyX >= 0 && cursor.keyY >= 0 && cursor.keyX < picture->GetWidth() &&
                           cursor.keyY < picture->GetHeight();
    picture->SetTransparentColour(keyInside ? picture->GetPixel(cursor.keyX, cursor.keyY) : PIM_NO_KEY);
    if (!keyInside)
        Trace("Cursors: the key pixel of %s lies outside it; it has no see-through colour\n", cursor.file);
    const int hotX = std::clamp(cursor.hotX, 0, picture->GetWidth() - 1);
    const int hotY = std::clamp(cursor.hotY, 0, picture->GetHeight() - 1);
    return RegisterCursor(picture, cursor.id, hotX, hotY) == PIM_OK;
}

void RegisterGameCursors(std::span<const ST_GAME_CURSOR> cursors)
{
    for (const ST_GAME_CURSOR& cursor : cursors)
        RegisterGameCursor(cursor);
}

void UnregisterGameCursors(std::span<const ST_GAME_CURSOR> cursors)
{
    for (const ST_GAME_CURSOR& cursor : cursors)
        UnregisterCursor(cursor.id);
}
