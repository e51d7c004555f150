#include "PIM/text/CxBitmapFont.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimTrace.h"
#include "PIM/text/PimText.h"

#include <climits>
#include <cstring>

namespace {

// Glyph codes are 16-bit: a wider strip keeps its first 65536 glyphs.
constexpr int kMaxGlyphs = 65536;

// GetPixel and SetPixel read 24-bit pixels with the first byte highest,
// while colour keys take it lowest; other depths agree.
uint32_t SwapFor24(int depth, uint32_t value)
{
    if (depth != 24)
        return value;
    return ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

} // namespace

CxBitmapFont::~CxBitmapFont()
{
    Unload();
}

void CxBitmapFont::Unload()
{
    m_strip.Destroy();
    Free(m_glyphs);
    m_glyphs = nullptr;
    m_glyphCount = 0;
    m_stripBytes = 0;
    m_nativeSize = 0;
    m_transparent = PIM_NO_KEY;
    m_tracedCount = 0;
}

int CxBitmapFont::Create(const CxDrawSurface& strip)
{
    Unload();
    if (!strip.IsCreated() || strip.GetWidth() <= 0 || strip.GetHeight() <= 0)
        return SetError(PIM_ERR_BAD_ARG, "A font strip needs a picture of at least one pixel");
    if (m_strip.CreateCopy(strip) != PIM_OK) {
        // The surface reported it already: one failure counts once.
        m_error = m_strip.GetError();
        m_strip.Destroy();
        return m_error;
    }
    const int32_t width = m_strip.GetWidth();
    const int depth = m_strip.GetDepth();
    const uint32_t marker = m_strip.GetPixel(0, 0);

    int count = 0;
    for (int32_t x = 0; x < width && count < kMaxGlyphs; ++x)
        if (m_strip.GetPixel(x, 0) == marker)
            ++count;
    m_glyphs = static_cast<ST_BITMAP_GLYPH*>(
        AllocateQuietly(sizeof(ST_BITMAP_GLYPH) * static_cast<size_t>(count), __FILE__, __LINE__, true));
    if (!m_glyphs) {
        m_strip.Destroy();
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate %d glyphs for a bitmap font", count);
    }

    bool haveBackground = false;
    uint32_t background = 0;
    int index = 0;
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t value = m_strip.GetPixel(x, 0);
        if (value != marker) {
            if (!haveBackground) {
                haveBackground = true;
                background = value;
            }
            continue;
        }
        if (index > 0)
            m_glyphs[index - 1].right = x - 1;
        if (index == count)
            break; // the glyph before the first one cut off keeps its end
        ST_BITMAP_GLYPH& glyph = m_glyphs[index];
        glyph = ST_BITMAP_GLYPH{};
        glyph.left = x;
        glyph.right = width - 1;
        glyph.bottom = m_strip.GetHeight() - 1;
        glyph.code = static_cast<uint16_t>(index);
        ++index;
    }
    m_glyphCount = count;

    // The surface's own key wins; otherwise the first top-row pixel that is
    // not a marker shows what the background of the strip looks like.
    uint32_t backgroundPixel = 0;
    if (strip.GetTransparentColour() != PIM_NO_KEY) {
        m_transparent = strip.GetTransparentColour();
        backgroundPixel = SwapFor24(depth, m_transparent);
    } else if (haveBackground) {
        backgroundPixel = background;
        m_transparent = SwapFor24(depth, background);
    }
    // Markers sit inside the glyphs' first column: left alone they would
    // show as a dot over every character.
    if (m_transparent != PIM_NO_KEY)
        for (int i = 0; i < m_glyphCount; ++i)
            m_strip.SetPixel(m_glyphs[i].left, 0, backgroundPixel);
    m_strip.SetTransparentColour(m_transparent);
    m_stripBytes = m_strip.GetBitsSize();
    m_nativeSize = m_strip.GetHeight();
    return m_error;
}

int CxBitmapFont::Load(const char* fileName)
{
    CxDrawSurface picture;
    if (picture.Load(fileName) != PIM_OK) {
        m_error = picture.GetError();
        return m_error;
    }
    return Create(picture);
}

const ST_BITMAP_GLYPH* CxBitmapFont::GetGlyph(int index) const
{
    return index >= 0 && index < m_glyphCount ? &m_glyphs[index] : nullptr;
}

void CxBitmapFont::TraceMissing(uint32_t code)
{
    if (m_tracedCount > kTracedLimit)
        return;
    for (int i = 0; i < m_tracedCount && i < kTracedLimit; ++i)
        if (m_traced[i] == code)
            return;
    if (m_tracedCount == kTracedLimit) {
        Trace("Bitmap font: more characters missing, no longer reported");
        ++m_tracedCount;
        return;
    }
    m_traced[m_tracedCount++] = code;
    Trace("Bitmap font: no glyph for U+%04X", static_cast<unsigned>(code));
}

const ST_BITMAP_GLYPH* CxBitmapFont::FindGlyph(uint32_t code)
{
    if (m_header.flags & PIM_BITMAP_FONT_INDEXED) {
        if (code < static_cast<uint32_t>(m_glyphCount))
            return &m_glyphs[code];
    } else {
        for (int i = 0; i < m_glyphCount; ++i)
            if (m_glyphs[i].code == code)
                return &m_glyphs[i];
    }
    TraceMissing(code);
    return nullptr;
}

int CxBitmapFont::ScaledWidth(const ST_BITMAP_GLYPH& glyph, int size) const
{
    const int64_t width = int64_t{glyph.right} - glyph.left + 1;
    if (size == m_nativeSize || m_nativeSize <= 0)
        return static_cast<int>(width);
    const int64_t scaled = width * size / m_nativeSize;
    return static_cast<int>(scaled > INT_MAX ? INT_MAX : scaled);
}

int CxBitmapFont::DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t code, uint32_t colour, int size,
                           uint32_t key, uint32_t /*flags*/)
{
    if (!target.IsCreated()) {
        SetError(PIM_ERR_BAD_ARG, "Can't render to a null surface");
        return 0;
    }
    if (!m_strip.IsCreated() || !m_glyphs) {
        SetError(PIM_ERR_UNKNOWN, "No bitmap for font");
        return 0;
    }
    size = ResolveSize(size);
    const ST_BITMAP_GLYPH* glyph = FindGlyph(code);
    if (!glyph || size <= 0)
        return 0;
    if (key == PIM_FONT_OWN_KEY)
        key = m_transparent;

    ST_DRAW_PARAMS silhouette;
    const ST_DRAW_PARAMS* params = nullptr;
    if (colour != PIM_NO_COLOUR) {
        silhouette.mode = PIM_DRAW_SILHOUETTE;
        silhouette.argument1 = static_cast<int32_t>(FontColourToDrawArgument(target, colour));
        params = &silhouette;
    }
    const CxRect source(glyph->left, glyph->top, glyph->right, glyph->bottom);
    const int width = ScaledWidth(*glyph, size);
    if (size == m_nativeSize) {
        m_strip.BlitAt(target, x, y, &source, key, params);
        return width;
    }
    const int64_t height = int64_t{glyph->bottom - glyph->top + 1} * size / m_nativeSize;
    if (width <= 0 || height <= 0)
        return width;
    const auto clampedEnd = [](int64_t start, int64_t length) {
        const int64_t end = start + length - 1;
        return static_cast<int32_t>(end > INT32_MAX ? INT32_MAX : end);
    };
    const CxRect destination(x, y, clampedEnd(x, width), clampedEnd(y, height));
    m_strip.Blit(target, &destination, &source, key, params);
    return width;
}

int CxBitmapFont::MeasureChar(uint32_t code, int size)
{
    size = ResolveSize(size);
    if (!m_glyphs || size <= 0)
        return 0;
    const ST_BITMAP_GLYPH* glyph = FindGlyph(code);
    return glyph ? ScaledWidth(*glyph, size) : 0;
}

int CxBitmapFont::MeasureText(const char* text, int size)
{
    if (!text)
        return 0;
    const size_t length = std::strlen(text);
    int64_t width = 0;
    size_t at = 0;
    while (uint32_t code = NextCodePoint(text, length, at)) {
        // What DrawText does not draw takes no room.
        if (code == '\t' || code == '\r' || code == '\n')
            continue;
        width += MeasureChar(code, size);
    }
    return static_cast<int>(width > INT_MAX ? INT_MAX : width);
}

CxFont* CreatePcxStripFont(const char* fileName)
{
    auto* font = new CxBitmapFont;
    if (!font) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxBitmapFont");
        return nullptr;
    }
    if (font->Load(fileName) != PIM_OK) {
        delete font;
        return nullptr;
    }
    return font;
}

int RegisterBitmapFontFilter()
{
    return RegisterFontFilter(".PCX", &CreatePcxStripFont);
}
