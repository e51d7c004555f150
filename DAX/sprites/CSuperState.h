#pragma once
// One state of a scripted sprite (CDaxSprite): its picture or movie, the
// actions that play it, the frame it starts at and its sound. The state is
// itself the sprite that holds the picture; the scripted sprite shows the
// state's surface and runs its movie driver without owning either.
//
// States are counted. A sprite that copies another's states
// (CDaxSprite::CopyStatesFrom) holds the very same ones, and a state lives
// until the last sprite holding it lets go: unloading or killing the
// original never leaves a copy showing a freed picture.

#include "DAX/base/CDaxSoundCache.h"
#include "DAX/sprites/DaxSpriteFile.h"
#include "PIM/core/CxArray.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxSprite.h"

class CxOptions;

class CSuperState : public CxSprite
{
public:
    // One holder: whoever made it.
    CSuperState() = default;
    ~CSuperState() override = default;

    // Reads section "State%03d" of `number` from `store` and makes the state
    // from it: the picture or movie (opened with `movieFlags`), cut into its
    // declared frames, the actions and the sound (from the game layer's
    // sound cache). PIM_OK; 2 "Could not load a SuperState" when the
    // picture does not load; 1 without memory. Reported on `reporter`.
    int Build(CxOptions& store, int number, uint32_t movieFlags, CxError& reporter);

    // A holder more, a holder fewer; the last to let go deletes the state.
    void Hold() { ++m_holders; }
    static void LetGo(CSuperState* state);
    int GetHolderCount() const { return m_holders; }

    const ST_ANIM_ACTION* GetActions() const { return m_actions.GetData(); }
    int GetActionCount() const { return static_cast<int>(m_actions.GetCount()); }
    int GetStartFrame() const { return m_startFrame; }
    // Empty when the state has no sound.
    const CDaxSound& GetSound() const { return m_sound; }

    // Deletes the surface of a movie state and keeps its driver: a sprite
    // whose states are all movies renders each of them into one surface of
    // its own (and a state without a surface is drawn only that way).
    void DropMovieSurface();

private:
    CxArray<ST_ANIM_ACTION> m_actions;
    int16_t m_startFrame = 0;
    CDaxSound m_sound;
    int m_holders = 1;
};
