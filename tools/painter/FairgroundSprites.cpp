// The fairground's sprites: the waving kids, Tobble the pig, the big wheel
// over the seam of the two views, the toy cannon and its duck targets, the
// spinner's arrow, the game badges, the goal markers and the board back to
// the farm. Frames stand side by side, one picture per state.
#include "tools/painter/BadgeLooks.h"
#include "tools/painter/BoardButtons.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t Round(double v)
{
    return static_cast<int32_t>(std::lround(v));
}

// A point `r` from (cx, cy) at `degrees` clockwise from straight up.
void Towards(int32_t cx, int32_t cy, double degrees, double r, int32_t& x, int32_t& y)
{
    x = cx + Round(r * std::sin(degrees * kPi / 180));
    y = cy - Round(r * std::cos(degrees * kPi / 180));
}

// A little five-pointed star, for sparkles.
void Sparkle(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t r, uint32_t colour)
{
    for (int point = 0; point < 5; ++point) {
        int32_t x1, y1, x2, y2, x3, y3;
        Towards(cx, cy, point * 72.0, r, x1, y1);
        Towards(cx, cy, point * 72.0 - 36, r * 0.4, x2, y2);
        Towards(cx, cy, point * 72.0 + 36, r * 0.4, x3, y3);
        FillTriangle(s, x1, y1, x2, y2, x3, y3, colour);
        FillTriangle(s, cx, cy, x2, y2, x3, y3, colour);
    }
}

// --- the kids: a girl and a boy, the girl waving ---------------------------------------------

constexpr int32_t kKidsW = 120, kKidsH = 150;

void PaintChild(CxDrawSurface& s, int32_t cx, int32_t top, uint32_t shirt, uint32_t hair, bool girl, double wave)
{
    const uint32_t skin = Colour(s, 250, 206, 170), dark = Colour(s, 40, 30, 30);
    FillRect(s, cx - 12, top + 110, cx - 4, top + 144, Colour(s, 60, 80, 160)); // legs
    FillRect(s, cx + 4, top + 110, cx + 12, top + 144, Colour(s, 60, 80, 160));
    FillEllipse(s, cx - 9, top + 146, 8, 3, dark); // shoes
    FillEllipse(s, cx + 9, top + 146, 8, 3, dark);
    if (girl)
        FillTriangle(s, cx - 26, top + 116, cx + 26, top + 116, cx, top + 56, shirt);
    FillRect(s, cx - 17, top + 58, cx + 17, top + 112, shirt);
    // The arms: the left one down, the right one up and waving by `wave` degrees.
    ThickLine(s, cx - 18, top + 62, cx - 26, top + 100, 4, skin);
    int32_t hx, hy;
    Towards(cx + 18, top + 62, wave, 34, hx, hy);
    ThickLine(s, cx + 18, top + 62, hx, hy, 4, skin);
    s.FillCircle(hx, hy, 6, skin);
    s.FillCircle(cx, top + 34, 22, skin);
    FillEllipse(s, cx, top + 16, 22, 10, hair);
    if (girl) { // pigtails
        s.FillCircle(cx - 24, top + 30, 8, hair);
        s.FillCircle(cx + 24, top + 30, 8, hair);
    }
    s.FillCircle(cx - 8, top + 32, 3, dark);
    s.FillCircle(cx + 8, top + 32, 3, dark);
    for (int i = -8; i <= 8; ++i) // a smile
        s.SetPixel(cx + i, top + 44 + (64 - i * i) / 24, dark);
    s.FillCircle(cx - 14, top + 40, 4, Colour(s, 250, 160, 150));
    s.FillCircle(cx + 14, top + 40, 4, Colour(s, 250, 160, 150));
}

void PaintKids(CxDrawSurface& s)
{
    StartKeyed(s, kKidsW * 4, kKidsH, 24);
    const double waves[] = {20, 50, 20, -10};
    for (int frame = 0; frame < 4; ++frame) {
        const int32_t x0 = frame * kKidsW;
        PaintChild(s, x0 + 34, 2, Colour(s, 236, 70, 120), Colour(s, 150, 80, 30), true, waves[frame]);
        PaintChild(s, x0 + 86, 8, Colour(s, 60, 160, 220), Colour(s, 240, 200, 80), false,
                   frame % 2 ? 30 : 40);
    }
}

// --- Tobble the pig, standing on the grass -----------------------------------------------

constexpr int32_t kPigW = 110, kPigH = 90;

void PaintTobble(CxDrawSurface& s)
{
    StartKeyed(s, kPigW * 4, kPigH, 24);
    const uint32_t pink = Colour(s, 248, 170, 186), deep = Colour(s, 228, 120, 146);
    const uint32_t dark = Colour(s, 60, 30, 40);
    for (int frame = 0; frame < 4; ++frame) {
        const int32_t x0 = frame * kPigW;
        for (int32_t leg : {24, 40, 62, 76})
            FillRect(s, x0 + leg, 62, x0 + leg + 8, 84, deep);
        // The curly tail, curling the other way every other frame.
        const int32_t curl = frame % 2 ? -6 : 6;
        ThickLine(s, x0 + 16, 44, x0 + 8, 38 + curl, 1, deep);
        ThickLine(s, x0 + 8, 38 + curl, x0 + 4, 46, 1, deep);
        FillEllipse(s, x0 + 50, 50, 38, 26, pink);
        s.FillCircle(x0 + 84, 38, 20, pink);
        // Ears: the near one flicks up in frame 2.
        const int32_t flick = frame == 2 ? -8 : 0;
        FillTriangle(s, x0 + 72, 24, x0 + 80, 8 + flick, x0 + 86, 22, deep);
        FillTriangle(s, x0 + 86, 22, x0 + 96, 10, x0 + 98, 26, deep);
        FillEllipse(s, x0 + 100, 44, 8, 10, deep); // the snout
        s.FillCircle(x0 + 98, 40, 2, dark);
        s.FillCircle(x0 + 102, 48, 2, dark);
        s.FillCircle(x0 + 86, 32, 4, Colour(s, 255, 255, 255));
        s.FillCircle(x0 + 87, 32, 2, dark);
        s.FillCircle(x0 + 80, 46, 4, Colour(s, 250, 140, 160)); // cheek
        for (int i = -5; i <= 5; ++i)
            s.SetPixel(x0 + 90 + i, 54 + (25 - i * i) / 10, dark);
    }
}

// --- the big wheel, soft-edged, its middle on the seam of the views ------------------------

constexpr int32_t kRideW = 168, kRideH = 250;

void PaintRide(CxDrawSurface& s)
{
    StartKeyed(s, kRideW * 4, kRideH, 32);
    const uint32_t steel = Colour(s, 70, 80, 140), white = Colour(s, 250, 250, 250);
    const uint32_t cars[] = {Colour(s, 230, 60, 60), Colour(s, 250, 200, 40), Colour(s, 60, 170, 90),
                             Colour(s, 70, 110, 220)};
    for (int frame = 0; frame < 4; ++frame) {
        const int32_t cx = frame * kRideW + kRideW / 2, cy = 92;
        ThickLine(s, cx, cy, cx - 56, kRideH - 8, 4, steel); // the legs
        ThickLine(s, cx, cy, cx + 56, kRideH - 8, 4, steel);
        FillRect(s, cx - 64, kRideH - 10, cx + 64, kRideH - 3, Colour(s, 120, 80, 50));
        for (int step = 0; step < 120; ++step) { // the rim
            int32_t x, y;
            Towards(cx, cy, step * 3.0, 66, x, y);
            s.FillCircle(x, y, 2, steel);
        }
        // Eight spokes and cars, turned on by an eighth of their gap each frame.
        for (int car = 0; car < 8; ++car) {
            int32_t x, y;
            Towards(cx, cy, car * 45.0 + frame * 11.25, 66, x, y);
            ThickLine(s, cx, cy, x, y, 1, white);
            ThickLine(s, x, y, x, y + 8, 1, steel);
            FillRect(s, x - 9, y + 8, x + 9, y + 20, cars[car % 4]);
            FillRect(s, x - 10, y + 6, x + 10, y + 8, cars[car % 4]);
        }
        s.FillCircle(cx, cy, 8, Colour(s, 250, 200, 40));
        s.FillCircle(cx, cy, 3, steel);
    }
    SoftenEdges(s);
}

// --- the toy cannon, pointing up at the targets ---------------------------------------------

constexpr int32_t kCannonW = 84, kCannonH = 80;

void PaintCannon(CxDrawSurface& s)
{
    StartKeyed(s, kCannonW * 4, kCannonH, 24);
    const uint32_t barrel = Colour(s, 60, 70, 90), shine = Colour(s, 130, 140, 170);
    const uint32_t wood = Colour(s, 170, 100, 50), dark = Colour(s, 90, 50, 20);
    for (int frame = 0; frame < 4; ++frame) {
        const int32_t x0 = frame * kCannonW;
        // The barrel: from the breech low on the carriage up to the muzzle.
        ThickLine(s, x0 + 34, 56, x0 + 48, 20, 11, barrel);
        ThickLine(s, x0 + 30, 54, x0 + 43, 22, 3, shine);
        FillEllipse(s, x0 + 49, 16, 12, 5, Colour(s, 30, 30, 40)); // the mouth
        FillRect(s, x0 + 14, 56, x0 + 70, 66, wood);
        for (int32_t wx : {24, 60}) { // the wheels
            s.FillCircle(x0 + wx, 66, 12, dark);
            s.FillCircle(x0 + wx, 66, 9, wood);
            s.FillCircle(x0 + wx, 66, 3, dark);
        }
        if (frame == 1) { // the flash
            Sparkle(s, x0 + 50, 10, 14, Colour(s, 255, 220, 40));
            Sparkle(s, x0 + 50, 10, 7, Colour(s, 255, 255, 220));
        } else if (frame == 2) { // a puff of smoke
            for (const auto& p : {std::array<int32_t, 3>{44, 10, 8}, {56, 6, 7}, {50, 2, 6}, {62, 12, 5}})
                s.FillCircle(x0 + p[0], p[1] + 2, p[2], Colour(s, 226, 226, 230));
        }
    }
}

// --- the duck targets: a duck on a post, the bullseye on its body ----------------------------

constexpr int32_t kTargetW = 46, kTargetH = 70;
constexpr int32_t kTargetPivot = 44; // where the duck is hinged on its post

void PaintTarget(CxDrawSurface& s)
{
    StartKeyed(s, kTargetW * 4, kTargetH, 24);
    const double upright[] = {1.0, 0.7, 0.4, 0.12};
    for (int frame = 0; frame < 4; ++frame) {
        const int32_t x0 = frame * kTargetW;
        const double k = upright[frame];
        // Tipping back: the duck flattens towards its hinge.
        auto y = [k](int32_t at) { return kTargetPivot - Round((kTargetPivot - at) * k); };
        auto ry = [k](int32_t r) { return std::max(1, Round(r * k)); };
        FillRect(s, x0 + 20, kTargetPivot - 2, x0 + 26, kTargetH - 1, Colour(s, 140, 90, 50));
        FillRect(s, x0 + 10, kTargetH - 5, x0 + 36, kTargetH - 1, Colour(s, 110, 70, 40));
        FillEllipse(s, x0 + 23, y(24), 20, ry(18), Colour(s, 60, 40, 20)); // the body, outlined
        FillEllipse(s, x0 + 23, y(24), 18, ry(16), Colour(s, 255, 214, 40));
        FillEllipse(s, x0 + 36, y(8), 7, ry(7), Colour(s, 255, 214, 40)); // the head
        FillTriangle(s, x0 + 42, y(7), x0 + 45, y(9), x0 + 42, y(11), Colour(s, 240, 120, 20));
        if (frame < 3) {
            const uint32_t rings[] = {Colour(s, 220, 30, 30), Colour(s, 255, 255, 255), Colour(s, 220, 30, 30)};
            for (int ring = 0; ring < 3; ++ring)
                FillEllipse(s, x0 + 23, y(24), 13 - ring * 4, ry(13 - ring * 4), rings[ring]);
            FillEllipse(s, x0 + 36, y(6), 2, ry(2), Colour(s, 20, 20, 20)); // the eye
        }
    }
}

// --- the spinner's arrow over its dial ----------------------------------------------------

constexpr int32_t kDial = 170;
constexpr int32_t kDialMiddle = kDial / 2;

enum ERim
{
    kRimNone,
    kRimRed,
    kRimGreen,
};

void PaintSpinnerFrame(CxDrawSurface& s, int32_t x0, double degrees, ERim rim, bool stars)
{
    const int32_t cx = x0 + kDialMiddle, cy = kDialMiddle;
    if (rim != kRimNone) {
        const uint32_t ring = rim == kRimRed ? Colour(s, 230, 40, 40) : Colour(s, 60, 200, 90);
        for (int step = 0; step < 180; ++step) {
            int32_t x, y;
            Towards(cx, cy, step * 2.0, 80, x, y);
            s.FillCircle(x, y, 3, ring);
        }
    }
    int32_t tx, ty, bx, by, lx, ly, rx, ry;
    Towards(cx, cy, degrees, 66, tx, ty);
    Towards(cx, cy, degrees + 180, 20, bx, by);
    ThickLine(s, bx, by, tx, ty, 3, Colour(s, 40, 30, 60));
    Towards(cx, cy, degrees, 74, tx, ty);
    Towards(cx, cy, degrees - 12, 54, lx, ly);
    Towards(cx, cy, degrees + 12, 54, rx, ry);
    FillTriangle(s, tx, ty, lx, ly, rx, ry, Colour(s, 220, 40, 60));
    s.FillCircle(cx, cy, 9, Colour(s, 40, 30, 60));
    s.FillCircle(cx, cy, 5, Colour(s, 250, 200, 40));
    if (stars)
        for (int star = 0; star < 6; ++star) {
            int32_t x, y;
            Towards(cx, cy, star * 60.0 + 30, 50, x, y);
            Sparkle(s, x, y, 8, Colour(s, 255, 210, 40));
        }
}

void PaintSpinnerRest(CxDrawSurface& s)
{
    StartKeyed(s, kDial, kDial, 24);
    PaintSpinnerFrame(s, 0, 180, kRimNone, false);
}

void PaintSpinnerSpin(CxDrawSurface& s)
{
    StartKeyed(s, kDial * 9, kDial, 24);
    for (int frame = 0; frame < 9; ++frame)
        PaintSpinnerFrame(s, frame * kDial, -160 + frame * 40.0, kRimNone, false);
}

// The arrow stopped at `Degrees`, the rim flashing: red for a miss, green
// with stars for the perfect stop (0 degrees).
template <int Degrees>
void PaintSpinnerStop(CxDrawSurface& s)
{
    StartKeyed(s, kDial * 6, kDial, 24);
    const bool perfect = Degrees == 0;
    for (int frame = 0; frame < 6; ++frame) {
        const bool lit = frame % 2 == 0;
        PaintSpinnerFrame(s, frame * kDial, Degrees, lit ? (perfect ? kRimGreen : kRimRed) : kRimNone,
                          perfect && lit);
    }
}

// --- the game badges ---------------------------------------------------------------------

enum EFairGame
{
    kPopTrail,
    kBumperCar,
    kPopCorn,
};

void PaintFairSymbol(CxDrawSurface& s, EFairGame game, const BadgeInk& ink)
{
    switch (game) {
    case kPopTrail: // a yellow duck and its trail of balls
        for (int ball = 0; ball < 3; ++ball)
            s.FillCircle(22 + ball * 12, 74 - ball * 2, 5, ink(ball == 1 ? 70 : 230, 110, ball == 1 ? 220 : 60));
        FillEllipse(s, 62, 64, 20, 13, ink(255, 214, 40));
        s.FillCircle(70, 42, 11, ink(255, 214, 40));
        FillTriangle(s, 80, 40, 92, 44, 80, 48, ink(240, 120, 20));
        s.FillCircle(73, 39, 2, ink(20, 20, 20));
        break;
    case kBumperCar: // a bumper car with its pole
        ThickLine(s, 52, 20, 52, 48, 1, ink(200, 200, 210));
        FillRect(s, 22, 50, 82, 74, ink(230, 50, 50));
        FillRect(s, 18, 70, 86, 78, ink(40, 40, 40));
        s.FillCircle(44, 48, 9, ink(250, 206, 170));
        s.FillCircle(41, 46, 2, ink(20, 20, 20));
        s.FillCircle(47, 46, 2, ink(20, 20, 20));
        break;
    case kPopCorn: // a striped tub heaped with popcorn
        for (int stripe = 0; stripe < 5; ++stripe)
            FillTriangle(s, 30 + stripe * 9, 48, 39 + stripe * 9, 48, 36 + stripe * 7, 84,
                         stripe % 2 ? ink(250, 250, 250) : ink(220, 40, 40));
        FillRect(s, 36, 48, 68, 84, ink(220, 40, 40));
        for (int32_t x = 42; x < 68; x += 10)
            FillRect(s, x, 48, x + 4, 84, ink(250, 250, 250));
        for (const auto& p : {std::array<int32_t, 2>{36, 44}, {48, 38}, {60, 42}, {68, 46}, {42, 34}, {56, 30}})
            s.FillCircle(p[0], p[1], 8, ink(255, 246, 200));
        break;
    }
}

template <EFairGame Game, EBadgeLook Look>
void PaintFairBadge(CxDrawSurface& s)
{
    constexpr int backs[][3] = {{80, 160, 220}, {150, 80, 200}, {250, 170, 60}};
    PaintBadgeBack(s, Look, backs[Game]);
    PaintFairSymbol(s, Game, BadgeInk{s, Look});
    if (Look == kBadgeLocked)
        PaintPadlock(s);
}

// --- the goal markers: balloons that light up, a frame per count --------------------------

constexpr int32_t kMarkerW = 170, kMarkerH = 56;

template <int Slots>
void PaintBalloons(CxDrawSurface& s)
{
    StartKeyed(s, kMarkerW * (Slots + 1), kMarkerH, 32);
    const int colours[][3] = {{230, 50, 60}, {250, 200, 40}, {60, 170, 90}};
    for (int frame = 0; frame <= Slots; ++frame)
        for (int slot = 0; slot < Slots; ++slot) {
            const int32_t cx = frame * kMarkerW + kMarkerW / 2 + Round((slot - (Slots - 1) / 2.0) * 48);
            const bool filled = slot < frame;
            const int* c = colours[Slots == 1 ? 0 : slot];
            ThickLine(s, cx, 40, cx - 3, 54, 0, Colour(s, 90, 80, 80));
            FillEllipse(s, cx, 22, 17, 20, Colour(s, 70, 60, 60));
            if (filled) {
                FillEllipse(s, cx, 22, 15, 18, Colour(s, c[0], c[1], c[2]));
                FillEllipse(s, cx - 6, 13, 3, 5, Colour(s, 255, 255, 255));
            } else {
                FillEllipse(s, cx, 22, 15, 18, Colour(s, 236, 236, 236));
            }
            FillTriangle(s, cx - 4, 44, cx + 4, 44, cx, 39, Colour(s, 70, 60, 60));
        }
}

// --- the board back to the farm: a red barn --------------------------------------------------

void PaintBarnFace(CxDrawSurface& f)
{
    FillRect(f, 20, 44, 76, 84, Colour(f, 206, 46, 40));
    FillTriangle(f, 12, 46, 48, 14, 84, 46, Colour(f, 84, 88, 112));
    FillRect(f, 36, 56, 60, 84, Colour(f, 248, 244, 232));
    FillRect(f, 39, 59, 57, 84, Colour(f, 150, 28, 26));
    ThickLine(f, 40, 60, 56, 83, 1, Colour(f, 248, 244, 232));
    ThickLine(f, 56, 60, 40, 83, 1, Colour(f, 248, 244, 232));
    FillRect(f, 42, 32, 54, 42, Colour(f, 248, 244, 232));
}

void PaintFarmButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintBarnFace);
}

#define FAIR_BADGE(file, game) BADGE_PICTURES("FairgroundMenu/" file, PaintFairBadge, game)

const ST_DEMO_PICTURE kPictures[] = {
    // 24-bit on the magenta key, the frames of each state side by side
    {"FairgroundMenu/kids.tga", &PaintKids, kKidsW * 4, kKidsH, 24},
    {"FairgroundMenu/tobble.tga", &PaintTobble, kPigW * 4, kPigH, 24},
    {"FairgroundMenu/cannon.tga", &PaintCannon, kCannonW * 4, kCannonH, 24},
    {"FairgroundMenu/target.tga", &PaintTarget, kTargetW * 4, kTargetH, 24},
    {"FairgroundMenu/spinner_rest.tga", &PaintSpinnerRest, kDial, kDial, 24},
    {"FairgroundMenu/spinner_spin.tga", &PaintSpinnerSpin, kDial * 9, kDial, 24},
    {"FairgroundMenu/spinner_miss160.tga", &PaintSpinnerStop<160>, kDial * 6, kDial, 24},
    {"FairgroundMenu/spinner_miss120.tga", &PaintSpinnerStop<120>, kDial * 6, kDial, 24},
    {"FairgroundMenu/spinner_miss80.tga", &PaintSpinnerStop<80>, kDial * 6, kDial, 24},
    {"FairgroundMenu/spinner_miss40.tga", &PaintSpinnerStop<40>, kDial * 6, kDial, 24},
    {"FairgroundMenu/spinner_perfect.tga", &PaintSpinnerStop<0>, kDial * 6, kDial, 24},
    // 32-bit with soft edges, drawn blended over the seam of the views
    {"FairgroundMenu/ride.tga", &PaintRide, kRideW * 4, kRideH, 32},
    // 104 x 104, 32-bit: each fair game's badge, normal, lit and locked
    FAIR_BADGE("badge_poptrail", kPopTrail),
    FAIR_BADGE("badge_bumpercar", kBumperCar),
    FAIR_BADGE("badge_popcorn", kPopCorn),
    // the fair goals' markers over the sky: balloons, a frame per count lit
    {"FairgroundMenu/marker_goal0.tga", &PaintBalloons<3>, kMarkerW * 4, kMarkerH, 32},
    {"FairgroundMenu/marker_goal1.tga", &PaintBalloons<1>, kMarkerW * 2, kMarkerH, 32},
    // five 96 x 96 frames, 24-bit: the board back to the farm
    {"FairgroundMenu/button_farm.tga", &PaintFarmButton, kBoardSize * kButtonStates, kBoardSize, 24},
};

#undef FAIR_BADGE

} // namespace

std::span<const ST_DEMO_PICTURE> FairgroundSprites()
{
    return kPictures;
}
