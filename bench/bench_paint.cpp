// The paint room's crayon on the demo data: the game started headless, the
// room entered, a background chosen, the black crayon held down.
//
//   StrokeStep  one pointer move of a held crayon, 24 pixels on, drawn
//               into the canvas (a row of brush dabs) and shown in the next
//               frame, which redraws only the stroke's box. Reference: the
//               same frame after the whole 750 x 400 canvas was marked for
//               redrawing. Reports "us_per_step", "us_per_full" and
//               "ratio" = step / full from alternating rounds of the same
//               run (BenchTiming.h).
//
// Target: a step under 1 ms. Measured on the 2-core build machine (Release,
// g++ 12, a sanitizer build running beside): a step 16.5 us, a whole-canvas
// frame 796 us, ratio 0.021. Both include the frame's fixed work (timers,
// events, the room's update); the step saves the canvas's 300,000-pixel
// blit to the screen's 16 bits.

#include "game/paint/PaintRoom.h"

#include "bench/BenchTiming.h"
#include "tests/game/GameTestApp.h"

#include <benchmark/benchmark.h>

namespace {

struct PaintScene
{
    GameTestApp game;
    CDrawRoom* room = nullptr;
    int x = 0;
    int dy = 1;

    PaintScene()
    {
        if (!game.Enter("PaintRoom"))
            return;
        game.Run(200);
        room = dynamic_cast<CDrawRoom*>(game.App().GetCurrentRoom());
        if (!room)
            return;
        // The first background opens the sticker sets; the crayon goes down.
        room->OnNotify(PIM_NOTIFY_BUTTON, room->GetStickerButton(0), PIM_BUTTON_EVENT_CLICKED, 0);
        room->OnLButtonDown(1, Point());
        game.Run(10);
    }
    ~PaintScene()
    {
        if (room)
            room->OnLButtonUp(1, Point());
    }
    // A zigzag over the canvas, so every step paints fresh white.
    CxPoint Point() const { return PAINT_CANVAS_ORIGIN + CxPoint(40 + x % 660, 40 + (x / 660) * 7 % 320); }

    void Step()
    {
        x += 24;
        room->OnMouseMove(1, Point());
        game.Run(10);
    }
    void Full()
    {
        room->GetCanvas()->Invalidate();
        game.Run(10);
    }
};

void StrokeStep(benchmark::State& state)
{
    static PaintScene scene;
    if (!scene.room) {
        state.SkipWithError("the paint room did not open");
        return;
    }
    for (auto _ : state)
        scene.Step();
    const auto [step, full] = BestRounds([&] { scene.Step(); }, [&] { scene.Full(); }, 2e7, 3);
    state.counters["us_per_step"] = step / 1e3;
    state.counters["us_per_full"] = full / 1e3;
    state.counters["ratio"] = step / full;
}

} // namespace

BENCHMARK(StrokeStep)->Unit(benchmark::kMicrosecond)->Iterations(100);
