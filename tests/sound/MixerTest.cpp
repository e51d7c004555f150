// The mixer: levels and saturation, channel and rate conversion, pausing,
// loop counts, voice states and handles, and Mix racing the game's calls.

#include "PIM/core/CxError.h"
#include "PIM/sound/CxMixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <ostream>
#include <random>
#include <thread>
#include <vector>

// Readable failures: gtest finds this beside the enum.
void PrintTo(EVoiceStatus status, std::ostream* out)
{
    static const char* const kNames[] = {"Free", "Done", "Stopped", "Playing", "PlayingReleased"};
    *out << kNames[static_cast<int>(status)];
}

namespace {

std::vector<int16_t> Mixed(CxMixer& mixer, size_t frames)
{
    std::vector<int16_t> out(frames * mixer.GetChannels(), 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

// 1, 2, 3, ...: every frame tells where it came from.
std::vector<int16_t> Ramp(size_t frames, int16_t first = 1)
{
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(first + static_cast<int>(i));
    return samples;
}

int Play(CxMixer& mixer, const std::vector<int16_t>& samples, uint16_t channels, uint32_t rate, int loops = 1)
{
    const int voice = mixer.AllocateVoice();
    EXPECT_GT(voice, 0);
    EXPECT_EQ(mixer.SetVoiceData(voice, samples.data(), samples.size() / channels, channels, rate), PIM_OK);
    mixer.SetLoopCount(voice, loops);
    mixer.Start(voice);
    return voice;
}

bool AllEqual(const std::vector<int16_t>& samples, size_t from, size_t to, int16_t value)
{
    for (size_t i = from; i < to; ++i)
        if (samples[i] != value)
            return false;
    return true;
}

} // namespace

TEST(Mixer, LevelsScaleAndSumsSaturate)
{
    CxMixer mixer(22050, 1);
    // 440 Hz at full scale, at half volume: the peak is half of full scale.
    std::vector<int16_t> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int16_t>(
            std::lround(32767.0 * std::sin(2.0 * std::numbers::pi * 440.0 * static_cast<double>(i) / 22050.0)));
    const int voice = Play(mixer, tone, 1, 22050);
    std::vector<int16_t> out = Mixed(mixer, 1000);
    EXPECT_EQ(out, std::vector<int16_t>(tone.begin(), tone.begin() + 1000)); // equal rates copy exactly
    mixer.SetVolume(voice, 0.5f, 0.5f);
    out = Mixed(mixer, 2000);
    int peak = 0;
    for (int16_t s : out)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 16383, 1);
    mixer.SetMasterLevel(0.5f);
    out = Mixed(mixer, 2000);
    peak = 0;
    for (int16_t s : out)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 8191, 1);
    mixer.SetMasterLevel(7.0f);
    EXPECT_EQ(mixer.GetMasterLevel(), 1.0f);
    mixer.SetMasterLevel(-1.0f);
    EXPECT_EQ(mixer.GetMasterLevel(), 0.0f);
    EXPECT_TRUE(AllEqual(Mixed(mixer, 500), 0, 500, 0));
    mixer.SetMasterLevel(1.0f);
    mixer.ReleaseVoice(voice);

    // Two loud voices add, and clip at the ends of the range instead of wrapping.
    std::vector<int16_t> high(100, 20000), low(100, -20000), small(100, 1000);
    const int a = Play(mixer, high, 1, 22050);
    const int b = Play(mixer, high, 1, 22050);
    EXPECT_TRUE(AllEqual(Mixed(mixer, 100), 0, 100, 32767));
    mixer.Start(a);
    const int c = Play(mixer, small, 1, 22050);
    mixer.SetVolume(a, 0.25f, 0.25f);
    EXPECT_TRUE(AllEqual(Mixed(mixer, 100), 0, 100, 6000));
    for (int v : {a, b, c})
        mixer.ReleaseVoice(v);
    Play(mixer, low, 1, 22050);
    Play(mixer, low, 1, 22050);
    EXPECT_TRUE(AllEqual(Mixed(mixer, 100), 0, 100, -32768));
    // Nothing playing: silence, whatever the buffer held.
    EXPECT_TRUE(AllEqual(Mixed(mixer, 300), 0, 300, 0));
}

TEST(Mixer, ChannelsAreDuplicatedOrAveraged)
{
    // Mono into stereo: both sides, each at its own volume.
    CxMixer stereo(22050, 2);
    const std::vector<int16_t> mono = {1000, -2000, 3000};
    const int voice = Play(stereo, mono, 1, 22050);
    stereo.SetVolume(voice, 1.0f, 0.5f);
    EXPECT_EQ(Mixed(stereo, 4), (std::vector<int16_t>{1000, 500, -2000, -1000, 3000, 1500, 0, 0}));
    // Stereo into stereo keeps the sides apart.
    const std::vector<int16_t> pairs = {100, -100, 200, -200};
    Play(stereo, pairs, 2, 22050);
    EXPECT_EQ(Mixed(stereo, 2), pairs);

    // Stereo into mono: the mean of the sides, at the mean of the volumes.
    CxMixer single(22050, 1);
    const std::vector<int16_t> sides = {1000, 3000, -400, 0, 32767, 32767};
    const int s = Play(single, sides, 2, 22050);
    EXPECT_EQ(Mixed(single, 3), (std::vector<int16_t>{2000, -200, 32767}));
    single.SetVolume(s, 1.0f, 0.0f);
    single.Start(s);
    EXPECT_EQ(Mixed(single, 1), (std::vector<int16_t>{1000}));
}

TEST(Mixer, PauseKeepsThePlaceAndResumeContinues)
{
    CxMixer mixer(22050, 1);
    const std::vector<int16_t> ramp = Ramp(300);
    const int voice = Play(mixer, ramp, 1, 22050);
    std::vector<int16_t> out = Mixed(mixer, 100);
    EXPECT_EQ(out.back(), 100);
    mixer.Stop(voice);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Stopped);
    EXPECT_TRUE(AllEqual(Mixed(mixer, 250), 0, 250, 0));
    EXPECT_EQ(mixer.GetPosition(voice), 100u);
    mixer.Resume(voice);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Playing);
    out = Mixed(mixer, 250);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 200), Ramp(200, 101));
    EXPECT_TRUE(AllEqual(out, 200, 250, 0));
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);
    EXPECT_EQ(mixer.GetPosition(voice), 300u);
    // Resume does not restart a finished voice; Start does, from the top.
    mixer.Resume(voice);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);
    mixer.Start(voice);
    EXPECT_EQ(Mixed(mixer, 1).front(), 1);
}

TEST(Mixer, LoopCountsPlayWholePassesBackToBack)
{
    CxMixer mixer(22050, 1);
    const std::vector<int16_t> ramp = Ramp(100);
    const int voice = Play(mixer, ramp, 1, 22050, 3);
    // Uneven chunks, so that the ends of passes fall inside mixes.
    std::vector<int16_t> out;
    for (size_t chunk : {37u, 64u, 98u, 100u})
        for (int16_t s : Mixed(mixer, chunk))
            out.push_back(s);
    ASSERT_EQ(out.size(), 299u);
    for (size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(out[i], ramp[i % 100]) << i;
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Playing);
    out = Mixed(mixer, 10);
    EXPECT_EQ(out[0], 100);
    EXPECT_TRUE(AllEqual(out, 1, 10, 0));
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);

    // 0 loops for ever.
    mixer.SetLoopCount(voice, 0);
    mixer.Start(voice);
    out = Mixed(mixer, 100 * 50 + 30);
    EXPECT_EQ(out.back(), 30);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Playing);
    EXPECT_EQ(mixer.GetPosition(voice), 30u);

    // Letting go of the loop: it still plays, released, and ends with this pass.
    mixer.SetLoopCount(voice, 1);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::PlayingReleased);
    out = Mixed(mixer, 80);
    EXPECT_EQ(out[69], 100);
    EXPECT_TRUE(AllEqual(out, 70, 80, 0));
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);
    // Taking it back before the end keeps it playing.
    mixer.SetLoopCount(voice, 0);
    mixer.Start(voice);
    Mixed(mixer, 10);
    mixer.SetLoopCount(voice, 1);
    mixer.SetLoopCount(voice, 5);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Playing);
    mixer.SetLoopCount(voice, -4); // taken as once
    EXPECT_EQ(mixer.GetLoopCount(voice), 1);
}

TEST(Mixer, OtherRatesAreSteppedAndInterpolated)
{
    CxMixer mixer(22050, 1);
    std::vector<int16_t> source(100);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<int16_t>(i * 100);
    const int voice = Play(mixer, source, 1, 11025, 2);
    // Half the rate: twice the output frames, each second one between its
    // neighbours, and the seam between passes leans into the next pass.
    const std::vector<int16_t> out = Mixed(mixer, 401);
    for (size_t i = 0; i < 399; ++i) {
        const size_t at = (i / 2) % 100;
        const int expected = (i % 2 == 0) ? source[at] : (source[at] + source[(at + 1) % 100]) / 2;
        ASSERT_EQ(out[i], expected) << i;
    }
    // The last frame of the last pass is held, not drawn toward silence.
    EXPECT_EQ(out[399], 9900);
    EXPECT_EQ(out[400], 0);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);
    // A rate change applies at once: twice as fast skips every second frame.
    mixer.Start(voice);
    Mixed(mixer, 20); // source frame 10
    mixer.SetPlaybackRate(voice, 44100);
    EXPECT_EQ(mixer.GetPlaybackRate(voice), 44100u);
    const std::vector<int16_t> fast = Mixed(mixer, 3);
    EXPECT_EQ(fast, (std::vector<int16_t>{1000, 1200, 1400}));
    mixer.SetPlaybackRate(voice, 0); // ignored
    EXPECT_EQ(mixer.GetPlaybackRate(voice), 44100u);

    // A rate that is no simple ratio still lasts rate-true: 100 frames at
    // 8000 Hz into 22050 take ceil(100 x 22050 / 8000) = 276 frames.
    mixer.SetPlaybackRate(voice, 8000);
    mixer.SetLoopCount(voice, 1);
    mixer.Start(voice);
    Mixed(mixer, 275);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Playing);
    Mixed(mixer, 1);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);
    // A short loop at a high rate: several passes go by in one output frame
    // (10 frames x 1000 passes at 1 MHz into 22050 Hz: 221 output frames).
    ASSERT_EQ(mixer.SetVoiceData(voice, source.data(), 10, 1, CxMixer::kMaxSourceRate), PIM_OK);
    mixer.SetLoopCount(voice, 1000);
    mixer.Start(voice);
    Mixed(mixer, 200);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Playing);
    Mixed(mixer, 100);
    EXPECT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done);
}

TEST(Mixer, EveryVoiceEndsOnTheFrameItsRateAndLoopsGive)
{
    // Short samples at awkward rates, mixed in odd pieces: each voice must
    // read only its own buffer (exact-size vectors, so a sanitizer sees any
    // overrun) and end on the output frame where its last pass runs out.
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const uint32_t outputRate = 8000 + random() % 40000;
        const uint16_t outputChannels = static_cast<uint16_t>(1 + random() % 2);
        const uint16_t channels = static_cast<uint16_t>(1 + random() % 2);
        const size_t frames = 1 + random() % 6;
        const uint32_t rate = round % 4 == 0 ? outputRate : 1000 + random() % 90000;
        const int loops = 1 + static_cast<int>(random() % 4);
        CxMixer mixer(outputRate, outputChannels);
        std::vector<int16_t> samples(frames * channels);
        for (int16_t& sample : samples)
            sample = static_cast<int16_t>(random());
        const int voice = mixer.AllocateVoice();
        ASSERT_EQ(mixer.SetVoiceData(voice, samples.data(), frames, channels, rate), PIM_OK);
        mixer.SetLoopCount(voice, loops);
        mixer.Start(voice);

        const uint64_t step = (uint64_t{rate} << 32) / outputRate;
        const uint64_t expected = ((uint64_t{frames * static_cast<size_t>(loops)} << 32) + step - 1) / step;
        uint64_t mixed = 0;
        while (mixer.GetStatus(voice) == EVoiceStatus::Playing && mixed <= expected) {
            const size_t piece = 1 + random() % 5;
            const std::vector<int16_t> out = Mixed(mixer, piece);
            if (mixer.GetStatus(voice) == EVoiceStatus::Done) {
                ASSERT_GT(expected, mixed) << round;
                ASSERT_LE(expected, mixed + piece) << round;
                // After its end the voice adds nothing.
                ASSERT_TRUE(AllEqual(out, (expected - mixed) * outputChannels, out.size(), 0)) << round;
            }
            mixed += piece;
        }
        ASSERT_EQ(mixer.GetStatus(voice), EVoiceStatus::Done) << round;
    }
}

TEST(Mixer, StatesAndHandles)
{
    CxMixer mixer(22050, 2, 2);
    const std::vector<int16_t> ramp = Ramp(50);
    const int a = mixer.AllocateVoice();
    const int b = mixer.AllocateVoice();
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(mixer.AllocateVoice(), 0); // all taken
    EXPECT_EQ(mixer.GetStatus(a), EVoiceStatus::Done);
    mixer.Start(a); // no data yet
    EXPECT_EQ(mixer.GetStatus(a), EVoiceStatus::Done);
    ASSERT_EQ(mixer.SetVoiceData(a, ramp.data(), ramp.size(), 1, 22050), PIM_OK);
    EXPECT_EQ(mixer.GetLength(a), 50u);
    mixer.Stop(a); // not playing: stays as it was
    EXPECT_EQ(mixer.GetStatus(a), EVoiceStatus::Done);
    mixer.Start(a);
    EXPECT_EQ(mixer.GetStatus(a), EVoiceStatus::Playing);
    Mixed(mixer, 10);
    // New data stops the voice at its start.
    ASSERT_EQ(mixer.SetVoiceData(a, ramp.data(), 20, 1, 11025), PIM_OK);
    EXPECT_EQ(mixer.GetStatus(a), EVoiceStatus::Done);
    EXPECT_EQ(mixer.GetPosition(a), 0u);
    EXPECT_EQ(mixer.GetPlaybackRate(a), 11025u);

    // Bad data leaves the voice alone.
    EXPECT_EQ(mixer.SetVoiceData(a, nullptr, 10, 1, 22050), PIM_ERR_BAD_ARG);
    EXPECT_EQ(mixer.SetVoiceData(a, ramp.data(), 10, 3, 22050), PIM_ERR_BAD_ARG);
    EXPECT_EQ(mixer.SetVoiceData(a, ramp.data(), 10, 1, 0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(mixer.GetLength(a), 20u);
    float left = -1, right = -1;
    mixer.SetVolume(a, 2.0f, -0.5f);
    mixer.GetVolume(a, left, right);
    EXPECT_EQ(left, 1.0f);
    EXPECT_EQ(right, 0.0f);

    // A released handle is dead, even once its slot is handed out again.
    mixer.ReleaseVoice(a);
    EXPECT_EQ(mixer.GetStatus(a), EVoiceStatus::Free);
    const int again = mixer.AllocateVoice();
    ASSERT_GT(again, 0);
    EXPECT_NE(again, a);
    ASSERT_EQ(mixer.SetVoiceData(again, ramp.data(), ramp.size(), 1, 22050), PIM_OK);
    mixer.Start(again);
    for (int dead : {a, 0, -1, -a, 3, 1 << 11, 0x7FFFFFFF}) {
        mixer.Stop(dead);
        mixer.ReleaseVoice(dead);
        mixer.SetVolume(dead, 0, 0);
        mixer.SetLoopCount(dead, 0);
        mixer.SetPlaybackRate(dead, 5);
        mixer.Start(dead);
        mixer.Resume(dead);
        EXPECT_EQ(mixer.SetVoiceData(dead, ramp.data(), 5, 1, 22050), PIM_ERR_BAD_ARG);
        EXPECT_EQ(mixer.GetStatus(dead), EVoiceStatus::Free) << dead;
        EXPECT_EQ(mixer.GetPosition(dead), 0u);
        EXPECT_EQ(mixer.GetLength(dead), 0u);
        EXPECT_EQ(mixer.GetPlaybackRate(dead), 0u);
    }
    // The live voice was not touched by any of that.
    EXPECT_EQ(mixer.GetStatus(again), EVoiceStatus::Playing);
    EXPECT_EQ(Mixed(mixer, 1), (std::vector<int16_t>{1, 1}));
    EXPECT_EQ(mixer.GetLoopCount(again), 1);

    // Odd construction arguments are made usable.
    CxMixer odd(0, 7, 100000);
    EXPECT_EQ(odd.GetRate(), 22050u);
    EXPECT_EQ(odd.GetChannels(), 2);
    EXPECT_EQ(odd.GetMaxVoices(), CxMixer::kMaxVoices);
    odd.Mix(nullptr, 100);
}

TEST(Mixer, MixRacesTheGamesCalls)
{
    CxMixer mixer(22050, 2, 8);
    const std::vector<int16_t> a = Ramp(333), b = Ramp(77, -500);
    std::atomic<bool> stop{false};
    std::thread device([&] {
        std::vector<int16_t> out(2 * 700);
        while (!stop.load())
            CxMixer::Pull(&mixer, out.data(), 700);
    });
    std::vector<int> live;
    for (int round = 0; round < 20000; ++round) {
        int voice = mixer.AllocateVoice();
        if (voice == 0) {
            mixer.ReleaseVoice(live.front());
            live.erase(live.begin());
            voice = mixer.AllocateVoice();
        }
        ASSERT_GT(voice, 0);
        const std::vector<int16_t>& data = round % 2 ? a : b;
        mixer.SetVoiceData(voice, data.data(), data.size(), 1, 8000 + 997 * static_cast<uint32_t>(round % 40));
        mixer.SetLoopCount(voice, round % 3);
        mixer.Start(voice);
        mixer.SetPlaybackRate(voice, 44100);
        if (round % 5 == 0)
            mixer.Stop(voice);
        if (round % 2 == 0)
            mixer.ReleaseVoice(voice);
        else
            live.push_back(voice);
    }
    stop.store(true);
    device.join();
}

TEST(Mixer, TheOutputTapHearsEveryMixedFrameUntilItIsTakenAway)
{
    CxMixer mixer(22050, 2, 4);
    struct ST_HEARD
    {
        std::vector<int16_t> samples;
        std::vector<size_t> calls;
    } heard;
    auto tap = [](void* context, const int16_t* samples, size_t frames) {
        auto* self = static_cast<ST_HEARD*>(context);
        self->samples.insert(self->samples.end(), samples, samples + frames * 2);
        self->calls.push_back(frames);
    };
    const std::vector<int16_t> ramp = Ramp(1500);
    Play(mixer, ramp, 1, 22050);
    // Nothing is heard before the tap is set.
    Mixed(mixer, 10);
    mixer.SetOutputTap(tap, &heard);
    // One call per Mix, however many chunks the mix took; Mix(0) says nothing.
    std::vector<int16_t> expected;
    for (size_t frames : {size_t{700}, size_t{1}, size_t{0}, size_t{1000}}) {
        const std::vector<int16_t> out = Mixed(mixer, frames);
        expected.insert(expected.end(), out.begin(), out.end());
    }
    EXPECT_EQ(heard.calls, (std::vector<size_t>{700, 1, 1000}));
    EXPECT_EQ(heard.samples, expected);
    EXPECT_EQ(heard.samples[0], 11); // where the voice was when the tap came
    mixer.SetOutputTap(nullptr, nullptr);
    Mixed(mixer, 50);
    EXPECT_EQ(heard.calls.size(), 3u);
}

TEST(Mixer, ATapTakenAwayIsNeverRunningOnceTheCallReturns)
{
    CxMixer mixer(22050, 1, 2);
    struct ST_LISTENER
    {
        std::atomic<int> inside{0};
        std::atomic<int> calls{0};
    };
    auto tap = [](void* context, const int16_t*, size_t) {
        auto* self = static_cast<ST_LISTENER*>(context);
        ++self->inside;
        ++self->calls;
        std::this_thread::yield();
        --self->inside;
    };
    std::atomic<bool> stop{false};
    std::thread device([&] {
        std::vector<int16_t> out(300);
        while (!stop.load())
            CxMixer::Pull(&mixer, out.data(), 300);
    });
    for (int round = 0; round < 200; ++round) {
        auto listener = std::make_unique<ST_LISTENER>();
        mixer.SetOutputTap(tap, listener.get());
        while (listener->calls.load() == 0)
            std::this_thread::yield();
        mixer.SetOutputTap(nullptr, nullptr);
        // Gone now: the device thread may no longer touch it.
        ASSERT_EQ(listener->inside.load(), 0) << round;
    }
    stop.store(true);
    device.join();
}
