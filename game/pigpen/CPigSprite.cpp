#include "game/pigpen/CPigSprite.h"

#include "game/common/GameSpriteLook.h"

int CPigSprite::LoadItemPicture(const char* fileName)
{
    const int code = Load(fileName, 1);
    if (code == PIM_OK)
        ApplyTransparency(*this, id);
    return code;
}

void CPigSprite::ApplyTransparency(CxSprite& sprite, int id)
{
    GameApplySeeThrough(sprite, id != 0);
}
