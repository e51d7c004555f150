// The four cursors the engine draws when the game brings none of its own:
// an arrow, an hourglass, a text beam and a not-allowed sign. Pixel art,
// one string a row: '.' is the transparent colour, 'X' black, 'o' white.

#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <cstring>
#include <iterator>
#include <string_view>

namespace {

constexpr uint8_t kBlack = 0;
constexpr uint8_t kWhite = 255;
static_assert(PIM_BUILTIN_CURSOR_KEY != kBlack && PIM_BUILTIN_CURSOR_KEY != kWhite);

constexpr const char* kArrow[] = {
    "X..........", //
    "XX.........", //
    "XoX........", //
    "XooX.......", //
    "XoooX......", //
    "XooooX.....", //
    "XoooooX....", //
    "XooooooX...", //
    "XoooooooX..", //
    "XooooooooX.", //
    "XoooooXXXXX", //
    "XooXooX....", //
    "XoX.XooX...", //
    "XX..XooX...", //
    "X....XooX..", //
    ".....XooX..", //
    "......XooX.", //
    "......XooX.", //
    ".......XX..", //
    "...........", //
};

constexpr const char* kHourglass[] = {
    "XXXXXXXXXXXXX", //
    "XoooooooooooX", //
    ".XoooooooooX.", //
    ".XoooooooooX.", //
    ".XoXoXoXoXoX.", //
    "..XoXoXoXoX..", //
    "..XXoXoXoXX..", //
    "...XXoXoXX...", //
    "....XXoXX....", //
    ".....XoX.....", //
    ".....XoX.....", //
    ".....XoX.....", //
    "....XXoXX....", //
    "...XXoooXX...", //
    "..XXoooooXX..", //
    "..XoooXoooX..", //
    "..XooXoXooX..", //
    ".XooXoXoXooX.", //
    ".XoXoXoXoXoX.", //
    ".XXoXoXoXoXX.", //
    ".XXXXXXXXXXX.", //
    "XoooooooooooX", //
    "XoooooooooooX", //
    "XXXXXXXXXXXXX", //
};

constexpr const char* kTextBeam[] = {
    "XXX.XXX", //
    "XooXooX", //
    ".XXoXX.", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    "..XoX..", //
    ".XXoXX.", //
    "XooXooX", //
    "XXX.XXX", //
};

constexpr const char* kNotAllowed[] = {
    "..................", //
    "..................", //
    "......XXXXX.......", //
    "....XXoooooXX.....", //
    "...XoooooooooX....", //
    "..XoooooooooooX...", //
    ".XooooXXXXXooooX..", //
    ".XoooXoX...XoooX..", //
    "XoooXoooX...XoooX.", //
    "XoooXXoooX..XoooX.", //
    "XoooX.XoooX.XoooX.", //
    "XoooX..XoooXXoooX.", //
    "XoooX...XoooXoooX.", //
    ".XoooX...XoXoooX..", //
    ".XooooXXXXXooooX..", //
    "..XoooooooooooX...", //
    "...XoooooooooX....", //
    "....XXoooooXX.....", //
    "......XXXXX.......", //
    "..................", //
};

struct ST_BUILTIN_CURSOR
{
    const char* const* rows;
    int32_t width;
    int32_t height;
    CxPoint hotSpot;
};

template <size_t N>
constexpr bool RowsAre(const char* const (&rows)[N], size_t width)
{
    for (const char* row : rows) {
        if (std::string_view(row).size() != width)
            return false;
    }
    return true;
}

static_assert(std::size(kArrow) == 20 && RowsAre(kArrow, 11));
static_assert(std::size(kHourglass) == 24 && RowsAre(kHourglass, 13));
static_assert(std::size(kTextBeam) == 16 && RowsAre(kTextBeam, 7));
static_assert(std::size(kNotAllowed) == 20 && RowsAre(kNotAllowed, 18));

constexpr ST_BUILTIN_CURSOR kBuiltins[PIM_BUILTIN_CURSOR_COUNT] = {
    {kArrow, 11, 20, CxPoint(0, 0)},
    {kHourglass, 13, 24, CxPoint(6, 10)},
    {kTextBeam, 7, 16, CxPoint(3, 7)},
    {kNotAllowed, 18, 20, CxPoint(8, 10)},
};

uint8_t PaletteIndexOf(char pixel)
{
    switch (pixel) {
    case 'X':
        return kBlack;
    case 'o':
        return kWhite;
    default:
        return static_cast<uint8_t>(PIM_BUILTIN_CURSOR_KEY);
    }
}

} // namespace

CxDrawSurface* CreateBuiltinCursor(int id, CxPoint& hotSpot)
{
    if (id < 0 || id >= PIM_BUILTIN_CURSOR_COUNT)
        return nullptr;
    const ST_BUILTIN_CURSOR& cursor = kBuiltins[id];
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface)
        return nullptr;
    if (surface->Create(cursor.width, cursor.height, 8) != PIM_OK || !surface->LockBits()) {
        delete surface;
        return nullptr;
    }

    // The system colours of the default palette, with the key a colour no
    // cursor pixel has, so that it stays unique once converted to the screen.
    uint8_t palette[768];
    std::memcpy(palette, DefaultPalette(), sizeof(palette));
    auto setEntry = [&](uint32_t index, uint8_t red, uint8_t green, uint8_t blue) {
        palette[index * 3] = red;
        palette[index * 3 + 1] = green;
        palette[index * 3 + 2] = blue;
    };
    setEntry(kBlack, 0, 0, 0);
    setEntry(kWhite, 255, 255, 255);
    setEntry(PIM_BUILTIN_CURSOR_KEY, 255, 0, 255);
    surface->SetPalette(palette, sizeof(palette));

    for (int32_t y = 0; y < cursor.height; ++y) {
        uint8_t* row = surface->GetRawPixelAddress(0, y);
        for (int32_t x = 0; x < cursor.width; ++x)
            row[x] = PaletteIndexOf(cursor.rows[y][x]);
    }
    surface->UnlockBits();
    surface->SetTransparentColour(PIM_BUILTIN_CURSOR_KEY);
    hotSpot = cursor.hotSpot;
    return surface;
}
