#pragma once
// The paint room's own keys, section "QuotesMenu" of its room file: how the
// quote editor of a speech bubble looks.
//
//     [QuotesMenu]
//     QuoteFont=common/pakenham.ttf  ; the editor's font; none: the game font
//     TextBubbleOffset=30, 20        ; the editor's corner from a bubble's corner
//     QuotePointSize=20              ; 0 or less: 20
//     QuoteTextSize=200, 60          ; the editor's width and height
//     QuoteLength=40                 ; the most characters; 0 or less: no limit of its own
//
// Everything is checked here: the size is what the editor's picture is made
// at, so it is held within the canvas (and at least 1 x 1); the offset and
// the point size stay within reach of the screen.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/CxString.h"

class CxOptions;

constexpr const char* PAINT_QUOTES_SECTION = "QuotesMenu";
constexpr int PAINT_DEFAULT_POINT_SIZE = 20;
constexpr int PAINT_MAX_POINT_SIZE = 200;
constexpr int32_t PAINT_MAX_OFFSET = 2000;
// The editor's own limit, kept when the room file gives none.
constexpr int PAINT_EDITOR_MAX_LENGTH = 0x7FFF;
constexpr size_t PAINT_FONT_NAME_MAX = 255;

struct ST_PAINT_QUOTES
{
    CxString font;                       // "" for the game font
    CxPoint bubbleOffset{0, 0};
    int pointSize = PAINT_DEFAULT_POINT_SIZE;
    CxSize textSize{1, 1};
    int maxLength = PAINT_EDITOR_MAX_LENGTH;
};

ST_PAINT_QUOTES ReadPaintQuotes(CxOptions& room);
