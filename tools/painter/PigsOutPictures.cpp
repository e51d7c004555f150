// The pig run's road, objects and meter. The road comes down from a hill
// crest at y 230 to the bottom of the screen; its edges and stripes follow
// the very curve the room moves the objects on (centre y = 680 - sin(t) 446
// for t = 0.02 a tick, drifting toward x 432 by 1% a tick), so that what
// comes up the road stays on it and shrinks as the road narrows. Every
// object is drawn once, in its own units, at the twelve sizes of its frames.
#include "tools/painter/PaintKit.h"
#include "tools/painter/ScaledPen.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kWidth = 800;
constexpr int32_t kTopHeight = 238; // the road's top half; the bottom half starts here
constexpr int32_t kBottomHeight = 600 - kTopHeight;
constexpr int kRoadFrames = 4;
constexpr double kMiddle = 432; // where everything on the road drifts to
constexpr double kEdge = 430;   // the road's half width where the objects start
constexpr int32_t kCrest = 230; // the top of the hill in the middle

// The objects' frames: 160 x 160, twelve of them.
constexpr int32_t kCell = 160;
constexpr int kObjectFrames = 12;

// --- the road's own curve ----------------------------------------------------------------------

// The tick (from 1, fractions allowed) at which an object's centre is at
// screen row y, for 234 <= y <= 680 (objects of 160 x 160).
double TickAtRow(double y)
{
    const double rise = std::clamp((680.0 - y) / 446.0, -1.0, 1.0);
    return 1.0 + std::asin(rise) / 0.02;
}

double RowAtTick(double tick)
{
    return 680.0 - std::sin((tick - 1.0) * 0.02) * 446.0;
}

// How much of its distance from the middle a thing at that tick keeps.
double Spread(double tick)
{
    return std::pow(0.99, tick);
}

// The road's half width, and the size of things on it (1 at the bottom).
double HalfWidthAtRow(double y)
{
    if (y < kTopHeight) // over the crest the road narrows quickly out of sight
        return kEdge * Spread(72) - (kTopHeight - y) * 3.0;
    return kEdge * Spread(TickAtRow(y));
}

double SizeAtTick(double tick)
{
    return Spread(tick) / Spread(10);
}

// An object's frame f is drawn at this size: the square of how much its
// distance from the middle shrank by then, so it dwindles faster than the
// road narrows and looks far off on the hill.
double FrameSize(int frame)
{
    return std::pow(0.99, 2.0 * frame / (12 * 0.02 / 1.57));
}

struct ST_RGB
{
    uint8_t r, g, b;
};

ST_RGB Mix(ST_RGB a, ST_RGB b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto one = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return {one(a.r, b.r), one(a.g, b.g), one(a.b, b.b)};
}

uint32_t Rgb(const CxDrawSurface& s, ST_RGB c)
{
    return Colour(s, c.r, c.g, c.b);
}

// What changes from level to level: the time of day and the crop.
struct ST_ROAD_LOOK
{
    ST_RGB skyTop, skyLow, sun, farHills, nearHills, fieldA, fieldB, verge, road, stripe, flower;
    int32_t sunX, sunY, sunRadius;
};

const ST_ROAD_LOOK kLooks[3] = {
    // A sunny morning among green fields.
    {{96, 170, 240}, {196, 230, 255}, {255, 226, 80}, {150, 196, 200}, {104, 176, 92}, {118, 192, 78},
     {98, 168, 62}, {150, 210, 100}, {148, 146, 150}, {255, 255, 255}, {240, 70, 80}, 150, 62, 34},
    // Harvest time: golden wheat.
    {{110, 180, 236}, {220, 236, 248}, {255, 236, 120}, {170, 196, 170}, {150, 180, 80}, {236, 204, 96},
     {214, 178, 70}, {140, 196, 90}, {170, 150, 128}, {255, 255, 240}, {90, 110, 230}, 420, 44, 30},
    // Evening: a pink sky and the sun going down behind the hills.
    {{110, 86, 168}, {255, 176, 116}, {255, 140, 70}, {150, 110, 150}, {86, 130, 96}, {92, 152, 82},
     {76, 132, 70}, {120, 170, 90}, {124, 116, 128}, {255, 226, 120}, {255, 240, 120}, 640, 172, 44},
};

// A repeatable scatter of numbers in 0 .. 1.
double Scatter(int n)
{
    const double v = std::sin(n * 12.9898 + 78.233) * 43758.5453;
    return v - std::floor(v);
}

// --- the bottom half: the road through the fields ----------------------------------------------

void PaintFields(CxDrawSurface& s, const ST_ROAD_LOOK& look, int32_t x0, int32_t top)
{
    for (int32_t row = 0; row < kBottomHeight; ++row) {
        const double y = top + row;
        const double half = HalfWidthAtRow(y);
        const double haze = std::clamp((TickAtRow(std::max(y, 240.0)) - 10) / 62.0, 0.0, 1.0) * 0.35;
        for (int32_t x = 0; x < kWidth; ++x) {
            const double u = std::fabs(x - kMiddle) / half; // 1 at the road's edge
            ST_RGB c;
            if (u < 0.96)
                c = look.road;
            else if (u < 1.0)
                c = look.stripe; // the edge line
            else if (u < 1.09)
                c = look.verge;
            else // rows of crops running toward the hill
                c = static_cast<int>(std::floor((u - 1.09) * 5.0)) % 2 == 0 ? look.fieldA : look.fieldB;
            s.SetPixel(x0 + x, row, Rgb(s, Mix(c, look.farHills, haze)));
        }
    }
}

// Things that stand still on the ground seem to move up the road: dashes,
// fence posts and flowers are placed by tick, `phase` ticks on each frame.
void PaintRoadside(CxDrawSurface& s, const ST_ROAD_LOOK& look, int32_t x0, int32_t top, double phase)
{
    auto row = [&](double tick) { return static_cast<int32_t>(std::lround(RowAtTick(tick))) - top; };
    CScaledPen pen(s, x0, -top, 1.0);
    // The middle dashes: a dash every 10 ticks, 4.5 long.
    for (double start = phase - 10; start < 75; start += 10) {
        const double from = std::max(start, 1.0), to = std::min(start + 4.5, 73.0);
        if (from >= to)
            continue;
        for (double t = from; t < to; t += 0.05) {
            const double w = 7 * SizeAtTick(t);
            pen.Rect(kMiddle - w, RowAtTick(t) - 1, kMiddle + w, RowAtTick(t), Rgb(s, look.stripe));
        }
    }
    // Fence posts along both sides, joined by a rail.
    const uint32_t wood = Rgb(s, {150, 104, 62}), light = Rgb(s, {196, 148, 96});
    for (int side : {-1, 1}) {
        for (double t = 1; t < 73; t += 0.25) {
            const double k = SizeAtTick(t), x = kMiddle + side * kEdge * Spread(t) * 1.16;
            pen.Rect(x - 1, RowAtTick(t) - 30 * k, x + 1, RowAtTick(t) - 30 * k + std::max(2.0, 5 * k), light);
        }
        for (double t = phase - 10 + 5; t < 73; t += 10) {
            if (t < 1)
                continue;
            const double k = SizeAtTick(t), x = kMiddle + side * kEdge * Spread(t) * 1.16, y = RowAtTick(t);
            pen.Rect(x - 5 * k, y - 44 * k, x + 5 * k, y, wood);
            pen.Rect(x - 5 * k, y - 44 * k, x + 1 * k, y, light);
        }
    }
    // Flowers in the fields.
    for (int n = 0; n < 160; ++n) {
        const double t = std::fmod(Scatter(n) * 80 + phase, 80.0);
        if (t < 1 || t > 72)
            continue;
        const double k = SizeAtTick(t);
        const double u = 1.25 + Scatter(n + 500) * 1.6, side = n % 2 ? 1 : -1;
        const double x = kMiddle + side * u * kEdge * Spread(t), y = RowAtTick(t) + Scatter(n + 900) * 8 * k;
        if (x < -10 || x > kWidth + 10 || row(t) < 0)
            continue;
        const ST_RGB petal = n % 3 == 0 ? ST_RGB{255, 255, 255} : n % 3 == 1 ? look.flower : ST_RGB{255, 220, 60};
        pen.Circle(x, y, std::max(1.0, 6 * k), Rgb(s, petal));
        pen.Circle(x, y, std::max(1.0, 2 * k), Rgb(s, {255, 200, 40}));
    }
}

template <int Level>
void PaintRoadBottom(CxDrawSurface& s)
{
    s.Create(kWidth * kRoadFrames, kBottomHeight, 24);
    const ST_ROAD_LOOK& look = kLooks[Level];
    for (int f = 0; f < kRoadFrames; ++f) {
        PaintFields(s, look, f * kWidth, kTopHeight);
        PaintRoadside(s, look, f * kWidth, kTopHeight, f * 10.0 / kRoadFrames);
    }
}

// --- the top half: the sky, the hills and the crest ---------------------------------------------

void PaintWindmill(CxDrawSurface& s, int32_t x0, int32_t cx, int32_t cy, double turn)
{
    const uint32_t wall = Colour(s, 240, 232, 214), roof = Colour(s, 170, 70, 60), sail = Colour(s, 120, 84, 60);
    FillTriangle(s, x0 + cx - 14, cy + 46, x0 + cx + 14, cy + 46, x0 + cx, cy - 4, wall);
    FillRect(s, x0 + cx - 14, cy + 30, x0 + cx + 14, cy + 46, wall);
    FillTriangle(s, x0 + cx - 10, cy + 4, x0 + cx + 10, cy + 4, x0 + cx, cy - 10, roof);
    FillRect(s, x0 + cx - 3, cy + 36, x0 + cx + 3, cy + 46, Colour(s, 120, 84, 60));
    for (int blade = 0; blade < 4; ++blade) {
        const double a = turn + blade * kPi / 2;
        const int32_t ex = cx + static_cast<int32_t>(std::lround(30 * std::cos(a)));
        const int32_t ey = cy + static_cast<int32_t>(std::lround(30 * std::sin(a)));
        ThickLine(s, x0 + cx, cy, x0 + ex, ey, 1, sail);
        const int32_t mx = cx + static_cast<int32_t>(std::lround(20 * std::cos(a)));
        const int32_t my = cy + static_cast<int32_t>(std::lround(20 * std::sin(a)));
        ThickLine(s, x0 + mx, my, x0 + ex, ey, 3, Colour(s, 250, 248, 240));
    }
    s.FillCircle(x0 + cx, cy, 3, roof);
}

void PaintTree(CxDrawSurface& s, int32_t x, int32_t y, int32_t r, const ST_RGB& leaves)
{
    FillRect(s, x - r / 5, y - r, x + r / 5, y, Colour(s, 120, 84, 56));
    s.FillCircle(x, y - r - r / 2, r, Rgb(s, leaves));
    s.FillCircle(x - r / 3, y - r - r, r / 3, Rgb(s, Mix(leaves, {255, 255, 255}, 0.25)));
}

void PaintCloud(CxDrawSurface& s, int32_t x, int32_t y, int32_t size, uint32_t colour)
{
    FillEllipse(s, x, y, size * 2, size * 2 / 3, colour);
    s.FillCircle(x - size / 2, y - size / 3, size * 2 / 3, colour);
    s.FillCircle(x + size / 2, y - size / 2, size * 3 / 4, colour);
}

double CrestAt(double x)
{
    const double d = (x - kMiddle) / 420.0;
    return kCrest + d * d * 26.0;
}

template <int Level>
void PaintRoadTop(CxDrawSurface& s)
{
    s.Create(kWidth * kRoadFrames, kTopHeight, 24);
    const ST_ROAD_LOOK& look = kLooks[Level];
    for (int f = 0; f < kRoadFrames; ++f) {
        const int32_t x0 = f * kWidth;
        for (int32_t y = 0; y < kTopHeight; ++y)
            FillRect(s, x0, y, x0 + kWidth - 1, y, Rgb(s, Mix(look.skyTop, look.skyLow, y / 230.0)));
        // The sun with a soft ring.
        s.FillCircle(x0 + look.sunX, look.sunY, look.sunRadius + 8, Rgb(s, Mix(look.sun, look.skyLow, 0.6)));
        s.FillCircle(x0 + look.sunX, look.sunY, look.sunRadius, Rgb(s, look.sun));
        const uint32_t cloud = Rgb(s, Mix({255, 255, 255}, look.skyLow, Level == 2 ? 0.45 : 0.05));
        PaintCloud(s, x0 + 300, 60, 28, cloud);
        PaintCloud(s, x0 + 520, 100, 20, cloud);
        PaintCloud(s, x0 + 80, 120, 18, cloud);
        PaintCloud(s, x0 + 720, 40, 22, cloud);
        // Far hills, then nearer ones, then the crest the road comes over.
        FillEllipse(s, x0 + 160, 250, 330, 80, Rgb(s, look.farHills));
        FillEllipse(s, x0 + 700, 245, 300, 90, Rgb(s, look.farHills));
        const ST_RGB near = look.nearHills;
        FillEllipse(s, x0 + 60, 255, 260, 60, Rgb(s, near));
        FillEllipse(s, x0 + 620, 262, 280, 72, Rgb(s, Mix(near, look.farHills, 0.2)));
        // A red barn on the left hill, a windmill turning on the right one.
        FillRect(s, x0 + 96, 176, x0 + 140, 206, Colour(s, 196, 56, 48));
        FillTriangle(s, x0 + 92, 178, x0 + 144, 178, x0 + 118, 158, Colour(s, 120, 40, 36));
        FillRect(s, x0 + 110, 190, x0 + 126, 206, Colour(s, 250, 240, 220));
        PaintWindmill(s, x0, 530, 150, f * kPi / 2 / kRoadFrames);
        for (int n = 0; n < 7; ++n)
            PaintTree(s, x0 + 200 + n * 37 + (n % 2) * 9, 214 - (n % 3) * 4, 9 + n % 3 * 2,
                      Mix(near, {40, 90, 40}, 0.5));
        PaintTree(s, x0 + 760, 214, 14, Mix(near, {40, 90, 40}, 0.4));
        // The hill the road comes over, with the road's last stretch.
        for (int32_t x = 0; x < kWidth; ++x) {
            const auto crest = static_cast<int32_t>(std::lround(CrestAt(x)));
            for (int32_t y = crest; y < kTopHeight; ++y) {
                const double u = std::fabs(x - kMiddle) / HalfWidthAtRow(y);
                ST_RGB c = u < 0.96 ? look.road : u < 1.0 ? look.stripe : u < 1.09 ? look.verge : look.fieldA;
                s.SetPixel(x0 + x, y, Rgb(s, Mix(c, look.farHills, 0.35)));
            }
        }
    }
}

// --- the objects --------------------------------------------------------------------------------
// Each is drawn standing on (0, 0), its own units upward negative, about
// 150 wide at most: food about 70 high, small obstacles 50, large 95, tall
// 135 (see PigsOut.ini for where the pig meets them).

using ObjectLook = void (*)(const CScaledPen& p);

uint32_t C(const CScaledPen& p, uint8_t r, uint8_t g, uint8_t b)
{
    return Colour(p.Surface(), r, g, b);
}

void Shadow(const CScaledPen& p, double rx)
{
    p.Ellipse(0, -2, rx, rx / 6, Argb(90, 40, 50, 30));
}

void Apple(const CScaledPen& p)
{
    Shadow(p, 36);
    p.Circle(0, -36, 34, C(p, 220, 40, 40));
    p.Circle(-12, -48, 10, C(p, 250, 120, 110));
    p.Line(0, -68, 4, -80, 3, C(p, 110, 70, 30));
    p.Ellipse(16, -76, 12, 6, C(p, 80, 170, 60));
}

void Corn(const CScaledPen& p)
{
    Shadow(p, 30);
    p.Ellipse(0, -40, 20, 38, C(p, 250, 210, 60));
    for (int row = -3; row <= 3; ++row)
        for (int col = -1; col <= 1; ++col)
            p.Circle(col * 10, -40 + row * 10, 3, C(p, 255, 236, 130));
    p.Triangle(-24, -4, -6, -4, -22, -60, C(p, 90, 170, 60));
    p.Triangle(24, -4, 6, -4, 22, -60, C(p, 70, 150, 50));
}

void Carrot(const CScaledPen& p)
{
    Shadow(p, 26);
    p.Triangle(-22, -62, 22, -62, 0, -4, C(p, 250, 130, 30));
    for (int n = 0; n < 3; ++n)
        p.Line(-10 + n * 3, -48 + n * 12, 2 + n * 2, -46 + n * 12, 1, C(p, 200, 96, 20));
    p.Triangle(-4, -62, 4, -62, -16, -86, C(p, 60, 160, 50));
    p.Triangle(-4, -62, 4, -62, 14, -88, C(p, 80, 180, 60));
    p.Triangle(-3, -62, 3, -62, 0, -92, C(p, 60, 150, 40));
}

void Cabbage(const CScaledPen& p)
{
    Shadow(p, 40);
    p.Ellipse(-18, -28, 22, 20, C(p, 90, 160, 70));
    p.Ellipse(18, -28, 22, 20, C(p, 90, 160, 70));
    p.Circle(0, -36, 30, C(p, 150, 210, 110));
    p.Line(0, -60, 0, -14, 2, C(p, 220, 245, 190));
    p.Line(0, -36, -18, -52, 1, C(p, 220, 245, 190));
    p.Line(0, -30, 18, -46, 1, C(p, 220, 245, 190));
}

void Log(const CScaledPen& p)
{
    Shadow(p, 74);
    p.Rect(-66, -46, 66, -4, C(p, 150, 96, 52));
    p.Rect(-66, -40, 66, -34, C(p, 120, 74, 40));
    p.Rect(-66, -20, 66, -15, C(p, 120, 74, 40));
    p.Ellipse(66, -25, 12, 21, C(p, 222, 180, 120));
    p.Ellipse(66, -25, 6, 11, C(p, 190, 140, 86));
    p.Ellipse(-66, -25, 10, 21, C(p, 130, 84, 44));
}

void Stone(const CScaledPen& p)
{
    Shadow(p, 60);
    p.Ellipse(0, -26, 56, 26, C(p, 140, 140, 150));
    p.Ellipse(-10, -36, 38, 16, C(p, 176, 176, 186));
    p.Ellipse(-22, -42, 12, 5, C(p, 214, 214, 222));
}

void Puddle(const CScaledPen& p)
{
    p.Ellipse(0, -12, 72, 16, C(p, 120, 84, 50));
    p.Ellipse(0, -12, 60, 11, C(p, 110, 140, 170));
    p.Ellipse(-20, -15, 18, 3, C(p, 200, 220, 240));
    for (int n = 0; n < 8; ++n)
        p.Ellipse(-64 + n * 18, n % 2 ? -26 : -4, 8, 6, C(p, 150, 150, 156));
}

void Bale(const CScaledPen& p)
{
    Shadow(p, 72);
    p.Rect(-64, -94, 64, -4, C(p, 226, 186, 80));
    p.Rect(-64, -94, 64, -86, C(p, 240, 210, 110));
    for (int n = 0; n < 9; ++n)
        p.Line(-56 + n * 14, -80, -50 + n * 14, -14, 1, C(p, 196, 150, 56));
    p.Rect(-34, -94, -28, -4, C(p, 170, 60, 50));
    p.Rect(28, -94, 34, -4, C(p, 170, 60, 50));
}

void WoodPile(const CScaledPen& p)
{
    Shadow(p, 72);
    const int rows[3] = {3, 2, 1};
    for (int r = 0; r < 3; ++r)
        for (int n = 0; n < rows[r]; ++n) {
            const double x = (n - (rows[r] - 1) / 2.0) * 40, y = -20 - r * 34;
            p.Circle(x, y, 20, C(p, 120, 76, 40));
            p.Circle(x, y, 15, C(p, 222, 180, 120));
            p.Circle(x, y, 6, C(p, 190, 140, 86));
        }
}

void Barrel(const CScaledPen& p)
{
    Shadow(p, 50);
    p.Ellipse(0, -50, 46, 48, C(p, 170, 104, 54));
    p.Rect(-40, -96, 40, -4, C(p, 170, 104, 54));
    p.Rect(-24, -96, -14, -4, C(p, 196, 130, 72));
    for (double y : {-84.0, -50.0, -16.0})
        p.Rect(-44, y - 4, 44, y + 4, C(p, 90, 90, 100));
    p.Ellipse(0, -96, 40, 6, C(p, 130, 80, 40));
}

void Gate(const CScaledPen& p)
{
    Shadow(p, 76);
    const uint32_t wood = C(p, 196, 150, 96), dark = C(p, 140, 100, 60);
    p.Rect(-74, -136, -60, -2, dark);
    p.Rect(60, -136, 74, -2, dark);
    for (int n = 0; n < 5; ++n)
        p.Rect(-60, -128 + n * 28, 60, -114 + n * 28, wood);
    p.Line(-56, -20, 56, -120, 5, wood);
    p.Rect(-74, -136, 74, -124, C(p, 226, 186, 130)); // the top rail, solid right across
}

void Fence(const CScaledPen& p)
{
    Shadow(p, 76);
    const uint32_t white = C(p, 250, 250, 244), grey = C(p, 200, 200, 200);
    p.Rect(-74, -110, 74, -100, grey);
    p.Rect(-74, -40, 74, -30, grey);
    for (int n = 0; n < 7; ++n) {
        const double x = -66 + n * 22;
        p.Rect(x - 8, -122, x + 8, -2, white);
        p.Triangle(x - 8, -122, x + 8, -122, x, -136, white);
    }
}

void HayStack(const CScaledPen& p)
{
    Shadow(p, 74);
    for (int n = 0; n < 3; ++n) {
        const double x = n < 2 ? (n == 0 ? -36 : 36) : 0, y = n < 2 ? -2 : -68;
        p.Rect(x - 36, y - 64, x + 36, y, C(p, 226, 186, 80));
        p.Rect(x - 36, y - 64, x + 36, y - 58, C(p, 244, 214, 116));
        for (int s = 0; s < 5; ++s)
            p.Line(x - 30 + s * 14, y - 52, x - 26 + s * 14, y - 8, 1, C(p, 196, 150, 56));
        p.Rect(x - 3, y - 64, x + 3, y, C(p, 170, 60, 50));
    }
}

void HeartShape(const CScaledPen& p, double cx, double cy, double r, uint32_t colour)
{
    p.Circle(cx - r / 2, cy - r / 3, r / 2 + 1, colour);
    p.Circle(cx + r / 2, cy - r / 3, r / 2 + 1, colour);
    p.Triangle(cx - r, cy - r / 4, cx + r, cy - r / 4, cx, cy + r * 0.85, colour);
}

void Heart(const CScaledPen& p)
{
    Shadow(p, 30);
    HeartShape(p, 0, -62, 44, C(p, 170, 20, 50));
    HeartShape(p, 0, -62, 38, C(p, 240, 50, 90));
    p.Circle(-18, -76, 7, C(p, 255, 180, 200));
}

void StarShape(const CScaledPen& p, double cx, double cy, double r, uint32_t colour)
{
    for (int n = 0; n < 5; ++n) {
        const double a = -kPi / 2 + n * 2 * kPi / 5;
        const double l = a - kPi / 5, rr = a + kPi / 5;
        p.Triangle(cx + r * std::cos(a), cy + r * std::sin(a), cx + 0.42 * r * std::cos(l),
                   cy + 0.42 * r * std::sin(l), cx + 0.42 * r * std::cos(rr), cy + 0.42 * r * std::sin(rr), colour);
    }
    p.Circle(cx, cy, 0.42 * r, colour);
}

void Star(const CScaledPen& p)
{
    Shadow(p, 30);
    StarShape(p, 0, -62, 56, C(p, 220, 150, 20));
    StarShape(p, 0, -62, 48, C(p, 255, 214, 50));
    p.Circle(-9, -66, 4, C(p, 90, 60, 20));
    p.Circle(9, -66, 4, C(p, 90, 60, 20));
    p.Line(-9, -54, 0, -49, 2, C(p, 90, 60, 20)); // a smile
    p.Line(0, -49, 9, -54, 2, C(p, 90, 60, 20));
}

void Rainbow(const CScaledPen& p)
{
    Shadow(p, 60);
    const ST_RGB bands[6] = {{230, 50, 50}, {250, 150, 40}, {250, 220, 50}, {80, 190, 80}, {70, 130, 230},
                             {150, 80, 200}};
    for (int n = 0; n < 6; ++n) {
        const double r = 68 - n * 7;
        for (double a = kPi; a <= 2 * kPi + 0.001; a += kPi / 60)
            p.Circle(r * std::cos(a), -20 + r * std::sin(a), 4.5, Rgb(p.Surface(), bands[n]));
    }
    for (int side : {-1, 1}) { // a cloud at each foot
        p.Circle(side * 50, -20, 16, C(p, 255, 255, 255));
        p.Circle(side * 66, -14, 12, C(p, 255, 255, 255));
        p.Circle(side * 36, -12, 12, C(p, 255, 255, 255));
    }
}

template <ObjectLook Look>
void PaintObject(CxDrawSurface& s)
{
    StartKeyed(s, kCell * kObjectFrames, kCell, 32);
    for (int f = 0; f < kObjectFrames; ++f) {
        const double size = FrameSize(f);
        // It stands lower in its frame the bigger it is, as a thing on
        // the road nearer the viewer would.
        Look(CScaledPen(s, f * kCell + kCell / 2.0, kCell / 2.0 + 60 * size, size));
    }
    SoftenEdges(s);
}

// --- the meter ----------------------------------------------------------------------------------

// The board at the right: the food count at the top (the room writes it
// centred on the board's (95, 40)) and a little road down its right edge,
// which the marker walks from y 80 to 390 as the level's objects go by.
// Below the count only the road is painted, so the lanes stay clear.
void PaintScoreBoard(CxDrawSurface& s)
{
    StartKeyed(s, 150, 420, 32);
    const uint32_t wood = Colour(s, 176, 120, 66), edge = Colour(s, 120, 78, 40), paper = Colour(s, 255, 246, 220);
    FillRect(s, 112, 60, 148, 418, edge);
    FillRect(s, 115, 60, 145, 416, Colour(s, 120, 190, 90));
    FillRect(s, 122, 60, 138, 416, Colour(s, 200, 196, 190));
    for (int32_t y = 90; y < 400; y += 22)
        FillRect(s, 129, y, 131, y + 10, Colour(s, 255, 255, 255));
    // The finish: a chequered flag where the marker stops.
    FillRect(s, 112, 396, 148, 418, edge);
    for (int32_t r = 0; r < 2; ++r)
        for (int32_t c = 0; c < 4; ++c)
            FillRect(s, 114 + c * 8, 398 + r * 9, 121 + c * 8, 405 + r * 9,
                     (r + c) % 2 ? Colour(s, 30, 30, 30) : Colour(s, 255, 255, 255));
    // The count's sign, with an apple to say what is counted.
    FillRect(s, 0, 4, 149, 76, edge);
    FillRect(s, 3, 7, 146, 73, wood);
    FillRect(s, 38, 14, 142, 66, paper);
    s.FillCircle(20, 42, 13, Colour(s, 220, 40, 40));
    s.FillCircle(15, 37, 4, Colour(s, 250, 130, 120));
    ThickLine(s, 20, 29, 22, 24, 1, Colour(s, 110, 70, 30));
    SoftenEdges(s);
}

// The marker: Tobble's face, 24 x 26, on the board's little road.
void PaintMeterMarker(CxDrawSurface& s)
{
    StartKeyed(s, 24, 26, 32);
    const uint32_t pink = Colour(s, 250, 170, 186), dark = Colour(s, 214, 110, 138), ink = Colour(s, 40, 28, 30);
    FillTriangle(s, 2, 10, 8, 4, 4, 0, dark);
    FillTriangle(s, 21, 10, 15, 4, 19, 0, dark);
    FillEllipse(s, 12, 14, 11, 11, pink);
    FillEllipse(s, 12, 18, 6, 4, dark);
    s.FillCircle(10, 18, 1, ink);
    s.FillCircle(14, 18, 1, ink);
    s.FillCircle(8, 11, 2, ink);
    s.FillCircle(16, 11, 2, ink);
    SoftenEdges(s);
}

#define PIGSOUT_OBJECT(file, look) {"PigsOut/" file ".tga", &PaintObject<&look>, kCell * kObjectFrames, kCell, 32}
#define PIGSOUT_ROAD(level)                                                                                   \
    {"PigsOut/road_top" #level ".tga", &PaintRoadTop<level>, kWidth * kRoadFrames, kTopHeight, 24},          \
        {"PigsOut/road_bottom" #level ".tga", &PaintRoadBottom<level>, kWidth * kRoadFrames, kBottomHeight, 24}

const ST_DEMO_PICTURE kPictures[] = {
    PIGSOUT_ROAD(0), PIGSOUT_ROAD(1), PIGSOUT_ROAD(2),
    PIGSOUT_OBJECT("apple", Apple), PIGSOUT_OBJECT("corn", Corn), PIGSOUT_OBJECT("carrot", Carrot),
    PIGSOUT_OBJECT("cabbage", Cabbage), PIGSOUT_OBJECT("log", Log), PIGSOUT_OBJECT("stone", Stone),
    PIGSOUT_OBJECT("puddle", Puddle), PIGSOUT_OBJECT("bale", Bale), PIGSOUT_OBJECT("woodpile", WoodPile),
    PIGSOUT_OBJECT("barrel", Barrel), PIGSOUT_OBJECT("gate", Gate), PIGSOUT_OBJECT("fence", Fence),
    PIGSOUT_OBJECT("haystack", HayStack), PIGSOUT_OBJECT("heart", Heart), PIGSOUT_OBJECT("star", Star),
    PIGSOUT_OBJECT("rainbow", Rainbow),
    {"PigsOut/G07_score.tga", &PaintScoreBoard, 150, 420, 32},
    {"PigsOut/G07_meterMarker.tga", &PaintMeterMarker, 24, 26, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> PigsOutPictures()
{
    return kPictures;
}
