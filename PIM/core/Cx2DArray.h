#pragma once
// A width x height grid stored row by row (element (x, y) at x + y * width), so
// a row is contiguous and walking a map line by line stays cache friendly.
// Coordinates are signed because callers probe neighbours (x - 1, y - 1) at the
// edges; anything outside the grid is refused instead of wrapping around.

#include "PIM/core/CxArray.h"
#include "PIM/core/PimDefs.h"

template <class T>
class Cx2DArray
{
public:
    Cx2DArray() = default;

    // On a refused size or allocation failure the grid stays empty.
    Cx2DArray(int32_t width, int32_t height)
    {
        Resize(width, height);
    }

    Cx2DArray(const Cx2DArray&) = delete;
    Cx2DArray& operator=(const Cx2DArray&) = delete;

    virtual ~Cx2DArray() = default;

    // Replaces the contents with width * height default-constructed elements.
    // A negative size, or one whose element count would not fit in memory
    // arithmetic, is refused and leaves the grid empty: keeping the old grid
    // with a size the caller no longer expects would be worse than no grid.
    // An allocation failure keeps the old grid (as CxArray does). Both give false.
    bool Resize(int32_t width, int32_t height)
    {
        if (width < 0 || height < 0 || !FitsInMemory(width, height)) {
            Clear();
            return false;
        }
        size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        if (!m_cells.Resize(count))
            return false;
        // A zero width or height makes an empty grid; keep both at 0 so that
        // no coordinate is ever considered inside it.
        m_width = count ? width : 0;
        m_height = count ? height : 0;
        return true;
    }

    void Clear()
    {
        m_cells.Clear();
        m_width = 0;
        m_height = 0;
    }

    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    size_t GetCount() const { return m_cells.GetCount(); }

    bool Contains(int32_t x, int32_t y) const
    {
        return x >= 0 && y >= 0 && x < m_width && y < m_height;
    }

    T* Get(int32_t x, int32_t y) { return Contains(x, y) ? m_cells.Get(IndexOf(x, y)) : nullptr; }
    const T* Get(int32_t x, int32_t y) const { return Contains(x, y) ? m_cells.Get(IndexOf(x, y)) : nullptr; }

    // Outside the grid nothing is stored and the answer is false.
    bool Set(int32_t x, int32_t y, const T& value)
    {
        return Contains(x, y) && m_cells.Set(IndexOf(x, y), value);
    }

    // The rows laid end to end, for bulk loading from a file.
    T* GetData() { return m_cells.GetData(); }
    const T* GetData() const { return m_cells.GetData(); }

private:
    static bool FitsInMemory(int32_t width, int32_t height)
    {
        if (width == 0 || height == 0)
            return true;
        size_t w = static_cast<size_t>(width);
        size_t h = static_cast<size_t>(height);
        return h <= SIZE_MAX / w && w * h <= SIZE_MAX / sizeof(T);
    }

    size_t IndexOf(int32_t x, int32_t y) const
    {
        return static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(m_width);
    }

    CxArray<T> m_cells;
    int32_t m_width = 0;
    int32_t m_height = 0;
};
