// The game's cursors (dax.ini's [Cursors]): 32 x 32, 24-bit, on a magenta
// key at the top-left pixel, which the game takes as the see-through
// colour. A dark outline keeps each readable over any picture.
#include "tools/painter/PaintKit.h"

namespace {

constexpr int32_t kSize = 32;

// The arrow: tip at (1, 1), the hot spot dax.ini gives it.
void PaintArrow(CxDrawSurface& s)
{
    StartKeyed(s, kSize, kSize, 24);
    const uint32_t outline = Colour(s, 20, 20, 40);
    const uint32_t fill = Colour(s, 255, 255, 255);
    FillTriangle(s, 1, 1, 1, 26, 19, 19, outline);
    ThickLine(s, 8, 18, 14, 29, 3, outline);
    FillTriangle(s, 3, 5, 3, 22, 15, 17, fill);
    ThickLine(s, 8, 19, 13, 27, 1, fill);
}

// The hand: a pointing finger whose tip, at (6, 2), is the hot spot.
void PaintHand(CxDrawSurface& s)
{
    StartKeyed(s, kSize, kSize, 24);
    const uint32_t outline = Colour(s, 90, 50, 20);
    const uint32_t skin = Colour(s, 255, 214, 170);
    // Outline first: the finger, the fist, the cuff.
    FillRect(s, 3, 1, 10, 18, outline);
    s.FillCircle(6, 4, 4, outline);
    FillRect(s, 3, 12, 26, 27, outline);
    s.FillCircle(25, 15, 4, outline);
    FillRect(s, 5, 26, 24, 31, Colour(s, 40, 90, 200));
    // Then the skin inside it.
    FillRect(s, 5, 3, 8, 17, skin);
    s.FillCircle(6, 4, 2, skin);
    FillRect(s, 5, 14, 24, 25, skin);
    for (int32_t x : {12, 17, 22}) // the knuckles
        FillRect(s, x, 14, x, 19, outline);
    FillRect(s, 7, 27, 22, 30, Colour(s, 70, 130, 235));
}

const ST_DEMO_PICTURE kPictures[] = {
    {"common/cursor_arrow.tga", &PaintArrow, kSize, kSize, 24},
    {"common/cursor_hand.tga", &PaintHand, kSize, kSize, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> CursorPictures()
{
    return kPictures;
}
