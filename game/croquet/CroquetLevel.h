#pragma once
// The croquet room's own keys (section "Options" of its room file, beside
// the ball room's) and a level file's croquet sections (beside the balls,
// walls and attractors that ReadBallsLevel reads from the same file).
// Everything is checked here, so the room never meets a hostile number:
// counts are capped, frictions stay finite and above 1e-6, shots are at
// least 1 and at most CROQUET_MAX_SHOTS, a wicket type outside the kept
// templates becomes 0, a water type outside 0..3 becomes 0.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"

#include <vector>

class CxOptions;

constexpr int CROQUET_MAX_TYPES = 64;     // templates of one kind
constexpr int CROQUET_MAX_PLACES = 256;   // places of one kind in a level
constexpr int CROQUET_MAX_SHOTS = 20;     // "MaxNumShots" above this is cut to it
constexpr int CROQUET_MAX_CHARACTERS = 8;
constexpr int CROQUET_MAX_WAIT = 60000;   // "LoseWaitTime", ms
constexpr float CROQUET_MIN_FRICTION = 1e-6f;

struct ST_CROQUET_OPTIONS
{
    int numGumTypes = 0, numMudTypes = 0, numDestroyTypes = 0;
    int numFoodTypes = 0, numPuzzleTypes = 0, numStickerTypes = 0;
    int numCharTypes = 1;
    int numWicketTypes = 1;
    std::vector<CxString> waterFiles;     // "WaterType%02d" / "FileName", by type
    float worldFriction = 0.999f;
    float gumFriction = 0.001f;
    int mudDampenSize = 2;                // 0 .. 1000
    int loseWaitTime = 2000;              // 0 .. CROQUET_MAX_WAIT
    int ratHitBallFrame = -1;
    CxPoint charHomePos{0, 0};
    CxPoint foodOffsetPos{0, 0};
    int maxNumShots = 7;                  // 1 .. CROQUET_MAX_SHOTS
    CxString shotFileName;
    CxPoint shotLocation{0, 0};
    CxPoint shotOffset{0, 0};
    CxString mudSfx{"blank.wav"}, gumSfx{"blank.wav"}, waterSfx{"blank.wav"};
};

struct ST_CROQUET_PLACE
{
    CxPoint pos{0, 0};
    int type = 0;                         // water: the current's direction; wicket: its template
};

struct ST_CROQUET_BUMPER
{
    CxString fileName;
    CxPoint location{0, 0};
};

struct ST_CROQUET_LEVEL
{
    CxString background;
    CxPoint hole{0, 0};
    std::vector<CxPoint> bonus, gums, muds, destroys;
    std::vector<ST_CROQUET_PLACE> waters, wickets;
    std::vector<ST_CROQUET_BUMPER> bumpers;
    int numShots = 1;                     // at least 1; the room caps it at maxNumShots
    CxPoint golferLocation{0, 0};
    CxPoint ballOffset{0, 0};
};

ST_CROQUET_OPTIONS ReadCroquetOptions(CxOptions& room);
// `wicketTypes` is the number of wicket templates kept (types at or above
// it become 0).
ST_CROQUET_LEVEL ReadCroquetLevel(CxOptions& level, int wicketTypes);

struct ST_BALLS_LEVEL;
// What makes a level unplayable as croquet, or empty when it is playable:
// a refused ball level (its error), or no movable first ball for the player.
CxString CroquetLevelProblem(const ST_BALLS_LEVEL& balls);
