#pragma once
// The sprite description file (".xni"): an option file with a section
// "PimSprite" for the sprite and one section "State000", "State001", ... per
// state. This is the one reader of it: scripted sprites, the data checker
// and the fuzz target all go through these functions, so what the checker
// accepts is exactly what the game loads.
//
// The file is outside data. Every number is checked here before anything is
// sized or indexed by it:
//   - "NumStates" below 1 or above DAX_MAX_SPRITE_STATES makes the file
//     unusable (13);
//   - "PreLoadList" entries that name no state are reported and dropped;
//   - "FrameRate" of 0 or less is DAX_DEFAULT_FRAME_RATE; "Duration" below 0
//     is none; "StartFrame" is kept within the frames a sprite can have;
//   - "NumFrames" below 1 is the picture's own frame count, and the frames
//     an action starts and ends at lie within the frames the picture really
//     has, so that a state played once always comes to its end.
//
// File names ("FileName", "WaveFileName", "Lips") have "\\" pairs written
// as single backslashes and are interpolated through the game layer's
// interpolator (DaxServices().Interpolate).

#include "PIM/core/CxArray.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/files/CxOptions.h"

// More states than any sprite of the game needs, few enough that a hostile
// count costs nothing (the state table is one pointer a state).
constexpr int DAX_MAX_SPRITE_STATES = 1000;
constexpr float DAX_DEFAULT_FRAME_RATE = 12.0f;
// Characters kept of a sprite's name and of a state's name.
constexpr int DAX_SPRITE_NAME_LENGTH = 256;
constexpr int DAX_STATE_NAME_LENGTH = 64;
constexpr const char* DAX_SPRITE_SECTION = "PimSprite";

// The "PimSprite" section. Keys missing from the file keep what the caller
// put in the record first (the sprite's current settings).
struct ST_DAX_SPRITE_HEADER
{
    CxString name;
    int controlId = 0;
    // Register the name (its first 32 characters) as an event category.
    bool autoRegister = true;
    bool autoStopSounds = true;
    bool manualSounds = false;
    // (-1, -1): not placed.
    CxPoint position{-1, -1};
    // The states to load now, each one a state of the file; empty: all.
    CxOptions::IntList preload;
    bool hasMaskPosition = false;
    CxPoint maskPosition;
    bool maskOnly = false;
    int numStates = 0;
    uint32_t movieFlags = 0;
};

// One "State%03d" section.
struct ST_DAX_STATE_DESC
{
    CxString fileName;
    CxString stateName;
    // As written; below 1 means the picture's own frame count.
    int numFrames = 0;
    int numUniqueFrames = 0;
    int startFrame = 0;
    float frameRate = DAX_DEFAULT_FRAME_RATE;
    CxString waveFileName;
    bool xyPerFrame = false;
    // Milliseconds; 0 for none.
    int duration = 0;
    CxPoint position{-1, -1};
    // The mouth of a talking character (empty: none), its place in the
    // character's coordinates, and whether its pixel (0, 0) is transparent.
    CxString lips;
    CxPoint lipPosition;
    bool lipMask = true;
};

// "State%03d" for `number`.
CxString DaxStateSection(int number);

// Reads the "PimSprite" section into `header`. PIM_OK, or 13 when the state
// count makes the file unusable (reported on `reporter` with the file's
// name). "PreLoadList" is read only with `readPreload` (a caller's own list
// replaces it); its entries that name no state are reported (13) and left
// out.
int ReadDaxSpriteHeader(CxOptions& store, ST_DAX_SPRITE_HEADER& header, CxError& reporter, bool readPreload = true);

// Reads section "State%03d" of `number` into `desc` (every field is set).
void ReadDaxState(CxOptions& store, int number, ST_DAX_STATE_DESC& desc);

// The frame count the state declares: "NumFrames", or the picture's own
// `pictureFrames` when that is below 1; never above the frames a sprite can
// have.
int DaxDeclaredFrames(const ST_DAX_STATE_DESC& desc, int pictureFrames);

// Builds the actions that play state `number`, whose picture (already cut)
// has `frameCount` frames. With "XYPerFrame" one action per frame from
// StartFrame on, placed by its "Frame%03d" key of `store` ("x, y, frame";
// without the frame, the key's own number; a missing key is "0, 0, 0"). The
// keys are found in one walk over the section, so export mode does not
// write theirs back. Otherwise one action stepping the frames. PIM_OK, or
// PIM_ERR_OUT_OF_MEMORY with `actions` empty.
int BuildDaxStateActions(CxOptions& store, int number, const ST_DAX_STATE_DESC& desc, int frameCount,
                         CxArray<ST_ANIM_ACTION>& actions);
