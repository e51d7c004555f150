#include "tools/painter/BadgeLooks.h"

#include "tools/painter/BoardButtons.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

uint32_t BadgeInk::operator()(int r, int g, int b) const
{
    if (look == kBadgeLocked) {
        const int grey = (r * 3 + g * 5 + b * 2) / 10 / 2 + 90;
        return Colour(s, static_cast<uint8_t>(grey), static_cast<uint8_t>(grey), static_cast<uint8_t>(grey));
    }
    if (look == kBadgeHighlighted)
        return Colour(s, Lift(r, 30), Lift(g, 30), Lift(b, 30));
    return Colour(s, static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
}

void PaintBadgeBack(CxDrawSurface& s, EBadgeLook look, const int (&back)[3])
{
    s.Create(kBadge, kBadge, 32);
    FillRect(s, 0, 0, kBadge - 1, kBadge - 1, Argb(0, 0, 0, 0));
    const int32_t c = kBadge / 2;
    const BadgeInk ink{s, look};
    if (look == kBadgeHighlighted)
        s.FillCircle(c, c, c - 1, Colour(s, 255, 236, 80));
    s.FillCircle(c, c, c - 5, Colour(s, 50, 40, 30));
    s.FillCircle(c, c, c - 8, ink(back[0], back[1], back[2]));
}

void PaintPadlock(CxDrawSurface& s)
{
    const int32_t c = kBadge / 2;
    const uint32_t dark = Colour(s, 40, 34, 30);
    const uint32_t gold = Colour(s, 250, 196, 40);
    // The shackle: a thick arch above the body.
    for (int32_t r = 13; r <= 19; ++r)
        for (int step = 0; step <= 32; ++step) {
            const double a = kPi + step * kPi / 32;
            s.FillCircle(c + static_cast<int32_t>(r * std::cos(a)), 58 + static_cast<int32_t>(r * std::sin(a)), 1,
                         r == 13 || r == 19 ? dark : Colour(s, 200, 200, 210));
        }
    FillRect(s, c - 26, 54, c + 26, 92, dark);
    FillRect(s, c - 23, 57, c + 23, 89, gold);
    s.FillCircle(c, 69, 6, dark);
    FillRect(s, c - 2, 70, c + 2, 82, dark);
}
