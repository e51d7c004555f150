// The game in the background: silent and its room paused, and back as it
// was when the focus returns, whatever happened meanwhile.
#include "PIM/sound/PimSound.h"
#include "tests/dax/app/DaxAppTestSupport.h"

using DaxAppTest::DaxApps;

TEST_F(DaxApps, LosingTheFocusMutesAndPausesAndRegainingItRestoresBoth)
{
    Start("");
    Enter("Title");
    DaxAppTest::CountingRoom* title = Room("Title");
    m_app->SetMasterVolume(77);
    m_app->Focus(false);
    EXPECT_EQ(::GetMasterVolume(), 0);
    EXPECT_EQ(title->GetPauseCount(), 1);
    EXPECT_EQ(title->pauses, 1);
    m_app->Focus(false); // twice is once
    EXPECT_EQ(title->GetPauseCount(), 1);
    // The player's volume is the one scripts see and set meanwhile.
    EXPECT_EQ(m_app->GetMasterVolume(), 77);
    m_app->Lua("SetMasterVolume(64)");
    EXPECT_EQ(::GetMasterVolume(), 0);
    m_app->Focus(true);
    EXPECT_EQ(::GetMasterVolume(), 64);
    EXPECT_EQ(title->GetPauseCount(), 0);
    EXPECT_EQ(title->resumes, 1);
    m_app->Focus(true);
    EXPECT_EQ(title->GetPauseCount(), 0);

    // A player who had the game muted finds it muted.
    m_app->SetMasterVolume(0);
    m_app->Focus(false);
    ::SetMasterVolume(30); // something other than the player turned it up meanwhile
    m_app->Focus(true);
    EXPECT_EQ(::GetMasterVolume(), 0);
}

TEST_F(DaxApps, ThePauseGoesBackToTheRoomThatTookItAfterARoomChange)
{
    Start("");
    Enter("Title");
    m_app->Focus(false);
    Enter("Barn"); // an event went on and changed the room
    ASSERT_STREQ(m_app->GetCurRoomName(), "Barn");
    m_app->Focus(true);
    EXPECT_EQ(Room("Title")->GetPauseCount(), 0);
    EXPECT_EQ(Room("Title")->resumes, 1);
    EXPECT_EQ(Room("Barn")->GetPauseCount(), 0);
    EXPECT_EQ(Room("Barn")->pauses, 0);

    // No room on screen: nothing is paused, and nothing is given back.
    Start("");
    Run(20);
    m_app->Focus(false);
    EXPECT_EQ(m_app->GetFocus().GetPausedRoom(), 0u);
    Enter("Title");
    m_app->Focus(true);
    EXPECT_EQ(Room("Title")->GetPauseCount(), 0);
    EXPECT_EQ(Room("Title")->resumes, 0);
}

TEST_F(DaxApps, AQuitInTheBackgroundLeavesWithThePlayersVolume)
{
    Start("");
    Enter("Title");
    m_app->SetMasterVolume(88);
    m_app->Focus(false);
    m_app->RequestQuit();
    EXPECT_EQ(::GetMasterVolume(), 88);
    EXPECT_EQ(Room("Title")->GetPauseCount(), 0);
    // The window going on losing and finding the focus as the game leaves
    // changes nothing.
    m_app->Focus(false);
    EXPECT_EQ(::GetMasterVolume(), 88);
    Stop();
    EXPECT_EQ(::GetMasterVolume(), 88);
}
