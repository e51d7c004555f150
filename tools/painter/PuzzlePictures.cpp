// The jigsaw room's pictures: a wooden table with the empty frame the
// pieces go into (480 x 360 at (105, 123), where the room assembles them),
// the three farm pictures to cut (the red barn, the pig pen, the duck pond:
// big bright shapes a child knows at a glance, so a half-done puzzle still
// says what it will be), and the two arrow buttons on boards.
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PaintKit.h"

namespace {

constexpr int32_t kPictureW = 480;
constexpr int32_t kPictureH = 360;
constexpr int32_t kFrameX = 105;
constexpr int32_t kFrameY = 123;

void PaintTable(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // Planks of a warm wooden table, with their joins.
    FillRect(s, 0, 0, 799, 599, Colour(s, 196, 140, 86));
    for (int32_t y = 0; y < 600; y += 75) {
        FillRect(s, 0, y, 799, y + 2, Colour(s, 150, 100, 56));
        for (int32_t x = (y / 75) % 2 ? 120 : 380; x < 800; x += 520)
            FillRect(s, x, y, x + 2, y + 74, Colour(s, 150, 100, 56));
    }
    // The puzzle's tray: a raised rim round a paler board, the picture's
    // place, so the pieces clearly have somewhere to go.
    FillRect(s, kFrameX - 14, kFrameY - 14, kFrameX + kPictureW + 13, kFrameY + kPictureH + 13, Colour(s, 110, 70, 40));
    FillRect(s, kFrameX - 8, kFrameY - 8, kFrameX + kPictureW + 7, kFrameY + kPictureH + 7, Colour(s, 140, 92, 52));
    FillRect(s, kFrameX, kFrameY, kFrameX + kPictureW - 1, kFrameY + kPictureH - 1, Colour(s, 238, 222, 190));
    // Faint lines where the nine pieces meet.
    const uint32_t faint = Colour(s, 220, 200, 165);
    for (int i = 1; i < 3; ++i) {
        FillRect(s, kFrameX + i * kPictureW / 3, kFrameY, kFrameX + i * kPictureW / 3 + 1, kFrameY + kPictureH - 1, faint);
        FillRect(s, kFrameX, kFrameY + i * kPictureH / 3, kFrameX + kPictureW - 1, kFrameY + i * kPictureH / 3 + 1, faint);
    }
}

void Sky(CxDrawSurface& s, int32_t horizon)
{
    s.Create(kPictureW, kPictureH, 24);
    FillRect(s, 0, 0, kPictureW - 1, horizon - 1, Colour(s, 140, 205, 250));
    FillRect(s, 0, horizon, kPictureW - 1, kPictureH - 1, Colour(s, 110, 190, 80));
    s.FillCircle(410, 60, 34, Colour(s, 255, 220, 60)); // the sun
    const uint32_t cloud = Colour(s, 255, 255, 255);
    FillEllipse(s, 90, 55, 42, 18, cloud);
    FillEllipse(s, 125, 45, 30, 16, cloud);
}

// The red barn with its white cross doors and a hay loft.
void PaintBarn(CxDrawSurface& s)
{
    Sky(s, 250);
    const uint32_t red = Colour(s, 210, 40, 40), white = Colour(s, 250, 250, 245);
    FillRect(s, 130, 150, 350, 320, red);
    const CxPoint roof[] = {{110, 155}, {240, 60}, {370, 155}};
    FillPolygon(s, roof, 3, Colour(s, 120, 60, 50));
    FillRect(s, 200, 220, 280, 320, white);
    FillRect(s, 206, 226, 274, 320, Colour(s, 170, 30, 30));
    ThickLine(s, 206, 226, 274, 318, 3, white);
    ThickLine(s, 274, 226, 206, 318, 3, white);
    FillRect(s, 215, 110, 265, 150, white);                 // the loft
    FillRect(s, 221, 116, 259, 150, Colour(s, 245, 205, 80)); // its hay
    // A yellow haystack beside it.
    FillEllipse(s, 410, 300, 45, 35, Colour(s, 240, 200, 70));
}

// The pig pen: a fence, the mud and a big pink pig.
void PaintPigPen(CxDrawSurface& s)
{
    Sky(s, 200);
    FillEllipse(s, 240, 290, 190, 50, Colour(s, 140, 95, 55)); // the mud
    const uint32_t pink = Colour(s, 250, 160, 180), dark = Colour(s, 60, 30, 40);
    FillEllipse(s, 230, 250, 95, 60, pink);         // the body
    s.FillCircle(325, 225, 45, pink);               // the head
    FillEllipse(s, 360, 235, 18, 14, Colour(s, 235, 120, 150)); // the snout
    s.FillCircle(355, 233, 3, dark);
    s.FillCircle(366, 233, 3, dark);
    s.FillCircle(330, 210, 5, dark);                // the eye
    FillTriangle(s, 300, 190, 315, 165, 328, 188, pink); // the ear
    for (int32_t x : {170, 200, 260, 290})
        FillRect(s, x, 290, x + 16, 330, pink);     // the legs
    ThickLine(s, 135, 240, 122, 228, 3, pink);     // the curly tail
    // The fence along the back.
    const uint32_t wood = Colour(s, 150, 100, 60);
    FillRect(s, 0, 150, kPictureW - 1, 160, wood);
    FillRect(s, 0, 185, kPictureW - 1, 195, wood);
    for (int32_t x = 10; x < kPictureW; x += 60)
        FillRect(s, x, 135, x + 12, 205, wood);
}

// The duck pond: blue water, a mother duck and two ducklings.
void PaintPond(CxDrawSurface& s)
{
    Sky(s, 150);
    FillEllipse(s, 240, 260, 220, 90, Colour(s, 60, 140, 230));
    FillEllipse(s, 240, 260, 200, 75, Colour(s, 80, 160, 240));
    const uint32_t yellow = Colour(s, 255, 220, 40), orange = Colour(s, 250, 140, 30), dark = Colour(s, 30, 30, 30);
    auto duck = [&](int32_t x, int32_t y, int32_t size) {
        FillEllipse(s, x, y, size, size * 6 / 10, yellow);
        s.FillCircle(x + size * 7 / 10, y - size * 7 / 10, size / 2, yellow);
        FillTriangle(s, x + size * 11 / 10, y - size * 8 / 10, x + size * 11 / 10, y - size * 5 / 10,
                     x + size * 16 / 10, y - size * 6 / 10, orange);
        s.FillCircle(x + size * 8 / 10, y - size * 8 / 10, std::max(2, size / 10), dark);
    };
    duck(180, 250, 60);
    duck(300, 290, 30);
    duck(370, 270, 30);
    // Reeds at the water's edge.
    for (int32_t x : {30, 45, 430, 448})
        ThickLine(s, x, 300, x + 5, 210, 2, Colour(s, 40, 120, 50));
}

void PaintArrowFace(CxDrawSurface& f, bool right)
{
    const uint32_t green = Colour(f, 60, 170, 70);
    auto mirror = [right](int32_t x) { return right ? x : 95 - x; };
    FillRect(f, std::min(mirror(20), mirror(52)), 38, std::max(mirror(20), mirror(52)), 58, green);
    FillTriangle(f, mirror(50), 20, mirror(50), 76, mirror(80), 48, green);
}

void PaintPrevButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, [](CxDrawSurface& f) { PaintArrowFace(f, false); });
}

void PaintNextButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, [](CxDrawSurface& f) { PaintArrowFace(f, true); });
}

const ST_DEMO_PICTURE kPictures[] = {
    {"Puzzle/backdrop.tga", &PaintTable, 800, 600, 24},
    {"Puzzle/puzzle_01.tga", &PaintBarn, kPictureW, kPictureH, 24},
    {"Puzzle/puzzle_02.tga", &PaintPigPen, kPictureW, kPictureH, 24},
    {"Puzzle/puzzle_03.tga", &PaintPond, kPictureW, kPictureH, 24},
    {"Puzzle/prevbut.tga", &PaintPrevButton, kBoardSize * kButtonStates, kBoardSize, 24},
    {"Puzzle/nextbut.tga", &PaintNextButton, kBoardSize * kButtonStates, kBoardSize, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> PuzzlePictures()
{
    return kPictures;
}
