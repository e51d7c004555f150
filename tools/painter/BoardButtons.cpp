#include "tools/painter/BoardButtons.h"

#include "PIM/graphics/PimPixelFormat.h"

#include <algorithm>
#include <vector>

const ST_BUTTON_LOOK kButtonLooks[kButtonStates] = {
    {0, 0, false}, {-30, 2, false}, {40, 0, false}, {-20, 4, false}, {0, 0, true}};

uint8_t Lift(int value, int light)
{
    return static_cast<uint8_t>(std::clamp(value + light, 0, 255));
}

void PaintBoard(CxDrawSurface& s, int32_t x, int light, bool grey)
{
    const uint8_t r = grey ? 150 : Lift(170, light), g = grey ? 150 : Lift(120, light), b = grey ? 150 : Lift(70, light);
    FillRect(s, x, 0, x + kBoardSize - 1, kBoardSize - 1,
             Colour(s, static_cast<uint8_t>(r * 2 / 3), static_cast<uint8_t>(g * 2 / 3), static_cast<uint8_t>(b * 2 / 3)));
    FillRect(s, x + 3, 3, x + kBoardSize - 4, kBoardSize - 4, Colour(s, r, g, b));
    for (int32_t y = 14; y < kBoardSize - 6; y += 18) // the grain
        FillRect(s, x + 6, y, x + kBoardSize - 7, y,
                 Colour(s, static_cast<uint8_t>(r * 5 / 6), static_cast<uint8_t>(g * 5 / 6),
                        static_cast<uint8_t>(b * 5 / 6)));
    for (int32_t cx : {x + 9, x + kBoardSize - 10}) // nails
        for (int32_t cy : {9, kBoardSize - 10})
            s.FillCircle(cx, cy, 2, Colour(s, 90, 80, 70));
}

namespace {

constexpr int kOutline = 2;     // pixels of dark edge around the face
constexpr int kShadowX = 2;     // where the shadow falls, from the face at rest
constexpr int kShadowY = 3;
constexpr uint8_t kSolid = 128; // face pixels at least this opaque count as face

// The face's colour in a state's look. Disabled faces keep their shapes in
// greys of less contrast, so that a child still sees what the button is but
// also that it does nothing now.
ST_ARGB InLook(ST_ARGB c, const ST_BUTTON_LOOK& look)
{
    if (look.grey) {
        const int luma = (c.red * 30 + c.green * 59 + c.blue * 11) / 100;
        const auto grey = static_cast<uint8_t>(95 + luma * 45 / 100);
        c.red = c.green = c.blue = grey;
        return c;
    }
    c.red = Lift(c.red, look.light);
    c.green = Lift(c.green, look.light);
    c.blue = Lift(c.blue, look.light);
    return c;
}

uint8_t Blend(uint8_t under, uint8_t over, uint8_t alpha)
{
    return static_cast<uint8_t>((under * (255 - alpha) + over * alpha + 127) / 255);
}

// Where the face covers, and its outline: one flag per pixel of a frame.
struct ST_FACE_MASK
{
    std::vector<bool> solid = std::vector<bool>(kBoardSize * kBoardSize, false);
    std::vector<bool> outlined = std::vector<bool>(kBoardSize * kBoardSize, false);

    bool Has(const std::vector<bool>& flags, int32_t x, int32_t y) const
    {
        return x >= 0 && y >= 0 && x < kBoardSize && y < kBoardSize && flags[static_cast<size_t>(y * kBoardSize + x)];
    }
};

ST_FACE_MASK MaskFace(CxDrawSurface& face)
{
    ST_FACE_MASK mask;
    for (int32_t y = 0; y < kBoardSize; ++y)
        for (int32_t x = 0; x < kBoardSize; ++x)
            mask.solid[static_cast<size_t>(y * kBoardSize + x)] =
                SplitPixel(face.GetFormat(), face.GetPixel(x, y)).alpha >= kSolid;
    for (int32_t y = 0; y < kBoardSize; ++y)
        for (int32_t x = 0; x < kBoardSize; ++x) {
            bool near = false;
            for (int dy = -kOutline; dy <= kOutline && !near; ++dy)
                for (int dx = -kOutline; dx <= kOutline && !near; ++dx)
                    near = dx * dx + dy * dy <= kOutline * kOutline + 1 && mask.Has(mask.solid, x + dx, y + dy);
            mask.outlined[static_cast<size_t>(y * kBoardSize + x)] = near;
        }
    return mask;
}

void StampFace(CxDrawSurface& s, int32_t left, CxDrawSurface& face, const ST_FACE_MASK& mask,
               const ST_BUTTON_LOOK& look)
{
    // The edge stays dark when the face lights up: it is what keeps a white
    // sheep apart from a light board.
    const ST_ARGB dark{255, 60, 36, 20};
    const ST_ARGB edge = look.grey ? InLook(dark, look) : dark;
    for (int32_t y = 0; y < kBoardSize; ++y) {
        for (int32_t x = 0; x < kBoardSize; ++x) {
            const int32_t fy = y - look.sink;
            ST_ARGB c = SplitPixel(s.GetFormat(), s.GetPixel(left + x, y));
            if (mask.Has(mask.outlined, x, fy)) {
                c = edge;
                const ST_ARGB paint = InLook(SplitPixel(face.GetFormat(), face.GetPixel(x, fy)), look);
                c.red = Blend(c.red, paint.red, paint.alpha);
                c.green = Blend(c.green, paint.green, paint.alpha);
                c.blue = Blend(c.blue, paint.blue, paint.alpha);
            } else if (mask.Has(mask.outlined, x - kShadowX, y - kShadowY)) {
                c.red = static_cast<uint8_t>(c.red / 2); // the board in the face's shade
                c.green = static_cast<uint8_t>(c.green / 2);
                c.blue = static_cast<uint8_t>(c.blue / 2);
            } else {
                continue;
            }
            s.SetPixel(left + x, y, Colour(s, c.red, c.green, c.blue));
        }
    }
}

} // namespace

void PaintBoardStrip(CxDrawSurface& s, void (*face)(CxDrawSurface& face))
{
    CxDrawSurface picture;
    picture.Create(kBoardSize, kBoardSize, 32);
    FillRect(picture, 0, 0, kBoardSize - 1, kBoardSize - 1, 0);
    face(picture);
    const ST_FACE_MASK mask = MaskFace(picture);
    s.Create(kBoardSize * kButtonStates, kBoardSize, 24);
    for (int frame = 0; frame < kButtonStates; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        PaintBoard(s, frame * kBoardSize, look.light / 2, look.grey);
        StampFace(s, frame * kBoardSize, picture, mask, look);
    }
}
