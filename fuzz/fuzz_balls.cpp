// A ball room's level from arbitrary bytes: read as a level (with a few
// fixed ball kinds, and with the kinds the same bytes give as a room file),
// read as croquet's sections, then staged in the physics engine as the room
// stages it and run for 300 sub-steps. Whatever the bytes, the croquet
// values keep to their bounds and no ball's position or speed ever stops
// being a finite number.
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "fuzz/FuzzPicture.h"
#include "game/balls/BallsLevel.h"
#include "game/croquet/CroquetLevel.h"
#include "game/croquet/CroquetModel.h"
#include "game/physics/CxPhysicsEngine.h"
#include "game/physics/CxPointGravityBody.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

std::vector<ST_BALL_KIND> FixedKinds()
{
    std::vector<ST_BALL_KIND> kinds(3);
    kinds[0].fileName = "ball.xni";
    kinds[1].fileName = "post.xni";
    kinds[1].movable = false;
    kinds[1].radius = 35.0f;
    kinds[2].fileName = "stone.xni";
    kinds[2].radius = 5.0f;
    kinds[2].mass = 40.0f;
    return kinds;
}

bool Finite(const CxPhysicsVector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void CheckCroquet(const ST_CROQUET_LEVEL& level, int wicketTypes)
{
    fuzz::Check(level.numShots >= 1 && level.numShots <= CROQUET_MAX_SHOTS);
    fuzz::Check(level.wickets.size() <= size_t(CROQUET_MAX_PLACES) && level.waters.size() <= size_t(CROQUET_MAX_PLACES));
    for (const ST_CROQUET_PLACE& w : level.wickets)
        fuzz::Check(w.type >= 0 && (w.type < wicketTypes || w.type == 0));
    for (const ST_CROQUET_PLACE& w : level.waters)
        fuzz::Check(w.type >= 0 && w.type <= 3);
}

void Run(const ST_BALLS_OPTIONS& options, const ST_BALLS_LEVEL& level, int waterDirection)
{
    CxPhysicsEngine engine;
    if (options.ok) {
        engine.SetMaxSpeed(options.maxSpeed);
        engine.SetWorldFriction(options.worldFriction);
        engine.SetCollisionDampen(options.collisionDampen);
    }
    engine.SetMode(options.mode);

    // The room's ball list is movable first; an overlapping ball is kept
    // but never simulated.
    std::vector<std::unique_ptr<CxSphereBody>> spheres;
    for (const ST_BALLS_BALL& ball : level.balls) {
        auto sphere = std::make_unique<CxSphereBody>();
        sphere->Set(ball.position, ball.radius, ball.mass, ball.movable, ball.velocity);
        engine.AddSphere(sphere.get());
        spheres.push_back(std::move(sphere));
    }
    std::vector<std::unique_ptr<CxRigidLineBody>> lines;
    for (const ST_BALLS_LINE& l : level.lines) {
        const CxPhysicsVector p1{float(l.p1.x), float(l.p1.y), 0};
        const CxPhysicsVector p2{float(l.p2.x), float(l.p2.y), 0};
        lines.push_back(std::make_unique<CxRigidLineBody>(p1, p2, l.passLo, l.passHi, l.bounceFriction));
        engine.AddLine(lines.back().get());
    }
    std::vector<std::unique_ptr<CxGravityBody>> gravity;
    for (const ST_BALLS_ATTRACTOR& a : level.attractors) {
        const CxPhysicsVector centre{float(a.position.x), float(a.position.y), 0};
        gravity.push_back(std::make_unique<CxPointGravityBody>(centre, a.strength, a.range));
        engine.AddGravity(gravity.back().get());
    }
    if (level.gravity != 0.0f) {
        gravity.push_back(std::make_unique<CxGravityBody>(CxPhysicsVector{0, level.gravity, 0}));
        engine.AddGravity(gravity.back().get());
    }

    for (int step = 0; step < 300; ++step) {
        engine.Step(0.2f);
        // The croquet room's water pushes the player's ball between steps.
        if (waterDirection >= 0 && !spheres.empty())
            CroquetWaterPush(waterDirection, spheres[0]->m_position, spheres[0]->m_velocity);
        for (const auto& sphere : spheres)
            fuzz::Check(Finite(sphere->m_position) && Finite(sphere->m_velocity));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    CxOptions file;
    fuzz::Check(file.ReadFromBuffer(reinterpret_cast<const char*>(data), size) == PIM_OK);

    const ST_BALLS_OPTIONS own = ReadBallsOptions(file);
    fuzz::Check(own.updateTime >= BALLS_MIN_UPDATE_TIME && own.updateTime <= BALLS_MAX_UPDATE_TIME);
    fuzz::Check(own.kinds.size() <= size_t(BALLS_MAX_KINDS));
    const ST_CROQUET_OPTIONS croquet = ReadCroquetOptions(file);
    fuzz::Check(croquet.maxNumShots >= 1 && croquet.maxNumShots <= CROQUET_MAX_SHOTS);
    fuzz::Check(croquet.worldFriction >= CROQUET_MIN_FRICTION && std::isfinite(croquet.worldFriction));
    fuzz::Check(croquet.gumFriction >= CROQUET_MIN_FRICTION && std::isfinite(croquet.gumFriction));

    const ST_CROQUET_LEVEL course = ReadCroquetLevel(file, croquet.numWicketTypes);
    CheckCroquet(course, croquet.numWicketTypes);
    const int water = course.waters.empty() ? -1 : course.waters.back().type;

    ST_BALLS_OPTIONS fixedKinds;
    fixedKinds.kinds = FixedKinds();
    const ST_BALLS_OPTIONS& fixed = fixedKinds;
    for (const ST_BALLS_OPTIONS* options : {&fixed, &own}) {
        const ST_BALLS_LEVEL level = ReadBallsLevel(file, options->kinds);
        fuzz::Check(level.balls.size() <= size_t(BALLS_MAX_BALLS));
        bool immovableSeen = false;
        for (const ST_BALLS_BALL& ball : level.balls) {
            fuzz::Check(ball.kind >= 0 && size_t(ball.kind) < options->kinds.size());
            fuzz::Check(ball.radius >= 0.0f && ball.mass >= 0.0f);
            fuzz::Check(!(immovableSeen && ball.movable));
            immovableSeen = immovableSeen || !ball.movable;
        }
        (void)CroquetLevelProblem(level);
        Run(*options, level, water);
    }
    return 0;
}
