// The surface's life, its formats and its single pixels. Lines, rectangles
// and fills live in CxDrawSurfacePrimitives.cpp, whole-surface effects in
// CxDrawSurfaceEffects.cpp, and Blit with its pixel routines in PimBlit*.cpp.
#include "PIM/graphics/CxDrawSurface.h"

#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxPal.h"
#include "PIM/graphics/PimImageHooks.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>

namespace {

constexpr size_t kPaletteBytes = 768;

// Bytes a pixel run of `count` pixels takes at depths of 8 and above.
inline size_t RunBytes(int depth, int64_t count)
{
    return static_cast<size_t>(count) * static_cast<size_t>(depth / 8);
}

inline int32_t ClampToInt32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Where a source rectangle (null: the whole surface) lands when drawn at (x, y).
CxRect PlacedRect(int32_t x, int32_t y, const CxRect* sourceRect, int32_t width, int32_t height)
{
    int64_t w = sourceRect ? sourceRect->Width() : width;
    int64_t h = sourceRect ? sourceRect->Height() : height;
    return CxRect(x, y, ClampToInt32(int64_t{x} + w - 1), ClampToInt32(int64_t{y} + h - 1));
}

// Nearest-colour searches cost a palette or table scan per pixel; images
// repeat colours, so a small direct-mapped memo of recent answers pays.
class NearestMemo
{
public:
    NearestMemo() { std::fill(std::begin(m_keys), std::end(m_keys), kEmpty); }

    template <class Search>
    uint32_t Find(uint8_t red, uint8_t green, uint8_t blue, Search search)
    {
        const uint32_t key = (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
        const uint32_t slot = (key ^ (key >> 11) ^ (key >> 19)) & (kSlots - 1);
        if (m_keys[slot] != key) {
            m_keys[slot] = key;
            m_values[slot] = static_cast<uint32_t>(search(red, green, blue));
        }
        return m_values[slot];
    }

private:
    static constexpr uint32_t kSlots = 4096;
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu; // no 24-bit key has the top byte set
    uint32_t m_keys[kSlots];
    uint32_t m_values[kSlots];
};

// Pixels from which a nearest-palette search structure pays for its build.
constexpr int64_t kSearchWorthPixels = 16384;

// A colour as a colour-table entry: layout 1, or layout 2 once the screen
// prefers 565 (the form SplitTableColour reads back).
uint16_t TableEntryFor(const ST_ARGB& c)
{
    if (GetPreferredLayout16() == PIM_LAYOUT_565)
        return static_cast<uint16_t>(((c.red >> 3) << 11) | ((c.green >> 2) << 5) | (c.blue >> 3));
    return TableEntryForLayout(static_cast<uint16_t>(((c.red >> 3) << 10) | ((c.green >> 3) << 5) | (c.blue >> 3)),
                               GetPreferredLayout16());
}

// The 16-bit field positions ConvertLayout16 works with: red in the low bits
// for layout 8, blue in the low bits otherwise.
struct Fields16
{
    int redBits, greenBits, blueBits;
    int redShift, greenShift, blueShift;
};

Fields16 FieldsFor(uint8_t layout, int redBits, int greenBits, int blueBits)
{
    Fields16 f{redBits, greenBits, blueBits, 0, 0, 0};
    if (layout == PIM_LAYOUT_BGR555) {
        f.greenShift = redBits;
        f.blueShift = redBits + greenBits;
    } else {
        f.greenShift = blueBits;
        f.redShift = blueBits + greenBits;
    }
    return f;
}

Fields16 FieldsForLayout(uint8_t layout)
{
    return FieldsFor(layout, layout == PIM_LAYOUT_655 ? 6 : 5, layout == PIM_LAYOUT_565 ? 6 : 5,
                     layout == PIM_LAYOUT_556 ? 6 : 5);
}

inline uint32_t Rescale(uint32_t value, int from, int to)
{
    return to >= from ? value << (to - from) : value >> (from - to);
}

bool IsPlain16(uint8_t layout)
{
    return layout == PIM_LAYOUT_555 || layout == PIM_LAYOUT_565 || layout == PIM_LAYOUT_556 ||
           layout == PIM_LAYOUT_655 || layout == PIM_LAYOUT_BGR555;
}

} // namespace

// --- life ----------------------------------------------------------------------------------------

CxDrawSurface::CxDrawSurface()
{
    std::memcpy(m_palette, DefaultPalette(), kPaletteBytes);
    SyncFormat();
    SetCachedData(&m_bits, &m_bitsSize);
}

CxDrawSurface::~CxDrawSurface()
{
    // The cache deletes a swap file of its own; reading it back just to free
    // it would be wasted work.
    ReleaseBits(false);
    FreeColourTable();
    FreePaletteLookup();
}

void CxDrawSurface::SyncFormat()
{
    m_format.depth = m_depth;
    m_format.palette = m_palette;
    m_format.colourTable = m_colourTable;
    m_format.colourTableCount = m_colourTableCount;
}

void CxDrawSurface::ReleaseBits(bool restoreSwapped)
{
    if (HasExternalBits()) {
        SetExternalBits(false);
    } else {
        // A swapped-out surface has a swap file the cache would read into
        // whatever bits this surface gets next: use it up now.
        if (restoreSwapped && !IsLoaded())
            Use();
        Free(m_bits);
    }
    m_bits = nullptr;
    m_bitsSize = 0;
    MarkPixelsChanged();
}

void CxDrawSurface::FreeColourTable()
{
    Free(m_colourTable);
    m_colourTable = nullptr;
    m_colourTableCount = 0;
    SyncFormat();
}

void CxDrawSurface::SetExternalBits(bool external)
{
    if (external == HasExternalBits())
        return;
    MarkPixelsChanged();
    // External bits hold a cache lock for as long as they are external, so
    // that a purge never frees the caller's memory.
    if (external) {
        m_flags |= PIM_SURFACE_EXTERNAL_BITS;
        Lock();
    } else {
        m_flags &= ~PIM_SURFACE_EXTERNAL_BITS;
        Unlock();
    }
}

int CxDrawSurface::Create(int32_t width, int32_t height, int depth, int32_t pitch, uint8_t* bits, uint8_t layout)
{
    // Loaders pass sizes straight from files: everything is checked before
    // anything changes.
    int32_t rowBytes = 0;
    if (width < 0 || height < 0 || !IsValidDepth(depth) || !IsValidLayout(layout) || !PitchFor(width, depth, rowBytes))
        return SetError(PIM_ERR_BAD_ARG, "Create: invalid surface %d x %d x %d (layout %d)", width, height, depth,
                        layout);
    if (pitch == -1)
        pitch = rowBytes;
    if (pitch < rowBytes)
        return SetError(PIM_ERR_BAD_ARG, "Create: pitch %d is shorter than a row of %d bytes", pitch, rowBytes);
    const int64_t size = int64_t{pitch} * height;
    if (size > INT32_MAX)
        return SetError(PIM_ERR_BAD_ARG, "Create: %d x %d bytes is too large", pitch, height);

    Destroy();
    m_width = width;
    m_height = height;
    m_depth = depth;
    SyncFormat();
    SetPixelLayout(layout);
    m_pitch = pitch;
    // The bits themselves come on the first lock.
    m_bitsSize = static_cast<size_t>(size);
    if (bits) {
        m_bits = bits;
        SetExternalBits(true);
    }
    m_flags |= PIM_SURFACE_CREATED;
    return m_error;
}

void CxDrawSurface::Destroy()
{
    ReleaseBits(true);
    FreeColourTable();
    m_spans.Clear();
    m_flags &= ~PIM_SURFACE_CREATED;
}

CxDrawSurface& CxDrawSurface::Assign(const CxDrawSurface& source)
{
    CreateCopy(source);
    return *this;
}

int CxDrawSurface::CreateCopy(const CxDrawSurface& source)
{
    // Destroying first would free the very bits about to be copied.
    if (&source == this)
        return m_error;
    Destroy();
    if (source.IsCreated()) {
        if (Create(source.m_width, source.m_height, source.m_depth, source.m_pitch, nullptr, source.m_format.layout) !=
            PIM_OK)
            return m_error;
        SetPixelLayout(source.m_format.layout);
    }
    SetPalette(source.GetPalette(), kPaletteBytes);
    m_transparent = source.m_transparent;
    m_userValue = source.m_userValue;
    m_name = source.m_name;
    if (source.m_colourTable && source.m_colourTableCount > 0) {
        const size_t bytes = sizeof(uint16_t) * static_cast<size_t>(source.m_colourTableCount);
        auto* table = static_cast<uint16_t*>(AllocateQuietly(bytes, __FILE__, __LINE__, false));
        if (!table)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %ld bytes for the colour table",
                            static_cast<long>(bytes));
        std::memcpy(table, source.m_colourTable, bytes);
        SetColourTable(table, source.m_colourTableCount);
    }
    // Bits never allocated are all zero, as ours will be.
    if (source.IsCreated() && (source.m_bits || !source.IsLoaded()))
        const_cast<CxDrawSurface&>(source).CopyBitsTo(*this);
    return m_error;
}

CxDrawSurface* CxDrawSurface::CreateSurface(const CxRect* rect)
{
    if (m_error)
        return nullptr;
    const CxRect area = rect ? *rect : GetRect();
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate a new CxDrawSurface");
        return nullptr;
    }
    const int64_t width = area.Width(), height = area.Height();
    if (width > INT32_MAX || height > INT32_MAX ||
        surface->Create(static_cast<int32_t>(width), static_cast<int32_t>(height), m_depth, -1, nullptr,
                        m_depth > 8 ? m_format.layout : uint8_t{PIM_LAYOUT_DEFAULT}) != PIM_OK) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "CreateSurface() failed");
        return surface;
    }
    surface->SetPalette(GetPalette(), kPaletteBytes);
    if (m_colourTable && m_colourTableCount > 0) {
        const size_t bytes = sizeof(uint16_t) * static_cast<size_t>(m_colourTableCount);
        auto* table = static_cast<uint16_t*>(AllocateQuietly(bytes, __FILE__, __LINE__, false));
        if (table) {
            std::memcpy(table, m_colourTable, bytes);
            surface->SetColourTable(table, m_colourTableCount);
        }
    }

    // Both surfaces have one format, so a plain copy of the covered pixels is
    // what a keyless draw would give, and exact even where a palette repeats
    // a colour.
    const CxRect covered = area.Intersection(GetRect());
    if (covered.IsEmpty())
        return surface;
    ScopedBits from(*this, true);
    ScopedBits to(*surface);
    if (!from || !to) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "CreateSurface() failed");
        return surface;
    }
    const int32_t dx = covered.left - area.left;
    for (int32_t y = covered.top; y <= covered.bottom; ++y) {
        const uint8_t* src = from.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
        uint8_t* dst = to.Get() + static_cast<ptrdiff_t>(y - area.top) * surface->m_pitch;
        if (m_depth >= 8) {
            std::memcpy(dst + RunBytes(m_depth, dx), src + RunBytes(m_depth, covered.left),
                        RunBytes(m_depth, covered.Width()));
        } else {
            for (int32_t x = covered.left; x <= covered.right; ++x)
                WritePixel(dst, x - area.left, m_depth, ReadPixel(src, x, m_depth));
        }
    }
    return surface;
}

int CxDrawSurface::Load(const char* fileName, int argument)
{
    if (!fileName)
        return SetError(PIM_ERR_BAD_ARG, "Load: no file name");
    const ST_IMAGE_HOOKS& hooks = GetImageHooks();
    if (!hooks.load)
        return SetError(PIM_ERR_FILE_TYPE, "Invalid file type: %s", fileName);
    const int code = hooks.load(*this, fileName, argument);
    if (code == PIM_OK)
        m_name = fileName;
    else if (m_error == PIM_OK)
        m_error = code; // the loader has reported it
    return code != PIM_OK ? code : m_error;
}

int CxDrawSurface::Save(const char* fileName, int argument)
{
    if (!fileName)
        return SetError(PIM_ERR_BAD_ARG, "Save: no file name");
    const ST_IMAGE_HOOKS& hooks = GetImageHooks();
    if (!hooks.save)
        return SetError(PIM_ERR_FILE_TYPE, "Invalid file type: %s", fileName);
    const int code = hooks.save(*this, fileName, argument);
    if (code != PIM_OK && m_error == PIM_OK)
        m_error = code;
    return code != PIM_OK ? code : m_error;
}

// --- bits ----------------------------------------------------------------------------------------

uint8_t* CxDrawSurface::LockBits()
{
    MarkPixelsChanged();
    return LockBitsAsIs();
}

uint8_t* CxDrawSurface::LockBitsAsIs()
{
    const int restored = Use();
    if (restored != PIM_OK) {
        SetError(restored, "Unable to restore the bits of surface '%s'", m_name.GetText());
        return nullptr;
    }
    Lock();
    ++m_lockDepth;
    // A surface with an error does nothing, and an allocation that failed
    // once is reported once rather than on every later operation.
    if (!m_bits && !HasExternalBits() && IsCreated() && m_bitsSize > 0 && m_error == PIM_OK) {
        m_bits = AllocateQuietly(m_bitsSize, __FILE__, __LINE__, true);
        if (!m_bits)
            SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %ld bytes for m_pBits", static_cast<long>(m_bitsSize));
    }
    if (!m_bits) {
        UnlockBits();
        return nullptr;
    }
    return static_cast<uint8_t*>(m_bits);
}

void CxDrawSurface::UnlockBits()
{
    if (m_lockDepth <= 0)
        return;
    --m_lockDepth;
    Unlock();
}

CxRect CxDrawSurface::ClipToSurface(const CxRect* rect) const
{
    return rect ? rect->Intersection(GetRect()) : GetRect();
}

int CxDrawSurface::CopyBitsTo(CxDrawSurface& destination)
{
    if (&destination == this)
        return m_error;
    const int64_t mine = int64_t{m_pitch} * m_height;
    const int64_t theirs = int64_t{destination.m_pitch} * destination.m_height;
    if (mine != theirs)
        return SetError(PIM_ERR_BAD_ARG, "CopyBitsTo: %ld bytes do not fit %ld bytes", static_cast<long>(mine),
                        static_cast<long>(theirs));
    if (mine == 0)
        return m_error;
    ScopedBits from(*this, true);
    ScopedBits to(destination);
    if (from && to)
        std::memcpy(to.Get(), from.Get(), static_cast<size_t>(mine));
    return m_error;
}

// --- attributes, palette, colour table -------------------------------------------------------

int CxDrawSurface::SetPixelLayout(uint8_t layout)
{
    if (!IsValidLayout(layout))
        return SetError(PIM_ERR_BAD_ARG, "Invalid pixel layout %d", layout);
    m_format.depth = m_depth;
    m_format.layout = ResolveLayout(layout, m_depth);
    SetChannelWidths(m_format);
    MarkPixelsChanged();
    return m_error;
}

void CxDrawSurface::SetPalette(const uint8_t* bytes, size_t length)
{
    if (bytes && bytes != GetPalette())
        std::memcpy(m_palette, bytes, std::min(length, kPaletteBytes));
    FreePaletteLookup();
    MarkPixelsChanged();
}

int CxDrawSurface::RemapToPalette(const uint8_t* palette)
{
    if (!palette)
        return SetError(PIM_ERR_BAD_ARG, "RemapToPalette: no palette");
    if (m_depth != 8 || m_error)
        return m_error;
    // Every pixel with one index maps the same way: decide once per index.
    const auto* entries = reinterpret_cast<const ST_RGB*>(palette);
    uint8_t map[256];
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<uint8_t>(
            NearestPaletteIndex(entries, 256, m_palette[i].red, m_palette[i].green, m_palette[i].blue));
    ScopedBits bits(*this);
    if (bits) {
        for (int32_t y = 0; y < m_height; ++y) {
            uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
            for (int32_t x = 0; x < m_width; ++x)
                row[x] = map[row[x]];
        }
    }
    SetPalette(palette, kPaletteBytes);
    return m_error;
}

int CxDrawSurface::BuildPalette(uint8_t* out, bool fromDefault, int colours)
{
    if (!out)
        return SetError(PIM_ERR_BAD_ARG, "BuildPalette: no palette to fill");
    const ST_IMAGE_HOOKS& hooks = GetImageHooks();
    if (hooks.buildPalette)
        return hooks.buildPalette(*this, out, fromDefault, colours);
    // Without the image code there is nothing to choose colours with: the
    // palette this surface already has (or the default one) stands.
    std::memcpy(out, fromDefault ? reinterpret_cast<const uint8_t*>(DefaultPalette()) : GetPalette(), kPaletteBytes);
    return m_error;
}

void CxDrawSurface::SplitPixel(uint32_t value, uint8_t* alpha, uint8_t* red, uint8_t* green, uint8_t* blue) const
{
    const ST_ARGB c = ::SplitPixel(m_format, value);
    if (alpha)
        *alpha = c.alpha;
    if (red)
        *red = c.red;
    if (green)
        *green = c.green;
    if (blue)
        *blue = c.blue;
}

uint32_t CxDrawSurface::PaletteIndexToPixel(int index) const
{
    if (index < 0 || index > 255)
        return 0;
    const ST_RGB& c = m_palette[index];
    const int r = m_format.redBits, g = m_format.greenBits, b = m_format.blueBits;
    auto narrow = [](uint8_t v, int bits) { return bits <= 0 ? 0u : static_cast<uint32_t>(v) >> (8 - bits); };
    return (narrow(c.red, r) << (g + b)) | (narrow(c.green, g) << b) | narrow(c.blue, b);
}

uint32_t CxDrawSurface::MakeColour(uint8_t red, uint8_t green, uint8_t blue) const
{
    return ::MakeColour(m_format, red, green, blue);
}

int CxDrawSurface::BuildPaletteLookup(uint8_t layout)
{
    if (m_depth < 1 || m_depth > 8)
        return SetError(PIM_ERR_BAD_ARG, "BuildPaletteLookup: a %d-bit surface has no palette", m_depth);
    FreePaletteLookup();
    const size_t count = size_t{1} << m_depth;
    auto* lookup = static_cast<uint16_t*>(AllocateQuietly(count * sizeof(uint16_t), __FILE__, __LINE__, false));
    if (!lookup)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %ld bytes for the palette lookup",
                        static_cast<long>(count * sizeof(uint16_t)));
    const Fields16 f = FieldsForLayout(layout);
    for (size_t i = 0; i < count; ++i) {
        const ST_RGB& c = m_palette[i];
        lookup[i] = static_cast<uint16_t>(((uint32_t{c.red} >> (8 - f.redBits)) << f.redShift) |
                                          ((uint32_t{c.green} >> (8 - f.greenBits)) << f.greenShift) |
                                          ((uint32_t{c.blue} >> (8 - f.blueBits)) << f.blueShift));
    }
    m_paletteLookup = lookup;
    m_lookupLayout = layout;
    return m_error;
}

void CxDrawSurface::FreePaletteLookup()
{
    Free(m_paletteLookup);
    m_paletteLookup = nullptr;
    m_lookupLayout = 0;
}

const uint16_t* CxDrawSurface::GetPaletteLookup(uint8_t layout)
{
    // Asking is not an error for a surface without a palette.
    if (m_depth < 1 || m_depth > 8)
        return nullptr;
    if (m_paletteLookup && m_lookupLayout == layout)
        return m_paletteLookup;
    if (BuildPaletteLookup(layout) != PIM_OK)
        return nullptr;
    return m_paletteLookup;
}

int CxDrawSurface::SetColourTable(uint16_t* table, int count)
{
    if (count < 0 || count > PIM_MAX_COLOUR_TABLE || (!table && count > 0)) {
        Free(table); // ours to dispose of, even when refused
        return SetError(PIM_ERR_BAD_ARG, "SetColourTable: %d entries", count);
    }
    if (table != m_colourTable)
        Free(m_colourTable);
    m_colourTable = table;
    m_colourTableCount = table ? count : 0;
    SyncFormat();
    MarkPixelsChanged();
    return m_error;
}

// --- formats -------------------------------------------------------------------------------------

int CxDrawSurface::ConvertFormat(int depth, uint8_t layout)
{
    if (!IsValidDepth(depth) || !IsValidLayout(layout))
        return SetError(PIM_ERR_BAD_ARG, "ConvertFormat: invalid format %d bits, layout %d", depth, layout);
    if (m_error || !IsCreated())
        return m_error;
    const uint8_t wanted = ResolveLayout(depth == 16 ? layout : uint8_t{PIM_LAYOUT_DEFAULT}, depth);
    if (depth == m_depth && wanted == m_format.layout)
        return m_error;

    CxDrawSurface copy;
    if (copy.CreateCopy(*this) != PIM_OK)
        return SetError(copy.GetError(), "ConvertFormat: the surface could not be copied");
    ScopedBits old(copy);
    if (!old && copy.GetBitsSize() > 0)
        return SetError(copy.GetError() ? copy.GetError() : PIM_ERR_OUT_OF_MEMORY,
                        "ConvertFormat: the surface could not be copied");

    // Create keeps the palette, the name, the key and the user flags.
    if (Create(m_width, m_height, depth, -1, nullptr, depth == 16 ? layout : uint8_t{PIM_LAYOUT_DEFAULT}) != PIM_OK)
        return m_error;
    SetPalette(copy.GetPalette(), kPaletteBytes);
    if (depth <= 8) {
        uint8_t palette[kPaletteBytes];
        std::memcpy(palette, copy.GetPalette(), kPaletteBytes);
        copy.BuildPalette(palette, false, 1 << depth);
        SetPalette(palette, kPaletteBytes);
    }
    if (m_format.layout == PIM_LAYOUT_TABLE) {
        auto* table = static_cast<uint16_t*>(
            Allocate(PIM_MAX_COLOUR_TABLE * sizeof(uint16_t), __FILE__, __LINE__, true));
        if (!table)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %ld bytes for the colour table",
                            static_cast<long>(PIM_MAX_COLOUR_TABLE * sizeof(uint16_t)));
        int count = 0;
        const ST_IMAGE_HOOKS& hooks = GetImageHooks();
        if (hooks.buildColourTable) {
            // The table holds as many colours as the builder chose.
            count = std::clamp(hooks.buildColourTable(copy, table, PIM_MAX_COLOUR_TABLE), 0, PIM_MAX_COLOUR_TABLE);
        } else if (old) {
            // No image code to choose colours: the distinct colours met, in
            // the order met, until the table is full.
            uint8_t seen[65536 / 8] = {};
            for (int32_t y = 0; y < m_height && count < PIM_MAX_COLOUR_TABLE; ++y) {
                const uint8_t* row = old.Get() + static_cast<ptrdiff_t>(y) * copy.GetPitch();
                for (int32_t x = 0; x < m_width && count < PIM_MAX_COLOUR_TABLE; ++x) {
                    const ST_ARGB c = ::SplitPixel(copy.GetFormat(), ReadPixel(row, x, copy.GetDepth()));
                    if (c.alpha == 0)
                        continue; // drawn as 0 whatever the table holds
                    const uint16_t entry = TableEntryFor(c);
                    const auto bit = static_cast<uint8_t>(1u << (entry & 7));
                    if (!(seen[entry >> 3] & bit)) {
                        seen[entry >> 3] |= bit;
                        table[count++] = entry;
                    }
                }
            }
        }
        SetColourTable(table, count);
    }
    if (!old)
        return m_error;

    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    NearestMemo memo;
    const ST_PIXEL_FORMAT& from = copy.GetFormat();
    const ST_PIXEL_FORMAT& to = m_format;
    // Big pictures of many colours (photographs) pay for a search structure;
    // small ones are served by the memo alone.
    CxNearestPaletteSearch search;
    const bool useSearch = to.depth <= 8 && int64_t{m_width} * m_height >= kSearchWorthPixels &&
                           search.Build(to.palette, 1 << to.depth);
    auto nearestEntry = [&](uint8_t r, uint8_t g, uint8_t b) {
        return useSearch ? search.Find(r, g, b) : NearestPaletteIndex(to.palette, 1 << to.depth, r, g, b);
    };
    auto nearestIndex = [&](uint8_t r, uint8_t g, uint8_t b) {
        return NearestTableIndex(to.colourTable, to.colourTableCount, r, g, b);
    };
    for (int32_t y = 0; y < m_height; ++y) {
        const uint8_t* src = old.Get() + static_cast<ptrdiff_t>(y) * copy.GetPitch();
        uint8_t* dst = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
        for (int32_t x = 0; x < m_width; ++x) {
            const ST_ARGB c = ::SplitPixel(from, ReadPixel(src, x, from.depth));
            // The same answers PackPixel gives, with the searches memoised.
            uint32_t value;
            if (to.depth <= 8) {
                value = memo.Find(c.red, c.green, c.blue, nearestEntry);
            } else if (to.depth == 16 && to.layout == PIM_LAYOUT_TABLE) {
                value = 0;
                if (c.alpha != 0)
                    value = ((uint32_t{c.alpha} >> 4) << 12) | (memo.Find(c.red, c.green, c.blue, nearestIndex) & 0x0FFF);
            } else {
                value = PackPixel(to, c);
            }
            WritePixel(dst, x, to.depth, value);
        }
    }
    return m_error;
}

int CxDrawSurface::ConvertLayout16(uint8_t layout)
{
    if (!IsValidLayout(layout))
        return SetError(PIM_ERR_BAD_ARG, "ConvertLayout16: invalid layout %d", layout);
    if (m_depth != 16 || m_error)
        return m_error;
    const uint8_t wanted = ResolveLayout(layout, 16);
    if (wanted == m_format.layout)
        return m_error;
    // Alpha and table layouts do not split into three colour fields; the
    // full conversion handles them.
    if (!IsPlain16(wanted) || !IsPlain16(m_format.layout))
        return ConvertFormat(16, wanted);

    const Fields16 from =
        FieldsFor(m_format.layout, m_format.redBits, m_format.greenBits, m_format.blueBits);
    const Fields16 to = FieldsForLayout(wanted);
    ScopedBits bits(*this);
    if (bits) {
        for (int32_t y = 0; y < m_height; ++y) {
            uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
            for (int32_t x = 0; x < m_width; ++x) {
                const uint32_t v = ReadPixel(row, x, 16);
                const uint32_t r = (v >> from.redShift) & ((1u << from.redBits) - 1);
                const uint32_t g = (v >> from.greenShift) & ((1u << from.greenBits) - 1);
                const uint32_t b = (v >> from.blueShift) & ((1u << from.blueBits) - 1);
                WritePixel(row, x, 16,
                           (Rescale(r, from.redBits, to.redBits) << to.redShift) |
                               (Rescale(g, from.greenBits, to.greenBits) << to.greenShift) |
                               (Rescale(b, from.blueBits, to.blueBits) << to.blueShift));
            }
        }
    }
    return SetPixelLayout(wanted);
}

int CxDrawSurface::ConvertToPreferredLayout()
{
    // No screen has said what it prefers: nothing to convert to.
    const uint8_t preferred = GetPreferredLayout16();
    if (preferred == PIM_LAYOUT_DEFAULT)
        return m_error;
    return ConvertLayout16(preferred);
}

int CxDrawSurface::PackRows()
{
    if (m_depth < 8 || m_error)
        return m_error;
    const int64_t rowBytes = int64_t{m_width} * (m_depth / 8);
    if (m_pitch <= rowBytes)
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    for (int32_t y = 1; y < m_height; ++y)
        std::memmove(bits.Get() + y * rowBytes, bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch,
                     static_cast<size_t>(rowBytes));
    m_pitch = static_cast<int32_t>(rowBytes);
    // The block stays as allocated; only the packed part is ever swapped.
    m_bitsSize = static_cast<size_t>(rowBytes * m_height);
    return m_error;
}

// --- drawing this surface somewhere --------------------------------------------------------------

int CxDrawSurface::DrawSurface(CxSurfaceBase* source, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                               const ST_DRAW_PARAMS* params)
{
    CxDrawSurface* surface = source ? source->AsDrawSurface() : nullptr;
    if (!surface)
        return SetError(PIM_ERR_BAD_ARG, "DrawSurface: the source is not a draw surface");
    return surface->BlitAt(*this, x, y, sourceRect, key, params);
}

int CxDrawSurface::DrawSurface(CxSurfaceBase* source, const CxRect* destinationRect, const CxRect* sourceRect,
                               uint32_t key, const ST_DRAW_PARAMS* params)
{
    CxDrawSurface* surface = source ? source->AsDrawSurface() : nullptr;
    if (!surface)
        return SetError(PIM_ERR_BAD_ARG, "DrawSurface: the source is not a draw surface");
    return surface->Blit(*this, destinationRect, sourceRect, key, params);
}

int CxDrawSurface::DrawAt(CxRenderTarget& target, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                          const ST_DRAW_PARAMS* params)
{
    const CxRect destination = PlacedRect(x, y, sourceRect, m_width, m_height);
    return DrawOnto(target, &destination, sourceRect, key, params);
}

int CxDrawSurface::DrawOnto(CxRenderTarget& target, const CxRect* destinationRect, const CxRect* sourceRect,
                            uint32_t key, const ST_DRAW_PARAMS* params)
{
    return target.DrawSurface(this, destinationRect, sourceRect, key, params);
}

int CxDrawSurface::BlitAt(CxDrawSurface& destination, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                          const ST_DRAW_PARAMS* params)
{
    const CxRect destinationRect = PlacedRect(x, y, sourceRect, m_width, m_height);
    return Blit(destination, &destinationRect, sourceRect, key, params);
}

// --- pixels --------------------------------------------------------------------------------------

uint32_t CxDrawSurface::GetPixel(int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    ScopedBits bits(*this, true);
    if (!bits)
        return 0;
    return ReadPixel(bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch, x, m_depth);
}

uint8_t CxDrawSurface::GetRed(int32_t x, int32_t y)
{
    return ::SplitPixel(m_format, GetPixel(x, y)).red;
}

uint8_t CxDrawSurface::GetGreen(int32_t x, int32_t y)
{
    return ::SplitPixel(m_format, GetPixel(x, y)).green;
}

uint8_t CxDrawSurface::GetBlue(int32_t x, int32_t y)
{
    return ::SplitPixel(m_format, GetPixel(x, y)).blue;
}

void CxDrawSurface::SetPixel(int32_t x, int32_t y, uint32_t value)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_error)
        return;
    ScopedBits bits(*this);
    if (bits)
        WritePixel(bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch, x, m_depth, value);
}

// --- statistics ----------------------------------------------------------------------------------

int CxDrawSurface::CountColours()
{
    if (m_width <= 0 || m_height <= 0 || m_error)
        return 0;
    // 32-bit surfaces are counted on their colour bits: a full 2^32 set
    // would take 512 MB.
    const int valueBits = std::min(m_depth, 24);
    const uint32_t mask = (1u << valueBits) - 1;
    const size_t setBytes = (size_t{1} << valueBits) / 8 + 1;
    auto* set = static_cast<uint8_t*>(Allocate(setBytes, __FILE__, __LINE__, true));
    if (!set) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "CountColours: could not allocate %ld bytes", static_cast<long>(setBytes));
        return 0;
    }
    int count = 0;
    ScopedBits bits(*this, true);
    if (bits) {
        for (int32_t y = 0; y < m_height; ++y) {
            const uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
            for (int32_t x = 0; x < m_width; ++x) {
                const uint32_t v = ReadPixel(row, x, m_depth) & mask;
                const auto bit = static_cast<uint8_t>(1u << (v & 7));
                if (!(set[v >> 3] & bit)) {
                    set[v >> 3] |= bit;
                    ++count;
                }
            }
        }
    }
    Free(set);
    return count;
}

int CxDrawSurface::CountPixelsOfValue(uint32_t value)
{
    ScopedBits bits(*this, true);
    if (!bits)
        return 0;
    int count = 0;
    for (int32_t y = 0; y < m_height; ++y) {
        const uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
        for (int32_t x = 0; x < m_width; ++x)
            count += ReadPixel(row, x, m_depth) == value;
    }
    return count;
}

int CxDrawSurface::FindPixel(uint32_t value, int32_t& x, int32_t& y)
{
    int32_t fromX = std::max(x, 0);
    int32_t fromY = std::max(y, 0);
    if (fromX >= m_width) {
        // Past the end of its row: the search goes on from the next one.
        fromX = 0;
        if (fromY < INT32_MAX)
            ++fromY;
    }
    if (fromY >= m_height || m_width <= 0)
        return 0;
    ScopedBits bits(*this, true);
    if (!bits)
        return 0;
    for (int32_t py = fromY; py < m_height; ++py) {
        const uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(py) * m_pitch;
        for (int32_t px = py == fromY ? fromX : 0; px < m_width; ++px) {
            if (ReadPixel(row, px, m_depth) == value) {
                x = px;
                y = py;
                return 1;
            }
        }
    }
    return 0;
}
