// Lines, rectangles, circles and fills. Each operation locks the bits once
// and writes them directly: a virtual SetPixel per pixel, locking each time,
// is what made these slow.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimLineWalk.h"

#include "PIM/core/CxMemory.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

namespace {

uint32_t DepthMask(int depth)
{
    return depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1;
}

// A byte holding the value in every pixel slot (depths below 8).
uint8_t RepeatedByte(int depth, uint32_t value)
{
    const uint32_t v = value & DepthMask(depth);
    switch (depth) {
    case 1:
        return v ? 0xFF : 0x00;
    case 2:
        return static_cast<uint8_t>(v * 0x55u);
    case 4:
        return static_cast<uint8_t>(v * 0x11u);
    default:
        return static_cast<uint8_t>(v);
    }
}

// Stores a block of whole pixels over and over: constant-size copies the
// compiler turns into wide stores, which is what lets a fill keep up with
// memset.
template <size_t Block>
void StoreBlocks(uint8_t* p, size_t bytes, const uint8_t (&block)[Block])
{
    size_t i = 0;
    for (; i + Block <= bytes; i += Block)
        std::memcpy(p + i, block, Block);
    std::memcpy(p + i, block, bytes - i);
}

// Sets `count` pixels of a row from column x: whole bytes of depths below 8
// by memset, whole pixels of 16, 24 and 32 bits by block stores.
void FillSpan(uint8_t* row, int64_t x, int64_t count, int depth, uint32_t value)
{
    if (count <= 0)
        return;
    if (depth < 8) {
        const int perByte = 8 / depth;
        int64_t i = 0;
        for (; i < count && (x + i) % perByte != 0; ++i)
            WritePixel(row, static_cast<int>(x + i), depth, value);
        const int64_t wholeBytes = (count - i) / perByte;
        if (wholeBytes > 0) {
            std::memset(row + (x + i) / perByte, RepeatedByte(depth, value), static_cast<size_t>(wholeBytes));
            i += wholeBytes * perByte;
        }
        for (; i < count; ++i)
            WritePixel(row, static_cast<int>(x + i), depth, value);
        return;
    }
    if (depth == 8) {
        std::memset(row + x, static_cast<int>(value & 0xFF), static_cast<size_t>(count));
        return;
    }
    const int pixelBytes = depth / 8;
    uint8_t* start = row + x * pixelBytes;
    auto bytes = static_cast<size_t>(count) * static_cast<size_t>(pixelBytes);
    if (pixelBytes == 3) {
        uint8_t block[48]; // 16 pixels: a whole number of 16-byte stores
        for (int i = 0; i < 16; ++i)
            WritePixel(block, i, depth, value);
        StoreBlocks(start, bytes, block);
        return;
    }
    uint8_t block[32];
    for (int i = 0; i < 32 / pixelBytes; ++i)
        WritePixel(block, i, depth, value);
    // The C library's wmemset uses the widest stores the processor has
    // (the build itself targets plain x86-64): when whole pixels fill a
    // wchar_t, the fill runs on it once the start is aligned.
    constexpr size_t wide = sizeof(wchar_t);
    if (wide % static_cast<size_t>(pixelBytes) == 0 && reinterpret_cast<uintptr_t>(start) % pixelBytes == 0) {
        while (bytes > 0 && reinterpret_cast<uintptr_t>(start) % wide != 0) {
            std::memcpy(start, block, static_cast<size_t>(pixelBytes));
            start += pixelBytes;
            bytes -= static_cast<size_t>(pixelBytes);
        }
        wchar_t pattern;
        std::memcpy(&pattern, block, wide);
        std::wmemset(reinterpret_cast<wchar_t*>(start), pattern, bytes / wide);
        std::memcpy(start + bytes / wide * wide, block, bytes % wide);
        return;
    }
    StoreBlocks(start, bytes, block);
}

// The horizontal case of DrawLine: |x2 - x1| pixels from the smaller end,
// so the larger end is left out. Ends are clamped into the row; a larger
// end beyond the right edge is clamped to one past it, since the pixel it
// leaves out is not on the surface: clamping it onto the last column would
// leave that column bare under every filled shape that crosses the edge.
void HorizontalSpan(uint8_t* row, int64_t x1, int64_t x2, int32_t width, int depth, uint32_t colour)
{
    const int64_t low = std::min(x1, x2);
    const int64_t high = std::max(x1, x2);
    if (low >= width)
        return;
    const int64_t a = std::clamp<int64_t>(low, 0, width - 1);
    const int64_t b = std::clamp<int64_t>(high, 0, width);
    FillSpan(row, a, b - a, depth, colour);
}

// The midpoint circle walk: `pair` is called with a row and a half width for
// the two points (or the span) at centre x -/+ the half width. The radius is
// a 16-bit quantity, so no coordinate here can overflow.
template <class Pair>
void WalkCircle(int64_t cy, int radius, Pair pair)
{
    int64_t r = static_cast<uint16_t>(radius);
    int64_t d = 3 - 2 * r;
    int64_t i = 0;
    for (; i < r; ++i) {
        pair(cy + r, i);
        pair(cy - r, i);
        pair(cy + i, r);
        pair(cy - i, r);
        if (d <= 0) {
            d += 4 * i + 6;
        } else {
            d += 4 * (i - r) + 10;
            --r;
        }
    }
    if (i == r) {
        pair(cy + i, i);
        pair(cy - i, i);
    }
}

// A first-in first-out queue of points that grows on demand: a flood fill
// can never hold more than every pixel once.
class PointQueue
{
public:
    PointQueue() = default;
    ~PointQueue() { Free(m_items); }
    PointQueue(const PointQueue&) = delete;
    PointQueue& operator=(const PointQueue&) = delete;

    bool Push(int32_t x, int32_t y)
    {
        if (m_count == m_capacity && !Grow())
            return false;
        m_items[(m_head + m_count) % m_capacity] = {x, y};
        ++m_count;
        return true;
    }
    bool Pop(CxPoint& p)
    {
        if (m_count == 0)
            return false;
        p = m_items[m_head];
        m_head = (m_head + 1) % m_capacity;
        --m_count;
        return true;
    }
    size_t Capacity() const { return m_capacity; }

private:
    bool Grow()
    {
        const size_t capacity = m_capacity ? m_capacity * 2 : 1024;
        auto* items = static_cast<CxPoint*>(Allocate(capacity * sizeof(CxPoint), __FILE__, __LINE__, false));
        if (!items)
            return false;
        for (size_t i = 0; i < m_count; ++i)
            items[i] = m_items[(m_head + i) % m_capacity];
        Free(m_items);
        m_items = items;
        m_capacity = capacity;
        m_head = 0;
        return true;
    }

    CxPoint* m_items = nullptr;
    size_t m_capacity = 0;
    size_t m_head = 0;
    size_t m_count = 0;
};

} // namespace

int CxDrawSurface::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)
{
    if (m_error)
        return m_error;
    if (y1 == y2) {
        // A row outside the surface shows nothing whichever way it is drawn.
        if (y1 < 0 || y1 >= m_height || m_width <= 0)
            return m_error;
        ScopedBits bits(*this);
        if (bits)
            HorizontalSpan(bits.Get() + static_cast<ptrdiff_t>(y1) * m_pitch, x1, x2, m_width, m_depth, colour);
        return m_error;
    }
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    uint8_t* base = bits.Get();
    PimWalkLine(x1, y1, x2, y2, m_width, m_height, [&](int64_t x, int64_t y) {
        WritePixel(base + y * m_pitch, static_cast<int>(x), m_depth, colour);
    });
    return m_error;
}

int CxDrawSurface::FillRect(const CxRect& rect, uint32_t colour)
{
    if (m_error)
        return m_error;
    const CxRect area = ClipToSurface(&rect);
    if (area.IsEmpty())
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    const int64_t width = area.Width();
    uint8_t* first = bits.Get() + static_cast<ptrdiff_t>(area.top) * m_pitch;
    // Whole rows without padding between them are one long span.
    if (m_depth >= 8 && width == m_width && int64_t{m_pitch} * 8 == int64_t{m_width} * m_depth) {
        FillSpan(first, 0, width * area.Height(), m_depth, colour);
        return m_error;
    }
    for (int32_t y = area.top; y <= area.bottom; ++y)
        FillSpan(bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch, area.left, width, m_depth, colour);
    return m_error;
}

// Every point of the line once, ends included (the start point is not mixed
// twice, and a horizontal line keeps its far end: a blend drawn twice would
// show). The destination keeps its alpha.
int CxDrawSurface::BlendLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float opacity)
{
    if (m_error)
        return m_error;
    if (!(opacity > 0.0f))
        return m_error; // also NaN
    opacity = std::min(opacity, 1.0f);
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    const ST_ARGB ink = ::SplitPixel(m_format, colour);
    uint8_t* base = bits.Get();
    auto mix = [opacity](uint8_t over, uint8_t under) {
        return static_cast<uint8_t>(std::lround(over * opacity + under * (1.0f - opacity)));
    };
    PimWalkLine(x1, y1, x2, y2, m_width, m_height, [&](int64_t x, int64_t y) {
        uint8_t* row = base + y * m_pitch;
        const ST_ARGB old = ::SplitPixel(m_format, ReadPixel(row, static_cast<int>(x), m_depth));
        const ST_ARGB mixed{old.alpha, mix(ink.red, old.red), mix(ink.green, old.green), mix(ink.blue, old.blue)};
        WritePixel(row, static_cast<int>(x), m_depth, PackPixel(m_format, mixed));
    });
    return m_error;
}

int CxDrawSurface::DrawRect(const CxRect& rect, uint32_t colour)
{
    DrawLine(rect.left, rect.top, rect.right, rect.top, colour);
    DrawLine(rect.right, rect.top, rect.right, rect.bottom, colour);
    DrawLine(rect.right, rect.bottom, rect.left, rect.bottom, colour);
    DrawLine(rect.left, rect.bottom, rect.left, rect.top, colour);
    return m_error;
}

int CxDrawSurface::DrawCircle(int32_t x, int32_t y, int radius, uint32_t colour)
{
    if (m_error)
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    uint8_t* base = bits.Get();
    auto plot = [&](int64_t px, int64_t py) {
        if (px >= 0 && py >= 0 && px < m_width && py < m_height)
            WritePixel(base + py * m_pitch, static_cast<int>(px), m_depth, colour);
    };
    WalkCircle(y, radius, [&](int64_t row, int64_t half) {
        plot(int64_t{x} - half, row);
        plot(int64_t{x} + half, row);
    });
    return m_error;
}

int CxDrawSurface::FillCircle(int32_t x, int32_t y, int radius, uint32_t colour)
{
    if (m_error)
        return m_error;
    ScopedBits bits(*this);
    if (!bits || m_width <= 0)
        return m_error;
    uint8_t* base = bits.Get();
    // The spans follow DrawLine's horizontal rule, far end left out.
    WalkCircle(y, radius, [&](int64_t row, int64_t half) {
        if (row >= 0 && row < m_height)
            HorizontalSpan(base + row * m_pitch, int64_t{x} - half, int64_t{x} + half, m_width, m_depth, colour);
    });
    return m_error;
}

int CxDrawSurface::FloodFill(int32_t x, int32_t y, uint32_t value)
{
    if (m_error || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    // A value wider than the depth would never read back equal, and the
    // fill would go round for ever.
    value &= DepthMask(m_depth);
    uint8_t* base = bits.Get();
    auto row = [&](int32_t py) { return base + static_cast<ptrdiff_t>(py) * m_pitch; };
    const uint32_t old = ReadPixel(row(y), x, m_depth);
    if (old == value)
        return m_error;

    PointQueue queue;
    auto visit = [&](int32_t px, int32_t py) {
        if (px < 0 || py < 0 || px >= m_width || py >= m_height || ReadPixel(row(py), px, m_depth) != old)
            return true;
        WritePixel(row(py), px, m_depth, value);
        return queue.Push(px, py);
    };
    bool ok = visit(x, y);
    CxPoint p;
    while (ok && queue.Pop(p))
        ok = visit(p.x, p.y - 1) && visit(p.x + 1, p.y) && visit(p.x, p.y + 1) && visit(p.x - 1, p.y);
    if (!ok)
        SetError(PIM_ERR_OUT_OF_MEMORY, "FloodFill: could not allocate %ld bytes for the queue",
                 static_cast<long>(queue.Capacity() * 2 * sizeof(CxPoint)));
    return m_error;
}
