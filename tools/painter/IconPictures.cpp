// The program's icon for the desktop: Tobble's round pink face on a grass-
// green badge, painted at four times its size and shrunk, so that its edges
// are smooth at 48 pixels too. Drawn on a 256-unit grid, so every size is
// the same picture. Not demo data: `painter --icons FOLDER` writes them for
// the install (FOLDER/48x48/marrowdale.png, ...).
#include "tools/painter/PaintKit.h"

#include <cmath>

namespace {

constexpr int kSupersample = 4;

// Paints the face on a big surface whose side is `side` (256 units).
void PaintFace(CxDrawSurface& s, int32_t side)
{
    const double u = side / 256.0;
    auto at = [u](double units) { return static_cast<int32_t>(std::lround(units * u)); };
    const uint32_t rim = Colour(s, 255, 255, 255);
    const uint32_t grass = Colour(s, 96, 186, 72);
    const uint32_t pink = Colour(s, 248, 168, 186);
    const uint32_t deep = Colour(s, 226, 112, 142);
    const uint32_t dark = Colour(s, 52, 34, 40);
    const uint32_t white = Colour(s, 255, 255, 255);
    const uint32_t cheek = Colour(s, 252, 128, 158);
    const uint32_t nostril = Colour(s, 150, 60, 86);

    // The badge: a white rim around the grass, so that the face stands out
    // on a dark panel and on a light one alike.
    s.FillCircle(at(128), at(128), at(124), rim);
    s.FillCircle(at(128), at(128), at(114), grass);
    // Ears first, the head then covers their roots.
    FillTriangle(s, at(52), at(92), at(60), at(22), at(112), at(64), deep);
    FillTriangle(s, at(204), at(92), at(196), at(22), at(144), at(64), deep);
    FillEllipse(s, at(128), at(140), at(94), at(86), pink);
    // Big eyes with a shine: the part that must still read at 48 pixels.
    for (double ex : {92.0, 164.0}) {
        FillEllipse(s, at(ex), at(112), at(17), at(20), white);
        s.FillCircle(at(ex + 2), at(116), at(11), dark);
        s.FillCircle(at(ex - 3), at(110), at(4), white);
    }
    s.FillCircle(at(68), at(160), at(13), cheek);
    s.FillCircle(at(188), at(160), at(13), cheek);
    // The snout, wide and low, with its two nostrils.
    FillEllipse(s, at(128), at(166), at(40), at(28), deep);
    FillEllipse(s, at(114), at(166), at(8), at(12), nostril);
    FillEllipse(s, at(142), at(166), at(8), at(12), nostril);
    // A smile under the snout.
    for (int i = 0; i <= 20; ++i) {
        const double a = 3.14159265358979 * (0.15 + 0.7 * i / 20.0);
        s.FillCircle(at(128 + 26 * std::cos(a)), at(190 + 14 * std::sin(a)), at(4), dark);
    }
}

// Each pixel of `out` is the average of its square of `big`, weighted by
// alpha, so a clear outside does not darken the rim.
void Shrink(CxDrawSurface& big, CxDrawSurface& out, int32_t size)
{
    out.Create(size, size, 32);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            uint32_t a = 0, r = 0, g = 0, b = 0;
            for (int32_t dy = 0; dy < kSupersample; ++dy)
                for (int32_t dx = 0; dx < kSupersample; ++dx) {
                    const uint32_t p = big.GetPixel(x * kSupersample + dx, y * kSupersample + dy);
                    const uint32_t alpha = p >> 24;
                    a += alpha;
                    r += ((p >> 16) & 0xFF) * alpha;
                    g += ((p >> 8) & 0xFF) * alpha;
                    b += (p & 0xFF) * alpha;
                }
            const uint32_t samples = kSupersample * kSupersample;
            const uint32_t colour = a == 0 ? 0u
                                           : Argb(static_cast<uint8_t>(a / samples), static_cast<uint8_t>(r / a),
                                                  static_cast<uint8_t>(g / a), static_cast<uint8_t>(b / a));
            out.SetPixel(x, y, colour);
        }
}

void PaintIcon(CxDrawSurface& s, int32_t size)
{
    CxDrawSurface big;
    StartKeyed(big, size * kSupersample, size * kSupersample, 32);
    PaintFace(big, size * kSupersample);
    Shrink(big, s, size);
}

void PaintIcon48(CxDrawSurface& s)
{
    PaintIcon(s, 48);
}

void PaintIcon128(CxDrawSurface& s)
{
    PaintIcon(s, 128);
}

void PaintIcon256(CxDrawSurface& s)
{
    PaintIcon(s, 256);
}

constexpr ST_DEMO_PICTURE kIcons[] = {
    {"48x48/marrowdale.png", &PaintIcon48, 48, 48, 32},
    {"128x128/marrowdale.png", &PaintIcon128, 128, 128, 32},
    {"256x256/marrowdale.png", &PaintIcon256, 256, 256, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> IconPictures()
{
    return kIcons;
}
