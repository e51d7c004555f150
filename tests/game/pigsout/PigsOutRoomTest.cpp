// The pig run in the real game, on the demo data with a PigsOut folder of
// the test's own (a room file and level files, no pictures: objects with no
// frames go at their first step, so a level ends a tick after its last
// record): two levels won in a row, a goal-completing win heard once, and a
// second visit leaving nothing behind.
#include "PIM/core/CxError.h"
#include "game/common/CGameServices.h"
#include "game/pigsout/PigsOutRoom.h"
#include "tests/game/GameShots.h"
#include "tests/game/ModalDriver.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/RoomVisits.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void WriteLevel(const fs::path& file, std::initializer_list<ST_PIGS_RECORD> records)
{
    std::ofstream out(file, std::ios::binary);
    for (const ST_PIGS_RECORD& r : records)
        for (int32_t value : {r.x, r.tick, r.type})
            for (int i = 0; i < 4; ++i)
                out.put(static_cast<char>(static_cast<uint32_t>(value) >> (8 * i)));
}

// The demo data seen through links, with "PigsOut" of the test's own.
class PigsOutData
{
public:
    PigsOutData()
    {
        const fs::path demo = PIM_DEMO_DATA_DIR;
        const fs::path root = folder.Path();
        for (const fs::directory_entry& entry : fs::directory_iterator(demo))
            if (entry.path().filename() != "PigsOut")
                fs::create_symlink(entry.path(), root / entry.path().filename());
        fs::create_directory(root / "PigsOut");
        std::ofstream(root / "PigsOut" / "PigsOut.ini")
            << "[General]\nNumLevels=2\nLeftEdge=600\nRightEdge=40\nPigPos=320,380\nFarmerPos=330,470\n"
               "[Level00]\nPassScore=0\n[Level01]\nPassScore=0\n";
        WriteLevel(root / "PigsOut" / "sLevel00.pol", {{300, 10, 0}, {200, 20, 4}, {0, 20, 18}});
        WriteLevel(root / "PigsOut" / "sLevel01.pol", {{300, 5, 13}});
    }
    std::string Path() const { return folder.Path(); }

private:
    TempFolder folder;
};

class PigsOutRoomTest : public ::testing::Test
{
protected:
    static ST_GAME_TEST_SETUP Setup(const PigsOutData& data)
    {
        ST_GAME_TEST_SETUP setup;
        setup.dataFolder = data.Path();
        return setup;
    }
    void SetUp() override
    {
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
        Players().WriteInt("PigPenGoal", -1);
    }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    CPigOutGame* Enter()
    {
        if (!game.Enter("PigsOut"))
            return nullptr;
        game.Run(200);
        return dynamic_cast<CPigOutGame*>(game.App().GetCurrentRoom());
    }

    PigsOutData data;
    GameTestApp game{Setup(data)};
};

TEST_F(PigsOutRoomTest, TwoLevelsAreWonInARowAndTheRoomKeepsWhatItMade)
{
    // Past the farm chapter: the wins complete no goal, and the room plays on.
    Players().WriteInt("FarmYardComplete", 1);
    CPigOutGame* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->GetLevel(), 0);
    EXPECT_EQ(room->GetModel().GetOptions().leftEdge, 40); // swapped
    const size_t objects = room->CountLiveObjects();
    const size_t slots = static_cast<size_t>(room->GetModel().GetSlotCount());
    EXPECT_EQ(slots, 2u);
    for (int t = 0; t < 3000 && Players().ReadInt("PigsOutLevel", 0) == 0; t += 10)
        game.Run(10);
    EXPECT_EQ(Players().ReadInt("PigsOutLevel", 0), 1);
    EXPECT_EQ(room->GetLevelWonCalls(), 1);
    // LevelWon built level 1 at once; its one record is gone a tick after it comes.
    EXPECT_EQ(room->GetLevel(), 1);
    EXPECT_EQ(room->GetModel().GetState(), PIGS_PLAYING);
    // The level build replaced the objects; nothing else was made again.
    EXPECT_EQ(room->CountLiveObjects(), objects - slots + static_cast<size_t>(room->GetModel().GetSlotCount()));
    for (int t = 0; t < 3000 && Players().ReadInt("PigsOutLevel", 0) == 1; t += 10)
        game.Run(10);
    EXPECT_EQ(Players().ReadInt("PigsOutLevel", 0), 2);
    EXPECT_EQ(room->GetLevelWonCalls(), 2);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigsOutRoomTest, AGoalCompletingWinCallsLevelWonOnce)
{
    Players().WriteInt("CurrentFarmGoal", 1);
    Players().WriteInt("FarmGoal01", 3);
    CPigOutGame* room = Enter();
    ASSERT_NE(room, nullptr);
    int calls = 0;
    for (int t = 0; t < 3000 && game.App().GetCurrentRoom() == room; t += 10) {
        game.Run(10);
        if (game.App().GetCurrentRoom() == room)
            calls = room->GetLevelWonCalls();
    }
    game.Run(500);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Players().ReadInt("CurrentFarmGoal", 0), 2);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigsOutRoomTest, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    ASSERT_TRUE(VisitTwiceAndSettle(game, [this] { return Enter() != nullptr; }));
    const ST_ROOM_LIVE before = RoomLive(game);
    CPigOutGame* room = Enter();
    ASSERT_NE(room, nullptr);
    const size_t objects = room->CountLiveObjects();
    room->OnLButtonDown(1, {400, 300});
    game.Run(150); // leaving mid-level, an object on the road
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    EXPECT_EQ(RoomLive(game), before);
    room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->CountLiveObjects(), objects);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

// The demo data's level 0: the road, pig, farmer, meter and text made, the
// objects coming up the road, the pig following the pointer.
TEST(PigsOutDemoTest, LevelZeroRunsOnTheDemoData)
{
    GameTestApp game;
    TempFolder shots;
    GameServices().GetPlayers().SetCurrentPlayer("Tessa");
    GameServices().GetPlayers().WriteInt("PigPenGoal", -1);
    ASSERT_TRUE(game.Enter("PigsOut"));
    game.Run(200);
    auto* room = dynamic_cast<CPigOutGame*>(game.App().GetCurrentRoom());
    ASSERT_NE(room, nullptr);
    ASSERT_NE(room->GetPig(), nullptr);
    EXPECT_EQ(room->GetPig()->GetStateCount(), PIGS_PIG_STATES);
    EXPECT_EQ(room->GetFarmer()->GetStateCount(), PIGS_FARMER_STATES);
    EXPECT_GT(room->GetModel().GetSlotCount(), 0);
    EXPECT_EQ(room->GetModel().GetPassScore(), 6);
    // Input as a player gives it: posted to the window, not handed to the room.
    PostMouse(game.App(), EMouseAction::Move, EMouseButton::None, {600, 300}, 0);
    for (int t = 0; t < 2400; t += 10)
        game.Run(10);
    EXPECT_GT(room->GetModel().GetTick(), 200);
    EXPECT_GT(room->GetModel().GetUsed(), 0);
    EXPECT_GT(room->GetModel().GetPig().x, 367);
    SaveGameShot(game, shots.Path(), "pigsout-running.png");
    for (int press = 0; press < 2; ++press) {
        PostMouse(game.App(), EMouseAction::Down, EMouseButton::Left, {600, 300}, PIM_MK_LBUTTON);
        PostMouse(game.App(), EMouseAction::Up, EMouseButton::Left, {600, 300}, 0);
        game.Run(20);
    }
    EXPECT_TRUE(PigFamily(room->GetModel().GetPigState()) == EPigFamily::HighJump);
    game.Run(100);
    SaveGameShot(game, shots.Path(), "pigsout-high-jump.png");
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
