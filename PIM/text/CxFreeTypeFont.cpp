// FreeType fonts: the shared library, face loading, the glyph cache and the
// two ways a glyph reaches a surface (1-bit through the palette, 8-bit grey
// through a blending draw routine).

#include "PIM/text/CxFreeTypeFont.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_MODULE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// --- the shared library -------------------------------------------------------------------------

void* FtAlloc(FT_Memory, long size)
{
    if (size <= 0)
        return nullptr;
    // FreeType answers a failed allocation with its own error code, which
    // the font reports with its own message.
    return AllocateQuietly(static_cast<size_t>(size), __FILE__, __LINE__, false);
}

void FtFree(FT_Memory, void* block)
{
    Free(block);
}

void* FtRealloc(FT_Memory, long, long newSize, void* block)
{
    if (newSize <= 0)
        return nullptr;
    return Reallocate(block, static_cast<size_t>(newSize));
}

FT_MemoryRec_ g_memory = {nullptr, &FtAlloc, &FtFree, &FtRealloc};
FT_Library g_library = nullptr;
int g_libraryUsers = 0;

FT_Library AcquireLibrary()
{
    if (!g_library) {
        FT_Library library = nullptr;
        if (FT_New_Library(&g_memory, &library) != 0)
            return nullptr;
        FT_Add_Default_Modules(library);
        g_library = library;
    }
    ++g_libraryUsers;
    return g_library;
}

void ReleaseLibrary()
{
    if (g_libraryUsers <= 0)
        return;
    if (--g_libraryUsers == 0) {
        FT_Done_Library(g_library);
        g_library = nullptr;
    }
}

// --- glyph bits -------------------------------------------------------------------------------

// A rendered glyph larger than this (either side) is refused: it can only
// come from a face whose outlines or metrics are nonsense, and rendering it
// would allocate without bound.
int MaxGlyphSide(int pixelSize)
{
    return std::max(256, 4 * pixelSize);
}

// The coverage (0..255) of pixel x in a FreeType bitmap row.
uint8_t Coverage(const FT_Bitmap& bitmap, const uint8_t* row, unsigned x)
{
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
        return ((row[x >> 3] >> (7 - (x & 7))) & 1u) ? 255 : 0;
    case FT_PIXEL_MODE_GRAY2:
        return static_cast<uint8_t>(((row[x >> 2] >> (6 - 2 * (x & 3))) & 3u) * 85);
    case FT_PIXEL_MODE_GRAY4:
        return static_cast<uint8_t>(((x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4)) * 17);
    case FT_PIXEL_MODE_BGRA:
        return row[4 * x + 3];
    case FT_PIXEL_MODE_GRAY:
    default: {
        // num_grays is 256 for everything FreeType renders itself; embedded
        // grey bitmaps may use fewer levels.
        const unsigned levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1u : 255u;
        const unsigned value = std::min<unsigned>(row[x], levels);
        return static_cast<uint8_t>(levels == 255 ? value : value * 255 / levels);
    }
    }
}

bool IsKnownPixelMode(unsigned char mode)
{
    return mode == FT_PIXEL_MODE_MONO || mode == FT_PIXEL_MODE_GRAY || mode == FT_PIXEL_MODE_GRAY2 ||
           mode == FT_PIXEL_MODE_GRAY4 || mode == FT_PIXEL_MODE_BGRA;
}

// Copies a FreeType bitmap into a packed surface, row by row: FreeType rows
// are padded to its own pitch, and a negative pitch means the rows are
// stored bottom-up (the buffer starts at the last row).
CxDrawSurface* CopyGlyphBits(const FT_Bitmap& bitmap)
{
    const auto width = static_cast<int32_t>(bitmap.width);
    const auto rows = static_cast<int32_t>(bitmap.rows);
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    auto* image = new CxDrawSurface;
    if (!image)
        return nullptr;
    if (image->Create(width, rows, mono ? 1 : 8) != PIM_OK || !image->LockBits()) {
        delete image;
        return nullptr;
    }
    const ptrdiff_t pitch = bitmap.pitch;
    const uint8_t* top = bitmap.buffer;
    if (pitch < 0)
        top -= pitch * static_cast<ptrdiff_t>(rows - 1);
    const size_t monoBytes = (static_cast<size_t>(width) + 7) / 8;
    for (int32_t y = 0; y < rows; ++y) {
        const uint8_t* from = top + pitch * y;
        uint8_t* to = image->GetRawPixelAddress(0, y);
        if (mono) {
            std::memcpy(to, from, monoBytes);
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256) {
            std::memcpy(to, from, static_cast<size_t>(width));
        } else {
            for (int32_t x = 0; x < width; ++x)
                to[x] = Coverage(bitmap, from, static_cast<unsigned>(x));
        }
    }
    image->UnlockBits();
    return image;
}

// --- drawing grey glyphs ------------------------------------------------------------------------

enum : int32_t
{
    kBlendCoverage = 1, // blend by the grey level; otherwise half coverage or more is solid
};

ST_PIXEL_FORMAT ResolvedFormat(const CxDrawSurface& surface)
{
    ST_PIXEL_FORMAT f = surface.GetFormat();
    f.depth = surface.GetDepth();
    if (f.layout == PIM_LAYOUT_DEFAULT) {
        f.layout = ResolveLayout(f.layout, f.depth);
        SetChannelWidths(f);
    }
    if (f.depth <= 8 && !f.palette)
        f.palette = surface.GetPaletteEntries();
    return f;
}

uint8_t Mix(int old, int ink, int grey)
{
    return static_cast<uint8_t>((old * (255 - grey) + ink * grey + 127) / 255);
}

// Draw mode 19 routine: the glyph's grey level g is the opacity of the
// colour (argument 2, red x 65536 + green x 256 + blue) over each target
// pixel. The rectangles are the same size (glyphs are never stretched).
int BlendGreyGlyph(CxDrawSurface& source, CxDrawSurface& destination, const CxRect& destinationRect,
                   const CxRect& sourceRect, uint32_t, int32_t colour, int32_t options)
{
    const ST_PIXEL_FORMAT df = ResolvedFormat(destination);
    const ST_ARGB ink{255, static_cast<uint8_t>((colour >> 16) & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
                      static_cast<uint8_t>(colour & 0xFF)};
    const uint32_t solid = PackPixel(df, ink);
    const bool blend = (options & kBlendCoverage) != 0;
    const int32_t width = std::min(destinationRect.Width(), sourceRect.Width());
    const int32_t height = std::min(destinationRect.Height(), sourceRect.Height());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = source.GetRawPixelAddress(sourceRect.left, sourceRect.top + y);
        uint8_t* row = destination.GetRawPixelAddress(0, destinationRect.top + y);
        for (int32_t x = 0; x < width; ++x) {
            const int grey = from[x];
            if (grey == 0)
                continue;
            const int dx = destinationRect.left + x;
            if (grey == 255 || !blend) {
                if (grey >= 128)
                    WritePixel(row, dx, df.depth, solid);
                continue;
            }
            const ST_ARGB old = SplitPixel(df, ReadPixel(row, dx, df.depth));
            const ST_ARGB out{255, Mix(old.red, ink.red, grey), Mix(old.green, ink.green, grey),
                              Mix(old.blue, ink.blue, grey)};
            WritePixel(row, dx, df.depth, PackPixel(df, out));
        }
    }
    return PIM_OK;
}

int ClampToInt(int64_t value, int64_t limit)
{
    return static_cast<int>(std::clamp<int64_t>(value, -limit, limit));
}

} // namespace

// --- CxFreeTypeFont -----------------------------------------------------------------------------

CxFreeTypeFont::~CxFreeTypeFont()
{
    Unload();
}

int CxFreeTypeFont::GetLibraryUsers()
{
    return g_libraryUsers;
}

int CxFreeTypeFont::Load(const char* fileName)
{
    Unload();
    const char* name = fileName ? fileName : "";
    const int64_t size = fileName ? FsGetSize(fileName) : -1;
    if (size > static_cast<int64_t>(PIM_MAX_FONT_FILE_SIZE))
        return SetError(PIM_ERR_OPEN, "Unable to load font: %s", name);
    CxBuffer bytes;
    if (!fileName || LoadFile(fileName, bytes) != PIM_OK || bytes.GetSize() > PIM_MAX_FONT_FILE_SIZE)
        return SetError(PIM_ERR_OPEN, "Unable to load font: %s", name);
    return LoadFromMemory(bytes.GetData(), bytes.GetSize(), name);
}

int CxFreeTypeFont::LoadFromMemory(const uint8_t* data, size_t size, const char* name)
{
    Unload();
    ClearError();
    if (!name)
        name = "";
    if (size > PIM_MAX_FONT_FILE_SIZE || (size > 0 && !data))
        return SetError(PIM_ERR_OPEN, "Unable to load font: %s", name);
    if (!m_fileData.Resize(size))
        return SetError(PIM_ERR_OPEN, "Unable to load font: %s", name);
    if (size > 0)
        std::memcpy(m_fileData.GetData(), data, size);

    FT_Library library = AcquireLibrary();
    if (!library) {
        m_fileData.Release();
        return SetError(PIM_ERR_OPEN, "Unable to create font from buffer: %s", name);
    }
    FT_Face face = nullptr;
    if (size == 0 ||
        FT_New_Memory_Face(library, m_fileData.GetData(), static_cast<FT_Long>(size), 0, &face) != 0 || !face) {
        ReleaseLibrary();
        m_fileData.Release();
        return SetError(PIM_ERR_OPEN, "Unable to create font from buffer: %s", name);
    }
    m_face = face;
    m_faceSize = 0;
    return PIM_OK;
}

void CxFreeTypeFont::Unload()
{
    FlushGlyphCache();
    if (m_face) {
        FT_Done_Face(m_face);
        m_face = nullptr;
        ReleaseLibrary();
    }
    m_fileData.Release();
    m_faceSize = 0;
}

void CxFreeTypeFont::FreeGlyph(ST_GLYPH& entry)
{
    if (entry.glyph)
        FT_Done_Glyph(entry.glyph);
    delete entry.image;
    entry = ST_GLYPH();
}

void CxFreeTypeFont::FlushGlyphCache()
{
    for (int i = 0; i < m_glyphCount; ++i)
        FreeGlyph(m_glyphs[i]);
    m_glyphCount = 0;
}

void CxFreeTypeFont::SetMonochrome(bool monochrome)
{
    if (monochrome != m_monochrome) {
        FlushGlyphCache();
        m_monochrome = monochrome;
    }
}

int CxFreeTypeFont::PixelSize(int size)
{
    return std::min(ResolveSize(size), PIM_MAX_FONT_SIZE);
}

bool CxFreeTypeFont::SelectSize(int size)
{
    if (!m_face)
        return false;
    if (m_faceSize == size)
        return true;
    m_faceSize = 0;
    if (FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(size)) != 0) {
        // A face of bitmap strikes only: the strike nearest the size.
        if (m_face->num_fixed_sizes <= 0 || !m_face->available_sizes)
            return false;
        int best = 0;
        for (int i = 1; i < m_face->num_fixed_sizes; ++i)
            if (std::abs(m_face->available_sizes[i].height - size) < std::abs(m_face->available_sizes[best].height - size))
                best = i;
        if (FT_Select_Size(m_face, best) != 0)
            return false;
    }
    m_faceSize = size;
    return true;
}

int CxFreeTypeFont::GetLineHeight(int size)
{
    const int pixels = PixelSize(size);
    if (!SelectSize(pixels))
        return pixels;
    return ClampToInt(m_face->size->metrics.height >> 6, 0x7FFF);
}

bool CxFreeTypeFont::IsGlyphCached(uint32_t code, int size) const
{
    const int pixels = std::min(size > 0 ? size : PIM_FREETYPE_NATIVE_SIZE, PIM_MAX_FONT_SIZE);
    for (int i = 0; i < m_glyphCount; ++i)
        if (m_glyphs[i].code == code && m_glyphs[i].size == pixels)
            return true;
    return false;
}

int CxFreeTypeFont::RenderGlyph(uint32_t code, int size, ST_GLYPH& out)
{
    if (!SelectSize(size))
        return PIM_ERR_UNKNOWN;
    // Index 0 is the face's "missing glyph" box: the character is not there.
    const FT_UInt index = FT_Get_Char_Index(m_face, code);
    if (index == 0)
        return PIM_ERR_UNKNOWN;
    const FT_Int32 loadFlags = m_monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT;
    if (FT_Load_Glyph(m_face, index, loadFlags) != 0)
        return PIM_ERR_UNKNOWN;
    FT_GlyphSlot slot = m_face->glyph;
    const int maxSide = MaxGlyphSide(size);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        if ((box.xMax - box.xMin) / 64 > maxSide || (box.yMax - box.yMin) / 64 > maxSide)
            return PIM_ERR_UNKNOWN;
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, m_monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return PIM_ERR_UNKNOWN;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP)
        return SetError(PIM_ERR_UNKNOWN, "Unknown glyph format");
    const FT_Bitmap& bitmap = slot->bitmap;
    if (!IsKnownPixelMode(bitmap.pixel_mode))
        return SetError(PIM_ERR_UNKNOWN, "Unknown glyph format");
    if (bitmap.width > static_cast<unsigned>(maxSide) || bitmap.rows > static_cast<unsigned>(maxSide))
        return PIM_ERR_UNKNOWN;

    FT_Glyph glyph = nullptr;
    if (FT_Get_Glyph(slot, &glyph) != 0 || !glyph)
        return PIM_ERR_UNKNOWN;
    out.glyph = glyph;
    out.code = code;
    out.size = size;
    out.left = ClampToInt(slot->bitmap_left, 0x7FFF);
    out.top = ClampToInt(slot->bitmap_top, 0x7FFF);
    out.advance = ClampToInt(slot->advance.x >> 6, 0x7FFF);
    out.monochrome = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    // The space and other blank glyphs have no bits at all.
    if (bitmap.width > 0 && bitmap.rows > 0 && bitmap.buffer) {
        out.image = CopyGlyphBits(bitmap);
        if (!out.image) {
            FreeGlyph(out);
            return PIM_ERR_OUT_OF_MEMORY;
        }
    }
    return PIM_OK;
}

void CxFreeTypeFont::NoteMissingGlyph(uint32_t code)
{
    // A text with characters the face lacks is drawn every frame: counting
    // each as an error would end the game over one credits line. The code
    // is kept and the first miss of each is traced.
    m_error = PIM_ERR_UNKNOWN;
    for (int i = 0; i < m_missingCount; ++i)
        if (m_missing[i] == code)
            return;
    if (m_missingCount < kMissingCodes)
        m_missing[m_missingCount++] = code;
    Trace("Unable to load glyph for '%08lx'\n", static_cast<unsigned long>(code));
}

const ST_GLYPH* CxFreeTypeFont::FindGlyph(uint32_t code, int size)
{
    const int pixels = PixelSize(size);
    int oldest = 0;
    for (int i = 0; i < m_glyphCount; ++i) {
        if (m_glyphs[i].code == code && m_glyphs[i].size == pixels)
            return &m_glyphs[i];
        if (m_glyphs[i].tick < m_glyphs[oldest].tick)
            oldest = i;
    }
    ST_GLYPH fresh;
    if (!m_face || RenderGlyph(code, pixels, fresh) != PIM_OK) {
        NoteMissingGlyph(code);
        return nullptr;
    }
    fresh.tick = ++m_created;
    int slot = m_glyphCount;
    if (m_glyphCount == PIM_GLYPH_CACHE_SIZE)
        FreeGlyph(m_glyphs[slot = oldest]);
    else
        ++m_glyphCount;
    m_glyphs[slot] = fresh;
    return &m_glyphs[slot];
}

int CxFreeTypeFont::MeasureChar(uint32_t code, int size)
{
    const ST_GLYPH* glyph = FindGlyph(code, size);
    return glyph ? glyph->advance : 0;
}

int CxFreeTypeFont::MeasureText(const char* text, int size)
{
    if (!text)
        return 0;
    const size_t length = std::strlen(text);
    int64_t width = 0;
    for (size_t at = 0; at < length;) {
        uint32_t code = 0;
        at += PimUtf8Decode(text + at, length - at, &code);
        // Broken bytes are measured as the replacement character, as the
        // text engine draws them.
        if (code >= 0xDC00 && code <= 0xDCFF)
            code = 0xFFFD;
        width += MeasureChar(code, size);
    }
    return ClampToInt(width, 0x7FFFFFFF);
}

int CxFreeTypeFont::DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t code, uint32_t colour, int size,
                             uint32_t, uint32_t flags)
{
    if (colour == PIM_NO_COLOUR)
        colour = 0;
    const int pixels = PixelSize(size);
    const ST_GLYPH* glyph = FindGlyph(code, pixels);
    if (!glyph)
        return 0;
    if (!glyph->image)
        return glyph->advance;

    const int lineHeight = GetLineHeight(pixels);
    // The face's box puts the baseline; a degenerate box (hostile or broken
    // files) puts it at the line's foot.
    const int64_t boxHeight = static_cast<int64_t>(m_face->bbox.yMax) - m_face->bbox.yMin;
    int64_t descent = 0;
    if (boxHeight > 0)
        descent = static_cast<int64_t>(std::trunc(static_cast<double>(lineHeight) * static_cast<double>(m_face->bbox.yMin) /
                                                  static_cast<double>(boxHeight)));
    descent = std::clamp<int64_t>(descent, -lineHeight, lineHeight);
    const int64_t left = static_cast<int64_t>(x) + glyph->left;
    const int64_t top = static_cast<int64_t>(y) + lineHeight + descent - glyph->top;
    if (left < INT32_MIN / 2 || left > INT32_MAX / 2 || top < INT32_MIN / 2 || top > INT32_MAX / 2)
        return glyph->advance;

    CxDrawSurface& image = *glyph->image;
    const uint8_t red = static_cast<uint8_t>((colour >> 16) & 0xFF);
    const uint8_t green = static_cast<uint8_t>((colour >> 8) & 0xFF);
    const uint8_t blue = static_cast<uint8_t>(colour & 0xFF);
    if (glyph->monochrome) {
        const uint8_t palette[6] = {static_cast<uint8_t>(~red), static_cast<uint8_t>(~green),
                                    static_cast<uint8_t>(~blue), red, green, blue};
        image.SetPalette(palette, sizeof palette);
        image.BlitAt(target, static_cast<int32_t>(left), static_cast<int32_t>(top), nullptr, 0, nullptr);
    } else {
        ST_DRAW_PARAMS params;
        params.mode = PIM_DRAW_ROUTINE;
        params.routine = &BlendGreyGlyph;
        params.argument2 = static_cast<int32_t>(colour & 0x00FFFFFFu);
        params.argument3 = (target.GetDepth() != 32 || (flags & PIM_TEXT_ALPHA32)) ? kBlendCoverage : 0;
        image.BlitAt(target, static_cast<int32_t>(left), static_cast<int32_t>(top), nullptr, PIM_NO_KEY, &params);
    }
    image.ClearError();
    return glyph->advance;
}

// --- factory ----------------------------------------------------------------------------------

CxFont* CreateFreeTypeFont(const char* fileName)
{
    auto* font = new CxFreeTypeFont;
    if (!font) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxFreeTypeFont");
        return nullptr;
    }
    if (font->Load(fileName) != PIM_OK) {
        delete font;
        return nullptr;
    }
    return font;
}

int RegisterFreeTypeFontFilter()
{
    return RegisterFontFilter(".ttf", &CreateFreeTypeFont);
}
