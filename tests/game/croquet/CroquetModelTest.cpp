// Croquet's rules: shots, wickets in order, the hole, winning and losing,
// and the formulas the room applies to the ball, the aim and the walker.
#include "game/croquet/CroquetModel.h"

#include "game/croquet/CroquetLevel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Plays one shot from aiming to the ball rolling.
void PlayShot(CCroquetModel& model)
{
    ASSERT_TRUE(model.GetState() == ECroquetState::Aiming || model.Aim());
    ASSERT_TRUE(model.Shoot());
    ASSERT_TRUE(model.Kick());
}

TEST(CroquetModelTest, TheLevelsShotsAreCappedByTheRoomsMost)
{
    CCroquetModel model;
    model.StartLevel(10, 7, 0);
    EXPECT_EQ(model.GetShotsAllowed(), 7);
    EXPECT_EQ(model.GetShotsLeft(), 7);
    model.StartLevel(0, 7, 0);
    EXPECT_EQ(model.GetShotsAllowed(), 1);
    model.StartLevel(3, -2, 0);
    EXPECT_EQ(model.GetShotsAllowed(), 1);
    EXPECT_TRUE(model.IsLastShot());
    EXPECT_EQ(model.GetState(), ECroquetState::Idle);
}

TEST(CroquetModelTest, CallsOutOfTurnChangeNothing)
{
    CCroquetModel model;
    model.StartLevel(3, 7, 1);
    EXPECT_FALSE(model.Shoot());
    EXPECT_FALSE(model.Kick());
    EXPECT_EQ(model.PassWicket(), 0);
    EXPECT_EQ(model.BallStopped(), ECroquetState::Idle);
    EXPECT_FALSE(model.WalkEnded());
    EXPECT_FALSE(model.Finish());
    EXPECT_TRUE(model.Aim());
    EXPECT_FALSE(model.Aim());
    EXPECT_EQ(model.PassWicket(), 0); // only a rolling ball passes wickets
    EXPECT_EQ(model.GetShotsLeft(), 3);
}

TEST(CroquetModelTest, WithoutWicketsTheHoleIsOpenFromTheFirstShot)
{
    CCroquetModel model;
    model.StartLevel(3, 7, 0);
    EXPECT_TRUE(model.IsHoleOpen());
    PlayShot(model);
    EXPECT_EQ(model.SinkBall(), 250 + 2 * 50);
    EXPECT_EQ(model.GetState(), ECroquetState::Won);
    EXPECT_EQ(model.SinkBall(), 0);
    EXPECT_TRUE(model.Finish());
    EXPECT_EQ(model.GetState(), ECroquetState::Finished);
}

TEST(CroquetModelTest, WicketsCountOnlyInOrderAndShutTheHoleUntilTheLast)
{
    CCroquetModel model;
    model.StartLevel(5, 7, 2);
    PlayShot(model);
    EXPECT_FALSE(model.IsHoleOpen());
    EXPECT_EQ(model.SinkBall(), 0);
    EXPECT_EQ(model.GetState(), ECroquetState::Rolling);
    EXPECT_EQ(model.PassWicket(), 100);
    EXPECT_EQ(model.GetNextWicket(), 1);
    EXPECT_EQ(model.BallStopped(), ECroquetState::Walking);
    EXPECT_TRUE(model.WalkEnded());
    EXPECT_EQ(model.GetState(), ECroquetState::Aiming);
    PlayShot(model);
    EXPECT_EQ(model.PassWicket(), 100);
    EXPECT_EQ(model.PassWicket(), 0);
    EXPECT_TRUE(model.IsHoleOpen());
    // Two shots used of five: three left.
    EXPECT_EQ(model.SinkBall(), 250 + 3 * 50);
}

TEST(CroquetModelTest, ABallStoppingWithNoShotsLeftLosesEvenBesideTheHole)
{
    CCroquetModel model;
    model.StartLevel(1, 7, 0);
    PlayShot(model);
    EXPECT_EQ(model.GetShotsLeft(), 0);
    EXPECT_EQ(model.BallStopped(), ECroquetState::Lost);
    EXPECT_EQ(model.SinkBall(), 0);
    EXPECT_FALSE(model.Finish());
    EXPECT_TRUE(model.LoseAnimationDone());
    EXPECT_EQ(model.GetState(), ECroquetState::LostWait);
    EXPECT_FALSE(model.Finish()); // finished, but not won
    EXPECT_EQ(model.GetState(), ECroquetState::Finished);
}

TEST(CroquetModelTest, TheBallLooksMoreWornAsShotsAreUsed)
{
    // Five states, seven shots: states 0, 1, 2 then the worn 2, the last
    // shot's 3.
    const int expected[] = {0, 1, 2, 2, 2, 2, 3};
    for (int n = 7; n >= 1; --n)
        EXPECT_EQ(CroquetBallLook(5, n, 7), expected[7 - n]) << n;
    // Many shots for few states: the look moves two states a shot.
    EXPECT_EQ(CroquetBallLook(5, 15, 15), 0);
    EXPECT_EQ(CroquetBallLook(5, 14, 15), 2);
    EXPECT_EQ(CroquetBallLook(5, 13, 15), 2);
    EXPECT_EQ(CroquetBallLook(3, 5, 7), 0);
    EXPECT_EQ(CroquetBallLook(2, 3, 7), -1);
    EXPECT_EQ(CroquetBallLook(0, 1, 7), -1);
}

TEST(CroquetModelTest, TheWalkerFacesTheWayItGoes)
{
    EXPECT_EQ(CroquetWalkState(1, 0), 10);    // right
    EXPECT_EQ(CroquetWalkState(1, 1), 11);    // down-right
    EXPECT_EQ(CroquetWalkState(0, 1), 12);    // down
    EXPECT_EQ(CroquetWalkState(-1, 1), 13);   // down-left
    EXPECT_EQ(CroquetWalkState(-1, 0), 14);   // left
    EXPECT_EQ(CroquetWalkState(-1, -1), 15);  // up-left
    EXPECT_EQ(CroquetWalkState(0, -1), 8);    // up
    EXPECT_EQ(CroquetWalkState(1, -1), 9);    // up-right
    // Either side of each boundary, below the horizon and above it.
    const float bounds[] = {0.392699f, 1.178097f, 1.963495f, 2.748894f};
    const int downInside[] = {10, 11, 12, 13};
    const int downOutside[] = {11, 12, 13, 14};
    const int upInside[] = {10, 9, 8, 15};
    const int upOutside[] = {9, 8, 15, 14};
    for (int i = 0; i < 4; ++i) {
        const float lo = bounds[i] - 0.001f;
        const float hi = bounds[i] + 0.001f;
        EXPECT_EQ(CroquetWalkState(std::cos(lo), std::sin(lo)), downInside[i]) << i;
        EXPECT_EQ(CroquetWalkState(std::cos(hi), std::sin(hi)), downOutside[i]) << i;
        EXPECT_EQ(CroquetWalkState(std::cos(-lo), std::sin(-lo)), upInside[i]) << i;
        EXPECT_EQ(CroquetWalkState(std::cos(-hi), std::sin(-hi)), upOutside[i]) << i;
    }
    EXPECT_EQ(CroquetWalkTarget(CxPoint(900, 700), CxPoint(10, 20)), CxPoint(520, 500));
    EXPECT_EQ(CroquetWalkTarget(CxPoint(100, 200), CxPoint(10, 20)), CxPoint(90, 180));
}

TEST(CroquetModelTest, TheCurrentLetsGoAtTheEdgesAndNeverDrivesPastTheTopSpeed)
{
    CxPhysicsVector v{0, 1, 0};
    CroquetWaterPush(0, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.y, 1.0f - 0.0001f);
    v = {0, -2, 0};
    CroquetWaterPush(0, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.y, -2.0005f);
    v = {0, -12.9998f, 0};
    CroquetWaterPush(0, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.y, -13.0f);
    v = {0, 20, 0};
    CroquetWaterPush(1, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.y, 20.0f); // already faster than the current drives
    v = {0, 12.9999f, 0};
    CroquetWaterPush(1, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.y, 13.0f);
    // Every current pushes gently against the ball and harder along it.
    v = {-3, 0, 0};
    CroquetWaterPush(2, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.x, -2.9999f);
    v = {1, 0, 0};
    CroquetWaterPush(2, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.x, 1.0005f);
    v = {0, -1, 0};
    CroquetWaterPush(1, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.y, -0.9999f);
    v = {3, 0, 0};
    CroquetWaterPush(3, {100, 300, 0}, v);
    EXPECT_FLOAT_EQ(v.x, 2.9999f);

    // Near each edge the current lets go.
    const struct { int d; CxPhysicsVector at; } edges[] = {
        {0, {100, 40, 0}}, {1, {100, 560, 0}}, {2, {760, 300, 0}}, {3, {40, 300, 0}}, {4, {100, 300, 0}}};
    for (const auto& e : edges) {
        v = {1, 1, 0};
        CroquetWaterPush(e.d, e.at, v);
        EXPECT_FLOAT_EQ(v.x, 1.0f) << e.d;
        EXPECT_FLOAT_EQ(v.y, 1.0f) << e.d;
    }
}

TEST(CroquetModelTest, TheAimNeedsRoomAndTheConeAndDotsFollowIt)
{
    const CxPoint o(300, 300);
    EXPECT_FALSE(CroquetAimValid(o, CxPoint(324, 300)));
    EXPECT_TRUE(CroquetAimValid(o, CxPoint(325, 300)));
    EXPECT_TRUE(CroquetAimValid(o, CxPoint(315, 320)));
    EXPECT_EQ(CroquetConeFrame(o, CxPoint(300, 200)), 0);  // up
    EXPECT_EQ(CroquetConeFrame(o, CxPoint(200, 300)), 27); // left
    EXPECT_EQ(CroquetConeFrame(o, CxPoint(300, 400)), 18); // down
    EXPECT_EQ(CroquetConeFrame(o, CxPoint(400, 300)), 9);  // right
    for (int x = -100; x <= 100; x += 10) {
        const int frame = CroquetConeFrame(o, CxPoint(300 + x, 250));
        EXPECT_GE(frame, 0);
        EXPECT_LT(frame, CROQUET_CONE_FRAMES);
    }
    EXPECT_EQ(CroquetDotCentre(o, CxPoint(500, 100), 0), o);
    EXPECT_EQ(CroquetDotCentre(o, CxPoint(500, 100), 10), CxPoint(400, 200));
    EXPECT_EQ(CroquetDotCentre(o, CxPoint(500, 100), 19), CxPoint(490, 110));
}

TEST(CroquetModelTest, SmallRulesOfTheKickTheHoleTheMudAndTheDeflector)
{
    EXPECT_EQ(CroquetKickFrame(4, 10), 4);
    EXPECT_EQ(CroquetKickFrame(0, 10), 7);
    EXPECT_EQ(CroquetKickFrame(-1, 2), 0);

    const CxPoint hole(100, 100);
    EXPECT_TRUE(CroquetInHole(hole, 60, 50, CxPoint(120, 130)));
    EXPECT_FALSE(CroquetInHole(hole, 60, 50, CxPoint(119, 130)));
    EXPECT_FALSE(CroquetInHole(hole, 60, 50, CxPoint(120, 129)));
    EXPECT_FALSE(CroquetInHole(hole, 60, 50, CxPoint(150, 140)));
    EXPECT_FALSE(CroquetInHole(hole, 60, 50, CxPoint(130, 150)));

    EXPECT_FLOAT_EQ(CroquetMudFriction(0.999f, 2), 0.997f);
    EXPECT_FLOAT_EQ(CroquetMudFriction(0.001f, 1000), CROQUET_MIN_FRICTION);

    const CxPhysicsVector d = CroquetDeflect({1, 0, 0});
    EXPECT_NEAR(d.x, std::cos(1.0f), 1e-6f);
    EXPECT_NEAR(d.y, std::sin(1.0f), 1e-6f);
    const CxPhysicsVector e = CroquetDeflect({0, 2, 0});
    EXPECT_NEAR(e.x, -2 * std::sin(1.0f), 1e-6f);
    EXPECT_NEAR(e.y, 2 * std::cos(1.0f), 1e-6f);

    EXPECT_EQ(CroquetFoodPlaces(5, true, true), 3);
    EXPECT_EQ(CroquetFoodPlaces(1, true, true), 0);
    EXPECT_EQ(CroquetFoodPlaces(4, false, false), 4);
}

} // namespace
