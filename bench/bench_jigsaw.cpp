// Cutting a picture into the jigsaw's nine pieces, as the puzzle room does
// for every new picture: a 600 x 450 24-bit picture, the seams drawn afresh.
//
//   Cut    JigsawCutPicture: the picture brought to 16 bits, nine masks
//          drawn (rectangles, circles, fills), the picture's rows composed
//          through them and the border traced. Reference: a plain copy of
//          the picture's pixels into nine surfaces of the pieces' size,
//          row by row. Reports "ms_per_cut" and "ratio" = ours / reference
//          from alternating rounds of the same run (BenchTiming.h).
//
// Target: a cut under 50 ms, so a new picture shows without a pause.
// Measured on the 2-core build machine (Release, g++, other builds beside):
// about 6 ms a cut, ratio about 90: the masks' circles and fills and the
// border pass cost far more than copying the rows.
#include "PIM/core/CxRandom.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "bench/BenchTiming.h"
#include "game/jigsaw/JigsawCutter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kW = 600, kH = 450;

struct Scene
{
    CxDrawSurface picture;
    CxDrawSurface copies[JIGSAW_PIECES];
    Scene()
    {
        picture.Create(kW, kH, 24);
        for (int y = 0; y < kH; y += 10)
            picture.FillRect(CxRect(0, y, kW - 1, y + 9), static_cast<uint32_t>(y * 0x010203));
        for (CxDrawSurface& copy : copies)
            copy.Create(kW / 3 + 2 * JIGSAW_MARGIN, kH / 3 + 2 * JIGSAW_MARGIN, 24);
    }
    void Cut()
    {
        SeedRandom(5);
        JigsawPieceSurfaces pieces;
        JigsawCutPicture(picture, DrawJigsawSeams(), pieces);
        benchmark::DoNotOptimize(pieces[0].get());
    }
    // Each piece's rectangle of the picture, clipped, copied as whole rows.
    void Copy()
    {
        uint8_t* from = picture.LockBits();
        for (int i = 0; i < JIGSAW_PIECES; ++i) {
            CxDrawSurface& to = copies[i];
            uint8_t* bits = to.LockBits();
            const int left = (i / 3) * (kW / 3) - JIGSAW_MARGIN, top = (i % 3) * (kH / 3) - JIGSAW_MARGIN;
            const int x0 = std::max(0, -left), x1 = std::min(to.GetWidth(), kW - left);
            for (int y = 0; y < to.GetHeight(); ++y) {
                const int py = top + y;
                if (py < 0 || py >= kH || x1 <= x0)
                    continue;
                std::memcpy(bits + y * to.GetPitch() + x0 * 3, from + py * picture.GetPitch() + (left + x0) * 3,
                            static_cast<size_t>(x1 - x0) * 3);
            }
            to.UnlockBits();
            benchmark::DoNotOptimize(bits);
        }
        picture.UnlockBits();
    }
};

void Cut(benchmark::State& state)
{
    static Scene scene;
    for (auto _ : state)
        scene.Cut();
    const auto [ours, theirs] = BestRounds([&] { scene.Cut(); }, [&] { scene.Copy(); }, 2e8, 5);
    state.counters["ms_per_cut"] = ours / 1e6;
    state.counters["ratio"] = ours / theirs;
}

} // namespace

BENCHMARK(Cut)->Unit(benchmark::kMillisecond);
