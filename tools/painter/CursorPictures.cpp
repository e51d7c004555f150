// The game's three cursors: 24-bit on a magenta key, which the game reads
// from a key pixel of each (0, 36 for the arrows, 0, 0 for the hand), so
// that pixel is left unpainted. The arrows point at their top-left pixel,
// the hot spot the game gives them; the hand's finger tip is at (1, 1).
#include "tools/painter/PaintKit.h"

namespace {

constexpr int32_t kWidth = 32;
// Tall enough to hold the arrows' key pixel at (0, 36).
constexpr int32_t kArrowHeight = 40;
constexpr int32_t kHandHeight = 32;

// On a picture already started: its colours depend on its depth.
void PaintArrow(CxDrawSurface& s, uint32_t outline, uint32_t fill)
{
    FillTriangle(s, 0, 0, 0, 27, 19, 19, outline);
    ThickLine(s, 7, 18, 13, 30, 3, outline);
    FillTriangle(s, 2, 5, 2, 22, 14, 18, fill);
    ThickLine(s, 7, 19, 12, 28, 1, fill);
}

// The default cursor: white with a dark outline, readable on any picture.
void PaintClearArrow(CxDrawSurface& s)
{
    StartKeyed(s, kWidth, kArrowHeight, 24);
    PaintArrow(s, Colour(s, 20, 20, 40), Colour(s, 255, 255, 255));
}

// Over the fairground's playing areas: dark with a light edge.
void PaintDarkArrow(CxDrawSurface& s)
{
    StartKeyed(s, kWidth, kArrowHeight, 24);
    PaintArrow(s, Colour(s, 240, 240, 250), Colour(s, 30, 30, 60));
}

// The hand: a finger pointing up, its tip at the top-left corner.
void PaintHand(CxDrawSurface& s)
{
    StartKeyed(s, kWidth, kHandHeight, 24);
    const uint32_t outline = Colour(s, 90, 50, 20);
    const uint32_t skin = Colour(s, 255, 214, 170);
    // Outline first: the finger, the fist, the cuff.
    FillRect(s, 1, 4, 8, 18, outline);
    s.FillCircle(4, 4, 3, outline);
    FillRect(s, 1, 12, 24, 27, outline);
    s.FillCircle(23, 15, 4, outline);
    FillRect(s, 3, 26, 22, 31, Colour(s, 40, 90, 200));
    // Then the skin inside it.
    FillRect(s, 3, 4, 6, 17, skin);
    s.FillCircle(4, 4, 1, skin);
    FillRect(s, 3, 14, 22, 25, skin);
    for (int32_t x : {10, 15, 20}) // the knuckles
        FillRect(s, x, 14, x, 19, outline);
    FillRect(s, 5, 27, 20, 30, Colour(s, 70, 130, 235));
}

const ST_DEMO_PICTURE kPictures[] = {
    {"common/ClearCursor.tga", &PaintClearArrow, kWidth, kArrowHeight, 24},
    {"common/DarkCursor.tga", &PaintDarkArrow, kWidth, kArrowHeight, 24},
    {"common/HandCurs.tga", &PaintHand, kWidth, kHandHeight, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> CursorPictures()
{
    return kPictures;
}
