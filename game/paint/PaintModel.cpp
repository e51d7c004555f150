#include "game/paint/PaintModel.h"

#include "PIM/graphics/PimLineWalk.h"

#include <algorithm>
#include <cstdlib>

void PaintModel::Reset()
{
    *this = PaintModel();
}

int PaintModel::StickerCount(int set)
{
    return set >= 0 && set < PAINT_SET_COUNT ? PAINT_STICKER_COUNTS[static_cast<size_t>(set)] : 0;
}

bool PaintModel::ChooseSet(int set)
{
    if (set < 0 || set >= PAINT_SET_COUNT)
        return false;
    m_set = set;
    m_first = 0;
    m_last = PAINT_ROW_BUTTONS - 1;
    return true;
}

bool PaintModel::ScrollBack()
{
    if (m_first <= 0)
        return false;
    --m_first;
    --m_last;
    return true;
}

bool PaintModel::ScrollOn()
{
    if (m_last >= StickerCount(m_set) - 1)
        return false;
    ++m_first;
    ++m_last;
    return true;
}

std::array<ST_PAINT_ROW_PLACE, PAINT_ROW_BUTTONS> PaintModel::LayRow(int shift,
                                                                      const std::function<int32_t(int)>& widthOf) const
{
    std::array<ST_PAINT_ROW_PLACE, PAINT_ROW_BUTTONS> row{};
    const int count = StickerCount(m_set);
    int64_t x = PAINT_ROW_LEFT;
    for (int k = 0; k < PAINT_ROW_BUTTONS; ++k) {
        ST_PAINT_ROW_PLACE& place = row[static_cast<size_t>(k)];
        const int number = m_first + k + shift;
        if (number < 0 || number >= count)
            continue;
        place.number = number;
        const int32_t width = widthOf ? widthOf(number) : -1;
        if (width < 0)
            continue;
        place.x = static_cast<int32_t>(x);
        place.shown = x + width < PAINT_ROW_RIGHT;
        x += int64_t{width} + PAINT_ROW_GAP;
    }
    return row;
}

int PaintModel::ChooseCrayon(int crayon)
{
    if (crayon < 0 || crayon >= PAINT_CRAYON_COUNT)
        return -2;
    const int previous = m_crayon;
    m_crayon = crayon;
    m_tool = PAINT_TOOL_CRAYON;
    m_toolCursor = PAINT_CURSOR_CRAYON + crayon;
    return previous;
}

void PaintModel::HoldSticker(int number)
{
    m_tool = PAINT_TOOL_STICKER;
    m_held = number;
    m_toolCursor = PAINT_CURSOR_HOLD_STICKER;
}

void PaintModel::AfterStamp()
{
    if (m_crayon == PAINT_NO_CRAYON)
        return;
    m_tool = PAINT_TOOL_CRAYON;
    m_toolCursor = PAINT_CURSOR_CRAYON + m_crayon;
}

void PaintModel::BeginStroke(CxPoint canvasPoint)
{
    m_lastPoint = canvasPoint;
    ++m_strokes;
}

void PaintModel::WalkStroke(CxPoint from, CxPoint to, const std::function<void(CxPoint)>& dab)
{
    // A dab centred this far past the right or bottom edge misses the canvas.
    constexpr int32_t reachX = PAINT_CANVAS_WIDTH + PAINT_BRUSH_RADIUS;
    constexpr int32_t reachY = PAINT_CANVAS_HEIGHT + PAINT_BRUSH_RADIUS;
    auto wanted = [](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < reachX && y < reachY; };
    // DrawLine's walk stands on the start twice (its first two steps); it
    // leaves the first out as a pixel drawn twice shows nothing new, but a
    // stroke counts it as a dab of its own.
    if (wanted(from.x, from.y))
        dab(from);
    PimWalkLine(from.x, from.y, to.x, to.y, reachX, reachY, [&](int64_t x, int64_t y) {
        dab(CxPoint(static_cast<int32_t>(x), static_cast<int32_t>(y)));
    });
}

int64_t PaintModel::StrokePlotCount(CxPoint from, CxPoint to)
{
    const int64_t dx = std::llabs(int64_t{to.x} - from.x);
    const int64_t dy = std::llabs(int64_t{to.y} - from.y);
    return std::max(dx, dy) + 2;
}

CxPoint PaintModel::StampOffset(CxPoint at, CxSize size, bool centred)
{
    if (!centred)
        return {0, 0};
    return {at.x - size.width / 2, at.y - size.height / 2};
}
