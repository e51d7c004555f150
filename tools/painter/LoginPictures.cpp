// The sign-in room's pictures: a barn wall with a white name board (where
// the typed name goes) above a white list board (the players' names), and
// the Erase and Exit buttons on wooden boards.
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PaintKit.h"

namespace {

// A white board with a dark frame and two nails.
void PaintSignBoard(CxDrawSurface& s, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    FillRect(s, left - 8, top - 8, right + 8, bottom + 8, Colour(s, 90, 55, 25));
    FillRect(s, left, top, right, bottom, Colour(s, 250, 248, 236));
    for (int32_t x : {left - 4, right + 4})
        s.FillCircle(x, top - 4, 2, Colour(s, 200, 200, 200));
}

void PaintLoginBackdrop(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // Red barn planks.
    for (int32_t x = 0; x < 800; x += 40) {
        FillRect(s, x, 0, x + 39, 599, Colour(s, 170, static_cast<uint8_t>(46 + (x / 40) % 3 * 6), 36));
        FillRect(s, x, 0, x + 1, 599, Colour(s, 120, 30, 24));
    }
    FillRect(s, 0, 540, 799, 599, Colour(s, 70, 140, 60)); // grass along the bottom
    PaintSignBoard(s, 205, 84, 487, 115);                 // the name field
    PaintSignBoard(s, 230, 160, 411, 410);                // the list of players
    // A little hen at the board's foot, looking up.
    s.FillCircle(140, 500, 34, Colour(s, 250, 250, 245));
    s.FillCircle(160, 462, 18, Colour(s, 250, 250, 245));
    s.FillCircle(166, 456, 3, Colour(s, 20, 20, 20));
    FillTriangle(s, 176, 460, 190, 466, 176, 470, Colour(s, 250, 180, 40));
    s.FillCircle(158, 442, 7, Colour(s, 220, 40, 40));
}

// "Erase": a pink eraser rubbing out a line.
void PaintEraseFace(CxDrawSurface& f)
{
    ThickLine(f, 14, 74, 82, 74, 3, Colour(f, 60, 60, 60));
    const CxPoint eraser[] = {{26, 58}, {58, 22}, {80, 40}, {48, 76}};
    FillPolygon(f, eraser, 4, Colour(f, 245, 140, 170));
    const CxPoint band[] = {{40, 42}, {50, 31}, {72, 49}, {62, 60}};
    FillPolygon(f, band, 4, Colour(f, 80, 120, 220));
}

// "Exit": an open door with an arrow going out.
void PaintExitFace(CxDrawSurface& f)
{
    FillRect(f, 20, 14, 56, 82, Colour(f, 90, 50, 20));
    FillRect(f, 24, 18, 52, 82, Colour(f, 30, 30, 40));
    const CxPoint door[] = {{24, 18}, {42, 26}, {42, 88}, {24, 82}};
    FillPolygon(f, door, 4, Colour(f, 190, 120, 60));
    ThickLine(f, 50, 50, 80, 50, 4, Colour(f, 230, 40, 40));
    FillTriangle(f, 76, 36, 76, 64, 90, 50, Colour(f, 230, 40, 40));
}

void PaintErase(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintEraseFace);
}

void PaintExit(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintExitFace);
}

const ST_DEMO_PICTURE kPictures[] = {
    {"Login/backdrop.tga", &PaintLoginBackdrop, 800, 600, 24},
    {"Login/button_erase.tga", &PaintErase, kBoardSize * kButtonStates, kBoardSize, 24},
    {"Login/button_exit.tga", &PaintExit, kBoardSize * kButtonStates, kBoardSize, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> LoginPictures()
{
    return kPictures;
}
