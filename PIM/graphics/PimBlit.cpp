// CxDrawSurface::Blit, its clipping and the general pixel routine.
//
// The general routine is the reference: it reads every pixel through the
// shared pixel functions and applies the mode on 8-bit channels with the
// PimBlend helpers. The fast routines (PimBlitFast*.cpp) take shortcuts on
// raw rows but must leave the same bytes behind; the Blit tests run both on
// random pixels and compare.

#include "PIM/graphics/PimBlit.h"

#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimBlitFast.h"

#include <cmath>
#include <cstring>

using namespace PimBlitDetail;

namespace {

bool g_forceGeneral = false;

// Moves the near and far edge of a source span after its destination span
// was clipped from [d0, d1] to [c0, c1]. Equal sizes move one for one; a
// stretch moves proportionally, the near edge rounded half up and the far
// edge half down so that partly visible source pixels stay in.
void FollowClip(int64_t d0, int64_t d1, int64_t c0, int64_t c1, int64_t& s0, int64_t& s1)
{
    const int64_t destinationSize = d1 - d0 + 1;
    const int64_t sourceSize = s1 - s0 + 1;
    if (destinationSize == sourceSize) {
        s0 += c0 - d0;
        s1 += c1 - d1;
        return;
    }
    const double scale = static_cast<double>(sourceSize);
    const double size = static_cast<double>(destinationSize);
    s0 += static_cast<int64_t>(std::trunc(static_cast<double>(c0 - d0) / size * scale + 0.5));
    s1 += static_cast<int64_t>(std::trunc(static_cast<double>(c1 - d1) / size * scale - 0.5));
}

// Clips [s0, s1] to [0, limit - 1] and moves [d0, d1] by the same counts.
void ClipSource(int64_t limit, int64_t& s0, int64_t& s1, int64_t& d0, int64_t& d1)
{
    if (s0 < 0) {
        d0 -= s0;
        s0 = 0;
    }
    if (s1 > limit - 1) {
        d1 -= s1 - (limit - 1);
        s1 = limit - 1;
    }
}

int SourceAlphaBits(const ST_PIXEL_FORMAT& f)
{
    if (f.depth == 32)
        return 8;
    if (f.depth == 16 && (f.layout == PIM_LAYOUT_4444 || f.layout == PIM_LAYOUT_TABLE))
        return 4;
    return 0;
}

const ST_RGB* PaletteOf(const ST_PIXEL_FORMAT& f)
{
    return f.palette ? f.palette : DefaultPalette();
}

bool SameTables(const ST_PIXEL_FORMAT& a, const ST_PIXEL_FORMAT& b)
{
    if (a.colourTableCount != b.colourTableCount || !a.colourTable != !b.colourTable)
        return false;
    return !a.colourTable || a.colourTable == b.colourTable ||
           std::memcmp(a.colourTable, b.colourTable, sizeof(uint16_t) * static_cast<size_t>(a.colourTableCount)) == 0;
}

// Everything the general routine works out once per blit.
struct ST_GENERAL
{
    const ST_BLIT_JOB* job = nullptr;
    int32_t mode = PIM_DRAW_COPY;
    bool sameFormat = false;
    bool tableSource = false; // layout 9: entries beyond the table are holes
    bool keyed = false;
    bool destinationKeyed = false;
    uint32_t halfMask = 0; // mode 2 on plain 16-bit words; 0: per channel
    int alphaBits = 0;
    uint32_t colour = 0;   // modes 10, 11, as WritePixel takes it
    int amount = 0;        // modes 7, 8
    int add[3] = {};       // modes 9, 12: red, green, blue arguments / 8
    int widths[3] = {};    // mode 9: the destination's channel widths
};

ST_GENERAL Prepare(const ST_BLIT_JOB& job)
{
    ST_GENERAL g;
    const ST_PIXEL_FORMAT& sf = job.sourceFormat;
    const ST_PIXEL_FORMAT& df = job.destinationFormat;
    g.job = &job;
    g.mode = EffectiveBlitMode(job);
    g.sameFormat = SameFormat(sf, df);
    g.tableSource = sf.depth == 16 && sf.layout == PIM_LAYOUT_TABLE;
    g.keyed = job.hasKey;
    g.destinationKeyed = job.destinationKey != PIM_NO_KEY;
    if (df.depth == 16)
        With16Fields(df.layout, [&](auto fields) { g.halfMask = fields.halfMask; });
    g.alphaBits = SourceAlphaBits(sf);
    g.colour = ColourArgument(job);
    if (df.depth == 24) // key convention to the byte order WritePixel takes
        g.colour = ((g.colour & 0xFFu) << 16) | (g.colour & 0xFF00u) | ((g.colour >> 16) & 0xFFu);
    g.amount = PimBlend::Clamp(job.params.argument1, 0, 255);
    const int32_t arguments[3] = {job.params.argument1, job.params.argument2, job.params.argument3};
    const int bits[3] = {df.redBits, df.greenBits, df.blueBits};
    for (int i = 0; i < 3; ++i) {
        g.add[i] = arguments[i] / 8;
        g.widths[i] = (bits[i] > 0 && bits[i] <= 8) ? bits[i] : 8;
    }
    return g;
}

template <class F>
ST_ARGB EachChannel(ST_ARGB s, ST_ARGB d, F f)
{
    return {static_cast<uint8_t>(f(s.alpha, d.alpha)), static_cast<uint8_t>(f(s.red, d.red)),
            static_cast<uint8_t>(f(s.green, d.green)), static_cast<uint8_t>(f(s.blue, d.blue))};
}

void DrawPixel(const ST_GENERAL& g, const uint8_t* sourceRow, int32_t sx, uint8_t* destinationRow, int32_t dx)
{
    const ST_BLIT_JOB& job = *g.job;
    const ST_PIXEL_FORMAT& sf = job.sourceFormat;
    const ST_PIXEL_FORMAT& df = job.destinationFormat;
    const uint32_t value = ReadPixel(sourceRow, sx, sf.depth);
    if (g.tableSource && (!sf.colourTable || (value & 0x0FFFu) >= static_cast<uint32_t>(sf.colourTableCount)))
        return; // a hole in the colour table draws as transparent
    const uint32_t keyValue = sf.depth == 24 ? Read24AsKey(sourceRow + 3 * static_cast<ptrdiff_t>(sx)) : value;
    const bool isKey = g.keyed && keyValue == job.key;
    auto write = [&](uint32_t v) { WritePixel(destinationRow, dx, df.depth, v); };
    auto copy = [&] { write(g.sameFormat ? value : PackPixel(df, SplitPixel(sf, value))); };

    if (g.mode == PIM_DRAW_KEY_COLOURED) {
        if (isKey)
            write(g.colour);
        else
            copy();
        return;
    }
    if (isKey)
        return;
    switch (g.mode) {
    case PIM_DRAW_SILHOUETTE:
        write(g.colour);
        return;
    case PIM_DRAW_COPY:
    case PIM_DRAW_UPSIDE_DOWN:
        copy();
        return;
    case PIM_DRAW_HALF:
        if (g.halfMask) {
            const uint32_t s = g.sameFormat ? value : PackPixel(df, SplitPixel(sf, value));
            const uint32_t d = ReadPixel(destinationRow, dx, df.depth);
            write(((s >> 1) & g.halfMask) + ((d >> 1) & g.halfMask));
            return;
        }
        break;
    case PIM_DRAW_SOURCE_ALPHA:
        if (g.alphaBits == 4 && (value >> 12) == 15) {
            copy();
            return;
        }
        break;
    default:
        break;
    }

    const ST_ARGB s = SplitPixel(sf, value);
    const uint32_t destinationValue = ReadPixel(destinationRow, dx, df.depth);
    const ST_ARGB d = SplitPixel(df, destinationValue);
    ST_ARGB out = s;
    switch (g.mode) {
    case PIM_DRAW_HALF:
        out = EachChannel(s, d, PimBlend::Half);
        break;
    case PIM_DRAW_SOURCE_ALPHA:
    case PIM_DRAW_ALPHA_TINTED:
        if (g.alphaBits == 4) {
            const int a = s.alpha >> 4;
            if (a == 0)
                return;
            if (a != 15)
                out = EachChannel(s, d, [a](int sc, int dc) { return PimBlend::SourceAlpha4(sc, dc, a); });
        } else if (g.alphaBits == 8) {
            const int a = s.alpha;
            if (a == 0)
                return;
            out = EachChannel(s, d, [a](int sc, int dc) { return PimBlend::SourceAlpha(sc, dc, a); });
        }
        if (g.mode == PIM_DRAW_ALPHA_TINTED) {
            out.red = static_cast<uint8_t>(PimBlend::AddAtWidth(out.red, g.add[0], g.widths[0]));
            out.green = static_cast<uint8_t>(PimBlend::AddAtWidth(out.green, g.add[1], g.widths[1]));
            out.blue = static_cast<uint8_t>(PimBlend::AddAtWidth(out.blue, g.add[2], g.widths[2]));
        }
        break;
    case PIM_DRAW_DEST_ALPHA: {
        const int a = d.alpha;
        out = EachChannel(d, s, [a](int dc, int sc) { return PimBlend::Weigh255(dc, sc, a); });
        break;
    }
    case PIM_DRAW_BOTH_ALPHA: {
        const int sa = s.alpha, da = d.alpha;
        out = EachChannel(s, d, [sa, da](int sc, int dc) { return PimBlend::BothAlpha(sc, dc, sa, da); });
        out.alpha = d.alpha;
        break;
    }
    case PIM_DRAW_COMPOSITE:
        if (s.alpha == 0)
            return;
        out = PimBlend::Composite(s, d);
        break;
    case PIM_DRAW_OPACITY: {
        const int a = g.amount;
        if (a == 0)
            return;
        out = EachChannel(s, d, [a](int sc, int dc) { return PimBlend::Weigh255(sc, dc, a); });
        break;
    }
    case PIM_DRAW_DEST_OPACITY: {
        const int a = g.amount;
        out = EachChannel(d, s, [a](int dc, int sc) { return PimBlend::Weigh255(dc, sc, a); });
        break;
    }
    case PIM_DRAW_ADD_RGB:
        out.red = static_cast<uint8_t>(PimBlend::AddTo5Bits(s.red, g.add[0]));
        out.green = static_cast<uint8_t>(PimBlend::AddTo5Bits(s.green, g.add[1]));
        out.blue = static_cast<uint8_t>(PimBlend::AddTo5Bits(s.blue, g.add[2]));
        break;
    case PIM_DRAW_EMBOSS: {
        const uint32_t destinationKey =
            df.depth == 24 ? Read24AsKey(destinationRow + 3 * static_cast<ptrdiff_t>(dx)) : destinationValue;
        if (g.destinationKeyed && destinationKey == job.destinationKey)
            return;
        out = EachChannel(s, d, PimBlend::Emboss);
        out.alpha = d.alpha;
        break;
    }
    default:
        break;
    }
    write(PackPixel(df, out));
}

bool RunFast(const ST_BLIT_JOB& job, int32_t mode)
{
    if (job.sourceFormat.depth == 16 && job.sourceFormat.layout == PIM_LAYOUT_TABLE &&
        job.destinationFormat.depth == 16)
        return BlitFromTable(job, mode);
    switch (job.sourceFormat.depth) {
    case 8:
        return BlitFrom8(job, mode);
    case 16:
        return BlitFrom16(job, mode);
    case 24:
        return BlitFrom24(job, mode);
    case 32:
        return BlitFrom32(job, mode);
    default:
        return false;
    }
}

} // namespace

// When both sides read a value the same way, a copied pixel keeps its raw
// value: converting would fold duplicate palette or table entries onto the
// first one and drop the unused bit of 5-5-5 words.
bool PimBlitDetail::SameFormat(const ST_PIXEL_FORMAT& a, const ST_PIXEL_FORMAT& b)
{
    if (a.depth != b.depth)
        return false;
    if (a.depth <= 8)
        return std::memcmp(PaletteOf(a), PaletteOf(b), sizeof(ST_RGB) << a.depth) == 0;
    if (a.depth != 16)
        return true;
    if (a.layout != b.layout)
        return false;
    return a.layout != PIM_LAYOUT_TABLE || SameTables(a, b);
}

bool ClipBlit(CxSize destinationSize, CxSize sourceSize, CxRect& destinationRect, CxRect& sourceRect)
{
    if (destinationRect.IsEmpty() || sourceRect.IsEmpty() || destinationSize.IsEmpty() || sourceSize.IsEmpty())
        return false;
    // Most sprites lie wholly inside both surfaces.
    if (destinationRect.left >= 0 && destinationRect.top >= 0 && destinationRect.right < destinationSize.width &&
        destinationRect.bottom < destinationSize.height && sourceRect.left >= 0 && sourceRect.top >= 0 &&
        sourceRect.right < sourceSize.width && sourceRect.bottom < sourceSize.height)
        return true;
    int64_t dl = destinationRect.left, dt = destinationRect.top;
    int64_t dr = destinationRect.right, db = destinationRect.bottom;
    int64_t sl = sourceRect.left, st = sourceRect.top, sr = sourceRect.right, sb = sourceRect.bottom;

    const int64_t cl = std::max<int64_t>(dl, 0), ct = std::max<int64_t>(dt, 0);
    const int64_t cr = std::min<int64_t>(dr, destinationSize.width - 1);
    const int64_t cb = std::min<int64_t>(db, destinationSize.height - 1);
    if (cl > cr || ct > cb)
        return false;
    FollowClip(dl, dr, cl, cr, sl, sr);
    FollowClip(dt, db, ct, cb, st, sb);
    dl = cl, dt = ct, dr = cr, db = cb;
    if (sl > sr || st > sb)
        return false;

    ClipSource(sourceSize.width, sl, sr, dl, dr);
    ClipSource(sourceSize.height, st, sb, dt, db);
    if (sl > sr || st > sb || dl > dr || dt > db)
        return false;
    destinationRect = CxRect(static_cast<int32_t>(dl), static_cast<int32_t>(dt), static_cast<int32_t>(dr),
                             static_cast<int32_t>(db));
    sourceRect = CxRect(static_cast<int32_t>(sl), static_cast<int32_t>(st), static_cast<int32_t>(sr),
                        static_cast<int32_t>(sb));
    return true;
}

namespace {

int32_t EffectiveMode(int32_t mode, const ST_PIXEL_FORMAT& sourceFormat, int destinationDepth)
{
    const int sd = sourceFormat.depth, dd = destinationDepth;
    switch (mode) {
    case PIM_DRAW_HALF:
    case PIM_DRAW_DEST_ALPHA:
    case PIM_DRAW_BOTH_ALPHA:
    case PIM_DRAW_OPACITY:
    case PIM_DRAW_DEST_OPACITY:
    case PIM_DRAW_ALPHA_TINTED:
    case PIM_DRAW_KEY_COLOURED:
    case PIM_DRAW_SILHOUETTE:
    case PIM_DRAW_ADD_RGB:
    case PIM_DRAW_NOTHING:
    case PIM_DRAW_EMBOSS:
        return mode;
    case PIM_DRAW_SOURCE_ALPHA:
        return SourceAlphaBits(sourceFormat) ? PIM_DRAW_SOURCE_ALPHA : PIM_DRAW_COPY;
    case PIM_DRAW_COMPOSITE:
        return sd == 32 && dd == 32 ? PIM_DRAW_COMPOSITE : PIM_DRAW_COPY;
    case PIM_DRAW_UPSIDE_DOWN:
        return sd == 24 && dd == 16 ? PIM_DRAW_UPSIDE_DOWN : PIM_DRAW_COPY;
    case PIM_DRAW_ROUTINE:
        return PIM_DRAW_NOTHING;
    default:
        // Mode 17 has no use in the game; it copies, as do unknown codes.
        return PIM_DRAW_COPY;
    }
}

} // namespace

int32_t EffectiveBlitMode(const ST_BLIT_JOB& job)
{
    return EffectiveMode(job.params.mode, job.sourceFormat, job.destinationFormat.depth);
}

void BlitGeneral(const ST_BLIT_JOB& job)
{
    const ST_GENERAL g = Prepare(job);
    if (g.mode == PIM_DRAW_NOTHING)
        return;
    const int64_t dw = job.destinationRect.Width(), dh = job.destinationRect.Height();
    const int64_t sw = job.sourceRect.Width(), sh = job.sourceRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const int64_t stepX = (sw << 16) / dw, stepY = (sh << 16) / dh;
    const bool upsideDown = g.mode == PIM_DRAW_UPSIDE_DOWN;
    for (int64_t y = 0; y < dh; ++y) {
        const int64_t offset = (y * stepY) >> 16;
        const int64_t sy = upsideDown ? job.sourceRect.bottom - offset : job.sourceRect.top + offset;
        const uint8_t* sourceRow = job.sourceBits + sy * job.sourcePitch;
        uint8_t* destinationRow = job.destinationBits + (job.destinationRect.top + y) * job.destinationPitch;
        for (int64_t x = 0; x < dw; ++x) {
            const auto sx = static_cast<int32_t>(job.sourceRect.left + ((x * stepX) >> 16));
            DrawPixel(g, sourceRow, sx, destinationRow, static_cast<int32_t>(job.destinationRect.left + x));
        }
    }
}

void BlitRun(const ST_BLIT_JOB& job)
{
    const int32_t mode = EffectiveBlitMode(job);
    if (mode == PIM_DRAW_NOTHING)
        return;
    if (!g_forceGeneral && RunFast(job, mode))
        return;
    BlitGeneral(job);
}

void SetBlitForceGeneral(bool force)
{
    g_forceGeneral = force;
}

bool GetBlitForceGeneral()
{
    return g_forceGeneral;
}

bool CxDrawSurface::DrawFromSpans(CxDrawSurface& destination, uint8_t* sourceBits, uint8_t* destinationBits,
                                  const CxRect& destinationRect, const CxRect& sourceRect, uint32_t key)
{
    // The runs stand for the general routine only where it would copy raw
    // values pixel for pixel: no stretch, the same format on both sides, a
    // key some value can match, and pixels nobody can be writing meanwhile
    // (someone else's lock, the owner of external bits, the blit itself).
    if (g_forceGeneral || this == &destination || HasExternalBits() || m_lockDepth != 1 ||
        m_depth != destination.m_depth || m_depth < 8 ||
        destinationRect.Width() != sourceRect.Width() || destinationRect.Height() != sourceRect.Height())
        return false;
    if (m_depth < 32 && key >= (1u << m_depth))
        return false;
    if (m_depth == 16) {
        const uint8_t layout = ResolveLayout(m_format.layout, 16);
        if (layout != ResolveLayout(destination.m_format.layout, 16) || layout == PIM_LAYOUT_TABLE)
            return false;
    } else if (m_depth == 8 && std::memcmp(m_palette, destination.m_palette, sizeof(m_palette)) != 0) {
        return false;
    }
    const CxKeySpans::ST_PIXELS pixels{sourceBits, m_pitch, m_width, m_height, m_depth / 8};
    if (!m_spans.Prepare(pixels, key, m_pixelsVersion))
        return false;
    m_spans.Draw(sourceBits, m_pitch, sourceRect, destinationBits, destination.m_pitch, destinationRect);
    return true;
}

int CxDrawSurface::Blit(CxDrawSurface& destination, const CxRect* destinationRect, const CxRect* sourceRect,
                        uint32_t key, const ST_DRAW_PARAMS* params)
{
    // A surface with an error neither draws nor is drawn onto; the caller
    // learns why through the code it gets back.
    if (m_error != PIM_OK)
        return m_error;
    if (destination.m_error != PIM_OK)
        return destination.m_error;
    const ST_DRAW_PARAMS plain;
    const ST_DRAW_PARAMS& p = params ? *params : plain;
    if (p.mode == PIM_DRAW_NOTHING)
        return m_error;
    if (key == PIM_NO_KEY)
        key = m_transparent;

    CxRect dst = destinationRect ? *destinationRect : GetRect();
    CxRect src = sourceRect ? *sourceRect : GetRect();
    if (!IsValidDepth(m_depth) || !IsValidDepth(destination.m_depth) ||
        !ClipBlit(destination.GetSize(), GetSize(), dst, src))
        return m_error;

    // Drawing from a surface leaves its pixels as they were.
    uint8_t* sourceBits = LockBitsAsIs();
    if (!sourceBits)
        return m_error;
    uint8_t* destinationBits = destination.LockBits();
    if (!destinationBits) {
        UnlockBits();
        return destination.m_error;
    }

    if (key != PIM_NO_KEY && EffectiveMode(p.mode, m_format, destination.m_depth) == PIM_DRAW_COPY &&
        DrawFromSpans(destination, sourceBits, destinationBits, dst, src, key)) {
        // drawn
    } else if (p.mode == PIM_DRAW_ROUTINE) {
        if (p.routine)
            p.routine(*this, destination, dst, src, key, p.argument2, p.argument3);
    } else {
        // The format records are kept in step with the fields by the
        // surface; a layout still 0 (raw setters) is resolved here.
        auto formatOf = [](const CxDrawSurface& surface) {
            ST_PIXEL_FORMAT f = surface.m_format;
            f.depth = surface.m_depth;
            if (f.layout == PIM_LAYOUT_DEFAULT) {
                f.layout = ResolveLayout(f.layout, f.depth);
                SetChannelWidths(f);
            }
            f.palette = surface.m_palette;
            f.colourTable = surface.m_colourTable;
            f.colourTableCount = surface.m_colourTableCount;
            return f;
        };
        ST_BLIT_JOB job;
        job.sourceBits = sourceBits;
        job.sourcePitch = m_pitch;
        job.sourceFormat = formatOf(*this);
        job.destinationBits = destinationBits;
        job.destinationPitch = destination.m_pitch;
        job.destinationFormat = formatOf(destination);
        job.destinationRect = dst;
        job.sourceRect = src;
        job.hasKey = key != PIM_NO_KEY;
        job.key = key;
        job.params = p;
        job.destinationKey = destination.m_transparent;
        if (m_depth == 8 && destination.m_depth == 16)
            With16Fields(job.destinationFormat.layout,
                         [&](auto) { job.paletteLookup = GetPaletteLookup(job.destinationFormat.layout); });

        // Drawing a surface onto an overlapping part of itself reads from a
        // copy of the source rows, so that every mode sees the source as it
        // was before the blit.
        void* copy = nullptr;
        if (this == &destination && src.Intersects(dst)) {
            const size_t bytes = static_cast<size_t>(src.Height()) * static_cast<size_t>(m_pitch);
            copy = Allocate(bytes, __FILE__, __LINE__, false);
            if (!copy) {
                SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %ld bytes for an overlapping blit",
                         static_cast<long>(bytes));
            } else {
                std::memcpy(copy, sourceBits + static_cast<ptrdiff_t>(src.top) * m_pitch, bytes);
                job.sourceBits = static_cast<const uint8_t*>(copy);
                job.sourceRect = src.Offset(0, -src.top);
            }
        }
        if (m_error == PIM_OK)
            BlitRun(job);
        Free(copy);
    }

    destination.UnlockBits();
    UnlockBits();
    return m_error;
}
