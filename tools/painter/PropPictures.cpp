// Pip the bluebird, the demo's prop with three states: flapping in place
// (eight frames), flying along a path (the same strip), and sitting still
// (one frame) while it chirps.
#include "tools/painter/PaintKit.h"

#include <cmath>

namespace {

constexpr int32_t kCell = 48;
constexpr int32_t kHeight = 40;

// One bird at `x`; `wing` from -3 (down) to 3 (up).
void PaintBird(CxDrawSurface& s, int32_t x, int wing)
{
    const uint32_t blue = Colour(s, 60, 120, 220);
    const uint32_t light = Colour(s, 150, 200, 250);
    const uint32_t belly = Colour(s, 250, 200, 150);
    const uint32_t beak = Colour(s, 250, 180, 40);
    const uint32_t dark = Colour(s, 20, 20, 40);
    FillEllipse(s, x + 22, 24, 14, 10, blue);       // body
    FillEllipse(s, x + 24, 28, 9, 6, belly);
    FillTriangle(s, x + 6, 20, x + 10, 28, x + 1, 30, blue); // tail
    s.FillCircle(x + 34, 16, 8, blue);               // head
    s.FillCircle(x + 37, 14, 2, dark);
    FillTriangle(s, x + 41, 15, x + 47, 18, x + 41, 20, beak);
    // The wing swings about the shoulder.
    const int32_t tipY = 22 - wing * 5;
    FillTriangle(s, x + 16, 22, x + 28, 22, x + 14, tipY - 6, light);
    ThickLine(s, x + 16, 22, x + 14, tipY - 6, 1, blue);
}

void PaintFlapping(CxDrawSurface& s)
{
    StartKeyed(s, kCell * 8, kHeight, 24);
    for (int frame = 0; frame < 8; ++frame)
        PaintBird(s, frame * kCell, static_cast<int>(std::lround(3 * std::sin(frame * 3.14159265 / 4))));
}

void PaintSitting(CxDrawSurface& s)
{
    StartKeyed(s, kCell, kHeight, 24);
    PaintBird(s, 0, -3);
    // Feet on the perch.
    FillRect(s, 20, 33, 21, 39, Colour(s, 250, 180, 40));
    FillRect(s, 26, 33, 27, 39, Colour(s, 250, 180, 40));
}

const ST_DEMO_PICTURE kPictures[] = {
    // eight 48 x 40 frames: the wings beating
    {"prop/bird.tga", &PaintFlapping, kCell * 8, kHeight, 24},
    // one frame: sitting with folded wings
    {"prop/bird_sit.tga", &PaintSitting, kCell, kHeight, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> PropPictures()
{
    return kPictures;
}
