#pragma once
// The credits roll without its window: what it is configured with, the
// text cut into lines, the picture the lines are drawn into once, and the
// arithmetic of one scroll step. The credits dialog shows it; the game's
// own credits configure it with settings of their own rather than keys.
//
// The text is outside data. A line ends at a line feed, or after
// `maxLineLength` bytes (the rest starts the next line, never cutting a
// UTF-8 character); carriage returns and zero bytes are dropped and every
// tab becomes four blanks. The lines are cut once, and both the measuring
// and the drawing read those same lines. The picture is bounded: at most
// DAX_CREDITS_MAX_LINES lines, DAX_CREDITS_MAX_WIDTH pixels wide and
// DAX_CREDITS_MAX_PICTURE_BYTES in all; lines past that are left out (and
// traced).

#include "PIM/core/CxArray.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"
#include "PIM/files/CxBuffer.h"

class CxDrawSurface;
class CxFont;
class CxOptions;

constexpr const char* DAX_CREDITS_SECTION = "Credits";
// Every line is this high, plus the spacing.
constexpr int32_t DAX_CREDITS_LINE_HEIGHT = 24;
// Room added to the widest line and below the last one.
constexpr int32_t DAX_CREDITS_EXTRA_WIDTH = 10;
constexpr int32_t DAX_CREDITS_EXTRA_HEIGHT = 100;
constexpr int32_t DAX_CREDITS_MAX_LINE_LENGTH = 254;
constexpr int32_t DAX_CREDITS_MAX_LINES = 2000;
constexpr int32_t DAX_CREDITS_MAX_WIDTH = 4096;
constexpr int64_t DAX_CREDITS_MAX_PICTURE_BYTES = int64_t{128} << 20;
// Bytes of the text file read; more could never fit the picture.
constexpr uint32_t DAX_CREDITS_MAX_FILE_BYTES = 1u << 20;
// Text flags: centred across the picture (0x8 is passed on to the font).
constexpr uint32_t DAX_CREDITS_TEXT_FLAGS = 0x0C;
constexpr uint32_t DAX_CREDITS_TEXT_FLAGS_32 = 0x1000000C;

// What a roll is made of. The defaults are those of the "Credits" keys.
struct ST_CREDITS_SETTINGS
{
    int32_t scrollPixels = 3;   // "ScrollPixelsPerInterval": pixels up per step
    int32_t scrollPeriod = 100; // "ScrollTimeInterval": milliseconds between steps
    int32_t textSpacing = 4;    // "TextSpacing": pixels between lines
    int32_t depth = 16;         // "Depth": of the text picture
    int32_t pointSize = 0;      // "FontPointSize": 0 is the font's own
    uint32_t fontColour = 0xFFFFFFFFu; // "FontColor" as 0x00RRGGBB; none: the font's own
    int32_t maxLineLength = DAX_CREDITS_MAX_LINE_LENGTH;
    CxString background; // "Background": the dialog's picture; empty: a blank screen
    CxString font;       // "Font": empty is the default font
    CxString textFile;   // "TextFile"
    CxString logos[2];   // "Logo1", "Logo2": at the foot of the text
    CxString masks[2];   // "Mask1", "Mask2": pictures over the dialog
    CxPoint maskPositions[2]; // "Mask1Position", "Mask2Position": top-left corners
};

// Where the lines go in the picture.
struct ST_CREDITS_LAYOUT
{
    int32_t width = DAX_CREDITS_EXTRA_WIDTH;
    int32_t height = DAX_CREDITS_EXTRA_HEIGHT;
    int32_t linePitch = DAX_CREDITS_LINE_HEIGHT; // from one line's top to the next one's
    int32_t lineCount = 0;                       // the lines the picture holds
    int32_t widestLine = 0;
    int32_t depth = 16;
};

class CDaxCreditsRoll
{
public:
    CDaxCreditsRoll() = default;
    CDaxCreditsRoll(const CDaxCreditsRoll&) = delete;
    CDaxCreditsRoll& operator=(const CDaxCreditsRoll&) = delete;

    // --- configuration ----------------------------------------------------------------------
    // The keys of `section`, checked (CheckSettings).
    static ST_CREDITS_SETTINGS ReadSettings(CxOptions& options, const char* section = DAX_CREDITS_SECTION);
    // Numbers that would make no roll are put right, each change traced: a
    // step of 0 or less and a period of 0 or less take their defaults,
    // steps above 10,000 pixels and periods above 10 s are cut there; the
    // spacing is kept within -23..1,000 (a line pitch of at least 1); a
    // depth other than 8, 16, 24 or 32 becomes 16; the point size is kept
    // within 0..512; the line length within 1..254.
    static void CheckSettings(ST_CREDITS_SETTINGS& settings);
    // 8, 16, 24 or 32; anything else is 16.
    static int ValidDepth(int depth);

    // --- the text ---------------------------------------------------------------------------
    // Cuts `size` bytes of text into lines (see the top); at most
    // DAX_CREDITS_MAX_LINES. PIM_OK, or 1 when memory runs out (no lines).
    int SetText(const char* text, size_t size, int maxLineLength = DAX_CREDITS_MAX_LINE_LENGTH);
    // Reads at most DAX_CREDITS_MAX_FILE_BYTES of the file through the file
    // systems. A file that cannot be read leaves no lines (the file layer
    // has reported it) and gives its code.
    int LoadText(const char* fileName, int maxLineLength = DAX_CREDITS_MAX_LINE_LENGTH);
    void ClearText();
    int32_t GetLineCount() const { return m_lineCount; }
    // "" for an index outside the lines.
    const char* GetLine(int32_t index) const;
    // Lines the text had past DAX_CREDITS_MAX_LINES, left out.
    int32_t GetLinesCut() const { return m_linesCut; }

    // --- the picture ------------------------------------------------------------------------
    // The picture for lines of `widths` (negative widths count as 0), at
    // `spacing` and `depth` (both put right as CheckSettings does): the
    // widest line + 10 wide (at most DAX_CREDITS_MAX_WIDTH), 24 + spacing
    // per line plus 100 high, with as many lines as the caps allow.
    static ST_CREDITS_LAYOUT ComputeLayout(const int32_t* widths, int32_t count, int32_t spacing, int depth);
    // Every line measured with `font` (null: the default) at `pointSize`, then ComputeLayout.
    ST_CREDITS_LAYOUT Measure(CxFont* font, int pointSize, int32_t spacing, int depth);
    // Draws line i, when not empty, into (0, i x pitch) - (width - 1,
    // i x pitch + 23) of `target`, centred; lines below the target's
    // bottom are not looked at. `colour` 0x00RRGGBB or -1 for the font's own.
    int DrawLines(CxDrawSurface& target, const ST_CREDITS_LAYOUT& layout, CxFont* font, int pointSize,
                  uint32_t colour) const;
    // A new surface of the layout's size and depth, filled (32 bits: with
    // 0; else with red 255, green 0, blue 255, the colour key) and the lines
    // drawn. Null, with error 1 reported, when it cannot be had.
    CxDrawSurface* CreatePicture(const ST_CREDITS_LAYOUT& layout, CxFont* font, int pointSize,
                                 uint32_t colour) const;

    // --- scrolling --------------------------------------------------------------------------
    // The text's top after one step up from `top`: true with `next` while
    // some of the `height` pixels of text are still below the screen's top.
    static bool NextScrollTop(int32_t top, int32_t step, int32_t height, int32_t& next);

private:
    CxBuffer m_text;              // the lines, each ended by a zero byte
    CxArray<uint32_t> m_starts;   // where each line begins in m_text
    CxArray<int32_t> m_widths;    // the measured widths, line by line
    int32_t m_lineCount = 0;
    int32_t m_linesCut = 0;
};
