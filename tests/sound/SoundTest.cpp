// Sounds, queues and groups over the headless mixer on the virtual clock:
// what plays when, what is deleted, and what happens to data and voices.
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/files/CxOptions.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"
#include "PIM/sound/PimWavFile.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// A mono 16-bit tone file of `ms` milliseconds at 22050 Hz.
std::vector<uint8_t> Tone(int ms, double hertz = 440.0, double level = 0.5)
{
    const size_t frames = static_cast<size_t>(22050) * static_cast<size_t>(ms) / 1000;
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(std::lround(level * 32767.0 * std::sin(2.0 * M_PI * hertz * i / 22050.0)));
    return BuildPcmWav16(samples.data(), frames, 1, 22050);
}

std::vector<std::string> g_events;

void NoteDone(int, CxSound* sound)
{
    g_events.push_back(std::string("done ") + sound->GetName());
}

class Sounds : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.clear();
        PimSetClock(&m_clock);
        SetSoundRecordFile(nullptr);
    }
    void TearDown() override
    {
        ShutdownSound();
        ResetMainLoopCallbacks();
        PimSetClock(nullptr);
        SetSoundRecordFile(nullptr);
    }
    void Start(const char* ini = "")
    {
        std::string text = ini;
        for (size_t at = 0; at < text.size();) {
            const size_t end = std::min(text.find('\n', at), text.size());
            m_config.ParseLine(text.substr(at, end - at).c_str());
            at = end + 1;
        }
        ASSERT_EQ(InitSound(&m_config, HeadlessBackend().makeAudioDevice), PIM_OK);
    }
    // Lets `ms` milliseconds pass, a frame every 10.
    void Run(int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            m_clock.Advance(10);
            RunMainLoopCallbacks();
        }
    }
    CxWave* Make(const char* name, int ms, uint32_t flags = 0)
    {
        auto* wave = new CxWave;
        const std::vector<uint8_t> tone = Tone(ms);
        EXPECT_EQ(wave->LoadFromMemory(tone.data(), tone.size(), false), PIM_OK);
        wave->SetName(name);
        wave->SetPlayFlags(flags);
        wave->SetCallback(&NoteDone);
        return wave;
    }

    CxVirtualClock m_clock{5000};
    CxOptions m_config;
};

int Playing(const std::vector<CxWave*>& waves)
{
    return static_cast<int>(std::count_if(waves.begin(), waves.end(), [](CxWave* w) { return !w->IsDone(); }));
}

} // namespace

TEST_F(Sounds, AQueuePlaysInOrderWithoutOverlapAndStopQueueDropsTheRest)
{
    Start();
    std::vector<CxWave*> waves = {Make("a", 150, PIM_SOUND_QUEUED), Make("b", 150, PIM_SOUND_QUEUED),
                                  Make("c", 150, PIM_SOUND_QUEUED)};
    for (CxWave* w : waves) {
        w->SetQueue(2);
        w->Play();
    }
    EXPECT_TRUE(waves[0]->IsStarted());
    EXPECT_EQ(GetQueueLength(2), 3u);
    int most = 0;
    for (int t = 0; t < 1000; t += 10) {
        Run(10);
        most = std::max(most, Playing(waves));
    }
    EXPECT_EQ(most, 1);
    EXPECT_EQ(g_events, (std::vector<std::string>{"done a", "done b", "done c"}));
    EXPECT_TRUE(IsQueueEmpty(2));

    g_events.clear();
    for (CxWave* w : waves)
        w->Play();
    Run(50);
    EXPECT_FALSE(waves[0]->IsDone());
    StopQueue(2);
    EXPECT_TRUE(IsQueueEmpty(2));
    Run(500);
    for (CxWave* w : waves)
        EXPECT_FALSE(w->IsStarted());
    EXPECT_TRUE(g_events.empty());
    for (CxWave* w : waves)
        delete w;
    EXPECT_EQ(GetSoundCount(), 0u);
}

TEST_F(Sounds, QueueChoiceAndNumbersThatNameNoQueue)
{
    Start("[Engine.Sound]\nNumQueues=3\n");
    EXPECT_EQ(GetQueueCount(), 3);
    // All empty: the highest; then the emptiest, the highest of equals.
    CxWave* a = Make("a", 500, PIM_SOUND_QUEUED);
    CxWave* b = Make("b", 500, PIM_SOUND_QUEUED);
    CxWave* c = Make("c", 500, PIM_SOUND_QUEUED);
    a->Play();
    b->Play();
    c->Play();
    EXPECT_EQ(a->GetQueue(), 2);
    EXPECT_EQ(b->GetQueue(), 1);
    EXPECT_EQ(c->GetQueue(), 0);
    // Queue 7 was never made: the sound plays at once, unqueued.
    CxWave* d = Make("d", 500, PIM_SOUND_QUEUED);
    d->SetQueue(7);
    d->Play();
    EXPECT_TRUE(d->IsStarted());
    EXPECT_FALSE(d->IsQueued());
    EXPECT_TRUE(IsQueueEmpty(7));
    EXPECT_FALSE(IsQueueEmpty(2));
    EXPECT_FALSE(IsQueueEmpty(16));
    for (CxWave* w : {a, b, c, d})
        delete w;

    // No queues at all: every queued sound plays unqueued.
    ShutdownSound();
    Start("[Engine.Sound]\nNumQueues=-4\n");
    CxWave* e = Make("e", 100, PIM_SOUND_QUEUED);
    e->Play();
    EXPECT_TRUE(e->IsStarted());
    delete e;
}

TEST_F(Sounds, LoopsReplayThroughTheUpdateOrInTheMixer)
{
    Start();
    CxWave* wave = Make("loop", 100);
    wave->SetLoopCount(3);
    wave->Play();
    Run(1000);
    EXPECT_EQ(g_events, (std::vector<std::string>(3, "done loop")));
    // The data is locked once per start and unlocked once at the end.
    EXPECT_FALSE(wave->IsLocked());

    g_events.clear();
    wave->AddPlayFlags(PIM_SOUND_MIXER_LOOPS);
    wave->Play();
    EXPECT_TRUE(wave->IsLocked());
    Run(1000);
    EXPECT_EQ(g_events, std::vector<std::string>{"done loop"});
    EXPECT_FALSE(wave->IsLocked());
    delete wave;
}

TEST_F(Sounds, PlaybackRatePositionAndPause)
{
    Start();
    CxWave* wave = Make("slow", 200);
    EXPECT_EQ(wave->GetSampleLength(), 0u); // nothing playing
    wave->SetPlaybackRate(11025);           // half speed: twice as long
    wave->Play();
    EXPECT_EQ(wave->GetSampleLength(), 4410u);
    Run(200);
    EXPECT_FALSE(wave->IsDone());
    EXPECT_NEAR(static_cast<double>(wave->GetSamplePosition()), 2205.0, 300.0);
    // Paused, it keeps its place and the update leaves it alone.
    wave->Pause();
    const size_t at = wave->GetSamplePosition();
    Run(1000);
    EXPECT_EQ(wave->GetSamplePosition(), at);
    EXPECT_TRUE(g_events.empty());
    wave->Resume();
    Run(400);
    EXPECT_EQ(g_events, std::vector<std::string>{"done slow"});
    EXPECT_EQ(wave->GetPlaybackRate(), 11025);
    delete wave;
}

TEST_F(Sounds, AnExclusiveSoundPausesItsGroupAndWaits)
{
    Start();
    CxWave* music = Make("music", 2000);
    music->Play();
    Run(100);
    CxWave* voice = Make("voice", 200, PIM_SOUND_EXCLUSIVE);
    static CxWave* s_music;
    static bool s_pausedDuring;
    s_music = music;
    s_pausedDuring = false;
    voice->SetCallback([](int, CxSound*) { s_pausedDuring = s_music->IsPaused(); });
    const uint32_t before = m_clock.GetTicks();
    voice->Play();
    // The play waited for the voice to end, and time passed meanwhile.
    EXPECT_GE(m_clock.GetTicks() - before, 200u);
    EXPECT_TRUE(voice->IsDone());
    EXPECT_TRUE(s_pausedDuring);
    EXPECT_FALSE(music->IsPaused());
    EXPECT_FALSE(music->IsDone());

    // A wait for a sound the mixer loops for ever ends after one pass.
    CxWave* forever = Make("forever", 100, PIM_SOUND_WAIT | PIM_SOUND_MIXER_LOOPS);
    forever->SetLoopCount(0);
    const uint32_t start = m_clock.GetTicks();
    forever->Play();
    EXPECT_LT(m_clock.GetTicks() - start, 2000u);
    for (CxWave* w : {music, voice, forever})
        delete w;
}

TEST_F(Sounds, SelfDeletingSoundsAreNeverLeaked)
{
    TempFolder folder;
    const std::vector<uint8_t> tone = Tone(100);
    const std::string file = "<DEFAULT>" + folder.Write("beep.wav", std::string(tone.begin(), tone.end()));
    Start();
    EXPECT_EQ(PlaySoundFile(file.c_str(), false, 0), PIM_OK);
    EXPECT_EQ(GetSoundCount(), 1u);
    Run(500);
    EXPECT_EQ(GetSoundCount(), 0u);

    // A file that is not there: error 2, and nothing left behind.
    EXPECT_EQ(PlaySoundFile("<DEFAULT>/no/such/sound.wav", false, 0), PIM_ERR_OPEN);
    EXPECT_EQ(GetSoundCount(), 0u);

    // Queued sounds dropped before they played go too.
    for (int i = 0; i < 3; ++i)
        PlaySoundFile(file.c_str(), true, 1);
    EXPECT_EQ(GetSoundCount(), 3u);
    StopQueue(1);
    Run(300);
    EXPECT_EQ(GetSoundCount(), 0u);

    // A callback that deletes its own sound.
    CxWave* wave = Make("gone", 50);
    wave->SetCallback([](int, CxSound* sound) { delete sound; });
    wave->SetLoopCount(2);
    wave->Play();
    Run(500);
    EXPECT_EQ(GetSoundCount(), 0u);

    // ShutdownSound deletes the ones still waiting to.
    PlaySoundFile(file.c_str(), false, 0);
    ShutdownSound();
    EXPECT_EQ(GetSoundCount(), 0u);
}

TEST_F(Sounds, LoadingSetsTheKindFromTheNameEveryTime)
{
    TempFolder folder;
    const std::vector<uint8_t> tone = Tone(20);
    const std::string wav = "<DEFAULT>" + folder.Write("Song.WAV", std::string(tone.begin(), tone.end()));
    const std::string mp3 = "<DEFAULT>" + folder.Write("Song.Mp3", "not really");
    const std::string raw = "<DEFAULT>" + folder.Write("speech.raw", std::string(400, '\0'));
    Start();
    CxWave wave;
    ASSERT_EQ(wave.Load(mp3.c_str()), PIM_OK);
    EXPECT_EQ(wave.GetPlayFlags() & (PIM_SOUND_MP3 | PIM_SOUND_RAW), uint32_t{PIM_SOUND_MP3});
    ASSERT_EQ(wave.Load(wav.c_str()), PIM_OK);
    EXPECT_EQ(wave.GetPlayFlags() & (PIM_SOUND_MP3 | PIM_SOUND_RAW), 0u);
    ASSERT_EQ(wave.Load(raw.c_str()), PIM_OK);
    EXPECT_EQ(wave.GetPlayFlags() & (PIM_SOUND_MP3 | PIM_SOUND_RAW), uint32_t{PIM_SOUND_RAW});
    EXPECT_EQ(wave.Load("<DEFAULT>/nowhere.wav"), PIM_ERR_OPEN);
    EXPECT_FALSE(wave.IsLoaded());

    // The wave information and an edit of the data.
    ASSERT_EQ(wave.Load(wav.c_str()), PIM_OK);
    ST_WAVE_INFO info;
    ASSERT_EQ(wave.GetFormat(info), PIM_OK);
    EXPECT_EQ(info.rate, 22050u);
    EXPECT_EQ(info.samples, 441u);
    EXPECT_EQ(wave.CompressADPCM(), PIM_OK);
    EXPECT_TRUE(wave.IsADPCM());
    EXPECT_EQ(wave.DecompressADPCM(), PIM_OK);
    EXPECT_FALSE(wave.IsADPCM());
}

TEST_F(Sounds, VolumesAndWhatIsRecorded)
{
    // Without a sound system the master volume keeps the value set.
    SetMasterVolume(90);
    EXPECT_EQ(GetMasterVolume(), 90);

    TempFolder folder;
    const std::string out = folder.Path() + "/mixed.wav";
    SetSoundRecordFile(("<DEFAULT>" + out).c_str());
    Start("[Engine.Sound]\nMasterVolume=127\n");
    EXPECT_EQ(GetMasterVolume(), 127);
    CxWave* wave = Make("tone", 300);
    wave->SetVolume(127);
    wave->Play();
    Run(500);
    delete wave;
    ShutdownSound();
    EXPECT_EQ(GetSoundRecordResult(), PIM_OK);

    // The tone at half level is in the file: its peak is about half scale.
    std::ifstream in(out, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 44u + 2u * 22050u * 500u / 1000u); // 500 ms were mixed
    int peak = 0;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2) {
        const int sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        peak = std::max(peak, std::abs(sample));
    }
    EXPECT_NEAR(peak, 16384, 400);
}

TEST_F(Sounds, WithoutADeviceTheGamePlaysSilentlyAndAFailedRecordingLeavesNoFile)
{
    // No maker, or one that makes nothing: 13, and silence that is no error.
    ErrorRecorder errors;
    EXPECT_EQ(InitSound(&m_config, nullptr), PIM_ERR_UNKNOWN);
    EXPECT_TRUE(IsSoundStarted());
    EXPECT_FALSE(IsSoundAvailable());
    CxWave* wave = Make("unheard", 100);
    wave->Play();
    Run(200);
    delete wave;
    ShutdownSound();
    EXPECT_EQ(InitSound(&m_config, [] { return std::unique_ptr<CxAudioDevice>(); }), PIM_ERR_UNKNOWN);
    EXPECT_FALSE(IsSoundAvailable());
    ShutdownSound();
    EXPECT_TRUE(errors.errors.empty());

    // A recording that cannot be made is reported; the sound plays on.
    TempFolder folder;
    SetSoundRecordFile(("<DEFAULT>" + folder.Path() + "/missing/mixed.wav").c_str());
    Start();
    EXPECT_TRUE(IsSoundAvailable());
    wave = Make("heard", 100);
    wave->Play();
    Run(200);
    EXPECT_TRUE(wave->IsDone());
    delete wave;
    ShutdownSound();
    EXPECT_EQ(errors.errors.size(), 1u);
    EXPECT_NE(GetSoundRecordResult(), PIM_OK);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    // The next run without a recording has nothing to answer for.
    SetSoundRecordFile(nullptr);
    Start();
    ShutdownSound();
    EXPECT_EQ(GetSoundRecordResult(), PIM_OK);
}
