// The bale-pushing board: refused pushes, ice and belts, switches and doors,
// bonus cells, the undo ring and what an undo must not replay, the win and
// its points, and the pointer's cells and directions.
#include "tests/game/baleout/BaleOutTestBoard.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using bale_test::Board;
using bale_test::Play;
using bale_test::Settle;

std::array<uint8_t, BALE_CELLS> Grid(const CBaleOutModel& m)
{
    std::array<uint8_t, BALE_CELLS> g{};
    for (int i = 0; i < BALE_CELLS; ++i)
        g[i] = m.Cell({i / BALE_GRID, i % BALE_GRID});
    return g;
}

TEST(BaleOutModelTest, RefusedPushesChangeNothingAndRecordNothing)
{
    // Against a block, another bale, a closed door, the edge.
    const ST_BALE_LEVEL levels[] = {Board({"PB#"}), Board({"PBB"}), Board({"PBD"}),
                                    Board({"", "", "", "", "", "", "", "", "", "", "P", "B"})};
    const int directions[] = {BALE_RIGHT, BALE_RIGHT, BALE_RIGHT, BALE_DOWN};
    for (int i = 0; i < 4; ++i) {
        CBaleOutModel m;
        m.Load(levels[i]);
        const auto before = Grid(m);
        EXPECT_FALSE(m.CanMove(directions[i])) << i;
        EXPECT_EQ(m.StartStep(directions[i]).result, EBaleStep::Stuck) << i;
        EXPECT_EQ(Grid(m), before) << i;
        EXPECT_EQ(m.UndoSteps(), 0) << i;
        EXPECT_EQ(m.Moves(), 0) << i;
        EXPECT_FALSE(m.IsMoving()) << i;
    }
    // The pig walking into a block or off the board is refused too.
    CBaleOutModel m;
    m.Load(Board({"P#"}));
    EXPECT_EQ(m.StartStep(BALE_RIGHT).result, EBaleStep::Stuck);
    EXPECT_EQ(m.StartStep(BALE_LEFT).result, EBaleStep::Stuck);
    EXPECT_EQ(m.StartStep(7).result, EBaleStep::Stuck);
    EXPECT_TRUE(m.CanMove(BALE_DOWN));
}

TEST(BaleOutModelTest, AnIceSlideStopsOnTheLastFreeCell)
{
    struct Case
    {
        ST_BALE_LEVEL level;
        int stopX;
    };
    const Case cases[] = {{Board({"PBIII#"}), 4},
                          {Board({"PBIIIB"}), 4},
                          {Board({"PBIIID"}), 4},
                          {Board({"PBIIIIIIIIII"}), 11}};
    for (const Case& c : cases) {
        CBaleOutModel m;
        m.Load(c.level);
        std::vector<ST_BALE_ARRIVAL> arrivals;
        ASSERT_TRUE(Play(m, BALE_RIGHT, &arrivals));
        EXPECT_EQ(m.BaleCell(0), CxPoint(c.stopX, 0));
        EXPECT_EQ(m.Cell({c.stopX, 0}), BALE_ICE + BALE_BALE);
        EXPECT_EQ(m.PigCell(), CxPoint(1, 0));
        // The first arrival goes on at slide speed, and not as a belt ride.
        ASSERT_FALSE(arrivals.empty());
        EXPECT_TRUE(arrivals[0].goesOn);
        EXPECT_FALSE(arrivals[0].belt);
        EXPECT_EQ(arrivals[0].direction, BALE_RIGHT);
    }

    // The pig slides too, and stops before the bale it meets.
    CBaleOutModel m;
    m.Load(Board({".PIIIB"}));
    ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_EQ(m.PigCell(), CxPoint(4, 0));
}

TEST(BaleOutModelTest, TheBoardIsIdleOnlyWhenEveryPieceHasArrived)
{
    CBaleOutModel m;
    m.Load(Board({"PBIII#"}));
    ASSERT_EQ(m.StartStep(BALE_RIGHT).result, EBaleStep::Started);
    // The pig cannot take the bale's cell before the bale has left it.
    EXPECT_FALSE(m.Arrive(BALE_PIG_PIECE).accepted);
    EXPECT_TRUE(m.Arrive(0).goesOn);
    const ST_BALE_ARRIVAL pig = m.Arrive(BALE_PIG_PIECE);
    EXPECT_TRUE(pig.accepted);
    EXPECT_FALSE(pig.goesOn);
    EXPECT_FALSE(pig.idle); // the bale still slides
    EXPECT_FALSE(m.CanMove(BALE_DOWN));
    Settle(m);
    EXPECT_TRUE(m.CanMove(BALE_DOWN));
}

TEST(BaleOutModelTest, BeltsCarryAlongTheirChainAndRefuseAPushAgainstThem)
{
    CBaleOutModel m;
    m.Load(Board({"PB>>v", "....<"}));
    std::vector<ST_BALE_ARRIVAL> arrivals;
    ASSERT_TRUE(Play(m, BALE_RIGHT, &arrivals));
    // Onto (2,0), ridden to (3,0), (4,0), (4,1), (3,1); the pig stays where it stepped.
    EXPECT_EQ(m.BaleCell(0), CxPoint(3, 1));
    EXPECT_EQ(m.PigCell(), CxPoint(1, 0));
    int rides = 0;
    for (const ST_BALE_ARRIVAL& a : arrivals)
        rides += a.belt;
    EXPECT_EQ(rides, 4);

    // A ring of belts gives up after as many cells as the board has.
    m.Load(Board({"PB>v", "..^<"}));
    ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_FALSE(m.IsMoving());

    m.Load(Board({"PB<"}));
    EXPECT_FALSE(m.CanMove(BALE_RIGHT));
    m.Load(Board({"PB^"}));
    EXPECT_TRUE(m.CanMove(BALE_RIGHT));
}

TEST(BaleOutModelTest, DoorsOpenOnlyWhileBothSwitchesAreHeld)
{
    CBaleOutModel m;
    m.Load(Board({"PBS...D", "", "..S"}));
    EXPECT_EQ(m.UnpressedSwitches(), 2);
    ASSERT_TRUE(Play(m, BALE_RIGHT)); // the bale onto the first switch
    EXPECT_EQ(m.Cell({6, 0}), BALE_DOOR);
    EXPECT_EQ(m.UnpressedSwitches(), 1);
    ASSERT_TRUE(Play(m, BALE_DOWN));
    std::vector<ST_BALE_ARRIVAL> arrivals;
    ASSERT_TRUE(Play(m, BALE_DOWN));
    ASSERT_TRUE(Play(m, BALE_RIGHT, &arrivals)); // the pig onto the second
    ASSERT_EQ(arrivals.size(), 1u);
    ASSERT_EQ(arrivals[0].doorsOpened.size(), 1u);
    EXPECT_EQ(arrivals[0].doorsOpened[0], CxPoint(6, 0));
    EXPECT_EQ(m.Cell({6, 0}), BALE_DOOR_OPEN);
    EXPECT_TRUE(m.DoorsOpen());

    ASSERT_TRUE(Play(m, BALE_LEFT, &arrivals)); // and off it
    ASSERT_EQ(arrivals[0].doorsClosed.size(), 1u);
    EXPECT_EQ(m.Cell({6, 0}), BALE_DOOR);

    // A level without switches keeps its doors shut.
    m.Load(Board({"PD"}));
    EXPECT_FALSE(m.DoorsOpen());
    EXPECT_FALSE(m.CanMove(BALE_RIGHT));
}

TEST(BaleOutModelTest, TheUndoRingKeepsTheNewestTenSteps)
{
    CBaleOutModel m;
    m.Load(Board({"P"}));
    for (int i = 0; i < 11; ++i)
        ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_EQ(m.UndoSteps(), BALE_UNDO_STEPS);
    EXPECT_EQ(m.Moves(), 11);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(m.Undo().done);
    EXPECT_EQ(m.PigCell(), CxPoint(1, 0)); // the first step was dropped
    EXPECT_EQ(m.Moves(), 1);
    const auto before = Grid(m);
    EXPECT_FALSE(m.Undo().done);
    EXPECT_FALSE(m.RequestUndo().done);
    EXPECT_EQ(m.Moves(), 1);
    EXPECT_EQ(Grid(m), before);
}

TEST(BaleOutModelTest, UndoPutsPiecesBackWithoutSlidingRidingOrAskingAgain)
{
    CBaleOutModel m;
    m.Load(Board({"PBH#", ".I", ">#"}));
    std::vector<ST_BALE_ARRIVAL> arrivals;
    ASSERT_TRUE(Play(m, BALE_RIGHT, &arrivals)); // the bale onto the hint cell
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_TRUE(arrivals[0].askHint);
    ASSERT_TRUE(Play(m, BALE_DOWN)); // the pig onto ice at (1,1), stopped by the block
    EXPECT_EQ(m.Cell({1, 1}), BALE_ICE + BALE_PIG);
    ASSERT_TRUE(Play(m, BALE_LEFT));
    ASSERT_TRUE(Play(m, BALE_DOWN)); // onto the belt at (0,2), which rides it nowhere
    EXPECT_EQ(m.PigCell(), CxPoint(0, 2));
    ASSERT_TRUE(Play(m, BALE_UP));

    ST_BALE_UNDO u = m.Undo();
    EXPECT_TRUE(u.done);
    EXPECT_EQ(u.pig, CxPoint(0, 2));
    EXPECT_EQ(m.Cell({0, 2}), BALE_BELT_RIGHT + BALE_PIG);
    EXPECT_FALSE(m.IsMoving());
    m.Undo();
    u = m.Undo();
    EXPECT_EQ(u.pig, CxPoint(1, 1));
    EXPECT_EQ(m.Cell({1, 1}), BALE_ICE + BALE_PIG);
    EXPECT_FALSE(m.IsMoving());
    u = m.Undo();
    EXPECT_EQ(u.pig, CxPoint(1, 0));
    EXPECT_EQ(u.bale, -1);
    EXPECT_EQ(m.Cell({2, 0}), BALE_HINT + BALE_BALE);
    EXPECT_FALSE(m.IsMoving());
    u = m.Undo();
    EXPECT_EQ(u.bale, 0);
    EXPECT_EQ(u.baleCell, CxPoint(1, 0));
    EXPECT_EQ(m.Cell({2, 0}), BALE_HINT);
    EXPECT_EQ(m.Moves(), 0);
    EXPECT_EQ(m.CheckInvariants(), nullptr);
}

TEST(BaleOutModelTest, TheHintsNoUndoesOnceTheStepHasEnded)
{
    CBaleOutModel m;
    m.Load(Board({"PBH#"}));
    ASSERT_EQ(m.StartStep(BALE_RIGHT).result, EBaleStep::Started);
    EXPECT_TRUE(m.Arrive(0).askHint);
    EXPECT_FALSE(m.Undo().done); // the pig is still on its way
    EXPECT_FALSE(m.RequestUndo().done);
    EXPECT_TRUE(m.IsUndoPending());
    const ST_BALE_ARRIVAL last = m.Arrive(BALE_PIG_PIECE);
    EXPECT_TRUE(last.idle);
    EXPECT_TRUE(last.undo.done);
    EXPECT_EQ(m.PigCell(), CxPoint(0, 0));
    EXPECT_EQ(m.BaleCell(0), CxPoint(1, 0));
    EXPECT_FALSE(m.IsUndoPending());
    EXPECT_EQ(m.Moves(), 0);
}

TEST(BaleOutModelTest, UndoRecountsSwitchesAndDoors)
{
    CBaleOutModel m;
    m.Load(Board({"PBS.D"}));
    ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_EQ(m.Cell({4, 0}), BALE_DOOR_OPEN);
    const ST_BALE_UNDO u = m.Undo();
    ASSERT_EQ(u.doorsClosed.size(), 1u);
    EXPECT_EQ(m.Cell({4, 0}), BALE_DOOR);
    EXPECT_EQ(m.UnpressedSwitches(), 1);
}

TEST(BaleOutModelTest, BonusCellsScoreForThePigAndAreCrushedByABale)
{
    CBaleOutModel m;
    m.Load(Board({"P*", "B", "+"}));
    std::vector<ST_BALE_ARRIVAL> arrivals;
    ASSERT_TRUE(Play(m, BALE_RIGHT, &arrivals));
    EXPECT_EQ(arrivals[0].bonus, 200);
    EXPECT_TRUE(arrivals[0].bonusHidden);
    EXPECT_EQ(m.Cell({1, 0}), BALE_PIG);
    ASSERT_TRUE(Play(m, BALE_LEFT));
    ASSERT_TRUE(Play(m, BALE_DOWN, &arrivals)); // the bale onto the +100
    EXPECT_EQ(arrivals[0].bonus, 0);
    EXPECT_TRUE(arrivals[0].bonusLost);
    EXPECT_TRUE(arrivals[0].bonusHidden);
    EXPECT_EQ(m.Cell({0, 2}), BALE_BALE);
}

TEST(BaleOutModelTest, AWinNeedsEveryGoalFilledAndAtLeastOneGoal)
{
    CBaleOutModel m;
    m.Load(ReadBaleLevel(nullptr, 0)); // a missing level: only the pig
    ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_FALSE(m.IsWon());

    m.Load(Board({"PBGI#"}));
    EXPECT_EQ(m.Goals(), 1);
    ASSERT_TRUE(Play(m, BALE_RIGHT, nullptr));
    EXPECT_TRUE(m.IsWon());
    EXPECT_EQ(m.BaleFrame(0), 1);
    // The pig on a goal does not fill it.
    m.Load(Board({"PG"}));
    ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_EQ(m.EmptyGoals(), 1);
    EXPECT_FALSE(m.IsWon());
}

TEST(BaleOutModelTest, TheMoveLimitEndsTheLevelInsteadOfTheMove)
{
    CBaleOutModel m;
    m.Load(Board({"P"}), 1);
    ASSERT_TRUE(Play(m, BALE_RIGHT));
    EXPECT_EQ(m.StartStep(BALE_RIGHT).result, EBaleStep::OutOfMoves);
    EXPECT_EQ(m.PigCell(), CxPoint(1, 0));
    EXPECT_EQ(m.Moves(), 1);
    // The points of a won level: 30 moves of 400 with 3 goals.
    EXPECT_EQ(BaleMoveBonus(400, 30), 740);
    EXPECT_EQ(BaleGoalBonus(3), 300);
    EXPECT_EQ(BaleMoveBonus(400, 400), 0);
}

TEST(BaleOutModelTest, PointerCellsUseFloorDivisionAndDirectionsTheirReach)
{
    EXPECT_EQ(BaleCellAt({110, 20}), CxPoint(0, 0));
    EXPECT_EQ(BaleCellAt({157, 67}), CxPoint(0, 0));
    EXPECT_EQ(BaleCellAt({158, 68}), CxPoint(1, 1));
    EXPECT_EQ(BaleCellAt({109, 30}), CxPoint(-1, -1)); // just off the board, not column 0
    EXPECT_EQ(BaleCellAt({120, 19}), CxPoint(-1, -1));
    EXPECT_EQ(BaleCellAt({110 + 576, 20}), CxPoint(-1, -1));
    EXPECT_EQ(BaleCellOrigin({2, 3}), CxPoint(206, 164));

    const CxPoint pig{5, 5};
    EXPECT_EQ(BaleChooseDirection({4, 5}, pig), BALE_LEFT);
    EXPECT_EQ(BaleChooseDirection({3, 6}, pig), BALE_LEFT);
    EXPECT_EQ(BaleChooseDirection({4, 6}, pig), BALE_NONE); // a diagonal neighbour
    EXPECT_EQ(BaleChooseDirection({7, 4}, pig), BALE_RIGHT);
    EXPECT_EQ(BaleChooseDirection({6, 3}, pig), BALE_UP);
    EXPECT_EQ(BaleChooseDirection({5, 6}, pig), BALE_DOWN);
    EXPECT_EQ(BaleChooseDirection({5, 8}, pig), BALE_NONE);
    EXPECT_EQ(BaleChooseDirection({5, 5}, pig), BALE_NONE);
}

} // namespace
