// The credits roll's pictures: a night sky behind the scrolling text, the
// two logos at the foot of the roll, and a strip of grass over the bottom of
// the screen that the text passes behind.
#include "PIM/text/CxBitmapFont.h"
#include "tools/painter/PaintKit.h"

#include <cmath>

namespace {

void PaintNightSky(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    for (int32_t y = 0; y < 600; ++y) {
        const int t = y * 255 / 599;
        FillRect(s, 0, y, 799, y, Colour(s, static_cast<uint8_t>(10 + t / 8), static_cast<uint8_t>(16 + t / 6),
                                         static_cast<uint8_t>(50 + t / 3)));
    }
    // Stars scattered by a fixed little generator, so the sky is the same every build.
    uint32_t seed = 12345;
    for (int i = 0; i < 140; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int32_t x = static_cast<int32_t>((seed >> 8) % 800);
        seed = seed * 1103515245u + 12345u;
        const int32_t y = static_cast<int32_t>((seed >> 8) % 520);
        const uint8_t glow = static_cast<uint8_t>(160 + (seed >> 24) % 96);
        s.SetPixel(x, y, Colour(s, glow, glow, 255));
        if (i % 9 == 0)
            s.FillCircle(x, y, 1, Colour(s, glow, glow, 220));
    }
    s.FillCircle(680, 90, 40, Colour(s, 245, 240, 210)); // the moon
    s.FillCircle(665, 80, 8, Colour(s, 225, 220, 190));
}

// The farm's logo: a red barn under a yellow sun, 160 x 100.
void PaintFarmLogo(CxDrawSurface& s)
{
    StartKeyed(s, 160, 100, 24);
    s.FillCircle(118, 30, 22, Colour(s, 255, 210, 70));
    FillRect(s, 30, 50, 110, 98, Colour(s, 180, 40, 36));
    FillTriangle(s, 22, 52, 118, 52, 70, 14, Colour(s, 110, 60, 50));
    FillRect(s, 56, 66, 84, 98, Colour(s, 240, 232, 214));
    s.DrawLine(56, 66, 84, 97, Colour(s, 180, 40, 36));
    s.DrawLine(84, 66, 56, 97, Colour(s, 180, 40, 36));
}

// The engine's logo: a blue gear, 100 x 100.
void PaintEngineLogo(CxDrawSurface& s)
{
    StartKeyed(s, 100, 100, 24);
    const uint32_t steel = Colour(s, 90, 140, 210);
    for (int tooth = 0; tooth < 10; ++tooth) {
        const double a = tooth * 3.14159265358979 / 5;
        s.FillCircle(50 + static_cast<int32_t>(std::lround(38 * std::cos(a))),
                     50 + static_cast<int32_t>(std::lround(38 * std::sin(a))), 9, steel);
    }
    s.FillCircle(50, 50, 38, steel);
    s.FillCircle(50, 50, 14, Colour(s, 255, 0, 255)); // the hole shows through
}

// Grass along the bottom, 800 x 80 on a magenta key: the roll slides behind it.
void PaintGrass(CxDrawSurface& s)
{
    StartKeyed(s, 800, 80, 24);
    FillRect(s, 0, 40, 799, 79, Colour(s, 40, 90, 40));
    for (int32_t x = 0; x < 800; x += 6) {
        const int32_t h = 14 + static_cast<int32_t>((x * 37) % 23);
        ThickLine(s, x, 44, x + 3, 44 - h, 1, Colour(s, 50, static_cast<uint8_t>(110 + (x % 40)), 50));
    }
}

// The game's own credits: a sunset over the fields, 800 x 600.
void PaintSunsetFields(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    for (int32_t y = 0; y < 600; ++y) {
        const int t = y * 255 / 599;
        FillRect(s, 0, y, 799, y, Colour(s, static_cast<uint8_t>(60 + t * 3 / 4), static_cast<uint8_t>(30 + t / 3),
                                         static_cast<uint8_t>(90 - t / 4)));
    }
    // The setting sun, off to the side: the pale letters
    // rolling up the middle stay readable all the way.
    s.FillCircle(700, 470, 65, Colour(s, 250, 175, 60));
    for (int hill = 0; hill < 3; ++hill) {
        const int32_t top = 470 + hill * 35;
        const uint8_t green = static_cast<uint8_t>(70 - hill * 15);
        for (int32_t x = 0; x < 800; ++x) {
            const int32_t rise = static_cast<int32_t>(std::lround(18 * std::sin((x + hill * 170) / 90.0)));
            FillRect(s, x, top + rise, x, 599, Colour(s, 30, green, 30));
        }
    }
}

// The credits' letters: the built-in font's 128 glyphs at twice their size,
// 24 pixels high, in straw yellow on the magenta key. Each glyph keeps its
// marker in the top row's first column; codes follow the glyph order.
constexpr int32_t kSourceCell = 9;
constexpr int32_t kLetterCell = 1 + 8 * 2;
constexpr int32_t kLetterCount = 128;

void PaintCreditsFont(CxDrawSurface& s)
{
    CxDrawSurface source;
    if (BuildDefaultFontStrip(source) != PIM_OK)
        return;
    StartKeyed(s, kLetterCell * kLetterCount, 24, 24);
    const uint32_t marker = Colour(s, 0, 255, 0);
    const uint32_t sourcePaper = source.GetTransparentColour();
    for (int32_t cell = 0; cell < kLetterCount; ++cell) {
        const int32_t left = cell * kLetterCell;
        s.SetPixel(left, 0, marker);
        for (int32_t y = 0; y < 24; ++y) {
            const uint32_t ink = Colour(s, 255, static_cast<uint8_t>(240 - y * 3), static_cast<uint8_t>(150 - y * 4));
            for (int32_t x = 1; x < kLetterCell; ++x) {
                const uint32_t pixel = source.GetPixel(cell * kSourceCell + 1 + (x - 1) / 2, y / 2);
                if (pixel != sourcePaper)
                    s.SetPixel(left + x, y, ink);
            }
        }
    }
}

const ST_DEMO_PICTURE kPictures[] = {
    {"credits/sky.tga", &PaintNightSky, 800, 600, 24},
    {"credits/farm_logo.tga", &PaintFarmLogo, 160, 100, 24},
    {"credits/engine_logo.tga", &PaintEngineLogo, 100, 100, 24},
    {"credits/grass.tga", &PaintGrass, 800, 80, 24},
    {"credits/cr_bg.tga", &PaintSunsetFields, 800, 600, 24},
    {"credits/font1.pcx", &PaintCreditsFont, kLetterCell * kLetterCount, 24, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> CreditsPictures()
{
    return kPictures;
}
