// Talking characters over the headless mixer on the virtual clock: mouths
// from the description file, Talk and RandomTalk events, the mouth frames
// following the speech, a talk bound to the mouth it started (state changes,
// flushes and deletions mid-speech), pausing, and the arguments refused.
#include "DAX/base/CDaxServices.h"
#include "DAX/sprites/CDaxCharacter.h"
#include "DAX/sprites/CDaxLips.h"
#include "DAX/sprites/CTalkEvent.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxRandom.h"
#include "PIM/sound/CxWave.h"
#include "tests/dax/sprites/SpriteTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A still body with a masked mouth, and a waving body of four frames whose
// mouth has no mask.
constexpr const char* kFarmer = R"([PimSprite]
Name=Farmer
NumStates=2

[State000]
FileName=body.tga
Lips=mouth.tga
LipPosition=4, 6

[State001]
FileName=wave.tga
NumFrames=4
FrameRate=10
Lips=mouth.tga
LipPosition=1, 2
LipMask=0
)";

class Characters : public SpriteTest::SpriteFiles
{
protected:
    void SetUp() override
    {
        SpriteFiles::SetUp();
        Text("farmer.xni", kFarmer);
        Picture("body.tga", 1, 40, 60);
        Picture("wave.tga", 4, 40, 60);
        Picture("mouth.tga", 5, 10, 4, 0x200, 16, 0x0F0F);
        StartSound();
        for (const char* name : {"a.wav", "b.wav", "c.wav"})
            Speech(name, 300);
        ASSERT_EQ(m_farmer.Load("farmer.xni"), PIM_OK);
        m_channel = CreateChannel();
    }
    CxEvent* Event(const char* text) { return CreateEventFromText(text); }
    CDaxLips& Lips(int state) { return *m_farmer.GetLips(state); }

    CDaxCharacter m_farmer;
    PimChannelId m_channel = 0;
};

} // namespace

TEST_F(Characters, EachStateGetsTheMouthItsSectionDescribesAndOnlyTheCurrentOneShows)
{
    ASSERT_NE(m_farmer.GetLips(0), nullptr);
    ASSERT_NE(m_farmer.GetLips(1), nullptr);
    EXPECT_EQ(m_farmer.GetLips(2), nullptr);
    EXPECT_EQ(Lips(0).GetFrameCount(), CDaxCharacter::kLipFrames);
    EXPECT_EQ(Lips(0).GetPosition(), CxPoint(4, 6));
    EXPECT_EQ(Lips(0).GetParent(), &m_farmer);
    EXPECT_EQ(Lips(0).GetTransparentColour(), Lips(0).GetSurface()->GetPixel(0, 0));
    EXPECT_EQ(Lips(1).GetTransparentColour(), PIM_NO_KEY);
    EXPECT_TRUE(Lips(0).IsShown());
    EXPECT_FALSE(Lips(1).IsShown());
    m_farmer.SetState(1);
    EXPECT_FALSE(Lips(0).IsShown());
    EXPECT_TRUE(Lips(1).IsShown());
    m_farmer.UnloadStates();
    EXPECT_EQ(m_farmer.GetLips(0), nullptr);
    EXPECT_FALSE(m_farmer.HasChildren());
}

TEST_F(Characters, ThreeFilesAreSaidInOrderAndTheMouthClosesOnlyAfterTheLast)
{
    CxEvent* talk = Event("Farmer.Talk(0, a.wav, b.wav, c.wav)");
    auto* event = dynamic_cast<CTalkEvent*>(talk);
    ASSERT_NE(event, nullptr);
    ASSERT_EQ(event->GetWaveCount(), 3u);
    EXPECT_STREQ(event->GetWave(2)->GetName(), "c.wav");
    Post(talk, m_channel);
    DispatchEvents();
    ASSERT_TRUE(Lips(0).IsSpeaking());
    // A still body stands: played once, it is over at once.
    Run(20);
    EXPECT_TRUE(m_farmer.IsStopped());

    std::set<int> openIn; // the waves during which the mouth was open
    bool closedWhileSpeaking = false;
    int ms = 0;
    for (; ms < 2000 && !IsChannelEmpty(m_channel); ms += 10) {
        if (Lips(0).GetFrame() > 0)
            openIn.insert(Lips(0).GetWaveIndex());
        // Between two waves the mouth goes on with the next one's first window.
        if (Lips(0).IsSpeaking() && Lips(0).GetFrame() == 0 && ms > 50)
            closedWhileSpeaking = true;
        Run(10);
    }
    EXPECT_EQ(openIn, (std::set<int>{0, 1, 2}));
    EXPECT_FALSE(closedWhileSpeaking);
    EXPECT_GE(ms, 880); // three waves of 300 ms, each ending at a tick
    EXPECT_LE(ms, 1300);
    EXPECT_FALSE(Lips(0).IsSpeaking());
    EXPECT_EQ(Lips(0).GetFrame(), 0);
    EXPECT_EQ(Lips(0).GetCurrentWave(), nullptr);
}

TEST_F(Characters, TheMouthOpensWithTheLoudnessOfTheSpeech)
{
    CxWave* wave = new CxWave;
    ASSERT_EQ(wave->Load("a.wav"), PIM_OK);
    ASSERT_EQ(m_farmer.TalkWave(wave, -1), PIM_OK);
    // RisingSpeech climbs over its three windows (4000, 8000, 12000 against a
    // quietest of 255: step 2349): frames 1, 3 and 4.
    EXPECT_EQ(std::vector<uint32_t>(Lips(0).GetEnvelope().frames.begin(), Lips(0).GetEnvelope().frames.end()),
              (std::vector<uint32_t>{1, 3, 4, 0}));
    std::vector<int> shown;
    for (int t = 0; t < 450; t += 10) {
        Run(10);
        shown.push_back(Lips(0).GetFrame());
    }
    EXPECT_EQ(shown[5], 1);
    EXPECT_EQ(shown[15], 3);
    EXPECT_EQ(shown[25], 4);
    EXPECT_EQ(shown.back(), 0);
    EXPECT_FALSE(Lips(0).IsSpeaking());
    delete wave;
}

TEST_F(Characters, AStateChangeMidSpeechStopsThatMouthBeforeTheWavesGo)
{
    Post(Event("Farmer.Talk(0, a.wav, b.wav)"), m_channel);
    Run(150);
    ASSERT_TRUE(Lips(0).IsSpeaking());
    const PimChannelId other = CreateChannel();
    Post(Event("Farmer.SetState(1)"), other);
    Run(10);
    EXPECT_FALSE(Lips(0).IsSpeaking());
    EXPECT_FALSE(Lips(0).IsShown());
    EXPECT_EQ(Lips(0).GetFrame(), 0);
    EXPECT_TRUE(Lips(1).IsShown());
    EXPECT_FALSE(Lips(1).IsSpeaking());
    Run(10);
    EXPECT_TRUE(IsChannelEmpty(m_channel)); // the event, and its waves, are gone
    Run(500);                               // ticks after that touch nothing freed

    // A talk flushed from its channel stops its mouth as it goes.
    Post(Event("Farmer.Talk(-1, a.wav)"), m_channel);
    Run(50);
    ASSERT_TRUE(Lips(1).IsSpeaking()); // -1: the current state
    FlushChannel(m_channel);
    EXPECT_FALSE(Lips(1).IsSpeaking());
    Run(300);

    // A talk deleted while it speaks takes its speech with it.
    CxEvent* dropped = Event("Farmer.Talk(1, a.wav, b.wav)");
    dropped->Start();
    Run(50);
    ASSERT_TRUE(Lips(1).IsSpeaking());
    delete dropped;
    EXPECT_FALSE(Lips(1).IsSpeaking());
    Run(300);

    // A later speech on the same mouth is not the old event's to stop.
    CTalkEvent* first = dynamic_cast<CTalkEvent*>(Event("Farmer.Talk(1, a.wav)"));
    first->Start();
    CxWave* wave = new CxWave;
    wave->Load("b.wav");
    m_farmer.TalkWave(wave, 1);
    EXPECT_TRUE(first->IsDone());
    delete first;
    EXPECT_TRUE(Lips(1).IsSpeaking());
    m_farmer.Stop();
    delete wave;
    Run(300);

    // Nor is it the old talk's to end when the channels finish it: a talk
    // posted elsewhere while the first still speaks goes on to its end.
    Post(Event("Farmer.Talk(1, a.wav, b.wav)"), m_channel);
    Run(50);
    ASSERT_TRUE(Lips(1).IsSpeaking());
    Post(Event("Farmer.Talk(1, b.wav)"), other);
    Run(50);
    EXPECT_TRUE(IsChannelEmpty(m_channel)); // the first is done, replaced
    EXPECT_TRUE(Lips(1).IsSpeaking());
    EXPECT_FALSE(IsChannelEmpty(other));
}

TEST_F(Characters, ATalkAskedOfACharacterWhoseRoomWasLeftEndsQuietly)
{
    Post(Event("Farmer.Talk(0, a.wav)"), m_channel);
    m_farmer.UnloadStates(); // its room went before the talk could start
    Run(50);
    EXPECT_TRUE(IsChannelEmpty(m_channel));
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(Characters, ATalkWhoseCharacterIsGoneIsDone)
{
    auto* farmer = new CDaxCharacter;
    ASSERT_EQ(farmer->Load("farmer.xni"), PIM_OK); // takes over the name
    Post(Event("Farmer.Talk(0, a.wav, b.wav)"), m_channel);
    Run(100);
    ASSERT_TRUE(farmer->GetLips(0)->IsSpeaking());
    delete farmer;
    Run(20);
    EXPECT_TRUE(IsChannelEmpty(m_channel));
}

TEST_F(Characters, PausingTheCharacterPausesItsMouthAndItsWave)
{
    Post(Event("Farmer.Talk(1, a.wav)"), m_channel);
    Run(100);
    CxWave* wave = Lips(1).GetCurrentWave();
    ASSERT_NE(wave, nullptr);
    const int frame = m_farmer.GetFrame();
    const int mouth = Lips(1).GetFrame();
    m_farmer.Pause();
    m_farmer.Pause();
    EXPECT_TRUE(wave->IsPaused());
    EXPECT_TRUE(Lips(1).GetTimer().IsPaused());
    EXPECT_TRUE(IsChannelPaused(m_channel)); // the talk reports its character's pause
    Run(1000);
    EXPECT_EQ(m_farmer.GetFrame(), frame);
    EXPECT_EQ(Lips(1).GetFrame(), mouth);
    EXPECT_FALSE(IsChannelEmpty(m_channel));
    m_farmer.Resume();
    EXPECT_TRUE(wave->IsPaused());
    m_farmer.Resume();
    EXPECT_FALSE(wave->IsPaused());
    Run(400);
    EXPECT_TRUE(IsChannelEmpty(m_channel));
}

namespace {

// Fails every allocation of exactly `g_failSize` bytes (the allocator's
// retry after its purge included).
size_t g_failSize = 0;
int g_failed = 0;
bool FailAtSize(size_t size)
{
    if (size != g_failSize)
        return false;
    ++g_failed;
    return true;
}

} // namespace

TEST_F(Characters, AWaveWithoutRoomForItsEnvelopeIsSkippedAndTheRestIsSaid)
{
    ErrorRecorder errors;
    Speech("long.wav", 3100); // 31 windows: an envelope of 32 entries, 128 bytes
    CxWave first, second;
    first.Load("long.wav");
    second.Load("b.wav");
    CxWave* waves[] = {&first, &second};
    g_failSize = 128;
    g_failed = 0;
    SetAllocationFailHook(&FailAtSize);
    ASSERT_EQ(m_farmer.TalkList(waves, 2, 0), PIM_OK);
    SetAllocationFailHook(nullptr);
    EXPECT_GT(g_failed, 0);
    EXPECT_EQ(Lips(0).GetWaveIndex(), 1);
    EXPECT_EQ(Lips(0).GetCurrentWave(), &second);
    EXPECT_FALSE(first.IsStarted());
    ASSERT_FALSE(errors.errors.empty());
    EXPECT_EQ(errors.errors.back().code, PIM_ERR_OUT_OF_MEMORY);
    Run(400);
    EXPECT_FALSE(Lips(0).IsSpeaking());
}

TEST_F(Characters, TalkArgumentsAndMouthsAreChecked)
{
    ErrorRecorder errors;
    // RandomTalk with no file makes no event; with two, the draw picks one.
    EXPECT_EQ(Event("Farmer.RandomTalk(0)"), nullptr);
    const int draws[] = {1};
    ScriptRandomDraws(draws, 1);
    std::unique_ptr<CxEvent> random(Event("Farmer.RandomTalk(0, a.wav, b.wav)"));
    auto* chosen = dynamic_cast<CTalkEvent*>(random.get());
    ASSERT_NE(chosen, nullptr);
    ASSERT_EQ(chosen->GetWaveCount(), 1u);
    EXPECT_STREQ(chosen->GetWave(0)->GetName(), "b.wav"); // 1 + 1 mod 2
    EXPECT_EQ(chosen->GetTalkState(), 0);

    // States outside 0 .. count - 1 are refused; -1 is the current one.
    errors.errors.clear();
    EXPECT_EQ(Event("Farmer.Talk(2, a.wav)"), nullptr);
    EXPECT_EQ(Event("Farmer.Talk(-2, a.wav)"), nullptr);
    EXPECT_EQ(Event("Farmer.Talk(0)"), nullptr);
    EXPECT_EQ(errors.errors.front().code, PIM_ERR_BAD_ARG);
    std::unique_ptr<CxEvent> current(Event("Farmer.Talk(-1, a.wav)"));
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(dynamic_cast<CTalkEvent*>(current.get())->GetTalkState(), -1);
    EXPECT_EQ(m_farmer.TalkList(nullptr, 0, 5), PIM_ERR_BAD_ARG);

    // LoadLips wants exactly five arguments and a state of the character;
    // refused mouths leave nothing behind.
    const int children = m_farmer.CountChildren();
    auto command = [&](std::initializer_list<const char*> words) {
        CxEventArgs list;
        list.Resize(words.size());
        size_t i = 0;
        for (const char* word : words)
            *list.Get(i++) = word;
        m_farmer.OnCommand("LoadLips", list);
    };
    errors.errors.clear();
    command({"mouth.tga", "-1", "0", "0", "1"});
    command({"mouth.tga", "2", "0", "0", "1"});
    EXPECT_EQ(errors.errors.size(), 2u);
    command({"mouth.tga", "1", "0", "0"});
    EXPECT_EQ(m_farmer.CountChildren(), children);
    EXPECT_EQ(m_farmer.SetLips(new CDaxLips, 9), PIM_ERR_BAD_ARG); // deleted, not kept
    CDaxLips* before = m_farmer.GetLips(1);
    command({"mouth.tga", "1", "3", "5", "0"});
    ASSERT_NE(m_farmer.GetLips(1), before);
    EXPECT_EQ(m_farmer.GetLips(1)->GetPosition(), CxPoint(3, 5));
    EXPECT_EQ(m_farmer.CountChildren(), children);

    // A state without a mouth still moves its body.
    ASSERT_EQ(m_farmer.SetLips(nullptr, 1), PIM_OK);
    errors.errors.clear();
    CxWave* none = nullptr;
    EXPECT_EQ(m_farmer.TalkList(&none, 1, 1), PIM_ERR_BAD_ARG);
    EXPECT_NE(errors.errors.back().message.find("No lips defined for this state"), std::string::npos);
    EXPECT_TRUE(m_farmer.IsPlaying());
}
