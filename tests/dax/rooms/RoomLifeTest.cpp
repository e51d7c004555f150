// Rooms entered and left through the application's room stack: what the
// option file builds, what leaving takes down (and what it must leave
// alone), the fades, the room's scripts and its folder.
#include "DAX/base/DaxCategories.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/rooms/DaxRoomOptionFile.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxTimerManager.h"
#include "PIM/files/CxFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/movie/PimMovies.h"
#include "PIM/sound/PimSound.h"
#include "tests/dax/rooms/RoomTestApp.h"
#include "tests/support/Recorders.h"

#include <algorithm>

namespace {

using RoomTest::Rooms;

// Everything a room could leave behind, counted through the engine's registries.
struct ST_LIVE
{
    size_t sprites, sounds, channels, timers, fileSystems, categories, listeners, movies;
    bool operator==(const ST_LIVE&) const = default;
};

ST_LIVE Live()
{
    const CxTimerManager* timers = CxTimerManager::GetInstance();
    return {CxSprite::GetLiveCount(),  GetSoundCount(),         GetChannelCount(),
            timers ? timers->GetTimerCount() : 0, GetFileSystemCount(), GetEventCategoryCount(),
            CxEventListener::GetListenerCount(), GetMovieCount()};
}

const char* kBetaFile = "[Options]\n"
                        "Background=back_320x200_16.pic\n"
                        "MinLevel=1\nMaxLevel=4\n"
                        "[Button0]\nFileName=b_50x20_16.pic\nName=Go\nPosition=10, 10\n"
                        "[Button1]\nFileName=b_50x20_16.pic\nName=Stop\nPosition=100, 10\nNumFrames=0\n"
                        "[Static]\nButtons=help, Quit\n"
                        "[Score]\nFont=score.blk\nArea=200, 150, 299, 189\nColor=255.9, 300, -4\nAlwaysDirty=1\n"
                        "[ScoreMilestones]\n0=100\n"
                        "[AmbientMovie0]\nFileName=smoke.clp\nPosition=99999, -5\n"
                        "[AmbientMovie1]\nFileName=gone.clp\n"
                        "[AmbientMovie2]\nFileName=late.clp\n";

class RoomLife : public Rooms
{
protected:
    void SetUp() override
    {
        Rooms::SetUp();
        Write("Beta/Beta.ini", kBetaFile);
        for (const char* file : {"back_320x200_16.pic", "b_50x20_16.pic", "score.blk", "smoke.clp", "late.clp"})
            Write(file);
        services.interpolator.AddString("PLAYER", "Ann");
    }
    // Two global buttons, as the game layer makes them: no parent, hidden.
    void MakeGlobalButtons()
    {
        for (const char* name : {"Help", "Quit", "Other"}) {
            auto* button = new CDaxButton;
            button->SetName(name);
            button->Load("b_50x20_16.pic", 5);
            DaxAddGlobalButton(button);
        }
        DaxFindGlobalButton("Quit")->StartFlash(100);
    }
};

TEST_F(RoomLife, TheFileBuildsTheRoomAndLeavingTakesItDownButLeavesTheGlobalButtons)
{
    MakeGlobalButtons();
    Start();
    const size_t fileSystems = GetFileSystemCount();
    RoomTest::RecordingRoom& beta = Beta();
    Enter("Beta");

    // The picture gives the room its size; the room stays that size on screen.
    EXPECT_EQ(beta.GetSize(), CxSize(320, 200));
    EXPECT_EQ(beta.GetParent(), GetRootObject());
    // Own buttons: placed, in front, shown; NumFrames 0 is the picture whole.
    ASSERT_EQ(beta.GetButtons().GetCount(), 2u);
    CDaxButton* go = beta.FindButton("GO");
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->GetParent(), &beta);
    EXPECT_EQ(go->GetZ(), DAX_ROOM_BUTTON_Z);
    EXPECT_TRUE(go->IsShown());
    EXPECT_EQ(go->GetPosition(), CxPoint(10, 10));
    EXPECT_EQ(beta.FindButton("Stop")->GetFrameCount(), 1);
    // Global buttons named as whole words, any case: attached, shown, not flashing.
    CDaxButton* quit = DaxFindGlobalButton("Quit");
    EXPECT_EQ(beta.GetBorrowedButtonCount(), 2u);
    EXPECT_EQ(quit->GetParent(), &beta);
    EXPECT_TRUE(quit->IsShown());
    EXPECT_FALSE(quit->IsFlashing());
    EXPECT_EQ(beta.FindButton("help"), DaxFindGlobalButton("Help"));
    EXPECT_EQ(DaxFindGlobalButton("Other")->GetParent(), nullptr);
    // The score text in its area, in its colour (components kept to 0..255).
    const CDaxRoomScore& score = beta.GetScore();
    ASSERT_TRUE(score.HasText());
    EXPECT_EQ(score.GetText().GetParent(), &beta);
    EXPECT_EQ(score.GetText().GetRect(), CxRect(200, 150, 299, 189));
    EXPECT_STREQ(score.GetText().GetText(), "0");
    EXPECT_EQ(score.GetColour(), 0xFFFF00u);
    EXPECT_EQ(score.GetPointSize(), DAX_ROOM_DEFAULT_POINT_SIZE);
    // Movies: a missing one is skipped, the next one still plays.
    EXPECT_EQ(beta.GetMovieCount(), 2u);
    ASSERT_GE(opened.size(), 2u);
    // The room's channel, its names, its folder and its variables.
    EXPECT_TRUE(IsChannelValid(beta.GetChannel()));
    EXPECT_EQ(FindEventCategory("beta"), static_cast<CxEventCreator*>(&beta));
    EXPECT_EQ(FindEventCategory("Room"), static_cast<CxEventCreator*>(&beta));
    EXPECT_EQ(GetFileSystemCount(), fileSystems + 1);
    EXPECT_STREQ(beta.GetActivityPath(), "/Beta");
    EXPECT_STREQ(beta.GetInterpolator().Interpolate("$ROOMNAME/$PLAYER").GetText(), "Beta/Ann");
    EXPECT_EQ(beta.GetMinLevel(), 1);
    EXPECT_EQ(beta.GetMaxLevel(), 4);

    Enter("Alpha");
    EXPECT_FALSE(beta.IsLoaded());
    EXPECT_EQ(beta.GetButtons().GetCount(), 0u);
    EXPECT_EQ(beta.GetMovieCount(), 0u);
    EXPECT_FALSE(beta.GetScore().HasText());
    EXPECT_EQ(beta.GetSurface(), nullptr);
    // Given back, never deleted: the global list still holds them, hidden.
    EXPECT_EQ(DaxGetGlobalButtons().GetCount(), 3u);
    EXPECT_EQ(quit->GetParent(), nullptr);
    EXPECT_FALSE(quit->IsShown());
    EXPECT_EQ(FindEventCategory("Beta"), nullptr);
    EXPECT_EQ(FindEventCategory("Room"), static_cast<CxEventCreator*>(&Room("Alpha")));
    EXPECT_EQ(GetFileSystemCount(), fileSystems + 1); // Alpha's own folder now
}

TEST_F(RoomLife, EnteringLeavingAndEnteringAgainLeavesNothingBehind)
{
    MakeGlobalButtons();
    Write("Beta/onstartroom.lua", "entered = (entered or 0) + 1");
    Start();
    Enter("Alpha");
    const ST_LIVE before = Live();
    for (int visit = 0; visit < 2; ++visit) {
        Enter("Beta");
        Run(200); // the movie loops, the score redraws, time-outs wait
        m_clock.Advance(40000);
        Run(10);
        Enter("Alpha");
        EXPECT_EQ(Live(), before) << "after visit " << visit + 1;
    }
    EXPECT_EQ(Lua("entered"), "2");
    EXPECT_EQ(Beta().GetScore().GetFontHandle(), 0);
}

TEST_F(RoomLife, ARoomCategoryOtherObjectsTookOverStaysTheirs)
{
    Start();
    Enter("Beta");
    struct Other : CxEventCreator
    {
        CxEvent* CreateEvent(const char*, const char*, const CxEventArgs&) override { return nullptr; }
    } other;
    DaxRegisterCategory("BETA", &other);
    DaxRegisterCategory("Room", &other);
    Enter("Alpha");
    EXPECT_EQ(FindEventCategory("Beta"), &other);
    // Alpha registered "Room" after the other object: it is Alpha's.
    EXPECT_EQ(FindEventCategory("Room"), static_cast<CxEventCreator*>(&Room("Alpha")));
    DaxUnregisterCategory("Beta", &other);
}

TEST_F(RoomLife, SizesFromTheFile)
{
    Start();
    CDaxWindow& alpha = Room("Alpha");
    struct Case
    {
        const char* size;
        CxSize expected;
    };
    const Case cases[] = {
        {"-1, -1", CxSize(kScreenWidth, kScreenHeight)},
        {"300, -1", CxSize(300, kScreenHeight)},
        {"300, 120", CxSize(300, 120)},
        {"0, 5", CxSize(kScreenWidth, kScreenHeight)},      // ignored: the screen's
        {"-7, 20", CxSize(kScreenWidth, kScreenHeight)},    // no size
        {"99999, 20", CxSize(kScreenWidth, kScreenHeight)}, // no size either
    };
    for (const Case& c : cases) {
        alpha.GetOptions().SetString("Options", "Size", c.size);
        Enter("Alpha");
        EXPECT_EQ(alpha.GetSize(), c.expected) << c.size;
        Enter("Gamma");
    }
    // A background wins over the size.
    Write("wide_400x100_16.pic");
    alpha.GetOptions().SetString("Options", "Background", "wide_400x100_16.pic");
    Enter("Alpha");
    EXPECT_EQ(alpha.GetSize(), CxSize(400, 100));
}

TEST_F(RoomLife, AFirstButtonSectionWithoutAPictureMeansNoButtons)
{
    Write("Alpha/Alpha.ini", "[Button0]\nName=Nothing\n[Button1]\nFileName=b_50x20_16.pic\n");
    Start();
    EXPECT_EQ(Enter("Alpha").GetButtons().GetCount(), 0u);
}

TEST_F(RoomLife, AMissingOrOversizedFileLeavesTheDefaultsTracedOnceAndCountsNoError)
{
    TraceRecorder trace;
    Write("Alpha/Alpha.ini", "[Options]\nIdleTime=5\n" + std::string(DAX_ROOM_OPTIONS_MAX_BYTES, ';'));
    Start();
    for (const char* name : {"Alpha", "Gamma"}) {
        CDaxWindow& room = Enter(name);
        const auto mentions = std::count_if(trace.lines.begin(), trace.lines.end(), [name](const std::string& line) {
            return line.find(std::string("Room ") + name) != std::string::npos;
        });
        EXPECT_EQ(mentions, 1) << name;
        EXPECT_EQ(room.GetIdle().GetIdleTime(), uint32_t{DAX_ROOM_DEFAULT_IDLE_TIME});
        EXPECT_EQ(room.GetIdle().GetMaxCount(), DAX_ROOM_DEFAULT_MAX_IDLE_COUNT);
        EXPECT_EQ(room.GetMaxLevel(), 9);
        EXPECT_EQ(room.GetMaxDifficulty(), 2);
        EXPECT_EQ(room.GetState(), -1);
        EXPECT_EQ(room.GetSize(), CxSize(kScreenWidth, kScreenHeight));
    }
    Run(100);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(RoomLife, DataNamesAreTextNeverFormats)
{
    // "%d" is two characters of the name; "%%" is one "%".
    Write("odd%d_64x48_16.pic");
    Write("a%b_32x16_16.pic");
    Write("Alpha/Alpha.ini", "[Options]\nBackground=odd%d_64x48_16.pic\n");
    Write("Gamma/Gamma.ini", "[Options]\nBackground=a%%b_32x16_16.pic\n");
    Start();
    EXPECT_EQ(Enter("Alpha").GetSize(), CxSize(64, 48));
    EXPECT_EQ(Enter("Gamma").GetSize(), CxSize(32, 16));
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(RoomLife, NoFadeInForTheFirstRoomAndNoFadeOutWhenQuitting)
{
    Write("COMMON/FADE0.SMK");
    Write("COMMON/FADE1.SMK");
    Start();
    auto fades = [this] {
        std::string seen;
        for (const std::string& name : opened)
            seen += name.find("FADE0") != std::string::npos ? "in " : name.find("FADE1") != std::string::npos ? "out " : "";
        return seen;
    };
    Enter("Alpha");
    EXPECT_EQ(fades(), "");
    Enter("Gamma");
    EXPECT_EQ(fades(), "out in ");
    EXPECT_EQ(Room("Gamma").GetPauseCount(), 0); // paused only while it played
    Application().RequestQuit();
    Application().CloseRooms();
    EXPECT_EQ(fades(), "out in ");
}

TEST_F(RoomLife, TheRoomsOwnScriptsRunFromItsFolderFirstAndTheScoreIsDownBeforeTheLeaveScript)
{
    Write("onstartroom.lua", "started = 'anywhere'");
    Write("Beta/onstartroom.lua", "started = 'Beta'");
    Write("Beta/onstoproom.lua", "Probe()");
    Write("Beta/notes.txt");
    Start();
    static CDaxWindow* s_room = nullptr;
    static std::string s_probe;
    s_room = &Beta();
    lua_register(Application().GetLuaEngine()->GetState(), "Probe", [](lua_State*) -> int {
        const CDaxRoomScore& score = s_room->GetScore();
        s_probe = std::string(score.HasText() ? "text " : "") + (score.IsBulging() ? "bulge " : "") +
                  (score.GetFontHandle() ? "font " : "") + (s_room->GetIdle().GetTimer().IsRunning() ? "idle " : "") +
                  (FsExists("<ActivityPath>notes.txt") ? "folder" : "");
        return 0;
    });
    Enter("Beta");
    EXPECT_EQ(Lua("started"), "Beta");
    EXPECT_TRUE(FsExists("<ActivityPath>notes.txt"));
    ASSERT_TRUE(Beta().GetScore().Bulge(60));
    Enter("Alpha");
    EXPECT_EQ(s_probe, "folder"); // the room's folder is still there; the score and idle wait are not
    EXPECT_EQ(Lua("started"), "anywhere");
    EXPECT_FALSE(FsExists("<ActivityPath>notes.txt"));
}

} // namespace
