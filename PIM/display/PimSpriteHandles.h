#pragma once
// The numbers scripts know sprites by. A script never holds a sprite's
// address: it holds a handle, unique for the run and never reused, which is
// looked up in this registry of live sprites. A destroyed sprite leaves the
// registry, so a stale handle finds nothing instead of freed memory.

#include "PIM/core/PimDefs.h"

class CxSprite;

// The sprite's handle, registering it on first use; 0 when memory ran out.
uint32_t GetSpriteHandle(CxSprite* sprite);
// The live sprite of a handle, or null.
CxSprite* FindSpriteByHandle(uint32_t handle);
size_t GetSpriteHandleCount();
// Forgets every handle (tests); numbering goes on.
void ResetSpriteHandles();
