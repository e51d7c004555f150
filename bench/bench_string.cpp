// CxString against std::string on the work the engine does most: building
// paths and labels by appending and formatting. Compare the pairs (Cx / Std)
// in the same run; the Std figure is the reference.
#include "PIM/core/CxString.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const kPieces[] = {"<InstallPath>", "rooms/", "FarmHub", "/", "FarmHub", ".ini"};

void CxAppendPath(benchmark::State& state)
{
    for (auto _ : state) {
        CxString path;
        for (const char* piece : kPieces)
            path.Append(piece);
        benchmark::DoNotOptimize(path.GetText());
    }
}
BENCHMARK(CxAppendPath);

void StdAppendPath(benchmark::State& state)
{
    for (auto _ : state) {
        std::string path;
        for (const char* piece : kPieces)
            path.append(piece);
        benchmark::DoNotOptimize(path.c_str());
    }
}
BENCHMARK(StdAppendPath);

// A score label reformatted every frame into the same string.
void CxFormatLabel(benchmark::State& state)
{
    CxString label;
    int score = 0;
    for (auto _ : state) {
        label.Format("Score: %d / %d", score++, 1000);
        benchmark::DoNotOptimize(label.GetText());
    }
}
BENCHMARK(CxFormatLabel);

void StdFormatLabel(benchmark::State& state)
{
    std::string label;
    int score = 0;
    char work[64];
    for (auto _ : state) {
        std::snprintf(work, sizeof work, "Score: %d / %d", score++, 1000);
        label.assign(work);
        benchmark::DoNotOptimize(label.c_str());
    }
}
BENCHMARK(StdFormatLabel);

void CxFindNoCase(benchmark::State& state)
{
    CxString text("Engine.Game.CommandConsole.Aliases, Engine.Sound.MSS, Engine.Debug");
    for (auto _ : state)
        benchmark::DoNotOptimize(text.FindNoCase("engine.debug"));
}
BENCHMARK(CxFindNoCase);

// The C library's case-insensitive search is the reference for FindNoCase.
void LibcFindNoCase(benchmark::State& state)
{
    const char* text = "Engine.Game.CommandConsole.Aliases, Engine.Sound.MSS, Engine.Debug";
    for (auto _ : state)
        benchmark::DoNotOptimize(strcasestr(text, "engine.debug"));
}
BENCHMARK(LibcFindNoCase);

void CxFindExact(benchmark::State& state)
{
    CxString text("Engine.Game.CommandConsole.Aliases, Engine.Sound.MSS, Engine.Debug");
    for (auto _ : state)
        benchmark::DoNotOptimize(text.Find("Engine.Debug"));
}
BENCHMARK(CxFindExact);

void StdFindExact(benchmark::State& state)
{
    std::string text("Engine.Game.CommandConsole.Aliases, Engine.Sound.MSS, Engine.Debug");
    for (auto _ : state)
        benchmark::DoNotOptimize(text.find("Engine.Debug"));
}
BENCHMARK(StdFindExact);

} // namespace
