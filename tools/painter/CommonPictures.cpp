// Pictures every room may use: the score's big digits and the button that
// goes back home.
#include "tools/painter/BoardButtons.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// --- the score: round, bold digits drawn as pen strokes ---------------------------------------

constexpr int32_t kScoreCell = 28;
constexpr int32_t kScoreHeight = 40;
// The pen: ink 7 pixels wide inside a dark edge of 2, so the digits read
// over a bright sky as well as over grass.
constexpr int kInkRadius = 3;
constexpr int kEdgeRadius = 5;

// A pen stroke in a digit's cell: a line from (a, b) to (c, d), or an arc of
// the ellipse around (a, b) with radii c and d from `from` to `to` degrees
// (0 is to the right, 90 straight down).
struct ST_STROKE
{
    bool arc;
    double a, b, c, d, from, to;
};

constexpr ST_STROKE Line(double x1, double y1, double x2, double y2)
{
    return {false, x1, y1, x2, y2, 0, 0};
}

constexpr ST_STROKE Arc(double cx, double cy, double rx, double ry, double from, double to)
{
    return {true, cx, cy, rx, ry, from, to};
}

// Every digit fits x 6..22, y 6..34 of its cell; the pen's edge stays off
// the marker row at the top and out of the next cell.
struct ST_DIGIT
{
    ST_STROKE strokes[3];
    int count;
};

const ST_DIGIT kScoreDigits[10] = {
    {{Arc(14, 20, 8, 14, 0, 360)}, 1},
    {{Line(15, 6, 15, 34), Line(9, 12, 15, 6)}, 2},
    {{Arc(14, 13, 8, 7, 180, 385), Line(21, 16, 6, 34), Line(6, 34, 22, 34)}, 3},
    {{Arc(14, 13, 7.5, 7, 200, 450), Arc(14, 27, 8, 7, -90, 160)}, 2},
    {{Line(18, 34, 18, 6), Line(18, 6, 6, 26), Line(6, 26, 22, 26)}, 3},
    {{Line(21, 6, 9, 6), Line(9, 6, 8, 20), Arc(14, 26, 8, 8, -135, 150)}, 3},
    {{Arc(14, 26, 8, 8, 0, 360), Arc(22, 26, 16, 20, 180, 255)}, 2},
    {{Line(6, 6, 22, 6), Line(22, 6, 11, 34)}, 2},
    {{Arc(14, 12.5, 7, 6.5, 0, 360), Arc(14, 26.5, 8, 7.5, 0, 360)}, 2},
    {{Arc(14, 14, 8, 8, 0, 360), Arc(6, 14, 16, 20, 0, 75)}, 2},
};

void DrawStroke(CxDrawSurface& s, int32_t left, const ST_STROKE& stroke, int radius, uint32_t colour)
{
    if (!stroke.arc) {
        ThickLine(s, left + static_cast<int32_t>(stroke.a), static_cast<int32_t>(stroke.b),
                  left + static_cast<int32_t>(stroke.c), static_cast<int32_t>(stroke.d), radius, colour);
        return;
    }
    const int steps = static_cast<int>(std::ceil(std::fabs(stroke.to - stroke.from) / 5.0));
    auto point = [&](int i, int32_t& x, int32_t& y) {
        const double angle = (stroke.from + (stroke.to - stroke.from) * i / steps) * kPi / 180.0;
        x = left + static_cast<int32_t>(std::lround(stroke.a + stroke.c * std::cos(angle)));
        y = static_cast<int32_t>(std::lround(stroke.b + stroke.d * std::sin(angle)));
    };
    for (int i = 0; i < steps; ++i) {
        int32_t x1, y1, x2, y2;
        point(i, x1, y1);
        point(i + 1, x2, y2);
        ThickLine(s, x1, y1, x2, y2, radius, colour);
    }
}

// "0" to "9" for the score, bigger and bolder than the title's digits: the
// ink runs from sunny yellow at the top to orange at the bottom.
void PaintScore(CxDrawSurface& s)
{
    StartDigitStrip(s, kScoreCell, kScoreHeight);
    const uint32_t edge = Colour(s, 96, 40, 0);
    const uint32_t ink = Colour(s, 255, 255, 255); // recoloured row by row below
    for (int digit = 0; digit < 10; ++digit) {
        const int32_t left = DigitCell(digit, kScoreCell);
        const ST_DIGIT& glyph = kScoreDigits[digit];
        for (int i = 0; i < glyph.count; ++i)
            DrawStroke(s, left, glyph.strokes[i], kEdgeRadius, edge);
        for (int i = 0; i < glyph.count; ++i)
            DrawStroke(s, left, glyph.strokes[i], kInkRadius, ink);
    }
    for (int32_t y = 1; y < kScoreHeight; ++y) {
        const int t = std::clamp(y - 4, 0, 32);
        const uint32_t shade = Colour(s, 255, static_cast<uint8_t>(226 - t * 80 / 32), static_cast<uint8_t>(64 - t * 44 / 32));
        for (int32_t x = 0; x < s.GetWidth(); ++x)
            if (s.GetPixel(x, y) == ink)
                s.SetPixel(x, y, shade);
    }
}

// --- the home button ----------------------------------------------------------------------------

// A little white house under a red roof, with a chimney, a door and windows.
void PaintHomeFace(CxDrawSurface& f)
{
    FillRect(f, 60, 20, 69, 38, Colour(f, 150, 60, 40));         // chimney, behind the roof
    FillRect(f, 58, 17, 71, 22, Colour(f, 120, 46, 30));
    FillRect(f, 22, 44, 74, 80, Colour(f, 250, 248, 240));       // walls
    FillRect(f, 22, 76, 74, 80, Colour(f, 215, 210, 200));       // a footing in shade
    const CxPoint roof[] = {{12, 48}, {48, 14}, {84, 48}};
    FillPolygon(f, roof, 3, Colour(f, 220, 44, 40));
    const CxPoint ridge[] = {{48, 14}, {84, 48}, {76, 48}, {48, 22}};
    FillPolygon(f, ridge, 4, Colour(f, 180, 30, 30));            // the roof's shaded side
    FillRect(f, 40, 56, 56, 80, Colour(f, 90, 50, 20));          // door frame
    FillRect(f, 42, 58, 54, 80, Colour(f, 170, 100, 45));        // door
    f.FillCircle(51, 70, 1, Colour(f, 255, 210, 60));
    for (int32_t x : {27, 61}) {                                 // windows
        FillRect(f, x - 1, 53, x + 9, 63, Colour(f, 90, 50, 20));
        FillRect(f, x, 54, x + 8, 62, Colour(f, 140, 205, 250));
        FillRect(f, x + 4, 54, x + 4, 62, Colour(f, 250, 248, 240));
        FillRect(f, x, 58, x + 8, 58, Colour(f, 250, 248, 240));
    }
}

void PaintHome(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintHomeFace);
}

const ST_DEMO_PICTURE kPictures[] = {
    // a strip font: codes 0-47 empty, then "0" to "9" in 28 x 40 cells
    {"common/score.pcx", &PaintScore, DigitCell(10, kScoreCell), kScoreHeight, 24},
    // five 96 x 96 frames, 24-bit: one look per button state
    {"common/button_home.tga", &PaintHome, kBoardSize * kButtonStates, kBoardSize, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> CommonPictures()
{
    return kPictures;
}
