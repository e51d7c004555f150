// The title room's question dialog: a wooden sign with the farmer's hat on
// it, and its two buttons, a green tick and a red cross, in the five looks
// of a button's states (32-bit, with soft see-through edges).
#include "tools/painter/BoardButtons.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kButton = 80;

void PaintSign(CxDrawSurface& s)
{
    StartKeyed(s, 420, 260, 24);
    const uint32_t edge = Colour(s, 110, 70, 40);
    const uint32_t wood = Colour(s, 196, 146, 90);
    const uint32_t grain = Colour(s, 176, 128, 76);
    // The board, with rounded corners (circles at the corners).
    for (int32_t cx : {24, 395})
        for (int32_t cy : {24, 235})
            s.FillCircle(cx, cy, 24, edge);
    FillRect(s, 24, 0, 395, 259, edge);
    FillRect(s, 0, 24, 419, 235, edge);
    for (int32_t cx : {26, 393})
        for (int32_t cy : {26, 233})
            s.FillCircle(cx, cy, 18, wood);
    FillRect(s, 26, 8, 393, 251, wood);
    FillRect(s, 8, 26, 411, 233, wood);
    for (int32_t y = 30; y < 240; y += 22)
        FillRect(s, 20, y, 399, y + 1, grain);
    // The farmer's hat in the middle of the top half, and a big question mark.
    const uint32_t straw = Colour(s, 236, 204, 96);
    FillEllipse(s, 140, 96, 70, 14, straw);
    FillEllipse(s, 140, 78, 38, 26, straw);
    FillRect(s, 102, 84, 178, 92, Colour(s, 170, 60, 40));
    const uint32_t ink = Colour(s, 90, 50, 30);
    for (int i = 0; i <= 40; ++i) { // the hook of the "?"
        const double a = 3.14159265 * (1.1 - i / 40.0 * 1.6);
        s.FillCircle(290 + static_cast<int32_t>(std::lround(30 * std::cos(a))),
                     70 - static_cast<int32_t>(std::lround(30 * std::sin(a))), 7, ink);
    }
    ThickLine(s, 300, 100, 290, 130, 7, ink);
    s.FillCircle(290, 156, 9, ink);
}

// A round button face with soft edges; `mark` draws the sign on it.
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
    // 420 x 260 on a magenta key: the sign the question dialog shows
    {"title/question.tga", &PaintSign, 420, 260, 24},
    // five 80 x 80 frames each, 32-bit with alpha
    {"title/button_yes.tga", &PaintYes, kButton * 5, kButton, 32},
    {"title/button_no.tga", &PaintNo, kButton * 5, kButton, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> QuestionPictures()
{
    return kPictures;
}
