// The paint room from arbitrary bytes: read as its room file (the quote
// editor's settings), then the rest a run of crayon strokes, sticker
// stamps and quotes on the rules and on a 750 x 400 canvas, as the room
// draws them. Whatever the bytes, the settings stay within the canvas and
// the screen, the row stays in its set and fits between the arrows, a
// stroke gives exactly the dabs its walk counts (none left of or above the
// canvas), and nothing is drawn outside the canvas's memory.
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "fuzz/FuzzPicture.h"
#include "game/paint/PaintLevel.h"
#include "game/paint/PaintModel.h"

#include <algorithm>
#include <cstdlib>

namespace {

uint8_t At(const uint8_t* data, size_t size, size_t i)
{
    return size ? data[i % size] : 0;
}

void CheckQuotes(const ST_PAINT_QUOTES& q)
{
    fuzz::Check(q.textSize.width >= 1 && q.textSize.width <= PAINT_CANVAS_WIDTH);
    fuzz::Check(q.textSize.height >= 1 && q.textSize.height <= PAINT_CANVAS_HEIGHT);
    fuzz::Check(q.pointSize >= 1 && q.pointSize <= PAINT_MAX_POINT_SIZE);
    fuzz::Check(q.maxLength >= 1 && q.maxLength <= PAINT_EDITOR_MAX_LENGTH);
    fuzz::Check(std::abs(q.bubbleOffset.x) <= PAINT_MAX_OFFSET && std::abs(q.bubbleOffset.y) <= PAINT_MAX_OFFSET);
    fuzz::Check(static_cast<size_t>(q.font.Length()) <= PAINT_FONT_NAME_MAX);
}

void CheckRow(const PaintModel& model, const uint8_t* data, size_t size, size_t i)
{
    const int count = PaintModel::StickerCount(model.GetSet());
    fuzz::Check(model.GetFirstShown() >= 0 && model.GetFirstShown() <= model.GetLastShown());
    fuzz::Check(model.GetLastShown() < std::max(count, PAINT_ROW_BUTTONS));
    // Widths from the bytes, some pictures missing (negative).
    const auto row = model.LayRow(0, [&](int number) {
        return static_cast<int32_t>(At(data, size, i + static_cast<size_t>(number))) - 20;
    });
    for (const ST_PAINT_ROW_PLACE& place : row) {
        fuzz::Check(place.number < count);
        if (place.shown)
            fuzz::Check(place.number >= 0 && place.x >= PAINT_ROW_LEFT && place.x < PAINT_ROW_RIGHT);
    }
}

// A stroke as the room draws it; every dab is counted and held to the walk.
void Stroke(CxDrawSurface& canvas, CxPoint from, CxPoint to, uint32_t colour)
{
    int64_t dabs = 0;
    PaintModel::WalkStroke(from, to, [&](CxPoint p) {
        fuzz::Check(p.x >= 0 && p.y >= 0);
        fuzz::Check(p.x <= PAINT_CANVAS_WIDTH + PAINT_BRUSH_RADIUS && p.y <= PAINT_CANVAS_HEIGHT + PAINT_BRUSH_RADIUS);
        ++dabs;
        canvas.FillCircle(p, PAINT_BRUSH_RADIUS, colour);
    });
    fuzz::Check(dabs <= PaintModel::StrokePlotCount(from, to));
}

void Stamp(CxDrawSurface& canvas, CxPoint at, const uint8_t* data, size_t size, size_t i, bool centred)
{
    CxDrawSurface sticker;
    const int w = At(data, size, i) % 120, h = At(data, size, i + 1) % 120;
    if (sticker.Create(w, h, 32) != PIM_OK)
        return;
    sticker.FillRect(sticker.GetRect(), static_cast<uint32_t>(At(data, size, i + 2)) << 24 | 0x00336699u);
    const CxPoint offset = PaintModel::StampOffset(at, sticker.GetSize(), centred);
    const ST_DRAW_PARAMS params{PIM_DRAW_SOURCE_ALPHA, 0, 0, 0, nullptr, nullptr};
    canvas.DrawSurface(&sticker, offset.x, offset.y, nullptr, PIM_NO_KEY, &params);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    CxOptions options;
    fuzz::Check(options.ReadFromBuffer(reinterpret_cast<const char*>(data), size) == PIM_OK);
    const ST_PAINT_QUOTES quotes = ReadPaintQuotes(options);
    CheckQuotes(quotes);

    static CxDrawSurface canvas;
    if (!canvas.GetBits() && canvas.Create(PAINT_CANVAS_WIDTH, PAINT_CANVAS_HEIGHT, 32) != PIM_OK)
        return 0;
    canvas.FillRect(canvas.GetRect(), 0xFFFFFFFFu);
    PaintModel model;
    // Four bytes a step: what to do, and where (reaching well past every
    // edge), at most 200 steps.
    for (size_t i = 0; i + 3 < size && i < 800; i += 4) {
        const CxPoint point{data[i + 1] * 4 - 200 + (data[i + 3] & 3), data[i + 2] * 3 - 150};
        switch (data[i] % 6) {
        case 0:
            model.ChooseCrayon(static_cast<int>(data[i + 1] % 12) - 1);
            break;
        case 1:
            model.BeginStroke(point);
            Stroke(canvas, model.GetLastPoint(), point, 0xFF000000u | PaintModel::CrayonColour(model.GetCrayon()).red);
            model.SetLastPoint(point);
            break;
        case 2:
            Stroke(canvas, model.GetLastPoint(), point, 0xFF102030u);
            model.SetLastPoint(point);
            model.EndStroke();
            break;
        case 3:
            model.ChooseSet(static_cast<int>(data[i + 1] % 8) - 1);
            model.HoldSticker(data[i + 2] % 40);
            break;
        case 4:
            model.SetLastPoint(point);
            Stamp(canvas, point, data, size, i, data[i + 3] & 1);
            model.AfterStamp();
            break;
        default:
            if (data[i + 1] & 1)
                model.ScrollOn();
            else
                model.ScrollBack();
            break;
        }
        CheckRow(model, data, size, i);
    }
    return 0;
}
