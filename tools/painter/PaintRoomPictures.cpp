// The paint room's pictures: its board with the canvas frame, the crayon
// tray and the sticker row; ten crayon buttons, six sticker-set buttons and
// the five tool buttons (five frames each); 150 stickers in six sets with
// a small button each; and the room's fifteen cursors. Many small pictures:
// each is a few shapes, so the whole set paints in a moment.
#include "game/paint/PaintModel.h"
#include "tools/painter/BoardButtons.h"
#include "tools/painter/PaintKit.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kStickerTotal = 36 + 31 + 18 + 23 + 18 + 24;
constexpr int32_t kStickerSize = 80;
constexpr int32_t kBubbleWidth = 220, kBubbleHeight = 130;
constexpr int32_t kThumb = 60;        // sticker buttons: at most 66 wide, so four fit the row
constexpr int32_t kSceneThumbHeight = 32;
constexpr int32_t kCrayonFrameW = 18, kCrayonFrameH = 60;
constexpr int32_t kSetFrame = 64;
constexpr int32_t kToolFrame = 52, kArrowFrame = 44;
constexpr int32_t kCursor = 32;

enum : int
{
    kToolPrint,
    kToolDelete,
    kToolSave,
    kToolPrevious,
    kToolNext,
};

// The sticker of flat index i (sets in order).
std::pair<int, int> StickerOf(int index)
{
    int set = 0;
    while (set < PAINT_SET_COUNT - 1 && index >= PAINT_STICKER_COUNTS[static_cast<size_t>(set)])
        index -= PAINT_STICKER_COUNTS[static_cast<size_t>(set++)];
    return {set, index};
}

struct ST_RGB8
{
    uint8_t r, g, b;
};
constexpr ST_RGB8 kBright[] = {{240, 90, 90},  {250, 170, 60}, {250, 220, 60}, {110, 200, 90},
                               {80, 170, 230}, {170, 110, 220}, {250, 140, 190}, {150, 110, 70}};

uint32_t C(const CxDrawSurface& s, ST_RGB8 c)
{
    return Colour(s, c.r, c.g, c.b);
}

// --- the stickers ----------------------------------------------------------------------------------

void Animal(CxDrawSurface& s, int n)
{
    const int32_t m = kStickerSize / 2;
    const uint32_t dark = Colour(s, 40, 30, 30);
    switch (n % 4) {
    case 0: { // a pig's face
        const uint32_t pink = Colour(s, 250, 170, 190 - (n % 3) * 20);
        FillTriangle(s, 14, 24, 24, 4, 32, 20, pink);
        FillTriangle(s, 66, 24, 56, 4, 48, 20, pink);
        FillEllipse(s, m, m + 4, 30, 28, pink);
        FillEllipse(s, m, m + 14, 12, 8, Colour(s, 230, 120, 150));
        FillEllipse(s, m - 4, m + 14, 2, 3, dark);
        FillEllipse(s, m + 4, m + 14, 2, 3, dark);
        break;
    }
    case 1: { // a chick
        const uint32_t yellow = Colour(s, 250, 220, 60 + (n % 3) * 30);
        FillEllipse(s, m, m + 10, 26, 24, yellow);
        FillEllipse(s, m, m - 16, 16, 16, yellow);
        FillTriangle(s, m + 12, m - 18, m + 24, m - 14, m + 12, m - 10, Colour(s, 250, 140, 30));
        break;
    }
    case 2: { // a sheep
        const uint32_t wool = Colour(s, 245, 245, 240);
        for (int i = 0; i < 6; ++i)
            FillEllipse(s, 18 + i * 9, m + ((i & 1) ? -6 : 4), 14, 14, wool);
        FillEllipse(s, 14, m - 4, 10, 12, Colour(s, 60 + (n % 3) * 30, 50, 50));
        break;
    }
    default: { // a cow's head
        FillEllipse(s, m, m, 28, 30, Colour(s, 250, 250, 250));
        FillEllipse(s, m - 10, m - 8, 10, 8, dark);
        FillEllipse(s, m, m + 18, 18, 10, Colour(s, 240, 170, 170));
        FillTriangle(s, 10, 8, 22, 12, 16, 22, Colour(s, 200, 190, 150));
        FillTriangle(s, 70, 8, 58, 12, 64, 22, Colour(s, 200, 190, 150));
        break;
    }
    }
    const int32_t eyeY = (n % 4 == 1) ? m - 18 : m - 4;
    FillEllipse(s, (n % 4 == 1) ? m + 4 : m - 10, eyeY, 3, 3, dark);
    if (n % 4 != 1)
        FillEllipse(s, m + 10, eyeY, 3, 3, dark);
}

void Flower(CxDrawSurface& s, int n)
{
    const int32_t m = kStickerSize / 2;
    ThickLine(s, m, m, m, kStickerSize - 4, 2, Colour(s, 60, 150, 50));
    FillEllipse(s, m + 10, m + 24, 10, 5, Colour(s, 80, 180, 60));
    const int petals = 5 + n % 3;
    const ST_RGB8 petal = kBright[static_cast<size_t>(n) % std::size(kBright)];
    static constexpr int dx[] = {0, 15, 9, -9, -15, 0, 13, -13};
    static constexpr int dy[] = {-16, -5, 13, 13, -5, 16, 8, 8};
    for (int i = 0; i < petals; ++i)
        FillEllipse(s, m + dx[i] * 2 / 3, m - 8 + dy[i] * 2 / 3, 11, 11, C(s, petal));
    FillEllipse(s, m, m - 8, 8, 8, Colour(s, 250, 210, 50));
}

void Star(CxDrawSurface& s, int n)
{
    const int32_t m = kStickerSize / 2;
    const int32_t r = 34 - (n % 3) * 4;
    const ST_RGB8 colour = kBright[static_cast<size_t>(n + 2) % std::size(kBright)];
    CxPoint corners[10];
    static constexpr double kCos[] = {0, 0.588, 0.951, 0.951, 0.588, 0, -0.588, -0.951, -0.951, -0.588};
    static constexpr double kSin[] = {-1, -0.809, -0.309, 0.309, 0.809, 1, 0.809, 0.309, -0.309, -0.809};
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2) ? r * 0.45 : r;
        // The points: every other corner of the ten around.
        const int k = (i * 1) % 10;
        corners[i] = {m + static_cast<int32_t>(radius * kCos[k]), m + 2 + static_cast<int32_t>(radius * kSin[k])};
    }
    FillPolygon(s, corners, 10, C(s, colour));
    FillEllipse(s, m - 6, m - 2, 3, 3, Colour(s, 40, 30, 30));
    FillEllipse(s, m + 6, m - 2, 3, 3, Colour(s, 40, 30, 30));
}

void Fruit(CxDrawSurface& s, int n)
{
    const int32_t m = kStickerSize / 2;
    switch (n % 4) {
    case 0: // an apple
        FillEllipse(s, m, m + 4, 28, 26, Colour(s, 220 - (n % 3) * 40, 40 + (n % 3) * 70, 40));
        ThickLine(s, m, m - 22, m + 4, m - 30, 2, Colour(s, 110, 70, 30));
        FillEllipse(s, m + 12, m - 26, 8, 4, Colour(s, 80, 180, 60));
        break;
    case 1: // a pear
        FillEllipse(s, m, m + 12, 24, 22, Colour(s, 190, 210, 70));
        FillEllipse(s, m, m - 12, 14, 16, Colour(s, 190, 210, 70));
        ThickLine(s, m, m - 26, m, m - 34, 2, Colour(s, 110, 70, 30));
        break;
    case 2: // cherries
        ThickLine(s, m - 14, m + 10, m, m - 28, 1, Colour(s, 80, 140, 40));
        ThickLine(s, m + 14, m + 10, m, m - 28, 1, Colour(s, 80, 140, 40));
        FillEllipse(s, m - 14, m + 16, 13, 13, Colour(s, 200, 20, 50));
        FillEllipse(s, m + 14, m + 16, 13, 13, Colour(s, 200, 20, 50));
        break;
    default: // an orange
        FillEllipse(s, m, m, 30, 30, Colour(s, 250, 150, 30));
        FillEllipse(s, m - 2, m - 28, 7, 4, Colour(s, 80, 180, 60));
        break;
    }
}

void Bubble(CxDrawSurface& s, int n)
{
    const uint32_t line = Colour(s, 40, 40, 60);
    const int32_t cx = kBubbleWidth / 2, cy = 52;
    const bool left = n % 2 == 0;
    const int32_t tailX = left ? 50 : kBubbleWidth - 50;
    FillTriangle(s, tailX - 14, cy + 30, tailX + 14, cy + 30, left ? 24 : kBubbleWidth - 24, kBubbleHeight - 2, line);
    if (n % 3 == 2) { // a thought: a cloud of rounds
        for (int i = 0; i < 7; ++i)
            FillEllipse(s, 30 + i * 27, cy + ((i & 1) ? -22 : 18), 30, 28, line);
    }
    FillEllipse(s, cx, cy, cx - 2, 50, line);
    const uint32_t fill = n % 4 == 3 ? Colour(s, 255, 250, 200) : Colour(s, 255, 255, 255);
    FillTriangle(s, tailX - 10, cy + 30, tailX + 10, cy + 30, left ? 28 : kBubbleWidth - 28, kBubbleHeight - 8, fill);
    FillEllipse(s, cx, cy, cx - 6, 46, fill);
}

// A farm scene for the whole canvas: sky, hills and one thing of the farm.
void Scene(CxDrawSurface& s, int n)
{
    const int32_t w = PAINT_CANVAS_WIDTH, h = PAINT_CANVAS_HEIGHT;
    const bool night = n % 6 == 5;
    const ST_RGB8 sky = night ? ST_RGB8{30, 40, 90} : ST_RGB8{uint8_t(150 + n % 4 * 15), 210, 250};
    FillRect(s, 0, 0, w - 1, h - 1, C(s, sky));
    const int32_t horizon = 220 + (n % 3) * 30;
    if (night)
        FillEllipse(s, 620, 80, 36, 36, Colour(s, 250, 250, 220));
    else
        FillEllipse(s, 640 - (n % 5) * 90, 70, 40, 40, Colour(s, 255, 220, 60));
    for (int c = 0; c < 2 + n % 3; ++c) // clouds
        FillEllipse(s, 100 + c * 210 + (n * 37) % 80, 60 + (c % 2) * 30, 60, 22, Colour(s, 250, 250, 250));
    FillEllipse(s, 180, horizon + 40, 320, 120, Colour(s, 110, 190, 80));
    FillEllipse(s, 600, horizon + 60, 300, 110, Colour(s, 90, 170, 70));
    FillRect(s, 0, horizon + 60, w - 1, h - 1, Colour(s, 120, 200, 90));
    switch (n % 4) {
    case 0: { // the red barn
        FillRect(s, 470, horizon - 40, 640, horizon + 90, Colour(s, 190, 40, 40));
        FillTriangle(s, 455, horizon - 40, 655, horizon - 40, 555, horizon - 120, Colour(s, 120, 30, 30));
        FillRect(s, 530, horizon + 20, 580, horizon + 90, Colour(s, 250, 240, 220));
        break;
    }
    case 1: // a fence along the meadow
        for (int x = 20; x < w; x += 60)
            FillRect(s, x, horizon + 90, x + 10, horizon + 150, Colour(s, 170, 120, 70));
        FillRect(s, 0, horizon + 105, w - 1, horizon + 113, Colour(s, 170, 120, 70));
        FillRect(s, 0, horizon + 130, w - 1, horizon + 138, Colour(s, 170, 120, 70));
        break;
    case 2: // a tree
        FillRect(s, 140, horizon - 10, 170, horizon + 110, Colour(s, 120, 80, 40));
        FillEllipse(s, 155, horizon - 50, 80, 70, Colour(s, 60, 150, 60));
        break;
    default: // a pond
        FillEllipse(s, 380, horizon + 130, 160, 40, Colour(s, 80, 150, 220));
        break;
    }
    for (int f = 0; f < 12; ++f) // flowers in the grass
        FillEllipse(s, (f * 97 + n * 41) % w, h - 20 - (f * 53) % 90, 4, 4,
                    C(s, kBright[static_cast<size_t>(f + n) % std::size(kBright)]));
}

void PaintStickerOf(CxDrawSurface& s, int set, int n)
{
    if (set == PAINT_BACKGROUND_SET) {
        s.Create(PAINT_CANVAS_WIDTH, PAINT_CANVAS_HEIGHT, 24);
        Scene(s, n);
        return;
    }
    if (set == PAINT_BUBBLE_SET) {
        StartKeyed(s, kBubbleWidth, kBubbleHeight, 32);
        Bubble(s, n);
    } else {
        StartKeyed(s, kStickerSize, kStickerSize, 32);
        void (*const kinds[])(CxDrawSurface&, int) = {&Animal, &Flower, &Star, &Fruit};
        kinds[set](s, n);
    }
    SoftenEdges(s);
}

template <int Index>
void PaintSticker(CxDrawSurface& s)
{
    const auto [set, n] = StickerOf(Index);
    PaintStickerOf(s, set, n);
}

// A bubble shrunk from its sticker keeps only a hair of outline around
// white, which the pale sticker row swallows. Its button is drawn at its
// own size instead: a blue tile, the bubble on it with a bold outline and
// three dots of talk (a thought's little rounds, as on the sticker).
void PaintBubbleButton(CxDrawSurface& s, int n)
{
    StartKeyed(s, kThumb, kThumb, 32);
    const uint32_t tile = Colour(s, 120, 180, 235), line = Colour(s, 30, 40, 80);
    FillEllipse(s, kThumb / 2, kThumb / 2, kThumb / 2 - 1, kThumb / 2 - 1, tile);
    const bool left = n % 2 == 0, thought = n % 3 == 2;
    const int32_t cx = kThumb / 2, cy = 25, rx = 24, ry = 15;
    const int32_t tailX = left ? cx - 10 : cx + 10, tipX = left ? 12 : kThumb - 12;
    const uint32_t fill = n % 4 == 3 ? Colour(s, 255, 250, 200) : Colour(s, 255, 255, 255);
    if (thought) {
        FillEllipse(s, tipX, 52, 4, 4, line);
        FillEllipse(s, tipX, 52, 2, 2, fill);
        FillEllipse(s, (tipX + tailX) / 2, 45, 5, 5, line);
        FillEllipse(s, (tipX + tailX) / 2, 45, 3, 3, fill);
    } else {
        FillTriangle(s, tailX - 7, cy + 8, tailX + 7, cy + 8, tipX, 54, line);
    }
    FillEllipse(s, cx, cy, rx, ry, line);
    FillEllipse(s, cx, cy, rx - 3, ry - 3, fill);
    if (!thought)
        FillTriangle(s, tailX - 4, cy + 8, tailX + 4, cy + 8, tipX + (left ? 3 : -3), 49, fill);
    for (int dot = -1; dot <= 1; ++dot)
        FillEllipse(s, cx + dot * 9, cy, 3, 3, line);
    SoftenEdges(s);
}

template <int Index>
void PaintStickerButton(CxDrawSurface& s)
{
    const auto [set, n] = StickerOf(Index);
    if (set == PAINT_BUBBLE_SET) {
        PaintBubbleButton(s, n);
        return;
    }
    CxDrawSurface full;
    PaintStickerOf(full, set, n);
    const bool scene = set == PAINT_BACKGROUND_SET;
    const int32_t height = scene ? kSceneThumbHeight : kThumb;
    if (scene)
        s.Create(kThumb, height, 24);
    else
        StartKeyed(s, kThumb, height, 32);
    const CxRect to = s.GetRect(), from = full.GetRect();
    const ST_DRAW_PARAMS copy{};
    s.DrawSurface(&full, &to, &from, PIM_NO_KEY, &copy);
    if (scene)
        s.DrawRect(s.GetRect(), Colour(s, 90, 60, 30));
}

// --- buttons -----------------------------------------------------------------------------------------

// A five-frame strip of w x h frames: `face` paints one frame at column x,
// lit by the state's look.
void Strip(CxDrawSurface& s, int32_t w, int32_t h, void (*face)(CxDrawSurface&, int32_t x, int light, int index),
           int index)
{
    StartKeyed(s, w * kButtonStates, h, 32);
    for (int f = 0; f < kButtonStates; ++f)
        face(s, w * f, kButtonLooks[f].grey ? -60 : kButtonLooks[f].light, index);
    SoftenEdges(s);
}

void CrayonFace(CxDrawSurface& s, int32_t x, int light, int crayon)
{
    const ST_PAINT_RGB c = PaintModel::CrayonColour(crayon);
    const uint32_t body = Colour(s, Lift(c.red, light), Lift(c.green, light), Lift(c.blue, light));
    FillTriangle(s, x + 2, 16, x + 15, 16, x + 8, 1, body);
    FillRect(s, x + 2, 16, x + 15, kCrayonFrameH - 1, body);
    FillRect(s, x + 2, 24, x + 15, 28, Colour(s, Lift(250, light), Lift(250, light), Lift(240, light)));
    FillRect(s, x + 2, 48, x + 15, 52, Colour(s, Lift(250, light), Lift(250, light), Lift(240, light)));
}

void SetFace(CxDrawSurface& s, int32_t x, int light, int set)
{
    FillEllipse(s, x + kSetFrame / 2, kSetFrame / 2, 30, 30, Colour(s, Lift(230, light), Lift(200, light), Lift(150, light)));
    FillEllipse(s, x + kSetFrame / 2, kSetFrame / 2, 26, 26, Colour(s, Lift(255, light), Lift(245, light), Lift(220, light)));
    CxDrawSurface icon;
    PaintStickerOf(icon, set, 0);
    CxRect to(x + 12, 12, x + kSetFrame - 13, kSetFrame - 13);
    if (set == PAINT_BACKGROUND_SET || set == PAINT_BUBBLE_SET)
        to = CxRect(x + 8, 18, x + kSetFrame - 9, kSetFrame - 19);
    const CxRect from = icon.GetRect();
    const ST_DRAW_PARAMS blend{PIM_DRAW_SOURCE_ALPHA, 0, 0, 0, nullptr, nullptr};
    s.DrawSurface(&icon, &to, &from, PIM_NO_KEY, set == PAINT_BACKGROUND_SET ? nullptr : &blend);
}

void RoundFace(CxDrawSurface& s, int32_t x, int32_t size, int light)
{
    FillEllipse(s, x + size / 2, size / 2, size / 2 - 1, size / 2 - 1, Colour(s, Lift(60, light), Lift(110, light), Lift(60, light)));
    FillEllipse(s, x + size / 2, size / 2, size / 2 - 4, size / 2 - 4, Colour(s, Lift(120, light), Lift(200, light), Lift(110, light)));
}

void ToolFace(CxDrawSurface& s, int32_t x, int light, int tool)
{
    const bool arrow = tool == kToolPrevious || tool == kToolNext;
    const int32_t size = arrow ? kArrowFrame : kToolFrame;
    RoundFace(s, x, size, light);
    const uint32_t ink = Colour(s, Lift(250, light), Lift(250, light), Lift(250, light));
    const int32_t m = size / 2;
    switch (tool) {
    case kToolPrint:
        FillRect(s, x + 14, 12, x + 37, 22, ink);
        FillRect(s, x + 10, 22, x + 41, 34, Colour(s, 60, 60, 70));
        FillRect(s, x + 14, 30, x + 37, 42, ink);
        break;
    case kToolDelete:
        ThickLine(s, x + 16, 16, x + 35, 35, 3, Colour(s, 220, 50, 50));
        ThickLine(s, x + 35, 16, x + 16, 35, 3, Colour(s, 220, 50, 50));
        break;
    case kToolSave:
        FillRect(s, x + 14, 13, x + 37, 38, Colour(s, 50, 80, 170));
        FillRect(s, x + 19, 13, x + 32, 21, ink);
        FillRect(s, x + 18, 28, x + 33, 38, ink);
        break;
    case kToolPrevious:
        FillTriangle(s, x + m + 8, m - 12, x + m + 8, m + 12, x + m - 12, m, ink);
        break;
    default:
        FillTriangle(s, x + m - 8, m - 12, x + m - 8, m + 12, x + m + 12, m, ink);
        break;
    }
}

template <int Crayon>
void PaintCrayonButton(CxDrawSurface& s)
{
    Strip(s, kCrayonFrameW, kCrayonFrameH, &CrayonFace, Crayon);
}

template <int Set>
void PaintSetButton(CxDrawSurface& s)
{
    Strip(s, kSetFrame, kSetFrame, &SetFace, Set);
}

template <int Tool>
void PaintToolButton(CxDrawSurface& s)
{
    const int32_t size = Tool == kToolPrevious || Tool == kToolNext ? kArrowFrame : kToolFrame;
    Strip(s, size, size, &ToolFace, Tool);
}

// --- cursors (24-bit on the magenta key, the key at pixel 0, 0) ---------------------------------

template <int Crayon>
void PaintCrayonCursor(CxDrawSurface& s)
{
    StartKeyed(s, kCursor, kCursor, 24);
    const ST_PAINT_RGB c = PaintModel::CrayonColour(Crayon);
    // The tip at the hot spot (0, 29), the crayon leaning up to the right.
    ThickLine(s, 8, 21, 26, 3, 4, Colour(s, 30, 30, 30));
    ThickLine(s, 8, 21, 26, 3, 3, Colour(s, c.red, c.green, c.blue));
    FillTriangle(s, 1, 29, 4, 18, 11, 25, Colour(s, c.red, c.green, c.blue));
}

void PaintHandCursor(CxDrawSurface& s)
{
    StartKeyed(s, kCursor, kCursor, 24);
    const uint32_t skin = Colour(s, 250, 220, 190), line = Colour(s, 60, 40, 30);
    FillEllipse(s, 13, 22, 11, 9, line);
    FillRect(s, 3, 1, 9, 20, line);
    FillEllipse(s, 13, 22, 9, 7, skin);
    FillRect(s, 4, 2, 8, 20, skin);
}

void PaintBrushCursor(CxDrawSurface& s)
{
    StartKeyed(s, kCursor, kCursor, 24);
    ThickLine(s, 6, 24, 28, 2, 2, Colour(s, 160, 100, 50));
    FillEllipse(s, 4, 27, 4, 3, Colour(s, 40, 40, 200));
}

void PaintGrab(CxDrawSurface& s, bool closed)
{
    StartKeyed(s, kCursor - 8, kCursor - 8, 24);
    const uint32_t skin = Colour(s, 250, 220, 190), line = Colour(s, 60, 40, 30);
    FillEllipse(s, 12, 13, 10, 9, line);
    FillEllipse(s, 12, 13, 8, 7, skin);
    if (!closed)
        for (int f = 0; f < 4; ++f) {
            FillRect(s, 4 + f * 5, 1, 7 + f * 5, 9, line);
            FillRect(s, 5 + f * 5, 2, 6 + f * 5, 9, skin);
        }
}

void PaintGrabOpen(CxDrawSurface& s)
{
    PaintGrab(s, false);
}

void PaintGrabClosed(CxDrawSurface& s)
{
    PaintGrab(s, true);
}

void PaintEraseCursor(CxDrawSurface& s)
{
    StartKeyed(s, kCursor - 8, kCursor - 8, 24);
    FillRect(s, 2, 6, 21, 17, Colour(s, 60, 40, 30));
    FillRect(s, 3, 7, 20, 16, Colour(s, 250, 160, 180));
    FillRect(s, 3, 7, 8, 16, Colour(s, 80, 120, 220));
}

// --- the room's board --------------------------------------------------------------------------

void PaintBoardPicture(CxDrawSurface& s)
{
    s.Create(800, 600, 24);
    FillRect(s, 0, 0, 799, 599, Colour(s, 250, 226, 170));
    for (int y = 0; y < 600; y += 24) // a soft stripe of wallpaper
        FillRect(s, 0, y, 799, y + 11, Colour(s, 246, 218, 160));
    // The canvas's frame around (25, 86) .. (774, 485).
    FillRect(s, 15, 76, 784, 495, Colour(s, 150, 95, 50));
    FillRect(s, 20, 81, 779, 490, Colour(s, 200, 140, 80));
    FillRect(s, 25, 86, 774, 485, Colour(s, 255, 255, 255));
    // The sticker shelf at the top, where the sets are offered.
    FillRect(s, 110, 8, 590, 82, Colour(s, 230, 190, 130));
    // The crayon tray at the bottom left.
    FillRect(s, 0, 528, 202, 599, Colour(s, 150, 95, 50));
    FillRect(s, 4, 532, 198, 595, Colour(s, 110, 70, 35));
    // The sticker row: a strip from the previous arrow to the next arrow.
    FillRect(s, 204, 510, 592, 590, Colour(s, 200, 140, 80));
    FillRect(s, 208, 514, 588, 586, Colour(s, 255, 248, 230));
}

template <std::size_t... I>
void AddStickers(std::vector<ST_DEMO_PICTURE>& list, std::index_sequence<I...>)
{
    auto size = [](int index, bool button) -> std::array<int32_t, 3> {
        const int set = StickerOf(index).first;
        if (set == PAINT_BACKGROUND_SET)
            return button ? std::array<int32_t, 3>{kThumb, kSceneThumbHeight, 24}
                          : std::array<int32_t, 3>{PAINT_CANVAS_WIDTH, PAINT_CANVAS_HEIGHT, 24};
        if (set == PAINT_BUBBLE_SET)
            return button ? std::array<int32_t, 3>{kThumb, kThumb, 32}
                          : std::array<int32_t, 3>{kBubbleWidth, kBubbleHeight, 32};
        return button ? std::array<int32_t, 3>{kThumb, kThumb, 32} : std::array<int32_t, 3>{kStickerSize, kStickerSize, 32};
    };
    static std::vector<std::string> names;
    names.reserve(2 * sizeof...(I));
    auto add = [&](int index, bool button, void (*paint)(CxDrawSurface&)) {
        const auto [set, n] = StickerOf(index);
        char name[64];
        std::snprintf(name, sizeof name, button ? "art/pr_stickbut%d%02d.tga" : "art/pr_stick%d%02d.tga", set, n);
        names.emplace_back(name);
        const auto s = size(index, button);
        list.push_back({names.back().c_str(), paint, s[0], s[1], s[2]});
    };
    (add(static_cast<int>(I), false, &PaintSticker<static_cast<int>(I)>), ...);
    (add(static_cast<int>(I), true, &PaintStickerButton<static_cast<int>(I)>), ...);
}

std::vector<ST_DEMO_PICTURE> BuildList()
{
    std::vector<ST_DEMO_PICTURE> list = {
        {"art/pt_bg.tga", &PaintBoardPicture, 800, 600, 24},
        {"art/pt_prntbut.tga", &PaintToolButton<kToolPrint>, kToolFrame * 5, kToolFrame, 32},
        {"art/pt_delbut.tga", &PaintToolButton<kToolDelete>, kToolFrame * 5, kToolFrame, 32},
        {"art/pt_savebut.tga", &PaintToolButton<kToolSave>, kToolFrame * 5, kToolFrame, 32},
        {"art/pt_prevbut.tga", &PaintToolButton<kToolPrevious>, kArrowFrame * 5, kArrowFrame, 32},
        {"art/pt_nextbut.tga", &PaintToolButton<kToolNext>, kArrowFrame * 5, kArrowFrame, 32},
        {"art/pt_curhand.tga", &PaintHandCursor, kCursor, kCursor, 24},
        {"art/pt_curpaint.tga", &PaintBrushCursor, kCursor, kCursor, 24},
        {"art/pt_curgrab0.tga", &PaintGrabOpen, kCursor - 8, kCursor - 8, 24},
        {"art/pt_curgrab1.tga", &PaintGrabClosed, kCursor - 8, kCursor - 8, 24},
        {"art/pt_curerase.tga", &PaintEraseCursor, kCursor - 8, kCursor - 8, 24},
    };
    static constexpr const char* kCrayonButtons[] = {
        "art/pt_colrbut0.tga", "art/pt_colrbut1.tga", "art/pt_colrbut2.tga", "art/pt_colrbut3.tga",
        "art/pt_colrbut4.tga", "art/pt_colrbut5.tga", "art/pt_colrbut6.tga", "art/pt_colrbut7.tga",
        "art/pt_colrbut8.tga", "art/pt_colrbut9.tga"};
    static constexpr const char* kCrayonCursors[] = {
        "art/pt_curcolr0.tga", "art/pt_curcolr1.tga", "art/pt_curcolr2.tga", "art/pt_curcolr3.tga",
        "art/pt_curcolr4.tga", "art/pt_curcolr5.tga", "art/pt_curcolr6.tga", "art/pt_curcolr7.tga",
        "art/pt_curcolr8.tga", "art/pt_curcolr9.tga"};
    static constexpr void (*kCrayonPainters[])(CxDrawSurface&) = {
        &PaintCrayonButton<0>, &PaintCrayonButton<1>, &PaintCrayonButton<2>, &PaintCrayonButton<3>,
        &PaintCrayonButton<4>, &PaintCrayonButton<5>, &PaintCrayonButton<6>, &PaintCrayonButton<7>,
        &PaintCrayonButton<8>, &PaintCrayonButton<9>};
    static constexpr void (*kCursorPainters[])(CxDrawSurface&) = {
        &PaintCrayonCursor<0>, &PaintCrayonCursor<1>, &PaintCrayonCursor<2>, &PaintCrayonCursor<3>,
        &PaintCrayonCursor<4>, &PaintCrayonCursor<5>, &PaintCrayonCursor<6>, &PaintCrayonCursor<7>,
        &PaintCrayonCursor<8>, &PaintCrayonCursor<9>};
    for (int i = 0; i < PAINT_CRAYON_COUNT; ++i) {
        list.push_back({kCrayonButtons[i], kCrayonPainters[i], kCrayonFrameW * 5, kCrayonFrameH, 32});
        list.push_back({kCrayonCursors[i], kCursorPainters[i], kCursor, kCursor, 24});
    }
    static constexpr const char* kSetButtons[] = {"art/pt_charbut0.tga", "art/pt_charbut1.tga",
                                                  "art/pt_charbut2.tga", "art/pt_charbut3.tga",
                                                  "art/pt_charbut4.tga", "art/pt_charbut5.tga"};
    static constexpr void (*kSetPainters[])(CxDrawSurface&) = {&PaintSetButton<0>, &PaintSetButton<1>,
                                                               &PaintSetButton<2>, &PaintSetButton<3>,
                                                               &PaintSetButton<4>, &PaintSetButton<5>};
    for (int j = 0; j < PAINT_SET_COUNT; ++j)
        list.push_back({kSetButtons[j], kSetPainters[j], kSetFrame * 5, kSetFrame, 32});
    AddStickers(list, std::make_index_sequence<kStickerTotal>{});
    return list;
}

} // namespace

std::span<const ST_DEMO_PICTURE> PaintRoomPictures()
{
    static const std::vector<ST_DEMO_PICTURE> list = BuildList();
    return list;
}
