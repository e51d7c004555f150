// The yes and no buttons every yes/no dialog shows (quit, printer, codes,
// deleting a player, the level boards): a green tick and a red cross, in the
// five looks of a button's states (32-bit, with soft see-through edges).
#include "tools/painter/BoardButtons.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kButton = 80;

// A round button face with soft edges; `tick` picks the tick or the cross drawn on it.
void PaintRoundButtons(CxDrawSurface& s, uint8_t red, uint8_t green, uint8_t blue, bool tick)
{
    s.Create(kButton * 5, kButton, 32);
    FillRect(s, 0, 0, kButton * 5 - 1, kButton - 1, 0);
    for (int frame = 0; frame < kButtonStates; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        const double cx = frame * kButton + kButton / 2.0, cy = kButton / 2.0 + look.sink;
        auto lift = [&](int v) { return look.grey ? uint8_t{150} : Lift(v, look.light); };
        for (int32_t y = 0; y < kButton; ++y) {
            for (int32_t x = 0; x < kButton; ++x) {
                const double dx = frame * kButton + x + 0.5 - cx, dy = y + 0.5 - cy;
                const double r = std::hypot(dx, dy);
                const double alpha = std::clamp(34.5 - r, 0.0, 1.0);
                if (alpha <= 0)
                    continue;
                const int shine = r < 30 && dy < -8 ? 30 : 0;
                s.SetPixel(frame * kButton + x, y,
                           Argb(static_cast<uint8_t>(alpha * 255), lift(red + shine), lift(green + shine), lift(blue + shine)));
            }
        }
        const uint32_t white = Argb(255, 255, 255, 255);
        const int32_t x0 = frame * kButton + kButton / 2, y0 = kButton / 2 + look.sink;
        if (tick) {
            ThickLine(s, x0 - 16, y0, x0 - 4, y0 + 12, 4, white);
            ThickLine(s, x0 - 4, y0 + 12, x0 + 17, y0 - 13, 4, white);
        } else {
            ThickLine(s, x0 - 13, y0 - 13, x0 + 13, y0 + 13, 4, white);
            ThickLine(s, x0 + 13, y0 - 13, x0 - 13, y0 + 13, 4, white);
        }
    }
}

void PaintYes(CxDrawSurface& s)
{
    PaintRoundButtons(s, 60, 170, 70, true);
}

void PaintNo(CxDrawSurface& s)
{
    PaintRoundButtons(s, 210, 60, 50, false);
}

const ST_DEMO_PICTURE kPictures[] = {
    // five 80 x 80 frames each, 32-bit with alpha
    {"title/button_yes.tga", &PaintYes, kButton * 5, kButton, 32},
    {"title/button_no.tga", &PaintNo, kButton * 5, kButton, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> YesNoButtonPictures()
{
    return kPictures;
}
