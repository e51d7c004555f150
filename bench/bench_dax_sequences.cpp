// Sequences on their per-frame path.
//
//   RunningSequences  20 sequences read from one ".seq" file (sleeps,
//                     chained notices, a nested file), each on a channel of
//                     its own and posted again whenever it has run out, one
//                     listener hearing every notice: one step is 10 ms of
//                     virtual time and one frame of the dispatcher.
//                     Reference: 20 plain channels given the same leaf
//                     events (the same kinds, durations and chain flags),
//                     posted again in the same order whenever they run out.
//                     The step must allocate nothing (the engine's allocator
//                     and the global operator new are both counted over
//                     4,000 steps, every sequence run many times) and take
//                     under 0.1 ms.
//   LoadCached        DoSequence of that file again (the parsed entries come
//                     from the cache; the events are made anew), against a
//                     load that reads and parses the file each time.
// Both report "ratio" = ours / reference from alternating rounds of the same
// run (BenchTiming.h).
//
// Measured on the 2-core build machine (Release, g++ 12, other builds
// running beside): RunningSequences 1.9-2.4 us a step for all 20, ratio
// 1.4-1.6 (a sequence is one more channel and one more event per run: the
// outer channel looks at the sequence, the private one at its children), no
// allocation; LoadCached 9-11 us a load of the 7-entry file, ratio 0.55-0.65
// against reading and parsing it (the file's stat is what remains, beside
// making the events).

#include "DAX/sequences/CDaxSystemEvents.h"
#include "DAX/sequences/CNotifyEvent.h"
#include "DAX/sequences/CTimerEvent.h"
#include "DAX/sequences/CxEventSequenceFile.h"
#include "DAX/sequences/DaxSequenceReader.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "bench/BenchTiming.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

std::atomic<uint64_t> g_news{0};

} // namespace

// Every allocation of the program counts, whoever makes it.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    g_news.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* block) noexcept
{
    std::free(block);
}
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

constexpr int kSequences = 20;
constexpr int kSteps = 4000;

const char kScene[] = "Event system.Sleep(40)\n"
                      "continue Event system.Notify(1)\n"
                      "Sequence inner.seq\n"
                      "continue Event system.Sleep(25)\n"
                      "Event system.Notify(3)\n";
const char kInner[] = "continue Event system.Sleep(30)\n"
                      "Event system.Notify(2)\n";

class Counter : public CxEventListener
{
public:
    int OnEvent(PimChannelId, CxEvent* event) override
    {
        heard += dynamic_cast<CNotifyEvent*>(event) != nullptr;
        return 0;
    }
    uint64_t heard = 0;
};

struct ST_PLAIN
{
    PimChannelId channel = 0;
    std::vector<std::unique_ptr<CxEvent>> events;
};

class SequenceScene
{
public:
    SequenceScene()
    {
        PimSetClock(&m_clock);
        m_fs = std::make_unique<CxDirectoryFileSystem>("<Bench>", m_folder.Path().c_str());
        m_folder.Write("scene.seq", kScene);
        m_folder.Write("inner.seq", kInner);
        m_system.Register();
        for (int i = 0; i < kSequences; ++i) {
            auto sequence = std::make_unique<CxEventSequenceFile>();
            sequence->Load("<Bench>scene.seq", nullptr);
            m_counter.Listen(sequence->GetSequenceChannel());
            const auto* inner = static_cast<const CxEventSequenceFile*>(sequence->GetEvent(2));
            m_counter.Listen(inner->GetSequenceChannel());
            m_channels.push_back(CreateChannel());
            m_sequences.push_back(std::move(sequence));

            ST_PLAIN plain;
            plain.channel = CreateChannel();
            m_counter.Listen(plain.channel);
            plain.events.push_back(std::make_unique<CTimerEvent>(40));
            plain.events.push_back(std::make_unique<CNotifyEvent>(1, CxEvent::kChainNext));
            plain.events.push_back(std::make_unique<CTimerEvent>(30, CxEvent::kChainNext));
            plain.events.push_back(std::make_unique<CNotifyEvent>(2));
            plain.events.push_back(std::make_unique<CTimerEvent>(25, CxEvent::kChainNext));
            plain.events.push_back(std::make_unique<CNotifyEvent>(3));
            m_plain.push_back(std::move(plain));
        }
        // Every ring has grown to what it holds once the first runs are over.
        for (int i = 0; i < 200; ++i) {
            SequenceStep();
            PlainStep();
        }
    }
    ~SequenceScene()
    {
        ResetEventSystem();
        m_plain.clear();
        m_sequences.clear();
        m_system.Unregister();
        FlushSequenceCache();
        m_fs.reset();
        PimSetClock(nullptr);
    }

    void SequenceStep()
    {
        for (int i = 0; i < kSequences; ++i)
            if (IsChannelEmpty(m_channels[i]))
                Post(m_sequences[i].get(), m_channels[i]);
        m_clock.Advance(10);
        DispatchEvents();
    }
    void PlainStep()
    {
        for (ST_PLAIN& plain : m_plain)
            if (IsChannelEmpty(plain.channel))
                for (auto& event : plain.events)
                    Post(event.get(), plain.channel);
        m_clock.Advance(10);
        DispatchEvents();
    }
    uint64_t Heard() const { return m_counter.heard; }

private:
    CxVirtualClock m_clock{1000};
    TempFolder m_folder;
    std::unique_ptr<CxDirectoryFileSystem> m_fs;
    CDaxSystemEvents m_system;
    Counter m_counter;
    std::vector<std::unique_ptr<CxEventSequenceFile>> m_sequences;
    std::vector<PimChannelId> m_channels;
    std::vector<ST_PLAIN> m_plain;
};

void RunningSequences(benchmark::State& state)
{
    SequenceScene scene;
    const uint64_t heardBefore = scene.Heard();
    const uint64_t engineBefore = GetMemoryStats().allocations;
    const uint64_t newsBefore = g_news.load();
    for (int i = 0; i < kSteps; ++i)
        scene.SequenceStep();
    const auto engine = static_cast<double>(GetMemoryStats().allocations - engineBefore);
    const auto news = static_cast<double>(g_news.load() - newsBefore);
    // Each run is 100 ms plus a frame or two: about 35 runs of 3 notices each.
    const uint64_t heard = scene.Heard() - heardBefore;

    for (auto _ : state)
        scene.SequenceStep();
    auto ours = [&scene] { scene.SequenceStep(); };
    auto reference = [&scene] { scene.PlainStep(); };
    const auto [mine, plain] = BestRounds(ours, reference, 2e6, 7);
    state.counters["us_per_step"] = mine / 1e3;
    state.counters["ratio"] = mine / plain;
    state.counters["engine_allocations"] = engine;
    state.counters["new_calls"] = news;
    state.counters["notices"] = static_cast<double>(heard);
    if (heard < static_cast<uint64_t>(kSequences) * 3 * 30)
        state.SkipWithError("the sequences did not run");
    else if (engine != 0 || news != 0)
        state.SkipWithError("running the sequences allocated");
    else if (mine > 1e5)
        state.SkipWithError("a step took longer than 0.1 ms");
}

void LoadCached(benchmark::State& state)
{
    CxVirtualClock clock{1000};
    PimSetClock(&clock);
    TempFolder folder;
    CxDirectoryFileSystem fs("<Bench>", folder.Path().c_str());
    folder.Write("scene.seq", kScene);
    folder.Write("inner.seq", kInner);
    CDaxSystemEvents system;
    system.Register();
    auto cached = [] {
        CxEventSequenceFile sequence;
        sequence.Load("<Bench>scene.seq", nullptr);
        benchmark::DoNotOptimize(sequence.GetEventCount());
    };
    auto uncached = [] {
        FlushSequenceCache();
        CxEventSequenceFile sequence;
        sequence.Load("<Bench>scene.seq", nullptr);
        benchmark::DoNotOptimize(sequence.GetEventCount());
    };
    for (auto _ : state)
        cached();
    const auto [mine, reference] = BestRounds(cached, uncached, 2e7, 5);
    state.counters["us_per_load"] = mine / 1e3;
    state.counters["ratio"] = mine / reference;
    system.Unregister();
    FlushSequenceCache();
    PimSetClock(nullptr);
}

BENCHMARK(RunningSequences)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadCached)->Unit(benchmark::kMicrosecond);

} // namespace
