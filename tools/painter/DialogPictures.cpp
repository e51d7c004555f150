// The level dialogs of every game room: the question panel (quit, printer,
// codes), the start-level board with its ways on, the reward panel, the
// reward icons, the pictures of the items a level unlocks, and the round
// badges of the test room. The tick and the cross are the title's
// (title/button_yes.tga, title/button_no.tga) and the farm way is the home
// button's house (common/button_home.tga), so a child meets the same
// pictures everywhere.
#include "tools/painter/BoardButtons.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A board with round corners of radius `r`, edged in `edge`, filled with `fill`.
void RoundPanel(CxDrawSurface& s, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t r,
                uint32_t edge, uint32_t fill)
{
    for (int pass = 0; pass < 2; ++pass) {
        const int32_t in = pass * 6;
        const uint32_t colour = pass ? fill : edge;
        for (int32_t cx : {left + r, right - r})
            for (int32_t cy : {top + r, bottom - r})
                s.FillCircle(cx, cy, r - in, colour);
        FillRect(s, left + r, top + in, right - r, bottom - in, colour);
        FillRect(s, left + in, top + r, right - in, bottom - r, colour);
    }
}

// A five-pointed star around (cx, cy).
void Star(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t outer, int32_t inner, uint32_t colour)
{
    CxPoint corners[10];
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const int32_t r = i % 2 ? inner : outer;
        corners[i] = CxPoint(cx + static_cast<int32_t>(std::lround(r * std::cos(a))),
                             cy + static_cast<int32_t>(std::lround(r * std::sin(a))));
    }
    FillPolygon(s, corners, 10, colour);
}

// --- backgrounds ------------------------------------------------------------------------------

// A sky-blue panel with a smiling sun in its top-left corner: quit, printer, codes.
void PaintQuestionPanel(CxDrawSurface& s)
{
    StartKeyed(s, 440, 280, 24);
    RoundPanel(s, 0, 0, 439, 279, 30, Colour(s, 40, 90, 150), Colour(s, 150, 205, 245));
    FillRect(s, 12, 230, 427, 267, Colour(s, 110, 190, 90)); // a strip of grass for the buttons
    const uint32_t sun = Colour(s, 255, 214, 60);
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        ThickLine(s, 56, 56, 56 + static_cast<int32_t>(38 * std::cos(a)), 56 + static_cast<int32_t>(38 * std::sin(a)),
                  3, sun);
    }
    s.FillCircle(56, 56, 24, sun);
    s.FillCircle(48, 50, 3, Colour(s, 90, 60, 20));
    s.FillCircle(64, 50, 3, Colour(s, 90, 60, 20));
    for (int i = 0; i <= 10; ++i) // the smile
        s.FillCircle(56 + static_cast<int32_t>(11 * std::cos(kPi * (0.15 + 0.07 * i))),
                     58 + static_cast<int32_t>(9 * std::sin(kPi * (0.15 + 0.07 * i))), 1, Colour(s, 90, 60, 20));
}

// The start-level board: the whole screen, see-through around a big wooden
// board with a green title band, a paper for the level's words and a
// dashed frame where the unlock preview shows.
void PaintStartBoard(CxDrawSurface& s)
{
    StartKeyed(s, 800, 600, 24);
    RoundPanel(s, 100, 110, 700, 575, 36, Colour(s, 110, 70, 40), Colour(s, 205, 155, 95));
    for (int32_t y = 190; y < 560; y += 26)
        FillRect(s, 112, y, 688, y + 1, Colour(s, 186, 138, 82));
    RoundPanel(s, 262, 134, 524, 184, 14, Colour(s, 30, 100, 40), Colour(s, 70, 160, 70)); // title band
    RoundPanel(s, 130, 198, 480, 350, 12, Colour(s, 150, 120, 80), Colour(s, 252, 246, 226)); // paper
    const uint32_t dash = Colour(s, 120, 80, 40);
    for (int32_t t = 0; t < 112; t += 12) { // the preview's frame
        FillRect(s, 489 + t, 250, 494 + t, 252, dash);
        FillRect(s, 489 + t, 360, 494 + t, 362, dash);
        FillRect(s, 489, 250 + t, 491, 255 + t, dash);
        FillRect(s, 599, 250 + t, 601, 255 + t, dash);
    }
    Star(s, 545, 232, 12, 5, Colour(s, 250, 200, 40)); // "something to win" above it
}

// The reward panel: a golden-edged card with stars round the prize.
void PaintRewardPanel(CxDrawSurface& s)
{
    StartKeyed(s, 480, 320, 24);
    RoundPanel(s, 0, 0, 479, 319, 28, Colour(s, 200, 150, 30), Colour(s, 255, 244, 200));
    RoundPanel(s, 40, 70, 180, 210, 16, Colour(s, 230, 190, 90), Colour(s, 255, 255, 240)); // the prize's place
    for (int i = 0; i < 6; ++i)
        Star(s, 30 + i * 84, 30, 12, 5, Colour(s, 250, 190 - i * 10, 40));
}

// --- the ways on -----------------------------------------------------------------------------

// A big wheel of the fair, red and yellow.
void PaintFairFace(CxDrawSurface& f)
{
    const uint32_t frame = Colour(f, 200, 40, 40);
    ThickLine(f, 48, 44, 28, 84, 3, Colour(f, 120, 120, 130)); // the stand
    ThickLine(f, 48, 44, 68, 84, 3, Colour(f, 120, 120, 130));
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        const int32_t x = 48 + static_cast<int32_t>(30 * std::cos(a)), y = 44 + static_cast<int32_t>(30 * std::sin(a));
        ThickLine(f, 48, 44, x, y, 1, frame);
        FillRect(f, x - 5, y - 3, x + 5, y + 5, i % 2 ? Colour(f, 255, 210, 40) : Colour(f, 60, 140, 230));
    }
    for (int i = 0; i < 48; ++i) {
        const double a = i * kPi / 24;
        f.FillCircle(48 + static_cast<int32_t>(30 * std::cos(a)), 44 + static_cast<int32_t>(30 * std::sin(a)), 2, frame);
    }
    f.FillCircle(48, 44, 5, Colour(f, 255, 210, 40));
}

// A pink pig's face.
void PaintPigFace(CxDrawSurface& f)
{
    const uint32_t pink = Colour(f, 246, 160, 180), dark = Colour(f, 200, 100, 130);
    FillTriangle(f, 20, 30, 30, 8, 40, 26, dark); // ears
    FillTriangle(f, 76, 30, 66, 8, 56, 26, dark);
    FillEllipse(f, 48, 50, 34, 30, pink);
    FillEllipse(f, 48, 62, 16, 11, dark); // snout
    FillEllipse(f, 42, 62, 3, 5, Colour(f, 120, 50, 70));
    FillEllipse(f, 54, 62, 3, 5, Colour(f, 120, 50, 70));
    f.FillCircle(36, 40, 4, Colour(f, 40, 30, 30));
    f.FillCircle(60, 40, 4, Colour(f, 40, 30, 30));
}

// A painter's palette with blobs of colour: the activity centre.
void PaintActivityFace(CxDrawSurface& f)
{
    FillEllipse(f, 48, 50, 38, 30, Colour(f, 230, 200, 150));
    f.FillCircle(62, 62, 7, 0); // the thumb hole, see-through
    const uint8_t blobs[][3] = {{230, 50, 50}, {250, 200, 40}, {60, 170, 70}, {60, 120, 230}, {170, 80, 200}};
    for (int i = 0; i < 5; ++i)
        f.FillCircle(24 + i * 12, 36 + (i % 2) * 10, 6, Colour(f, blobs[i][0], blobs[i][1], blobs[i][2]));
}

void PaintFair(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintFairFace);
}

void PaintPigPen(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintPigFace);
}

void PaintActivity(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintActivityFace);
}

// --- rewards and unlocks (32-bit, soft see-through around) ------------------------------------

void StartClear(CxDrawSurface& s, int32_t size)
{
    s.Create(size, size, 32);
    FillRect(s, 0, 0, size - 1, size - 1, 0);
}

// A jigsaw piece: a square with a knob on two sides.
void PaintPuzzleIcon(CxDrawSurface& s)
{
    StartClear(s, 128);
    const uint32_t edge = Argb(255, 30, 80, 160), fill = Argb(255, 80, 150, 240);
    for (int pass = 0; pass < 2; ++pass) {
        const int32_t in = pass * 4;
        const uint32_t c = pass ? fill : edge;
        FillRect(s, 20 + in, 34 + in, 100 - in, 114 - in, c);
        s.FillCircle(60, 26, 16 - in, c);  // the knob on top
        s.FillCircle(108, 74, 16 - in, c); // and on the right
    }
    s.FillCircle(30, 74, 12, 0); // a hollow on the left
}

// A shiny gold star sticker.
void PaintStickerIcon(CxDrawSurface& s)
{
    StartClear(s, 128);
    s.FillCircle(64, 64, 60, Argb(255, 230, 60, 60));
    s.FillCircle(64, 64, 54, Argb(255, 255, 250, 240));
    Star(s, 64, 66, 48, 20, Argb(255, 250, 190, 30));
    Star(s, 58, 56, 14, 6, Argb(255, 255, 240, 170));
}

// The items levels unlock, one picture each.
void PaintUnlockApple(CxDrawSurface& s)
{
    StartClear(s, 96);
    s.FillCircle(38, 56, 28, Argb(255, 220, 40, 40));
    s.FillCircle(58, 56, 28, Argb(255, 220, 40, 40));
    ThickLine(s, 48, 30, 52, 12, 2, Argb(255, 110, 70, 30));
    FillEllipse(s, 64, 18, 12, 6, Argb(255, 70, 170, 60));
}

void PaintUnlockFlower(CxDrawSurface& s)
{
    StartClear(s, 96);
    ThickLine(s, 48, 50, 48, 92, 3, Argb(255, 60, 150, 60));
    for (int i = 0; i < 6; ++i)
        s.FillCircle(48 + static_cast<int32_t>(20 * std::cos(i * kPi / 3)),
                     40 + static_cast<int32_t>(20 * std::sin(i * kPi / 3)), 13, Argb(255, 240, 120, 190));
    s.FillCircle(48, 40, 11, Argb(255, 255, 210, 40));
}

void PaintUnlockHat(CxDrawSurface& s)
{
    StartClear(s, 96);
    FillEllipse(s, 48, 66, 44, 12, Argb(255, 230, 200, 90));
    FillEllipse(s, 48, 48, 24, 22, Argb(255, 236, 206, 96));
    FillRect(s, 25, 52, 71, 60, Argb(255, 40, 110, 200));
}

void PaintUnlockBell(CxDrawSurface& s)
{
    StartClear(s, 96);
    const CxPoint bell[] = {{30, 70}, {34, 34}, {48, 20}, {62, 34}, {66, 70}, {76, 78}, {20, 78}};
    FillPolygon(s, bell, 7, Argb(255, 250, 190, 40));
    s.FillCircle(48, 84, 7, Argb(255, 180, 120, 30));
    s.FillCircle(48, 16, 5, Argb(255, 180, 120, 30));
}

// Round badges for the levels of a room: one, two, three dots.
template <int Dots>
void PaintRoundBadge(CxDrawSurface& s)
{
    StartClear(s, 64);
    s.FillCircle(32, 32, 30, Argb(255, 60, 130, 60));
    s.FillCircle(32, 32, 25, Argb(255, 250, 245, 210));
    for (int i = 0; i < Dots; ++i)
        s.FillCircle(32 + (i - (Dots - 1) / 2.0) * 14, 32, 6, Argb(255, 220, 70, 40));
}

const ST_DEMO_PICTURE kPictures[] = {
    // 440 x 280 on a magenta key: the yes/no questions and the codes
    {"common/dialog_question.tga", &PaintQuestionPanel, 440, 280, 24},
    // the whole screen, magenta around the board
    {"common/dialog_startlevel.tga", &PaintStartBoard, 800, 600, 24},
    {"common/dialog_reward.tga", &PaintRewardPanel, 480, 320, 24},
    // board buttons: five 96 x 96 frames
    {"common/button_fair.tga", &PaintFair, kBoardSize * kButtonStates, kBoardSize, 24},
    {"common/button_pigpen.tga", &PaintPigPen, kBoardSize * kButtonStates, kBoardSize, 24},
    {"common/button_activity.tga", &PaintActivity, kBoardSize * kButtonStates, kBoardSize, 24},
    // 32-bit with alpha
    {"common/puzzleicon.tga", &PaintPuzzleIcon, 128, 128, 32},
    {"common/stickericon.tga", &PaintStickerIcon, 128, 128, 32},
    {"common/unlock/s00_unlocked0001.tga", &PaintUnlockApple, 96, 96, 32},
    {"common/unlock/s00_unlocked0002.tga", &PaintUnlockFlower, 96, 96, 32},
    {"common/unlock/s00_unlocked0003.tga", &PaintUnlockHat, 96, 96, 32},
    {"common/unlock/s00_unlocked0004.tga", &PaintUnlockBell, 96, 96, 32},
    {"common/levelicons/icon_level00.tga", &PaintRoundBadge<1>, 64, 64, 32},
    {"common/levelicons/icon_level01.tga", &PaintRoundBadge<2>, 64, 64, 32},
    {"common/levelicons/icon_level02.tga", &PaintRoundBadge<3>, 64, 64, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> DialogPictures()
{
    return kPictures;
}
