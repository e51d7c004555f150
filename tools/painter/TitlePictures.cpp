// The title room's pictures: the farm backdrop and the animals that move
// over it, and the digits strip font.
#include "tools/painter/PaintKit.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

void PaintBackdrop(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // Sky: a vertical gradient from deep blue to a pale horizon.
    for (int32_t y = 0; y < 380; ++y) {
        const int t = y * 255 / 379;
        FillRect(s, 0, y, 799, y, Colour(s, static_cast<uint8_t>(70 + t * 120 / 255),
                                         static_cast<uint8_t>(130 + t * 100 / 255), static_cast<uint8_t>(220 + t * 30 / 255)));
    }
    // The sun with a soft ring.
    s.FillCircle(660, 110, 62, Colour(s, 255, 236, 150));
    s.FillCircle(660, 110, 48, Colour(s, 255, 214, 80));
    // Far hills, then near hills, as big circles cut by the horizon.
    s.FillCircle(150, 560, 330, Colour(s, 120, 180, 90));
    s.FillCircle(620, 620, 380, Colour(s, 105, 170, 80));
    FillRect(s, 0, 430, 799, 599, Colour(s, 92, 160, 70));
    // Meadow stripes.
    for (int32_t y = 440; y < 600; y += 16)
        FillRect(s, 0, y, 799, y + 5, Colour(s, 84, 150, 64));
    // The barn: walls, roof, door and its cross.
    FillRect(s, 90, 300, 270, 450, Colour(s, 178, 40, 36));
    for (int32_t i = 0; i <= 60; ++i)
        FillRect(s, 80 + i * 3 / 2, 300 - i, 280 - i * 3 / 2, 300 - i, Colour(s, 96, 60, 50));
    FillRect(s, 150, 370, 210, 450, Colour(s, 240, 232, 214));
    FillRect(s, 156, 376, 204, 450, Colour(s, 150, 30, 28));
    s.DrawLine(156, 376, 204, 449, Colour(s, 240, 232, 214));
    s.DrawLine(204, 376, 156, 449, Colour(s, 240, 232, 214));
    FillRect(s, 160, 320, 200, 350, Colour(s, 250, 245, 225));
    // The fence along the meadow.
    for (int32_t x = 320; x < 800; x += 40)
        FillRect(s, x, 420, x + 7, 480, Colour(s, 235, 225, 200));
    FillRect(s, 320, 432, 799, 438, Colour(s, 225, 212, 185));
    FillRect(s, 320, 458, 799, 464, Colour(s, 225, 212, 185));
}

// One sheep frame at `x`: a woolly body of circles, a dark head and legs
// whose stride depends on the frame.
void PaintSheepFrame(CxDrawSurface& s, int32_t x, int frame)
{
    const uint32_t wool = Argb(255, 246, 244, 236);
    const uint32_t shade = Argb(255, 215, 212, 200);
    const uint32_t dark = Argb(255, 40, 36, 40);
    static const int kStride[4] = {-4, 0, 4, 0};
    const int stride = kStride[frame];
    // Legs first, so that the body covers their tops.
    FillRect(s, x + 16 + stride, 32, x + 20 + stride, 46, dark);
    FillRect(s, x + 24 - stride, 32, x + 28 - stride, 46, dark);
    FillRect(s, x + 36 + stride, 32, x + 40 + stride, 46, dark);
    FillRect(s, x + 44 - stride, 32, x + 48 - stride, 46, dark);
    for (int i = 0; i < 5; ++i)
        s.FillCircle(x + 16 + i * 8, 22 + (i % 2) * 3, 11, i % 2 ? shade : wool);
    s.FillCircle(x + 32, 20, 14, wool);
    // Head and ear, looking to the right.
    s.FillCircle(x + 53, 16, 7, dark);
    FillRect(s, x + 46, 9, x + 49, 12, dark);
    s.SetPixel(x + 55, 14, Argb(255, 255, 255, 255));
}

void PaintSheep(CxDrawSurface& s)
{
    s.Create(256, 48, 32);
    FillRect(s, 0, 0, 255, 47, 0); // fully transparent
    for (int frame = 0; frame < 4; ++frame)
        PaintSheepFrame(s, frame * 64, frame);
}

void PaintCloud(CxDrawSurface& s)
{
    s.Create(160, 72, 32);
    // Alpha falls off with the distance from the nearest of five puffs.
    const int puffs[5][3] = {{40, 44, 24}, {70, 32, 30}, {102, 36, 26}, {126, 46, 20}, {84, 50, 22}};
    for (int32_t y = 0; y < 72; ++y) {
        for (int32_t x = 0; x < 160; ++x) {
            double inside = -1e9;
            for (const auto& p : puffs)
                inside = std::max(inside, p[2] - std::hypot(x - p[0], y - p[1]));
            const double a = std::clamp((inside + 4.0) / 8.0, 0.0, 1.0) * 230.0;
            const auto shade = static_cast<uint8_t>(255 - std::clamp(y - 40, 0, 30));
            s.SetPixel(x, y, Argb(static_cast<uint8_t>(a), shade, shade, 255));
        }
    }
}

void PaintHen(CxDrawSurface& s)
{
    s.Create(120, 40, 24);
    const uint32_t key = Colour(s, 255, 0, 255);
    FillRect(s, 0, 0, 119, 39, key);
    s.SetTransparentColour(key);
    for (int frame = 0; frame < 3; ++frame) {
        const int32_t x = frame * 40;
        const int peck = frame == 1 ? 6 : (frame == 2 ? 12 : 0);
        FillRect(s, x + 16, 30, x + 17, 38, Colour(s, 230, 160, 40)); // legs
        FillRect(s, x + 22, 30, x + 23, 38, Colour(s, 230, 160, 40));
        s.FillCircle(x + 19, 22, 11, Colour(s, 150, 90, 50));          // body
        s.FillCircle(x + 10, 18, 6, Colour(s, 120, 70, 40));           // tail
        s.FillCircle(x + 29, 12 + peck, 6, Colour(s, 160, 100, 60));   // head
        FillRect(s, x + 28, 4 + peck, x + 31, 7 + peck, Colour(s, 220, 30, 30)); // comb
        FillRect(s, x + 35, 12 + peck, x + 38, 14 + peck, Colour(s, 240, 190, 40)); // beak
        s.SetPixel(x + 31, 11 + peck, Colour(s, 0, 0, 0));
    }
}

// The small digits, seven segments each in 16 x 24 cells (see StartDigitStrip).
void PaintDigits(CxDrawSurface& s)
{
    constexpr int32_t kCell = 16;
    constexpr int32_t kHeight = 24;
    StartDigitStrip(s, kCell, kHeight);
    const uint32_t ink = Colour(s, 255, 200, 40);
    const uint32_t edge = Colour(s, 120, 60, 0);
    // Segments a..g of each digit, as bits 0..6.
    static const uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    for (int digit = 0; digit < 10; ++digit) {
        const int32_t x = DigitCell(digit, kCell);
        const uint8_t on = kSegments[digit];
        const struct
        {
            int32_t left, top, right, bottom;
        } segments[7] = {
            {x + 4, 2, x + 11, 4},    // a: top
            {x + 11, 4, x + 13, 12},  // b: upper right
            {x + 11, 12, x + 13, 20}, // c: lower right
            {x + 4, 20, x + 11, 22},  // d: bottom
            {x + 2, 12, x + 4, 20},   // e: lower left
            {x + 2, 4, x + 4, 12},    // f: upper left
            {x + 4, 11, x + 11, 13},  // g: middle
        };
        for (int i = 0; i < 7; ++i) {
            if (!(on & (1 << i)))
                continue;
            const auto& g = segments[i];
            FillRect(s, g.left - 1, g.top - 1, g.right + 1, g.bottom + 1, edge);
        }
        for (int i = 0; i < 7; ++i)
            if (on & (1 << i))
                FillRect(s, segments[i].left, segments[i].top, segments[i].right, segments[i].bottom, ink);
    }
}

const ST_DEMO_PICTURE kPictures[] = {
    // 800 x 600, 24-bit: the farm under a summer sky
    {"title/backdrop.tga", &PaintBackdrop, 800, 600, 24},
    // four 64 x 48 frames, 32-bit with alpha: a walking sheep
    {"common/sheep.tga", &PaintSheep, 256, 48, 32},
    // 160 x 72, 32-bit with soft alpha edges
    {"common/cloud.tga", &PaintCloud, 160, 72, 32},
    // three 40 x 40 frames, 24-bit on a magenta key: a pecking hen
    {"common/hen.tga", &PaintHen, 120, 40, 24},
    // a strip font: codes 0-47 empty, then "0" to "9" in 16 x 24 cells
    {"common/digits.tga", &PaintDigits, 208, 24, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> TitlePictures()
{
    return kPictures;
}
