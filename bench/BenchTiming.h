#pragma once
// Timing our code against a reference in the same run, on this thread's CPU
// time: the budgets are CPU, and on a shared machine the wall clock also
// counts other programs' turns.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <utility>

inline double ThreadNanos()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// CPU nanoseconds per call of `call`, over one batch of `calls`.
inline double NanosPerCall(const std::function<void()>& call, int calls)
{
    const double start = ThreadNanos();
    for (int i = 0; i < calls; ++i)
        call();
    benchmark::ClobberMemory();
    return (ThreadNanos() - start) / calls;
}

// The best of `rounds` alternating rounds of each, every round about
// `roundNanos` of our CPU time: {ours, reference} in nanoseconds per call.
// Alternating means a burst of load on the machine hits both alike.
inline std::pair<double, double> BestRounds(const std::function<void()>& ours, const std::function<void()>& reference,
                                            double roundNanos, int rounds)
{
    const int calls = std::max(3, static_cast<int>(roundNanos / std::max(1.0, NanosPerCall(ours, 2))));
    double bestOurs = 1e300, bestReference = 1e300;
    for (int round = 0; round < rounds; ++round) {
        bestOurs = std::min(bestOurs, NanosPerCall(ours, calls));
        bestReference = std::min(bestReference, NanosPerCall(reference, calls));
    }
    return {bestOurs, bestReference};
}
