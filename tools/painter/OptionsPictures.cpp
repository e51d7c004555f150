// The options room's pictures: a fence with two tracks, a music note and a
// speaker at their left ends, two knobs (a red apple for the music, a yellow
// sun for all sounds), the Back button, and the title's button that leads
// here.
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PaintKit.h"

namespace {

// The tracks run from x 250 to 650 at y 200 (music) and 350 (all sounds).
constexpr int32_t kTrackLeft = 250;
constexpr int32_t kTrackRight = 650;
constexpr int32_t kKnob = 48;

void PaintNote(CxDrawSurface& s, int32_t x, int32_t y, uint32_t ink)
{
    s.FillCircle(x, y + 18, 10, ink);
    ThickLine(s, x + 8, y + 18, x + 8, y - 20, 2, ink);
    ThickLine(s, x + 8, y - 20, x + 22, y - 10, 3, ink);
}

void PaintSpeaker(CxDrawSurface& s, int32_t x, int32_t y, uint32_t ink)
{
    FillRect(s, x - 16, y - 8, x - 4, y + 8, ink);
    FillTriangle(s, x - 4, y - 8, x + 12, y - 22, x + 12, y + 8, ink);
    FillTriangle(s, x - 4, y + 8, x + 12, y - 8, x + 12, y + 22, ink);
    // Two sound waves, each a ")" of two strokes.
    for (int32_t r : {8, 16}) {
        ThickLine(s, x + 14 + r, y - r, x + 18 + r, y, 1, ink);
        ThickLine(s, x + 18 + r, y, x + 14 + r, y + r, 1, ink);
    }
}

void PaintOptionsBackdrop(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    for (int32_t y = 0; y < 600; ++y)
        FillRect(s, 0, y, 799, y, Colour(s, static_cast<uint8_t>(120 + y / 8), static_cast<uint8_t>(190 + y / 20), 240));
    FillRect(s, 0, 470, 799, 599, Colour(s, 80, 160, 70));
    const uint32_t wood = Colour(s, 150, 100, 50);
    const uint32_t groove = Colour(s, 70, 40, 20);
    for (int32_t y : {200, 350}) {
        FillRect(s, kTrackLeft - 30, y - 30, kTrackRight + 30, y + 30, wood);
        FillRect(s, kTrackLeft, y - 4, kTrackRight, y + 4, groove);
        // Quiet at the left, loud at the right: the marks grow.
        for (int i = 0; i <= 8; ++i) {
            const int32_t x = kTrackLeft + i * (kTrackRight - kTrackLeft) / 8;
            FillRect(s, x - 1, y + 8, x + 1, y + 10 + i * 2, groove);
        }
    }
    PaintNote(s, 170, 190, Colour(s, 40, 40, 120));
    PaintSpeaker(s, 170, 350, Colour(s, 40, 40, 120));
}

void PaintMusicKnob(CxDrawSurface& s)
{
    StartKeyed(s, kKnob, kKnob, 32);
    s.FillCircle(24, 27, 19, Colour(s, 90, 10, 10));
    s.FillCircle(24, 27, 17, Colour(s, 220, 40, 40));
    s.FillCircle(18, 21, 5, Colour(s, 250, 150, 150));
    ThickLine(s, 24, 10, 28, 2, 1, Colour(s, 90, 60, 20));
    s.FillCircle(32, 6, 3, Colour(s, 60, 160, 50));
}

void PaintMasterKnob(CxDrawSurface& s)
{
    StartKeyed(s, kKnob, kKnob, 32);
    const uint32_t ray = Colour(s, 240, 150, 20);
    for (int i = 0; i < 8; ++i) {
        static const int dx[] = {22, 16, 0, -16, -22, -16, 0, 16};
        static const int dy[] = {0, 16, 22, 16, 0, -16, -22, -16};
        ThickLine(s, 24, 24, 24 + dx[i], 24 + dy[i], 2, ray);
    }
    s.FillCircle(24, 24, 15, Colour(s, 255, 215, 40));
}

// "Back": a big arrow pointing left.
void PaintBackFace(CxDrawSurface& f)
{
    const uint32_t green = Colour(f, 60, 170, 70);
    FillTriangle(f, 12, 48, 46, 16, 46, 80, green);
    FillRect(f, 44, 36, 84, 60, green);
}

// The title's button to this room: a music note and a speaker.
void PaintOptionsFace(CxDrawSurface& f)
{
    PaintNote(f, 20, 44, Colour(f, 40, 40, 140));
    PaintSpeaker(f, 54, 50, Colour(f, 40, 40, 140));
}

void PaintBack(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintBackFace);
}

void PaintOptionsButton(CxDrawSurface& s)
{
    PaintBoardStrip(s, &PaintOptionsFace);
}

const ST_DEMO_PICTURE kPictures[] = {
    {"OptionsMenu/backdrop.tga", &PaintOptionsBackdrop, 800, 600, 24},
    {"OptionsMenu/knob_music.tga", &PaintMusicKnob, kKnob, kKnob, 32},
    {"OptionsMenu/knob_master.tga", &PaintMasterKnob, kKnob, kKnob, 32},
    {"OptionsMenu/button_back.tga", &PaintBack, kBoardSize * kButtonStates, kBoardSize, 24},
    {"title/button_options.tga", &PaintOptionsButton, kBoardSize * kButtonStates, kBoardSize, 24},
};

} // namespace

std::span<const ST_DEMO_PICTURE> OptionsPictures()
{
    return kPictures;
}
