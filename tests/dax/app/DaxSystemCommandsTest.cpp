// The commands of the "system" category, posted on the system channel as a
// sequence or a script would post them, and run by the application.
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxRandom.h"
#include "PIM/display/PimCursors.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"
#include "tests/dax/app/DaxAppTestSupport.h"

#include <string>

using DaxAppTest::DaxApps;

TEST_F(DaxApps, SystemCommandsMoveThroughTheRoomsAndQuit)
{
    Start("");
    System("PushRoom(Title)");
    EXPECT_STREQ(m_app->GetCurRoomName(), "Title");
    System("PushRoom(barn)");
    EXPECT_STREQ(m_app->GetCurRoomName(), "Barn");
    EXPECT_EQ(m_app->GetRoomStackDepth(), 2u);
    System("PopRoom()");
    EXPECT_STREQ(m_app->GetCurRoomName(), "Title");
    System("GotoRoom(Barn)");
    EXPECT_STREQ(m_app->GetCurRoomName(), "Barn");
    EXPECT_EQ(m_app->GetRoomStackDepth(), 2u);
    // Names compare without regard to case; unknown ones do nothing.
    System("gotoroom(Nowhere)");
    System("NoSuchCommand(1)");
    System("SetDebugWindowText(hello)");
    EXPECT_STREQ(m_app->GetCurRoomName(), "Barn");
    EXPECT_FALSE(m_app->IsQuitting());
    System("QUIT()");
    EXPECT_TRUE(m_app->IsQuitting());
}

TEST_F(DaxApps, ScriptCommandsTakeFileNamesAndTextsAsWritten)
{
    File("scripts/run%s.lua", "ran = (ran or 0) + 1\n");
    Start("");
    // "%s" is two characters of the name, never a format.
    System("RunScript(scripts/run%s.lua)");
    EXPECT_EQ(m_app->Global("ran"), "1");
    // The event's commas split the text; they are put back. "%%" reads as "%".
    System("RunScriptString(x, y = 4, 5)");
    EXPECT_EQ(m_app->Global("y"), "5");
    System("RunScriptString(share = [[100%% of %d]])");
    EXPECT_EQ(m_app->Global("share"), "100% of %d");
}

TEST_F(DaxApps, SetVarRandomNeedsANameAndBothEndsOfItsRange)
{
    Start("");
    const int draws[] = {5, 7};
    ScriptRandomDraws(draws, 2);
    System("SetVarRandom(PIECES, 1, 3)");
    EXPECT_STREQ(m_app->GetInterpolator()->Interpolate("$PIECES").GetText(), "3"); // 1 + 5 % 3
    System("SetVarRandom(TURNS, 9, 7)"); // either way round: 7 + 7 % 3
    EXPECT_STREQ(m_app->GetInterpolator()->Interpolate("$TURNS").GetText(), "8");
    System("SetVarRandom(HALF, 1)");
    EXPECT_STREQ(m_app->GetInterpolator()->Interpolate("$HALF").GetText(), "$HALF");
    ClearRandomScript();
}

TEST_F(DaxApps, AudioChannelsAreFlushedByNumberOrAllAtOnce)
{
    Wave("a.wav", 2000);
    Start("");
    Run(20); // the sound card is there once the window is
    for (int queue : {2, 2, 3})
        ASSERT_EQ(PlaySoundFile("a.wav", true, queue), PIM_OK);
    ASSERT_EQ(GetQueueLength(2), 2u);
    System("FlushAudioChannel()"); // no number: nothing
    EXPECT_EQ(GetQueueLength(2), 2u);
    System("FlushAudioChannel(2)");
    EXPECT_EQ(GetQueueLength(2), 0u);
    EXPECT_EQ(GetQueueLength(3), 1u);
    ASSERT_EQ(PlaySoundFile("a.wav", true, 0), PIM_OK);
    System("FlushAllAudioChannels()");
    EXPECT_EQ(GetQueueLength(0), 0u);
    EXPECT_EQ(GetQueueLength(3), 0u);
}

TEST_F(DaxApps, TheCursorIsDisabledAndEnabledOnceHoweverOftenAsked)
{
    Start("");
    const int hidden = GetCursorHideCount();
    System("DisableCursor()");
    System("DisableCursor()");
    EXPECT_EQ(GetCursorHideCount(), hidden + 1);
    EXPECT_FALSE(m_app->HasState(PIM_STATE_MOUSE));
    System("EnableCursor()");
    System("EnableCursor()");
    EXPECT_EQ(GetCursorHideCount(), hidden);
    EXPECT_TRUE(m_app->HasState(PIM_STATE_MOUSE));
}

TEST_F(DaxApps, MusicCommandsPlayOneLoopingTrackAtTheMusicVolume)
{
    Wave("tune%d.wav", 500);
    Start("");
    Run(20);
    System("StartMusic(tune%d.wav, 50)");
    CDaxMusic& music = m_app->GetMusic();
    ASSERT_NE(music.GetWave(), nullptr);
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_EQ(music.GetVolume(), 50);
    EXPECT_EQ(music.GetWave()->GetVolume(), 50);
    Run(2000); // four times its length: still going
    EXPECT_TRUE(music.IsPlaying());
    System("PauseMusic()");
    EXPECT_FALSE(music.IsPlaying());
    System("ResumeMusic()");
    EXPECT_TRUE(music.IsPlaying());
    System("StopMusic()");
    EXPECT_FALSE(music.IsPlaying());
    // Without a volume the last one stays.
    System("StartMusic(tune%d.wav)");
    EXPECT_EQ(music.GetWave()->GetVolume(), 50);
}
