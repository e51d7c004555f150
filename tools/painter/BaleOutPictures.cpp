// The bale game's pictures: the farmyard with its 12 x 12 board of straw
// cells, the pig walking and pushing in four directions, the hay bale (and
// its glow on a goal), the rocks and fences, the goal marker, the special
// cells (ice, bonuses, belts, door, switch), the undo and restart buttons and
// the five cursors. Pieces are 48 x 48 cells, 32-bit and alpha blended;
// the buttons and cursors are 24-bit (the cursors on a magenta key that the
// game reads from a corner pixel, so those pixels stay unpainted).
#include "tools/painter/BoardButtons.h"

#include "PIM/graphics/PimPixelFormat.h"

#include <cmath>

namespace {

constexpr int32_t kCell = 48;
constexpr int32_t kBoardLeft = 110, kBoardTop = 20, kBoardCells = 12;
constexpr int kWalkFrames = 4;
constexpr int kBeltFrames = 4;
constexpr int kBlockLooks = 4;
constexpr int kSpecialFrames = 10;
constexpr int32_t kButton = 56; // two buttons 60 px apart must not overlap
constexpr int32_t kArrowCursor = 48;

// Which way a cell-sized picture is turned when copied: it is painted
// pointing right and copied pointing in the game's direction 1 left, 2 up,
// 3 right, 4 down.
void CopyTurned(CxDrawSurface& from, CxDrawSurface& to, int32_t left, int direction)
{
    const int32_t n = from.GetWidth();
    for (int32_t y = 0; y < n; ++y)
        for (int32_t x = 0; x < n; ++x) {
            int32_t tx = x, ty = y;
            if (direction == 1)
                tx = n - 1 - x;
            else if (direction == 2)
                tx = y, ty = n - 1 - x;
            else if (direction == 4)
                tx = n - 1 - y, ty = x;
            to.SetPixel(left + tx, ty, from.GetPixel(x, y));
        }
}

// --- the pig ---------------------------------------------------------------------------------

struct ST_PIG_LOOK
{
    int direction; // 0 facing the player (idle), 1..4 as the game's directions
    int frame;
    bool pushing;
};

void PigEye(CxDrawSurface& s, int32_t x, int32_t y, bool shut)
{
    if (shut) {
        FillRect(s, x - 2, y, x + 2, y, Colour(s, 60, 30, 40));
        return;
    }
    s.FillCircle(x, y, 2, Colour(s, 40, 24, 30));
    s.SetPixel(x - 1, y - 1, Colour(s, 255, 255, 255));
}

// Seen from the front (down, and idle) or from behind (up).
void PaintPigFrontOrBack(CxDrawSurface& s, int32_t x0, const ST_PIG_LOOK& look)
{
    const uint32_t pink = Colour(s, 250, 178, 192), deep = Colour(s, 226, 120, 146), hoof = Colour(s, 140, 80, 90);
    const bool back = look.direction == 2;
    const int step = look.direction == 0 ? 0 : (look.frame % 2 ? 2 : -2);
    const int32_t cx = x0 + 24, lean = look.pushing ? (back ? -3 : 3) : 0;
    FillEllipse(s, cx, 44, 15, 3, Argb(70, 60, 40, 20));
    for (int side : {-1, 1}) // legs, stepping in turn
        FillRect(s, cx + side * 9 - 3, 34 + (side * step > 0 ? -2 : 0), cx + side * 9 + 3, 43 + (side * step > 0 ? -2 : 0),
                 hoof);
    FillEllipse(s, cx, 28 + lean / 2, 16, 13, pink);
    if (back) {
        for (int i = 0; i < 8; ++i) // the curly tail
            s.FillCircle(cx + static_cast<int32_t>(std::lround(3 * std::cos(i * 0.9))),
                         22 + static_cast<int32_t>(std::lround(3 * std::sin(i * 0.9))) - i / 2, 1, deep);
        FillTriangle(s, cx - 14, 12, cx - 6, 10, cx - 12, 3, deep); // ears seen from behind
        FillTriangle(s, cx + 14, 12, cx + 6, 10, cx + 12, 3, deep);
        s.FillCircle(cx, 13, 10, pink);
        return;
    }
    const int32_t hy = 17 + lean;
    FillTriangle(s, cx - 13, hy - 4, cx - 4, hy - 9, cx - 14, hy - 14, deep);
    FillTriangle(s, cx + 13, hy - 4, cx + 4, hy - 9, cx + 14, hy - 14, deep);
    s.FillCircle(cx, hy, 11, pink);
    PigEye(s, cx - 5, hy - 3, look.direction == 0 && look.frame == 1);
    PigEye(s, cx + 5, hy - 3, look.direction == 0 && look.frame == 1);
    FillEllipse(s, cx, hy + 5, 6, 4, deep);
    s.SetPixel(cx - 2, hy + 5, hoof);
    s.SetPixel(cx + 2, hy + 5, hoof);
}

// Seen from the side, facing right; turned for left.
void PaintPigSide(CxDrawSurface& s, const ST_PIG_LOOK& look)
{
    const uint32_t pink = Colour(s, 250, 178, 192), deep = Colour(s, 226, 120, 146), hoof = Colour(s, 140, 80, 90);
    const int swing = look.frame % 2 ? 3 : -3;
    const int32_t lean = look.pushing ? 3 : 0; // pushing: low and forward
    FillEllipse(s, 24, 44, 17, 3, Argb(70, 60, 40, 20));
    FillRect(s, 12 - swing, 34, 16 - swing, 43, hoof); // back legs
    FillRect(s, 30 + swing + lean, 34, 34 + swing + lean, 43, hoof); // front legs
    for (int i = 0; i < 6; ++i)
        s.FillCircle(7 - i / 2, 22 - i + (i % 3), 1, deep); // the tail
    FillEllipse(s, 22, 28 + lean / 2, 15, 11, pink);
    const int32_t hx = 35 + lean, hy = 22 + lean;
    FillTriangle(s, hx - 6, hy - 7, hx + 1, hy - 9, hx - 5, hy - 16, deep);
    s.FillCircle(hx, hy, 9, pink);
    PigEye(s, hx + 2, hy - 3, false);
    FillEllipse(s, hx + 9, hy + 3, 3, 4, deep);
    s.SetPixel(hx + 10, hy + 2, hoof);
}

void PaintPigStrip(CxDrawSurface& s, int direction, bool pushing, int frames)
{
    StartKeyed(s, kCell * frames, kCell, 32);
    for (int frame = 0; frame < frames; ++frame) {
        const ST_PIG_LOOK look{direction, frame, pushing};
        if (direction == 1 || direction == 3) {
            CxDrawSurface cell;
            StartKeyed(cell, kCell, kCell, 32);
            PaintPigSide(cell, look);
            CopyTurned(cell, s, frame * kCell, direction == 1 ? 1 : 3);
        } else {
            PaintPigFrontOrBack(s, frame * kCell, look);
        }
    }
    SoftenEdges(s);
}

void PaintPigIdle(CxDrawSurface& s) { PaintPigStrip(s, 0, false, 2); }
template <int Direction>
void PaintPigWalk(CxDrawSurface& s) { PaintPigStrip(s, Direction, false, kWalkFrames); }
template <int Direction>
void PaintPigPush(CxDrawSurface& s) { PaintPigStrip(s, Direction, true, kWalkFrames); }

// --- the bale, the blocks, the goal ------------------------------------------------------------

void PaintBaleAt(CxDrawSurface& s, int32_t x0)
{
    const uint32_t hay = Colour(s, 236, 196, 84), dark = Colour(s, 186, 140, 48), twine = Colour(s, 150, 70, 40);
    FillEllipse(s, x0 + 24, 43, 19, 3, Argb(80, 60, 40, 20));
    FillRect(s, x0 + 5, 9, x0 + 42, 41, dark);
    FillRect(s, x0 + 7, 11, x0 + 40, 39, hay);
    for (int32_t y = 14; y < 39; y += 5) // straws
        FillRect(s, x0 + 9 + y % 3, y, x0 + 37 - y % 4, y, dark);
    for (int32_t x : {x0 + 15, x0 + 31}) // the twine bands
        FillRect(s, x, 9, x + 2, 41, twine);
}

void PaintBale(CxDrawSurface& s)
{
    StartKeyed(s, kCell * 2, kCell, 32);
    // On a goal it glows: a warm light all round and a twinkle on top.
    for (int r = 23; r > 15; --r)
        FillEllipse(s, kCell + 24, 25, r, r, Argb(static_cast<uint8_t>(40 + (23 - r) * 18), 255, 240, 120));
    PaintBaleAt(s, 0);
    PaintBaleAt(s, kCell);
    const int32_t tx = kCell + 38, ty = 8;
    FillTriangle(s, tx - 6, ty, tx + 6, ty, tx, ty - 6, Colour(s, 255, 255, 210));
    FillTriangle(s, tx - 6, ty, tx + 6, ty, tx, ty + 6, Colour(s, 255, 255, 210));
    SoftenEdges(s);
}

void PaintRock(CxDrawSurface& s, int32_t x0)
{
    FillEllipse(s, x0 + 24, 28, 21, 17, Colour(s, 110, 110, 116));
    FillEllipse(s, x0 + 21, 25, 17, 13, Colour(s, 150, 150, 156));
    FillEllipse(s, x0 + 16, 19, 6, 4, Colour(s, 190, 190, 196));
}

void PaintFence(CxDrawSurface& s, int32_t x0)
{
    const uint32_t wood = Colour(s, 170, 112, 60), dark = Colour(s, 110, 70, 36);
    for (int32_t x : {x0 + 4, x0 + 36}) {
        FillRect(s, x, 6, x + 8, 45, dark);
        FillRect(s, x + 1, 7, x + 7, 44, wood);
    }
    for (int32_t y : {12, 28}) {
        FillRect(s, x0 + 1, y, x0 + 46, y + 8, dark);
        FillRect(s, x0 + 2, y + 1, x0 + 45, y + 7, wood);
    }
}

void PaintBush(CxDrawSurface& s, int32_t x0)
{
    const uint32_t leaf = Colour(s, 70, 150, 60), dark = Colour(s, 44, 110, 40);
    FillEllipse(s, x0 + 24, 30, 22, 15, dark);
    for (int32_t cx : {x0 + 13, x0 + 24, x0 + 35})
        s.FillCircle(cx, 22 + (cx - x0) % 5, 11, leaf);
    s.FillCircle(x0 + 17, 18, 2, Colour(s, 230, 60, 70)); // berries
    s.FillCircle(x0 + 31, 24, 2, Colour(s, 230, 60, 70));
}

void PaintStones(CxDrawSurface& s, int32_t x0)
{
    FillEllipse(s, x0 + 14, 34, 12, 10, Colour(s, 130, 120, 110));
    FillEllipse(s, x0 + 34, 33, 12, 11, Colour(s, 120, 112, 104));
    FillEllipse(s, x0 + 24, 17, 12, 10, Colour(s, 146, 138, 128));
    FillEllipse(s, x0 + 21, 14, 5, 3, Colour(s, 186, 178, 168));
}

void PaintBlocks(CxDrawSurface& s)
{
    StartKeyed(s, kCell * kBlockLooks, kCell, 32);
    PaintRock(s, 0);
    PaintFence(s, kCell);
    PaintBush(s, kCell * 2);
    PaintStones(s, kCell * 3);
    SoftenEdges(s);
}

// A red and white target in the straw: put a bale here.
void PaintGoal(CxDrawSurface& s)
{
    StartKeyed(s, kCell, kCell, 32);
    FillEllipse(s, 24, 24, 21, 21, Argb(220, 220, 40, 40));
    FillEllipse(s, 24, 24, 15, 15, Argb(220, 255, 255, 255));
    FillEllipse(s, 24, 24, 9, 9, Argb(220, 220, 40, 40));
    FillEllipse(s, 24, 24, 3, 3, Argb(220, 255, 255, 255));
}

// --- the special cells -------------------------------------------------------------------------

// A belt running right: dark rubber between rails, yellow chevrons moving
// on a quarter of their spacing each frame.
void PaintBeltRight(CxDrawSurface& s, int frame)
{
    StartKeyed(s, kCell, kCell, 32);
    FillRect(s, 0, 4, 47, 43, Colour(s, 70, 70, 76));
    for (int32_t x = -16 + frame * 4; x < kCell; x += 16) {
        ThickLine(s, x, 13, x + 8, 24, 2, Colour(s, 250, 210, 60));
        ThickLine(s, x + 8, 24, x, 35, 2, Colour(s, 250, 210, 60));
    }
    // The chevrons leaving the cell are cut at the rails.
    FillRect(s, 0, 4, 47, 7, Colour(s, 150, 150, 160));
    FillRect(s, 0, 40, 47, 43, Colour(s, 150, 150, 160));
}

void PaintBeltInto(CxDrawSurface& s, int32_t left, int direction, int frame)
{
    CxDrawSurface cell;
    PaintBeltRight(cell, frame);
    CopyTurned(cell, s, left, direction);
}

template <int Direction>
void PaintBelt(CxDrawSurface& s)
{
    StartKeyed(s, kCell * kBeltFrames, kCell, 32);
    for (int frame = 0; frame < kBeltFrames; ++frame)
        PaintBeltInto(s, frame * kCell, Direction, frame);
}

void Coin(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t r)
{
    s.FillCircle(cx, cy, r, Colour(s, 200, 140, 20));
    s.FillCircle(cx, cy, r - 2, Colour(s, 255, 210, 50));
    FillRect(s, cx - 1, cy - r / 2, cx + 1, cy + r / 2, Colour(s, 210, 150, 30));
}

void PaintSpecials(CxDrawSurface& s)
{
    StartKeyed(s, kCell * kSpecialFrames, kCell, 32);
    // 0 ice: a pale blue sheet with shine.
    FillRect(s, 1, 1, 46, 46, Argb(235, 190, 230, 250));
    for (int32_t k : {10, 26})
        ThickLine(s, k, 38, k + 12, 8, 1, Argb(240, 250, 255, 255));
    // 1 bonus +100: one gold coin; 2 bonus +200: two.
    Coin(s, kCell + 24, 24, 13);
    Coin(s, kCell * 2 + 18, 28, 12);
    Coin(s, kCell * 2 + 30, 20, 12);
    // 3..6 the belts at rest (the belt states animate them).
    for (int direction = 1; direction <= 4; ++direction)
        PaintBeltInto(s, kCell * (direction + 2), direction, 0);
    // 7 the door: a closed wooden gate with a cross brace.
    const int32_t door = kCell * 7;
    FillRect(s, door, 0, door + 47, 47, Colour(s, 110, 64, 30));
    for (int32_t x = door + 3; x < door + 45; x += 11)
        FillRect(s, x, 3, x + 8, 44, Colour(s, 180, 110, 56));
    ThickLine(s, door + 6, 40, door + 41, 7, 2, Colour(s, 120, 72, 34));
    s.FillCircle(door + 38, 25, 4, Colour(s, 60, 60, 70)); // the latch
    // 8 the switch: a stone plate with a big red button to stand on.
    const int32_t plate = kCell * 8 + 24;
    FillEllipse(s, plate, 26, 20, 17, Colour(s, 120, 120, 126));
    FillEllipse(s, plate, 24, 18, 15, Colour(s, 170, 170, 176));
    FillEllipse(s, plate, 23, 9, 7, Colour(s, 200, 40, 40));
    FillEllipse(s, plate - 3, 20, 3, 2, Colour(s, 250, 140, 140));
    // 9 the hint cell is never seen: left clear.
    SoftenEdges(s);
}

// --- the yard ------------------------------------------------------------------------------

void PaintBackground(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // Grass all round, with a few flowers on the left.
    FillRect(s, 0, 0, 799, 599, Colour(s, 112, 176, 78));
    uint32_t seed = 4242;
    for (int k = 0; k < 400; ++k) {
        seed = seed * 1664525u + 1013904223u;
        const int32_t x = static_cast<int32_t>((seed >> 8) % 800), y = static_cast<int32_t>((seed >> 18) % 600);
        FillRect(s, x, y, x, y + 3, Colour(s, 86, 150, 60));
    }
    for (int32_t y = 60; y < 580; y += 90) {
        const int32_t x = 30 + (y * 7) % 50;
        for (int petal = 0; petal < 4; ++petal) // white petals left, right, below and above
            s.FillCircle(x + (petal < 2 ? 8 * petal - 4 : 0), y + (petal < 2 ? 0 : 8 * petal - 20), 3,
                         Colour(s, 255, 255, 255));
        s.FillCircle(x, y, 2, Colour(s, 250, 210, 40));
    }
    // The board: straw cells, two shades like a chequer, each edged in earth.
    const int32_t right = kBoardLeft + kCell * kBoardCells - 1, bottom = kBoardTop + kCell * kBoardCells - 1;
    FillRect(s, kBoardLeft - 5, kBoardTop - 5, right + 5, bottom + 5, Colour(s, 120, 80, 44));
    for (int cx = 0; cx < kBoardCells; ++cx)
        for (int cy = 0; cy < kBoardCells; ++cy) {
            const int32_t x = kBoardLeft + cx * kCell, y = kBoardTop + cy * kCell;
            const int shade = (cx + cy) % 2 ? 18 : 0;
            FillRect(s, x, y, x + kCell - 1, y + kCell - 1, Colour(s, 170, 128, 76));
            FillRect(s, x + 1, y + 1, x + kCell - 2, y + kCell - 2,
                     Colour(s, static_cast<uint8_t>(232 - shade), static_cast<uint8_t>(200 - shade), static_cast<uint8_t>(118 - shade)));
            for (int k = 0; k < 5; ++k) { // a few straws in every cell
                seed = seed * 1664525u + 1013904223u;
                const int32_t sx = x + 4 + static_cast<int32_t>((seed >> 8) % 36), sy = y + 4 + static_cast<int32_t>((seed >> 16) % 38);
                const int32_t dx = static_cast<int32_t>(seed % 9) - 4;
                ThickLine(s, sx, sy, sx + dx, sy + 3, 0, Colour(s, 196, 156, 70));
            }
        }
    // The panel on the right for the moves, the score and the buttons.
    FillRect(s, 690, 0, 799, 599, Colour(s, 150, 100, 56));
    for (int32_t x = 690; x < 800; x += 22)
        FillRect(s, x, 0, x + 1, 599, Colour(s, 116, 76, 40));
    FillRect(s, 694, 84, 796, 134, Colour(s, 100, 64, 34)); // the moves' sign
    FillRect(s, 697, 87, 793, 131, Colour(s, 246, 232, 196));
    FillRect(s, 694, 18, 796, 70, Colour(s, 100, 64, 34)); // the score's sign
    FillRect(s, 697, 21, 793, 67, Colour(s, 246, 232, 196));
}

// --- buttons -------------------------------------------------------------------------------

void ArrowHead(CxDrawSurface& face, int32_t x, int32_t y, int32_t dx, int32_t dy, uint32_t colour)
{
    // A head pointing along (dx, dy), 12 px back and 12 px to each side.
    FillTriangle(face, x + dx * 14, y + dy * 14, x - dy * 14, y + dx * 14, x + dy * 14, y - dx * 14, colour);
}

// Undo: an arrow curving back to the left.
void FaceUndo(CxDrawSurface& face)
{
    const uint32_t blue = Colour(face, 60, 140, 230);
    for (int i = 0; i <= 24; ++i) {
        const double a = 3.14159265 * i / 24;
        face.FillCircle(48 + static_cast<int32_t>(std::lround(22 * std::cos(a))),
                        52 - static_cast<int32_t>(std::lround(22 * std::sin(a))), 6, blue);
    }
    ArrowHead(face, 26, 60, 0, 1, blue);
}

// Start again: an arrow going all the way round.
void FaceRestart(CxDrawSurface& face)
{
    const uint32_t green = Colour(face, 60, 180, 80);
    for (int i = 0; i <= 40; ++i) {
        const double a = 0.5 + 5.2 * i / 40;
        face.FillCircle(48 + static_cast<int32_t>(std::lround(24 * std::cos(a))),
                        48 - static_cast<int32_t>(std::lround(24 * std::sin(a))), 6, green);
    }
    ArrowHead(face, 48 + 21, 48 + 12, -1, 0, green);
}

// A board strip shrunk to kButton square frames, each pixel the mean of the
// ones it covers.
void ShrinkStrip(CxDrawSurface& big, CxDrawSurface& s)
{
    s.Create(kButton * kButtonStates, kButton, 24);
    for (int frame = 0; frame < kButtonStates; ++frame)
        for (int32_t y = 0; y < kButton; ++y)
            for (int32_t x = 0; x < kButton; ++x) {
                const int32_t x0 = x * kBoardSize / kButton, x1 = (x + 1) * kBoardSize / kButton;
                const int32_t y0 = y * kBoardSize / kButton, y1 = (y + 1) * kBoardSize / kButton;
                int r = 0, g = 0, b = 0, n = 0;
                for (int32_t by = y0; by < y1; ++by)
                    for (int32_t bx = x0; bx < x1; ++bx, ++n) {
                        const ST_ARGB c = SplitPixel(big.GetFormat(), big.GetPixel(frame * kBoardSize + bx, by));
                        r += c.red, g += c.green, b += c.blue;
                    }
                s.SetPixel(frame * kButton + x, y,
                           Colour(s, static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(b / n)));
            }
}

template <void (*Face)(CxDrawSurface&)>
void PaintSmallButton(CxDrawSurface& s)
{
    CxDrawSurface big;
    PaintBoardStrip(big, Face);
    ShrinkStrip(big, s);
}

// --- cursors -------------------------------------------------------------------------------

// The pointer: a straw-yellow arrow, tip at (0, 0), with the key pixel
// (0, 36) left clear below it.
void PaintNormalCursor(CxDrawSurface& s)
{
    StartKeyed(s, 32, 40, 24);
    const uint32_t outline = Colour(s, 90, 50, 20), fill = Colour(s, 250, 214, 90);
    FillTriangle(s, 0, 0, 0, 25, 18, 18, outline);
    ThickLine(s, 8, 18, 14, 29, 3, outline);
    FillTriangle(s, 2, 5, 2, 20, 13, 17, fill);
    ThickLine(s, 8, 19, 13, 27, 1, fill);
}

// A fat green arrow pointing the way the pig will go, centred on (24, 24)
// and clear of the edges, where the key pixels are.
template <int Direction>
void PaintArrowCursor(CxDrawSurface& s)
{
    CxDrawSurface right;
    StartKeyed(right, kArrowCursor, kArrowCursor, 24);
    const uint32_t outline = Colour(right, 20, 70, 20), fill = Colour(right, 90, 210, 80);
    FillRect(right, 6, 16, 28, 32, outline);
    FillTriangle(right, 24, 5, 24, 43, 44, 24, outline);
    FillRect(right, 8, 19, 28, 29, fill);
    FillTriangle(right, 27, 10, 27, 38, 40, 24, fill);
    StartKeyed(s, kArrowCursor, kArrowCursor, 24);
    CopyTurned(right, s, 0, Direction);
}

#define PIECE(file, paint, frames) {"BaleOut/" file, paint, kCell * (frames), kCell, 32}

const ST_DEMO_PICTURE kPictures[] = {
    {"BaleOut/G02_BG.tga", &PaintBackground, 800, 600, 24},
    // the pig (dax_pig.xni): idle, walking and pushing in each direction
    PIECE("pig_idle.tga", &PaintPigIdle, 2),
    PIECE("pig_walk_left.tga", &PaintPigWalk<1>, kWalkFrames),
    PIECE("pig_walk_up.tga", &PaintPigWalk<2>, kWalkFrames),
    PIECE("pig_walk_right.tga", &PaintPigWalk<3>, kWalkFrames),
    PIECE("pig_walk_down.tga", &PaintPigWalk<4>, kWalkFrames),
    PIECE("pig_push_left.tga", &PaintPigPush<1>, kWalkFrames),
    PIECE("pig_push_up.tga", &PaintPigPush<2>, kWalkFrames),
    PIECE("pig_push_right.tga", &PaintPigPush<3>, kWalkFrames),
    PIECE("pig_push_down.tga", &PaintPigPush<4>, kWalkFrames),
    PIECE("bale.tga", &PaintBale, 2),
    PIECE("block.tga", &PaintBlocks, kBlockLooks),
    PIECE("goal.tga", &PaintGoal, 1),
    PIECE("special.tga", &PaintSpecials, kSpecialFrames),
    PIECE("belt_left.tga", &PaintBelt<1>, kBeltFrames),
    PIECE("belt_up.tga", &PaintBelt<2>, kBeltFrames),
    PIECE("belt_right.tga", &PaintBelt<3>, kBeltFrames),
    PIECE("belt_down.tga", &PaintBelt<4>, kBeltFrames),
    {"BaleOut/undobut.tga", &PaintSmallButton<&FaceUndo>, kButton * kButtonStates, kButton, 24},
    {"BaleOut/restart.TGA", &PaintSmallButton<&FaceRestart>, kButton * kButtonStates, kButton, 24},
    {"BaleOut/normalCursor.TGA", &PaintNormalCursor, 32, 40, 24},
    {"BaleOut/G02_arrow01.TGA", &PaintArrowCursor<2>, kArrowCursor, kArrowCursor, 24},
    {"BaleOut/G02_arrow02.TGA", &PaintArrowCursor<3>, kArrowCursor, kArrowCursor, 24},
    {"BaleOut/G02_arrow03.TGA", &PaintArrowCursor<4>, kArrowCursor, kArrowCursor, 24},
    {"BaleOut/G02_arrow04.TGA", &PaintArrowCursor<1>, kArrowCursor, kArrowCursor, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> BaleOutPictures()
{
    return kPictures;
}
