// Croquet's pictures: the three lawns inside their hedges, the hole with its
// flag, the numbered hoops, the ball in its looks, the flower pot and the
// sunflower in the ball's way, the patches (gum, mud, the red button, the
// streams), the food, the aim's cone and dots and the shot marker. Every
// sprite is 32-bit with soft edges; the lawns are 24-bit. The characters are
// in CroquetSprites.cpp.
#include "tools/painter/CroquetLayout.h"
#include "tools/painter/PaintKit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kBall = 40, kBallFrames = 8;
constexpr int32_t kPot = 44, kFlower = 48;
constexpr int32_t kHoleW = 70, kHoleH = 60, kHoleFrames = 5;
constexpr int32_t kHoopW = 50, kHoopH = 70;
constexpr int32_t kWaterW = 120, kWaterH = 90, kWaterFrames = 4;
constexpr int32_t kCone = 48, kConeFrames = 36;
constexpr int32_t kFood = 32, kButtonSize = 44;

int32_t Near(double v)
{
    return static_cast<int32_t>(std::lround(v));
}

// The point `r` from (cx, cy) at `degrees` clockwise from straight up.
CxPoint Towards(double cx, double cy, double degrees, double r)
{
    const double a = degrees * kPi / 180.0;
    return CxPoint(Near(cx + r * std::sin(a)), Near(cy - r * std::cos(a)));
}

// A 3 x 5 digit, each cell a `size` square, its top-left at (x, y).
void SmallDigit(CxDrawSurface& s, int32_t x, int32_t y, int digit, int32_t size, uint32_t colour)
{
    static const char* const kRows[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                          "101101111001001", "111100111001111", "111100111101111", "111001001010010",
                                          "111101111101111", "111101111001111"};
    for (int i = 0; i < 15; ++i)
        if (kRows[digit % 10][i] == '1')
            FillRect(s, x + (i % 3) * size, y + (i / 3) * size, x + (i % 3) * size + size - 1,
                     y + (i / 3) * size + size - 1, colour);
}

// A four-pointed twinkle.
void Twinkle(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t r, uint32_t colour)
{
    FillTriangle(s, cx - r, cy, cx + r, cy, cx, cy - r * 2, colour);
    FillTriangle(s, cx - r, cy, cx + r, cy, cx, cy + r * 2, colour);
    FillTriangle(s, cx, cy - r, cx, cy + r, cx - r * 2, cy, colour);
    FillTriangle(s, cx, cy - r, cx, cy + r, cx + r * 2, cy, colour);
}

// --- the lawns ---------------------------------------------------------------------------------

const ST_CROQUET_HEDGE kMiddleHedge[] = {{kCroquetFieldLeft, 268, 560, 292}};

void HedgeBlock(CxDrawSurface& s, const ST_CROQUET_HEDGE& h)
{
    FillRect(s, h.left, h.top, h.right, h.bottom, Colour(s, 34, 96, 40));
    // Round leafy bumps along it, darker underneath, so it reads as a bush.
    const bool wide = h.right - h.left >= h.bottom - h.top;
    const int32_t length = wide ? h.right - h.left : h.bottom - h.top;
    const int32_t depth = wide ? h.bottom - h.top : h.right - h.left;
    for (int32_t t = 0; t <= length; t += 9)
        for (int32_t d = 4; d < depth; d += 8) {
            const int32_t x = wide ? h.left + t : h.left + d, y = wide ? h.top + d : h.top + t;
            s.FillCircle(x, y, 5, Colour(s, 48, 122, 50));
            s.FillCircle(x - 1, y - 2, 2, Colour(s, 82, 158, 72));
        }
    FillRect(s, h.left, h.bottom - 2, h.right, h.bottom, Colour(s, 22, 70, 30));
}

void Gravel(CxDrawSurface& s, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t& seed)
{
    FillRect(s, left, top, right, bottom, Colour(s, 214, 196, 156));
    for (int k = 0; k < (right - left) * (bottom - top) / 60; ++k) {
        seed = seed * 1664525u + 1013904223u;
        const int32_t x = left + static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(right - left));
        const int32_t y = top + static_cast<int32_t>((seed >> 20) % static_cast<uint32_t>(bottom - top));
        s.FillCircle(x, y, 1, (seed & 1) ? Colour(s, 180, 160, 124) : Colour(s, 236, 222, 190));
    }
}

void FlowerBed(CxDrawSurface& s, int32_t x, int32_t y, int level)
{
    static const uint8_t kPetals[3][3] = {{236, 70, 90}, {250, 200, 40}, {170, 110, 220}};
    FillEllipse(s, x, y, 22, 10, Colour(s, 120, 84, 52));
    for (int i = 0; i < 5; ++i) {
        const int32_t fx = x - 16 + i * 8, fy = y - 4 + (i % 2) * 5;
        const uint8_t* p = kPetals[(i + level) % 3];
        s.FillCircle(fx, fy, 3, Colour(s, p[0], p[1], p[2]));
        s.SetPixel(fx, fy, Colour(s, 255, 240, 120));
    }
}

template <int Level>
void PaintLawn(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    uint32_t seed = 777u + Level;
    Gravel(s, 0, 0, 799, 599, seed);
    // Mown stripes, each lawn its own way round.
    for (int32_t y = kCroquetFieldTop; y < kCroquetFieldBottom; ++y)
        for (int32_t x = kCroquetFieldLeft; x < kCroquetFieldRight; x += 1) {
            const int32_t band = Level == 1 ? (y - kCroquetFieldTop) / 40 : (x - kCroquetFieldLeft) / 48;
            const bool light = band % 2 == 0;
            s.SetPixel(x, y, light ? Colour(s, 118, 190, 84) : Colour(s, 100, 172, 70));
        }
    for (int k = 0; k < 900; ++k) { // blades of grass
        seed = seed * 1664525u + 1013904223u;
        const int32_t x = kCroquetFieldLeft + static_cast<int32_t>((seed >> 8) % (kCroquetFieldRight - kCroquetFieldLeft));
        const int32_t y = kCroquetFieldTop + static_cast<int32_t>((seed >> 18) % (kCroquetFieldBottom - kCroquetFieldTop - 4));
        FillRect(s, x, y, x, y + 2, Colour(s, 84, 150, 58));
    }
    const int32_t h = kCroquetHedge;
    HedgeBlock(s, {kCroquetFieldLeft - h, kCroquetFieldTop - h, kCroquetFieldRight + h - 1, kCroquetFieldTop - 1});
    HedgeBlock(s, {kCroquetFieldLeft - h, kCroquetFieldBottom, kCroquetFieldRight + h - 1, kCroquetFieldBottom + h - 1});
    HedgeBlock(s, {kCroquetFieldLeft - h, kCroquetFieldTop, kCroquetFieldLeft - 1, kCroquetFieldBottom - 1});
    HedgeBlock(s, {kCroquetFieldRight, kCroquetFieldTop, kCroquetFieldRight + h - 1, kCroquetFieldBottom - 1});
    for (const ST_CROQUET_HEDGE& inner : CroquetInnerHedges(Level))
        HedgeBlock(s, inner);
    // The score's wooden sign, top right.
    FillRect(s, 690, 4, 796, 46, Colour(s, 150, 98, 52));
    FillRect(s, 694, 8, 792, 42, Colour(s, 186, 128, 72));
    for (int32_t y = 16; y < 42; y += 9)
        FillRect(s, 694, y, 792, y, Colour(s, 160, 106, 58));
    // The shots' tray, top left, and flower beds on the gravel.
    FillRect(s, 8, 8, 232, 42, Colour(s, 196, 176, 136));
    FillRect(s, 10, 10, 230, 40, Colour(s, 226, 210, 172));
    FlowerBed(s, 300 + Level * 90, 26, Level);
    FlowerBed(s, 40, 560, Level);
    FlowerBed(s, 400 - Level * 60, 556, Level + 1);
    FlowerBed(s, 40, 470, Level + 2);
}

// --- the hole ----------------------------------------------------------------------------------

// Frame 0 is shut (a lid and a lowered red flag); the opening frames lift
// the flag and pulse a glow ring out, ending at the open look; the sunk
// frames drop the ball in and wave the flag.
void HoleLook(CxDrawSurface& s, int32_t x0, int phase, bool sunk)
{
    const int32_t cx = x0 + 40, cy = 45;
    const bool open = sunk || phase > 0;
    if (open && !sunk && phase < kHoleFrames) {
        const int32_t ring = 14 + phase * 3;
        FillEllipse(s, cx, cy, ring + 8, ring / 2 + 5, Argb(static_cast<uint8_t>(200 - phase * 25), 255, 244, 120));
    }
    FillEllipse(s, cx, cy, 22, 13, Colour(s, 78, 130, 56));
    FillEllipse(s, cx, cy + 1, 18, 10, Colour(s, 26, 30, 20));
    if (!open) {
        FillEllipse(s, cx, cy - 1, 19, 10, Colour(s, 150, 104, 60));
        FillRect(s, cx - 17, cy - 2, cx + 17, cy - 1, Colour(s, 118, 80, 44));
    }
    if (sunk) {
        const int32_t drop = std::min(phase, 3) * 4;
        if (phase < 4)
            s.FillCircle(cx, cy - 12 + drop, 9 - phase * 2, Colour(s, 40, 110, 210));
    }
    // The flag: down and red while shut, up and green once open.
    const int32_t poleTop = open ? 3 : 17;
    FillRect(s, cx + 14, poleTop, cx + 16, cy - 4, Colour(s, 236, 236, 228));
    const int32_t wave = sunk ? (phase % 2) * 3 : 0;
    const uint32_t flag = open ? Colour(s, 60, 200, 80) : Colour(s, 220, 60, 50);
    FillTriangle(s, cx + 17, poleTop, cx + 17, poleTop + 14, cx + 29, poleTop + 7 + wave, flag);
}

void PaintHoleOpening(CxDrawSurface& s)
{
    StartKeyed(s, kHoleW * kHoleFrames, kHoleH, 32);
    for (int f = 0; f < kHoleFrames; ++f)
        HoleLook(s, f * kHoleW, f, false);
    SoftenEdges(s);
}

void PaintHoleSunk(CxDrawSurface& s)
{
    StartKeyed(s, kHoleW * kHoleFrames, kHoleH, 32);
    for (int f = 0; f < kHoleFrames; ++f)
        HoleLook(s, f * kHoleW, f, true);
    SoftenEdges(s);
}

// --- the hoops ---------------------------------------------------------------------------------

// A white hoop seen from the front, legs in the grass, with a badge carrying
// its number (0: none) on top.
void Hoop(CxDrawSurface& s, int32_t x0, int number, uint32_t badge)
{
    const uint32_t white = Colour(s, 250, 250, 244), shade = Colour(s, 170, 170, 170);
    FillEllipse(s, x0 + 25, 66, 22, 3, Argb(80, 20, 50, 10));
    for (int32_t a = 0; a <= 180; a += 6) { // the arch
        const CxPoint p = Towards(x0 + 25, 40, a - 90, 18);
        s.FillCircle(p.x, p.y, 3, white);
    }
    FillRect(s, x0 + 4, 40, x0 + 9, 66, white);
    FillRect(s, x0 + 41, 40, x0 + 46, 66, white);
    FillRect(s, x0 + 8, 40, x0 + 9, 66, shade);
    FillRect(s, x0 + 45, 40, x0 + 46, 66, shade);
    if (number > 0) {
        s.FillCircle(x0 + 25, 22, 8, Colour(s, 40, 40, 60));
        s.FillCircle(x0 + 25, 22, 7, badge);
        SmallDigit(s, x0 + 22, 17, number, 2, Colour(s, 30, 30, 40)); // 6 x 10, centred
    }
}

void PaintHoopPlain(CxDrawSurface& s)
{
    StartKeyed(s, kHoopW, kHoopH, 32);
    Hoop(s, 0, 0, 0);
    SoftenEdges(s);
}

template <int Number>
void PaintHoopNumbered(CxDrawSurface& s)
{
    StartKeyed(s, kHoopW, kHoopH, 32);
    Hoop(s, 0, Number, Colour(s, 250, 250, 250));
    SoftenEdges(s);
}

// The next hoop: a yellow badge with a 1 and an arrow bobbing above it.
void PaintHoopNext(CxDrawSurface& s)
{
    constexpr int kFrames = 4;
    StartKeyed(s, kHoopW * kFrames, kHoopH, 32);
    for (int f = 0; f < kFrames; ++f) {
        const int32_t x0 = f * kHoopW, bob = f < 2 ? f * 2 : (4 - f) * 2;
        Hoop(s, x0, 1, Colour(s, 255, 224, 60));
        FillTriangle(s, x0 + 17, 1 + bob, x0 + 33, 1 + bob, x0 + 25, 11 + bob, Colour(s, 236, 90, 30));
    }
    SoftenEdges(s);
}

// Passed: twinkles burst round the hoop, which ends green with a tick.
void PaintHoopPassed(CxDrawSurface& s)
{
    constexpr int kFrames = 5;
    StartKeyed(s, kHoopW * kFrames, kHoopH, 32);
    for (int f = 0; f < kFrames; ++f) {
        const int32_t x0 = f * kHoopW;
        Hoop(s, x0, 0, 0);
        if (f < kFrames - 1)
            for (int k = 0; k < 4; ++k) {
                const CxPoint p = Towards(x0 + 25, 38, k * 90 + 45 + f * 20, 8 + f * 4);
                Twinkle(s, p.x, p.y, 2, Colour(s, 255, 236, 90));
            }
        else {
            s.FillCircle(x0 + 25, 22, 9, Colour(s, 40, 170, 70));
            ThickLine(s, x0 + 20, 22, x0 + 24, 27, 1, Colour(s, 255, 255, 255));
            ThickLine(s, x0 + 24, 27, x0 + 31, 17, 1, Colour(s, 255, 255, 255));
        }
    }
    SoftenEdges(s);
}

// --- the ball ----------------------------------------------------------------------------------

enum class EBallLook
{
    Fresh,
    Scuffed,
    Muddy,
    LastShot,
};

// A blue ball with a white band that turns round it, frame by frame, as it
// rolls; later looks carry scuffs and mud, the last shot glows red.
void BallFrame(CxDrawSurface& s, int32_t x0, int frame, EBallLook look)
{
    const int32_t cx = x0 + 20, cy = 20;
    if (look == EBallLook::LastShot)
        s.FillCircle(cx, cy, 20, Argb(static_cast<uint8_t>(110 + (frame % 2) * 60), 255, 60, 40));
    const uint32_t body = look == EBallLook::LastShot ? Colour(s, 220, 50, 50) : Colour(s, 40, 110, 210);
    s.FillCircle(cx, cy, 18, Colour(s, 20, 40, 80)); // as big as the ball's radius
    s.FillCircle(cx, cy, 17, body);
    for (int band = 0; band < 2; ++band) {
        const double a = (frame * 2 * kPi / kBallFrames) + band * kPi;
        if (std::cos(a) <= 0)
            continue; // on the far side
        const int32_t bx = cx + Near(15 * std::sin(a));
        const int32_t half = std::max(1, Near(5 * std::cos(a)));
        for (int32_t y = cy - 17; y <= cy + 17; ++y) {
            const int32_t reach = Near(std::sqrt(std::max(0.0, 289.0 - (y - cy) * (y - cy))));
            const int32_t l = std::max(bx - half, cx - reach), r = std::min(bx + half, cx + reach);
            if (l <= r)
                FillRect(s, l, y, r, y, Colour(s, 250, 250, 240));
        }
    }
    if (look == EBallLook::Scuffed || look == EBallLook::Muddy) {
        ThickLine(s, cx - 8, cy + 4, cx - 3, cy + 7, 0, Colour(s, 90, 90, 110));
        ThickLine(s, cx + 5, cy - 9, cx + 9, cy - 6, 0, Colour(s, 90, 90, 110));
    }
    if (look == EBallLook::Muddy) {
        s.FillCircle(cx + 6, cy + 8, 4, Colour(s, 110, 76, 40));
        s.FillCircle(cx - 9, cy - 5, 3, Colour(s, 110, 76, 40));
    }
    s.FillCircle(cx - 10, cy - 7, 2, Colour(s, 255, 255, 255)); // clear of a band in the middle
}

template <EBallLook Look>
void PaintBall(CxDrawSurface& s)
{
    StartKeyed(s, kBall * kBallFrames, kBall, 32);
    for (int f = 0; f < kBallFrames; ++f)
        BallFrame(s, f * kBall, f, Look);
    SoftenEdges(s);
}

// Out of shots: the ball sags flat and a sad face shows.
void PaintBallLose(CxDrawSurface& s)
{
    constexpr int kFrames = 6;
    StartKeyed(s, kBall * kFrames, kBall, 32);
    for (int f = 0; f < kFrames; ++f) {
        const int32_t cx = f * kBall + 20, ry = 15 - f * 2, cy = 35 - ry;
        FillEllipse(s, cx, cy, 16 + f, ry + 1, Colour(s, 20, 40, 80));
        FillEllipse(s, cx, cy, 15 + f, ry, Colour(s, 40, 110, 210));
        const int32_t eyes = cy - ry / 3;
        FillRect(s, cx - 6, eyes, cx - 4, eyes + 1, Colour(s, 255, 255, 255));
        FillRect(s, cx + 4, eyes, cx + 6, eyes + 1, Colour(s, 255, 255, 255));
        ThickLine(s, cx - 4, cy + ry / 2 + 1, cx, cy + ry / 2 - 1, 0, Colour(s, 255, 255, 255));
        ThickLine(s, cx, cy + ry / 2 - 1, cx + 4, cy + ry / 2 + 1, 0, Colour(s, 255, 255, 255));
    }
    SoftenEdges(s);
}

// --- the obstacles -----------------------------------------------------------------------------

// A terracotta pot with a red flower; `tilt` leans it, `crack` breaks it
// into pieces flying apart (0 whole).
void PotLook(CxDrawSurface& s, int32_t x0, int tilt, int crack)
{
    const uint32_t clay = Colour(s, 206, 104, 56), rim = Colour(s, 176, 82, 42);
    const int32_t cx = x0 + 22 + tilt;
    if (crack == 0) {
        ThickLine(s, cx, 18, cx - tilt, 4, 1, Colour(s, 60, 150, 50));
        s.FillCircle(cx - tilt, 6, 5, Colour(s, 230, 50, 70));
        s.FillCircle(cx - tilt, 6, 2, Colour(s, 255, 220, 80));
        FillTriangle(s, cx - 15, 18, cx + 15, 18, cx, 44, clay);
        FillRect(s, cx - 11, 18, cx + 11, 40, clay);
        FillRect(s, cx - 16, 15, cx + 16, 21, rim);
        return;
    }
    const int32_t spread = crack * 4;
    FillRect(s, x0 + 8 - spread, 24 + crack * 2, x0 + 18 - spread, 34 + crack * 2, clay);
    FillRect(s, x0 + 26 + spread, 22 + crack * 2, x0 + 36 + spread / 2, 32 + crack * 2, clay);
    FillTriangle(s, x0 + 16, 36, x0 + 28, 36, x0 + 22, 43, rim);
    if (crack < 4)
        s.FillCircle(x0 + 22, 10 - crack * 2, 5 - crack, Colour(s, 230, 50, 70));
}

void PaintPotStill(CxDrawSurface& s)
{
    StartKeyed(s, kPot, kPot, 32);
    PotLook(s, 0, 0, 0);
    SoftenEdges(s);
}

void PaintPotWobble(CxDrawSurface& s)
{
    static const int kTilts[] = {-3, 3, -2, 0};
    StartKeyed(s, kPot * 4, kPot, 32);
    for (int f = 0; f < 4; ++f)
        PotLook(s, f * kPot, kTilts[f], 0);
    SoftenEdges(s);
}

void PaintPotBreak(CxDrawSurface& s)
{
    StartKeyed(s, kPot * 6, kPot, 32);
    for (int f = 0; f < 6; ++f)
        PotLook(s, f * kPot, 0, f + 1);
    SoftenEdges(s);
}

// A sunflower seen from above, its petals turned by `turn` degrees.
void SunflowerLook(CxDrawSurface& s, int32_t x0, double turn)
{
    const int32_t cx = x0 + 24, cy = 24;
    for (int p = 0; p < 12; ++p) {
        const CxPoint tip = Towards(cx, cy, turn + p * 30, 22);
        const CxPoint l = Towards(cx, cy, turn + p * 30 - 12, 10), r = Towards(cx, cy, turn + p * 30 + 12, 10);
        FillTriangle(s, tip.x, tip.y, l.x, l.y, r.x, r.y, Colour(s, 252, 204, 30));
    }
    s.FillCircle(cx, cy, 11, Colour(s, 110, 66, 30));
    for (int d = 0; d < 6; ++d) {
        const CxPoint seed = Towards(cx, cy, turn + d * 60, 6);
        s.SetPixel(seed.x, seed.y, Colour(s, 70, 40, 16));
    }
}

void PaintSunflowerStill(CxDrawSurface& s)
{
    StartKeyed(s, kFlower, kFlower, 32);
    SunflowerLook(s, 0, 0);
    SoftenEdges(s);
}

void PaintSunflowerSpin(CxDrawSurface& s)
{
    StartKeyed(s, kFlower * 8, kFlower, 32);
    for (int f = 0; f < 8; ++f)
        SunflowerLook(s, f * kFlower, f * 30.0 / 8);
    SoftenEdges(s);
}

// --- the patches -------------------------------------------------------------------------------

// A blob: overlapping circles round (cx, cy) inside rx, ry.
void Blob(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour)
{
    FillEllipse(s, cx, cy, rx * 3 / 4, ry * 3 / 4, colour);
    for (int k = 0; k < 8; ++k) {
        const double a = k * kPi / 4;
        const int32_t r = (k % 2 ? ry : ry * 2 / 3) / 2 + 2;
        s.FillCircle(cx + Near((rx - r) * std::cos(a)), cy + Near((ry - r) * std::sin(a)), r, colour);
    }
}

void PaintGum(CxDrawSurface& s)
{
    StartKeyed(s, 50, 40, 32);
    Blob(s, 25, 20, 24, 19, Colour(s, 240, 120, 180));
    Blob(s, 25, 19, 18, 13, Colour(s, 252, 164, 210));
    s.FillCircle(18, 14, 3, Colour(s, 255, 220, 240));
    s.FillCircle(32, 24, 5, Colour(s, 248, 140, 196)); // a bubble
    s.FillCircle(31, 22, 1, Colour(s, 255, 255, 255));
    SoftenEdges(s);
}

void PaintMud(CxDrawSurface& s)
{
    StartKeyed(s, 70, 50, 32);
    Blob(s, 35, 25, 34, 24, Colour(s, 112, 78, 44));
    Blob(s, 35, 26, 25, 16, Colour(s, 88, 58, 30));
    FillEllipse(s, 26, 20, 6, 2, Colour(s, 150, 114, 72)); // wet shine
    FillEllipse(s, 46, 32, 4, 2, Colour(s, 150, 114, 72));
    SoftenEdges(s);
}

void ButtonLook(CxDrawSurface& s, int32_t x0, int press)
{
    const int32_t cx = x0 + 22, cy = 22;
    s.FillCircle(cx, cy + 2, 20, Colour(s, 90, 90, 96));
    s.FillCircle(cx, cy, 19, Colour(s, 160, 160, 170));
    const int32_t lift = 4 - std::min(press, 3);
    const uint32_t top = press > 0 ? Colour(s, 255, 120, 70) : Colour(s, 220, 40, 40);
    s.FillCircle(cx, cy + 2, 14, Colour(s, 140, 20, 20));
    s.FillCircle(cx, cy + 2 - lift, 14, top);
    s.FillCircle(cx - 5, cy - 3 - lift, 3, Colour(s, 255, 200, 190));
    if (press > 1)
        for (int k = 0; k < 6; ++k) {
            const CxPoint p = Towards(cx, cy, k * 60 + press * 10, 15 + press);
            s.FillCircle(p.x, p.y, 2, Colour(s, 255, 240, 80));
        }
}

void PaintButtonIdle(CxDrawSurface& s)
{
    StartKeyed(s, kButtonSize, kButtonSize, 32);
    ButtonLook(s, 0, 0);
    SoftenEdges(s);
}

void PaintButtonPressed(CxDrawSurface& s)
{
    StartKeyed(s, kButtonSize * 4, kButtonSize, 32);
    for (int f = 0; f < 4; ++f)
        ButtonLook(s, f * kButtonSize, f + 1);
    SoftenEdges(s);
}

// A stream patch: blue water with ripples and chevrons moving the way the
// current runs (`degrees` clockwise from up), a step further each frame.
template <int Degrees>
void PaintWater(CxDrawSurface& s)
{
    StartKeyed(s, kWaterW * kWaterFrames, kWaterH, 32);
    const double a = Degrees * kPi / 180.0, dx = std::sin(a), dy = -std::cos(a);
    for (int f = 0; f < kWaterFrames; ++f) {
        const int32_t x0 = f * kWaterW, cx = x0 + 60, cy = 45;
        Blob(s, cx, cy, 58, 43, Colour(s, 70, 150, 220));
        Blob(s, cx, cy, 48, 34, Colour(s, 96, 176, 236));
        for (int k = -1; k <= 1; ++k) {
            const double along = std::fmod(k * 26 + f * 6.5 + 65, 78) - 39; // wraps round within the patch
            const double px = cx + dx * along, py = cy + dy * along;
            // A chevron: two strokes back from its tip.
            const CxPoint tip(Near(px + dx * 8), Near(py + dy * 8));
            const CxPoint l = Towards(px, py, Degrees - 140, 10), r = Towards(px, py, Degrees + 140, 10);
            ThickLine(s, tip.x, tip.y, l.x + Near(dx * 8), l.y + Near(dy * 8), 2, Colour(s, 240, 250, 255));
            ThickLine(s, tip.x, tip.y, r.x + Near(dx * 8), r.y + Near(dy * 8), 2, Colour(s, 240, 250, 255));
        }
        for (int k = 0; k < 4; ++k) { // ripples drifting along the side
            const double along = std::fmod(k * 22 + f * 5.5, 88) - 44;
            const double side = (k % 2 ? 1 : -1) * 24;
            const int32_t rx = Near(cx + dx * along - dy * side), ry = Near(cy + dy * along + dx * side);
            FillEllipse(s, rx, ry, dy == 0 ? 2 : 6, dy == 0 ? 6 : 2, Colour(s, 200, 232, 255));
        }
    }
    SoftenEdges(s);
}

// --- food --------------------------------------------------------------------------------------

void PaintApple(CxDrawSurface& s)
{
    StartKeyed(s, kFood, kFood, 32);
    s.FillCircle(11, 18, 10, Colour(s, 214, 36, 40));
    s.FillCircle(21, 18, 10, Colour(s, 214, 36, 40));
    FillEllipse(s, 16, 22, 13, 9, Colour(s, 214, 36, 40));
    s.FillCircle(10, 14, 3, Colour(s, 255, 150, 140));
    ThickLine(s, 16, 9, 18, 3, 1, Colour(s, 100, 60, 30));
    FillEllipse(s, 22, 5, 5, 2, Colour(s, 70, 170, 60));
    SoftenEdges(s);
}

void PaintCarrot(CxDrawSurface& s)
{
    StartKeyed(s, kFood, kFood, 32);
    FillTriangle(s, 8, 10, 18, 6, 24, 30, Colour(s, 246, 136, 30));
    for (int i = 0; i < 3; ++i)
        ThickLine(s, 11 + i * 3, 12 + i * 5, 15 + i * 3, 11 + i * 5, 0, Colour(s, 200, 100, 20));
    ThickLine(s, 12, 8, 6, 1, 1, Colour(s, 60, 160, 50));
    ThickLine(s, 14, 7, 14, 0, 1, Colour(s, 60, 160, 50));
    ThickLine(s, 16, 7, 22, 1, 1, Colour(s, 60, 160, 50));
    SoftenEdges(s);
}

void PaintCheese(CxDrawSurface& s)
{
    StartKeyed(s, kFood, kFood, 32);
    FillTriangle(s, 2, 26, 30, 26, 30, 8, Colour(s, 250, 210, 70));
    FillRect(s, 2, 26, 30, 29, Colour(s, 224, 176, 40));
    s.FillCircle(20, 20, 3, Colour(s, 214, 168, 40));
    s.FillCircle(26, 15, 2, Colour(s, 214, 168, 40));
    s.FillCircle(12, 24, 2, Colour(s, 214, 168, 40));
    SoftenEdges(s);
}

// --- the aim -----------------------------------------------------------------------------------

// Frame k points k x 10 degrees clockwise from straight up: an arrowhead
// centred on the pointer.
void PaintCone(CxDrawSurface& s)
{
    StartKeyed(s, kCone * kConeFrames, kCone, 32);
    for (int k = 0; k < kConeFrames; ++k) {
        const double cx = k * kCone + 24.0, cy = 24.0, d = k * 10.0;
        const CxPoint tip = Towards(cx, cy, d, 20), l = Towards(cx, cy, d - 145, 16), r = Towards(cx, cy, d + 145, 16);
        const CxPoint notch = Towards(cx, cy, d + 180, 6);
        const CxPoint outer[] = {tip, r, notch, l};
        FillPolygon(s, outer, 4, Colour(s, 200, 90, 20));
        const CxPoint t2 = Towards(cx, cy, d, 16), l2 = Towards(cx, cy, d - 145, 12), r2 = Towards(cx, cy, d + 145, 12);
        const CxPoint n2 = Towards(cx, cy, d + 180, 3);
        const CxPoint inner[] = {t2, r2, n2, l2};
        FillPolygon(s, inner, 4, Colour(s, 255, 214, 60));
    }
    SoftenEdges(s);
}

void PaintChain(CxDrawSurface& s)
{
    StartKeyed(s, 10, 10, 32);
    s.FillCircle(5, 5, 4, Colour(s, 120, 70, 20));
    s.FillCircle(5, 5, 3, Colour(s, 255, 240, 160));
    SoftenEdges(s);
}

void PaintShotMarker(CxDrawSurface& s)
{
    StartKeyed(s, 24, 24, 32);
    s.FillCircle(12, 12, 10, Colour(s, 20, 40, 80));
    s.FillCircle(12, 12, 9, Colour(s, 40, 110, 210));
    FillEllipse(s, 12, 13, 9, 3, Colour(s, 250, 250, 240)); // a band round its middle
    s.FillCircle(8, 7, 2, Colour(s, 255, 255, 255));
    SoftenEdges(s);
}

#define CROQUET(file, paint, w, h) {"Croquet/" file, paint, w, h, 32}

const ST_DEMO_PICTURE kPictures[] = {
    {"Croquet/lawn0.tga", &PaintLawn<0>, 800, 600, 24},
    {"Croquet/lawn1.tga", &PaintLawn<1>, 800, 600, 24},
    {"Croquet/lawn2.tga", &PaintLawn<2>, 800, 600, 24},
    CROQUET("hole_open.tga", &PaintHoleOpening, kHoleW * kHoleFrames, kHoleH),
    CROQUET("hole_sunk.tga", &PaintHoleSunk, kHoleW * kHoleFrames, kHoleH),
    CROQUET("hoop.tga", &PaintHoopPlain, kHoopW, kHoopH),
    CROQUET("hoop_next.tga", &PaintHoopNext, kHoopW * 4, kHoopH),
    CROQUET("hoop_passed.tga", &PaintHoopPassed, kHoopW * 5, kHoopH),
    CROQUET("hoop2.tga", &PaintHoopNumbered<2>, kHoopW, kHoopH),
    CROQUET("hoop3.tga", &PaintHoopNumbered<3>, kHoopW, kHoopH),
    CROQUET("hoop4.tga", &PaintHoopNumbered<4>, kHoopW, kHoopH),
    CROQUET("hoop5.tga", &PaintHoopNumbered<5>, kHoopW, kHoopH),
    CROQUET("hoop6.tga", &PaintHoopNumbered<6>, kHoopW, kHoopH),
    CROQUET("ball.tga", &PaintBall<EBallLook::Fresh>, kBall * kBallFrames, kBall),
    CROQUET("ball_scuffed.tga", &PaintBall<EBallLook::Scuffed>, kBall * kBallFrames, kBall),
    CROQUET("ball_muddy.tga", &PaintBall<EBallLook::Muddy>, kBall * kBallFrames, kBall),
    CROQUET("ball_last.tga", &PaintBall<EBallLook::LastShot>, kBall * kBallFrames, kBall),
    CROQUET("ball_lose.tga", &PaintBallLose, kBall * 6, kBall),
    CROQUET("pot.tga", &PaintPotStill, kPot, kPot),
    CROQUET("pot_wobble.tga", &PaintPotWobble, kPot * 4, kPot),
    CROQUET("pot_break.tga", &PaintPotBreak, kPot * 6, kPot),
    CROQUET("sunflower.tga", &PaintSunflowerStill, kFlower, kFlower),
    CROQUET("sunflower_spin.tga", &PaintSunflowerSpin, kFlower * 8, kFlower),
    CROQUET("gum.tga", &PaintGum, 50, 40),
    CROQUET("mud.tga", &PaintMud, 70, 50),
    CROQUET("button.tga", &PaintButtonIdle, kButtonSize, kButtonSize),
    CROQUET("button_pressed.tga", &PaintButtonPressed, kButtonSize * 4, kButtonSize),
    CROQUET("water_up.tga", &PaintWater<0>, kWaterW * kWaterFrames, kWaterH),
    CROQUET("water_down.tga", &PaintWater<180>, kWaterW * kWaterFrames, kWaterH),
    CROQUET("water_right.tga", &PaintWater<90>, kWaterW * kWaterFrames, kWaterH),
    CROQUET("water_left.tga", &PaintWater<270>, kWaterW * kWaterFrames, kWaterH),
    CROQUET("apple.tga", &PaintApple, kFood, kFood),
    CROQUET("carrot.tga", &PaintCarrot, kFood, kFood),
    CROQUET("cheese.tga", &PaintCheese, kFood, kFood),
    CROQUET("tg_cone.tga", &PaintCone, kCone * kConeFrames, kCone),
    CROQUET("tg_chain.tga", &PaintChain, 10, 10),
    CROQUET("shot.tga", &PaintShotMarker, 24, 24),
};

} // namespace

std::span<const ST_CROQUET_HEDGE> CroquetInnerHedges(int level)
{
    if (level == 2)
        return kMiddleHedge;
    return {};
}

std::span<const ST_DEMO_PICTURE> CroquetPictures()
{
    return kPictures;
}
