// The game layer's script functions that reach the application: sounds
// from the cache, movies, the music and the master volume.
#include "DAX/sequences/DaxLingeringSounds.h"
#include "PIM/core/CxError.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"
#include "tests/dax/app/DaxAppTestSupport.h"
#include "tests/support/Recorders.h"

using DaxAppTest::DaxApps;

TEST_F(DaxApps, PlaySoundSharesOneCachedWaveAndAFlushSparesTheWavesStillHeld)
{
    Wave("chime%s.wav", 1000);
    Wave("drum.wav", 1000);
    Start("");
    Run(20);
    CDaxSoundCache& cache = m_app->GetSoundCache();
    EXPECT_EQ(&DaxServices().GetSoundCache(), &cache); // the application's own
    m_app->Lua("first = PlaySound('chime%s.wav'); second = PlaySound('CHIME%s.wav')");
    EXPECT_EQ(m_app->Global("first"), "0");
    EXPECT_EQ(m_app->Global("second"), "0");
    EXPECT_EQ(cache.GetCount(), 1u);
    EXPECT_EQ(cache.GetKeptCount(), 1u); // one kept handle, however often it plays
    CDaxSound chime = cache.GetSound("chime%s.wav");
    ASSERT_TRUE(chime);
    EXPECT_TRUE(chime->IsStarted());

    m_app->Lua("PreLoadSound('drum.wav'); PreLoadSound('drum.wav')");
    EXPECT_EQ(cache.GetCount(), 2u);
    EXPECT_EQ(cache.GetKeptCount(), 2u);
    EXPECT_FALSE(cache.GetSound("drum.wav")->IsStarted());

    m_app->Lua("FlushSoundCache()");
    EXPECT_EQ(cache.GetCount(), 0u);
    EXPECT_EQ(cache.GetKeptCount(), 0u);
    // Held here (and playing): alive, and still sounding.
    EXPECT_TRUE(chime->IsStarted());
    Run(1200);
    EXPECT_FALSE(chime->IsStarted());
    EXPECT_EQ(DaxSweepLingeringSounds(), 0u);
}

TEST_F(DaxApps, MoviesPlayWhenTheyExistOrAreOpenedFirstWhenTheyMust)
{
    File("m%d.smk", "movie");
    Start("");
    ErrorRecorder errors;
    m_app->Lua("a = PlayMovie('m%d.smk'); b = PlayMovie('gone.smk')");
    m_app->Lua("PlayMovie('m%d.smk', 10, 20, 0); PlayMovie('m%d.smk', 1, 2, false)");
    EXPECT_EQ(m_app->Global("a"), "0");
    EXPECT_EQ(m_app->Global("b"), "9");
    EXPECT_TRUE(errors.errors.empty());
    m_app->Lua("c = PlayMovieMustExist('gone.smk', -1, -1, true)");
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_NE(errors.errors[0].message.find("Could not open"), std::string::npos);

    ASSERT_EQ(m_app->movies.size(), 4u);
    EXPECT_EQ(m_app->movies[0].path, "m%d.smk");
    EXPECT_TRUE(m_app->movies[0].x == -1 && m_app->movies[0].y == -1 && m_app->movies[0].skippable);
    EXPECT_TRUE(m_app->movies[1].x == 10 && m_app->movies[1].y == 20);
    EXPECT_FALSE(m_app->movies[1].skippable); // 0 is false, as old data wrote it
    EXPECT_FALSE(m_app->movies[2].skippable);
    EXPECT_EQ(m_app->movies[3].path, "gone.smk"); // played all the same
}

TEST_F(DaxApps, MusicAndMasterVolumeFromScripts)
{
    Wave("tune.wav", 400);
    Start("");
    Run(20);
    m_app->Lua("before = IsMusicPlaying()");
    EXPECT_EQ(m_app->Global("before"), ""); // false: lua_tostring gives nothing for a boolean
    m_app->Lua("SetMusicVolume(300); loud = GetMusicVolume()");
    EXPECT_EQ(m_app->Global("loud"), "127");
    m_app->Lua("code = StartMusic('tune.wav', 40); playing = IsMusicPlaying() and 1 or 0; v = GetMusicVolume()");
    EXPECT_EQ(m_app->Global("code"), "0");
    EXPECT_EQ(m_app->Global("playing"), "1");
    EXPECT_EQ(m_app->Global("v"), "40");
    m_app->Lua("StartMusic('tune.wav', -1); v = GetMusicVolume()");
    EXPECT_EQ(m_app->Global("v"), "40");
    m_app->Lua("StopMusic(); playing = IsMusicPlaying() and 1 or 0");
    EXPECT_EQ(m_app->Global("playing"), "0");

    m_app->Lua("SetMasterVolume(90); master = GetMasterVolume()");
    EXPECT_EQ(m_app->Global("master"), "90");
    EXPECT_EQ(GetMasterVolume(), 90);
    EXPECT_NE(m_app->Lua("SetMasterVolume(0/0)"), PIM_OK); // NaN is no volume
    EXPECT_EQ(GetMasterVolume(), 90);
}
