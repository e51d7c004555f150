#pragma once
// Choosing colours: the palette of an image converted to a paletted depth,
// and the colour table of one converted to layout 9. Both count every
// distinct colour and then, while there are too many, fold the least used
// colour into its nearest remaining neighbour.
//
// Ties are broken as the engine always has: among equal counts the colour
// with the smallest key goes first, and among equally near neighbours the
// one with the smallest key wins. A colour's key orders blue, then green,
// then red (palettes) or red, green, blue as a 5-5-5 word (colour tables).
//
// The naive method is quadratic in the number of colours; this one keeps
// the counts in a heap and the colours in a coarse grid, so a photograph of
// a hundred thousand colours reduces in a fraction of a second with exactly
// the naive method's result.

#include "PIM/core/PimDefs.h"

#include <memory>

class CxColourReducer;
struct ST_RGB;

// Nearest palette entries for many colours at once, exactly as
// NearestPaletteIndex answers them (the lowest index wins ties): the colour
// cube is cut into 16 x 16 x 16 cells and each cell lists only the entries
// that can be nearest to some colour inside it, so a lookup scans a handful
// of entries instead of all of them.
class CxNearestPaletteSearch
{
public:
    CxNearestPaletteSearch() = default;
    ~CxNearestPaletteSearch();
    CxNearestPaletteSearch(const CxNearestPaletteSearch&) = delete;
    CxNearestPaletteSearch& operator=(const CxNearestPaletteSearch&) = delete;

    // `palette` must outlive the search. False when memory ran out: Find
    // then scans the whole palette.
    bool Build(const ST_RGB* palette, int count);
    int Find(uint8_t red, uint8_t green, uint8_t blue) const;

private:
    static constexpr int kCellBits = 4;
    static constexpr int kCells = 1 << (3 * kCellBits);
    const ST_RGB* m_palette = nullptr;
    int m_count = 0;
    uint32_t* m_offsets = nullptr;  // kCells + 1 starts into m_candidates
    uint8_t* m_candidates = nullptr; // entry indices, ascending within a cell
};

// The palette of an image: feed every pixel, then Build.
class CxPaletteBuilder
{
public:
    // With `keepSystemColours` the limit is 256 and the twenty system colours
    // (and the grey at 10) keep their entries; without it the limit is
    // `colours`, clamped to 0..256.
    CxPaletteBuilder(bool keepSystemColours, int colours);
    ~CxPaletteBuilder();
    CxPaletteBuilder(const CxPaletteBuilder&) = delete;
    CxPaletteBuilder& operator=(const CxPaletteBuilder&) = delete;

    void Add(uint8_t red, uint8_t green, uint8_t blue);
    // Writes the chosen colours into `palette` (768 bytes, red, green, blue).
    // With the system colours it starts from the default palette; without,
    // only the entries chosen are written. Returns the number of colours.
    int Build(uint8_t* palette);
    // False when memory ran out while counting (the result is then partial).
    bool IsIntact() const;

private:
    std::unique_ptr<CxColourReducer> m_reducer;
    bool m_keepSystem;
    int m_limit;
};

// The colour table of a layout-9 image: pixels whose alpha is below 16 are
// not counted; colours count at 5 bits per channel.
class CxColourTableBuilder
{
public:
    CxColourTableBuilder();
    ~CxColourTableBuilder();
    CxColourTableBuilder(const CxColourTableBuilder&) = delete;
    CxColourTableBuilder& operator=(const CxColourTableBuilder&) = delete;

    void Add(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);
    // Writes up to `capacity` (at most 4096) 5-5-5 entries in key order;
    // returns how many.
    int Build(uint16_t* table, int capacity = 4096);
    bool IsIntact() const;

private:
    std::unique_ptr<CxColourReducer> m_reducer;
};

// An operating-system palette for 8-bit screens. Here it is the 256 entries
// a screen presents with (nothing to realise on a true-colour desktop).
class CxOSPalette
{
public:
    CxOSPalette();
    void SetEntries(const uint8_t* palette, int first, int count);
    const uint8_t* GetEntries() const { return m_entries; }

private:
    uint8_t m_entries[768];
};
