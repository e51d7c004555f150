#include "game/common/GameCredits.h"

ST_CREDITS_SETTINGS GameCreditsSettings()
{
    ST_CREDITS_SETTINGS settings;
    settings.background = "CREDITS/cr_bg.tga";
    settings.font = "CREDITS/font1.pcx";
    settings.textFile = "CREDITS/credits.txt";
    settings.maxLineLength = GAME_CREDITS_MAX_LINE;
    settings.scrollPixels = 3;
    settings.scrollPeriod = 100;
    settings.textSpacing = 4;
    settings.depth = 16;
    return settings;
}
