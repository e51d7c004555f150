#pragma once
// The fairground's two views as one function of a pixel, shared by the
// painter (the backgrounds S04_bg.tga and S04_bg2.tga) and the movie maker
// (the scroll movies slide one view into the other), so the last frame of a
// scroll is exactly the picture the room then shows.
//
// View 0: the shooting stand in the middle (the cannon game's area is the
// striped board around the four targets at 299..399 x 200..325) and the duck
// ride's booth on the left. View 1: the popcorn cart and the bumper-car hall,
// and the spinner's board in the middle. Both: sky, bunting, grass, a path,
// pale arrows painted high at the edges where a click scrolls (the kids
// and the ride stand lower down), and the small score plaques the room
// writes its numbers on.

#include <algorithm>
#include <cmath>
#include <cstdint>

struct ST_FAIR_RGB
{
    uint8_t r, g, b;
};

constexpr int32_t FAIR_SCENE_WIDTH = 800;
constexpr int32_t FAIR_SCENE_HEIGHT = 600;
constexpr int32_t FAIR_SCENE_HORIZON = 330;

inline ST_FAIR_RGB FairLerp(ST_FAIR_RGB a, ST_FAIR_RGB b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

inline bool FairInBox(int32_t x, int32_t y, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return x >= l && x <= r && y >= t && y <= b;
}

// Where the room writes the scores: the top-left corner of each number's
// box, the score first and the best score second (view 0's boxes are
// 40 x 30, the spinner's 40 x 20).
struct ST_FAIR_SLOT
{
    int32_t x, y, width, height;
};
constexpr ST_FAIR_SLOT FAIR_SCORE_SLOTS[2][2] = {{{476, 200, 40, 30}, {476, 250, 40, 30}},
                                                 {{528, 190, 40, 20}, {528, 230, 40, 20}}};
// The plaque around each view's two slots.
constexpr ST_FAIR_SLOT FAIR_SCORE_PLAQUES[2] = {{462, 190, 74, 101}, {515, 180, 74, 86}};
constexpr int32_t FAIR_ARROW_Y = 160;

// A five-pointed star of outer radius r around (cx, cy), point up.
inline bool FairStar(int32_t x, int32_t y, int32_t cx, int32_t cy, double r)
{
    const double dx = x - cx, dy = y - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > r)
        return false;
    // The outline swings between the points (r) and the notches (0.45 r).
    const double a = std::atan2(dx, -dy);
    const double sector = 2 * 3.14159265 / 5;
    const double t = std::fabs(std::remainder(a, sector)) / (sector / 2); // 0 at a point, 1 at a notch
    return d <= r * (1 - 0.55 * t);
}

// The score plaque of `view`: a wooden frame, two plain cream slots, and a
// gold star by the best score's slot.
inline bool FairScorePlaque(int view, int32_t x, int32_t y, ST_FAIR_RGB& out)
{
    const ST_FAIR_SLOT& p = FAIR_SCORE_PLAQUES[view];
    if (!FairInBox(x, y, p.x, p.y, p.x + p.width - 1, p.y + p.height - 1))
        return false;
    out = {120, 70, 40};
    if (FairInBox(x, y, p.x + 3, p.y + 3, p.x + p.width - 4, p.y + p.height - 4))
        out = {176, 110, 60};
    const ST_FAIR_SLOT& best = FAIR_SCORE_SLOTS[view][1];
    const int32_t starX = best.x + best.width + (p.x + p.width - best.x - best.width) / 2;
    if (FairStar(x, y, starX, best.y + best.height / 2, 8))
        out = {250, 200, 30};
    for (const ST_FAIR_SLOT& slot : FAIR_SCORE_SLOTS[view])
        if (FairInBox(x, y, slot.x - 2, slot.y - 2, slot.x + slot.width + 1, slot.y + slot.height + 1))
            out = FairInBox(x, y, slot.x, slot.y, slot.x + slot.width - 1, slot.y + slot.height - 1)
                      ? ST_FAIR_RGB{250, 244, 222}
                      : ST_FAIR_RGB{90, 50, 30};
    return true;
}

// An arrow at an edge (pointing outwards): a triangle and a shaft.
inline bool FairEdgeArrow(int32_t x, int32_t y, bool right)
{
    const int32_t cy = FAIR_ARROW_Y;
    const int32_t dx = right ? (FAIR_SCENE_WIDTH - 1 - x) : x; // distance from the edge
    if (dx < 14 || dx > 70)
        return false;
    if (dx <= 42) // the head: wide at 42, a point at 14
        return std::abs(y - cy) <= (dx - 14) * 30 / 28;
    return std::abs(y - cy) <= 10;
}

// A striped tent: a canvas box with a triangular roof.
inline bool FairTent(int32_t x, int32_t y, int32_t left, int32_t right, int32_t top, int32_t bottom, ST_FAIR_RGB a,
                     ST_FAIR_RGB b, ST_FAIR_RGB& out)
{
    const int32_t roof = top + (bottom - top) / 3;
    const int32_t mid = (left + right) / 2;
    const int32_t half = (right - left) / 2;
    bool inside = false;
    if (y >= roof && y <= bottom && x >= left && x <= right)
        inside = true;
    else if (y >= top && y < roof) {
        const int32_t reach = half * (y - top) / std::max(1, roof - top);
        inside = std::abs(x - mid) <= reach;
    }
    if (!inside)
        return false;
    out = ((x - left) / 24) % 2 == 0 ? a : b;
    // The dark doorway.
    if (y > bottom - (bottom - roof) * 2 / 3 && std::abs(x - mid) < half / 4)
        out = {70, 30, 40};
    return true;
}

inline ST_FAIR_RGB FairSceneryPixel(int view, int32_t x, int32_t y)
{
    const ST_FAIR_RGB white{250, 250, 245};
    if (FairEdgeArrow(x, y, true) || FairEdgeArrow(x, y, false))
        return white;

    ST_FAIR_RGB c;
    if (y < FAIR_SCENE_HORIZON) {
        c = FairLerp({92, 160, 236}, {196, 226, 250}, static_cast<double>(y) / FAIR_SCENE_HORIZON);
        // Bunting: a sagging string of little flags.
        const double sag = 40 + 18 * std::cos((x % 200 - 100) * 3.14159265 / 100.0);
        const int32_t flag = x % 40;
        if (y >= sag && y <= sag + 22 - flag / 2 && flag < 24) {
            static const ST_FAIR_RGB kFlags[] = {{230, 60, 60}, {250, 200, 40}, {60, 170, 90}, {70, 110, 220}};
            c = kFlags[(x / 40) % 4];
        }
    } else {
        c = FairLerp({120, 196, 96}, {80, 150, 64}, static_cast<double>(y - FAIR_SCENE_HORIZON) /
                                                        (FAIR_SCENE_HEIGHT - FAIR_SCENE_HORIZON));
        // A sandy path across the front.
        if (y > 470 && y < 540 + (x % 97) / 30)
            c = {222, 196, 140};
    }

    ST_FAIR_RGB tent;
    if (view == 0) {
        // The duck ride's booth, left (its button sits on it).
        if (FairTent(x, y, 110, 260, 170, 400, {60, 150, 220}, white, tent))
            c = tent;
        // A far tent on the right.
        if (FairTent(x, y, 540, 690, 190, 380, {230, 70, 70}, white, tent))
            c = tent;
        // The shooting stand: a striped board behind the targets, a counter below.
        if (FairInBox(x, y, 262, 170, 452, 360))
            c = ((x - 262) / 19) % 2 == 0 ? ST_FAIR_RGB{250, 214, 70} : ST_FAIR_RGB{232, 120, 40};
        if (FairInBox(x, y, 250, 360, 464, 392))
            c = {150, 90, 50};
        if (FairInBox(x, y, 250, 150, 464, 170))
            c = {200, 40, 50};
    } else {
        // The bumper-car hall, left; the popcorn cart, right.
        if (FairTent(x, y, 90, 300, 160, 410, {150, 80, 200}, {250, 200, 40}, tent))
            c = tent;
        if (FairTent(x, y, 560, 700, 210, 400, {240, 240, 240}, {230, 60, 60}, tent))
            c = tent;
        // The spinner's board: a round dial in a frame, its good middle marked.
        const int32_t cx = 420, cy = 260;
        const int32_t d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (FairInBox(x, y, 330, 160, 510, 370))
            c = {110, 60, 40};
        if (d2 < 85 * 85)
            c = {246, 236, 210};
        if (d2 < 85 * 85 && std::abs(x - cx) < 12 && y < cy)
            c = {60, 170, 90};
    }
    ST_FAIR_RGB plaque;
    if (FairScorePlaque(view, x, y, plaque))
        c = plaque;
    return c;
}
