// The pig run's tick, as the room runs it every 10 ms of play.
//
//   Tick   CPigOutModel::Tick on a level whose records keep about 30
//          objects alive, a few of them at the pig's depth frame (the
//          meeting test asks the facts, which answer by rectangles, as
//          the room's collision does before it looks at pixels).
//          Reference: the bare motion step of 30 objects (sine, centre,
//          frame) in the same run. Reports "us_per_tick", "live" and
//          "ratio" = ours / reference (BenchTiming.h).
//   DepthTick   the busiest tick: 30 objects alive, 10 of them at the
//          pig's depth frame at once (bursts of ten every 24 ticks), timed
//          over the ticks of that window only, from a copy of the model
//          taken as it opens. Same reference and counters, plus "at_depth".
//   NoAllocation   every tick of a whole level, counted by the replaced
//          operator new: "news" must be 0.
//
// Target: a tick under 0.1 ms.
// Measured on the 2-core build machine (Release, g++, other builds beside):
// about 0.5 us a tick with 28 objects alive on average, ratio about 4.5
// (the cues and the facts' calls beside the bare sine and centre); the
// busiest tick (30 alive, 10 at the depth frame) about 0.45 us, ratio about
// 3.8; no allocation in any tick of a whole level.
#include "bench/BenchNewCounter.h"
#include "bench/BenchTiming.h"
#include "game/pigsout/PigsOutModel.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <optional>

namespace {

struct RectFacts : IPigOutFacts
{
    int ObjectFrames(int) override { return 12; }
    CxSize ObjectSize(int) override { return {60, 60}; }
    int PigWidth() override { return 80; }
    int FarmerWidth() override { return 60; }
    bool PigStopped() override { return false; }
    bool FarmerStopped() override { return true; }
    bool CaughtSoundPlaying() override { return false; }
    // Rectangles first: far apart, so no pixels are looked at.
    bool Collides(int id) override { return id < 0; }
};

ST_PIGS_LEVEL Level()
{
    // Obstacles (never handled) every 2 ticks live 72 steps: 36 alive.
    ST_PIGS_LEVEL level;
    for (int i = 0; i < PIGS_MAX_RECORDS; ++i)
        level.records.push_back({i % 700, i * 12 / 5, 4 + i % 9});
    level.records.push_back({});
    return level;
}

struct Scene
{
    RectFacts facts;
    CPigOutModel model{facts};
    ST_PIGS_LEVEL level = Level();
    ST_PIGS_OPTIONS options;
    float t[30] = {}, x[30] = {}, y[30] = {};
    int frames[30] = {};
    Scene()
    {
        options.rightEdge = 700;
        Restart();
    }
    void Restart()
    {
        model.Build(options, level, 0, 0, 0);
        for (int i = 0; i < 200; ++i)
            Step();
    }
    double liveSum = 0.0, steps = 0.0;
    void Step()
    {
        model.ClearCues();
        model.Tick();
        liveSum += model.GetLiveCount();
        steps += 1.0;
        if (model.GetState() != PIGS_PLAYING)
            Restart();
    }
    void Bare()
    {
        for (int i = 0; i < 30; ++i) {
            y[i] = 630.0f - std::sin(t[i]) * 396.0f;
            t[i] += 0.02f;
            if (t[i] > 1.57f)
                t[i] = 0.0f;
            x[i] += (432.0f - x[i]) / 100.0f;
            frames[i] = static_cast<int>(12.0f * t[i] / 1.57f);
        }
        benchmark::DoNotOptimize(frames);
    }
};

void Tick(benchmark::State& state)
{
    static Scene scene;
    for (auto _ : state)
        scene.Step();
    const auto [ours, theirs] = BestRounds([&] { scene.Step(); }, [&] { scene.Bare(); }, 2e7, 5);
    state.counters["us_per_tick"] = ours / 1e3;
    state.counters["live"] = scene.liveSum / scene.steps; // on average over the ticks measured
    state.counters["ratio"] = ours / theirs;
}

// Ten objects side by side every 24 ticks: three bursts alive, one at the
// depth frame for 7 ticks of every 24.
ST_PIGS_LEVEL BurstLevel()
{
    ST_PIGS_LEVEL level;
    for (int i = 0; i < PIGS_MAX_RECORDS; ++i)
        level.records.push_back({60 * (i % 10), (i / 10) * 24, 4 + i % 9});
    level.records.push_back({});
    return level;
}

int AtDepth(const CPigOutModel& model)
{
    int count = 0;
    for (int id = 0; id < model.GetSlotCount(); ++id) {
        const ST_PIG_OBJECT& object = model.GetObject(id);
        count += object.alive && !object.removed && object.frame == model.GetDepthFrame() ? 1 : 0;
    }
    return count;
}

void DepthTick(benchmark::State& state)
{
    RectFacts facts;
    CPigOutModel model(facts);
    const ST_PIGS_LEVEL level = BurstLevel();
    ST_PIGS_OPTIONS options;
    options.rightEdge = 700;
    model.Build(options, level, 0, 0, 0);
    // Past the first bursts, to the tick whose walk finds ten at the depth frame.
    for (int i = 0; i < 2000 && model.GetState() == PIGS_PLAYING; ++i) {
        model.ClearCues();
        model.Tick();
        if (i > 100 && AtDepth(model) == 10 && model.GetLiveCount() >= 28)
            break;
    }
    const int atDepth = AtDepth(model);
    const int live = model.GetLiveCount();
    const CPigOutModel opening(model);
    constexpr int kWindow = 6;
    std::optional<CPigOutModel> run;
    Scene bare;
    double ours = 0.0, theirs = 0.0, ticks = 0.0;
    for (auto _ : state) {
        run.emplace(opening);
        run->ClearCues();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kWindow; ++i) {
            run->Tick();
            run->ClearCues();
        }
        const auto middle = std::chrono::steady_clock::now();
        for (int i = 0; i < kWindow; ++i)
            bare.Bare();
        const auto end = std::chrono::steady_clock::now();
        ours += std::chrono::duration<double, std::nano>(middle - start).count();
        theirs += std::chrono::duration<double, std::nano>(end - middle).count();
        ticks += kWindow;
        state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
    }
    state.counters["us_per_tick"] = ours / ticks / 1e3;
    state.counters["live"] = live;
    state.counters["at_depth"] = atDepth;
    state.counters["ratio"] = ours / theirs;
    if (atDepth < 10)
        state.SkipWithError("the scene has not ten objects at the depth frame");
}

void NoAllocation(benchmark::State& state)
{
    RectFacts facts;
    CPigOutModel model(facts);
    const ST_PIGS_LEVEL level = Level();
    ST_PIGS_OPTIONS options;
    uint64_t news = 0;
    for (auto _ : state) {
        model.Build(options, level, 0, 0, 0);
        const uint64_t before = BenchNewCalls();
        for (int i = 0; i < 5000 && model.GetState() == PIGS_PLAYING; ++i) {
            model.ClearCues();
            model.Tick();
        }
        news += BenchNewCalls() - before;
    }
    state.counters["news"] = static_cast<double>(news);
    if (news != 0)
        state.SkipWithError("a tick allocated");
}

} // namespace

BENCHMARK(Tick)->Unit(benchmark::kMicrosecond);
BENCHMARK(DepthTick)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(NoAllocation)->Unit(benchmark::kMillisecond)->Iterations(3);
