// The "system" event kinds made from text: the sound kinds with their modes,
// queues, random file and cached waves, the waits, nested sequences, notices,
// waits for other channels, the command fallback, and the Do* helpers.
#include "DAX/sequences/CSoundEvent.h"
#include "DAX/sequences/CTimerEvent.h"
#include "DAX/sequences/CWaitForChannelEvent.h"
#include "DAX/sequences/CxEventSequenceFile.h"
#include "DAX/sequences/CxLuaTimerEvent.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/CCommandEvent.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/sound/CxWave.h"
#include "tests/dax/sequences/SequenceTestSupport.h"

#include <memory>
#include <string>

namespace {

using SequenceTest::Ears;
using SequenceTest::Sequences;

std::unique_ptr<CxEvent> Make(const char* text)
{
    return std::unique_ptr<CxEvent>(CreateEventFromText(text));
}

CSoundEvent* AsSound(const std::unique_ptr<CxEvent>& event)
{
    return dynamic_cast<CSoundEvent*>(event.get());
}

uint32_t Users(const char* file)
{
    return DaxServices().GetDefaultSoundCache().GetUsers(file);
}

class SoundEvents : public Sequences
{
protected:
    void SetUp() override
    {
        Sequences::SetUp();
        Wave("long.wav", 1000);
        Wave("short.wav", 200);
        Wave("a.wav", 300);
        Wave("100%.wav", 100);
        m_other = CreateChannel();
    }
    // The milliseconds until `channel` has run empty.
    int UntilEmpty(PimChannelId channel) { return RunUntil([channel] { return IsChannelEmpty(channel); }); }

    PimChannelId m_other = 0;
};

TEST_F(SoundEvents, TheNameGivesTheModesCaseSensitively)
{
    const struct
    {
        const char* name;
        uint32_t modes;
    } kinds[] = {
        {"PlaySound", 0},
        {"PlayThisSound", CSoundEvent::kModeThis},
        {"StartSound", CSoundEvent::kModeStart},
        {"StartThisSound", CSoundEvent::kModeStart | CSoundEvent::kModeThis},
        {"PlaySoundIfChannelEmpty", CSoundEvent::kModeEmpty},
        {"StartSoundIfChannelEmpty", CSoundEvent::kModeStart | CSoundEvent::kModeEmpty},
        {"playthissound", 0},
        {"STARTSOUND", 0},
    };
    for (const auto& kind : kinds) {
        const auto event = Make(("system." + std::string(kind.name) + "(2, a.wav)").c_str());
        ASSERT_NE(AsSound(event), nullptr) << kind.name;
        EXPECT_EQ(AsSound(event)->GetModes(), kind.modes) << kind.name;
        EXPECT_EQ(AsSound(event)->GetAudioChannel(), 2);
    }
    // Only the channel: no event.
    EXPECT_EQ(Make("system.PlaySound(0)"), nullptr);
    EXPECT_EQ(Make("system.StartSound()"), nullptr);
}

// Lower case passes the name test but not the mode tests: it neither stops
// the sound ahead of it in its queue nor ends before its own sound does.
TEST_F(SoundEvents, LowerCasePlayThisSoundWaitsBehindTheQueue)
{
    for (const char* name : {"playthissound", "PlayThisSound"}) {
        ASSERT_EQ(DoEvent("system.PlaySound(2, long.wav)", m_other), PIM_OK);
        Run(50);
        ASSERT_EQ(GetQueueLength(2), 1u);
        ASSERT_EQ(DoEvent(("system." + std::string(name) + "(2, short.wav)").c_str()), PIM_OK);
        Run(20);
        const bool lowerCase = name[4] == 't';
        EXPECT_EQ(IsChannelEmpty(m_other), !lowerCase) << name;
        const int took = UntilEmpty(System());
        if (lowerCase)
            EXPECT_GT(took, 900) << name;
        else
            EXPECT_LT(took, 500) << name;
        UntilEmpty(m_other);
    }
}

TEST_F(SoundEvents, IfChannelEmptyOnABusyQueueEndsAtOnceWithoutSound)
{
    const CDaxSound shortWave = DaxServices().GetSound("short.wav");
    ASSERT_EQ(DoEvent("system.PlaySound(1, long.wav)", m_other), PIM_OK);
    Frame();
    ASSERT_EQ(GetQueueLength(1), 1u);
    Ears ears;
    ears.Listen(System());
    ASSERT_EQ(DoEvent("system.StartSoundIfChannelEmpty(1, short.wav)"), PIM_OK);
    ASSERT_EQ(DoEvent("system.PlaySoundIfChannelEmpty(1, short.wav)"), PIM_OK);
    Frame();
    Frame();
    EXPECT_EQ(ears.heard.size(), 2u);
    EXPECT_TRUE(IsChannelEmpty(System()));
    EXPECT_EQ(GetQueueLength(1), 1u);
    EXPECT_FALSE(shortWave->WasPlayed());

    // On an empty queue it plays.
    ASSERT_EQ(DoEvent("system.PlaySoundIfChannelEmpty(4, short.wav)"), PIM_OK);
    Frame();
    EXPECT_TRUE(shortWave->IsStarted());
    EXPECT_EQ(GetQueueLength(4), 1u);
    EXPECT_GE(UntilEmpty(System()), 190);
}

// 0 to 7 name the queues the sound system made (8 here); anything else plays
// outside any queue, also for a shared wave last queued elsewhere.
TEST_F(SoundEvents, OnlyMadeQueuesAreUsed)
{
    ASSERT_EQ(GetQueueCount(), 8);
    const auto queued = Make("system.PlaySound(3, a.wav)");
    AsSound(queued)->Start();
    CxSound* wave = AsSound(queued)->GetSound();
    EXPECT_TRUE(wave->IsQueued());
    EXPECT_EQ(wave->GetQueue(), 3);
    EXPECT_EQ(GetQueueLength(3), 1u);
    for (const char* channel : {"-1", "8", "15", "16", "99", "-7", "2147483647"}) {
        const auto event = Make(("system.PlaySound(" + std::string(channel) + ", a.wav)").c_str());
        AsSound(event)->Start();
        EXPECT_EQ(AsSound(event)->GetSound(), wave);
        EXPECT_FALSE(wave->IsQueued()) << channel;
        EXPECT_EQ(wave->GetQueue(), -1) << channel;
        EXPECT_TRUE(wave->IsStarted()) << channel;
        EXPECT_FALSE(AsSound(event)->IsSkipped());
        for (int q = 0; q < GetQueueCount(); ++q)
            EXPECT_EQ(GetQueueLength(q), 0u) << channel;
    }
}

TEST_F(SoundEvents, ASoundThatCannotStartCountsAsFinished)
{
    Ears ears;
    ears.Listen(System());
    ASSERT_EQ(DoEvent("system.PlaySound(0, nosuch.wav)"), PIM_OK);
    ASSERT_EQ(DoEvent("system.Notify(1)"), PIM_OK);
    Frame();
    Frame();
    EXPECT_EQ(ears.heard.size(), 2u);
    EXPECT_TRUE(IsChannelEmpty(System()));

    // Without a sound system nothing can start either.
    ShutdownSound();
    const auto event = Make("system.PlaySound(-1, a.wav)");
    AsSound(event)->Start();
    EXPECT_TRUE(AsSound(event)->IsSkipped());
    EXPECT_TRUE(event->IsDone());
}

TEST_F(SoundEvents, CachedWavesGoWithTheirLastEvent)
{
    {
        const auto first = Make("system.PlaySound(-1, a.wav)");
        const auto second = Make("system.PlayThisSound(0, a.wav)");
        EXPECT_EQ(Users("a.wav"), 2u);
        EXPECT_EQ(AsSound(first)->GetSound(), AsSound(second)->GetSound());
    }
    EXPECT_EQ(Users("a.wav"), 0u);
    EXPECT_EQ(DaxServices().GetDefaultSoundCache().GetCount(), 0u);

    Text("voices.seq", "Event system.PlaySound(0, a.wav)\nEvent system.PlaySound(0, short.wav)\n");
    ASSERT_EQ(DoSequence("voices.seq"), PIM_OK);
    EXPECT_EQ(Users("a.wav") + Users("short.wav"), 2u);
    UntilEmpty(System());
    EXPECT_EQ(DaxServices().GetDefaultSoundCache().GetCount(), 0u);
}

// A "Start" event is done, and deleted, when its sound has only begun: the
// wave plays on to its end, then goes.
TEST_F(SoundEvents, AStartedSoundOutlivesItsEvent)
{
    ASSERT_EQ(DoEvent("system.StartSound(-1, long.wav)"), PIM_OK);
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
    EXPECT_EQ(Users("long.wav"), 1u);
    EXPECT_EQ(DaxSweepLingeringSounds(), 1u);
    Run(1200);
    EXPECT_EQ(DaxSweepLingeringSounds(), 0u);
    EXPECT_EQ(Users("long.wav"), 0u);
}

TEST_F(SoundEvents, FileNamesAreDataAndTheFileIsDrawnAtRandom)
{
    const int draws[] = {7, 2};
    ScriptRandomDraws(draws, 2);
    // 7 % 3 = 1: the second file; 2 % 3 = 2: the third.
    const auto first = Make("system.PlaySound(0, a.wav, 100%%.wav, \"$GAMEPATH\\short.wav\")");
    const auto second = Make("system.PlaySound(0, a.wav, 100%%.wav, \"$GAMEPATH\\short.wav\")");
    EXPECT_EQ(Users("100%.wav"), 1u);
    EXPECT_EQ(AsSound(first)->GetSound()->GetError(), PIM_OK);
    EXPECT_EQ(Users("/short.wav"), 1u);
    const auto literal = Make("system.PlaySound(0, %s%d%n.wav)");
    EXPECT_EQ(Users("%s%d%n.wav"), 1u);
}

TEST_F(Sequences, SleepsNeedSensibleDurations)
{
    EXPECT_EQ(Make("system.Sleep()"), nullptr);
    EXPECT_EQ(Make("system.Sleep(-5)"), nullptr);
    const auto sleep = Make("system.SLEEP(250)");
    ASSERT_NE(dynamic_cast<CTimerEvent*>(sleep.get()), nullptr);
    EXPECT_EQ(static_cast<CTimerEvent*>(sleep.get())->GetDuration(), 250u);

    const int draws[] = {50, 0, 1000};
    ScriptRandomDraws(draws, 3);
    EXPECT_EQ(Make("system.SleepRandomRange(100)"), nullptr);
    // Reversed bounds are swapped: 100 + 50 % 201.
    const auto swapped = Make("system.SleepRandomRange(300, 100)");
    EXPECT_EQ(static_cast<CTimerEvent*>(swapped.get())->GetDuration(), 150u);
    // A range from 0 never draws the endless 0.
    const auto fromZero = Make("system.SleepRandomRange(0, 0)");
    EXPECT_EQ(static_cast<CTimerEvent*>(fromZero.get())->GetDuration(), 1u);
    const auto clamped = Make("system.SleepRandomRange(-40, 9)");
    EXPECT_EQ(static_cast<CTimerEvent*>(clamped.get())->GetDuration(), 1u);

    // A timer holds while paused.
    const auto wait = Make("system.Sleep(100)");
    wait->Start();
    Run(50);
    wait->Pause();
    Run(500);
    EXPECT_FALSE(wait->IsDone());
    wait->Resume();
    Run(40);
    EXPECT_FALSE(wait->IsDone());
    Run(10);
    EXPECT_TRUE(wait->IsDone());
}

TEST_F(Sequences, NoticesSequencesAndCommands)
{
    EXPECT_EQ(Make("system.Notify()"), nullptr);
    EXPECT_EQ(Make("system.Notify(1, 2)"), nullptr);
    const auto notice = Make("system.Notify(42)");
    ASSERT_NE(dynamic_cast<CNotifyEvent*>(notice.get()), nullptr);
    EXPECT_EQ(static_cast<CNotifyEvent*>(notice.get())->GetCode(), 42);

    EXPECT_EQ(Make("system.Sequence()"), nullptr);
    Text("one.seq", "Event system.Notify(1)\n");
    Text("two.seq", "Event system.Notify(2)\nEvent system.Notify(3)\n");
    const int draws[] = {1};
    ScriptRandomDraws(draws, 1);
    const auto nested = Make("system.Sequence(one.seq, two.seq)");
    ASSERT_NE(dynamic_cast<CxEventSequenceFile*>(nested.get()), nullptr);
    EXPECT_EQ(static_cast<CxEventSequenceFile*>(nested.get())->GetEventCount(), 2u);

    // Any other name is a command for the system command handler.
    ASSERT_EQ(DoEvent("system.GotoRoom(\"Barn\", 2)"), PIM_OK);
    Frame();
    ASSERT_EQ(m_services.commands.commands.size(), 1u);
    EXPECT_EQ(m_services.commands.commands[0].name, "GotoRoom");
    EXPECT_EQ(m_services.commands.commands[0].args, (std::vector<std::string>{"Barn", "2"}));
    EXPECT_NE(dynamic_cast<CCommandEvent*>(Make("System.Quit()").get()), nullptr);
    // As an extra creator the category's creator answers its own category only.
    CxEventArgs none;
    EXPECT_EQ(m_system.CreateEvent("Barn", "Quit", none), nullptr);
}

TEST_F(Sequences, WaitForChannelTakesOnlyLiveChannels)
{
    const PimChannelId other = CreateChannel();
    const PimChannelId gone = CreateChannel();
    DestroyChannel(gone);
    for (const std::string& argument : std::vector<std::string>{"", "abc", "0", "-3", "999999", std::to_string(gone)})
        EXPECT_EQ(Make(("system.WaitForChannel(" + argument + ")").c_str()), nullptr) << argument;

    ASSERT_EQ(DoEvent("system.Sleep(200)", other), PIM_OK);
    ASSERT_EQ(DoEvent(("system.WaitForChannel(" + std::to_string(other) + ")").c_str()), PIM_OK);
    Ears ears;
    ears.Listen(System());
    ears.Listen(other);
    RunUntil([&] { return IsChannelEmpty(System()); });
    ASSERT_EQ(ears.heard.size(), 2u);
    EXPECT_EQ(ears.heard[0].channel, other);
    EXPECT_EQ(ears.heard[1].channel, System());
    EXPECT_LE(ears.heard[1].tick - ears.heard[0].tick, 10u);

    // On its own channel it would wait for itself: done at once.
    ASSERT_EQ(DoEvent(("system.WaitForChannel(" + std::to_string(System()) + ")").c_str()), PIM_OK);
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
    // A channel destroyed while waited for counts as empty.
    ASSERT_EQ(DoEvent("system.Sleep(0)", other), PIM_OK);
    ASSERT_EQ(DoEvent(("system.WaitForChannel(" + std::to_string(other) + ")").c_str()), PIM_OK);
    Run(100);
    EXPECT_FALSE(IsChannelEmpty(System()));
    DestroyChannel(other);
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
}

TEST_F(Sequences, TheHelpersPostOwnedEvents)
{
    const size_t channels = GetChannelCount();
    Text("short.seq", "Event system.Notify(1)\n");
    ASSERT_EQ(DoSequence("short.seq", 0), PIM_OK);
    EXPECT_EQ(GetChannelCount(), channels + 1);
    RunUntil([&] { return IsChannelEmpty(System()); });
    // Deleted when done: its private channel is gone with it.
    EXPECT_EQ(GetChannelCount(), channels);

    EXPECT_EQ(DoEvent("no event text"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(DoEvent("nosuch.Thing()"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(DoEvent("system.Notify(1)", 987654), PIM_ERR_BAD_ARG);
    EXPECT_EQ(DoSequence("short.seq", 987654), PIM_ERR_BAD_ARG);
    EXPECT_EQ(GetChannelCount(), channels);

    // Chained, the second runs in the frame of the first.
    ASSERT_EQ(DoLuaEvent("a = 1", 0, true), PIM_OK);
    ASSERT_EQ(DoLuaEvent("b = a + 1"), PIM_OK);
    ASSERT_EQ(DoLuaEvent("c = b + 1"), PIM_OK);
    Frame();
    EXPECT_EQ(m_services.engine.GetNumber("b", 0), 2);
    EXPECT_EQ(m_services.engine.GetNumber("c", 0), 0);
    Frame();
    EXPECT_EQ(m_services.engine.GetNumber("c", 0), 3);
}

// The first call one interval after the start, then every interval, none
// after the duration; a pause holds calls and duration alike.
TEST_F(Sequences, ALuaTimerCallsAtItsIntervalForItsDuration)
{
    ASSERT_EQ(DoLuaTimerEvent(550, 100, "n = (n or 0) + 1"), PIM_OK);
    Frame();
    Run(90);
    EXPECT_EQ(m_services.engine.GetNumber("n", 0), 0);
    Run(10);
    EXPECT_EQ(m_services.engine.GetNumber("n", 0), 1);
    Run(150);
    EXPECT_EQ(m_services.engine.GetNumber("n", 0), 2);
    ASSERT_EQ(PauseChannel(System()), PIM_OK);
    Run(1000);
    EXPECT_EQ(m_services.engine.GetNumber("n", 0), 2);
    ASSERT_EQ(ResumeChannel(System()), PIM_OK);
    Run(50);
    EXPECT_EQ(m_services.engine.GetNumber("n", 0), 3);
    RunUntil([&] { return IsChannelEmpty(System()); });
    Run(1000);
    EXPECT_EQ(m_services.engine.GetNumber("n", 0), 5);
}

} // namespace
