// The pig pen's rules on their own: the needs and the mood they make, the
// eat rule's bounds, the want, the win once per visit and the way out, the
// pages of a category, where wall decorations go and the keys their restore
// writes.
#include "PIM/core/CxRandom.h"
#include "game/pigpen/PigPenModel.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEatState = PIG_STATE_EAT1;
constexpr bool kAllItems[PIG_WANT_CATEGORIES] = {true, true, true};

class PigPenRandomTest : public ::testing::Test
{
protected:
    void TearDown() override { ClearRandomScript(); }
};

TEST(PigPenModelTest, AVisitStartsAt1714AndFillingEatAndDrinkMakesThePigHappy)
{
    CPigPenModel pig;
    EXPECT_EQ(pig.GetTotal(), 1714);
    EXPECT_EQ(pig.GetNeeds().decor, 464);
    EXPECT_EQ(pig.GetMood(), 0);
    EXPECT_EQ(pig.GetTalkState(), 22);

    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_FOOD, kEatState));
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_DRINK, PIG_STATE_DRINK));
    EXPECT_EQ(pig.GetTotal(), 3714);
    EXPECT_EQ(pig.GetMood(), 2);
    EXPECT_EQ(pig.GetTalkState(), 24);

    // Full needs stay full, and a full bowl is refused.
    EXPECT_FALSE(pig.SatisfyNeed(PIG_ACTION_DRINK, PIG_STATE_DRINK));
    EXPECT_FALSE(pig.CanAct(PIG_ACTION_DRINK));
    EXPECT_TRUE(pig.CanAct(PIG_ACTION_FOOD));

    pig.ResetNeeds();
    EXPECT_EQ(pig.GetTotal(), 1714);
    EXPECT_TRUE(pig.CanAct(PIG_ACTION_DRINK));
}

TEST(PigPenModelTest, PartsAverageAndDecorationSumsSixths)
{
    CPigPenModel pig;
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_PET, -1)); // love B 100 -> 1000
    EXPECT_EQ(pig.GetNeeds().love, 600);              // 200 / 2 + 1000 / 2
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_BRUSH, -1));
    EXPECT_EQ(pig.GetNeeds().groom, 550);
    EXPECT_TRUE(pig.SatisfyNeed(PIG_DECOR_WALL2, -1)); // 200 -> 1000
    EXPECT_EQ(pig.GetNeeds().decor, 464 - 33 + 166);
    EXPECT_FALSE(pig.SatisfyNeed(PIG_DECOR_BED, -1)); // already full
    EXPECT_EQ(pig.GetTotal(), 0 + 0 + 600 + 1000 + 550 + 597);

    // A decoration item itself counts as a change only while decor is short;
    // types with no need change nothing.
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_DECOR, -1));
    EXPECT_FALSE(pig.SatisfyNeed(6, -1));
    EXPECT_FALSE(pig.SatisfyNeed(14, -1));
    EXPECT_FALSE(pig.SatisfyNeed(-1, -1));

    EXPECT_EQ(PigAverage(-333, 0), -166);
    EXPECT_EQ(PigFill(-333), 667);
    EXPECT_EQ(PigFill(1), 1000);
    EXPECT_EQ(PigFill(1000), 1000);
}

TEST(PigPenModelTest, FoodThePigDoesNotEatLowersEatWithinItsBounds)
{
    CPigPenModel pig;
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_FOOD, 4));
    EXPECT_EQ(pig.GetNeeds().eat, -100);
    int eat = pig.GetNeeds().eat;
    for (int i = 0; i < 50; ++i) {
        pig.SatisfyNeed(PIG_ACTION_FOOD, 0);
        EXPECT_GE(pig.GetNeeds().eat, PIG_EAT_FLOOR);
        EXPECT_LE(pig.GetNeeds().eat, eat);
        eat = pig.GetNeeds().eat;
    }
    // It settles where the next drop would pass -333.
    EXPECT_FALSE(pig.SatisfyNeed(PIG_ACTION_FOOD, 0));
    const int drop = (1000 - eat) / 10;
    EXPECT_LT(eat - drop, PIG_EAT_FLOOR);
    // Eating from there fills by a whole 1000.
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_FOOD, PIG_STATE_EAT2));
    EXPECT_EQ(pig.GetNeeds().eat, eat + 1000);
    // Nearly full food falls by nothing, which is no change.
    EXPECT_TRUE(pig.SatisfyNeed(PIG_ACTION_FOOD, kEatState));
    EXPECT_EQ(pig.GetNeeds().eat, 1000);
    EXPECT_FALSE(pig.SatisfyNeed(PIG_ACTION_FOOD, 0));
}

TEST(PigPenModelTest, MoodBandFollowsTheNeutralPercentClampedToItsRange)
{
    EXPECT_EQ(PigMoodOf(2999, 10), 0);
    EXPECT_EQ(PigMoodOf(3000, 10), 1);
    EXPECT_EQ(PigMoodOf(3001, 10), 2);
    // 40: L = 6000 / (100 / 30) = 2000; neutral from 2000 to 4000.
    EXPECT_EQ(PigMoodOf(1999, 40), 0);
    EXPECT_EQ(PigMoodOf(4000, 40), 1);
    EXPECT_EQ(PigMoodOf(4001, 40), 2);
    // Out of range would divide by zero: it is read as 0 or 98.
    EXPECT_EQ(PigMoodOf(1000, 99), PigMoodOf(1000, 98));
    EXPECT_EQ(PigMoodOf(1000, 100000), PigMoodOf(1000, 98));
    EXPECT_EQ(PigMoodOf(4000, -5), PigMoodOf(4000, 0));
    EXPECT_EQ(CPigPenModel(250).GetNeutralPercent(), 98);
    EXPECT_EQ(CPigPenModel(-1).GetNeutralPercent(), 0);
}

TEST(PigPenModelTest, MeterMarkerRisesWithTheTotal)
{
    CPigPenModel pig;
    // 6000 / 300 = 20 points a pixel.
    EXPECT_EQ(pig.MeterY(100, 400), 400 - 1714 / 20);
    EXPECT_EQ(pig.MeterY(100, 100), 100 - 1714);
    // A meter taller than the range moves a pixel a point instead of
    // dividing by zero.
    EXPECT_EQ(PigMeterY(1714, 0, 9000), 9000 - 1714);
    EXPECT_EQ(PigMeterY(0, 0, 300), 300);
}

TEST_F(PigPenRandomTest, FeedbackLinesFollowTheActionAndTheMood)
{
    CPigPenModel pig;
    const int mostly[] = {74};
    ScriptRandomDraws(mostly, 1);
    ST_PIG_FEEDBACK f = pig.ChooseFeedback(PIG_ACTION_FOOD);
    EXPECT_STREQ(f.feed.GetText(), "feed0.seq");
    EXPECT_STREQ(f.well.GetText(), "well0.seq");
    f = pig.ChooseFeedback(PIG_ACTION_DECOR);
    EXPECT_STREQ(f.feed.GetText(), "feed1.seq");

    // Above 74 the pig says one of its general lines instead.
    const int general[] = {75, 1}; // 1 + 1 % 3
    ScriptRandomDraws(general, 2);
    EXPECT_STREQ(pig.ChooseFeedback(PIG_ACTION_DRINK).feed.GetText(), "feedall2.seq");
    const int one[] = {2};
    ScriptRandomDraws(one, 1);
    EXPECT_STREQ(pig.ChooseFeedback(PIG_ACTION_PET).feed.GetText(), "feedall3.seq");
    EXPECT_STREQ(pig.ChooseFeedback(PIG_ACTION_NONE).feed.GetText(), "feedall3.seq");

    pig.SatisfyNeed(PIG_ACTION_FOOD, kEatState);
    pig.SatisfyNeed(PIG_ACTION_DRINK, -1);
    EXPECT_STREQ(pig.ChooseFeedback(PIG_ACTION_NONE).well.GetText(), "well2.seq");
}

TEST(PigPenModelTest, WantPicksTheLowestNeedAndTiesKeepTheEarlier)
{
    CPigPenModel pig;
    // Eat and drink tie at 0: eat comes first.
    EXPECT_EQ(pig.ChooseWant(kAllItems), 0);
    const bool noFood[PIG_WANT_CATEGORIES] = {false, true, true};
    EXPECT_EQ(pig.ChooseWant(noFood), 1);

    pig.SatisfyNeed(PIG_ACTION_FOOD, kEatState);
    pig.SatisfyNeed(PIG_ACTION_DRINK, -1);
    // Love 150 against groom 100: groom, but only with a grooming item.
    EXPECT_EQ(pig.ChooseWant(kAllItems), 4);
    const bool noGrooming[PIG_WANT_CATEGORIES] = {true, true, false};
    EXPECT_EQ(pig.ChooseWant(noGrooming), 2);

    // Everything full: decor tops out at 6 x 166 = 996, so it stays the
    // want; without items the plain needs tie at 1000 and energy is never
    // strictly below them.
    pig.SatisfyNeed(PIG_ACTION_LOVE, -1);
    pig.SatisfyNeed(PIG_ACTION_PET, -1);
    pig.SatisfyNeed(PIG_ACTION_BRUSH, -1);
    pig.SatisfyNeed(PIG_ACTION_GROOM, -1);
    for (int part = PIG_DECOR_WALL1; part <= PIG_DECOR_ARCH; ++part)
        pig.SatisfyNeed(part, -1);
    EXPECT_EQ(pig.GetTotal(), PIG_TOTAL_MAX - 4);
    EXPECT_EQ(pig.ChooseWant(kAllItems), 5);
    const bool none[PIG_WANT_CATEGORIES] = {false, false, false};
    EXPECT_EQ(pig.ChooseWant(none), 1);
}

TEST(PigPenModelTest, TheGoalIsWonOncePerVisitAndOnlyWhenHappyWithAGoalOpen)
{
    CPigPenModel pig;
    EXPECT_FALSE(pig.TakeWin(3)); // unhappy
    pig.SatisfyNeed(PIG_ACTION_FOOD, kEatState);
    pig.SatisfyNeed(PIG_ACTION_DRINK, -1);
    EXPECT_FALSE(pig.TakeWin(-1)); // no goal open
    EXPECT_TRUE(pig.TakeWin(0));
    EXPECT_TRUE(pig.HasWon());
    EXPECT_FALSE(pig.TakeWin(0));
    // The next visit starts afresh.
    pig.ResetNeeds();
    EXPECT_FALSE(pig.HasWon());
}

TEST(PigPenModelTest, AfterTheWinTheRouteLeadsToTheUnfinishedChapter)
{
    EXPECT_STREQ(PigRouteAfterWin(0, 0, 0).room, "FarmyardMenu");
    EXPECT_FALSE(PigRouteAfterWin(0, 1, 0).playClosingMovie);
    EXPECT_STREQ(PigRouteAfterWin(1, 0, 0).room, "FairgroundMenu");
    const ST_PIG_ROUTE closing = PigRouteAfterWin(1, 1, 0);
    EXPECT_STREQ(closing.room, "SpiderEgg");
    EXPECT_TRUE(closing.playClosingMovie);
    EXPECT_FALSE(PigRouteAfterWin(1, 1, 1).playClosingMovie);
}

TEST(PigPenModelTest, PetAreasAreTriedHeadChestFeetRump)
{
    const CxRect areas[PIG_PET_AREAS] = {{0, 0, 9, 9}, {10, 0, 19, 9}, {0, 10, 19, 19}, {5, 5, 14, 14}};
    EXPECT_EQ(PigPetAreaAt({9, 9}, areas), PIG_STATE_HEAD);
    EXPECT_EQ(PigPetAreaAt({10, 5}, areas), PIG_STATE_CHEST);
    EXPECT_EQ(PigPetAreaAt({12, 12}, areas), PIG_STATE_FEET); // feet before rump
    EXPECT_EQ(PigPetAreaAt({20, 0}, areas), -1);
    const CxRect rumpOnly[PIG_PET_AREAS] = {{}, {}, {}, {5, 5, 14, 14}};
    EXPECT_EQ(PigPetAreaAt({14, 14}, rumpOnly), PIG_STATE_RUMP);
}

TEST(PigPenModelTest, PagesWrapAtBothEnds)
{
    // Three a page, six items: pages 0 and 1.
    EXPECT_EQ(PigLastPage(6, 3), 1);
    EXPECT_EQ(PigWrapPage(2, 6, 3), 0);
    EXPECT_EQ(PigWrapPage(-1, 6, 3), 1);
    EXPECT_EQ(PigPageItems(1, 6, 3).first, 3);
    EXPECT_EQ(PigPageItems(1, 6, 3).end, 6);
    EXPECT_EQ(PigLastPage(7, 3), 2);
    EXPECT_EQ(PigPageItems(2, 7, 3).first, 6);
    EXPECT_EQ(PigPageItems(2, 7, 3).end, 7);

    // An empty category has page 0 with nothing on it, either way.
    EXPECT_EQ(PigLastPage(0, 3), 0);
    EXPECT_EQ(PigWrapPage(-1, 0, 3), 0);
    const ST_PIG_PAGE_ITEMS empty = PigPageItems(-1, 0, 3);
    EXPECT_EQ(empty.first, 0);
    EXPECT_EQ(empty.end, 0);

    // No icons a page counts as one.
    EXPECT_EQ(PigLastPage(4, 0), 3);
    EXPECT_EQ(PigPageItems(3, 4, -2).first, 3);
    EXPECT_EQ(PigPageItems(3, 4, -2).end, 4);
}

TEST_F(PigPenRandomTest, WallPlacesFillInOrderThenTheDropDecides)
{
    ST_PIG_WALL_CHOICE c;
    EXPECT_EQ(PigChooseWallPlace(c), 8);
    c.filled = {true, false, true};
    EXPECT_EQ(PigChooseWallPlace(c), 9);

    c.filled = {true, true, true};
    c.holding = true;
    c.placeX = {100, 300, 500};
    c.overlapsHeld = {true, true, false};
    c.hasPoint = true;
    c.underPoint = {false, false, true};
    EXPECT_EQ(PigChooseWallPlace(c), 9); // the last it overlaps beats the point
    c.overlapsHeld = {};
    EXPECT_EQ(PigChooseWallPlace(c), 10); // the place under the point
    c.underPoint = {};
    c.heldX = 420;
    EXPECT_EQ(PigChooseWallPlace(c), 10); // the nearest
    c.heldX = 200;
    EXPECT_EQ(PigChooseWallPlace(c), 8); // equal distances keep the first

    c.holding = false;
    c.hasPoint = false;
    const int draw[] = {1};
    ScriptRandomDraws(draw, 1);
    EXPECT_EQ(PigChooseWallPlace(c), 9);
}

TEST(PigPenModelTest, RestoringMovesWallsForwardAndClearsTheKeyTheyLeft)
{
    PigDecorIds ids{-1, 7, -1, 3, 5, 2};
    const std::vector<ST_PIG_RESTORE_ITEM> order = PigRestoreOrder(ids);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0].subCategory, PIG_SUB_WALL);
    EXPECT_EQ(order[0].savedPlace, 9);
    EXPECT_EQ(order[1].subCategory, PIG_SUB_FLOOR);
    EXPECT_EQ(order[2].subCategory, PIG_SUB_ARCH);
    EXPECT_EQ(order[2].id, 2);
    EXPECT_EQ(order[3].subCategory, PIG_SUB_BED);

    // The wall saved under 9 goes to the first place, 8, and 9 is cleared.
    ST_PIG_WALL_CHOICE c;
    const int place = PigChooseWallPlace(c);
    ASSERT_EQ(place, 8);
    std::vector<ST_PIG_KEY_WRITE> writes = PigDecorKeyWrites(place, 7, true, order[0].savedPlace);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_STREQ(writes[0].key.GetText(), "PigWall8");
    EXPECT_EQ(writes[0].value, 7);
    EXPECT_STREQ(writes[1].key.GetText(), "PigWall9");
    EXPECT_EQ(writes[1].value, -1);

    // In place, or a new drop: only the place's own key. A missing picture
    // writes -1.
    EXPECT_EQ(PigDecorKeyWrites(8, 7, true, 8).size(), 1u);
    writes = PigDecorKeyWrites(PIG_DECOR_ARCH, 2, false);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_STREQ(writes[0].key.GetText(), "PigArch");
    EXPECT_EQ(writes[0].value, -1);
    EXPECT_TRUE(PigDecorKeyWrites(7, 1, true).empty());
}

TEST(PigPenModelTest, DecorationNamesPicturesAndPlaces)
{
    EXPECT_STREQ(PigDecorPicture(PIG_SUB_WALL, 3).GetText(), "G10_wall03_2.tga");
    EXPECT_STREQ(PigDecorPicture(PIG_SUB_FLOOR, 12).GetText(), "G10_floor12_2.tga");
    EXPECT_STREQ(PigDecorPicture(PIG_SUB_BED, 1).GetText(), "G10_Bed_01_2.tga");
    EXPECT_STREQ(PigDecorPicture(PIG_SUB_ARCH, 0).GetText(), "G10_Arch_00_2.tga");
    EXPECT_TRUE(PigDecorPicture(6, 1).IsEmpty());
    EXPECT_STREQ(PigDecorKey(PIG_DECOR_FLOOR).GetText(), "PigFloor");
    EXPECT_STREQ(PigDecorKey(PIG_DECOR_BED).GetText(), "PigBed");
    EXPECT_EQ(PigDecorPlaceOf(PIG_SUB_WALL), 0);
    EXPECT_EQ(PigDecorPlaceOf(PIG_SUB_ARCH), PIG_DECOR_ARCH);
    EXPECT_EQ(PigDecorPlaceOf(1), -1);
}

TEST(PigPenModelTest, BowlLevelsStayWithinTheFrames)
{
    EXPECT_EQ(PigBowlSet(7, 4), 3);
    EXPECT_EQ(PigBowlSet(-2, 4), 0);
    EXPECT_EQ(PigBowlRaise(3, 4), 3);
    EXPECT_EQ(PigBowlLower(0, 4), 0);
    EXPECT_EQ(PigBowlRaise(1, 4), 2);
    EXPECT_FALSE(PigBowlFull(2, 4));
    EXPECT_TRUE(PigBowlFull(3, 4));
    // One frame (or none given) is always full.
    EXPECT_EQ(PigBowlRaise(0, 0), 0);
    EXPECT_TRUE(PigBowlFull(0, 1));
    EXPECT_EQ(PigBowlRaise(2147483647, 4), 3);
}

} // namespace
