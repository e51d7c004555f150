// Choosing 256 colours for an 800 x 600 photograph-like picture (about
// 480,000 distinct colours). The reference is the counting pass alone (what
// any method must do); the ratio shows what the reduction adds.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/CxPal.h"
#include "PIM/image/PimImageFilters.h"

#include <benchmark/benchmark.h>

#include <random>
#include <unordered_map>

namespace {

template <class Add>
void FeedPhoto(Add add)
{
    std::mt19937 random(3);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            add(static_cast<uint8_t>(x * 255 / 799), static_cast<uint8_t>(y * 255 / 599),
                static_cast<uint8_t>(((x + y) % 256) ^ (random() & 7)));
}

void PaletteOfAPhoto(benchmark::State& state)
{
    for (auto _ : state) {
        CxPaletteBuilder builder(true, 256);
        FeedPhoto([&](uint8_t r, uint8_t g, uint8_t b) { builder.Add(r, g, b); });
        uint8_t palette[768];
        benchmark::DoNotOptimize(builder.Build(palette));
    }
}
BENCHMARK(PaletteOfAPhoto)->Unit(benchmark::kMillisecond);

void CountingOnly(benchmark::State& state)
{
    for (auto _ : state) {
        std::unordered_map<uint32_t, uint32_t> counts;
        FeedPhoto([&](uint8_t r, uint8_t g, uint8_t b) { ++counts[(uint32_t{b} << 16) | (uint32_t{g} << 8) | r]; });
        benchmark::DoNotOptimize(counts.size());
    }
}
BENCHMARK(CountingOnly)->Unit(benchmark::kMillisecond);

// The whole conversion a picture goes through: the palette, then every
// pixel mapped to its nearest entry.
void ConvertPhotoTo8Bits(benchmark::State& state)
{
    RegisterDefaultImageFilters();
    CxDrawSurface photo;
    photo.Create(800, 600, 24);
    uint8_t* bits = photo.LockBits();
    int32_t y = 0;
    int32_t x = 0;
    FeedPhoto([&](uint8_t r, uint8_t g, uint8_t b) {
        uint8_t* p = bits + static_cast<ptrdiff_t>(y) * photo.GetPitch() + x * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
        if (++x == 800) {
            x = 0;
            ++y;
        }
    });
    photo.UnlockBits();
    for (auto _ : state) {
        CxDrawSurface copy;
        copy.CreateCopy(photo);
        benchmark::DoNotOptimize(copy.ConvertFormat(8, PIM_LAYOUT_DEFAULT));
    }
}
BENCHMARK(ConvertPhotoTo8Bits)->Unit(benchmark::kMillisecond);

} // namespace
