// The fairground's pictures: its two views (from the shared scenery, which
// the scroll movies slide between), the scrolling cursors and the cannon
// game's aim.
#include "tools/painter/FairgroundScenery.h"
#include "tools/painter/PaintKit.h"

#include <algorithm>

namespace {

template <int View>
void PaintView(CxDrawSurface& s)
{
    s.Create(FAIR_SCENE_WIDTH, FAIR_SCENE_HEIGHT, 24);
    for (int32_t y = 0; y < FAIR_SCENE_HEIGHT; ++y)
        for (int32_t x = 0; x < FAIR_SCENE_WIDTH; ++x) {
            const ST_FAIR_RGB c = FairSceneryPixel(View, x, y);
            s.SetPixel(x, y, Colour(s, c.r, c.g, c.b));
        }
}

constexpr int32_t kArrowWidth = 70;
constexpr int32_t kArrowHeight = 23;

// A fat arrow with a dark outline; the room's hot spots are its tip
// ((67, 11) pointing right, (0, 11) pointing left).
void PaintArrow(CxDrawSurface& s, bool right)
{
    StartKeyed(s, kArrowWidth, kArrowHeight, 24);
    const uint32_t edge = Colour(s, 30, 30, 60);
    const uint32_t fill = Colour(s, 255, 230, 60);
    auto x = [right](int32_t at) { return right ? at : kArrowWidth - 1 - at; };
    FillRect(s, std::min(x(2), x(44)), 6, std::max(x(2), x(44)), 16, edge);
    FillTriangle(s, x(40), 0, x(40), 22, x(69), 11, edge);
    FillRect(s, std::min(x(4), x(42)), 8, std::max(x(4), x(42)), 14, fill);
    FillTriangle(s, x(42), 4, x(42), 18, x(62), 11, fill);
}

void PaintRight(CxDrawSurface& s)
{
    PaintArrow(s, true);
}

void PaintLeft(CxDrawSurface& s)
{
    PaintArrow(s, false);
}

// Cross hairs in a ring, hot spot in the middle (17, 17).
void PaintAim(CxDrawSurface& s)
{
    StartKeyed(s, 35, 35, 24);
    const uint32_t red = Colour(s, 220, 30, 30);
    const uint32_t white = Colour(s, 255, 255, 255);
    FillEllipse(s, 17, 17, 16, 16, white);
    FillEllipse(s, 17, 17, 13, 13, red);
    FillEllipse(s, 17, 17, 10, 10, Colour(s, 255, 0, 255));
    FillRect(s, 16, 1, 18, 33, red);
    FillRect(s, 1, 16, 33, 18, red);
    FillRect(s, 17, 13, 17, 21, white);
    FillRect(s, 13, 17, 21, 17, white);
}

const ST_DEMO_PICTURE kPictures[] = {
    {"FairgroundMenu/S04_bg.tga", &PaintView<0>, FAIR_SCENE_WIDTH, FAIR_SCENE_HEIGHT, 24},
    {"FairgroundMenu/S04_bg2.tga", &PaintView<1>, FAIR_SCENE_WIDTH, FAIR_SCENE_HEIGHT, 24},
    {"FairgroundMenu/cursorright.tga", &PaintRight, kArrowWidth, kArrowHeight, 24},
    {"FairgroundMenu/cursorleft.tga", &PaintLeft, kArrowWidth, kArrowHeight, 24},
    {"FairgroundMenu/s04_mg1_aim.tga", &PaintAim, 35, 35, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> FairgroundPictures()
{
    return kPictures;
}
