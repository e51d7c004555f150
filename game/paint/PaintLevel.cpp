#include "game/paint/PaintLevel.h"

#include "PIM/files/CxOptions.h"
#include "game/paint/PaintModel.h"

#include <algorithm>

ST_PAINT_QUOTES ReadPaintQuotes(CxOptions& room)
{
    ST_PAINT_QUOTES quotes;
    const char* s = PAINT_QUOTES_SECTION;
    char font[PAINT_FONT_NAME_MAX + 1];
    room.GetString(s, "QuoteFont", font, "", sizeof font);
    quotes.font = font;

    int x = 0, y = 0;
    room.GetPoint(s, "TextBubbleOffset", &x, &y, 0, 0);
    quotes.bubbleOffset = {std::clamp(x, -PAINT_MAX_OFFSET, PAINT_MAX_OFFSET),
                           std::clamp(y, -PAINT_MAX_OFFSET, PAINT_MAX_OFFSET)};

    const int size = room.GetInt(s, "QuotePointSize", 0);
    quotes.pointSize = size <= 0 ? PAINT_DEFAULT_POINT_SIZE : std::min(size, PAINT_MAX_POINT_SIZE);

    // The editor's picture is made at this size: a hostile one must not ask
    // for more than the canvas it is burnt into.
    int width = 0, height = 0;
    room.GetPoint(s, "QuoteTextSize", &width, &height, 0, 0);
    quotes.textSize = {std::clamp(width, 1, PAINT_CANVAS_WIDTH), std::clamp(height, 1, PAINT_CANVAS_HEIGHT)};

    const int length = room.GetInt(s, "QuoteLength", 0);
    quotes.maxLength = length <= 0 ? PAINT_EDITOR_MAX_LENGTH : std::min(length, PAINT_EDITOR_MAX_LENGTH);
    return quotes;
}
