#pragma once
// The paint room's rules, without pictures or sounds: which sticker set is
// offered and which of its stickers the row of four shows, the crayons and
// the tool in hand, where a stroke puts its dabs and where a sticker lands.
//
// Coordinates here are the canvas's: the screen's less PAINT_CANVAS_ORIGIN.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxSize.h"

#include <array>
#include <cstdint>
#include <functional>

constexpr int PAINT_SET_COUNT = 6;
constexpr std::array<int, PAINT_SET_COUNT> PAINT_STICKER_COUNTS = {36, 31, 18, 23, 18, 24};
// Set 4 holds the speech bubbles (stamping one opens the quote editor),
// set 5 the backgrounds (stamped opaque at the canvas's corner).
constexpr int PAINT_BUBBLE_SET = 4;
constexpr int PAINT_BACKGROUND_SET = 5;
constexpr int PAINT_CRAYON_COUNT = 10;
constexpr int PAINT_NO_CRAYON = -1;

// The row of sticker buttons: four places from x 255, each button followed by
// a gap of 10; a button whose right edge would reach x 550 is not shown.
constexpr int PAINT_ROW_BUTTONS = 4;
constexpr int PAINT_ROW_LEFT = 255;
constexpr int PAINT_ROW_RIGHT = 550;
constexpr int PAINT_ROW_GAP = 10;
constexpr int PAINT_ROW_TOP = 518;

constexpr CxPoint PAINT_CANVAS_ORIGIN{25, 86};
constexpr int32_t PAINT_CANVAS_WIDTH = 750;
constexpr int32_t PAINT_CANVAS_HEIGHT = 400;
// The crayon's dab at every point of a stroke.
constexpr int PAINT_BRUSH_RADIUS = 2;

enum : int
{
    PAINT_TOOL_CRAYON = 0,
    PAINT_TOOL_STICKER = 2,
};

// The cursor ids the room registers.
enum : int
{
    PAINT_CURSOR_CRAYON = 100, // + the crayon, 100 .. 109
    PAINT_CURSOR_HAND = 110,
    PAINT_CURSOR_PAINT = 111,
    PAINT_CURSOR_OVER_STICKER = 112,
    PAINT_CURSOR_HOLD_STICKER = 113,
    PAINT_CURSOR_ERASE = 114,
};

// What the quote editor lets a child type.
constexpr const char* PAINT_QUOTE_CHARACTERS = "abcdefghijklmnopqrstuvwxyz"
                                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                               "0123456789"
                                               " !#$&%'()*,+-./:;<=>?@[\\]^_`{|}~\"";

struct ST_PAINT_RGB
{
    uint8_t red, green, blue;
};

// The crayons in tray order.
constexpr std::array<ST_PAINT_RGB, PAINT_CRAYON_COUNT> PAINT_CRAYONS = {{
    {255, 160, 203}, // pink
    {255, 255, 0},   // yellow
    {255, 160, 0},   // orange
    {255, 0, 0},     // red
    {170, 30, 160},  // purple
    {0, 0, 255},     // blue
    {0, 255, 0},     // green
    {200, 200, 200}, // grey
    {132, 67, 35},   // brown
    {10, 10, 10},    // black
}};

// One place of the sticker row as ShowStickers lays it out.
struct ST_PAINT_ROW_PLACE
{
    int number = -1;     // the sticker; -1 past the set's end
    bool shown = false;  // loaded and fits before PAINT_ROW_RIGHT
    int32_t x = 0;
};

class PaintModel
{
public:
    PaintModel() = default;

    // As on entering: backgrounds offered, no crayon, the crayon tool.
    void Reset();

    // --- the sticker sets and the row ------------------------------------------------------
    // 0 for a set outside 0 .. 5.
    static int StickerCount(int set);
    int GetSet() const { return m_set; }
    int GetFirstShown() const { return m_first; }
    int GetLastShown() const { return m_last; }
    // A set outside 0 .. 5 is refused (false); else the row starts at sticker 0.
    bool ChooseSet(int set);
    // One sticker back or on, when the row is not at that end already.
    bool ScrollBack();
    bool ScrollOn();
    // The row for the current first sticker moved by `shift`: `widthOf`
    // gives a sticker button's width, or a negative value when its picture
    // did not load (it is then not shown and takes no room).
    std::array<ST_PAINT_ROW_PLACE, PAINT_ROW_BUTTONS> LayRow(int shift,
                                                             const std::function<int32_t(int)>& widthOf) const;

    // --- crayons and tools ---------------------------------------------------------------------
    // Black for a crayon outside 0 .. 9.
    static constexpr ST_PAINT_RGB CrayonColour(int crayon)
    {
        return crayon >= 0 && crayon < PAINT_CRAYON_COUNT ? PAINT_CRAYONS[static_cast<size_t>(crayon)]
                                                          : PAINT_CRAYONS.back();
    }
    // The crayon before (PAINT_NO_CRAYON when none was chosen); a crayon
    // outside 0 .. 9 is refused and nothing changes (it answers -2).
    int ChooseCrayon(int crayon);
    int GetCrayon() const { return m_crayon; }
    int GetTool() const { return m_tool; }
    int GetToolCursor() const { return m_toolCursor; }
    // A sticker of the current set in hand.
    void HoldSticker(int number);
    int GetHeldSticker() const { return m_held; }
    // After a stamp the crayon is back in hand, if one was chosen.
    void AfterStamp();

    // --- strokes -------------------------------------------------------------------------------
    void BeginStroke(CxPoint canvasPoint);
    void EndStroke() { m_strokes = 0; }
    int GetStrokeCount() const { return m_strokes; }
    CxPoint GetLastPoint() const { return m_lastPoint; }
    void SetLastPoint(CxPoint point) { m_lastPoint = point; }
    // The dabs of a stroke, in order: the line walk of the engine's DrawLine
    // with the start plotted twice, so max(|dx|, |dy|) + 2 plots, of which
    // only those with x >= 0 and y >= 0 are given (and, as a dab further out
    // cannot touch the canvas, none beyond its right or bottom edge).
    static void WalkStroke(CxPoint from, CxPoint to, const std::function<void(CxPoint)>& dab);
    static int64_t StrokePlotCount(CxPoint from, CxPoint to);

    // --- stickers on the canvas ---------------------------------------------------------------
    // Where a picture of `size` goes: centred on `at`, else at the corner.
    static CxPoint StampOffset(CxPoint at, CxSize size, bool centred);

private:
    int m_set = PAINT_BACKGROUND_SET;
    int m_first = 0;
    int m_last = PAINT_ROW_BUTTONS - 1;
    int m_crayon = PAINT_NO_CRAYON;
    int m_tool = PAINT_TOOL_CRAYON;
    int m_toolCursor = PAINT_CURSOR_CRAYON + PAINT_CRAYON_COUNT - 1;
    int m_held = -1;
    int m_strokes = 0;
    CxPoint m_lastPoint{0, 0};
};
