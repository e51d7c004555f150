#include "PIM/graphics/CxPal.h"

#include "PIM/core/CxMemory.h"
#include "PIM/graphics/PimPixelFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <queue>
#include <utility>
#include <vector>

// The shared popularity-and-merge method. Colours live in a 32 x 32 x 32
// grid over their component space, so the nearest neighbour of a removed
// colour is found by searching rings of cells outward; the least used colour
// comes from a heap whose stale entries are skipped.
class CxColourReducer
{
public:
    explicit CxColourReducer(int componentBits) : m_componentBits(componentBits) {}

    bool IsIntact() const { return m_intact; }

    void Count(uint32_t key, uint8_t c0, uint8_t c1, uint8_t c2, uint64_t amount, int fixed)
    {
        try {
            // Open addressing over node indices (+1, 0 is empty): a photograph
            // adds hundreds of thousands of colours, one probe each.
            if ((m_nodes.size() + 1) * 2 > m_slots.size())
                Rehash((m_nodes.size() + 1) * 2);
            const size_t mask = m_slots.size() - 1;
            for (size_t slot = Hash(key) & mask;; slot = (slot + 1) & mask) {
                const uint32_t entry = m_slots[slot];
                if (entry == 0) {
                    m_slots[slot] = static_cast<uint32_t>(m_nodes.size() + 1);
                    m_nodes.push_back({key, {c0, c1, c2}, amount, fixed, true});
                    return;
                }
                if (m_nodes[entry - 1].key == key) {
                    m_nodes[entry - 1].count += amount;
                    return;
                }
            }
        } catch (const std::bad_alloc&) {
            m_intact = false;
        }
    }

    // Folds the least used colours into their neighbours until `limit` remain.
    void Reduce(size_t limit)
    {
        try {
            Prepare();
            size_t alive = m_nodes.size();
            // One word per entry, count above the node index, so that the
            // smallest word is the least used colour with the smallest key.
            // Counts never pass the pixels of one surface (below 2^32) and
            // there are at most 2^24 distinct colours.
            std::vector<uint64_t> heap;
            heap.reserve(m_nodes.size() + m_nodes.size() / 2);
            for (uint32_t i = 0; i < m_nodes.size(); ++i)
                heap.push_back(HeapWord(m_nodes[i].count, i));
            std::make_heap(heap.begin(), heap.end(), std::greater<uint64_t>());
            while (alive > limit && !heap.empty()) {
                std::pop_heap(heap.begin(), heap.end(), std::greater<uint64_t>());
                const uint64_t word = heap.back();
                heap.pop_back();
                const auto least = static_cast<uint32_t>(word & kIndexMask);
                Node& gone = m_nodes[least];
                if (!gone.alive || HeapWord(gone.count, least) != word)
                    continue; // a stale entry
                gone.alive = false;
                --alive;
                auto& cell = m_cells[CellOf(gone)];
                cell.erase(std::find_if(cell.begin(), cell.end(), [least](const CellEntry& e) { return e.index == least; }));
                // Fewer than one colour per eight cells: coarsen.
                if (m_gridBits > 2 && alive < (m_cells.size() >> 3))
                    BuildGrid(m_gridBits - 1);
                int nearest = Nearest(gone);
                if (nearest < 0)
                    continue;
                m_nodes[nearest].count += gone.count;
                heap.push_back(HeapWord(m_nodes[nearest].count, static_cast<uint32_t>(nearest)));
                std::push_heap(heap.begin(), heap.end(), std::greater<uint64_t>());
            }
        } catch (const std::bad_alloc&) {
            m_intact = false;
        }
    }

    // Every remaining colour in key order: (key, fixed entry).
    template <class Visit>
    void ForEachAlive(Visit visit) const
    {
        for (const Node& node : m_nodes)
            if (node.alive)
                visit(node.key, node.fixed);
    }

private:
    static constexpr uint64_t kIndexMask = (uint64_t{1} << 24) - 1;
    static uint64_t HeapWord(uint64_t count, uint32_t index) { return (count << 24) | index; }

    struct Node
    {
        uint32_t key;
        uint8_t c[3];
        uint64_t count;
        int fixed;
        bool alive;
    };

    // Up to 64 cells a side: a few colours per cell even for a photograph.
    // As colours go, the grid is rebuilt coarser, so that the search for the
    // last few hundred does not walk thousands of empty cells.
    static constexpr int kFinestGridBits = 6;

    size_t CellIndex(int i, int j, int k) const
    {
        return (static_cast<size_t>(i) << (2 * m_gridBits)) | (static_cast<size_t>(j) << m_gridBits) |
               static_cast<size_t>(k);
    }

    void BuildGrid(int gridBits)
    {
        m_gridBits = std::min(gridBits, m_componentBits);
        m_cellShift = m_componentBits - m_gridBits;
        m_cells.assign(size_t{1} << (3 * m_gridBits), {});
        for (uint32_t i = 0; i < m_nodes.size(); ++i)
            if (m_nodes[i].alive)
                m_cells[CellOf(m_nodes[i])].push_back(
                    {i, {m_nodes[i].c[0], m_nodes[i].c[1], m_nodes[i].c[2]}}); // ascending within each cell
    }

    size_t CellOf(const Node& n) const
    {
        return CellIndex(n.c[0] >> m_cellShift, n.c[1] >> m_cellShift, n.c[2] >> m_cellShift);
    }

    // Nodes in key order (so that an index comparison is a key comparison),
    // and the grid.
    void Prepare()
    {
        std::sort(m_nodes.begin(), m_nodes.end(), [](const Node& a, const Node& b) { return a.key < b.key; });
        // The index named nodes by their old places; a later Count rebuilds it.
        std::vector<uint32_t>().swap(m_slots);
        BuildGrid(kFinestGridBits);
    }

    static size_t Hash(uint32_t key) { return (key * 0x9E3779B1u) ^ (key >> 15); }

    // At least `wanted` slots, a power of two.
    void Rehash(size_t wanted)
    {
        size_t capacity = 1024;
        while (capacity < wanted)
            capacity *= 2;
        m_slots.assign(capacity, 0);
        const size_t mask = capacity - 1;
        for (uint32_t i = 0; i < m_nodes.size(); ++i) {
            size_t slot = Hash(m_nodes[i].key) & mask;
            while (m_slots[slot] != 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = i + 1;
        }
    }

    // Squared distance from a point to the nearest point of a cell.
    int64_t DistanceToCell(const Node& from, int i, int j, int k) const
    {
        const int cellSize = 1 << m_cellShift;
        auto axis = [cellSize](int v, int cell) -> int64_t {
            const int low = cell * cellSize, high = low + cellSize - 1;
            return v < low ? low - v : (v > high ? v - high : 0);
        };
        const int64_t a = axis(from.c[0], i), b = axis(from.c[1], j), c = axis(from.c[2], k);
        return a * a + b * b + c * c;
    }

    // The nearest remaining node; the smallest key wins ties. -1 when none.
    int Nearest(const Node& from) const
    {
        const int cellSize = 1 << m_cellShift;
        const int cx = from.c[0] >> m_cellShift, cy = from.c[1] >> m_cellShift, cz = from.c[2] >> m_cellShift;
        const int side = 1 << m_gridBits;
        const int last = side - 1;
        int best = -1;
        int64_t bestDistance = INT64_MAX;
        for (int ring = 0; ring < side; ++ring) {
            for (int i = std::max(0, cx - ring); i <= std::min(last, cx + ring); ++i) {
                for (int j = std::max(0, cy - ring); j <= std::min(last, cy + ring); ++j) {
                    const bool onShell = std::abs(i - cx) == ring || std::abs(j - cy) == ring;
                    // Inside the shell only the two faces along k are new.
                    const int step = onShell ? 1 : std::max(1, 2 * ring);
                    for (int k = cz - ring; k <= cz + ring; k += step) {
                        if (k < 0 || k > last)
                            continue;
                        const auto& cell = m_cells[CellIndex(i, j, k)];
                        // A cell wholly farther than the best cannot win (an
                        // equal distance still could, by its key).
                        if (cell.empty() || DistanceToCell(from, i, j, k) > bestDistance)
                            continue;
                        for (const CellEntry& entry : cell) {
                            const uint32_t index = entry.index;
                            const int d0 = int{from.c[0]} - entry.c[0], d1 = int{from.c[1]} - entry.c[1],
                                      d2 = int{from.c[2]} - entry.c[2];
                            const int64_t d = d0 * d0 + d1 * d1 + d2 * d2;
                            if (d < bestDistance || (d == bestDistance && static_cast<int>(index) < best)) {
                                bestDistance = d;
                                best = static_cast<int>(index);
                            }
                        }
                    }
                }
            }
            if (best < 0)
                continue;
            // The cells of the next ring lie beyond the cube searched so far:
            // stop when the best is nearer than the cube's nearest face.
            int64_t gap = INT64_MAX;
            const int centre[3] = {cx, cy, cz};
            for (int axis = 0; axis < 3; ++axis) {
                const int v = from.c[axis];
                if (centre[axis] - ring > 0)
                    gap = std::min<int64_t>(gap, v - (centre[axis] - ring) * cellSize + 1);
                if (centre[axis] + ring < last)
                    gap = std::min<int64_t>(gap, (centre[axis] + ring + 1) * cellSize - v);
            }
            if (gap == INT64_MAX || bestDistance < gap * gap)
                break;
        }
        return best;
    }

    int m_componentBits;
    int m_gridBits = 0;
    int m_cellShift = 0;
    bool m_intact = true;
    std::vector<Node> m_nodes;
    std::vector<uint32_t> m_slots; // the counting index; dropped once counting ends
    // A colour in a grid cell, its components beside it so that searches
    // do not chase the nodes.
    struct CellEntry
    {
        uint32_t index;
        uint8_t c[3];
    };
    std::vector<std::vector<CellEntry>> m_cells;
};

namespace {

// Key of a palette colour: bytes, low to high, 255, red, green, blue.
uint32_t PaletteKey(uint8_t red, uint8_t green, uint8_t blue)
{
    return (static_cast<uint32_t>(blue) << 24) | (static_cast<uint32_t>(green) << 16) |
           (static_cast<uint32_t>(red) << 8) | 255u;
}

// The entries that keep their places: the low system colours, the grey at
// 10, the high system colours.
bool IsPinned(int index)
{
    return index <= 10 || index >= 246;
}

constexpr uint64_t kPinnedCount = 999999;

} // namespace

// --- palettes ------------------------------------------------------------------------------

CxPaletteBuilder::CxPaletteBuilder(bool keepSystemColours, int colours)
    : m_reducer(std::make_unique<CxColourReducer>(8)), m_keepSystem(keepSystemColours)
{
    m_limit = keepSystemColours ? 256 : std::clamp(colours, 0, 256);
    if (m_keepSystem) {
        const ST_RGB* defaults = DefaultPalette();
        for (int i = 0; i < 256; ++i)
            if (IsPinned(i))
                m_reducer->Count(PaletteKey(defaults[i].red, defaults[i].green, defaults[i].blue), defaults[i].red,
                                 defaults[i].green, defaults[i].blue, kPinnedCount, i);
    }
}

CxPaletteBuilder::~CxPaletteBuilder() = default;

bool CxPaletteBuilder::IsIntact() const
{
    return m_reducer->IsIntact();
}

void CxPaletteBuilder::Add(uint8_t red, uint8_t green, uint8_t blue)
{
    m_reducer->Count(PaletteKey(red, green, blue), red, green, blue, 1, -1);
}

int CxPaletteBuilder::Build(uint8_t* palette)
{
    if (!palette)
        return 0;
    if (m_keepSystem)
        std::memcpy(palette, DefaultPalette(), 768);
    m_reducer->Reduce(static_cast<size_t>(m_limit));
    int next = m_keepSystem ? 11 : 0;
    int written = 0;
    m_reducer->ForEachAlive([&](uint32_t key, int fixed) {
        int entry = fixed >= 0 ? fixed : next++;
        if (entry < 0 || entry > 255)
            return;
        palette[entry * 3 + 0] = static_cast<uint8_t>(key >> 8);
        palette[entry * 3 + 1] = static_cast<uint8_t>(key >> 16);
        palette[entry * 3 + 2] = static_cast<uint8_t>(key >> 24);
        ++written;
    });
    return written;
}

// --- colour tables ---------------------------------------------------------------------------

CxColourTableBuilder::CxColourTableBuilder() : m_reducer(std::make_unique<CxColourReducer>(5)) {}

CxColourTableBuilder::~CxColourTableBuilder() = default;

bool CxColourTableBuilder::IsIntact() const
{
    return m_reducer->IsIntact();
}

void CxColourTableBuilder::Add(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue)
{
    if (alpha < 16)
        return;
    const uint8_t r = red >> 3, g = green >> 3, b = blue >> 3;
    const uint32_t key = (static_cast<uint32_t>(r) << 10) | (static_cast<uint32_t>(g) << 5) | b;
    m_reducer->Count(key, r, g, b, 1, -1);
}

int CxColourTableBuilder::Build(uint16_t* table, int capacity)
{
    capacity = std::clamp(capacity, 0, 4096);
    m_reducer->Reduce(static_cast<size_t>(capacity));
    int written = 0;
    m_reducer->ForEachAlive([&](uint32_t key, int) {
        if (table && written < capacity)
            table[written] = static_cast<uint16_t>(key);
        ++written;
    });
    return std::min(written, capacity);
}

// --- the screen's palette ----------------------------------------------------------------------

CxOSPalette::CxOSPalette()
{
    std::memcpy(m_entries, DefaultPalette(), sizeof m_entries);
}

void CxOSPalette::SetEntries(const uint8_t* palette, int first, int count)
{
    if (!palette || first < 0 || first >= 256 || count <= 0)
        return;
    count = std::min(count, 256 - first);
    std::memcpy(m_entries + first * 3, palette, static_cast<size_t>(count) * 3);
}

// --- nearest palette entries ------------------------------------------------------------------

CxNearestPaletteSearch::~CxNearestPaletteSearch()
{
    Free(m_offsets);
    Free(m_candidates);
}

bool CxNearestPaletteSearch::Build(const ST_RGB* palette, int count)
{
    Free(m_offsets);
    Free(m_candidates);
    m_offsets = nullptr;
    m_candidates = nullptr;
    m_palette = palette;
    m_count = palette ? std::clamp(count, 0, 256) : 0;
    if (m_count == 0)
        return true;
    m_offsets = static_cast<uint32_t*>(AllocateQuietly((kCells + 1) * sizeof(uint32_t), __FILE__, __LINE__, false));
    m_candidates = static_cast<uint8_t*>(
        AllocateQuietly(static_cast<size_t>(kCells) * static_cast<size_t>(m_count), __FILE__, __LINE__, false));
    if (!m_offsets || !m_candidates) {
        Free(m_offsets);
        Free(m_candidates);
        m_offsets = nullptr;
        m_candidates = nullptr;
        return false;
    }
    constexpr int kSide = 1 << (8 - kCellBits);
    // Per axis and entry: the nearest and farthest squared distance from the
    // entry's component to any value of a cell's range.
    auto nearest = [](int v, int low) {
        const int high = low + kSide - 1;
        const int d = v < low ? low - v : (v > high ? v - high : 0);
        return d * d;
    };
    auto farthest = [](int v, int low) {
        const int high = low + kSide - 1;
        const int d = std::max(std::abs(v - low), std::abs(v - high));
        return d * d;
    };
    int minimum[256];
    uint32_t used = 0;
    for (int cell = 0; cell < kCells; ++cell) {
        const int lowR = (cell >> (2 * kCellBits)) * kSide;
        const int lowG = ((cell >> kCellBits) & ((1 << kCellBits) - 1)) * kSide;
        const int lowB = (cell & ((1 << kCellBits) - 1)) * kSide;
        // Every colour of the cell has some entry no farther than the
        // smallest "farthest" distance; entries nearer than that at their
        // nearest are the only ones that can win (ties included).
        int bound = INT32_MAX;
        for (int i = 0; i < m_count; ++i) {
            const ST_RGB& e = m_palette[i];
            minimum[i] = nearest(e.red, lowR) + nearest(e.green, lowG) + nearest(e.blue, lowB);
            bound = std::min(bound, farthest(e.red, lowR) + farthest(e.green, lowG) + farthest(e.blue, lowB));
        }
        m_offsets[cell] = used;
        for (int i = 0; i < m_count; ++i)
            if (minimum[i] <= bound)
                m_candidates[used++] = static_cast<uint8_t>(i);
    }
    m_offsets[kCells] = used;
    return true;
}

int CxNearestPaletteSearch::Find(uint8_t red, uint8_t green, uint8_t blue) const
{
    if (!m_offsets)
        return NearestPaletteIndex(m_palette, m_count, red, green, blue);
    constexpr int kShift = 8 - kCellBits;
    const int cell = ((red >> kShift) << (2 * kCellBits)) | ((green >> kShift) << kCellBits) | (blue >> kShift);
    int best = 0;
    int bestDistance = 0x30000;
    for (uint32_t at = m_offsets[cell]; at < m_offsets[cell + 1]; ++at) {
        const int i = m_candidates[at];
        const ST_RGB& e = m_palette[i];
        const int dr = e.red - red, dg = e.green - green, db = e.blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return best;
}
