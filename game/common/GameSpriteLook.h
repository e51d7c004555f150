#pragma once
// How the game's pictures are drawn see-through: a 32-bit picture with its
// own alpha, any other with a colour key taken from its top-left pixel
// (`cornerKey`) or with none.

class CxSprite;

// Nothing for a sprite without a surface (or an empty one).
void GameApplySeeThrough(CxSprite& sprite, bool cornerKey);
