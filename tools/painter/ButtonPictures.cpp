// The title room's buttons, one strip of frames each. A five-frame strip
// holds the looks of the five button states (see BoardButtons.h); any other
// strip is an animation that the button plays from frame 1 while it is
// pointed at or pressed. The 24-bit buttons are painted on wooden boards that
// fill their frames; the 32-bit star has soft see-through edges of its own.
#include "tools/painter/BoardButtons.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kSize = kBoardSize;
constexpr double kPi = 3.14159265358979323846;

// "Play": a green disc with a white arrow pointing right, on its board.
void PaintPlay(CxDrawSurface& s)
{
    s.Create(kSize * 5, kSize, 24);
    for (int frame = 0; frame < 5; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        PaintBoard(s, frame * kSize, look.light / 2, look.grey);
        const int32_t cx = frame * kSize + kSize / 2, cy = kSize / 2 + look.sink;
        const uint8_t g = look.grey ? 150 : Lift(180, look.light);
        const uint8_t r = look.grey ? 150 : Lift(60, look.light);
        s.FillCircle(cx, cy + 3, 36, Colour(s, 60, 40, 20)); // shadow
        s.FillCircle(cx, cy, 36, Colour(s, r, g, look.grey ? 150 : Lift(70, look.light)));
        s.FillCircle(cx - 9, cy - 10, 15, Colour(s, Lift(r, 40), Lift(g, 40), Lift(look.grey ? 150 : 70, 40)));
        FillTriangle(s, cx - 10, cy - 19, cx - 10, cy + 19, cx + 21, cy, Colour(s, 255, 255, 255));
    }
}

// "Sun": eight frames on a board, the rays turning a little further each frame.
void PaintSun(CxDrawSurface& s)
{
    s.Create(kSize * 8, kSize, 24);
    for (int frame = 0; frame < 8; ++frame) {
        PaintBoard(s, frame * kSize, frame == 0 ? 0 : 25, false);
        const int32_t cx = frame * kSize + kSize / 2, cy = kSize / 2;
        const double turn = frame * kPi / 32;
        for (int ray = 0; ray < 12; ++ray) {
            const double a = turn + ray * kPi / 6;
            ThickLine(s, cx + static_cast<int32_t>(std::lround(24 * std::cos(a))),
                      cy + static_cast<int32_t>(std::lround(24 * std::sin(a))),
                      cx + static_cast<int32_t>(std::lround(38 * std::cos(a))),
                      cy + static_cast<int32_t>(std::lround(38 * std::sin(a))), 3, Colour(s, 255, 170, 30));
        }
        s.FillCircle(cx, cy, 23, Colour(s, 255, 214, 60));
        s.FillCircle(cx - 8, cy - 4, 4, Colour(s, 90, 50, 0)); // a smiling face
        s.FillCircle(cx + 8, cy - 4, 4, Colour(s, 90, 50, 0));
        for (int i = -8; i <= 8; ++i)
            s.SetPixel(cx + i, cy + 8 + (64 - i * i) / 16, Colour(s, 90, 50, 0));
    }
}

// "Credits": a gold star with soft edges, 32-bit with alpha.
void PaintStar(CxDrawSurface& s)
{
    s.Create(kSize * 5, kSize, 32);
    FillRect(s, 0, 0, kSize * 5 - 1, kSize - 1, 0);
    for (int frame = 0; frame < 5; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        const double cx = frame * kSize + kSize / 2.0, cy = kSize / 2.0 + look.sink;
        for (int32_t y = 0; y < kSize; ++y) {
            for (int32_t x = 0; x < kSize; ++x) {
                const double dx = frame * kSize + x + 0.5 - cx, dy = y + 0.5 - cy;
                const double r = std::hypot(dx, dy);
                const double a = std::atan2(dy, dx) + kPi / 2;
                // Five points: the radius of the outline swings with the angle.
                const double edge = 24 + 18 * std::pow(std::fabs(std::cos(a * 2.5)), 3);
                const double alpha = std::clamp(edge - r + 0.5, 0.0, 1.0);
                if (alpha <= 0)
                    continue;
                const int shade = static_cast<int>(40 * (1 - r / edge));
                const uint8_t red = look.grey ? 170 : Lift(250, look.light / 2);
                const uint8_t green = look.grey ? 170 : Lift(190 + shade, look.light);
                const uint8_t blue = look.grey ? 170 : Lift(40 + shade, look.light);
                s.SetPixel(frame * kSize + x, y, Argb(static_cast<uint8_t>(alpha * 255), red, green, blue));
            }
        }
    }
}

const ST_DEMO_PICTURE kPictures[] = {
    // five 96 x 96 frames, 24-bit: one look per button state
    {"title/button_play.tga", &PaintPlay, kSize * 5, kSize, 24},
    // eight frames: the rays turn while the button is pointed at
    {"title/button_sun.tga", &PaintSun, kSize * 8, kSize, 24},
    // five frames, 32-bit with alpha: the credits star
    {"title/button_credits.tga", &PaintStar, kSize * 5, kSize, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> ButtonPictures()
{
    return kPictures;
}
