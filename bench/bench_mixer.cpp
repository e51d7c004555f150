// The mixer's cost: 16 looping voices mixed at 22050 Hz into mono and into
// stereo output, one second of audio per call, in the 1024-frame pieces a
// device asks for. The budget is 5 % of a core, i.e. under 50 ms of CPU per
// second of audio.
//
// The reference, in the same run, is SDL_MixAudioFormat adding the same 16
// voices, already in the output's format (SDL's mixer converts nothing, so
// for stereo output it gets each voice duplicated beforehand), each at half
// volume as ours are. The "resampled" cases feed ours sources at 11025 and
// 16000 Hz, which it steps and interpolates; SDL's side stays the same.
//
// BM_Mixer/<case> reports "ms_per_audio_s" (our time per second of audio),
// "ratio" (our time / SDL's; below 1 is faster). Both sides are timed in
// alternating rounds and each keeps its best round, so a burst of load on the
// shared machine hits both alike.
//
// Measured on the 2-core build machine (Release, g++ 12, plain x86-64; load
// average 7 to 12 from other builds), thread CPU time, ranges over four runs:
//   mono              0.55-0.63 ms per audio second   ratio 0.58-0.74
//   stereo            0.51-0.82 ms                    ratio 0.42-0.44
//   mono_resampled    0.82-0.95 ms                    ratio 0.99-1.05
//   stereo_resampled  0.92-1.31 ms                    ratio 0.67-0.77
// So about 0.1 % of a core, far inside the 5 % budget; interpolating costs
// what SDL's plain add does.

#include "PIM/sound/CxMixer.h"

#include <SDL.h>
#include "bench/BenchTiming.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;
constexpr int kVoices = 16;
constexpr size_t kPiece = 1024; // frames per device pull

// One second of a tone with a little of its octave, for voice `index`.
std::vector<int16_t> Tone(int index, uint32_t rate)
{
    std::vector<int16_t> samples(rate);
    const double frequency = 110.0 * (1.0 + index * 0.37);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double value = std::sin(2 * std::numbers::pi * frequency * t) * 0.6 +
                             std::sin(4 * std::numbers::pi * frequency * t) * 0.3;
        samples[i] = static_cast<int16_t>(std::lround(value * 32767.0));
    }
    return samples;
}

struct ST_MIXER_BENCH
{
    std::string label;
    std::function<void()> ours;
    std::function<void()> sdl;
};

// A case: our mixer with 16 voices playing, and SDL's buffers of the same sound.
struct ST_CASE
{
    uint16_t channels;
    std::unique_ptr<CxMixer> mixer;
    std::vector<std::vector<int16_t>> sources;   // what our voices play
    std::vector<std::vector<int16_t>> reference; // the same at 22050 Hz in the output's layout
    std::vector<int16_t> out;

    ST_CASE(uint16_t outputChannels, bool resampled)
        : channels(outputChannels), mixer(std::make_unique<CxMixer>(kRate, outputChannels))
    {
        out.resize(kPiece * channels);
        for (int v = 0; v < kVoices; ++v) {
            const uint32_t rate = resampled ? (v % 2 ? 11025u : 16000u) : kRate;
            sources.push_back(Tone(v, rate));
            const std::vector<int16_t> plain = Tone(v, kRate);
            std::vector<int16_t> laid(plain.size() * channels);
            for (size_t i = 0; i < plain.size(); ++i)
                for (uint16_t c = 0; c < channels; ++c)
                    laid[i * channels + c] = plain[i];
            reference.push_back(std::move(laid));
        }
        for (int v = 0; v < kVoices; ++v) {
            const int voice = mixer->AllocateVoice();
            const auto& data = sources[static_cast<size_t>(v)];
            const uint32_t rate = static_cast<uint32_t>(data.size()); // one second each
            mixer->SetVoiceData(voice, data.data(), data.size(), 1, rate);
            mixer->SetVolume(voice, 0.5f, 0.5f);
            mixer->SetLoopCount(voice, 0);
            mixer->Start(voice);
        }
    }

    void MixOurs()
    {
        for (size_t done = 0; done < kRate; done += kPiece) {
            mixer->Mix(out.data(), std::min(kPiece, kRate - done));
            benchmark::DoNotOptimize(out.data());
        }
    }

    void MixSdl()
    {
        for (size_t done = 0; done < kRate; done += kPiece) {
            const size_t frames = std::min(kPiece, kRate - done);
            const auto bytes = static_cast<Uint32>(frames * channels * sizeof(int16_t));
            std::fill(out.begin(), out.end(), int16_t{0});
            auto* target = reinterpret_cast<Uint8*>(out.data());
            for (const auto& voice : reference)
                SDL_MixAudioFormat(target, reinterpret_cast<const Uint8*>(voice.data() + done * channels),
                                   AUDIO_S16SYS, bytes, SDL_MIX_MAXVOLUME / 2);
            benchmark::DoNotOptimize(out.data());
        }
    }
};

struct ST_FIXTURE
{
    ST_CASE mono{1, false}, stereo{2, false}, monoResampled{1, true}, stereoResampled{2, true};
    std::vector<ST_MIXER_BENCH> cases;

    ST_FIXTURE()
    {
        Add("mono", mono);
        Add("stereo", stereo);
        Add("mono_resampled", monoResampled);
        Add("stereo_resampled", stereoResampled);
    }
    void Add(const char* label, ST_CASE& c)
    {
        cases.push_back({label, [&c] { c.MixOurs(); }, [&c] { c.MixSdl(); }});
    }
};

ST_FIXTURE& Fixture()
{
    static ST_FIXTURE fixture;
    return fixture;
}


void BM_Mixer(benchmark::State& state, const ST_MIXER_BENCH* c)
{
    for (auto _ : state)
        c->ours();
    const auto [ours, reference] = BestRounds(c->ours, c->sdl, 2e7, 7);
    // One call is one second of audio.
    state.counters["ms_per_audio_s"] = ours / 1e6;
    state.counters["ratio"] = ours / reference;
}

void BM_Sdl(benchmark::State& state, const ST_MIXER_BENCH* c)
{
    for (auto _ : state)
        c->sdl();
}

const bool g_registered = [] {
    for (const ST_MIXER_BENCH& c : Fixture().cases) {
        benchmark::RegisterBenchmark(("BM_Mixer/" + c.label).c_str(), BM_Mixer, &c)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_Sdl/" + c.label).c_str(), BM_Sdl, &c)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
