#pragma once
// The ball room's files, read into plain structs: the ball kinds of the room
// file ("Options", "BallType%02d") and a level file ("level%d.ini": balls,
// walls, attractors). Shared by the room, `pimtool check` and the fuzzer.
//
// Level data comes from outside, so:
//   - the section counts are capped at BALLS_MAX_* (later sections are not
//     read, and the cut is noted in the result);
//   - every float read must be finite, and radii and masses not negative:
//     otherwise the whole level is refused (ok false, `error` names the
//     section and key) and the room plays an empty level;
//   - a ball whose kind is outside the kept kinds is skipped (counted);
//   - the ball list keeps the file order within movable and within
//     immovable balls, movable ones first: the first ball is the player's.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"
#include "game/physics/CxPhysicsVector.h"

#include <vector>

class CxOptions;

constexpr int BALLS_MAX_KINDS = 256;
constexpr int BALLS_MAX_BALLS = 1000;
constexpr int BALLS_MAX_LINES = 1000;
constexpr int BALLS_MAX_ATTRACTORS = 1000;
// Ticks shorter than this would let one frame owe many ticks' worth.
constexpr int BALLS_MIN_UPDATE_TIME = 1;
constexpr int BALLS_MAX_UPDATE_TIME = 60000;
// Degrees to radians, as the level format stores the windows.
constexpr float BALLS_DEGREES_PER_RADIAN = 57.295776f;
constexpr const char* BALLS_LEVEL_PATTERN = "level%d.ini";
// Points read from level data are kept within this, so no later sum of a
// position and an offset can overflow.
constexpr int BALLS_COORDINATE_LIMIT = 100000;
// The largest magnitude a float of a level may have (a radius, a mass, a
// speed, a strength ...): far beyond any real level, and small enough that
// squares and sums of them stay inside float range.
constexpr float BALLS_FLOAT_LIMIT = 1e6f;
// Longest text value (file names) read from the files.
constexpr int BALLS_TEXT_MAX = 255;

struct ST_BALL_KIND
{
    CxString fileName;                    // the sprite description file
    CxPhysicsVector startPos{320, 0, 0};
    float radius = 20.0f;
    float mass = 1.0f;
    bool movable = true;
    int breakable = 1;
    bool changeDirection = true;
    int section = 0;                      // the NN of "BallTypeNN" it came from
};

struct ST_BALLS_OPTIONS
{
    int updateTime = 50;                  // clamped to BALLS_MIN/MAX_UPDATE_TIME
    float maxSpeed = 99999.0f;
    float worldFriction = 1.0f;
    float collisionDampen = 0.7f;
    int mode = 2;
    // Only the kept kinds (a "FileName" of at most one character is
    // skipped), so a level's "BallType" indexes this list.
    std::vector<ST_BALL_KIND> kinds;
    int skippedKinds = 0;
    bool ok = true;                       // false: a non-finite engine key
    CxString error;
};

struct ST_BALLS_BALL
{
    int kind = -1;                        // index into ST_BALLS_OPTIONS::kinds
    int section = 0;                      // the NN of "BallNN"
    CxPhysicsVector position;
    CxPhysicsVector velocity;             // zero for an immovable ball
    float radius = 20.0f;
    float mass = 1.0f;
    bool movable = true;
    int breakable = 1;
};

struct ST_BALLS_LINE
{
    CxPoint p1{0, 0};
    CxPoint p2{-1, -1};
    int color = -1;                       // -1: not drawn
    float passLo = 0.0f;                  // radians; both 0: an ordinary wall
    float passHi = 0.0f;
    float bounceFriction = 0.8f;
};

struct ST_BALLS_ATTRACTOR
{
    CxPoint position{0, 0};
    float strength = 10.0f;
    float range = 0.0f;                   // 0: no pull at all
    int color = -1;                       // -1: no marker
};

struct ST_BALLS_LEVEL
{
    bool ok = true;
    CxString error;                       // why the level was refused
    float gravity = 0.0f;                 // non-zero: a uniform pull (0, gravity)
    std::vector<ST_BALLS_BALL> balls;     // movable first, each part in file order
    std::vector<ST_BALLS_LINE> lines;
    std::vector<ST_BALLS_ATTRACTOR> attractors;
    int skippedBalls = 0;                 // kind outside the kept kinds
    bool capped = false;                  // a count was above its cap
};

// A point of the files, each coordinate clamped to +-BALLS_COORDINATE_LIMIT.
CxPoint BallsReadPoint(CxOptions& options, const char* section, const char* key, CxPoint fallback = {});
// A text value of at most BALLS_TEXT_MAX bytes.
CxString BallsReadText(CxOptions& options, const char* section, const char* key, const char* fallback = "");

// "Options" and the "BallType%02d" sections of a ball room's file.
ST_BALLS_OPTIONS ReadBallsOptions(CxOptions& room);
// A level file already loaded into `level`; `kinds` gives the defaults of
// each ball and decides which kinds exist.
ST_BALLS_LEVEL ReadBallsLevel(CxOptions& level, const std::vector<ST_BALL_KIND>& kinds);
// "level%d.ini" for `level` (not zero-padded).
CxString BallsLevelFileName(int level);

// Writes balls and lines back in the level format: kind 0, no start
// velocity, each ball's position, radius, mass and movability; each line's
// location, colour, window in degrees and bounce friction. Sections the
// store had before are removed first.
void WriteBallsLevel(CxOptions& out, const std::vector<ST_BALLS_BALL>& balls,
                     const std::vector<ST_BALLS_LINE>& lines);

// Whether a tick is due at game time `now` (ms) with the last tick at
// `last`: now > last and now - last > tickLength. The caller then adds
// tickLength to last. At most one tick a frame.
bool BallsTickDue(uint32_t now, uint32_t last, uint32_t tickLength);
// The frame a rolling ball shows at (x, y): (y / 10 + x / 10) modulo
// `frames`, never negative; 0 when there are no frames.
int BallsRollFrame(int x, int y, int frames);
