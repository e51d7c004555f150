// A room's idle time-outs against the clock and the player's input, and
// the input hooks a game room builds on: keys, clicks on its buttons.
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/CxMemory.h"
#include "tests/dax/rooms/RoomTestApp.h"

namespace {

using RoomTest::Rooms;

class RoomInput : public Rooms
{
protected:
    void SetUp() override
    {
        Rooms::SetUp();
        Write("b_50x20_16.pic");
        Write("Beta/Beta.ini", "[Options]\nIdleTime=1000\n"
                               "OnTimeOut1=heard = (heard or '') .. '1'\n"
                               "OnTimeOut2=heard = (heard or '') .. '2'\n"
                               "OnTimeOut3=heard = (heard or '') .. '3'\n"
                               "OnTimeOut4=heard = (heard or '') .. '4'\n"
                               "[Button0]\nFileName=b_50x20_16.pic\nName=Go\nPosition=10, 10\n"
                               "OnClick=clicked = (clicked or 0) + 1\n");
        Start();
    }
};

TEST_F(RoomInput, ThreeTimeOutsAtIdleTimeIntervalsThenNothingUntilInput)
{
    Enter("Beta");
    Run(990);
    EXPECT_EQ(Lua("heard"), "");
    Run(20);
    EXPECT_EQ(Lua("heard"), "1");
    Run(1000);
    EXPECT_EQ(Lua("heard"), "12");
    Run(1000);
    EXPECT_EQ(Lua("heard"), "123");
    Run(10000); // the most in a row (3 by default) have come
    EXPECT_EQ(Lua("heard"), "123");
    EXPECT_EQ(Beta().GetIdle().GetCount(), 3);

    // Input starts the wait and the count again.
    Beta().NoteInput();
    EXPECT_EQ(Beta().GetIdle().GetCount(), 0);
    Run(990);
    EXPECT_EQ(Lua("heard"), "123");
    Run(20);
    EXPECT_EQ(Lua("heard"), "1231");

    // A pointer moving over the room is input too, heard by the room itself.
    Run(900);
    Mouse(EMouseAction::Move, 300, 300);
    Run(900);
    EXPECT_EQ(Lua("heard"), "1231");
    Run(200); // the count started again too
    EXPECT_EQ(Lua("heard"), "12311");
}

TEST_F(RoomInput, InputThatDoesNotClearTheCountOnlyPutsTheNextTimeOutOff)
{
    Enter("Beta").GetIdle().SetInputClearsCount(false);
    Run(1010);
    Beta().NoteInput();
    Run(1010);
    EXPECT_EQ(Lua("heard"), "12");
    EXPECT_EQ(Beta().GetIdle().GetCount(), 2);
}

TEST_F(RoomInput, NoTimeOutsWithoutACountOrATimeOrWhilePaused)
{
    CDaxWindow& beta = Room("Beta");
    beta.GetOptions().SetString("Options", "MaxIdleCount", "0");
    Enter("Beta");
    Run(5000);
    EXPECT_EQ(Lua("heard"), "");

    beta.GetOptions().SetString("Options", "MaxIdleCount", "-4"); // taken as 0
    beta.GetOptions().SetString("Options", "IdleTime", "0");
    Enter("Alpha");
    Enter("Beta");
    EXPECT_EQ(beta.GetIdle().GetMaxCount(), 0);
    beta.GetIdle().SetMaxCount(3);
    beta.StartIdleTimer();
    Run(5000);
    EXPECT_EQ(Lua("heard"), "");

    // Paused, the wait stands still and input does not start it again.
    beta.GetIdle().SetIdleTime(1000);
    beta.StartIdleTimer();
    Run(500);
    Application().PauseRoom();
    beta.NoteInput();
    m_clock.Advance(5000);
    Application().DoFrame();
    Application().ResumeRoom();
    Run(490);
    EXPECT_EQ(Lua("heard"), "");
    Run(20);
    EXPECT_EQ(Lua("heard"), "1");
}

TEST_F(RoomInput, KeysReachTheRoomAndClicksOnItsButtonsComeBeforeTheirTexts)
{
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");
    Run(900);
    Key('k');
    EXPECT_EQ(beta.keys, (std::vector<uint32_t>{'k'}));
    EXPECT_EQ(beta.GetIdle().GetTimer().Elapsed(), 0u); // the wait started again with the key

    Mouse(EMouseAction::Move, 12, 15);
    Mouse(EMouseAction::Down, 12, 15);
    Mouse(EMouseAction::Up, 12, 15);
    EXPECT_EQ(beta.buttons, (std::vector<std::string>{"Go"}));
    EXPECT_EQ(Lua("clicked"), "1");
}

TEST_F(RoomInput, AnIdleFrameAllocatesNothing)
{
    Write("score.blk");
    CDaxWindow& beta = Room("Beta");
    beta.GetOptions().SetString("Score", "Font", "score.blk");
    beta.GetOptions().SetString("Score", "Area", "200, 100, 299, 139");
    Enter("Beta");
    Run(100);
    const uint64_t before = GetMemoryStats().allocations;
    Run(500);
    EXPECT_EQ(GetMemoryStats().allocations, before);
}

} // namespace
