// Room commands as events posted on channels, and the score they drive:
// its text, its bulge and its milestones.
#include "DAX/buttons/CDaxButton.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "tests/dax/rooms/RoomTestApp.h"

#include <climits>

namespace {

using RoomTest::Rooms;

class RoomCommands : public Rooms
{
protected:
    void SetUp() override
    {
        Rooms::SetUp();
        for (const char* file : {"b_50x20_16.pic", "score.blk", "new_200x100_16.pic"})
            Write(file);
        Write("Beta/Beta.ini", "[Button0]\nFileName=b_50x20_16.pic\nName=Go\nPosition=10, 10\n"
                               "[Button1]\nFileName=b_50x20_16.pic\nName=Stop\nPosition=100, 10\n"
                               "[Score]\nFont=score.blk\nArea=200, 150, 299, 189\nPointSize=30\n"
                               "[ScoreMilestones]\n0=100\n1=50\n");
        Start();
        m_channel = CreateChannel();
    }
    void TearDown() override
    {
        DestroyChannel(m_channel);
        Rooms::TearDown();
    }
    // The event of `text` posted on a channel of the test's own, and the frame that runs it.
    void Command(const char* text)
    {
        CxEvent* event = CreateEventFromText(text);
        ASSERT_NE(event, nullptr) << text;
        ASSERT_EQ(Post(event, m_channel), PIM_OK);
        Run(10);
    }

    PimChannelId m_channel = 0;
};

TEST_F(RoomCommands, ARoomEventOnAnyChannelReachesTheCurrentRoom)
{
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");
    CDaxButton* go = beta.FindButton("Go");
    Command("Room.HideButton(go)");
    EXPECT_FALSE(go->IsShown());
    Command("Room.ShowButton(Go)");
    EXPECT_TRUE(go->IsShown());
    Command("BETA.disablebutton(Go)"); // the room's own name, any case
    EXPECT_FALSE(go->IsEnabled());
    Command("Beta.EnableButton(Go)");
    EXPECT_TRUE(go->IsEnabled());
    Command("Room.HideButton(Nobody)"); // no such button: nothing
    EXPECT_EQ(CreateEventFromText("Room.TODO()"), nullptr);
    EXPECT_EQ(CreateEventFromText("Alpha.ShowButton(Go)"), nullptr); // not loaded: nobody's

    // A command made for Beta that runs once Beta has gone does nothing.
    CxEvent* late = CreateEventFromText("Room.SetScore(77)");
    Enter("Alpha");
    ASSERT_EQ(Post(late, m_channel), PIM_OK);
    Run(10);
    EXPECT_EQ(beta.GetScoreValue(), 0);
}

TEST_F(RoomCommands, ButtonStatesAndFlashingAndMissingArguments)
{
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");
    CDaxButton* go = beta.FindButton("Go");
    Command("Room.SetButtonState(Go, 3)");
    EXPECT_EQ(go->GetVisualState(), PIM_BUTTON_PRESSED);
    Command("Room.SetButtonState(Go, 5)");
    Command("Room.SetButtonState(Go, -1)");
    EXPECT_EQ(go->GetVisualState(), PIM_BUTTON_PRESSED);
    Command("Room.SetButtonState(Go)"); // a missing state is 0
    EXPECT_EQ(go->GetVisualState(), PIM_BUTTON_NORMAL);
    Command("Room.StartFlashButton(Go)");
    EXPECT_TRUE(go->IsFlashing());
    Command("Room.StopFlashButton(Go)");
    EXPECT_FALSE(go->IsFlashing());

    // Nothing read past the arguments there are.
    for (const char* text : {"Room.SetButtonState()", "Room.StartFlashButton()", "Room.ShowButton()",
                             "Room.LoadSurface()", "Room.SetLevel()", "Room.SetIdleTime()", "Room.BulgeScore()",
                             "Room.AddScore()", "Room.SetState()", "Room.NoSuchCommand(1, 2)"})
        Command(text);
    EXPECT_EQ(beta.GetScoreValue(), 0);
    EXPECT_EQ(beta.GetState(), 0);
    EXPECT_EQ(beta.GetIdle().GetIdleTime(), 0u);
    EXPECT_EQ(beta.GetSize(), CxSize(kScreenWidth, kScreenHeight));

    Command("Room.LoadSurface(new_200x100_16.pic)");
    EXPECT_EQ(beta.GetSize(), CxSize(200, 100));
    Command("Room.Erase()");
    EXPECT_FALSE(beta.IsShown());
    Command("Room.Paint()");
    EXPECT_TRUE(beta.IsShown());
}

TEST_F(RoomCommands, LevelsAndDifficultiesStayInTheirRangesButLevelsStartAnyway)
{
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");
    Command("Room.SetLevel(42)");
    EXPECT_EQ(beta.GetLevel(), 0);
    EXPECT_EQ(beta.levelStarts, 1);
    Command("Room.SetLevel(9)");
    Command("Room.NextLevel()");
    EXPECT_EQ(beta.GetLevel(), 9);
    Command("Room.PrevLevel()");
    EXPECT_EQ(beta.GetLevel(), 8);
    EXPECT_EQ(beta.levelStarts, 4);
    beta.LevelWon();
    EXPECT_EQ(beta.GetLevel(), 9);
    beta.DoRestartLevel();
    EXPECT_EQ(beta.GetLevel(), 9);
    EXPECT_EQ(beta.levelStarts, 6);

    Command("Room.SetDifficulty(2)");
    Command("Room.IncreaseDifficulty()");
    EXPECT_EQ(beta.GetDifficulty(), 2);
    Command("Room.DecreaseDifficulty()");
    Command("Room.SetDifficulty(-1)");
    EXPECT_EQ(beta.GetDifficulty(), 1);
    // Kept between visits.
    Enter("Alpha");
    EXPECT_EQ(Enter("Beta").GetLevel(), 9);
}

TEST_F(RoomCommands, MilestonesComeInThresholdOrderOnceEach)
{
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");
    ASSERT_EQ(beta.GetScore().GetMilestoneCount(), 2u);
    EXPECT_EQ(beta.GetScore().GetMilestone(0)->threshold, 50);
    Command("Room.SetScore(40)");
    EXPECT_TRUE(beta.milestones.empty());
    Command("Room.AddScore(80)");
    EXPECT_EQ(beta.milestones, (std::vector<int>{1, 0}));
    Command("Room.SubScore(100)");
    Command("Room.SetScore(500)");
    EXPECT_EQ(beta.milestones.size(), 2u);
    Command("Room.ResetMilestones()");
    Command("Room.SetScore(60)");
    EXPECT_EQ(beta.milestones, (std::vector<int>{1, 0, 1}));
    Command("Room.KillMilestones()");
    EXPECT_EQ(beta.GetScore().GetMilestoneCount(), 0u);
    // Sums stop at the ends of the range.
    Command("Room.SetScore(2147483000)");
    Command("Room.AddScore(2147483000)");
    EXPECT_EQ(beta.GetScoreValue(), INT_MAX);
    Command("Room.SetScore(-2147483000)");
    Command("Room.SubScore(2147483000)");
    EXPECT_EQ(beta.GetScoreValue(), INT_MIN);
}

TEST_F(RoomCommands, TheScoreTextIsDrawnOnlyWhenWhatItShowsChanges)
{
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");
    const CxDrawText& text = beta.GetScore().GetText();
    Command("Room.SetScore(7)");
    EXPECT_STREQ(text.GetText(), "7");
    Run(10);
    ASSERT_FALSE(text.IsDirty()); // drawn
    Command("Room.SetScore(7)");
    Command("Room.AddScore(0)");
    EXPECT_FALSE(text.IsDirty());
    beta.SetScore(8);
    EXPECT_TRUE(text.IsDirty());
    // Kept between visits, shown again at the next.
    Enter("Alpha");
    EXPECT_STREQ(Enter("Beta").GetScore().GetText().GetText(), "8");
}

TEST_F(RoomCommands, ABulgeStepsBackToTheConfiguredSizeFromEitherSide)
{
    Enter("Beta");
    const CDaxRoomScore& score = Beta().GetScore();
    Command("Room.BulgeScore(35)");
    EXPECT_EQ(score.GetShownPointSize(), 35);
    EXPECT_EQ(score.GetText().GetPointSize(), 35);
    Run(40);
    EXPECT_EQ(score.GetShownPointSize(), 35); // the first step a whole step later
    Run(20);
    EXPECT_EQ(score.GetShownPointSize(), 34);
    Run(300);
    EXPECT_EQ(score.GetShownPointSize(), 30);
    EXPECT_FALSE(score.IsBulging());

    // From below it grows back, and stops there.
    Command("Room.BulgeScore(27)");
    Run(200);
    EXPECT_EQ(score.GetShownPointSize(), 30);
    EXPECT_FALSE(score.IsBulging());

    // No size is no bulge; a huge one is the largest the text takes.
    Command("Room.BulgeScore(0)");
    Command("Room.BulgeScore(-20)");
    EXPECT_EQ(score.GetShownPointSize(), 30);
    Command("Room.BulgeScore(99999)");
    EXPECT_EQ(score.GetShownPointSize(), DAX_ROOM_POINT_SIZE_MAX);
}

} // namespace
