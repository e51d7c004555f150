#include "game/croquet/CroquetLevel.h"

#include "PIM/files/CxOptions.h"
#include "game/balls/BallsLevel.h"

#include <algorithm>
#include <cmath>

namespace {

int ReadClamped(CxOptions& options, const char* section, const char* key, int fallback, int low, int high)
{
    return std::clamp(options.GetInt(section, key, fallback), low, high);
}

// A friction multiplies the ball's speed each step: a broken number falls
// back to the default, a tiny or negative one to the smallest the engine
// can take the logarithm of, and one above 1 (a ball that speeds up and
// never stops, so no shot would ever end) to 1.
float ReadFriction(CxOptions& options, const char* key, float fallback)
{
    const float value = options.GetFloat("Options", key, fallback);
    if (!std::isfinite(value))
        return fallback;
    return std::clamp(value, CROQUET_MIN_FRICTION, 1.0f);
}

int ReadTypeCount(CxOptions& options, const char* key, int fallback)
{
    return ReadClamped(options, "Options", key, fallback, 0, CROQUET_MAX_TYPES);
}

int ReadPlaceCount(CxOptions& options, const char* key)
{
    return ReadClamped(options, "General", key, 0, 0, CROQUET_MAX_PLACES);
}

std::vector<CxPoint> ReadPlaces(CxOptions& level, const char* countKey, const char* prefix)
{
    std::vector<CxPoint> places;
    const int count = ReadPlaceCount(level, countKey);
    for (int i = 0; i < count; ++i) {
        const CxString section = CxString::Formatted("%s%02d", prefix, i);
        places.push_back(BallsReadPoint(level, section.GetText(), "Pos"));
    }
    return places;
}

// Places with a type; a type outside 0 .. types - 1 becomes 0.
std::vector<ST_CROQUET_PLACE> ReadTypedPlaces(CxOptions& level, const char* countKey, const char* prefix,
                                              const char* typeKey, int types)
{
    std::vector<ST_CROQUET_PLACE> places;
    const int count = ReadPlaceCount(level, countKey);
    for (int i = 0; i < count; ++i) {
        const CxString section = CxString::Formatted("%s%02d", prefix, i);
        ST_CROQUET_PLACE place;
        place.pos = BallsReadPoint(level, section.GetText(), "Pos");
        const int type = level.GetInt(section.GetText(), typeKey, 0);
        place.type = type >= 0 && type < types ? type : 0;
        places.push_back(place);
    }
    return places;
}

} // namespace

ST_CROQUET_OPTIONS ReadCroquetOptions(CxOptions& room)
{
    ST_CROQUET_OPTIONS options;
    options.numGumTypes = ReadTypeCount(room, "NumGumTypes", 0);
    options.numMudTypes = ReadTypeCount(room, "NumMudTypes", 0);
    options.numDestroyTypes = ReadTypeCount(room, "NumDestroyTypes", 0);
    options.numFoodTypes = ReadTypeCount(room, "NumFoodTypes", 0);
    options.numPuzzleTypes = ReadTypeCount(room, "NumPuzzleTypes", 0);
    options.numStickerTypes = ReadTypeCount(room, "NumStickerTypes", 0);
    options.numCharTypes = ReadClamped(room, "Options", "NumCharTypes", 1, 0, CROQUET_MAX_CHARACTERS);
    options.numWicketTypes = ReadTypeCount(room, "NumWicketTypes", 1);
    const int waters = ReadTypeCount(room, "NumWaterTypes", 0);
    for (int i = 0; i < waters; ++i) {
        const CxString section = CxString::Formatted("WaterType%02d", i);
        options.waterFiles.push_back(BallsReadText(room, section.GetText(), "FileName"));
    }
    options.worldFriction = ReadFriction(room, "WorldFriction", 0.999f);
    options.gumFriction = ReadFriction(room, "GumFriction", 0.001f);
    options.mudDampenSize = ReadClamped(room, "Options", "MudDampenSize", 2, 0, 1000);
    options.loseWaitTime = ReadClamped(room, "Options", "LoseWaitTime", 2000, 0, CROQUET_MAX_WAIT);
    options.ratHitBallFrame = ReadClamped(room, "Options", "RatHitBallFrame", -1, -1, 100000);
    options.charHomePos = BallsReadPoint(room, "Options", "CharHomePos");
    options.foodOffsetPos = BallsReadPoint(room, "Options", "FoodOffsetPos");
    options.maxNumShots = ReadClamped(room, "Options", "MaxNumShots", 7, 1, CROQUET_MAX_SHOTS);
    options.shotFileName = BallsReadText(room, "Options", "ShotFileName");
    options.shotLocation = BallsReadPoint(room, "Options", "ShotLocation");
    options.shotOffset = BallsReadPoint(room, "Options", "ShotOffset");
    options.mudSfx = BallsReadText(room, "Options", "MudSfx", "blank.wav");
    options.gumSfx = BallsReadText(room, "Options", "GumSfx", "blank.wav");
    options.waterSfx = BallsReadText(room, "Options", "WaterSfx", "blank.wav");
    return options;
}

ST_CROQUET_LEVEL ReadCroquetLevel(CxOptions& level, int wicketTypes)
{
    ST_CROQUET_LEVEL result;
    result.background = BallsReadText(level, "General", "Background");
    result.hole = BallsReadPoint(level, "Hole", "Location");
    result.bonus = ReadPlaces(level, "NumBonusLoc", "BonusLoc");
    result.gums = ReadPlaces(level, "NumGumLoc", "GumLoc");
    result.muds = ReadPlaces(level, "NumMudLoc", "MudLoc");
    result.destroys = ReadPlaces(level, "NumDestroyLoc", "DestroyLoc");
    // The four directions of the current are the water's types.
    result.waters = ReadTypedPlaces(level, "NumWaters", "Water", "WaterType", 4);
    result.wickets = ReadTypedPlaces(level, "NumWickets", "Wicket", "WicketType", wicketTypes);
    const int bumpers = ReadPlaceCount(level, "NumBumpers");
    for (int i = 0; i < bumpers; ++i) {
        const CxString section = CxString::Formatted("Bumper%02d", i);
        ST_CROQUET_BUMPER bumper;
        bumper.fileName = BallsReadText(level, section.GetText(), "FileName");
        bumper.location = BallsReadPoint(level, section.GetText(), "Location");
        result.bumpers.push_back(bumper);
    }
    const int shots = level.GetInt("General", "NumShots", 1);
    result.numShots = shots <= 0 ? 1 : std::min(shots, CROQUET_MAX_SHOTS);
    result.golferLocation = BallsReadPoint(level, "Golfer", "Location");
    result.ballOffset = BallsReadPoint(level, "Golfer", "BallOffset");
    return result;
}

CxString CroquetLevelProblem(const ST_BALLS_LEVEL& balls)
{
    if (!balls.ok)
        return balls.error;
    if (balls.balls.empty())
        return "the level has no ball for the player";
    if (!balls.balls.front().movable)
        return "the level's first ball does not move, so the player has no ball";
    return {};
}
