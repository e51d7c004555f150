// Farmer Hob, the talking character of the demo: a body in two states (a
// wave of the arm in four frames, and standing still) and a mouth in five
// frames from closed to wide open, all on a magenta key.
#include "tools/painter/PaintKit.h"

#include <iterator>

namespace {

constexpr int32_t kWidth = 180;
constexpr int32_t kHeight = 260;

// One farmer at `x`; `arm` is how high the right arm is raised (0: down,
// 3: waving above the hat).
void PaintFarmer(CxDrawSurface& s, int32_t x, int arm)
{
    const uint32_t skin = Colour(s, 240, 196, 160);
    const uint32_t skinShade = Colour(s, 214, 160, 128);
    const uint32_t straw = Colour(s, 236, 204, 96);
    const uint32_t band = Colour(s, 170, 60, 40);
    const uint32_t shirt = Colour(s, 200, 50, 50);
    const uint32_t check = Colour(s, 150, 30, 30);
    const uint32_t denim = Colour(s, 60, 100, 170);
    const uint32_t denimDark = Colour(s, 40, 70, 130);
    const uint32_t boot = Colour(s, 90, 60, 40);
    const uint32_t dark = Colour(s, 40, 30, 30);
    const uint32_t white = Colour(s, 255, 255, 255);
    const uint32_t beard = Colour(s, 150, 110, 80);
    // Legs and boots.
    FillRect(s, x + 62, 180, x + 86, 240, denim);
    FillRect(s, x + 94, 180, x + 118, 240, denim);
    FillEllipse(s, x + 72, 246, 18, 9, boot);
    FillEllipse(s, x + 108, 246, 18, 9, boot);
    // Shirt with checks, then the dungarees over it.
    FillEllipse(s, x + 90, 150, 50, 50, shirt);
    // Checks: stripes kept inside the shirt's outline.
    for (int32_t i = -40; i <= 40; i += 16) {
        for (int32_t y = 102; y <= 198; ++y) {
            const double dx = i / 50.0, dy = (y - 150) / 50.0;
            if (dx * dx + dy * dy < 0.92)
                FillRect(s, x + 90 + i, y, x + 92 + i, y, check);
        }
    }
    FillRect(s, x + 58, 140, x + 122, 195, denim);
    FillRect(s, x + 70, 118, x + 110, 145, denim);
    FillRect(s, x + 66, 112, x + 72, 140, denimDark); // straps
    FillRect(s, x + 108, 112, x + 114, 140, denimDark);
    s.FillCircle(x + 78, 130, 3, Colour(s, 240, 210, 80));
    s.FillCircle(x + 102, 130, 3, Colour(s, 240, 210, 80));
    FillRect(s, x + 80, 150, x + 100, 168, denimDark); // pocket
    // The left arm hangs down.
    ThickLine(s, x + 48, 120, x + 36, 178, 9, shirt);
    s.FillCircle(x + 36, 184, 9, skin);
    // The right arm: from down at the side to waving over the head.
    static const int32_t kHand[4][2] = {{144, 182}, {162, 140}, {168, 96}, {156, 52}};
    const int32_t hx = x + kHand[arm][0], hy = kHand[arm][1];
    ThickLine(s, x + 132, 120, hx, hy + 8, 9, shirt);
    s.FillCircle(hx, hy, 10, skin);
    FillRect(s, hx - 8, hy - 16, hx - 5, hy - 6, skin); // fingers up
    FillRect(s, hx - 3, hy - 18, hx, hy - 6, skin);
    FillRect(s, hx + 2, hy - 17, hx + 5, hy - 6, skin);
    // Head: face, ears, beard round the chin.
    s.FillCircle(x + 56, 70, 8, skinShade);
    s.FillCircle(x + 124, 70, 8, skinShade);
    s.FillCircle(x + 90, 72, 34, skin);
    FillEllipse(s, x + 90, 98, 30, 14, beard);
    FillEllipse(s, x + 90, 92, 22, 10, skin); // where the mouth goes
    // Eyes and a round nose.
    s.FillCircle(x + 77, 62, 6, white);
    s.FillCircle(x + 103, 62, 6, white);
    s.FillCircle(x + 78, 63, 3, dark);
    s.FillCircle(x + 104, 63, 3, dark);
    FillRect(s, x + 70, 52, x + 84, 54, beard); // eyebrows
    FillRect(s, x + 96, 52, x + 110, 54, beard);
    s.FillCircle(x + 90, 76, 7, skinShade);
    // The straw hat.
    FillEllipse(s, x + 90, 42, 62, 10, straw);
    FillEllipse(s, x + 90, 30, 34, 18, straw);
    FillRect(s, x + 56, 34, x + 124, 40, band);
}

void PaintFarmerWave(CxDrawSurface& s)
{
    StartKeyed(s, kWidth * 4, kHeight, 24);
    static const int kArm[4] = {1, 2, 3, 2};
    for (int frame = 0; frame < 4; ++frame)
        PaintFarmer(s, frame * kWidth, kArm[frame]);
}

void PaintFarmerStand(CxDrawSurface& s)
{
    StartKeyed(s, kWidth, kHeight, 24);
    PaintFarmer(s, 0, 0);
}

// The mouth, 40 x 24 a frame: frame 0 closed, frame 4 wide open.
void PaintMouth(CxDrawSurface& s)
{
    constexpr int32_t kCell = 40;
    StartKeyed(s, kCell * 5, 24, 24);
    const uint32_t lip = Colour(s, 170, 70, 70);
    const uint32_t inside = Colour(s, 90, 20, 30);
    const uint32_t tongue = Colour(s, 220, 100, 110);
    const uint32_t teeth = Colour(s, 250, 250, 245);
    for (int frame = 0; frame < 5; ++frame) {
        const int32_t cx = frame * kCell + kCell / 2;
        if (frame == 0) {
            FillRect(s, cx - 11, 11, cx + 11, 13, lip);
            FillRect(s, cx - 13, 9, cx - 11, 11, lip);
            FillRect(s, cx + 11, 9, cx + 13, 11, lip);
            continue;
        }
        const int32_t rx = 8 + frame * 2, ry = 2 + frame * 2;
        FillEllipse(s, cx, 12, rx + 2, ry + 2, lip);
        FillEllipse(s, cx, 12, rx, ry, inside);
        if (frame >= 2)
            FillRect(s, cx - rx / 2, 12 - ry + 1, cx + rx / 2, 12 - ry + 3, teeth);
        if (frame >= 3)
            FillEllipse(s, cx, 12 + ry - 3, rx - 4, 3, tongue);
    }
}

const ST_DEMO_PICTURE kPictures[] = {
    // state 0: four 180 x 260 frames, waving
    {"farmer/wave.tga", &PaintFarmerWave, kWidth * 4, kHeight, 24},
    // state 1: one frame, standing still (the mouth alone moves)
    {"farmer/stand.tga", &PaintFarmerStand, kWidth, kHeight, 24},
    // the mouth: five 40 x 24 frames, closed to wide open
    {"farmer/mouth.tga", &PaintMouth, 200, 24, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> FarmerPictures()
{
    return kPictures;
}
