// The activity centre's pictures: a bright playroom (wall, window, floor and
// a shelf of toys), a board button for each activity (a jigsaw piece, a
// question mark, a palette, a key for the secret codes) and the spider
// family swaying on their web.
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PaintKit.h"

#include <cmath>

namespace {

void PaintPlayroom(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // The wall, with a band of stripes a child can spot, and the wooden floor.
    FillRect(s, 0, 0, 799, 419, Colour(s, 250, 226, 170));
    for (int32_t x = 0; x < 800; x += 40)
        FillRect(s, x, 160, x + 19, 175, Colour(s, 240, 150, 110));
    FillRect(s, 0, 420, 799, 599, Colour(s, 190, 130, 80));
    for (int32_t y = 440; y < 600; y += 30)
        FillRect(s, 0, y, 799, y + 2, Colour(s, 160, 105, 60));
    // A window onto the farm's sky and hills.
    FillRect(s, 60, 30, 260, 140, Colour(s, 120, 70, 40));
    FillRect(s, 70, 40, 250, 130, Colour(s, 140, 200, 240));
    FillRect(s, 70, 100, 250, 130, Colour(s, 100, 180, 90)); // the hills
    FillRect(s, 60, 140, 260, 150, Colour(s, 120, 70, 40));
    FillRect(s, 157, 40, 163, 130, Colour(s, 120, 70, 40));
    // A shelf of toys on the right: a ball, blocks and a drum.
    FillRect(s, 330, 120, 560, 130, Colour(s, 130, 80, 45));
    s.FillCircle(360, 100, 20, Colour(s, 220, 60, 60));
    FillRect(s, 400, 80, 440, 119, Colour(s, 70, 120, 220));
    FillRect(s, 445, 95, 470, 119, Colour(s, 250, 200, 40));
    FillEllipse(s, 520, 105, 28, 15, Colour(s, 90, 180, 90));
    // A rug under the activities.
    FillEllipse(s, 400, 480, 330, 70, Colour(s, 120, 90, 180));
    FillEllipse(s, 400, 480, 300, 55, Colour(s, 150, 120, 210));
}

void PaintPuzzleFace(CxDrawSurface& f)
{
    const uint32_t blue = Colour(f, 60, 140, 230);
    FillRect(f, 22, 30, 70, 78, blue);
    f.FillCircle(46, 24, 10, blue);      // the knob on top
    f.FillCircle(76, 54, 10, blue);      // the knob on the right
    f.FillCircle(22, 54, 8, Argb(0, 0, 0, 0)); // the hole on the left
}

void PaintQuizFace(CxDrawSurface& f)
{
    // A big question mark, drawn as a thick line through its points.
    const uint32_t red = Colour(f, 220, 60, 60);
    const CxPoint hook[] = {{30, 32}, {36, 20}, {48, 15}, {60, 19}, {66, 30}, {62, 40}, {48, 48}, {48, 62}};
    for (size_t i = 1; i < sizeof hook / sizeof hook[0]; ++i)
        ThickLine(f, hook[i - 1].x, hook[i - 1].y, hook[i].x, hook[i].y, 5, red);
    f.FillCircle(48, 78, 7, red);
}

void PaintPaintFace(CxDrawSurface& f)
{
    FillEllipse(f, 48, 50, 36, 28, Colour(f, 230, 190, 130));
    f.FillCircle(62, 62, 7, Argb(0, 0, 0, 0)); // the thumb hole
    f.FillCircle(30, 40, 7, Colour(f, 220, 50, 50));
    f.FillCircle(48, 32, 7, Colour(f, 250, 210, 40));
    f.FillCircle(66, 40, 7, Colour(f, 60, 150, 230));
    f.FillCircle(32, 60, 7, Colour(f, 70, 180, 80));
}

void PaintCodesFace(CxDrawSurface& f)
{
    const uint32_t gold = Colour(f, 240, 190, 40);
    f.FillCircle(30, 48, 16, gold);
    f.FillCircle(30, 48, 7, Argb(0, 0, 0, 0));
    FillRect(f, 44, 44, 84, 52, gold);
    FillRect(f, 70, 52, 76, 64, gold);
    FillRect(f, 80, 52, 84, 60, gold);
}

void PaintPuzzleButton(CxDrawSurface& s) { PaintBoardStrip(s, &PaintPuzzleFace); }
void PaintQuizButton(CxDrawSurface& s) { PaintBoardStrip(s, &PaintQuizFace); }
void PaintPaintButton(CxDrawSurface& s) { PaintBoardStrip(s, &PaintPaintFace); }
void PaintCodesButton(CxDrawSurface& s) { PaintBoardStrip(s, &PaintCodesFace); }

constexpr int32_t kSpiderCell = 120;

// Four frames of the web with a big spider and two little ones, swaying.
void PaintSpiders(CxDrawSurface& s)
{
    StartKeyed(s, kSpiderCell * 4, kSpiderCell, 24);
    const uint32_t silk = Colour(s, 150, 140, 160);
    const uint32_t body = Colour(s, 60, 40, 80);
    const int sway[4] = {0, 4, 0, -4};
    for (int frame = 0; frame < 4; ++frame) {
        const int32_t x0 = frame * kSpiderCell;
        const int32_t cx = x0 + 60;
        for (int spoke = 0; spoke < 8; ++spoke) {
            const double a = spoke * 3.14159265 / 4.0;
            ThickLine(s, cx, 50, cx + static_cast<int32_t>(std::cos(a) * 55), 50 + static_cast<int32_t>(std::sin(a) * 45),
                      0, silk);
        }
        for (int ring = 15; ring <= 45; ring += 15)
            for (int step = 0; step < 32; ++step) {
                const double a = step * 3.14159265 / 16.0;
                s.SetPixel(cx + static_cast<int32_t>(std::cos(a) * ring), 50 + static_cast<int32_t>(std::sin(a) * ring * 0.8),
                           silk);
            }
        const int32_t sx = cx + sway[frame];
        for (int leg = -3; leg <= 3; leg += 2) {
            ThickLine(s, sx, 58, sx - 18, 58 + leg * 5, 1, body);
            ThickLine(s, sx, 58, sx + 18, 58 + leg * 5, 1, body);
        }
        s.FillCircle(sx, 58, 11, body);
        s.FillCircle(sx, 45, 7, body);
        s.FillCircle(sx - 3, 43, 2, Colour(s, 255, 255, 255));
        s.FillCircle(sx + 3, 43, 2, Colour(s, 255, 255, 255));
        s.FillCircle(cx - 30 - sway[frame], 90, 5, Colour(s, 150, 90, 170));
        s.FillCircle(cx + 30 + sway[frame], 92, 5, Colour(s, 150, 90, 170));
    }
}

const ST_DEMO_PICTURE kPictures[] = {
    {"ActivityCenter/backdrop.tga", &PaintPlayroom, 800, 600, 24},
    {"ActivityCenter/button_puzzle.tga", &PaintPuzzleButton, kBoardSize * kButtonStates, kBoardSize, 24},
    {"ActivityCenter/button_quiz.tga", &PaintQuizButton, kBoardSize * kButtonStates, kBoardSize, 24},
    {"ActivityCenter/button_paint.tga", &PaintPaintButton, kBoardSize * kButtonStates, kBoardSize, 24},
    {"ActivityCenter/button_codes.tga", &PaintCodesButton, kBoardSize * kButtonStates, kBoardSize, 24},
    {"ActivityCenter/spiders.tga", &PaintSpiders, kSpiderCell * 4, kSpiderCell, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> ActivityCenterPictures()
{
    return kPictures;
}
