// Croquet's players, 80 x 110 a frame, 32-bit with soft edges: Tobble the pig
// and his friend Minty the lamb, each holding a mallet. One painter draws a
// pose (which way the player faces, where the mallet points, the arms, the
// mouth, the step); each strip is a list of poses. The ball lies at the
// player's feet on his right, at (95, 95) from the frame's top-left, so the
// mallet's head meets it at 125 degrees.
#include "tools/painter/PaintKit.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kW = 80, kH = 110;

enum class EFacing
{
    Front,
    Back,
    Left,
    Right,
};

enum class EMouth
{
    Smile,
    Open,
    Chew,
    Sad,
};

struct ST_POSE
{
    EFacing facing = EFacing::Front;
    double mallet = 200; // degrees clockwise from straight up, from the hands
    bool armsUp = false;
    EMouth mouth = EMouth::Smile;
    int step = 0;        // -1, 0, 1: which foot is forward
    int bob = 0;         // pixels the body rises
    bool eyesShut = false;
    bool tear = false;
};

struct ST_LOOK
{
    uint8_t body[3], dark[3], face[3];
    bool woolly;
};

// Tobble the pink pig; Minty the white lamb with a dark face.
const ST_LOOK kLooks[2] = {
    {{250, 178, 192}, {220, 118, 144}, {250, 178, 192}, false},
    {{246, 244, 236}, {200, 196, 186}, {80, 64, 60}, true},
};

int32_t Whole(double v)
{
    return static_cast<int32_t>(std::lround(v));
}

void Mallet(CxDrawSurface& s, int32_t hx, int32_t hy, double degrees, int32_t length = 36)
{
    const double a = degrees * kPi / 180.0, dx = std::sin(a), dy = -std::cos(a);
    const int32_t ex = hx + Whole(dx * length), ey = hy + Whole(dy * length);
    ThickLine(s, hx, hy, ex, ey, 1, Colour(s, 150, 100, 50));
    // The head lies across the handle's end.
    const int32_t px = Whole(-dy * 9), py = Whole(dx * 9);
    ThickLine(s, ex - px, ey - py, ex + px, ey + py, 4, Colour(s, 176, 60, 40));
    ThickLine(s, ex - px, ey - py, ex + px, ey + py, 2, Colour(s, 214, 96, 62));
}

void Face(CxDrawSurface& s, const ST_LOOK& look, int32_t cx, int32_t cy, const ST_POSE& pose)
{
    const int32_t turn = pose.facing == EFacing::Left ? -6 : pose.facing == EFacing::Right ? 6 : 0;
    const uint32_t ink = Colour(s, 40, 28, 30), white = Colour(s, 255, 255, 255);
    if (look.woolly)
        FillEllipse(s, cx + turn, cy + 3, 12, 14, Colour(s, look.face[0], look.face[1], look.face[2]));
    for (int side : {-1, 1}) {
        const int32_t ex = cx + turn + side * 7, ey = cy - 2;
        if (pose.eyesShut)
            FillRect(s, ex - 2, ey, ex + 2, ey, look.woolly ? white : ink);
        else {
            s.FillCircle(ex, ey, 3, white);
            s.FillCircle(ex + turn / 3, ey, 2, ink);
        }
    }
    const int32_t my = cy + 10;
    if (!look.woolly) { // the snout
        FillEllipse(s, cx + turn * 3 / 2, cy + 5, 8, 5, Colour(s, look.dark[0], look.dark[1], look.dark[2]));
        s.FillCircle(cx + turn * 3 / 2 - 3, cy + 5, 1, ink);
        s.FillCircle(cx + turn * 3 / 2 + 3, cy + 5, 1, ink);
    }
    const uint32_t lip = look.woolly ? white : ink;
    const int32_t mx = cx + turn;
    switch (pose.mouth) {
    case EMouth::Smile:
        ThickLine(s, mx - 4, my, mx, my + 2, 0, lip);
        ThickLine(s, mx, my + 2, mx + 4, my, 0, lip);
        break;
    case EMouth::Open:
        FillEllipse(s, mx, my + 1, 4, 3, Colour(s, 150, 40, 50));
        break;
    case EMouth::Chew:
        FillRect(s, mx - 3, my, mx + 3, my + 1, lip);
        break;
    case EMouth::Sad:
        ThickLine(s, mx - 4, my + 2, mx, my, 0, lip);
        ThickLine(s, mx, my, mx + 4, my + 2, 0, lip);
        break;
    }
    if (pose.tear)
        FillEllipse(s, cx + turn - 8, cy + 5, 1, 3, Colour(s, 120, 190, 255));
}

void Golfer(CxDrawSurface& s, int32_t x0, const ST_LOOK& look, const ST_POSE& pose)
{
    const uint32_t body = Colour(s, look.body[0], look.body[1], look.body[2]);
    const uint32_t dark = Colour(s, look.dark[0], look.dark[1], look.dark[2]);
    const uint32_t hoof = Colour(s, 90, 60, 60);
    const int32_t cx = x0 + 38, top = 10 - pose.bob;
    FillEllipse(s, cx, 104, 24, 4, Argb(70, 30, 50, 20)); // shadow
    // Legs, stepping in turn.
    for (int side : {-1, 1}) {
        const int32_t lift = side == pose.step ? 4 : 0;
        FillRect(s, cx + side * 9 - 4, top + 70 - lift, cx + side * 9 + 4, top + 92 - lift, dark);
        FillRect(s, cx + side * 9 - 4, top + 90 - lift, cx + side * 9 + 4, top + 94 - lift, hoof);
    }
    if (look.woolly) { // a woolly coat of curls
        for (int k = 0; k < 12; ++k) {
            const double a = k * kPi / 6;
            s.FillCircle(cx + Whole(15 * std::cos(a)), top + 56 + Whole(16 * std::sin(a)), 8, body);
        }
        FillEllipse(s, cx, top + 56, 18, 19, body);
    } else
        FillEllipse(s, cx, top + 56, 20, 21, body);
    FillEllipse(s, cx, top + 60, 11, 12, Colour(s, 255, 214, 222)); // tummy
    // The arms reach to the hands on the mallet, or up in a cheer.
    const int32_t hx = cx + 10, hy = top + 52;
    if (pose.armsUp) {
        ThickLine(s, cx - 14, top + 46, cx - 22, top + 22, 3, dark);
        ThickLine(s, cx + 14, top + 46, cx + 22, top + 22, 3, dark);
        Mallet(s, cx + 22, top + 22, pose.mallet, 20); // held up short, inside the frame
    } else {
        Mallet(s, hx, hy, pose.mallet);
        ThickLine(s, cx - 14, top + 46, hx - 2, hy + 2, 3, dark);
        ThickLine(s, cx + 14, top + 46, hx + 2, hy, 3, dark);
        s.FillCircle(hx, hy, 4, dark);
    }
    // The head with its ears.
    const int32_t hcx = cx, hcy = top + 20;
    if (pose.facing != EFacing::Back) {
        FillTriangle(s, hcx - 16, hcy - 8, hcx - 6, hcy - 14, hcx - 16, hcy - 22, dark);
        FillTriangle(s, hcx + 16, hcy - 8, hcx + 6, hcy - 14, hcx + 16, hcy - 22, dark);
    } else {
        FillEllipse(s, hcx - 14, hcy - 10, 5, 8, dark);
        FillEllipse(s, hcx + 14, hcy - 10, 5, 8, dark);
    }
    s.FillCircle(hcx, hcy, 17, body);
    if (look.woolly)
        for (int k = -2; k <= 2; ++k)
            s.FillCircle(hcx + k * 6, hcy - 15, 5, body);
    if (pose.facing != EFacing::Back)
        Face(s, look, hcx, hcy, pose);
}

template <int Who, const ST_POSE* Poses, int Count>
void PaintStrip(CxDrawSurface& s)
{
    StartKeyed(s, kW * Count, kH, 32);
    for (int f = 0; f < Count; ++f)
        Golfer(s, f * kW, kLooks[Who], Poses[f]);
    SoftenEdges(s);
}

// --- the poses ---------------------------------------------------------------------------------

constexpr ST_POSE kStand[] = {{.mallet = 150}, {.mallet = 150, .eyesShut = true}};
constexpr ST_POSE kWait[] = {{.mallet = 200, .bob = 0}, {.mallet = 205, .bob = 1}};
// Frame 3 is where the mallet meets the ball, as the room lets it leave at
// the strip's frame count - 3.
constexpr ST_POSE kKickRight[] = {{.mallet = 240}, {.mallet = 265, .mouth = EMouth::Open}, {.mallet = 215},
                                  {.mallet = 125, .mouth = EMouth::Open}, {.mallet = 100}, {.mallet = 90}};
constexpr ST_POSE kKickLeft[] = {{.mallet = 80}, {.mallet = 50, .mouth = EMouth::Open}, {.mallet = 90},
                                 {.mallet = 125, .mouth = EMouth::Open}, {.mallet = 165}, {.mallet = 200}};
constexpr ST_POSE kEatRight[] = {{.facing = EFacing::Right, .mallet = 200, .mouth = EMouth::Open},
                                 {.facing = EFacing::Right, .mallet = 200, .mouth = EMouth::Chew},
                                 {.facing = EFacing::Right, .mallet = 200, .mouth = EMouth::Open},
                                 {.facing = EFacing::Right, .mallet = 200, .mouth = EMouth::Smile, .eyesShut = true}};
constexpr ST_POSE kEatLeft[] = {{.facing = EFacing::Left, .mallet = 200, .mouth = EMouth::Open},
                                {.facing = EFacing::Left, .mallet = 200, .mouth = EMouth::Chew},
                                {.facing = EFacing::Left, .mallet = 200, .mouth = EMouth::Open},
                                {.facing = EFacing::Left, .mallet = 200, .mouth = EMouth::Smile, .eyesShut = true}};
constexpr ST_POSE kCheer[] = {{.mallet = 35, .armsUp = true, .mouth = EMouth::Open, .bob = 3},
                              {.mallet = 30, .armsUp = true, .mouth = EMouth::Open, .bob = 6},
                              {.mallet = 35, .armsUp = true, .mouth = EMouth::Open, .bob = 3},
                              {.mallet = 30, .armsUp = true, .mouth = EMouth::Smile, .eyesShut = true}};
constexpr ST_POSE kLose[] = {{.mallet = 190, .mouth = EMouth::Sad},
                             {.mallet = 210, .mouth = EMouth::Sad, .bob = -2},
                             {.mallet = 230, .mouth = EMouth::Sad, .bob = -3, .eyesShut = true},
                             {.mallet = 235, .mouth = EMouth::Sad, .bob = -3, .tear = true}};
template <EFacing Facing>
constexpr ST_POSE kWalk[] = {{.facing = Facing, .mallet = 20, .step = -1, .bob = 1},
                             {.facing = Facing, .mallet = 22, .step = 0, .bob = 2},
                             {.facing = Facing, .mallet = 20, .step = 1, .bob = 1},
                             {.facing = Facing, .mallet = 18, .step = 0, .bob = 2}};

#define GOLFER_STRIP(who, file, poses) \
    {"Croquet/golfer" #who "_" file ".tga", &PaintStrip<who, poses, int(std::size(poses))>, \
     kW * int(std::size(poses)), kH, 32}
#define GOLFER(who)                                                                                              \
    GOLFER_STRIP(who, "stand", kStand), GOLFER_STRIP(who, "wait", kWait),                                          \
        GOLFER_STRIP(who, "kick_left", kKickLeft), GOLFER_STRIP(who, "kick_right", kKickRight),                    \
        GOLFER_STRIP(who, "eat_right", kEatRight), GOLFER_STRIP(who, "eat_left", kEatLeft),                        \
        GOLFER_STRIP(who, "cheer", kCheer), GOLFER_STRIP(who, "lose", kLose),                                      \
        GOLFER_STRIP(who, "walk_up", kWalk<EFacing::Back>), GOLFER_STRIP(who, "walk_down", kWalk<EFacing::Front>), \
        GOLFER_STRIP(who, "walk_left", kWalk<EFacing::Left>), GOLFER_STRIP(who, "walk_right", kWalk<EFacing::Right>)

const ST_DEMO_PICTURE kPictures[] = {GOLFER(0), GOLFER(1)};

} // namespace

std::span<const ST_DEMO_PICTURE> CroquetSprites()
{
    return kPictures;
}
