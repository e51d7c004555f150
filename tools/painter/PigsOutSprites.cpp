// The pig run's characters, 32-bit with soft edges: Tobble running down the
// road toward the viewer (130 x 340 a frame) and the farmer chasing him from
// the hill (130 x 140). Tobble is drawn at three depths, where the room has
// him meet the objects (see data/PigsOut/PigsOut.ini): group A's feet at
// y 195 of his frame, group B's further up the road and smaller (after a
// trip), group C's nearer and bigger (after a heart). The room raises him
// 150 for a high jump, so those frames draw him 150 lower in the picture
// and he seems to leap only as high as the frame's lift says.
#include "tools/painter/PaintKit.h"
#include "tools/painter/ScaledPen.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kPigW = 130, kPigH = 340;
constexpr int32_t kFarmerW = 130, kFarmerH = 140;
// The room moves him up by this for a high jump.
constexpr double kRaise = 150;

// Where his feet are and how big he is, by depth: 0 group B, 1 A, 2 C.
double FeetAt(double depth)
{
    return depth <= 1 ? 90 + 105 * depth : 195 + 55 * (depth - 1);
}

double SizeAt(double depth)
{
    return depth <= 1 ? 0.77 + 0.23 * depth : 1.0 + 0.15 * (depth - 1);
}

enum class ELegs
{
    LeftUp,
    Down,
    RightUp,
    Tucked,
    Fallen,
};

enum class EFace
{
    Smile,
    Open,   // a happy shout
    Oh,     // surprised
    Dizzy,  // after a fall
    Joy,    // eyes shut with delight
};

enum class EExtra
{
    None,
    Sparkles, // the star's second run
    Rainbow,  // the third run
    Hearts,   // the heart's cheer
    Stars,    // dazed after a trip
};

struct ST_PIG_POSE
{
    ELegs legs = ELegs::Down;
    EFace face = EFace::Smile;
    EExtra extra = EExtra::None;
    double lift = 0;  // units above the road
    double flat = 0;  // 0 standing .. 1 lying on the road
    int ears = 0;     // -1 flopped down, 0 level, 1 up in the wind
};

uint32_t C(const CScaledPen& p, uint8_t r, uint8_t g, uint8_t b)
{
    return Colour(p.Surface(), r, g, b);
}

void SmallStar(const CScaledPen& p, double cx, double cy, double r, uint32_t colour)
{
    for (int n = 0; n < 4; ++n) {
        const double a = n * kPi / 2;
        p.Triangle(cx + r * std::cos(a), cy + r * std::sin(a), cx + 0.3 * r * std::cos(a + kPi / 4),
                   cy + 0.3 * r * std::sin(a + kPi / 4), cx + 0.3 * r * std::cos(a - kPi / 4),
                   cy + 0.3 * r * std::sin(a - kPi / 4), colour);
    }
}

void SmallHeart(const CScaledPen& p, double cx, double cy, double r, uint32_t colour)
{
    p.Circle(cx - r / 2, cy - r / 3, r / 2 + 0.5, colour);
    p.Circle(cx + r / 2, cy - r / 3, r / 2 + 0.5, colour);
    p.Triangle(cx - r, cy - r / 4, cx + r, cy - r / 4, cx, cy + r * 0.85, colour);
}

void PigFace(const CScaledPen& p, double hy, EFace face)
{
    const uint32_t ink = C(p, 40, 28, 30), white = C(p, 255, 255, 255), dark = C(p, 220, 118, 144);
    for (int side : {-1, 1}) {
        const double ex = side * 11, ey = hy - 8;
        switch (face) {
        case EFace::Joy:
            p.Line(ex - 5, ey + 1, ex, ey - 3, 1, ink);
            p.Line(ex, ey - 3, ex + 5, ey + 1, 1, ink);
            break;
        case EFace::Dizzy:
            p.Line(ex - 4, ey - 4, ex + 4, ey + 4, 1, ink);
            p.Line(ex - 4, ey + 4, ex + 4, ey - 4, 1, ink);
            break;
        default:
            p.Circle(ex, ey, face == EFace::Oh ? 7 : 6, white);
            p.Circle(ex, ey + 1, 3, ink);
            break;
        }
        p.Circle(side * 20, hy + 4, 5, C(p, 255, 140, 160)); // rosy cheeks
    }
    p.Ellipse(0, hy + 6, 14, 10, dark); // the snout
    p.Circle(-5, hy + 6, 2.5, ink);
    p.Circle(5, hy + 6, 2.5, ink);
    switch (face) {
    case EFace::Smile:
        p.Line(-8, hy + 19, 0, hy + 22, 1, ink);
        p.Line(0, hy + 22, 8, hy + 19, 1, ink);
        break;
    case EFace::Open:
    case EFace::Joy:
        p.Ellipse(0, hy + 21, 8, 5, C(p, 160, 40, 60));
        p.Ellipse(0, hy + 23, 5, 2, C(p, 250, 120, 140));
        break;
    case EFace::Oh:
    case EFace::Dizzy:
        p.Circle(0, hy + 21, 4, C(p, 160, 40, 60));
        break;
    }
}

void PigExtras(const CScaledPen& p, const ST_PIG_POSE& pose, int frame, double top)
{
    switch (pose.extra) {
    case EExtra::Sparkles:
        for (int n = 0; n < 5; ++n) {
            const double a = n * 2 * kPi / 5 + frame * 0.6;
            SmallStar(p, 50 * std::cos(a), top + 40 + 34 * std::sin(a), n % 2 ? 7 : 10, C(p, 255, 214, 40));
        }
        break;
    case EExtra::Rainbow: {
        // A rainbow streaming up behind him toward the hill.
        const uint8_t bands[6][3] = {{230, 50, 50}, {250, 150, 40}, {250, 220, 50},
                                     {80, 190, 80}, {70, 130, 230}, {150, 80, 200}};
        for (int n = 0; n < 6; ++n)
            p.Line(-25 + n * 10, top + 30, -25 + n * 10 + (frame % 2 ? 3 : -3), top - 60, 4,
                   Argb(170, bands[n][0], bands[n][1], bands[n][2]));
        break;
    }
    case EExtra::Hearts: // floating up beside his head
        for (int n = 0; n < 3; ++n)
            SmallHeart(p, n == 1 ? 0 : n == 0 ? -46 : 46, top + (n == 1 ? 0 : 34) - frame * 3, 8,
                       C(p, 240, 50, 90));
        break;
    case EExtra::Stars:
        for (int n = 0; n < 3; ++n) {
            const double a = n * 2 * kPi / 3 + frame * 0.9;
            SmallStar(p, 30 * std::cos(a), top + 2 + 8 * std::sin(a), 8, C(p, 255, 230, 60));
        }
        break;
    case EExtra::None:
        break;
    }
}

// Tobble from the front, his feet on (0, 0) before the lift.
void Pig(const CScaledPen& p, const ST_PIG_POSE& pose, int frame)
{
    const uint32_t body = C(p, 250, 178, 192), dark = C(p, 220, 118, 144), tummy = C(p, 255, 214, 222);
    const uint32_t hoof = C(p, 110, 70, 70);
    // His shadow stays on the road, smaller the higher he is.
    const double shadow = 40 * std::clamp(1.0 - pose.lift / 200.0, 0.4, 1.0);
    p.Ellipse(0, -2, shadow, shadow / 5, Argb(80, 30, 40, 20));
    const double y0 = -pose.lift;
    if (pose.legs == ELegs::Fallen) {
        // Flat on his tummy, legs out to the sides, chin on the road.
        const double f = pose.flat;
        p.Ellipse(0, y0 - 40 + 22 * f, 46 + 8 * f, 32 - 12 * f, body);
        for (int side : {-1, 1}) {
            p.Line(side * 30, y0 - 20 + 12 * f, side * (46 + 8 * f), y0 - 8, 4, dark);
            p.Circle(side * (46 + 8 * f), y0 - 8, 5, hoof);
        }
        const double hy = y0 - 44 + 24 * f;
        p.Triangle(-26, hy - 14, -8, hy - 24, -30, hy - 32 + 10 * f, dark);
        p.Triangle(26, hy - 14, 8, hy - 24, 30, hy - 32 + 10 * f, dark);
        p.Circle(0, hy, 28, body);
        PigFace(p, hy, pose.face);
        PigExtras(p, pose, frame, hy - 40);
        return;
    }
    // The rainbow streams out behind him, the rest is in front.
    if (pose.extra == EExtra::Rainbow)
        PigExtras(p, pose, frame, y0 - 94);
    // The back rises behind his head.
    p.Ellipse(0, y0 - 54, 42, 34, body);
    p.Ellipse(-16, y0 - 70, 14, 8, C(p, 255, 200, 212)); // light on his back
    // Back legs, then the front ones, lifted in turn.
    for (int side : {-1, 1}) {
        const bool up = (side < 0 && pose.legs == ELegs::LeftUp) || (side > 0 && pose.legs == ELegs::RightUp);
        const double lift = pose.legs == ELegs::Tucked ? 10 : up ? 9 : 0;
        p.Rect(side * 30 - 5, y0 - 36 - lift / 2, side * 30 + 5, y0 - 10 - lift / 2, dark);
        p.Rect(side * 14 - 6, y0 - 28 - lift, side * 14 + 6, y0 - 4 - lift, body);
        p.Rect(side * 14 - 6, y0 - 6 - lift, side * 14 + 6, y0 - lift, hoof);
    }
    p.Ellipse(0, y0 - 34, 22, 14, tummy);
    const double hy = y0 - 58;
    // Ears: flopped, level or blown up by the wind.
    const double tip = pose.ears > 0 ? -34 : pose.ears < 0 ? -12 : -26;
    p.Triangle(-24, hy - 12, -8, hy - 24, -32, hy + tip, dark);
    p.Triangle(24, hy - 12, 8, hy - 24, 32, hy + tip, dark);
    p.Circle(0, hy, 29, body);
    PigFace(p, hy, pose.face);
    if (pose.extra != EExtra::Rainbow)
        PigExtras(p, pose, frame, hy - 36);
}

struct ST_PIG_STRIP
{
    double fromDepth, toDepth; // carried from one depth to the other over the strip
    bool raised;               // drawn 150 lower: the room raises the sprite
    ST_PIG_POSE poses[6];
    int count;
};

template <const ST_PIG_STRIP& Strip>
void PaintPigStrip(CxDrawSurface& s)
{
    StartKeyed(s, kPigW * Strip.count, kPigH, 32);
    for (int f = 0; f < Strip.count; ++f) {
        const double t = Strip.count > 1 ? double(f) / (Strip.count - 1) : 0;
        const double depth = Strip.fromDepth + (Strip.toDepth - Strip.fromDepth) * t;
        const double feet = FeetAt(depth) + (Strip.raised ? kRaise : 0);
        Pig(CScaledPen(s, f * kPigW + kPigW / 2.0, feet, SizeAt(depth)), Strip.poses[f], f);
    }
    SoftenEdges(s);
}

// --- the poses ---------------------------------------------------------------------------------

constexpr ST_PIG_POSE Run(ELegs legs, double bob, EExtra extra = EExtra::None)
{
    return {.legs = legs, .face = EFace::Smile, .extra = extra, .lift = bob, .ears = bob > 0 ? 1 : 0};
}

template <EExtra Extra>
constexpr ST_PIG_STRIP RunStrip(double depth)
{
    return {depth, depth, false,
            {Run(ELegs::LeftUp, 3, Extra), Run(ELegs::Down, 0, Extra), Run(ELegs::RightUp, 3, Extra),
             Run(ELegs::Down, 0, Extra)},
            4};
}

constexpr ST_PIG_POSE Air(double lift, EFace face, EExtra extra)
{
    return {.legs = ELegs::Tucked, .face = face, .extra = extra, .lift = lift, .ears = 1};
}

// A jump rises and lands within the frame: it still meets a large obstacle.
template <EExtra Extra>
constexpr ST_PIG_STRIP JumpStrip(double depth)
{
    return {depth, depth, false,
            {Air(10, EFace::Open, Extra), Air(25, EFace::Open, Extra), Air(35, EFace::Joy, Extra),
             Air(35, EFace::Joy, Extra), Air(25, EFace::Open, Extra), Air(10, EFace::Smile, Extra)},
            6};
}

// A high jump: the room has raised him 150; he lands when it ends, so he
// stays high to the last frame. Still within reach of a tall obstacle.
template <EExtra Extra>
constexpr ST_PIG_STRIP HighStrip(double depth)
{
    return {depth, depth, true,
            {Air(45, EFace::Open, Extra), Air(75, EFace::Joy, Extra), Air(95, EFace::Joy, Extra),
             Air(95, EFace::Joy, Extra), Air(80, EFace::Open, Extra), Air(60, EFace::Smile, Extra)},
            6};
}

constexpr ST_PIG_STRIP TripStrip(double from, double to)
{
    return {from, to, false,
            {{.legs = ELegs::Down, .face = EFace::Oh, .ears = 1},
             {.legs = ELegs::Fallen, .face = EFace::Oh, .flat = 0.3},
             {.legs = ELegs::Fallen, .face = EFace::Dizzy, .extra = EExtra::Stars, .flat = 1},
             {.legs = ELegs::Fallen, .face = EFace::Dizzy, .extra = EExtra::Stars, .flat = 1},
             {.legs = ELegs::Fallen, .face = EFace::Oh, .flat = 0.4},
             {.legs = ELegs::Down, .face = EFace::Smile, .ears = -1}},
            6};
}

constexpr ST_PIG_STRIP BonusStrip(double from, double to)
{
    return {from, to, false,
            {Air(8, EFace::Joy, EExtra::Hearts), Air(24, EFace::Joy, EExtra::Hearts),
             Air(30, EFace::Open, EExtra::Hearts), Air(24, EFace::Joy, EExtra::Hearts),
             Air(10, EFace::Open, EExtra::Hearts), {.legs = ELegs::Down, .face = EFace::Smile, .extra = EExtra::Hearts}},
            6};
}

constexpr double kB = 0, kA = 1, kC = 2;
constexpr ST_PIG_STRIP kRunA = RunStrip<EExtra::None>(kA), kRunB = RunStrip<EExtra::None>(kB),
                       kRunC = RunStrip<EExtra::None>(kC);
constexpr ST_PIG_STRIP kJumpA = JumpStrip<EExtra::None>(kA), kJumpB = JumpStrip<EExtra::None>(kB),
                       kJumpC = JumpStrip<EExtra::None>(kC);
constexpr ST_PIG_STRIP kHighA = HighStrip<EExtra::None>(kA), kHighB = HighStrip<EExtra::None>(kB),
                       kHighC = HighStrip<EExtra::None>(kC);
constexpr ST_PIG_STRIP kTripA = TripStrip(kA, kB), kTripB = TripStrip(kB, kB), kTripC = TripStrip(kC, kA);
constexpr ST_PIG_STRIP kStarRunA = RunStrip<EExtra::Sparkles>(kA), kStarRunC = RunStrip<EExtra::Sparkles>(kC);
constexpr ST_PIG_STRIP kStarJumpA = JumpStrip<EExtra::Sparkles>(kA), kStarJumpC = JumpStrip<EExtra::Sparkles>(kC);
constexpr ST_PIG_STRIP kRainbowRunA = RunStrip<EExtra::Rainbow>(kA), kRainbowRunC = RunStrip<EExtra::Rainbow>(kC);
constexpr ST_PIG_STRIP kRainbowHighA = HighStrip<EExtra::Rainbow>(kA), kRainbowHighC = HighStrip<EExtra::Rainbow>(kC);
constexpr ST_PIG_STRIP kBonusB = BonusStrip(kB, kA), kBonusStay = BonusStrip(kB, kB), kBonusC = BonusStrip(kC, kC);

// --- the farmer ---------------------------------------------------------------------------------

struct ST_FARMER_POSE
{
    int step = 0;          // -1, 0, 1: which boot is forward
    double reach = 0;      // 0 arms pumping .. 1 arms out to grab
    double fall = 0;       // 0 upright .. 1 flat on his face
    bool hatOff = false;
    bool mouthOpen = false;
};

// The farmer from the front, his boots on (0, 0), about 120 high.
void Farmer(const CScaledPen& p, const ST_FARMER_POSE& pose)
{
    const uint32_t denim = C(p, 60, 100, 180), denimDark = C(p, 40, 70, 140), shirt = C(p, 210, 50, 50);
    const uint32_t skin = C(p, 246, 204, 170), boot = C(p, 90, 60, 40), straw = C(p, 236, 204, 110);
    const uint32_t ink = C(p, 40, 28, 30);
    p.Ellipse(0, -2, 34, 6, Argb(80, 30, 40, 20));
    // Falling flat on his face: everything sinks and spreads.
    const double sink = pose.fall * 60, spread = 1 + pose.fall * 0.6;
    for (int side : {-1, 1}) {
        const double lift = side == pose.step ? 8 : 0;
        p.Rect(side * 12 * spread - 7, -44 + sink * 0.6 - lift, side * 12 * spread + 7, -8 - lift, denimDark);
        p.Rect(side * 12 * spread - 9, -10 - lift, side * 12 * spread + 9, -lift, boot);
    }
    const double by = -70 + sink;
    p.Rect(-24 * spread, by - 24, 24 * spread, by + 28, shirt);
    for (int n = -2; n <= 2; ++n)
        p.Rect(n * 10 - 1, by - 24, n * 10 + 1, by + 28, C(p, 170, 30, 30)); // the check of his shirt
    p.Rect(-20 * spread, by - 8, 20 * spread, by + 30, denim); // the bib of his overalls
    p.Rect(-18, by - 24, -12, by - 6, denim);
    p.Rect(12, by - 24, 18, by - 6, denim);
    p.Circle(-14, by - 4, 2, C(p, 250, 220, 80));
    p.Circle(14, by - 4, 2, C(p, 250, 220, 80));
    // Arms: pumping as he runs, or reaching out to grab.
    for (int side : {-1, 1}) {
        const double swing = pose.step * side * 10;
        const double hx = side * (30 + 26 * pose.reach), hy = by + 8 - swing - 30 * pose.reach;
        p.Line(side * 22, by - 18, hx, hy, 5, shirt);
        p.Circle(hx, hy, 6, skin);
    }
    const double hy = by - 40;
    p.Circle(0, hy, 17, skin);
    p.Ellipse(0, hy + 10, 12, 5, C(p, 200, 160, 130)); // his beard's shadow
    p.Circle(-6, hy - 3, 2, ink);
    p.Circle(6, hy - 3, 2, ink);
    p.Circle(0, hy + 3, 3, C(p, 230, 150, 130));
    if (pose.mouthOpen)
        p.Ellipse(0, hy + 9, 5, 4, C(p, 140, 40, 40));
    else
        p.Line(-5, hy + 9, 5, hy + 9, 1, ink);
    const double hatY = pose.hatOff ? hy - 34 : hy - 14;
    p.Ellipse(0, hatY, 30, 6, straw);
    p.Ellipse(0, hatY - 8, 16, 10, straw);
    p.Rect(-16, hatY - 4, 16, hatY - 1, C(p, 200, 60, 50));
}

template <const ST_FARMER_POSE* Poses, int Count>
void PaintFarmerStrip(CxDrawSurface& s)
{
    StartKeyed(s, kFarmerW * Count, kFarmerH, 32);
    for (int f = 0; f < Count; ++f)
        Farmer(CScaledPen(s, f * kFarmerW + kFarmerW / 2.0, 132, 0.75), Poses[f]);
    SoftenEdges(s);
}

constexpr ST_FARMER_POSE kChase[] = {{.step = -1}, {.step = 0}, {.step = 1}, {.step = 0}};
constexpr ST_FARMER_POSE kTrip[] = {{.step = 1, .reach = 0.5, .mouthOpen = true},
                                    {.reach = 0.8, .fall = 0.3, .hatOff = true, .mouthOpen = true},
                                    {.reach = 1, .fall = 0.7, .hatOff = true, .mouthOpen = true},
                                    {.reach = 1, .fall = 0.8, .hatOff = true},
                                    {.reach = 0.5, .fall = 0.4, .hatOff = true},
                                    {.step = 0}};
constexpr ST_FARMER_POSE kCatch[] = {{.step = 1, .reach = 0.3}, {.step = 0, .reach = 0.7, .mouthOpen = true},
                                     {.step = -1, .reach = 1, .mouthOpen = true}, {.reach = 1, .mouthOpen = true},
                                     {.reach = 0.6}, {.step = 0, .reach = 0.2}};

#define PIG_STRIP(file, strip) {"PigsOut/" file ".tga", &PaintPigStrip<strip>, kPigW * strip.count, kPigH, 32}
#define FARMER_STRIP(file, poses) \
    {"PigsOut/" file ".tga", &PaintFarmerStrip<poses, int(std::size(poses))>, kFarmerW * int(std::size(poses)), \
     kFarmerH, 32}

const ST_DEMO_PICTURE kPictures[] = {
    PIG_STRIP("pig_run_a", kRunA), PIG_STRIP("pig_run_b", kRunB), PIG_STRIP("pig_run_c", kRunC),
    PIG_STRIP("pig_jump_a", kJumpA), PIG_STRIP("pig_jump_b", kJumpB), PIG_STRIP("pig_jump_c", kJumpC),
    PIG_STRIP("pig_high_a", kHighA), PIG_STRIP("pig_high_b", kHighB), PIG_STRIP("pig_high_c", kHighC),
    PIG_STRIP("pig_trip_a", kTripA), PIG_STRIP("pig_trip_b", kTripB), PIG_STRIP("pig_trip_c", kTripC),
    PIG_STRIP("pig_star_run_a", kStarRunA), PIG_STRIP("pig_star_run_c", kStarRunC),
    PIG_STRIP("pig_star_jump_a", kStarJumpA), PIG_STRIP("pig_star_jump_c", kStarJumpC),
    PIG_STRIP("pig_rainbow_run_a", kRainbowRunA), PIG_STRIP("pig_rainbow_run_c", kRainbowRunC),
    PIG_STRIP("pig_rainbow_high_a", kRainbowHighA), PIG_STRIP("pig_rainbow_high_c", kRainbowHighC),
    PIG_STRIP("pig_bonus_b", kBonusB), PIG_STRIP("pig_bonus_stay", kBonusStay), PIG_STRIP("pig_bonus_c", kBonusC),
    FARMER_STRIP("farmer_chase", kChase), FARMER_STRIP("farmer_trip", kTrip), FARMER_STRIP("farmer_catch", kCatch),
};

} // namespace

std::span<const ST_DEMO_PICTURE> PigsOutSprites()
{
    return kPictures;
}
