// The quiz's pictures: a classroom wall with a green board where the
// question is written, four big answer panels (one colour each, five
// frames for the button states), a big green tick for a right answer and a
// gentle red cross for a wrong one.
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PaintKit.h"

#include <span>

namespace {

constexpr int32_t kPanelWidth = 600;
constexpr int32_t kPanelHeight = 90;
constexpr int32_t kMarkSize = 260;
constexpr int32_t kCorner = 22; // the panels' rounded corners

void PaintClassroom(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    // A warm wall with a skirting board, so the white letters on the
    // panels and the board stand out against everything around them.
    FillRect(s, 0, 0, 799, 599, Colour(s, 120, 170, 210));
    for (int32_t y = 0; y < 600; y += 60)
        FillRect(s, 0, y, 799, y + 29, Colour(s, 110, 160, 200));
    FillRect(s, 0, 575, 799, 599, Colour(s, 150, 100, 60));
    // The board: a wooden frame round dark green, where the question goes.
    FillRect(s, 80, 14, 720, 166, Colour(s, 150, 100, 55));
    FillRect(s, 90, 24, 710, 156, Colour(s, 40, 100, 60));
    FillRect(s, 300, 158, 500, 164, Colour(s, 230, 230, 220)); // the chalk ledge
    // The score's little sign, top right.
    FillRect(s, 697, 172, 795, 212, Colour(s, 150, 100, 55));
    FillRect(s, 701, 176, 791, 208, Colour(s, 70, 60, 110));
}

// A panel with rounded corners in `red, green, blue`, lit per state.
void PaintPanelStrip(CxDrawSurface& s, uint8_t red, uint8_t green, uint8_t blue)
{
    StartKeyed(s, kPanelWidth * kButtonStates, kPanelHeight, 24);
    for (int frame = 0; frame < kButtonStates; ++frame) {
        const ST_BUTTON_LOOK& look = kButtonLooks[frame];
        const int32_t x0 = frame * kPanelWidth;
        const int32_t sink = look.sink;
        const uint8_t r = look.grey ? 140 : Lift(red, look.light);
        const uint8_t g = look.grey ? 140 : Lift(green, look.light);
        const uint8_t b = look.grey ? 140 : Lift(blue, look.light);
        const auto rounded = [&](int32_t inset, int32_t dy, uint32_t colour) {
            const int32_t left = x0 + inset, right = x0 + kPanelWidth - 1 - inset - 4;
            const int32_t top = inset + dy, bottom = kPanelHeight - 1 - inset - 4 + dy;
            const int32_t c = kCorner - inset;
            FillRect(s, left + c, top, right - c, bottom, colour);
            FillRect(s, left, top + c, right, bottom - c, colour);
            for (int32_t cx : {left + c, right - c})
                for (int32_t cy : {top + c, bottom - c})
                    s.FillCircle(cx, cy, c, colour);
        };
        rounded(0, 4, Colour(s, 40, 40, 60));  // the shadow below
        rounded(0, sink, Colour(s, static_cast<uint8_t>(r / 2), static_cast<uint8_t>(g / 2), static_cast<uint8_t>(b / 2)));
        rounded(4, sink, Colour(s, r, g, b));
        // A shine along the top, as on a toy.
        FillRect(s, x0 + kCorner + 6, 10 + sink, x0 + kPanelWidth - kCorner - 12, 16 + sink,
                 Colour(s, Lift(r, 50), Lift(g, 50), Lift(b, 50)));
    }
}

void PaintPanel0(CxDrawSurface& s) { PaintPanelStrip(s, 210, 70, 70); }
void PaintPanel1(CxDrawSurface& s) { PaintPanelStrip(s, 60, 110, 200); }
void PaintPanel2(CxDrawSurface& s) { PaintPanelStrip(s, 60, 150, 70); }
void PaintPanel3(CxDrawSurface& s) { PaintPanelStrip(s, 200, 120, 30); }

// A mark drawn in thick strokes on a white disc with a coloured ring.
struct ST_STROKE
{
    int32_t x1, y1, x2, y2;
};

void PaintMark(CxDrawSurface& s, uint32_t ring, uint32_t ink, std::span<const ST_STROKE> strokes, int width)
{
    StartKeyed(s, kMarkSize, kMarkSize, 32);
    const int32_t c = kMarkSize / 2;
    s.FillCircle(c, c, c - 4, ring);
    s.FillCircle(c, c, c - 12, Argb(255, 250, 248, 240));
    for (const ST_STROKE& k : strokes)
        ThickLine(s, k.x1, k.y1, k.x2, k.y2, width, ink);
    SoftenEdges(s);
}

// A big green tick.
void PaintTick(CxDrawSurface& s)
{
    constexpr ST_STROKE kTick[] = {{62, 136, 108, 190}, {108, 190, 200, 72}};
    PaintMark(s, Argb(255, 30, 90, 40), Argb(255, 40, 170, 60), kTick, 16);
}

// A soft red cross: "not that one", not a scolding.
void PaintCross(CxDrawSurface& s)
{
    constexpr ST_STROKE kCross[] = {{80, 80, 180, 180}, {180, 80, 80, 180}};
    PaintMark(s, Argb(255, 150, 70, 70), Argb(255, 225, 95, 90), kCross, 14);
}

const ST_DEMO_PICTURE kPictures[] = {
    {"Quiz/quiz_bg.tga", &PaintClassroom, 800, 600, 24},
    {"Quiz/quiz_answer0.tga", &PaintPanel0, kPanelWidth * kButtonStates, kPanelHeight, 24},
    {"Quiz/quiz_answer1.tga", &PaintPanel1, kPanelWidth * kButtonStates, kPanelHeight, 24},
    {"Quiz/quiz_answer2.tga", &PaintPanel2, kPanelWidth * kButtonStates, kPanelHeight, 24},
    {"Quiz/quiz_answer3.tga", &PaintPanel3, kPanelWidth * kButtonStates, kPanelHeight, 24},
    {"Quiz/quiz_right.tga", &PaintTick, kMarkSize, kMarkSize, 32},
    {"Quiz/quiz_wrong.tga", &PaintCross, kMarkSize, kMarkSize, 32},
};

} // namespace

std::span<const ST_DEMO_PICTURE> QuizPictures()
{
    return kPictures;
}
