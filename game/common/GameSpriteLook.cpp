#include "game/common/GameSpriteLook.h"

#include "PIM/display/CxSprite.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

void GameApplySeeThrough(CxSprite& sprite, bool cornerKey)
{
    CxDrawSurface* surface = sprite.GetSurface();
    if (!surface || surface->GetWidth() < 1 || surface->GetHeight() < 1)
        return;
    if (surface->GetDepth() == 32) {
        sprite.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
        return;
    }
    surface->SetTransparentColour(cornerKey ? surface->GetPixel(0, 0) : PIM_NO_KEY);
}
