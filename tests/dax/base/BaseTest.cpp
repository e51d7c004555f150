#include "DAX/base/CDaxServices.h"
#include "DAX/base/CDaxSoundCache.h"
#include "DAX/base/DaxCategories.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "PIM/app/CxEvent.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/sound/CxWave.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <utility>

TEST(DaxSoundCache, OneWavePerNameWithoutRegardToCaseCountedByItsHandles)
{
    CDaxSoundCache cache;
    CDaxSound a = cache.GetSound("voices/Hello.wav");
    CDaxSound b = cache.GetSound("VOICES/hello.WAV");
    ASSERT_TRUE(a);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(cache.GetCount(), 1u);
    EXPECT_EQ(cache.GetUsers("voices/hello.wav"), 2u);
    {
        CDaxSound copy = a;
        CDaxSound moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(cache.GetUsers("voices/hello.wav"), 3u);
    }
    EXPECT_EQ(cache.GetUsers("voices/hello.wav"), 2u);
    b = a; // the same wave again: still two users
    EXPECT_EQ(cache.GetUsers("voices/hello.wav"), 2u);
    a.Reset();
    b.Reset();
    // The last user took the wave with it.
    EXPECT_EQ(cache.GetCount(), 0u);
    EXPECT_FALSE(cache.GetSound(""));
}

TEST(DaxSoundCache, AFlushNeverFreesAWaveStillHeld)
{
    CxWave* held = nullptr;
    CDaxSound sound;
    {
        CDaxSoundCache cache;
        sound = cache.GetSound("voices/hello.wav");
        held = sound.Get();
        cache.PreLoad("music/tune.wav");
        EXPECT_EQ(cache.GetUsers("music/tune.wav"), 1u); // kept by the cache alone
        cache.Flush();
        EXPECT_EQ(cache.GetCount(), 0u);
        EXPECT_EQ(sound.Get(), held); // alive, just no longer cached
        CDaxSound fresh = cache.GetSound("voices/hello.wav");
        EXPECT_NE(fresh.Get(), held); // the name loads anew
    }
    // The cache is gone; the handle still holds its wave.
    EXPECT_EQ(sound.Get(), held);
    EXPECT_STREQ(sound.GetName(), "voices/hello.wav");
}

namespace {

struct Creator : CxEventCreator
{
    CxEvent* CreateEvent(const char*, const char*, const CxEventArgs&) override { return nullptr; }
};

} // namespace

TEST(DaxCategories, AnObjectUnregistersOnlyANameItStillOwns)
{
    TraceRecorder trace;
    Creator sprite, room;
    ASSERT_EQ(DaxRegisterCategory("Farmer", &sprite), PIM_OK);
    EXPECT_TRUE(trace.lines.empty());
    ASSERT_EQ(DaxRegisterCategory("farmer", &room), PIM_OK);
    ASSERT_EQ(trace.lines.size(), 1u); // the take-over is told
    EXPECT_NE(trace.lines[0].find("\"farmer\""), std::string::npos);
    // The first owner going does not take the name from the second.
    EXPECT_FALSE(DaxUnregisterCategory("Farmer", &sprite));
    EXPECT_EQ(FindEventCategory("Farmer"), &room);
    EXPECT_TRUE(DaxUnregisterCategory("FARMER", &room));
    EXPECT_EQ(FindEventCategory("Farmer"), nullptr);
    // Registering again for the same owner is no take-over.
    DaxRegisterCategory("Farmer", &sprite);
    DaxRegisterCategory("Farmer", &sprite);
    EXPECT_EQ(trace.lines.size(), 1u);
    DaxUnregisterCategory("Farmer", &sprite);
}

namespace {

struct Counted : CxObject
{
    explicit Counted(int& alive) : count(alive) { ++count; }
    ~Counted() override { --count; }
    // What a button whose click reloads its room does: asks for itself to go
    // while its own code still runs.
    void Click()
    {
        DaxDeleteLater(this);
        touchedAfter = true;
    }
    int& count;
    bool touchedAfter = false;
};

} // namespace

TEST(DaxDeferredDelete, AnObjectAskingToGoFromItsOwnHandlerGoesAfterIt)
{
    int alive = 0;
    auto* button = new Counted(alive);
    button->Click();
    EXPECT_EQ(alive, 1);
    EXPECT_TRUE(button->touchedAfter);
    EXPECT_EQ(DaxDeferredCount(), 1u);
    {
        // The application's hook deletes it on the next main-loop pass.
        CDaxDeferredFlush flush;
        RunMainLoopCallbacks();
    }
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(DaxDeferredCount(), 0u);
}

TEST(DaxServices, DefaultsStandAloneAndAFakeTakesTheirPlace)
{
    CDaxServices& defaults = DaxServices();
    EXPECT_EQ(defaults.GetInterpolator(), nullptr);
    EXPECT_STREQ(defaults.Interpolate("$ROOMNAME").GetText(), "$ROOMNAME");
    EXPECT_EQ(defaults.GetCursorIdFromName("Hand"), 0);
    EXPECT_EQ(defaults.GetCurrentRoom(), nullptr);
    EXPECT_EQ(defaults.RunScript("x = 1"), 0); // no engine: nothing runs

    struct Fake : CDaxServices
    {
        int GetCursorIdFromName(const char*) const override { return 12; }
        int Random() const override { return 7; }
    } fake;
    SetDaxServices(&fake);
    EXPECT_EQ(DaxServices().GetCursorIdFromName("Hand"), 12);
    EXPECT_EQ(DaxServices().Random(), 7);
    SetDaxServices(nullptr);
    EXPECT_EQ(&DaxServices(), &defaults);
}
