// The farmyard room's pictures: the yard seen up close (the big barn, the
// path from its door, the hay, the fence and the duck pond) and the hen and
// sheep buttons. The title room shows the farm from afar, among hills, so
// the two rooms are told apart at a glance.
#include "tools/painter/BadgeLooks.h"
#include "tools/painter/BoardButtons.h"
#include "tools/painter/FarmyardLayout.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kHorizon = 318;

// The pond: a rounded shape (|dx / a|^3 + |dy / b|^3 <= 1) around the
// ripple movie's water, with a sandy bank.
constexpr double kPondX = (kPlainWater.left + kPlainWater.right) / 2.0;
constexpr double kPondY = (kPlainWater.top + kPlainWater.bottom) / 2.0;
constexpr double kPondA = 140, kPondB = 70;
constexpr double kBank = 9;

bool InPond(double x, double y, double grow)
{
    const double u = std::fabs(x - kPondX) / (kPondA + grow), v = std::fabs(y - kPondY) / (kPondB + grow);
    return u * u * u + v * v * v <= 1.0;
}

uint8_t Ramp(int from, int to, int32_t at, int32_t first, int32_t last)
{
    return static_cast<uint8_t>(from + (to - from) * (at - first) / std::max(1, last - first));
}

uint32_t SkyAt(const CxDrawSurface& s, int32_t y)
{
    return Colour(s, Ramp(84, 184, y, 0, kHorizon), Ramp(168, 228, y, 0, kHorizon), Ramp(238, 248, y, 0, kHorizon));
}

uint32_t GrassAt(const CxDrawSurface& s, int32_t y)
{
    return Colour(s, Ramp(128, 88, y, kHorizon, kHeight - 1), Ramp(204, 168, y, kHorizon, kHeight - 1),
                  Ramp(84, 58, y, kHorizon, kHeight - 1));
}

void PaintSky(CxDrawSurface& s)
{
    for (int32_t y = 0; y < kHorizon; ++y)
        FillRect(s, 0, y, kWidth - 1, y, SkyAt(s, y));
    // A smiling sun with pointed rays, high in the middle.
    const int32_t sx = 420, sy = 84;
    for (int ray = 0; ray < 12; ++ray) {
        const double a = ray * kPi / 6 + kPi / 12, side = kPi / 28;
        auto at = [&](double angle, double r, int32_t& x, int32_t& y) {
            x = sx + static_cast<int32_t>(std::lround(r * std::cos(angle)));
            y = sy + static_cast<int32_t>(std::lround(r * std::sin(angle)));
        };
        int32_t x1, y1, x2, y2, x3, y3;
        at(a - side * 2.2, 40, x1, y1);
        at(a + side * 2.2, 40, x2, y2);
        at(a, 66, x3, y3);
        FillTriangle(s, x1, y1, x2, y2, x3, y3, Colour(s, 255, 176, 40));
    }
    s.FillCircle(sx, sy, 44, Colour(s, 255, 200, 50));
    s.FillCircle(sx, sy, 40, Colour(s, 255, 222, 80));
    s.FillCircle(sx - 14, sy - 8, 5, Colour(s, 120, 70, 10));
    s.FillCircle(sx + 14, sy - 8, 5, Colour(s, 120, 70, 10));
    for (int i = -16; i <= 16; ++i)
        FillRect(s, sx + i, sy + 12 + (256 - i * i) / 40, sx + i, sy + 14 + (256 - i * i) / 40, Colour(s, 120, 70, 10));
    s.FillCircle(sx - 24, sy + 8, 5, Colour(s, 255, 170, 110)); // cheeks
    s.FillCircle(sx + 24, sy + 8, 5, Colour(s, 255, 170, 110));
    // Two fluffy clouds, away from the score's corner.
    const int puffs[][3] = {{330, 200, 18}, {356, 188, 24}, {386, 196, 20}, {360, 206, 16},
                            {610, 100, 20}, {640, 84, 28},  {676, 94, 24},  {700, 106, 16}, {650, 108, 20}};
    for (const auto& p : puffs)
        s.FillCircle(p[0] + 2, p[1] + 4, p[2], Colour(s, 214, 230, 246));
    for (const auto& p : puffs)
        s.FillCircle(p[0], p[1], p[2], Colour(s, 255, 255, 255));
}

void PaintGround(CxDrawSurface& s)
{
    // Round trees along the horizon, behind the fence.
    for (int32_t x = 300, i = 0; x < kWidth + 40; x += 46, ++i) {
        const int32_t r = 26 + (i * 7) % 10;
        s.FillCircle(x, kHorizon - 10 - (i % 3) * 6, r, Colour(s, 56, 132, 64));
        s.FillCircle(x - r / 3, kHorizon - 18 - (i % 3) * 6, r / 3, Colour(s, 76, 156, 78));
    }
    for (int32_t y = kHorizon; y < kHeight; ++y)
        FillRect(s, 0, y, kWidth - 1, y, GrassAt(s, y));
}

// The barn, big and close: a two-sloped roof, a hay loft and a wide double
// door that a child sees at once.
void PaintBarn(CxDrawSurface& s)
{
    const uint32_t red = Colour(s, 206, 46, 40), plank = Colour(s, 176, 36, 32);
    const uint32_t white = Colour(s, 248, 244, 232), roof = Colour(s, 84, 88, 112);
    FillRect(s, 30, 196, 290, 470, red);
    for (int32_t x = 50; x < 290; x += 20)
        FillRect(s, x, 200, x + 1, 470, plank);
    FillRect(s, 30, 196, 38, 470, white); // corner boards
    FillRect(s, 282, 196, 290, 470, white);
    const CxPoint outline[] = {{12, 206}, {50, 132}, {160, 90}, {270, 132}, {308, 206}};
    FillPolygon(s, outline, 5, white);
    const CxPoint tiles[] = {{22, 200}, {56, 136}, {160, 98}, {264, 136}, {298, 200}};
    FillPolygon(s, tiles, 5, roof);
    const uint32_t shingle = Colour(s, 70, 74, 96);
    for (int32_t y = 112; y < 200; y += 14) // rows of shingles, on the roof only
        for (int32_t x = 22; x <= 298; ++x)
            for (int32_t row = y; row <= y + 1; ++row)
                if (s.GetPixel(x, row) == roof)
                    s.SetPixel(x, row, shingle);
    const CxPoint eaves[] = {{12, 206}, {50, 132}, {56, 136}, {22, 200}};
    FillPolygon(s, eaves, 4, white);
    const CxPoint eavesRight[] = {{308, 206}, {270, 132}, {264, 136}, {298, 200}};
    FillPolygon(s, eavesRight, 4, white);
    // The hay loft, open and full: a heap of hay with straws sticking out,
    // then the frame over its edges.
    FillRect(s, 136, 220, 184, 272, Colour(s, 110, 60, 30));
    const uint32_t straw = Colour(s, 250, 224, 120);
    for (int i = 0; i < 7; ++i)
        ThickLine(s, 142 + i * 6, 258, 140 + i * 6 + (i % 3) * 3, 238 + (i % 2) * 6, 1, straw);
    for (int32_t y = 250; y <= 272; ++y) { // the top half of a mound, standing on the sill
        const double t = (272.0 - y) / 22.0;
        const auto half = static_cast<int32_t>(std::lround(24 * std::sqrt(1 - t * t)));
        FillRect(s, 160 - half, y, 160 + half, y, Colour(s, 240, 204, 84));
    }
    for (int i = 0; i < 5; ++i)
        ThickLine(s, 146 + i * 7, 270, 149 + i * 7, 258 + (i % 2) * 4, 1, Colour(s, 214, 172, 60));
    FillRect(s, 128, 212, 192, 219, white);
    FillRect(s, 128, 212, 135, 278, white);
    FillRect(s, 185, 212, 192, 278, white);
    FillRect(s, 124, 273, 196, 280, white);
    // The double door: a white frame, two dark red leaves with white braces.
    FillRect(s, 92, 298, 228, 470, white);
    const uint32_t leaf = Colour(s, 150, 28, 26);
    for (int32_t left : {102, 162}) {
        FillRect(s, left, 308, left + 55, 470, leaf);
        FillRect(s, left, 308, left + 55, 313, white);
        FillRect(s, left, 385, left + 55, 390, white);
        ThickLine(s, left + 3, 314, left + 52, 384, 2, white);
        ThickLine(s, left + 52, 314, left + 3, 384, 2, white);
        ThickLine(s, left + 3, 391, left + 52, 466, 2, white);
        ThickLine(s, left + 52, 391, left + 3, 466, 2, white);
    }
    FillRect(s, 158, 308, 161, 470, white);
    s.FillCircle(150, 400, 4, Colour(s, 250, 210, 70)); // handles
    s.FillCircle(170, 400, 4, Colour(s, 250, 210, 70));
}

// The path from the barn door to the foot of the screen, with pebbles.
void PaintPath(CxDrawSurface& s)
{
    for (int32_t y = 470; y < kHeight; ++y) {
        const double t = (y - 470) / 129.0;
        const auto left = static_cast<int32_t>(std::lround(92 + 150 * t * t));
        const auto right = static_cast<int32_t>(std::lround(228 + 230 * t));
        FillRect(s, left, y, right, y, Colour(s, 212, 172, 116));
    }
    const int pebbles[][2] = {{150, 486}, {205, 500}, {176, 522}, {238, 540}, {290, 566}, {214, 572}, {350, 588},
                              {268, 594}, {320, 530}, {396, 580}};
    for (const auto& p : pebbles)
        FillEllipse(s, p[0], p[1], 6, 3, Colour(s, 176, 138, 92));
}

// A brown split-rail fence along the back of the yard, posts with pointed tops.
void PaintFence(CxDrawSurface& s)
{
    const uint32_t wood = Colour(s, 176, 118, 62), dark = Colour(s, 112, 70, 34);
    for (int32_t y : {306, 338}) {
        FillRect(s, 290, y - 1, kWidth - 1, y + 12, dark);
        FillRect(s, 290, y + 1, kWidth - 1, y + 10, wood);
    }
    for (int32_t x = 312; x < kWidth; x += 52) {
        FillRect(s, x - 1, 296, x + 13, 382, dark);
        FillRect(s, x + 1, 296, x + 11, 380, wood);
        FillTriangle(s, x - 1, 296, x + 13, 296, x + 6, 284, dark);
        FillTriangle(s, x + 1, 296, x + 11, 296, x + 6, 287, wood);
    }
}

// A round bale of hay beside the fence.
void PaintHay(CxDrawSurface& s)
{
    s.FillCircle(352, 414, 34, Colour(s, 170, 126, 40));
    s.FillCircle(352, 412, 32, Colour(s, 236, 196, 88));
    for (int32_t r = 24; r > 0; r -= 8)
        for (int i = 0; i < 48; ++i) {
            const double a = i * kPi / 24;
            s.FillCircle(352 + static_cast<int32_t>(std::lround(r * std::cos(a))),
                         412 + static_cast<int32_t>(std::lround(r * std::sin(a))), 1, Colour(s, 200, 150, 56));
        }
}

void PaintPond(CxDrawSurface& s)
{
    const uint32_t bank = Colour(s, 206, 186, 128);
    const uint32_t water = Colour(s, kPondWater.red, kPondWater.green, kPondWater.blue);
    for (int32_t y = static_cast<int32_t>(kPondY - kPondB - kBank); y <= kPondY + kPondB + kBank; ++y)
        for (int32_t x = static_cast<int32_t>(kPondX - kPondA - kBank); x <= kPondX + kPondA + kBank; ++x)
            if (InPond(x, y, 0))
                s.SetPixel(x, y, water);
            else if (InPond(x, y, kBank))
                s.SetPixel(x, y, bank);
    // A lily pad and reeds, clear of the movie's water.
    FillEllipse(s, 704, 466, 10, 5, Colour(s, 64, 150, 70));
    FillTriangle(s, 704, 466, 714, 463, 714, 469, water);
    for (int i = 0; i < 5; ++i) {
        const int32_t x = 444 + i * 5, top = 404 + (i % 2) * 12;
        ThickLine(s, x, 478, x + (i - 2), top, 1, Colour(s, 60, 140, 56));
        if (i % 2 == 0)
            FillEllipse(s, x + (i - 2), top + 8, 3, 7, Colour(s, 130, 80, 40));
    }
}

// Daisies and tulips in the grass, away from the buttons and the path.
void PaintFlowers(CxDrawSurface& s)
{
    const int flowers[][2] = {{30, 500}, {70, 540}, {40, 584}, {110, 590}, {20, 440}, {496, 574},
                              {536, 590}, {760, 400}, {730, 440}, {790, 460}, {310, 470}, {400, 470}};
    for (size_t i = 0; i < std::size(flowers); ++i) {
        const int32_t x = flowers[i][0], y = flowers[i][1];
        ThickLine(s, x, y, x, y + 14, 1, Colour(s, 50, 120, 40));
        FillEllipse(s, x + 5, y + 10, 4, 2, Colour(s, 60, 140, 50)); // a leaf
        if (i % 2 == 0) {
            for (int petal = 0; petal < 8; ++petal)
                s.FillCircle(x + static_cast<int32_t>(std::lround(6 * std::cos(petal * kPi / 4))),
                             y + static_cast<int32_t>(std::lround(6 * std::sin(petal * kPi / 4))), 3,
                             Colour(s, 255, 255, 255));
            s.FillCircle(x, y, 4, Colour(s, 255, 204, 40));
        } else {
            // A tulip: a cup of three petals.
            s.FillCircle(x, y, 6, Colour(s, 236, 60, 90));
            FillTriangle(s, x - 6, y, x - 6, y - 10, x - 1, y - 2, Colour(s, 236, 60, 90));
            FillTriangle(s, x + 6, y, x + 6, y - 10, x + 1, y - 2, Colour(s, 236, 60, 90));
            FillTriangle(s, x - 3, y - 2, x, y - 11, x + 3, y - 2, Colour(s, 250, 100, 120));
        }
    }
}

void PaintBackdrop(CxDrawSurface& s)
{
    s.Create(kWidth, kHeight, 24);
    PaintSky(s);
    PaintGround(s);
    PaintFence(s);
    PaintBarn(s);
    PaintPath(s);
    PaintHay(s);
    PaintPond(s);
    PaintFlowers(s);
}

// --- the buttons -------------------------------------------------------------------------------

// A brown hen looking right, with her egg beside her.
void PaintHenFace(CxDrawSurface& f)
{
    const uint32_t leg = Colour(f, 240, 150, 30);
    ThickLine(f, 38, 64, 36, 80, 1, leg);
    ThickLine(f, 50, 64, 50, 80, 1, leg);
    ThickLine(f, 30, 80, 40, 80, 1, leg);
    ThickLine(f, 46, 80, 56, 80, 1, leg);
    FillTriangle(f, 12, 24, 22, 62, 40, 44, Colour(f, 120, 64, 28)); // tail
    FillTriangle(f, 20, 20, 26, 58, 40, 44, Colour(f, 140, 76, 34));
    FillEllipse(f, 42, 52, 24, 17, Colour(f, 186, 110, 52));        // body
    FillEllipse(f, 57, 40, 9, 12, Colour(f, 196, 122, 60));         // neck
    f.FillCircle(60, 30, 11, Colour(f, 200, 126, 64));              // head
    FillEllipse(f, 38, 50, 13, 8, Colour(f, 150, 84, 38));          // wing
    ThickLine(f, 28, 52, 46, 54, 0, Colour(f, 120, 64, 28));
    for (int32_t x : {54, 60, 66})                                  // comb
        f.FillCircle(x, 19 + (x == 60 ? -2 : 0), 4, Colour(f, 230, 36, 36));
    FillTriangle(f, 70, 27, 80, 32, 70, 36, Colour(f, 250, 190, 30)); // beak
    FillEllipse(f, 68, 41, 3, 4, Colour(f, 230, 36, 36));            // wattle
    f.FillCircle(63, 27, 3, Colour(f, 255, 255, 255));
    f.FillCircle(64, 27, 2, Colour(f, 20, 20, 20));
    FillEllipse(f, 75, 69, 9, 12, Colour(f, 252, 244, 222));         // the egg
    FillEllipse(f, 72, 64, 3, 4, Colour(f, 255, 255, 255));
}

// A fluffy white sheep looking right.
void PaintSheepFace(CxDrawSurface& f)
{
    const uint32_t dark = Colour(f, 58, 52, 60);
    for (int32_t x : {30, 40, 54, 64})
        FillRect(f, x, 60, x + 5, 80, dark);
    // Wool: a grey puff under each white one makes the fleece curly.
    const int puffs[][3] = {{26, 48, 12}, {36, 36, 13}, {52, 34, 13}, {64, 44, 12}, {60, 60, 12},
                            {44, 62, 12}, {30, 60, 11}, {46, 48, 16}};
    for (const auto& p : puffs)
        f.FillCircle(p[0], p[1], p[2], Colour(f, 214, 214, 206));
    for (const auto& p : puffs)
        f.FillCircle(p[0] - 1, p[1] - 1, p[2] - 3, Colour(f, 252, 252, 248));
    FillEllipse(f, 60, 34, 6, 3, dark); // ears
    FillEllipse(f, 82, 34, 6, 3, dark);
    FillEllipse(f, 71, 42, 10, 13, dark); // face
    f.FillCircle(68, 31, 5, Colour(f, 252, 252, 248)); // a curly tuft on top
    f.FillCircle(74, 30, 5, Colour(f, 252, 252, 248));
    for (int32_t x : {67, 75}) {
        f.FillCircle(x, 40, 3, Colour(f, 255, 255, 255));
        f.FillCircle(x, 41, 1, Colour(f, 20, 20, 20));
    }
    FillEllipse(f, 71, 50, 3, 2, Colour(f, 240, 150, 160)); // nose
}

void PaintHen(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintHenFace);
}

void PaintSheep(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintSheepFace);
}

// --- the mini-game badges ------------------------------------------------------------------
// One round badge per farm game (BadgeLooks.h).

enum EBadgeGame
{
    kBaleOut,
    kCroquet,
    kPigsOut,
    kWordWeb,
    kNumberWeb,
    kSwinging,
    kPigPen,
};

void PaintWeb(CxDrawSurface& s, const BadgeInk& ink)
{
    const int32_t c = kBadge / 2;
    for (int spoke = 0; spoke < 8; ++spoke) {
        const double a = spoke * kPi / 4;
        ThickLine(s, c, c, c + static_cast<int32_t>(38 * std::cos(a)), c + static_cast<int32_t>(38 * std::sin(a)), 1,
                  ink(250, 250, 250));
    }
    for (int ring = 1; ring <= 3; ++ring)
        for (int spoke = 0; spoke < 8; ++spoke) {
            const double a = spoke * kPi / 4, b = (spoke + 1) * kPi / 4, r = ring * 12.0;
            ThickLine(s, c + static_cast<int32_t>(r * std::cos(a)), c + static_cast<int32_t>(r * std::sin(a)),
                      c + static_cast<int32_t>(r * std::cos(b)), c + static_cast<int32_t>(r * std::sin(b)), 1,
                      ink(250, 250, 250));
        }
}

void PaintBadgeSymbol(CxDrawSurface& s, EBadgeGame game, const BadgeInk& ink)
{
    const int32_t c = kBadge / 2;
    switch (game) {
    case kBaleOut: // a round hay bale
        FillRect(s, 24, 34, 80, 74, ink(236, 196, 70));
        for (int32_t x = 30; x < 80; x += 10)
            FillRect(s, x, 36, x + 1, 72, ink(190, 140, 40));
        FillRect(s, 24, 50, 80, 53, ink(150, 70, 40));
        break;
    case kCroquet: // a ball, a hoop and a mallet
        ThickLine(s, 28, 30, 62, 64, 3, ink(140, 90, 40));
        FillRect(s, 54, 58, 74, 70, ink(120, 70, 30));
        s.FillCircle(34, 70, 10, ink(220, 40, 40));
        ThickLine(s, 66, 80, 66, 62, 2, ink(250, 250, 250));
        ThickLine(s, 82, 80, 82, 62, 2, ink(250, 250, 250));
        ThickLine(s, 66, 62, 82, 62, 2, ink(250, 250, 250));
        break;
    case kPigsOut: // a pink pig's face
    case kPigPen:
        if (game == kPigPen) { // the pen's fence behind the pig
            for (int32_t x = 20; x <= 80; x += 15)
                FillRect(s, x, 26, x + 4, 82, ink(150, 96, 50));
            FillRect(s, 18, 36, 86, 40, ink(150, 96, 50));
            FillRect(s, 18, 66, 86, 70, ink(150, 96, 50));
        }
        FillTriangle(s, 30, 28, 44, 38, 30, 46, ink(236, 140, 160));
        FillTriangle(s, 74, 28, 60, 38, 74, 46, ink(236, 140, 160));
        s.FillCircle(c, 56, 26, ink(248, 170, 186));
        FillEllipse(s, c, 64, 12, 8, ink(230, 120, 144));
        s.FillCircle(c - 5, 64, 2, ink(90, 40, 50));
        s.FillCircle(c + 5, 64, 2, ink(90, 40, 50));
        s.FillCircle(c - 10, 48, 3, ink(30, 30, 30));
        s.FillCircle(c + 10, 48, 3, ink(30, 30, 30));
        break;
    case kWordWeb: // a web with a letter-like block
        PaintWeb(s, ink);
        FillRect(s, 40, 40, 64, 64, ink(250, 220, 60));
        ThickLine(s, 44, 60, 52, 44, 2, ink(60, 40, 120));
        ThickLine(s, 52, 44, 60, 60, 2, ink(60, 40, 120));
        ThickLine(s, 47, 54, 57, 54, 1, ink(60, 40, 120));
        break;
    case kNumberWeb: // a web with three dots (counting)
        PaintWeb(s, ink);
        for (int32_t x : {38, 52, 66})
            s.FillCircle(x, 52, 6, ink(250, 220, 60));
        break;
    case kSwinging: // a spider swinging on its thread
        ThickLine(s, c, 12, c + 14, 56, 1, ink(250, 250, 250));
        s.FillCircle(c + 16, 62, 12, ink(40, 30, 40));
        for (int leg = -1; leg <= 1; ++leg) {
            ThickLine(s, c + 6, 62 + leg * 6, c - 4, 58 + leg * 10, 1, ink(40, 30, 40));
            ThickLine(s, c + 26, 62 + leg * 6, c + 36, 58 + leg * 10, 1, ink(40, 30, 40));
        }
        s.FillCircle(c + 12, 58, 3, ink(255, 255, 255));
        s.FillCircle(c + 20, 58, 3, ink(255, 255, 255));
        break;
    }
}

template <EBadgeGame Game, EBadgeLook Look>
void PaintBadge(CxDrawSurface& s)
{
    constexpr int backs[][3] = {{108, 170, 70}, {90, 150, 220}, {120, 190, 120}, {150, 100, 200},
                                {220, 120, 60},  {80, 120, 200}, {180, 140, 90}};
    PaintBadgeBack(s, Look, backs[Game]);
    const BadgeInk ink{s, Look};
    PaintBadgeSymbol(s, Game, ink);
    if (Look == kBadgeLocked)
        PaintPadlock(s);
}

// The goal marker: a row of `Slots` eggs in a nest, one frame per count of
// eggs laid (0 .. Slots), so the row fills up with each win.
constexpr int32_t kMarkerSlot = 40;
constexpr int32_t kMarkerHeight = 56;

constexpr int32_t MarkerFrameWidth(int slots)
{
    return slots * kMarkerSlot + 24;
}

template <int Slots>
void PaintGoalMarker(CxDrawSurface& s)
{
    const int32_t w = MarkerFrameWidth(Slots);
    s.Create(w * (Slots + 1), kMarkerHeight, 32);
    FillRect(s, 0, 0, w * (Slots + 1) - 1, kMarkerHeight - 1, Argb(0, 0, 0, 0));
    for (int frame = 0; frame <= Slots; ++frame) {
        const int32_t x0 = frame * w;
        FillEllipse(s, x0 + w / 2, 42, w / 2 - 2, 12, Colour(s, 120, 80, 40)); // the nest
        FillEllipse(s, x0 + w / 2, 40, w / 2 - 6, 8, Colour(s, 170, 120, 60));
        for (int slot = 0; slot < Slots; ++slot) {
            const int32_t cx = x0 + 12 + slot * kMarkerSlot + kMarkerSlot / 2;
            if (slot < frame) {
                FillEllipse(s, cx, 26, 15, 19, Colour(s, 90, 60, 30));
                FillEllipse(s, cx, 26, 13, 17, Colour(s, 255, 246, 220));
                FillEllipse(s, cx - 4, 19, 3, 5, Colour(s, 255, 255, 255));
            } else { // an empty place, dashed
                FillEllipse(s, cx, 26, 13, 17, Colour(s, 90, 60, 30));
                FillEllipse(s, cx, 26, 11, 15, Colour(s, 200, 170, 120));
            }
        }
    }
}

// The board faces of the two other hubs: a big wheel, and the activity
// centre's house with a paintbrush.
void PaintFairFace(CxDrawSurface& f)
{
    const uint32_t steel = Colour(f, 60, 70, 120);
    for (int r = 30; r >= 27; --r)
        for (int step = 0; step < 64; ++step) {
            const double a = step * kPi / 32;
            f.FillCircle(48 + static_cast<int32_t>(r * std::cos(a)), 44 + static_cast<int32_t>(r * std::sin(a)), 1,
                         steel);
        }
    for (int spoke = 0; spoke < 8; ++spoke) {
        const double a = spoke * kPi / 4;
        const int32_t x = 48 + static_cast<int32_t>(28 * std::cos(a)), y = 44 + static_cast<int32_t>(28 * std::sin(a));
        ThickLine(f, 48, 44, x, y, 1, steel);
        f.FillCircle(x, y, 6, spoke % 2 ? Colour(f, 230, 60, 60) : Colour(f, 250, 200, 40));
    }
    ThickLine(f, 48, 44, 30, 88, 2, steel);
    ThickLine(f, 48, 44, 66, 88, 2, steel);
}

void PaintCentreFace(CxDrawSurface& f)
{
    FillRect(f, 22, 44, 74, 84, Colour(f, 240, 200, 120));
    FillTriangle(f, 14, 46, 48, 14, 82, 46, Colour(f, 200, 60, 50));
    FillRect(f, 42, 60, 54, 84, Colour(f, 120, 70, 40));
    FillRect(f, 28, 52, 38, 60, Colour(f, 150, 210, 250));
    FillRect(f, 58, 52, 68, 60, Colour(f, 150, 210, 250));
}

void PaintFairButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintFairFace);
}

void PaintCentreButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintCentreFace);
}

#define FARM_BADGE(file, game) BADGE_PICTURES("FarmyardMenu/" file, PaintBadge, game)

const ST_DEMO_PICTURE kPictures[] = {
    // 800 x 600, 24-bit: the yard up close under a sunny sky
    {"FarmyardMenu/backdrop.tga", &PaintBackdrop, kWidth, kHeight, 24},
    // five 96 x 96 frames, 24-bit: one look per button state
    {"FarmyardMenu/button_hen.tga", &PaintHen, kBoardSize * kButtonStates, kBoardSize, 24},
    {"FarmyardMenu/button_sheep.tga", &PaintSheep, kBoardSize * kButtonStates, kBoardSize, 24},
    // 104 x 104, 32-bit: each farm game's badge, normal, lit and locked
    FARM_BADGE("badge_baleout", kBaleOut),
    FARM_BADGE("badge_croquet", kCroquet),
    FARM_BADGE("badge_pigsout", kPigsOut),
    FARM_BADGE("badge_wordweb", kWordWeb),
    FARM_BADGE("badge_numberweb", kNumberWeb),
    FARM_BADGE("badge_swinging", kSwinging),
    FARM_BADGE("badge_pigpen", kPigPen),
    // the farm goals' markers: a nest with one egg place per win, a frame per count
    {"FarmyardMenu/marker1.tga", &PaintGoalMarker<1>, MarkerFrameWidth(1) * 2, kMarkerHeight, 32},
    {"FarmyardMenu/marker4.tga", &PaintGoalMarker<4>, MarkerFrameWidth(4) * 5, kMarkerHeight, 32},
    // five 96 x 96 frames, 24-bit: the buttons to the fairground and the activity centre
    {"FarmyardMenu/button_fair.tga", &PaintFairButton, kBoardSize * kButtonStates, kBoardSize, 24},
    {"FarmyardMenu/button_centre.tga", &PaintCentreButton, kBoardSize * kButtonStates, kBoardSize, 24},
};

#undef FARM_BADGE

} // namespace

std::span<const ST_DEMO_PICTURE> FarmyardPictures()
{
    return kPictures;
}
