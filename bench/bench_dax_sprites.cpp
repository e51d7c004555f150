// The game layer's sprites on their per-frame path, and lip sync's envelope.
//
//   SpriteStep    50 scripted sprites (CDaxSprite, loaded from a description
//                 file) playing a four-frame strip at 12 fps on screen: one
//                 step is 10 ms of virtual time and one round of the
//                 animations. Reference: 50 plain CxSprites with a
//                 CxAnimation each, given the same action by hand. The
//                 step must allocate nothing (the engine's allocator and
//                 the global operator new are both counted over 2,000
//                 steps) and take under 0.1 ms.
//   PrepareWave   the envelope of 10 s of 22,050 Hz mono 16-bit speech.
//                 Reference: one plain sum of |s| over the same samples, the
//                 least any envelope must read. Budget: 1 ms.
// Both report "ratio" = ours / reference from alternating rounds of the
// same run (BenchTiming.h).
//
// Measured on the 2-core build machine (Release, g++ 12, other builds
// running beside): SpriteStep 1.5-2.8 us a step for all 50, ratio 1.0 (a
// scripted sprite adds nothing per frame: its states only choose the
// actions its animation plays), no allocation; PrepareWave 0.14 ms, ratio
// 1.0 against the bare sum (the per-window division and the scaling pass
// over 101 entries cost nothing beside reading 220,500 samples).

#include "DAX/sprites/CDaxSprite.h"
#include "DAX/sprites/DaxPrepareWave.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "bench/BenchNewCounter.h"
#include "bench/BenchTiming.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kSprites = 50;
constexpr int kSteps = 2000;

class SpriteScene
{
public:
    SpriteScene()
    {
        PimSetClock(&m_clock);
        RegisterDefaultImageFilters();
        InitDisplay(CxSize(800, 600), 1);
        m_fs = std::make_unique<CxDirectoryFileSystem>("<Bench>", m_folder.Path().c_str());
        CxDrawSurface strip;
        strip.Create(4 * 48, 48, 16);
        for (int f = 0; f < 4; ++f)
            strip.FillRect(CxRect(f * 48, 0, f * 48 + 47, 47), 0x1000u * static_cast<uint32_t>(f + 1));
        strip.Save("<Bench>strip.tga");
        m_folder.Write("walker.xni", "[PimSprite]\nNumStates=1\nAutoRegisterEventName=0\n"
                                     "[State000]\nFileName=strip.tga\nNumFrames=4\nFrameRate=12\n");
        for (int i = 0; i < kSprites; ++i) {
            auto sprite = std::make_unique<CDaxSprite>();
            sprite->Load("<Bench>walker.xni");
            sprite->SetParent(GetRootObject());
            sprite->MoveTo((i % 10) * 70, (i / 10) * 70);
            sprite->PlayInfinite(0);
            m_sprites.push_back(std::move(sprite));

            auto plain = std::make_unique<CxSprite>();
            plain->Load("<Bench>strip.tga", 4);
            plain->SetParent(GetRootObject());
            plain->MoveTo((i % 10) * 70 + 20, (i / 10) * 70 + 20);
            auto animation = std::make_unique<CxAnimation>();
            ST_ANIM_ACTION action;
            action.flags = PIM_ANIM_FRAME_RATE | PIM_ANIM_START_FRAME | PIM_ANIM_END_FRAME;
            action.frameRate = 12.0f;
            action.endFrame = 3;
            animation->SetDisplayObject(plain.get());
            animation->AddActions(&action, 1);
            animation->SetLoopCount(999999999);
            m_plain.push_back(std::move(plain));
            m_animations.push_back(std::move(animation));
        }
        // One animation list drives both kinds: each side is timed alone.
        for (auto& animation : m_animations)
            animation->Play(0);
        Step();
    }
    ~SpriteScene()
    {
        m_animations.clear();
        m_plain.clear();
        m_sprites.clear();
        m_fs.reset();
        ShutdownDisplay();
        PimSetClock(nullptr);
    }

    void Step()
    {
        m_clock.Advance(PIM_ANIMATION_UPDATE_MS);
        CxAnimation::UpdateAll();
    }
    void OnlyScripted()
    {
        for (auto& animation : m_animations)
            animation->Stop();
        for (auto& sprite : m_sprites)
            sprite->PlayInfinite(0);
    }
    void OnlyPlain()
    {
        for (auto& sprite : m_sprites)
            sprite->Stop();
        for (auto& animation : m_animations)
            animation->Play(0);
    }
    int Playing() const { return CxAnimation::GetPlayingCount(); }

private:
    CxVirtualClock m_clock{1000};
    TempFolder m_folder;
    std::unique_ptr<CxDirectoryFileSystem> m_fs;
    std::vector<std::unique_ptr<CDaxSprite>> m_sprites;
    std::vector<std::unique_ptr<CxSprite>> m_plain;
    std::vector<std::unique_ptr<CxAnimation>> m_animations;
};

void SpriteStep(benchmark::State& state)
{
    SpriteScene scene;
    scene.OnlyScripted();
    if (scene.Playing() != kSprites) {
        state.SkipWithError("the scripted sprites do not play");
        return;
    }
    for (int i = 0; i < 10; ++i)
        scene.Step();
    // Allocations over many steps, frames turning all the while.
    const uint64_t engineBefore = GetMemoryStats().allocations;
    const uint64_t newsBefore = BenchNewCalls();
    for (int i = 0; i < kSteps; ++i)
        scene.Step();
    const auto engine = static_cast<double>(GetMemoryStats().allocations - engineBefore);
    const auto news = static_cast<double>(BenchNewCalls() - newsBefore);

    for (auto _ : state)
        scene.Step();
    auto ours = [&scene] { scene.Step(); };
    double scripted = 0, plain = 0;
    for (int round = 0; round < 5; ++round) {
        scene.OnlyScripted();
        scripted = round ? std::min(scripted, NanosPerCall(ours, kSteps)) : NanosPerCall(ours, kSteps);
        scene.OnlyPlain();
        plain = round ? std::min(plain, NanosPerCall(ours, kSteps)) : NanosPerCall(ours, kSteps);
    }
    state.counters["us_per_step"] = scripted / 1e3;
    state.counters["ratio"] = scripted / plain;
    state.counters["engine_allocations"] = engine;
    state.counters["new_calls"] = news;
    if (engine != 0 || news != 0)
        state.SkipWithError("stepping the sprites allocated");
    else if (scripted > 1e5)
        state.SkipWithError("a step took longer than 0.1 ms");
}

// Ten seconds of something like speech: syllables of rising and falling
// loudness over a buzz.
std::vector<int16_t> Speech()
{
    std::vector<int16_t> samples(22050 * 10);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double syllable = 0.5 + 0.5 * std::sin(static_cast<double>(i) * 2.0 * 3.14159265 * 4.0 / 22050.0);
        const int buzz = (i / 30) % 2 ? 1 : -1;
        samples[i] = static_cast<int16_t>(buzz * static_cast<int>(9000.0 * syllable) + static_cast<int>(i % 97) - 48);
    }
    return samples;
}

void PrepareWave10s(benchmark::State& state)
{
    const std::vector<int16_t> samples = Speech();
    ST_WAVE_INFO info;
    info.data = reinterpret_cast<const uint8_t*>(samples.data());
    info.dataBytes = static_cast<uint32_t>(samples.size() * 2);
    info.samples = static_cast<uint32_t>(samples.size());
    info.rate = 22050;
    info.bits = 16;
    info.channels = 1;
    ST_LIP_ENVELOPE envelope;
    auto ours = [&] { benchmark::DoNotOptimize(PrepareWave(info, 5, envelope)); };
    uint64_t total = 0;
    auto reference = [&] {
        uint64_t sum = 0;
        for (int16_t s : samples)
            sum += static_cast<uint32_t>(s < 0 ? -int32_t{s} : int32_t{s});
        total += sum;
        benchmark::DoNotOptimize(total);
    };
    for (auto _ : state)
        ours();
    const auto [mine, plain] = BestRounds(ours, reference, 2e7, 7);
    state.counters["ms"] = mine / 1e6;
    state.counters["ratio"] = mine / plain;
    if (envelope.frames.GetCount() != 101)
        state.SkipWithError("10 s should give 101 windows");
    else if (mine > 1e6)
        state.SkipWithError("the envelope took longer than 1 ms");
}

BENCHMARK(SpriteStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(PrepareWave10s)->Unit(benchmark::kMicrosecond);

} // namespace
