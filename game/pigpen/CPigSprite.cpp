#include "game/pigpen/CPigSprite.h"

#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

int CPigSprite::LoadItemPicture(const char* fileName)
{
    const int code = Load(fileName, 1);
    if (code == PIM_OK)
        ApplyTransparency(*this, id);
    return code;
}

void CPigSprite::ApplyTransparency(CxSprite& sprite, int id)
{
    CxDrawSurface* surface = sprite.GetSurface();
    if (!surface || surface->GetWidth() < 1 || surface->GetHeight() < 1)
        return;
    if (surface->GetDepth() == 32) {
        sprite.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
        return;
    }
    surface->SetTransparentColour(id != 0 ? surface->GetPixel(0, 0) : PIM_NO_KEY);
}
