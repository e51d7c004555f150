// The credits text over arbitrary bytes: cut into lines, measured with the
// built-in font, laid out, and drawn into a small surface at the depth the
// first byte picks. The lines must come out clean (no line breaks, tabs or
// zero bytes, none longer than the limit with its tabs grown) and the
// layout within its caps.
#include "DAX/dialogs/CDaxCreditsRoll.h"
#include "PIM/core/PimTrace.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxFont.h"
#include "fuzz/FuzzPicture.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    if (size < 4)
        return 0;
    static const int depths[] = {8, 16, 24, 32, 12};
    const int depth = depths[data[0] % 5];
    const int maxLineLength = 1 + data[1] % 300; // past the limit too
    const int32_t spacing = static_cast<int8_t>(data[2]) * 8;
    const int pointSize = data[3] % 3 == 0 ? 0 : data[3] % 40;
    const char* text = reinterpret_cast<const char*>(data + 4);
    const size_t length = size - 4;

    CDaxCreditsRoll roll;
    fuzz::Check(roll.SetText(text, length, maxLineLength) == PIM_OK);
    fuzz::Check(roll.GetLineCount() >= 0 && roll.GetLineCount() <= DAX_CREDITS_MAX_LINES);
    const size_t longest = 4 * static_cast<size_t>(maxLineLength < DAX_CREDITS_MAX_LINE_LENGTH
                                                       ? maxLineLength
                                                       : DAX_CREDITS_MAX_LINE_LENGTH);
    for (int32_t i = 0; i < roll.GetLineCount(); ++i) {
        const char* line = roll.GetLine(i);
        fuzz::Check(std::strlen(line) <= longest);
        fuzz::Check(!std::strpbrk(line, "\n\r\t"));
    }

    const ST_CREDITS_LAYOUT layout = roll.Measure(nullptr, pointSize, spacing, depth);
    fuzz::Check(layout.width >= DAX_CREDITS_EXTRA_WIDTH && layout.width <= DAX_CREDITS_MAX_WIDTH);
    fuzz::Check(layout.linePitch >= 1);
    fuzz::Check(layout.lineCount >= 0 && layout.lineCount <= roll.GetLineCount());
    fuzz::Check(layout.height == layout.lineCount * layout.linePitch + DAX_CREDITS_EXTRA_HEIGHT);
    fuzz::Check(int64_t{layout.width} * layout.height * (layout.depth / 8) <= DAX_CREDITS_MAX_PICTURE_BYTES);

    // The drawing pass over the same lines, into a picture small enough to
    // keep the run quick: lines below its bottom are never looked at.
    CxDrawSurface picture;
    fuzz::Check(picture.Create(layout.width < 256 ? layout.width : 256, 96, layout.depth) == PIM_OK);
    picture.FillRect(picture.GetRect(), 0);
    roll.DrawLines(picture, layout, nullptr, pointSize, data[1] & 1 ? 0x00FFFF00 : PIM_NO_COLOUR);
    return 0;
}
