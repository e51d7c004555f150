#include "game/balls/BallsLevel.h"

#include "PIM/files/CxOptions.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int ClampCoordinate(int value)
{
    return std::clamp(value, -BALLS_COORDINATE_LIMIT, BALLS_COORDINATE_LIMIT);
}

// Reads the floats of one file and remembers the first that is unusable, so
// the caller reads everything and then refuses with one clear message.
class CFloatReader
{
public:
    explicit CFloatReader(CxOptions& options) : m_options(options) {}

    float Read(const char* section, const char* key, float fallback, bool notNegative = false)
    {
        const float value = m_options.GetFloat(section, key, fallback);
        Check(section, key, value, notNegative);
        return value;
    }

    CxPhysicsVector ReadVector(const char* section, const char* key)
    {
        CxPhysicsVector v;
        m_options.GetVector(section, key, &v.x, &v.y, &v.z, 0.0f, 0.0f, 0.0f);
        Check(section, key, v.x, false);
        Check(section, key, v.y, false);
        Check(section, key, v.z, false);
        return v;
    }

    bool Ok() const { return m_error.IsEmpty(); }
    const CxString& Error() const { return m_error; }

private:
    void Check(const char* section, const char* key, float value, bool notNegative)
    {
        if (!m_error.IsEmpty())
            return;
        if (!std::isfinite(value))
            m_error.Format("%s: %s is not a finite number", section, key);
        else if (std::fabs(value) > BALLS_FLOAT_LIMIT)
            m_error.Format("%s: %s is beyond %g", section, key, static_cast<double>(BALLS_FLOAT_LIMIT));
        else if (notNegative && value < 0.0f)
            m_error.Format("%s: %s is negative", section, key);
    }

    CxOptions& m_options;
    CxString m_error;
};

CxPhysicsVector ToVector(CxPoint p)
{
    return {static_cast<float>(p.x), static_cast<float>(p.y), 0.0f};
}

// A count of "General", cut to its cap (noted) and never negative.
int ReadCount(CxOptions& options, const char* key, int cap, bool& capped)
{
    const int count = options.GetInt("General", key, 0);
    if (count > cap) {
        capped = true;
        return cap;
    }
    return std::max(count, 0);
}

ST_BALL_KIND ReadKind(CxOptions& room, const char* s, CFloatReader& floats)
{
    ST_BALL_KIND kind;
    kind.fileName = BallsReadText(room, s, "FileName");
    kind.startPos = ToVector(BallsReadPoint(room, s, "StartPos", CxPoint(320, 0)));
    kind.radius = floats.Read(s, "Radius", 20.0f, true);
    kind.mass = floats.Read(s, "Mass", 1.0f, true);
    kind.movable = room.GetInt(s, "Movable", 1) != 0;
    kind.breakable = room.GetInt(s, "Breakable", 1);
    kind.changeDirection = room.GetInt(s, "ChangeDirection", 1) != 0;
    return kind;
}

ST_BALLS_BALL ReadBall(CxOptions& level, const char* s, const ST_BALL_KIND& kind, CFloatReader& floats)
{
    ST_BALLS_BALL ball;
    // A ball without a position of its own starts where its kind starts.
    const CxPoint kindStart(static_cast<int>(kind.startPos.x), static_cast<int>(kind.startPos.y));
    ball.position = ToVector(BallsReadPoint(level, s, "StartPos", kindStart));
    const CxPhysicsVector dir = floats.ReadVector(s, "StartDir");
    ball.radius = floats.Read(s, "Radius", kind.radius, true);
    ball.mass = floats.Read(s, "Mass", kind.mass, true);
    ball.movable = level.GetInt(s, "Movable", kind.movable ? 1 : 0) != 0;
    ball.breakable = level.GetInt(s, "Breakable", kind.breakable);
    if (ball.movable)
        ball.velocity = dir;
    return ball;
}

ST_BALLS_LINE ReadLine(CxOptions& level, const char* s, CFloatReader& floats)
{
    ST_BALLS_LINE line;
    int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
    level.GetRect(s, "Location", &x1, &y1, &x2, &y2, 0, 0, -1, -1);
    line.p1 = CxPoint(ClampCoordinate(x1), ClampCoordinate(y1));
    line.p2 = CxPoint(ClampCoordinate(x2), ClampCoordinate(y2));
    line.color = level.GetInt(s, "Color", -1);
    const CxPhysicsVector window = floats.ReadVector(s, "PassThruAngle");
    // A window with a zero end is no window: "0, 90" is a plain wall.
    if (window.x != 0.0f && window.y != 0.0f) {
        line.passLo = window.x / BALLS_DEGREES_PER_RADIAN;
        line.passHi = window.y / BALLS_DEGREES_PER_RADIAN;
    }
    const float friction = floats.Read(s, "BounceFriction", -1.0f);
    if (friction >= 0.0f)
        line.bounceFriction = friction;
    return line;
}

ST_BALLS_ATTRACTOR ReadAttractor(CxOptions& level, const char* s, CFloatReader& floats)
{
    ST_BALLS_ATTRACTOR attractor;
    attractor.position = BallsReadPoint(level, s, "Position");
    attractor.strength = floats.Read(s, "Gravity", 10.0f);
    attractor.range = floats.Read(s, "Length", 0.0f);
    attractor.color = level.GetInt(s, "Color", -1);
    return attractor;
}

} // namespace

CxPoint BallsReadPoint(CxOptions& options, const char* section, const char* key, CxPoint fallback)
{
    int x = fallback.x;
    int y = fallback.y;
    options.GetPoint(section, key, &x, &y, fallback.x, fallback.y);
    return CxPoint(ClampCoordinate(x), ClampCoordinate(y));
}

CxString BallsReadText(CxOptions& options, const char* section, const char* key, const char* fallback)
{
    char text[BALLS_TEXT_MAX + 1];
    options.GetString(section, key, text, fallback, sizeof text);
    return CxString(text);
}

ST_BALLS_OPTIONS ReadBallsOptions(CxOptions& room)
{
    ST_BALLS_OPTIONS options;
    CFloatReader floats(room);
    options.updateTime =
        std::clamp(room.GetInt("Options", "UpdateTime", 50), BALLS_MIN_UPDATE_TIME, BALLS_MAX_UPDATE_TIME);
    options.maxSpeed = floats.Read("Options", "MaxSpeed", 99999.0f);
    options.worldFriction = floats.Read("Options", "WorldFriction", 1.0f);
    options.collisionDampen = floats.Read("Options", "CollisionDampen", 0.7f);
    options.mode = room.GetInt("Options", "Mode", 2);
    if (!floats.Ok()) {
        // The engine keeps its own defaults rather than a broken number.
        const ST_BALLS_OPTIONS defaults;
        options.maxSpeed = defaults.maxSpeed;
        options.worldFriction = defaults.worldFriction;
        options.collisionDampen = defaults.collisionDampen;
    }

    const int count = std::clamp(room.GetInt("Options", "NumBallTypes", 0), 0, BALLS_MAX_KINDS);
    for (int i = 0; i < count; ++i) {
        CxString section;
        section.Format("BallType%02d", i);
        ST_BALL_KIND kind = ReadKind(room, section.GetText(), floats);
        kind.section = i;
        if (kind.fileName.Length() <= 1) {
            ++options.skippedKinds;
            continue;
        }
        options.kinds.push_back(std::move(kind));
    }
    if (!floats.Ok()) {
        options.ok = false;
        options.error = floats.Error();
        // A kind with a broken radius or mass is not one a level may use.
        if (options.error.Find("BallType") == 0)
            options.kinds.clear();
    }
    return options;
}

ST_BALLS_LEVEL ReadBallsLevel(CxOptions& level, const std::vector<ST_BALL_KIND>& kinds)
{
    ST_BALLS_LEVEL result;
    CFloatReader floats(level);
    result.gravity = floats.Read("General", "Gravity", 0.0f);

    const int numBalls = ReadCount(level, "NumBalls", BALLS_MAX_BALLS, result.capped);
    std::vector<ST_BALLS_BALL> immovable;
    for (int i = 0; i < numBalls; ++i) {
        CxString section;
        section.Format("Ball%02d", i);
        const int kind = level.GetInt(section.GetText(), "BallType", -1);
        if (kind < 0 || kind >= static_cast<int>(kinds.size())) {
            ++result.skippedBalls;
            continue;
        }
        ST_BALLS_BALL ball = ReadBall(level, section.GetText(), kinds[static_cast<size_t>(kind)], floats);
        ball.kind = kind;
        ball.section = i;
        (ball.movable ? result.balls : immovable).push_back(ball);
    }
    result.balls.insert(result.balls.end(), immovable.begin(), immovable.end());

    const int numLines = ReadCount(level, "NumLines", BALLS_MAX_LINES, result.capped);
    for (int i = 0; i < numLines; ++i) {
        CxString section;
        section.Format("Line%02d", i);
        result.lines.push_back(ReadLine(level, section.GetText(), floats));
    }

    const int numPoints = ReadCount(level, "NumGravityPoints", BALLS_MAX_ATTRACTORS, result.capped);
    for (int i = 0; i < numPoints; ++i) {
        CxString section;
        section.Format("Gravity%02d", i);
        result.attractors.push_back(ReadAttractor(level, section.GetText(), floats));
    }

    if (!floats.Ok()) {
        // A refused level is played empty.
        ST_BALLS_LEVEL refused;
        refused.ok = false;
        refused.error = floats.Error();
        refused.skippedBalls = result.skippedBalls;
        refused.capped = result.capped;
        return refused;
    }
    return result;
}

CxString BallsLevelFileName(int level)
{
    return CxString::Formatted(BALLS_LEVEL_PATTERN, level);
}

void WriteBallsLevel(CxOptions& out, const std::vector<ST_BALLS_BALL>& balls,
                     const std::vector<ST_BALLS_LINE>& lines)
{
    // Whatever the store held of an older level goes, so no stale section
    // beyond the new counts is read back.
    std::vector<CxString> old;
    CxString header;
    for (int more = out.FirstSection(header); more; more = out.NextSection(header)) {
        const CxString name = header.Mid(header.Find('[') == 0 ? 1 : 0);
        if (name.Find("Ball") == 0 || name.Find("Line") == 0 || name.Find("Gravity") == 0 ||
            name.Find("General") == 0)
            old.push_back(header);
    }
    for (const CxString& section : old)
        out.DeleteSection(section.GetText());
    out.SetInt("General", "NumBalls", static_cast<int>(balls.size()));
    out.SetInt("General", "NumLines", static_cast<int>(lines.size()));
    for (size_t i = 0; i < balls.size(); ++i) {
        const ST_BALLS_BALL& ball = balls[i];
        const CxString s = CxString::Formatted("Ball%02zu", i);
        out.SetInt(s.GetText(), "BallType", 0);
        out.SetString(s.GetText(), "StartPos",
                      CxString::Formatted("%d, %d", static_cast<int>(ball.position.x),
                                          static_cast<int>(ball.position.y)).GetText());
        out.SetString(s.GetText(), "StartDir", "0, 0, 0");
        out.SetString(s.GetText(), "Radius", CxString::Formatted("%.9g", ball.radius).GetText());
        out.SetString(s.GetText(), "Mass", CxString::Formatted("%.9g", ball.mass).GetText());
        out.SetInt(s.GetText(), "Movable", ball.movable ? 1 : 0);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const ST_BALLS_LINE& line = lines[i];
        const CxString s = CxString::Formatted("Line%02zu", i);
        out.SetString(s.GetText(), "Location",
                      CxString::Formatted("%d, %d, %d, %d", line.p1.x, line.p1.y, line.p2.x, line.p2.y).GetText());
        out.SetInt(s.GetText(), "Color", line.color);
        out.SetString(s.GetText(), "PassThruAngle",
                      CxString::Formatted("%.9g, %.9g, 0", line.passLo * BALLS_DEGREES_PER_RADIAN,
                                          line.passHi * BALLS_DEGREES_PER_RADIAN).GetText());
        out.SetString(s.GetText(), "BounceFriction", CxString::Formatted("%.9g", line.bounceFriction).GetText());
    }
}

bool BallsTickDue(uint32_t now, uint32_t last, uint32_t tickLength)
{
    return now > last && now - last > tickLength;
}

int BallsRollFrame(int x, int y, int frames)
{
    if (frames <= 0)
        return 0;
    const int frame = (y / 10 + x / 10) % frames;
    return frame < 0 ? frame + frames : frame;
}
