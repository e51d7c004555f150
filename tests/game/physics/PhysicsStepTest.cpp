// The sub-step outside the contacts: gravity, friction, the speed cap,
// resting, the modes, and what hostile parameters must not break.
#include "game/physics/CxPointGravityBody.h"
#include "tests/game/physics/PhysicsTestBodies.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PhysicsStep, CountsSubStepsAndIgnoresNonPositiveTime)
{
    CxPhysicsEngine engine;
    CountingSphere ball(0, 0, 5, 1, true, {10, 0, 0});
    engine.AddSphere(&ball);
    for (float dt : {0.0f, -0.2f, NAN, INFINITY}) {
        engine.Step(dt);
        EXPECT_EQ(engine.SubSteps(), 0);
        EXPECT_EQ(ball.m_position.x, 0.0f);
        EXPECT_EQ(ball.moves, 0);
    }
    engine.Step(0.2f);
    engine.Step(0.2f);
    EXPECT_EQ(engine.SubSteps(), 2);
    EXPECT_NEAR(engine.Time(), 0.4f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(ball.m_position.x, 4.0f, PHYSICS_TOLERANCE);
    EXPECT_EQ(ball.moves, 2);

    // A removed ball stays where it was; removing it twice is refused.
    EXPECT_TRUE(engine.RemoveSphere(&ball));
    EXPECT_FALSE(engine.RemoveSphere(&ball));
    engine.Step(0.2f);
    EXPECT_NEAR(ball.m_position.x, 4.0f, PHYSICS_TOLERANCE);
    EXPECT_TRUE(engine.Spheres().empty());
}

TEST(PhysicsStep, WorldFrictionIsRaisedToOneOverDt)
{
    CxPhysicsEngine engine;
    engine.SetWorldFriction(0.99f);
    CountingSphere ball(0, 0, 5, 1, true, {10, 0, 0});
    engine.AddSphere(&ball);
    engine.Step(0.2f);
    EXPECT_NEAR(ball.m_velocity.x / 10.0f, 0.951f, 1e-4f);
    EXPECT_NEAR(ball.m_velocity.x / 10.0f, 0.95099005f, PHYSICS_TOLERANCE);

    // Zero or negative friction is clamped: the ball all but stops, finitely.
    for (float friction : {0.0f, -3.0f, NAN}) {
        CxPhysicsEngine clamped;
        clamped.SetWorldFriction(friction);
        EXPECT_GT(clamped.WorldFriction(), 0.0f);
        CountingSphere stopped(0, 0, 5, 1, true, {10, 0, 0});
        clamped.AddSphere(&stopped);
        clamped.Step(0.2f);
        EXPECT_TRUE(FiniteBody(stopped));
        EXPECT_LT(std::fabs(stopped.m_velocity.x), 1e-6f);
    }
}

TEST(PhysicsStep, SpeedCapScalesByTheRatioOfSquares)
{
    CxPhysicsEngine engine;
    engine.SetMaxSpeed(10.0f);
    CountingSphere fast(0, 0, 5, 1, true, {20, 0, 0}), slow(100, 0, 5, 1, true, {0, 9, 0});
    engine.AddSphere(&fast);
    engine.AddSphere(&slow);
    engine.Step(0.2f);
    EXPECT_NEAR(fast.m_velocity.x, 5.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(slow.m_velocity.y, 9.0f, PHYSICS_TOLERANCE);

    // A runaway friction above 1 with a huge cap stays finite.
    CxPhysicsEngine runaway;
    runaway.SetMaxSpeed(1e30f);
    runaway.SetWorldFriction(50.0f);
    CountingSphere ball(0, 0, 5, 1, true, {10, 0, 0});
    runaway.AddSphere(&ball);
    for (int i = 0; i < 200; ++i)
        runaway.Step(0.01f);
    EXPECT_TRUE(FiniteBody(ball));
}

TEST(PhysicsStep, GravityPullsAndContactDampensItInTheDefaultMode)
{
    CxPhysicsEngine engine;
    CxGravityBody down({0, 10, 0});
    CountingSphere free(0, 0, 5), floating(100, 0, 5), touching(200, 0, 5);
    floating.SetBit(SPHERE_GRAVITY, false);
    engine.AddGravity(&down);
    engine.AddSphere(&free);
    engine.AddSphere(&floating);
    engine.AddSphere(&touching);
    touching.SetBit(SPHERE_COLLIDED, true); // as if it had touched a wall
    engine.SetCollisionDampen(NAN); // ignored: 0.7 stays
    // The position moves with the old velocity, then gravity is added.
    engine.Step(0.2f);
    EXPECT_NEAR(free.m_position.y, 0.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(free.m_velocity.y, 2.0f, PHYSICS_TOLERANCE);
    EXPECT_FALSE(free.Has(SPHERE_RESTING)); // gravity keeps a slow ball awake
    EXPECT_EQ(floating.m_velocity.y, 0.0f);
    EXPECT_NEAR(touching.m_velocity.y, 2.0f * 0.7f, PHYSICS_TOLERANCE);
    EXPECT_FALSE(touching.Has(SPHERE_COLLIDED));

    // Mode 1 adds the full pull and keeps the collided bit.
    engine.SetMode(1);
    touching.SetBit(SPHERE_COLLIDED, true);
    engine.Step(0.2f);
    EXPECT_NEAR(touching.m_velocity.y, 1.4f + 2.0f, PHYSICS_TOLERANCE);
    EXPECT_TRUE(touching.Has(SPHERE_COLLIDED));
}

TEST(PhysicsStep, PointGravityPullsWithConstantStrengthWithinRange)
{
    CxPointGravityBody well({100, 0, 0}, 3.0f, 50.0f);
    const CxPhysicsVector near = well.GetForce({70, 0, 0});
    EXPECT_NEAR(near.x, 3.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(near.y, 0.0f, PHYSICS_TOLERANCE);
    const CxPhysicsVector diagonal = well.GetForce({80, 20, 0});
    EXPECT_NEAR(std::hypot(diagonal.x, diagonal.y), 3.0f, PHYSICS_TOLERANCE);
    EXPECT_LT(diagonal.y, 0.0f);
    EXPECT_EQ(well.GetForce({50, 0, 0}).x, 0.0f); // exactly at the range: nothing
    const CxPhysicsVector centre = well.GetForce({100, 0, 0});
    EXPECT_TRUE(std::isfinite(centre.x) && std::isfinite(centre.y));
    CxPointGravityBody pusher({0, 0, 0}, -2.0f, 10.0f);
    EXPECT_NEAR(pusher.GetForce({0, 5, 0}).y, 2.0f, PHYSICS_TOLERANCE);

    CxPhysicsEngine engine;
    CxGravityBody wind({1, 0, 0});
    engine.AddGravity(&well);
    engine.AddGravity(&wind);
    EXPECT_NEAR(engine.GravityAt({70, 0, 0}).x, 4.0f, PHYSICS_TOLERANCE);
    EXPECT_TRUE(engine.AnyGravityAt({0, 0, 0}));
    CxPhysicsEngine wellOnly;
    wellOnly.AddGravity(&well);
    EXPECT_FALSE(wellOnly.AnyGravityAt({0, 0, 0}));
    EXPECT_TRUE(wellOnly.AnyGravityAt({90, 0, 0}));
}

TEST(PhysicsStep, SlowBallsRestUnlessCollidedOrRestingIsOff)
{
    CxPhysicsEngine engine;
    CountingSphere slow(0, 0, 5, 1, true, {0.5f, -0.7f, 0}), edge(100, 0, 5, 1, true, {0.8f, 0, 0});
    engine.AddSphere(&slow);
    engine.AddSphere(&edge);
    engine.Step(0.2f);
    EXPECT_TRUE(slow.Has(SPHERE_RESTING));
    EXPECT_EQ(slow.m_velocity.x, 0.0f);
    EXPECT_EQ(slow.m_velocity.y, 0.0f);
    EXPECT_EQ(slow.m_position.x, 0.0f);
    EXPECT_EQ(slow.moves, 0);
    EXPECT_FALSE(edge.Has(SPHERE_RESTING)); // 0.8 is not strictly below 0.8

    // Mode 1: a ball that has collided keeps the bit and so never rests.
    CxPhysicsEngine soft;
    soft.SetMode(1);
    CountingSphere bumped(0, 0, 5, 1, true, {0.1f, 0, 0});
    soft.AddSphere(&bumped);
    bumped.SetBit(SPHERE_COLLIDED, true);
    for (int i = 0; i < 5; ++i)
        soft.Step(0.2f);
    EXPECT_FALSE(bumped.Has(SPHERE_RESTING));
    EXPECT_EQ(bumped.moves, 5);

    // Mode 3 never rests; a ball set resting moves on.
    CxPhysicsEngine lively;
    lively.SetMode(3);
    CountingSphere drifting(0, 0, 5, 1, true, {0.1f, 0, 0});
    lively.AddSphere(&drifting);
    drifting.SetBit(SPHERE_RESTING, true);
    lively.Step(0.2f);
    EXPECT_NEAR(drifting.m_position.x, 0.02f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(drifting.m_velocity.x, 0.1f, PHYSICS_TOLERANCE);
}

TEST(PhysicsStep, ModesSetTheirParametersAndOthersAreIgnored)
{
    CxPhysicsEngine engine;
    EXPECT_FLOAT_EQ(engine.Restitution(), 0.8f);
    engine.SetMode(1);
    EXPECT_FLOAT_EQ(engine.Restitution(), 0.5f);
    EXPECT_FLOAT_EQ(engine.LossThreshold(), 1.0f);
    EXPECT_FLOAT_EQ(engine.SlowFactor(), 0.1f);
    EXPECT_TRUE(engine.RestingEnabled());
    EXPECT_FALSE(engine.DampenOnContact());
    for (int other : {0, 4, -1})
        engine.SetMode(other);
    EXPECT_FLOAT_EQ(engine.Restitution(), 0.5f);
    engine.SetMode(3);
    EXPECT_FLOAT_EQ(engine.LossThreshold(), 0.0f);
    EXPECT_FALSE(engine.RestingEnabled());
    engine.SetMode(2);
    EXPECT_FLOAT_EQ(engine.SlowFactor(), 0.6f);
    EXPECT_TRUE(engine.DampenOnContact());
}

TEST(PhysicsStep, FullEngineRefusesMoreAndStepsWithoutAllocating)
{
    CxPhysicsEngine engine;
    std::vector<CountingSphere> balls;
    balls.reserve(CxPhysicsEngine::MAX_SPHERES + 1);
    for (int i = 0; i <= CxPhysicsEngine::MAX_SPHERES; ++i)
        balls.emplace_back(static_cast<float>(i % 40) * 21.0f, static_cast<float>(i / 40) * 21.0f, 10.0f, 1.0f, true,
                           CxPhysicsVector{static_cast<float>(i % 7) - 3.0f, static_cast<float>(i % 5) - 2.0f, 0});
    std::vector<CxRigidLineBody> lines(CxPhysicsEngine::MAX_LINES + 1, CxRigidLineBody({-10, -10, 0}, {900, -10, 0}));
    std::vector<CxGravityBody> gravity(CxPhysicsEngine::MAX_GRAVITY + 1, CxGravityBody({0, 0.001f, 0}));
    for (int i = 0; i < CxPhysicsEngine::MAX_SPHERES; ++i)
        ASSERT_TRUE(engine.AddSphere(&balls[i]));
    EXPECT_FALSE(engine.AddSphere(&balls.back()));
    for (int i = 0; i < CxPhysicsEngine::MAX_LINES; ++i)
        ASSERT_TRUE(engine.AddLine(&lines[i]));
    EXPECT_FALSE(engine.AddLine(&lines.back()));
    for (int i = 0; i < CxPhysicsEngine::MAX_GRAVITY; ++i)
        ASSERT_TRUE(engine.AddGravity(&gravity[i]));
    EXPECT_FALSE(engine.AddGravity(&gravity.back()));

    const auto* sphereData = engine.Spheres().data();
    const auto* lineData = engine.Lines().data();
    const auto* gravityData = engine.Gravity().data();
    engine.Step(0.2f);
    EXPECT_EQ(engine.Spheres().data(), sphereData);
    EXPECT_EQ(engine.Lines().data(), lineData);
    EXPECT_EQ(engine.Gravity().data(), gravityData);
    for (int i = 0; i < CxPhysicsEngine::MAX_SPHERES; ++i)
        ASSERT_TRUE(FiniteBody(balls[i])) << i;

    // Clear keeps the room, so refilling never allocates during play either.
    engine.Clear();
    EXPECT_TRUE(engine.Spheres().empty());
    EXPECT_GE(engine.Spheres().capacity(), static_cast<size_t>(CxPhysicsEngine::MAX_SPHERES));
    EXPECT_TRUE(engine.AddSphere(&balls.back()));
}

} // namespace
