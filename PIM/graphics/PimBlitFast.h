#pragma once
// Inside the blitter: the specialised routines and what they share with the
// general routine. Not for use outside PIM/graphics/PimBlit*.cpp and the
// keyed runs (CxKeySpans.cpp).

#include "PIM/graphics/PimBlit.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PIM_BLIT_SSE2 1
#endif

// The specialised routines. Each returns false, having drawn nothing, for a
// case it does not know (different sizes, a mode or layout it leaves to the
// general routine); the caller then runs the general routine.
bool BlitFrom8(const ST_BLIT_JOB& job, int32_t mode);     // 8 -> 8, 16, 24, 32
bool BlitFrom16(const ST_BLIT_JOB& job, int32_t mode);    // 16 -> 16, 32
bool BlitFrom24(const ST_BLIT_JOB& job, int32_t mode);    // 24 -> 16, 24, 32
bool BlitFrom32(const ST_BLIT_JOB& job, int32_t mode);    // 32 -> 16, 32
bool BlitFromTable(const ST_BLIT_JOB& job, int32_t mode); // layout 9 -> 16

namespace PimBlitDetail
{

#if defined(PIM_BLIT_SSE2)
// Rows are not aligned: every vector access is unaligned.
inline __m128i LoadU(const uint8_t* p)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(static_cast<const void*>(p)));
}

inline void StoreU(uint8_t* p, __m128i v)
{
    _mm_storeu_si128(static_cast<__m128i*>(static_cast<void*>(p)), v);
}
#endif

// The 16-bit layouts whose words are three plain colour fields (1, 2, 3, 4
// and 8), known at compile time so the per-pixel loops are shifts only.
// Widening and narrowing follow the pixel rules (no bit replication).
template <int RS, int RB, int GS, int GB, int BS, int BB>
struct TFields16
{
    static constexpr int redShift = RS, redBits = RB;
    static constexpr int greenShift = GS, greenBits = GB;
    static constexpr int blueShift = BS, blueBits = BB;
    // Mode 2 halves the word and clears what each field's low bit spilled
    // into its neighbour's top bit (0x7BEF for 5-6-5, 0x3DEF for 5-5-5).
    static constexpr uint32_t halfMask =
        0x7FFFu & ~((1u << (RS + RB - 1)) | (1u << (GS + GB - 1)) | (1u << (BS + BB - 1)));

    static uint32_t Pack(uint32_t r, uint32_t g, uint32_t b)
    {
        return ((r >> (8 - RB)) << RS) | ((g >> (8 - GB)) << GS) | ((b >> (8 - BB)) << BS);
    }
    static uint32_t Red(uint32_t w) { return ((w >> RS) & ((1u << RB) - 1)) << (8 - RB); }
    static uint32_t Green(uint32_t w) { return ((w >> GS) & ((1u << GB) - 1)) << (8 - GB); }
    static uint32_t Blue(uint32_t w) { return ((w >> BS) & ((1u << BB) - 1)) << (8 - BB); }
};

using TFields555 = TFields16<10, 5, 5, 5, 0, 5>;
using TFields565 = TFields16<11, 5, 5, 6, 0, 5>;
using TFields556 = TFields16<11, 5, 6, 5, 0, 6>;
using TFields655 = TFields16<10, 6, 5, 5, 0, 5>;
using TFieldsBgr555 = TFields16<0, 5, 5, 5, 10, 5>;

// Calls `f` with the fields type of a plain 16-bit layout; false for the
// others (4-4-4-4, colour table).
template <class F>
bool With16Fields(uint8_t layout, F&& f)
{
    switch (layout) {
    case PIM_LAYOUT_555:
        f(TFields555{});
        return true;
    case PIM_LAYOUT_565:
        f(TFields565{});
        return true;
    case PIM_LAYOUT_556:
        f(TFields556{});
        return true;
    case PIM_LAYOUT_655:
        f(TFields655{});
        return true;
    case PIM_LAYOUT_BGR555:
        f(TFieldsBgr555{});
        return true;
    default:
        return false;
    }
}

// Raw pixel access in the fast routines' value domain: 24-bit values are in
// the key convention (0x00RRGGBB from bytes B, G, R), the same as 32 bits
// less the alpha. Rows are not aligned, so every access goes through memcpy.
template <int BYTES>
struct TPixel;

template <>
struct TPixel<1>
{
    static uint32_t Load(const uint8_t* p) { return *p; }
    static void Store(uint8_t* p, uint32_t v) { *p = static_cast<uint8_t>(v); }
};

template <>
struct TPixel<2>
{
    static uint32_t Load(const uint8_t* p)
    {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    static void Store(uint8_t* p, uint32_t v)
    {
        const auto w = static_cast<uint16_t>(v);
        std::memcpy(p, &w, 2);
    }
};

template <>
struct TPixel<3>
{
    // Read24AsKey, here where the compiler can see it: a call per pixel
    // costs more than the conversion.
    static uint32_t Load(const uint8_t* p)
    {
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
    static void Store(uint8_t* p, uint32_t v)
    {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
    }
};

template <>
struct TPixel<4>
{
    static uint32_t Load(const uint8_t* p)
    {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    static void Store(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
};

inline bool SameSize(const ST_BLIT_JOB& job)
{
    return job.sourceRect.Width() == job.destinationRect.Width() &&
           job.sourceRect.Height() == job.destinationRect.Height();
}

// The key as the routine sees it: none when it cannot match any value of
// the source's depth (so the per-pixel test can use the narrow type).
inline bool KeyApplies(const ST_BLIT_JOB& job)
{
    if (!job.hasKey)
        return false;
    const int depth = job.sourceFormat.depth;
    return depth >= 32 || job.key < (1u << depth);
}

// The modes that only move or recolour whole pixels.
inline bool IsMoveMode(int32_t mode)
{
    return mode == PIM_DRAW_COPY || mode == PIM_DRAW_KEY_COLOURED || mode == PIM_DRAW_SILHOUETTE;
}

// Colour arguments (modes 10 and 11) are destination pixel values as
// MakeColour gives them: for 24 bits that is the key convention.
inline uint32_t ColourArgument(const ST_BLIT_JOB& job)
{
    return static_cast<uint32_t>(job.params.argument1);
}

// Walks the rows of an equal-size blit: row(source, destination, width) with
// pointers at the first pixel of each row. `upsideDown` takes the source
// rows last first (mode 14).
template <int SB, int DB, class Row>
void ForEachRow(const ST_BLIT_JOB& job, Row&& row, bool upsideDown = false)
{
    const int32_t width = static_cast<int32_t>(job.destinationRect.Width());
    const int32_t height = static_cast<int32_t>(job.destinationRect.Height());
    const uint8_t* source = job.sourceBits + static_cast<ptrdiff_t>(job.sourceRect.left) * SB;
    uint8_t* destination = job.destinationBits + static_cast<ptrdiff_t>(job.destinationRect.left) * DB;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t sy = upsideDown ? job.sourceRect.bottom - y : job.sourceRect.top + y;
        row(source + static_cast<ptrdiff_t>(sy) * job.sourcePitch,
            destination + static_cast<ptrdiff_t>(job.destinationRect.top + y) * job.destinationPitch, width);
    }
}

// The modes that only move or convert whole pixels (0, 10, 11), for any
// pair, with `convert` taking a raw source value (fast domain) to the raw
// destination value.
template <int SB, int DB, class Convert>
void ConvertRows(const ST_BLIT_JOB& job, int32_t mode, Convert convert, bool upsideDown = false)
{
    using S = TPixel<SB>;
    using D = TPixel<DB>;
    const bool keyed = KeyApplies(job);
    const uint32_t key = job.key;
    const uint32_t colour = ColourArgument(job);
    if (mode == PIM_DRAW_COPY && !keyed) {
        // The common conversion, kept free of per-pixel tests.
        ForEachRow<SB, DB>(
            job,
            [&](const uint8_t* s, uint8_t* d, int32_t width) {
                int32_t x = 0;
                if constexpr (SB == 3) {
                    // Two 3-byte pixels from one 8-byte read, while a third
                    // pixel follows to keep the read inside the row.
                    for (; x + 2 < width; x += 2, s += 6, d += 2 * DB) {
                        uint64_t pair;
                        std::memcpy(&pair, s, 8);
                        D::Store(d, convert(static_cast<uint32_t>(pair) & 0xFFFFFFu));
                        D::Store(d + DB, convert(static_cast<uint32_t>(pair >> 24) & 0xFFFFFFu));
                    }
                }
                for (; x < width; ++x, s += SB, d += DB)
                    D::Store(d, convert(S::Load(s)));
            },
            upsideDown);
        return;
    }
    ForEachRow<SB, DB>(
        job,
        [&](const uint8_t* s, uint8_t* d, int32_t width) {
            for (int32_t x = 0; x < width; ++x, s += SB, d += DB) {
                const uint32_t p = S::Load(s);
                const bool isKey = keyed && p == key;
                if (mode == PIM_DRAW_KEY_COLOURED)
                    D::Store(d, isKey ? colour : convert(p));
                else if (!isKey)
                    D::Store(d, mode == PIM_DRAW_SILHOUETTE ? colour : convert(p));
            }
        },
        upsideDown);
}

// How far ahead the row loops that read the destination fetch it. A screen
// does not fit the cache; a sprite drawn on it misses on every row.
constexpr int32_t kPrefetchRows = 4;

inline void PrefetchSpan(const uint8_t* p, size_t bytes)
{
#if defined(__GNUC__) || defined(__clang__)
    for (size_t offset = 0; offset < bytes; offset += 64)
        __builtin_prefetch(p + offset, 1);
    __builtin_prefetch(p + bytes - 1, 1);
#else
    (void)p, (void)bytes;
#endif
}

// True when both formats read a value the same way, so that a copied pixel
// keeps its raw value (same depth; same palette up to 2^depth entries; same
// 16-bit layout; same colour table for layout 9).
bool SameFormat(const ST_PIXEL_FORMAT& a, const ST_PIXEL_FORMAT& b);

#if defined(PIM_BLIT_SSE2)
template <int BYTES>
inline __m128i SplatKey(uint32_t value)
{
    if constexpr (BYTES == 1)
        return _mm_set1_epi8(static_cast<char>(value));
    else if constexpr (BYTES == 2)
        return _mm_set1_epi16(static_cast<short>(value));
    else
        return _mm_set1_epi32(static_cast<int>(value));
}

template <int BYTES>
inline __m128i EqualLanes(__m128i a, __m128i b)
{
    if constexpr (BYTES == 1)
        return _mm_cmpeq_epi8(a, b);
    else if constexpr (BYTES == 2)
        return _mm_cmpeq_epi16(a, b);
    else
        return _mm_cmpeq_epi32(a, b);
}
#endif

// d = s wherever s is not the key, for equal formats of 1, 2 or 4 bytes, 16
// bytes at a time. A vector of source pixels that are all opaque is stored
// without reading the destination, one that is all key is skipped: sprites
// are mostly runs of one or the other, and on a screen larger than the cache
// the destination reads are what costs, so only the vectors where a
// sprite's edge crosses read it, and those rows are fetched a few rows early.
// The scalar loop finishes each row (and does it all without SSE2).
template <int BYTES>
void KeyedCopyRows(const ST_BLIT_JOB& job)
{
    using P = TPixel<BYTES>;
    const uint32_t key = job.key;
    const int32_t height = static_cast<int32_t>(job.destinationRect.Height());
    const int32_t width = static_cast<int32_t>(job.destinationRect.Width());
    const size_t rowBytes = static_cast<size_t>(width) * BYTES;
    const ptrdiff_t ahead = static_cast<ptrdiff_t>(kPrefetchRows) * job.destinationPitch;
    const uint8_t* s = job.sourceBits + static_cast<ptrdiff_t>(job.sourceRect.top) * job.sourcePitch +
                       static_cast<ptrdiff_t>(job.sourceRect.left) * BYTES;
    uint8_t* d = job.destinationBits + static_cast<ptrdiff_t>(job.destinationRect.top) * job.destinationPitch +
                 static_cast<ptrdiff_t>(job.destinationRect.left) * BYTES;
#if defined(PIM_BLIT_SSE2)
    constexpr int32_t lanes = 16 / BYTES;
    const __m128i keys = SplatKey<BYTES>(key);
#endif
    for (int32_t y = 0; y < height; ++y, s += job.sourcePitch, d += job.destinationPitch) {
        if (y + kPrefetchRows < height)
            PrefetchSpan(d + ahead, rowBytes);
        int32_t x = 0;
#if defined(PIM_BLIT_SSE2)
        for (; x + lanes <= width; x += lanes) {
            const uint8_t* sp = s + static_cast<ptrdiff_t>(x) * BYTES;
            uint8_t* dp = d + static_cast<ptrdiff_t>(x) * BYTES;
            const __m128i pixels = LoadU(sp);
            const __m128i isKey = EqualLanes<BYTES>(pixels, keys);
            const int mask = _mm_movemask_epi8(isKey);
            if (mask == 0)
                StoreU(dp, pixels);
            else if (mask != 0xFFFF)
                StoreU(dp, _mm_or_si128(_mm_and_si128(isKey, LoadU(dp)), _mm_andnot_si128(isKey, pixels)));
        }
#endif
        for (; x < width; ++x) {
            const uint32_t p = P::Load(s + static_cast<ptrdiff_t>(x) * BYTES);
            if (p != key)
                P::Store(d + static_cast<ptrdiff_t>(x) * BYTES, p);
        }
    }
}

// Same formats, modes 0, 10 and 11: row copies, selects, or the generic loop.
// Source and destination must not overlap (Blit copies an overlapping
// source aside first).
template <int BYTES>
void SameFormatRows(const ST_BLIT_JOB& job, int32_t mode)
{
    const bool keyed = KeyApplies(job);
    if (mode == PIM_DRAW_COPY && !keyed) {
        const size_t rowBytes = static_cast<size_t>(job.destinationRect.Width()) * BYTES;
        if (static_cast<size_t>(job.sourcePitch) == rowBytes && static_cast<size_t>(job.destinationPitch) == rowBytes) {
            // Whole rows without padding on both sides: one block.
            std::memcpy(job.destinationBits + static_cast<ptrdiff_t>(job.destinationRect.top) * job.destinationPitch,
                        job.sourceBits + static_cast<ptrdiff_t>(job.sourceRect.top) * job.sourcePitch,
                        rowBytes * static_cast<size_t>(job.destinationRect.Height()));
            return;
        }
        ForEachRow<BYTES, BYTES>(job, [rowBytes](const uint8_t* s, uint8_t* d, int32_t) { std::memcpy(d, s, rowBytes); });
        return;
    }
    if constexpr (BYTES != 3) {
        if (mode == PIM_DRAW_COPY) {
            KeyedCopyRows<BYTES>(job);
            return;
        }
    }
    ConvertRows<BYTES, BYTES>(job, mode, [](uint32_t p) { return p; });
}

// Pixels that pass the key handed to blend(p, d) with the raw source value
// and the destination pixel's address: the modes that read the destination.
template <int SB, int DB, class Blend>
void BlendRows(const ST_BLIT_JOB& job, Blend blend)
{
    using S = TPixel<SB>;
    const bool keyed = KeyApplies(job);
    const uint32_t key = job.key;
    ForEachRow<SB, DB>(job, [&](const uint8_t* s, uint8_t* d, int32_t width) {
        for (int32_t x = 0; x < width; ++x, s += SB, d += DB) {
            const uint32_t p = S::Load(s);
            if (!keyed || p != key)
                blend(p, d);
        }
    });
}

// Mode 2 onto a plain 16-bit layout: the source converted to a destination
// word, both words halved and masked, then added.
template <int SB, class Convert>
void HalfRows16(const ST_BLIT_JOB& job, uint32_t halfMask, Convert convert)
{
    using D = TPixel<2>;
    BlendRows<SB, 2>(job, [&](uint32_t p, uint8_t* d) {
        D::Store(d, ((convert(p) >> 1) & halfMask) + ((D::Load(d) >> 1) & halfMask));
    });
}

} // namespace PimBlitDetail
