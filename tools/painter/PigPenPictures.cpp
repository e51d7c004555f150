// The pig pen's pictures: the cosy barn pen, Tobble the pig in every mood
// and reaction, the pump and the water bowl, the meter's marker, the trough's
// front and the gate, the thought bubble and its six wishes, the shelf's
// buttons, every item's icon and the picture held while dragging it, the
// decorations, and the sparkle shared with other rooms. The pig, the pump and
// everything the room blends are 32-bit with soft edges.
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PigPenLayout.h"

#include "PIM/graphics/PimPixelFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t Round(double v)
{
    return static_cast<int32_t>(std::lround(v));
}

// A clear 32-bit picture to paint sprites on.
void StartClear(CxDrawSurface& s, int32_t width, int32_t height)
{
    StartKeyed(s, width, height, 32);
}

void Heart(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t r, uint32_t colour)
{
    s.FillCircle(cx - r / 2, cy - r / 4, r / 2 + 1, colour);
    s.FillCircle(cx + r / 2, cy - r / 4, r / 2 + 1, colour);
    FillTriangle(s, cx - r - 1, cy - r / 6, cx + r + 1, cy - r / 6, cx, cy + r, colour);
}

void Star(CxDrawSurface& s, int32_t cx, int32_t cy, double r, uint32_t colour)
{
    for (int point = 0; point < 5; ++point) {
        const double a = point * 2 * kPi / 5 - kPi / 2;
        const int32_t x1 = cx + Round(r * std::cos(a)), y1 = cy + Round(r * std::sin(a));
        const int32_t x2 = cx + Round(r * 0.4 * std::cos(a - kPi / 5)), y2 = cy + Round(r * 0.4 * std::sin(a - kPi / 5));
        const int32_t x3 = cx + Round(r * 0.4 * std::cos(a + kPi / 5)), y3 = cy + Round(r * 0.4 * std::sin(a + kPi / 5));
        FillTriangle(s, x1, y1, x2, y2, x3, y3, colour);
        FillTriangle(s, cx, cy, x2, y2, x3, y3, colour);
    }
}

// A curve of dots: y = cy + bend * (1 - (i / half)^2), a smile when bend > 0.
void Curve(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t half, int32_t bend, int radius, uint32_t colour)
{
    for (int32_t i = -half; i <= half; ++i) {
        const double u = static_cast<double>(i) / half;
        s.FillCircle(cx + i, cy + Round(bend * (1 - u * u)), radius, colour);
    }
}

// --- Tobble ----------------------------------------------------------------------------------

// One look of the pig: his mood's face and what his body is doing.
struct ST_PIG_POSE
{
    int mood = 1;        // 0 sad, 1 so-so, 2 happy
    int bounce = 0;      // pixels the whole pig is lifted
    int headDrop = 0;    // pixels the head is lowered (eating, drinking)
    bool eyesShut = false;
    bool mouth = true;   // false: the talking mouth is laid on instead
    bool chewing = false;
    bool lapping = false;
    int tail = 0;        // the tail's swing, -1..1
    int liftFoot = -1;   // a leg lifted, 0..3
    int hearts = 0;      // little hearts above him
    int earFlick = 0;
};

void PaintPig(CxDrawSurface& s, int32_t x0, const ST_PIG_POSE& p)
{
    const uint32_t pink = Colour(s, 250, 178, 192), deep = Colour(s, 232, 126, 152);
    const uint32_t light = Colour(s, 255, 210, 218), dark = Colour(s, 58, 30, 40);
    const uint32_t white = Colour(s, 255, 255, 255), hoof = Colour(s, 150, 84, 96);
    const int32_t b = -p.bounce;
    FillEllipse(s, x0 + 128, 183, 84, 6, Argb(70, 60, 40, 20)); // his shadow on the straw
    // Legs, front pair under the head end, back pair under the rump.
    const int32_t legs[4] = {68, 92, 146, 170};
    for (int leg = 0; leg < 4; ++leg) {
        const int32_t lift = leg == p.liftFoot ? 14 : 0;
        FillRect(s, x0 + legs[leg], 140 + b - lift, x0 + legs[leg] + 20, 178 + b - lift, leg % 2 ? pink : deep);
        FillRect(s, x0 + legs[leg], 172 + b - lift, x0 + legs[leg] + 20, 181 + b - lift, hoof);
    }
    // The curly tail at the rump, swinging.
    const int32_t tx = x0 + 205, ty = 84 + b;
    for (int i = 0; i < 16; ++i) {
        const double a = i * 0.6 + p.tail * 0.7;
        const double r = 3 + i * 0.45;
        s.FillCircle(tx + Round(r * std::cos(a)), ty + Round(r * std::sin(a)), 3, deep);
    }
    FillEllipse(s, x0 + 128, 108 + b, 74, 58, pink); // the round body
    FillEllipse(s, x0 + 140, 136 + b, 50, 22, light); // his tummy
    // The head, lowered while he eats or drinks.
    const int32_t hx = x0 + 62, hy = 88 + b + p.headDrop;
    const int32_t earTip = p.mood == 0 ? 14 : (p.mood == 2 ? -12 : -2);
    FillTriangle(s, hx - 38, hy - 26, hx - 14, hy - 42, hx - 44, hy - 40 + earTip + p.earFlick, deep);
    FillTriangle(s, hx + 38, hy - 26, hx + 14, hy - 42, hx + 44, hy - 40 + earTip - p.earFlick, deep);
    s.FillCircle(hx, hy, 50, pink);
    // Big friendly eyes with a shine, shut in a happy curve when petted.
    for (int32_t ex : {hx - 18, hx + 16}) {
        const int32_t ey = hy - 10;
        if (p.eyesShut) {
            Curve(s, ex, ey + 4, 9, -6, 2, dark);
            continue;
        }
        FillEllipse(s, ex, ey, 12, 14, white);
        const int32_t look = p.mood == 0 ? 4 : 0; // a sad pig looks down
        s.FillCircle(ex - 2, ey + 2 + look, 7, dark);
        s.FillCircle(ex - 4, ey - 1 + look, 2, white);
        if (p.mood == 0) // brows raised in the middle: a worried face
            ThickLine(s, ex - 10, ey - 18 + (ex < hx ? 4 : -4), ex + 10, ey - 18 + (ex < hx ? -4 : 4), 1, deep);
    }
    s.FillCircle(hx - 34, hy + 12, 8, Colour(s, 250, 140, 166)); // cheeks
    s.FillCircle(hx + 32, hy + 12, 8, Colour(s, 250, 140, 166));
    FillEllipse(s, hx - 2, hy + 22, 22, 14, deep); // the snout
    FillEllipse(s, hx - 9, hy + 22, 4, 6, hoof);
    FillEllipse(s, hx + 5, hy + 22, 4, 6, hoof);
    if (p.mouth) {
        const int32_t my = hy + 42;
        if (p.chewing) {
            FillEllipse(s, hx - 2, my, 8, 5, dark);
        } else if (p.lapping) {
            FillEllipse(s, hx - 2, my, 8, 4, dark);
            FillEllipse(s, hx - 2, my + 5, 5, 6, Colour(s, 240, 110, 130));
            s.FillCircle(hx - 12, my + 14, 3, Colour(s, 120, 180, 250)); // drops of water
            s.FillCircle(hx + 8, my + 16, 2, Colour(s, 120, 180, 250));
        } else if (p.mood == 0) {
            Curve(s, hx - 2, my + 4, 10, -5, 1, dark);
        } else if (p.mood == 1) {
            Curve(s, hx - 2, my, 9, 2, 1, dark);
        } else {
            FillEllipse(s, hx - 2, my + 1, 13, 7, dark); // a wide open smile
            FillRect(s, hx - 16, my - 7, hx + 12, my, deep);
            FillEllipse(s, hx - 2, my + 4, 7, 3, Colour(s, 240, 110, 130));
        }
    }
    if (p.mood == 0 && !p.eyesShut && p.headDrop == 0) { // a tear
        s.FillCircle(hx - 22, hy + 14, 3, Colour(s, 130, 190, 250));
        FillTriangle(s, hx - 25, hy + 13, hx - 19, hy + 13, hx - 22, hy + 6, Colour(s, 130, 190, 250));
    }
    for (int h = 0; h < p.hearts; ++h)
        Heart(s, x0 + 110 + h * 26, 34 - h * 12, 8, Colour(s, 240, 60, 110));
}

template <int Frames>
void PaintPigStrip(CxDrawSurface& s, const ST_PIG_POSE (&poses)[Frames])
{
    StartClear(s, kPigFrameW * Frames, kPigFrameH);
    for (int frame = 0; frame < Frames; ++frame)
        PaintPig(s, frame * kPigFrameW, poses[frame]);
    SoftenEdges(s);
}

void PaintPigSad(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[2] = {{.mood = 0}, {.mood = 0, .headDrop = 3}};
    PaintPigStrip(s, poses);
}

void PaintPigSoSo(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[4] = {{}, {.tail = 1}, {}, {.eyesShut = true}};
    PaintPigStrip(s, poses);
}

void PaintPigHappy(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[4] = {{.mood = 2, .tail = -1},
                                  {.mood = 2, .bounce = 5, .tail = 1, .earFlick = 4},
                                  {.mood = 2, .bounce = 8, .tail = -1},
                                  {.mood = 2, .bounce = 5, .tail = 1, .earFlick = -4}};
    PaintPigStrip(s, poses);
}

// Head down into the trough, munching: the food is gone from frame 3 on.
void PaintPigEat(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[6] = {{.headDrop = 14}, {.headDrop = 30, .chewing = true}, {.headDrop = 40},
                                  {.headDrop = 40, .chewing = true}, {.headDrop = 30, .chewing = true},
                                  {.mood = 2, .headDrop = 8, .tail = 1}};
    PaintPigStrip(s, poses);
}

void PaintPigDrink(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[6] = {{.headDrop = 16}, {.headDrop = 34, .lapping = true}, {.headDrop = 38},
                                  {.headDrop = 34, .lapping = true}, {.headDrop = 38, .lapping = true},
                                  {.mood = 2, .headDrop = 10, .tail = 1}};
    PaintPigStrip(s, poses);
}

// Petting and brushing: eyes shut in bliss, hearts rising.
void PaintPigHead(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[4] = {{.mood = 2, .eyesShut = true, .hearts = 1, .earFlick = 5},
                                  {.mood = 2, .eyesShut = true, .hearts = 2, .earFlick = -5},
                                  {.mood = 2, .eyesShut = true, .hearts = 3, .earFlick = 5},
                                  {.mood = 2, .eyesShut = true, .hearts = 2}};
    PaintPigStrip(s, poses);
}

void PaintPigChest(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[4] = {{.mood = 2, .bounce = 3, .eyesShut = true, .hearts = 1},
                                  {.mood = 2, .eyesShut = true, .hearts = 1},
                                  {.mood = 2, .bounce = 3, .eyesShut = true, .hearts = 2},
                                  {.mood = 2, .hearts = 2}};
    PaintPigStrip(s, poses);
}

void PaintPigRump(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[4] = {{.mood = 2, .tail = -1, .hearts = 1}, {.mood = 2, .tail = 1, .hearts = 1},
                                  {.mood = 2, .tail = -1, .hearts = 2}, {.mood = 2, .tail = 1, .hearts = 2}};
    PaintPigStrip(s, poses);
}

// A giggle: his feet kick up one after another.
void PaintPigFeet(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[4] = {{.mood = 2, .eyesShut = true, .liftFoot = 0},
                                  {.mood = 2, .eyesShut = true, .liftFoot = 2},
                                  {.mood = 2, .eyesShut = true, .liftFoot = 1, .hearts = 1},
                                  {.mood = 2, .eyesShut = true, .liftFoot = 3, .hearts = 1}};
    PaintPigStrip(s, poses);
}

// Talking in each mood: the face without its mouth, which the lips draw.
template <int Mood>
void PaintPigTalk(CxDrawSurface& s)
{
    const ST_PIG_POSE poses[1] = {{.mood = Mood, .mouth = false}};
    PaintPigStrip(s, poses);
}

// The talking mouth: five 30 x 16 frames on magenta, closed to wide open,
// laid under the snout.
void PaintPigMouth(CxDrawSurface& s)
{
    constexpr int32_t kCell = 30;
    StartKeyed(s, kCell * 5, 16, 24);
    const uint32_t pink = Colour(s, 250, 178, 192), dark = Colour(s, 58, 30, 40);
    for (int frame = 0; frame < 5; ++frame) {
        const int32_t cx = frame * kCell + kCell / 2;
        FillRect(s, frame * kCell + 1, 0, frame * kCell + kCell - 2, 15, pink);
        if (frame == 0) {
            Curve(s, cx, 5, 8, 2, 1, dark);
            continue;
        }
        FillEllipse(s, cx, 7, 5 + frame * 2, 1 + frame * 2 > 7 ? 7 : 1 + frame * 2, dark);
        if (frame >= 3)
            FillEllipse(s, cx, 11, 5, 2, Colour(s, 240, 110, 130));
    }
}

// --- the pump and the bowl -------------------------------------------------------------------

constexpr int32_t kPumpW = 130, kPumpH = 190;

void PaintPump(CxDrawSurface& s)
{
    StartClear(s, kPumpW * 6, kPumpH);
    const uint32_t green = Colour(s, 70, 150, 110), rim = Colour(s, 40, 100, 70);
    const uint32_t water = Colour(s, 110, 180, 250);
    const double angles[6] = {-30, 0, 30, 0, -30, 0}; // the handle's swing
    for (int frame = 0; frame < 6; ++frame) {
        const int32_t x0 = frame * kPumpW;
        FillRect(s, x0 + 20, 170, x0 + 80, 189, Colour(s, 150, 150, 160)); // the stone it stands on
        FillRect(s, x0 + 34, 40, x0 + 66, 172, green);
        FillRect(s, x0 + 30, 34, x0 + 70, 46, rim);
        s.FillCircle(x0 + 50, 30, 10, rim);
        FillRect(s, x0 + 66, 70, x0 + 116, 82, green); // the spout, over the bowl
        FillRect(s, x0 + 108, 70, x0 + 118, 96, green);
        const double a = angles[frame] * kPi / 180;
        ThickLine(s, x0 + 44, 40, x0 + 44 - Round(40 * std::cos(a)), 40 + Round(40 * std::sin(a)) - 14, 4, rim);
        s.FillCircle(x0 + 44 - Round(40 * std::cos(a)), 40 + Round(40 * std::sin(a)) - 14, 6, Colour(s, 200, 60, 60));
        if (frame >= 2) // water pours from the third frame on
            FillRect(s, x0 + 109, 97, x0 + 117, 97 + 22 * (frame - 1), water);
    }
    SoftenEdges(s);
}

constexpr int32_t kBowlW = 90, kBowlH = 44;
constexpr int kBowlLevels = 4;

void PaintBowl(CxDrawSurface& s)
{
    StartClear(s, kBowlW * kBowlLevels, kBowlH);
    for (int level = 0; level < kBowlLevels; ++level) {
        const int32_t x0 = level * kBowlW, cx = x0 + kBowlW / 2;
        FillEllipse(s, cx, 22, 42, 18, Colour(s, 60, 110, 190)); // the bowl, blue
        FillEllipse(s, cx, 16, 38, 9, Colour(s, 40, 60, 100));  // its inside, dark when empty
        if (level > 0)
            FillEllipse(s, cx, 16, 10 + level * 9, 3 + level * 2, Colour(s, 120, 190, 250));
        FillEllipse(s, cx - 14, 30, 8, 3, Colour(s, 140, 180, 240)); // a shine on its side
    }
    SoftenEdges(s);
}

// --- the meter, the trough's front, the gate ---------------------------------------------------

void PaintMeterMarker(CxDrawSurface& s)
{
    StartClear(s, 28, 20);
    FillTriangle(s, 0, 10, 12, 0, 12, 19, Colour(s, 60, 40, 30));
    FillEllipse(s, 18, 10, 9, 9, Colour(s, 232, 126, 152)); // a little pink snout
    FillEllipse(s, 15, 10, 2, 3, Colour(s, 150, 84, 96));
    FillEllipse(s, 21, 10, 2, 3, Colour(s, 150, 84, 96));
    SoftenEdges(s);
}

void PaintTroughFront(CxDrawSurface& s)
{
    const int32_t w = kTrough.right - kTrough.left + 1, h = kTrough.bottom - kTroughFrontY + 1;
    StartClear(s, w, h);
    FillRect(s, 0, 0, w - 1, h - 1, Colour(s, 150, 96, 50));
    FillRect(s, 0, 0, w - 1, 3, Colour(s, 190, 130, 70));
    FillRect(s, 4, h / 2, w - 5, h / 2, Colour(s, 120, 76, 40));
    for (int32_t x : {8, w - 9})
        s.FillCircle(x, h / 2 - 4, 2, Colour(s, 80, 70, 60));
}

constexpr int32_t kGateW = 100, kGateH = 210;

void PaintGate(CxDrawSurface& s)
{
    StartClear(s, kGateW, kGateH);
    const uint32_t wood = Colour(s, 176, 120, 66), edge = Colour(s, 120, 78, 40);
    FillRect(s, 0, 0, 13, kGateH - 1, edge); // the posts
    FillRect(s, kGateW - 14, 0, kGateW - 1, kGateH - 1, edge);
    for (int32_t y : {70, 120, 170})
        FillRect(s, 14, y, kGateW - 15, y + 16, wood);
    ThickLine(s, 20, 180, kGateW - 20, 76, 4, wood); // the brace
    SoftenEdges(s);
}

// --- the thought bubble and its wishes ---------------------------------------------------------

constexpr int32_t kBubbleW = 160, kBubbleH = 130;
constexpr int32_t kWishW = 72, kWishH = 60;

void PaintBubble(CxDrawSurface& s)
{
    StartClear(s, kBubbleW, kBubbleH);
    const uint32_t edge = Colour(s, 120, 120, 150), white = Colour(s, 255, 255, 255);
    const int puffs[][3] = {{50, 40, 32}, {84, 32, 34}, {118, 44, 30}, {70, 64, 30}, {106, 66, 30}};
    for (const auto& p : puffs)
        s.FillCircle(p[0], p[1], p[2] + 2, edge);
    s.FillCircle(18, 108, 9, edge);
    s.FillCircle(6, 124, 5, edge);
    for (const auto& p : puffs)
        s.FillCircle(p[0], p[1], p[2], white);
    s.FillCircle(18, 108, 7, white);
    s.FillCircle(6, 124, 3, white);
    SoftenEdges(s);
}

void DrawApple(CxDrawSurface& s, int32_t cx, int32_t cy, int r);
void DrawDrop(CxDrawSurface& s, int32_t cx, int32_t cy, int r);
void DrawBrush(CxDrawSurface& s, int32_t cx, int32_t cy, int r);

template <int Wish>
void PaintWish(CxDrawSurface& s)
{
    StartClear(s, kWishW, kWishH);
    const int32_t cx = kWishW / 2, cy = kWishH / 2;
    switch (Wish) {
    case 0: DrawApple(s, cx, cy, 22); break;
    case 1: DrawDrop(s, cx, cy, 22); break;
    case 2: Heart(s, cx, cy, 22, Colour(s, 240, 60, 110)); break;
    case 3: // sleepy: a moon and z's
        s.FillCircle(cx - 6, cy, 20, Colour(s, 250, 220, 90));
        s.FillCircle(cx + 4, cy - 6, 18, Colour(s, 0, 0, 0) & 0x00FFFFFFu);
        for (int z = 0; z < 2; ++z) {
            const int32_t zx = cx + 12 + z * 12, zy = cy - 10 - z * 12;
            ThickLine(s, zx, zy, zx + 8, zy, 1, Colour(s, 90, 90, 160));
            ThickLine(s, zx + 8, zy, zx, zy + 8, 1, Colour(s, 90, 90, 160));
            ThickLine(s, zx, zy + 8, zx + 8, zy + 8, 1, Colour(s, 90, 90, 160));
        }
        break;
    case 4: DrawBrush(s, cx, cy, 22); break;
    default: // the pen's decoration: a little framed picture
        FillRect(s, cx - 24, cy - 20, cx + 24, cy + 20, Colour(s, 200, 150, 60));
        FillRect(s, cx - 18, cy - 14, cx + 18, cy + 14, Colour(s, 150, 210, 250));
        FillRect(s, cx - 18, cy + 4, cx + 18, cy + 14, Colour(s, 100, 190, 90));
        s.FillCircle(cx + 8, cy - 4, 6, Colour(s, 255, 210, 60));
        break;
    }
    SoftenEdges(s);
}

// --- the items -------------------------------------------------------------------------------

void DrawApple(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    s.FillCircle(cx - r / 3, cy + r / 8, r * 2 / 3, Colour(s, 220, 40, 40));
    s.FillCircle(cx + r / 3, cy + r / 8, r * 2 / 3, Colour(s, 220, 40, 40));
    s.FillCircle(cx - r / 3, cy - r / 8, r / 5, Colour(s, 250, 140, 140));
    ThickLine(s, cx, cy - r / 2, cx + r / 6, cy - r, 1 + r / 16, Colour(s, 110, 70, 30));
    FillEllipse(s, cx + r / 2, cy - r * 3 / 4, r / 3, r / 6, Colour(s, 70, 170, 60));
}

void DrawCorn(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    FillTriangle(s, cx - r / 2, cy + r, cx - r, cy - r / 4, cx, cy + r / 2, Colour(s, 90, 170, 70));
    FillTriangle(s, cx + r / 2, cy + r, cx + r, cy - r / 4, cx, cy + r / 2, Colour(s, 90, 170, 70));
    FillEllipse(s, cx, cy, r / 3, r * 9 / 10, Colour(s, 250, 210, 60));
    for (int32_t y = cy - r * 3 / 4; y < cy + r * 3 / 4; y += std::max(3, r / 5))
        FillRect(s, cx - r / 4, y, cx + r / 4, y, Colour(s, 220, 170, 40));
}

void DrawTurnip(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    for (int leaf = -1; leaf <= 1; ++leaf)
        FillEllipse(s, cx + leaf * r / 3, cy - r * 3 / 4, r / 6, r / 3, Colour(s, 70, 160, 60));
    s.FillCircle(cx, cy + r / 6, r * 2 / 3, Colour(s, 246, 240, 230));
    FillEllipse(s, cx, cy - r / 6, r * 2 / 3, r / 4, Colour(s, 190, 90, 170));
    FillTriangle(s, cx - r / 5, cy + r * 2 / 3, cx + r / 5, cy + r * 2 / 3, cx, cy + r, Colour(s, 246, 240, 230));
}

void DrawDrop(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    s.FillCircle(cx, cy + r / 4, r * 2 / 3, Colour(s, 80, 160, 240));
    FillTriangle(s, cx - r * 2 / 3 + 1, cy + r / 6, cx + r * 2 / 3 - 1, cy + r / 6, cx, cy - r, Colour(s, 80, 160, 240));
    s.FillCircle(cx - r / 4, cy + r / 6, r / 6, Colour(s, 200, 230, 255));
}

void DrawBrush(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    ThickLine(s, cx + r / 4, cy, cx + r, cy - r * 2 / 3, 1 + r / 8, Colour(s, 150, 90, 40));
    FillRect(s, cx - r, cy - r / 4, cx + r / 3, cy + r / 8, Colour(s, 190, 120, 60));
    for (int32_t x = cx - r + 2; x < cx + r / 3; x += std::max(2, r / 6))
        FillRect(s, x, cy + r / 8, x + 1, cy + r / 2, Colour(s, 250, 230, 170));
}

void DrawRibbon(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    const uint32_t red = Colour(s, 230, 60, 120);
    FillTriangle(s, cx, cy, cx - r, cy - r / 2, cx - r, cy + r / 2, red);
    FillTriangle(s, cx, cy, cx + r, cy - r / 2, cx + r, cy + r / 2, red);
    FillTriangle(s, cx, cy, cx - r / 2, cy + r, cx - r / 6, cy + r, red);
    FillTriangle(s, cx, cy, cx + r / 2, cy + r, cx + r / 6, cy + r, red);
    s.FillCircle(cx, cy, r / 4, Colour(s, 250, 120, 170));
}

void DrawBall(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    s.FillCircle(cx, cy, r * 3 / 4, Colour(s, 60, 120, 230));
    FillRect(s, cx - r * 3 / 4 + 2, cy - r / 8, cx + r * 3 / 4 - 2, cy + r / 8, Colour(s, 255, 220, 60));
    Star(s, cx + r / 4, cy - r / 3, r / 5.0, Colour(s, 255, 255, 255));
}

void DrawDuck(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    const uint32_t yellow = Colour(s, 255, 214, 40);
    FillEllipse(s, cx, cy + r / 4, r * 3 / 4, r / 2, yellow);
    s.FillCircle(cx - r / 3, cy - r / 3, r / 3, yellow);
    FillTriangle(s, cx - r * 2 / 3, cy - r / 3, cx - r, cy - r / 5, cx - r * 2 / 3, cy - r / 6, Colour(s, 250, 130, 30));
    s.FillCircle(cx - r / 3, cy - r * 2 / 5, std::max(1, r / 12), Colour(s, 40, 30, 30));
}

// --- the decorations ------------------------------------------------------------------------

// A wall picture in a wooden frame: 1 the sunny farm, 2 flowers, 3 a heart.
template <int Id>
void PaintWallPicture(CxDrawSurface& s)
{
    StartClear(s, kWallPictureW, kWallPictureH);
    const int32_t w = kWallPictureW, h = kWallPictureH;
    FillRect(s, 0, 0, w - 1, h - 1, Colour(s, 190, 130, 50));
    FillRect(s, 3, 3, w - 4, h - 4, Colour(s, 220, 170, 80));
    const uint32_t paper = Id == 3 ? Colour(s, 255, 236, 240) : Colour(s, 160, 214, 250);
    FillRect(s, 9, 9, w - 10, h - 10, paper);
    if (Id == 1) {
        FillRect(s, 9, 56, w - 10, h - 10, Colour(s, 110, 190, 90));
        s.FillCircle(80, 30, 12, Colour(s, 255, 210, 60));
        FillRect(s, 26, 38, 50, 60, Colour(s, 200, 50, 40));
        FillTriangle(s, 22, 40, 38, 26, 54, 40, Colour(s, 120, 60, 40));
    } else if (Id == 2) {
        const uint32_t petals[3] = {Colour(s, 240, 90, 130), Colour(s, 250, 200, 50), Colour(s, 170, 110, 230)};
        for (int f = 0; f < 3; ++f) {
            const int32_t fx = 28 + f * 27, fy = 34 + (f % 2) * 10;
            ThickLine(s, fx, fy, fx, h - 12, 1, Colour(s, 60, 150, 60));
            for (int k = 0; k < 5; ++k)
                s.FillCircle(fx + Round(8 * std::cos(k * 2 * kPi / 5)), fy + Round(8 * std::sin(k * 2 * kPi / 5)), 5,
                             petals[f]);
            s.FillCircle(fx, fy, 4, Colour(s, 255, 240, 150));
        }
    } else {
        Heart(s, w / 2, h / 2, 24, Colour(s, 240, 60, 110));
    }
}

constexpr int32_t kRugW = 260, kRugH = 85;

void PaintRug(CxDrawSurface& s)
{
    StartClear(s, kRugW, kRugH);
    FillEllipse(s, kRugW / 2, kRugH / 2, kRugW / 2 - 1, kRugH / 2 - 1, Colour(s, 200, 70, 90));
    FillEllipse(s, kRugW / 2, kRugH / 2, kRugW / 2 - 12, kRugH / 2 - 10, Colour(s, 250, 200, 90));
    FillEllipse(s, kRugW / 2, kRugH / 2, kRugW / 2 - 28, kRugH / 2 - 22, Colour(s, 120, 180, 230));
    for (int k = 0; k < 6; ++k)
        Star(s, 50 + k * 32, kRugH / 2, 7, Colour(s, 255, 255, 255));
    SoftenEdges(s);
}

constexpr int32_t kBedW = 150, kBedH = 70;

void PaintBed(CxDrawSurface& s)
{
    StartClear(s, kBedW, kBedH);
    FillEllipse(s, kBedW / 2, 42, kBedW / 2 - 1, 27, Colour(s, 140, 90, 60)); // the basket
    FillEllipse(s, kBedW / 2, 34, kBedW / 2 - 10, 18, Colour(s, 110, 160, 230)); // a soft blue cushion
    for (int k = 0; k < 4; ++k)
        s.FillCircle(34 + k * 28, 32 + (k % 2) * 6, 4, Colour(s, 255, 255, 255));
    for (int32_t x = 12; x < kBedW - 12; x += 12) // the wicker
        FillRect(s, x, 54, x + 6, 56, Colour(s, 180, 130, 80));
    SoftenEdges(s);
}

constexpr int32_t kArchW = 150, kArchH = 100;

void PaintArch(CxDrawSurface& s)
{
    StartClear(s, kArchW, kArchH);
    const uint32_t green = Colour(s, 70, 150, 70);
    const uint32_t blooms[3] = {Colour(s, 240, 90, 140), Colour(s, 255, 210, 60), Colour(s, 250, 250, 250)};
    for (int i = 0; i <= 30; ++i) { // leaves along a half circle
        const double a = kPi - i * kPi / 30;
        const int32_t x = kArchW / 2 + Round((kArchW / 2 - 12) * std::cos(a));
        const int32_t y = kArchH - 6 - Round((kArchH - 20) * std::sin(a));
        s.FillCircle(x, y, 8, green);
        if (i % 3 == 0)
            s.FillCircle(x, y, 6, blooms[(i / 3) % 3]);
    }
    SoftenEdges(s);
}

// --- the shelf's buttons and the item icons ---------------------------------------------------

void FaceFood(CxDrawSurface& f)
{
    DrawApple(f, 48, 52, 34);
}
void FaceDecor(CxDrawSurface& f)
{
    FillRect(f, 18, 22, 78, 74, Colour(f, 200, 150, 60));
    FillRect(f, 26, 30, 70, 66, Colour(f, 150, 210, 250));
    Heart(f, 48, 48, 13, Colour(f, 240, 60, 110));
}
void FaceGroom(CxDrawSurface& f)
{
    DrawBrush(f, 48, 50, 34);
}
void FaceToys(CxDrawSurface& f)
{
    DrawBall(f, 48, 48, 40);
}
template <void (*Face)(CxDrawSurface& f)>
void PaintShelfButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, Face);
}

// A round tile for the shelf, one frame per button state, lit as the board
// buttons are; `draw` puts the item in its middle.
constexpr int32_t kTile = 72;
using DrawItem = void (*)(CxDrawSurface& s, int32_t cx, int32_t cy, int r);

void PaintTileStrip(CxDrawSurface& s, DrawItem draw)
{
    StartClear(s, kTile * kButtonStates, kTile);
    for (int frame = 0; frame < kButtonStates; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        const int32_t cx = frame * kTile + kTile / 2, cy = kTile / 2 + look.sink;
        const uint8_t tone = look.grey ? 190 : Lift(236, look.light / 2);
        s.FillCircle(cx, cy, kTile / 2 - 2, Colour(s, 130, 84, 40));
        s.FillCircle(cx, cy, kTile / 2 - 5, Colour(s, tone, tone, look.grey ? tone : Lift(200, look.light / 2)));
        draw(s, cx, cy, 24);
    }
    SoftenEdges(s);
}

void DrawPadlock(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    s.FillCircle(cx, cy - r / 3, r / 2, Colour(s, 120, 120, 130));
    s.FillCircle(cx, cy - r / 3, r / 3, Colour(s, 0, 0, 0) & 0x00FFFFFFu);
    FillRect(s, cx - r * 2 / 3, cy - r / 4, cx + r * 2 / 3, cy + r * 2 / 3, Colour(s, 230, 180, 50));
    s.FillCircle(cx, cy + r / 6, r / 7, Colour(s, 80, 60, 30));
}

void DrawWallIcon1(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    FillRect(s, cx - r, cy - r * 3 / 4, cx + r, cy + r * 3 / 4, Colour(s, 200, 150, 60));
    FillRect(s, cx - r + 4, cy - r * 3 / 4 + 4, cx + r - 4, cy + r * 3 / 4 - 4, Colour(s, 160, 214, 250));
    FillRect(s, cx - r + 4, cy + 2, cx + r - 4, cy + r * 3 / 4 - 4, Colour(s, 110, 190, 90));
    s.FillCircle(cx + r / 2, cy - r / 3, r / 5, Colour(s, 255, 210, 60));
}
void DrawWallIcon2(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    FillRect(s, cx - r, cy - r * 3 / 4, cx + r, cy + r * 3 / 4, Colour(s, 200, 150, 60));
    FillRect(s, cx - r + 4, cy - r * 3 / 4 + 4, cx + r - 4, cy + r * 3 / 4 - 4, Colour(s, 160, 214, 250));
    for (int f = -1; f <= 1; ++f)
        s.FillCircle(cx + f * r / 2, cy, r / 5, Colour(s, 240, 90, 130));
}
void DrawWallIcon3(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    FillRect(s, cx - r, cy - r * 3 / 4, cx + r, cy + r * 3 / 4, Colour(s, 200, 150, 60));
    FillRect(s, cx - r + 4, cy - r * 3 / 4 + 4, cx + r - 4, cy + r * 3 / 4 - 4, Colour(s, 255, 236, 240));
    Heart(s, cx, cy, r / 2, Colour(s, 240, 60, 110));
}
void DrawRugIcon(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    FillEllipse(s, cx, cy, r, r / 2, Colour(s, 200, 70, 90));
    FillEllipse(s, cx, cy, r - 5, r / 2 - 4, Colour(s, 250, 200, 90));
    FillEllipse(s, cx, cy, r - 11, r / 2 - 8, Colour(s, 120, 180, 230));
}
void DrawBedIcon(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    FillEllipse(s, cx, cy + r / 4, r, r / 2, Colour(s, 140, 90, 60));
    FillEllipse(s, cx, cy, r - 5, r / 3, Colour(s, 110, 160, 230));
}
void DrawArchIcon(CxDrawSurface& s, int32_t cx, int32_t cy, int r)
{
    for (int i = 0; i <= 12; ++i) {
        const double a = kPi - i * kPi / 12;
        const int32_t x = cx + Round(r * 0.8 * std::cos(a)), y = cy + r / 2 - Round(r * std::sin(a));
        s.FillCircle(x, y, 4, i % 3 ? Colour(s, 70, 150, 70) : Colour(s, 240, 90, 140));
    }
}

template <DrawItem Draw>
void PaintIcon(CxDrawSurface& s)
{
    PaintTileStrip(s, Draw);
}

// The picture that follows the pointer while an item is carried.
constexpr int32_t kDragW = 80, kDragH = 60;

template <DrawItem Draw>
void PaintDrag(CxDrawSurface& s)
{
    StartClear(s, kDragW, kDragH);
    Draw(s, kDragW / 2, kDragH / 2, 28);
    SoftenEdges(s);
}

void PaintPageArrow(CxDrawSurface& s, bool next)
{
    constexpr int32_t w = 40, h = 48;
    StartClear(s, w * kButtonStates, h);
    for (int frame = 0; frame < kButtonStates; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        const int32_t x0 = frame * w, sink = look.sink;
        const uint32_t fill = look.grey ? Colour(s, 170, 170, 170) : Colour(s, Lift(90, look.light), Lift(190, look.light), Lift(90, look.light));
        const int32_t tip = next ? x0 + w - 3 : x0 + 2, back = next ? x0 + 3 : x0 + w - 4;
        FillTriangle(s, back, 2 + sink, back, h - 3 + sink - 4, tip, h / 2 + sink - 2, Colour(s, 40, 80, 40));
        FillTriangle(s, back + (next ? 3 : -3), 8 + sink, back + (next ? 3 : -3), h - 12 + sink, tip + (next ? -6 : 6),
                     h / 2 + sink - 2, fill);
    }
    SoftenEdges(s);
}
void PaintNextArrow(CxDrawSurface& s)
{
    PaintPageArrow(s, true);
}
void PaintPrevArrow(CxDrawSurface& s)
{
    PaintPageArrow(s, false);
}

// --- the sparkle --------------------------------------------------------------------------------

constexpr int32_t kSparkle = 64;

void PaintSparkle(CxDrawSurface& s)
{
    StartClear(s, kSparkle * 6, kSparkle);
    for (int frame = 0; frame < 6; ++frame) {
        const int32_t cx = frame * kSparkle + kSparkle / 2, cy = kSparkle / 2;
        const double grow = frame < 3 ? frame + 1 : 6 - frame; // up then away
        Star(s, cx, cy, 8 * grow, Colour(s, 255, 220, 60));
        Star(s, cx, cy, 4 * grow, Colour(s, 255, 255, 220));
        for (int k = 0; k < 4; ++k) {
            const double a = k * kPi / 2 + frame * 0.4;
            Star(s, cx + Round((10 + 4 * frame) * std::cos(a)), cy + Round((10 + 4 * frame) * std::sin(a)), 4,
                 Colour(s, 255, 250, 200));
        }
    }
    SoftenEdges(s);
}

// --- the pen ----------------------------------------------------------------------------------

uint32_t Straw(const CxDrawSurface& s, int shade)
{
    return Colour(s, static_cast<uint8_t>(232 - shade), static_cast<uint8_t>(196 - shade), static_cast<uint8_t>(96 - shade / 2));
}

void Face(CxDrawSurface& s, int32_t cx, int32_t cy, bool happy)
{
    s.FillCircle(cx, cy, 14, Colour(s, 80, 50, 30));
    s.FillCircle(cx, cy, 12, happy ? Colour(s, 250, 210, 60) : Colour(s, 150, 170, 220));
    s.FillCircle(cx - 4, cy - 3, 2, Colour(s, 40, 30, 30));
    s.FillCircle(cx + 4, cy - 3, 2, Colour(s, 40, 30, 30));
    Curve(s, cx, cy + (happy ? 3 : 7), 5, happy ? 3 : -3, 0, Colour(s, 40, 30, 30));
}

void PaintBackground(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // The back wall: warm upright planks under a beam.
    for (int32_t x = 0; x < 800; x += 40) {
        const int tone = (x / 40) % 2 ? 0 : 10;
        FillRect(s, x, 0, x + 39, 300, Colour(s, static_cast<uint8_t>(176 + tone), static_cast<uint8_t>(122 + tone), 72));
        FillRect(s, x, 0, x + 1, 300, Colour(s, 130, 86, 48));
        s.FillCircle(x + 20, 60 + (x * 7) % 160, 3, Colour(s, 150, 100, 56)); // knots
    }
    FillRect(s, 0, 0, 799, 22, Colour(s, 120, 78, 44));
    FillRect(s, 0, 280, 799, 300, Colour(s, 130, 86, 48)); // the skirting plank
    // The three empty spots: paler patches with a nail, where pictures hang.
    for (const auto& spot : kWallSpots) {
        const int32_t x = spot[0], y = spot[1];
        FillRect(s, x, y, x + kWallPictureW - 1, y + kWallPictureH - 1, Colour(s, 206, 160, 106));
        FillRect(s, x + 4, y + 4, x + kWallPictureW - 5, y + kWallPictureH - 5, Colour(s, 196, 146, 92));
        s.FillCircle(x + kWallPictureW / 2, y - 8, 3, Colour(s, 90, 80, 70));
    }
    // The straw floor, with strands scattered over it the same way every time.
    for (int32_t y = 301; y < kShelfTop; ++y)
        FillRect(s, 0, y, 799, y, Straw(s, (y - 300) / 8));
    uint32_t seed = 12345;
    for (int k = 0; k < 700; ++k) {
        seed = seed * 1664525u + 1013904223u;
        const int32_t x = static_cast<int32_t>((seed >> 8) % 800), y = 304 + static_cast<int32_t>((seed >> 20) % 192);
        const int32_t dx = static_cast<int32_t>(seed % 17) - 8, dy = static_cast<int32_t>((seed >> 4) % 5) - 2;
        ThickLine(s, x, y, x + dx, y + dy, 0, Straw(s, 40 + static_cast<int>(seed % 30)));
    }
    // The trough, its inside dark: the food is laid in it.
    FillRect(s, kTrough.left - 4, kTrough.top, kTrough.right + 4, kTrough.bottom, Colour(s, 120, 76, 40));
    FillRect(s, kTrough.left + 4, kTrough.top + 4, kTrough.right - 4, kTroughFrontY, Colour(s, 70, 44, 24));
    FillRect(s, kTrough.left - 6, kTrough.bottom - 2, kTrough.left + 10, kTrough.bottom + 6, Colour(s, 100, 64, 34));
    FillRect(s, kTrough.right - 10, kTrough.bottom - 2, kTrough.right + 6, kTrough.bottom + 6, Colour(s, 100, 64, 34));
    // A puddle of stones where the pump stands, and a sack of feed by the trough.
    FillEllipse(s, 110, 392, 100, 16, Colour(s, 170, 166, 160));
    FillEllipse(s, 80, 460, 44, 34, Colour(s, 210, 190, 150));
    FillRect(s, 54, 420, 106, 434, Colour(s, 180, 150, 110));
    DrawApple(s, 80, 464, 14);
    // The meter's scale: a tube from blue (sad) at the bottom to gold (happy) at the top.
    FillRect(s, kMeter.left + 1, kMeter.top - 4, kMeter.right - 1, kMeter.bottom + 24, Colour(s, 80, 50, 30));
    for (int32_t y = kMeter.top; y <= kMeter.bottom + 20; ++y) {
        const int u = (y - kMeter.top) * 255 / (kMeter.bottom + 20 - kMeter.top);
        FillRect(s, kMeter.left + 4, y, kMeter.right - 4, y,
                 Colour(s, static_cast<uint8_t>(250 - u * 110 / 255), static_cast<uint8_t>(200 - u * 30 / 255), static_cast<uint8_t>(60 + u * 160 / 255)));
    }
    Face(s, (kMeter.left + kMeter.right) / 2, kMeter.top - 22, true);
    Face(s, (kMeter.left + kMeter.right) / 2, kMeter.bottom + 44, false);
    // The shelf for the buttons and icons.
    FillRect(s, 0, kShelfTop, 799, 599, Colour(s, 140, 92, 50));
    FillRect(s, 0, kShelfTop, 799, kShelfTop + 5, Colour(s, 100, 64, 34));
    for (int32_t y = kShelfTop + 30; y < 600; y += 30)
        FillRect(s, 0, y, 799, y, Colour(s, 124, 80, 44));
}

#define PIG_STRIP(file, paint, frames) {"PigPen/" file, paint, kPigFrameW * (frames), kPigFrameH, 32}
#define TILE(file, draw) {"PigPen/" file, &PaintIcon<draw>, kTile * kButtonStates, kTile, 32}
#define DRAG(file, draw) {"PigPen/" file, &PaintDrag<draw>, kDragW, kDragH, 32}
#define BOARD(file, face) {"PigPen/" file, &PaintShelfButton<face>, kBoardSize * kButtonStates, kBoardSize, 24}

const ST_DEMO_PICTURE kPictures[] = {
    {"PigPen/G10_BG.tga", &PaintBackground, 800, 600, 24},
    // Tobble: 220 x 190 frames, 32-bit, a strip per state (pig.xni)
    PIG_STRIP("pig_sad.tga", &PaintPigSad, 2),
    PIG_STRIP("pig_soso.tga", &PaintPigSoSo, 4),
    PIG_STRIP("pig_happy.tga", &PaintPigHappy, 4),
    PIG_STRIP("pig_eat.tga", &PaintPigEat, 6),
    PIG_STRIP("pig_drink.tga", &PaintPigDrink, 6),
    PIG_STRIP("pig_head.tga", &PaintPigHead, 4),
    PIG_STRIP("pig_chest.tga", &PaintPigChest, 4),
    PIG_STRIP("pig_rump.tga", &PaintPigRump, 4),
    PIG_STRIP("pig_feet.tga", &PaintPigFeet, 4),
    PIG_STRIP("pig_talk_sad.tga", &PaintPigTalk<0>, 1),
    PIG_STRIP("pig_talk_soso.tga", &PaintPigTalk<1>, 1),
    PIG_STRIP("pig_talk_happy.tga", &PaintPigTalk<2>, 1),
    {"PigPen/pig_mouth.tga", &PaintPigMouth, 150, 16, 24},
    {"PigPen/pump.tga", &PaintPump, kPumpW * 6, kPumpH, 32},
    {"PigPen/G10_Bowl.tga", &PaintBowl, kBowlW * kBowlLevels, kBowlH, 32},
    {"PigPen/G10_Meter.tga", &PaintMeterMarker, 28, 20, 32},
    {"PigPen/G10_foodmask.tga", &PaintTroughFront, kTrough.right - kTrough.left + 1, kTrough.bottom - kTroughFrontY + 1, 32},
    {"PigPen/G10_Door.tga", &PaintGate, kGateW, kGateH, 32},
    {"PigPen/g10_thought.tga", &PaintBubble, kBubbleW, kBubbleH, 32},
    {"PigPen/g10_thought_eat.tga", &PaintWish<0>, kWishW, kWishH, 32},
    {"PigPen/g10_thought_drink.tga", &PaintWish<1>, kWishW, kWishH, 32},
    {"PigPen/g10_thought_love.tga", &PaintWish<2>, kWishW, kWishH, 32},
    {"PigPen/g10_thought_energy.tga", &PaintWish<3>, kWishW, kWishH, 32},
    {"PigPen/g10_thought_groom.tga", &PaintWish<4>, kWishW, kWishH, 32},
    {"PigPen/g10_thought_Decor.tga", &PaintWish<5>, kWishW, kWishH, 32},
    // the shelf: four 96 x 96 board buttons, two page arrows, 72 x 72 item tiles
    BOARD("button_food.tga", &FaceFood),
    BOARD("button_decor.tga", &FaceDecor),
    BOARD("button_groom.tga", &FaceGroom),
    BOARD("button_toys.tga", &FaceToys),
    {"PigPen/button_next.tga", &PaintNextArrow, 40 * kButtonStates, 48, 32},
    {"PigPen/button_prev.tga", &PaintPrevArrow, 40 * kButtonStates, 48, 32},
    TILE("icon_locked.tga", &DrawPadlock),
    TILE("icon_food1.tga", &DrawApple), TILE("icon_food2.tga", &DrawCorn), TILE("icon_food3.tga", &DrawTurnip),
    DRAG("drag_food1.tga", &DrawApple), DRAG("drag_food2.tga", &DrawCorn), DRAG("drag_food3.tga", &DrawTurnip),
    TILE("icon_decor1.tga", &DrawWallIcon1), TILE("icon_decor2.tga", &DrawWallIcon2),
    TILE("icon_decor3.tga", &DrawWallIcon3), TILE("icon_decor4.tga", &DrawRugIcon),
    TILE("icon_decor5.tga", &DrawBedIcon), TILE("icon_decor6.tga", &DrawArchIcon),
    TILE("icon_groom1.tga", &DrawBrush), TILE("icon_groom2.tga", &DrawRibbon),
    DRAG("drag_groom1.tga", &DrawBrush), DRAG("drag_groom2.tga", &DrawRibbon),
    TILE("icon_toy1.tga", &DrawBall), TILE("icon_toy2.tga", &DrawDuck),
    DRAG("drag_toy1.tga", &DrawBall), DRAG("drag_toy2.tga", &DrawDuck),
    // the decorations; a carried decoration shows its own picture
    {"PigPen/G10_wall01_2.tga", &PaintWallPicture<1>, kWallPictureW, kWallPictureH, 32},
    {"PigPen/G10_wall02_2.tga", &PaintWallPicture<2>, kWallPictureW, kWallPictureH, 32},
    {"PigPen/G10_wall03_2.tga", &PaintWallPicture<3>, kWallPictureW, kWallPictureH, 32},
    {"PigPen/G10_floor01_2.tga", &PaintRug, kRugW, kRugH, 32},
    {"PigPen/G10_Bed_01_2.tga", &PaintBed, kBedW, kBedH, 32},
    {"PigPen/G10_Arch_01_2.tga", &PaintArch, kArchW, kArchH, 32},
    {"common/sparkle.tga", &PaintSparkle, kSparkle * 6, kSparkle, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> PigPenPictures()
{
    return kPictures;
}
