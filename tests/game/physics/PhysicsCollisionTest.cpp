// Balls against balls and against lines: the numbers a bounce must give and
// the corner cases level data can produce.
#include "tests/game/physics/PhysicsTestBodies.h"

#include "game/physics/CxPointGravityBody.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PhysicsCollision, AddingRefusesOverlapsAndNonFiniteBodies)
{
    CxPhysicsEngine engine;
    CountingSphere first(0, 0, 10), touching(20, 0, 10), overlapping(0, 19.9f, 10);
    EXPECT_TRUE(engine.AddSphere(&first));
    EXPECT_TRUE(engine.AddSphere(&touching)); // exactly touching is not an overlap
    EXPECT_FALSE(engine.AddSphere(&overlapping));

    CountingSphere nanPlace(500, 0, 10), negative(600, 0, -1), nanMass(700, 0, 5, NAN);
    nanPlace.m_position.y = NAN;
    EXPECT_FALSE(engine.AddSphere(&nanPlace));
    EXPECT_FALSE(engine.AddSphere(&negative));
    EXPECT_FALSE(engine.AddSphere(&nanMass));
    EXPECT_FALSE(engine.AddSphere(nullptr));
    EXPECT_EQ(engine.Spheres().size(), 2u);

    CxRigidLineBody wall({0, 0, 0}, {10, 0, 0}), nanEnd({0, NAN, 0}, {10, 0, 0}), nanFriction({0, 0, 0}, {1, 0, 0});
    nanFriction.m_bounceFriction = NAN;
    EXPECT_TRUE(engine.AddLine(&wall));
    EXPECT_FALSE(engine.AddLine(&nanEnd));
    EXPECT_FALSE(engine.AddLine(&nanFriction));
    CxRigidLineBody huge({-3e38f, 0, 0}, {3e38f, 0, 0}); // its length overflows
    EXPECT_FALSE(engine.AddLine(&huge));

    CxGravityBody down({0, 1, 0}), nanDown({0, NAN, 0});
    CxPointGravityBody pull({0, 0, 0}, 10, 50), nanStrength({0, 0, 0}, NAN, 50), endless({0, 0, 0}, 1, INFINITY);
    EXPECT_TRUE(engine.AddGravity(&down));
    EXPECT_TRUE(engine.AddGravity(&pull));
    EXPECT_FALSE(engine.AddGravity(&nanDown));
    EXPECT_FALSE(engine.AddGravity(&nanStrength));
    EXPECT_FALSE(engine.AddGravity(&endless));
    EXPECT_EQ(engine.Gravity().size(), 2u);
}

TEST(PhysicsCollision, EqualMassesExchangeTheirSpeeds)
{
    CxPhysicsEngine engine;
    CountingSphere a(0, 0, 10, 1, true, {5, 0, 0}), b(20, 0, 10);
    ASSERT_TRUE(engine.AddSphere(&a));
    ASSERT_TRUE(engine.AddSphere(&b));
    engine.Step(0.2f); // touching: contact but no exchange yet; a moves 1 in
    EXPECT_NEAR(a.m_velocity.x, 5.0f, PHYSICS_TOLERANCE);
    EXPECT_EQ(a.hitOthers, 0);
    engine.Step(0.2f);
    EXPECT_NEAR(a.m_velocity.x, 0.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(b.m_velocity.x, 5.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(a.m_velocity.y, 0.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(b.m_velocity.y, 0.0f, PHYSICS_TOLERANCE);
    // Separated to touching first (b, level with a, is the one moved), then b
    // moved on.
    EXPECT_NEAR(b.m_position.x - a.m_position.x, 20.0f + 0.2f * 5.0f, PHYSICS_TOLERANCE);
    EXPECT_EQ(a.hitOthers, 1);
    EXPECT_EQ(a.lastHitOther, &b);
    EXPECT_EQ(b.hits, 1);
    EXPECT_EQ(b.lastHit, &a);
}

TEST(PhysicsCollision, HeavierBallKeepsGoingAndApartBallsAreLeftAlone)
{
    CxPhysicsEngine engine;
    CountingSphere a(0, 0, 10, 3, true, {4, 0, 0}), b(20, 0, 10, 1);
    ASSERT_TRUE(engine.AddSphere(&a));
    ASSERT_TRUE(engine.AddSphere(&b));
    a.m_position.x = 1; // overlapping by 1
    engine.Step(0.2f);
    // W = 2 * (-4 - 0) / 4 = -2 along n = (-1, 0).
    EXPECT_NEAR(a.m_velocity.x, 2.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(b.m_velocity.x, 6.0f, PHYSICS_TOLERANCE);

    CxPhysicsEngine apart;
    CountingSphere c(0, 0, 10, 1, true, {-3, 0, 0}), d(20, 0, 10, 1, true, {3, 0, 0});
    ASSERT_TRUE(apart.AddSphere(&c));
    ASSERT_TRUE(apart.AddSphere(&d));
    c.m_position.x = 1;
    apart.Step(0.2f);
    EXPECT_NEAR(c.m_velocity.x, -3.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(d.m_velocity.x, 3.0f, PHYSICS_TOLERANCE);
    EXPECT_EQ(c.hitOthers, 0);
}

TEST(PhysicsCollision, BallBouncesOffAnImmovableBall)
{
    CxPhysicsEngine engine;
    CountingSphere a(0, 0, 10, 1, true, {5, 2, 0}), post(20, 0, 10, 1, false);
    ASSERT_TRUE(engine.AddSphere(&a));
    ASSERT_TRUE(engine.AddSphere(&post));
    a.m_position.x = 0.5f;
    engine.Step(0.2f);
    // Normal 5 -> 5 * 0.8 - 0.3 = 3.7 back; tangent 2 * 0.99.
    EXPECT_NEAR(a.m_velocity.x, -3.7f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(a.m_velocity.y, 1.98f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(post.m_velocity.x, 0.0f, 0.0f);
    EXPECT_EQ(post.m_position.x, 20.0f); // the obstacle never moves
    EXPECT_EQ(post.moves, 0);
}

// A floor from x -100 to 100 at y 0; a ball of radius 10 sinking 1 into it.
float FloorBounce(float downSpeed)
{
    CxPhysicsEngine engine;
    CxRigidLineBody floor({-100, 0, 0}, {100, 0, 0});
    CountingSphere ball(0, -9, 10, 1, true, {0, downSpeed, 0});
    engine.AddLine(&floor);
    engine.AddSphere(&ball);
    engine.Step(0.2f);
    EXPECT_EQ(ball.hits, 1);
    EXPECT_EQ(ball.lastHit, nullptr);
    EXPECT_NEAR(ball.m_position.y, -10.0f + 0.2f * ball.m_velocity.y, PHYSICS_TOLERANCE);
    return ball.m_velocity.y;
}

TEST(PhysicsCollision, LineBouncesLoseTheThresholdThenTheBounceFriction)
{
    EXPECT_NEAR(FloorBounce(5.0f), -3.76f, PHYSICS_TOLERANCE); // (5 - 0.3) * 0.8
    EXPECT_NEAR(FloorBounce(0.3f), -0.144f, PHYSICS_TOLERANCE); // 0.3 * 0.6 * 0.8
    // Already leaving: pushed out, speed kept.
    EXPECT_NEAR(FloorBounce(-2.0f), -2.0f, PHYSICS_TOLERANCE);
}

TEST(PhysicsCollision, PassThroughWindowLetsOnlyItsHeadingsThrough)
{
    EXPECT_NEAR(CxPhysicsEngine::Heading({0, -1, 0}), 0.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(CxPhysicsEngine::Heading({-1, 0, 0}), Degrees(90), PHYSICS_TOLERANCE);
    EXPECT_NEAR(CxPhysicsEngine::Heading({0, 1, 0}), Degrees(180), PHYSICS_TOLERANCE);
    EXPECT_NEAR(CxPhysicsEngine::Heading({1, 0, 0}), Degrees(270), PHYSICS_TOLERANCE);
    EXPECT_LT(CxPhysicsEngine::Heading({1e-9f, -1, 0}), 2.0f * 3.14159265f);

    struct Case
    {
        CxPhysicsVector velocity;
        bool passes;
    };
    const Case cases[] = {
        {{-5, 0, 0}, true}, // 90 degrees
        {{-5, -0.8f, 0}, true}, // about 81
        {{-5, 1, 0}, false}, // about 101
        {{5, 0, 0}, false}, // 270: the wall's other way
    };
    for (const Case& c : cases) {
        CxPhysicsEngine engine;
        CxRigidLineBody wall({0, -100, 0}, {0, 100, 0}, Degrees(80), Degrees(100));
        const float side = c.velocity.x < 0 ? 9.0f : -9.0f;
        CountingSphere ball(side, 0, 10, 1, true, c.velocity);
        engine.AddLine(&wall);
        engine.AddSphere(&ball);
        engine.Step(0.2f);
        EXPECT_EQ(ball.hits, c.passes ? 0 : 1) << c.velocity.x << "," << c.velocity.y;
        EXPECT_EQ(ball.m_velocity.x == c.velocity.x, c.passes);
    }

    // A window through straight up wraps: 350 to 10 degrees.
    CxRigidLineBody ceiling({-100, 0, 0}, {100, 0, 0}, Degrees(350), Degrees(10));
    EXPECT_TRUE(ceiling.Passes(Degrees(355)));
    EXPECT_TRUE(ceiling.Passes(Degrees(5)));
    EXPECT_FALSE(ceiling.Passes(Degrees(180)));
    CxRigidLineBody solid({0, 0, 0}, {1, 0, 0});
    EXPECT_FALSE(solid.Passes(0.0f));
}

TEST(PhysicsCollision, LineEndsAndPointLinesPushStraightOut)
{
    struct Case
    {
        CxPhysicsVector p2;
        CxPhysicsVector centre;
        CxPhysicsVector expected;
    };
    const float diagonal = 10.0f / std::sqrt(2.0f);
    const Case cases[] = {
        {{100, 0, 0}, {-6, -6, 0}, {-diagonal, -diagonal, 0}}, // past the end: round the corner
        {{0, 0, 0}, {-6, -6, 0}, {-diagonal, -diagonal, 0}}, // zero-length line: a point
        {{100, 0, 0}, {0, 0, 0}, {0, -10, 0}}, // centre on the end: up
        {{0, 0, 0}, {0, 0, 0}, {0, -10, 0}}, // centre on the point: up
        {{100, 0, 0}, {50, 4, 0}, {50, 10, 0}}, // the middle, from below
    };
    for (const Case& c : cases) {
        CxPhysicsEngine engine;
        CxRigidLineBody line({0, 0, 0}, c.p2);
        CountingSphere ball(c.centre.x, c.centre.y, 10);
        engine.AddLine(&line);
        engine.AddSphere(&ball);
        engine.Step(0.2f);
        EXPECT_NEAR(ball.m_position.x, c.expected.x, PHYSICS_TOLERANCE) << c.centre.x << "," << c.centre.y;
        EXPECT_NEAR(ball.m_position.y, c.expected.y, PHYSICS_TOLERANCE) << c.centre.x << "," << c.centre.y;
        EXPECT_TRUE(FiniteBody(ball));
    }
    CxRigidLineBody line({0, 0, 0}, {3, 4, 0});
    EXPECT_FLOAT_EQ(line.m_length, 5.0f);
}

TEST(PhysicsCollision, LineEndsBounceLikeAFixedPoint)
{
    // Head-on into the end of a wall: the end is an immovable ball, so the
    // restitution and the threshold apply (5 * 0.8 - 0.3), not the wall's
    // bounce friction. The ball hears of a line hit, with no other ball.
    CxPhysicsEngine engine;
    CxRigidLineBody wall({0, 0, 0}, {100, 0, 0}, 0, 0, 0.1f);
    CountingSphere ball(-9.5f, 0, 10, 1, true, {5, 0, 0});
    engine.AddLine(&wall);
    engine.AddSphere(&ball);
    engine.Step(0.2f);
    EXPECT_NEAR(ball.m_velocity.x, -3.7f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(ball.m_velocity.y, 0.0f, PHYSICS_TOLERANCE);
    EXPECT_NEAR(ball.m_position.x, -10.0f - 0.2f * 3.7f, PHYSICS_TOLERANCE);
    EXPECT_EQ(ball.hits, 1);
    EXPECT_EQ(ball.lastHit, nullptr);
    EXPECT_EQ(ball.hitOthers, 0);

    // Beyond the end's reach along the line: no contact at all.
    CxPhysicsEngine far;
    CountingSphere away(-11, 0, 10, 1, true, {5, 0, 0});
    far.AddLine(&wall);
    far.AddSphere(&away);
    far.Step(0.2f);
    EXPECT_FLOAT_EQ(away.m_velocity.x, 5.0f);
    EXPECT_EQ(away.hits, 0);
}

TEST(PhysicsCollision, DegenerateContactsStayFinite)
{
    // Coincident centres separate along straight up.
    CxPhysicsEngine engine;
    CountingSphere a(0, 0, 10, 1, true, {0, 1, 0}), b(100, 0, 10);
    ASSERT_TRUE(engine.AddSphere(&a));
    ASSERT_TRUE(engine.AddSphere(&b));
    b.m_position = a.m_position;
    engine.Step(0.2f);
    EXPECT_TRUE(FiniteBody(a));
    EXPECT_TRUE(FiniteBody(b));
    EXPECT_NEAR(std::fabs(a.m_position.y - b.m_position.y), 20.0f, 0.5f);
    EXPECT_NEAR(a.m_position.x - b.m_position.x, 0.0f, PHYSICS_TOLERANCE);

    // Two massless balls: separated, no exchange.
    CxPhysicsEngine massless;
    CountingSphere c(0, 0, 10, 0, true, {5, 0, 0}), d(20, 0, 10, 0);
    ASSERT_TRUE(massless.AddSphere(&c));
    ASSERT_TRUE(massless.AddSphere(&d));
    c.m_position.x = 2;
    massless.Step(0.2f);
    EXPECT_TRUE(FiniteBody(c));
    EXPECT_TRUE(FiniteBody(d));
    EXPECT_FLOAT_EQ(c.m_velocity.x, 5.0f);
    EXPECT_FLOAT_EQ(d.m_velocity.x, 0.0f);
}

TEST(PhysicsCollision, RestingBallsWakeOnlyWhenHitHard)
{
    CxPhysicsEngine engine;
    CountingSphere sleeper(20, 0, 10), gentle(0, 0, 10, 1, true, {0.5f, 0, 0});
    ASSERT_TRUE(engine.AddSphere(&sleeper));
    engine.Step(0.2f);
    ASSERT_TRUE(sleeper.Has(SPHERE_RESTING));
    // A slow ball nudging a resting one leaves it resting and still; the
    // resting one, not the mover, is never the one pushed.
    ASSERT_TRUE(engine.AddSphere(&gentle));
    gentle.m_position.x = 0.5f;
    engine.Step(0.2f);
    EXPECT_TRUE(sleeper.Has(SPHERE_RESTING));
    EXPECT_EQ(sleeper.m_velocity.x, 0.0f);
    EXPECT_EQ(sleeper.m_position.x, 20.0f);

    CxPhysicsEngine hard;
    CountingSphere sleeper2(20, 0, 10), striker(0, 0, 10, 1, true, {5, 0, 0});
    ASSERT_TRUE(hard.AddSphere(&sleeper2));
    hard.Step(0.2f);
    ASSERT_TRUE(hard.AddSphere(&striker));
    striker.m_position.x = 0.5f;
    hard.Step(0.2f);
    EXPECT_FALSE(sleeper2.Has(SPHERE_RESTING));
    EXPECT_NEAR(sleeper2.m_velocity.x, 5.0f, PHYSICS_TOLERANCE);
    EXPECT_GT(sleeper2.moves, 0);
}

TEST(PhysicsCollision, BallsShakenInABoxStayInsideAndFinite)
{
    CxPhysicsEngine engine;
    engine.SetMaxSpeed(20.0f);
    CxRigidLineBody walls[] = {CxRigidLineBody({0, 0, 0}, {400, 0, 0}), CxRigidLineBody({400, 0, 0}, {400, 300, 0}),
                               CxRigidLineBody({400, 300, 0}, {0, 300, 0}), CxRigidLineBody({0, 300, 0}, {0, 0, 0})};
    CxGravityBody down({0, 1, 0});
    CxPointGravityBody swirl({200, 150, 0}, -2.0f, 80.0f);
    std::vector<CountingSphere> balls;
    balls.reserve(30);
    for (int i = 0; i < 30; ++i)
        balls.emplace_back(
            30.0f + static_cast<float>(i % 10) * 35.0f, 30.0f + static_cast<float>(i / 10) * 35.0f, 10.0f,
            1.0f + static_cast<float>(i % 3), i != 15,
            CxPhysicsVector{static_cast<float>(i % 7) * 2.0f - 6.0f, static_cast<float>(i % 4) - 2.0f, 0});
    for (CxRigidLineBody& wall : walls)
        engine.AddLine(&wall);
    engine.AddGravity(&down);
    engine.AddGravity(&swirl);
    for (CountingSphere& ball : balls)
        ASSERT_TRUE(engine.AddSphere(&ball));
    for (int step = 0; step < 5000; ++step)
        engine.Step(0.2f);
    for (const CountingSphere& ball : balls) {
        ASSERT_TRUE(FiniteBody(ball));
        EXPECT_GT(ball.m_position.x, 0.0f);
        EXPECT_LT(ball.m_position.x, 400.0f);
        EXPECT_GT(ball.m_position.y, 0.0f);
        EXPECT_LT(ball.m_position.y, 300.0f);
    }
}

} // namespace
