// The specialised routines for 24- and 32-bit sources, among them the two
// the game leans on hardest: true-colour art converted for a 16-bit screen,
// and 32-bit sprites alpha-blended onto it. Values of both depths are
// handled as 0xAARRGGBB (24 bits without the alpha byte).

#include "PIM/graphics/PimBlitFast.h"

using namespace PimBlitDetail;

namespace {

inline uint32_t Red8(uint32_t p)
{
    return (p >> 16) & 0xFFu;
}
inline uint32_t Green8(uint32_t p)
{
    return (p >> 8) & 0xFFu;
}
inline uint32_t Blue8(uint32_t p)
{
    return p & 0xFFu;
}

// f applied to each byte of two packed pixels.
template <class F>
uint32_t EachByte(uint32_t s, uint32_t d, F f)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= static_cast<uint32_t>(f(static_cast<int>((s >> shift) & 0xFFu), static_cast<int>((d >> shift) & 0xFFu)))
               << shift;
    return out;
}

inline ST_ARGB Argb(uint32_t p)
{
    return {static_cast<uint8_t>(p >> 24), static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
            static_cast<uint8_t>(p)};
}

inline uint32_t Word(ST_ARGB c)
{
    return (static_cast<uint32_t>(c.alpha) << 24) | (static_cast<uint32_t>(c.red) << 16) |
           (static_cast<uint32_t>(c.green) << 8) | c.blue;
}

// Mode 3 of one 32-bit pixel with alpha a (1..255) onto a 16-bit word.
template <class F>
uint32_t SourceAlphaWord(uint32_t p, uint32_t w, int a)
{
    auto mix = [a](uint32_t s, uint32_t d) {
        return static_cast<uint32_t>(PimBlend::SourceAlpha(static_cast<int>(s), static_cast<int>(d), a));
    };
    return F::Pack(mix(Red8(p), F::Red(w)), mix(Green8(p), F::Green(w)), mix(Blue8(p), F::Blue(w)));
}

#if defined(PIM_BLIT_SSE2)
// One colour field of eight destination words blended with the source
// channel: (s x a + d x (255 - a)) >> 8 fits 16 bits because s and d are at
// most 255, so the whole sum stays below 65536.
template <int SHIFT, int BITS>
inline __m128i BlendField(__m128i source, __m128i words, __m128i alpha, __m128i inverse)
{
    const __m128i field = _mm_and_si128(_mm_srli_epi16(words, SHIFT), _mm_set1_epi16((1 << BITS) - 1));
    const __m128i widened = _mm_slli_epi16(field, 8 - BITS);
    const __m128i mixed =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(source, alpha), _mm_mullo_epi16(widened, inverse)), 8);
    return _mm_slli_epi16(_mm_srli_epi16(mixed, 8 - BITS), SHIFT);
}

// A source channel at alpha 255 narrowed into its field: 255 s >> 8 is
// s - 1 for s > 0 and 0 for 0, a saturating subtraction of one.
template <int SHIFT, int BITS>
inline __m128i OpaqueField(__m128i source)
{
    const __m128i mixed = _mm_subs_epu16(source, _mm_set1_epi16(1));
    return _mm_slli_epi16(_mm_srli_epi16(mixed, 8 - BITS), SHIFT);
}

// Byte `SHIFT / 8` of eight 32-bit pixels as eight 16-bit lanes.
template <int SHIFT>
inline __m128i Channel(__m128i p0, __m128i p1)
{
    const __m128i low8 = _mm_set1_epi32(0xFF);
    return _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(p0, SHIFT), low8), _mm_and_si128(_mm_srli_epi32(p1, SHIFT), low8));
}
#endif

// Mode 3, 32 bits onto a plain 16-bit layout, eight pixels a turn. Turns
// that are clear (alpha 0 or the key) throughout are skipped outright, and
// turns that are opaque throughout do not read the destination.
template <class F>
void SourceAlphaRow16(const uint8_t* s, uint8_t* d, int32_t n, bool keyed, uint32_t key)
{
    using P16 = TPixel<2>;
    using P32 = TPixel<4>;
    int32_t i = 0;
#if defined(PIM_BLIT_SSE2)
    const __m128i full = _mm_set1_epi16(255);
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 8 <= n; i += 8) {
        const uint8_t* sp = s + static_cast<ptrdiff_t>(i) * 4;
        uint8_t* dp = d + static_cast<ptrdiff_t>(i) * 2;
        const __m128i p0 = LoadU(sp), p1 = LoadU(sp + 16);
        const __m128i alpha = Channel<24>(p0, p1);
        __m128i skip = _mm_cmpeq_epi16(alpha, _mm_setzero_si128());
        if (keyed)
            skip = _mm_or_si128(skip, _mm_packs_epi32(_mm_cmpeq_epi32(p0, keys), _mm_cmpeq_epi32(p1, keys)));
        const int skipped = _mm_movemask_epi8(skip);
        if (skipped == 0xFFFF)
            continue;
        if (skipped == 0 && _mm_movemask_epi8(_mm_cmpeq_epi16(alpha, full)) == 0xFFFF) {
            StoreU(dp, _mm_or_si128(_mm_or_si128(OpaqueField<F::redShift, F::redBits>(Channel<16>(p0, p1)),
                                                 OpaqueField<F::greenShift, F::greenBits>(Channel<8>(p0, p1))),
                                    OpaqueField<F::blueShift, F::blueBits>(Channel<0>(p0, p1))));
            continue;
        }
        const __m128i words = LoadU(dp);
        const __m128i inverse = _mm_sub_epi16(full, alpha);
        __m128i out = _mm_or_si128(
            _mm_or_si128(BlendField<F::redShift, F::redBits>(Channel<16>(p0, p1), words, alpha, inverse),
                         BlendField<F::greenShift, F::greenBits>(Channel<8>(p0, p1), words, alpha, inverse)),
            BlendField<F::blueShift, F::blueBits>(Channel<0>(p0, p1), words, alpha, inverse));
        if (skipped)
            out = _mm_or_si128(_mm_and_si128(skip, words), _mm_andnot_si128(skip, out));
        StoreU(dp, out);
    }
#endif
    for (; i < n; ++i) {
        const uint32_t p = P32::Load(s + static_cast<ptrdiff_t>(i) * 4);
        const int a = static_cast<int>(p >> 24);
        if (a == 0 || (keyed && p == key))
            continue;
        uint8_t* dp = d + static_cast<ptrdiff_t>(i) * 2;
        P16::Store(dp, SourceAlphaWord<F>(p, P16::Load(dp), a));
    }
}

template <class F>
void From32To16(const ST_BLIT_JOB& job, int32_t mode)
{
    using P16 = TPixel<2>;
    auto convert = [](uint32_t p) { return F::Pack(Red8(p), Green8(p), Blue8(p)); };
    switch (mode) {
    case PIM_DRAW_SOURCE_ALPHA: {
        const bool keyed = KeyApplies(job);
        const uint32_t key = job.key;
        ForEachRow<4, 2>(job, [&](const uint8_t* s, uint8_t* d, int32_t width) {
            SourceAlphaRow16<F>(s, d, width, keyed, key);
        });
        break;
    }
    case PIM_DRAW_ALPHA_TINTED: {
        const int addRed = job.params.argument1 / 8, addGreen = job.params.argument2 / 8;
        const int addBlue = job.params.argument3 / 8;
        BlendRows<4, 2>(job, [&](uint32_t p, uint8_t* d) {
            const int a = static_cast<int>(p >> 24);
            if (a == 0)
                return;
            const uint32_t w = P16::Load(d);
            auto tinted = [a](uint32_t s, uint32_t dc, int add, int bits) {
                return static_cast<uint32_t>(PimBlend::AddAtWidth(
                    PimBlend::SourceAlpha(static_cast<int>(s), static_cast<int>(dc), a), add, bits));
            };
            P16::Store(d, F::Pack(tinted(Red8(p), F::Red(w), addRed, F::redBits),
                                  tinted(Green8(p), F::Green(w), addGreen, F::greenBits),
                                  tinted(Blue8(p), F::Blue(w), addBlue, F::blueBits)));
        });
        break;
    }
    case PIM_DRAW_HALF:
        HalfRows16<4>(job, F::halfMask, convert);
        break;
    default:
        ConvertRows<4, 2>(job, mode, convert);
        break;
    }
}

void From32To32(const ST_BLIT_JOB& job, int32_t mode)
{
    using P = TPixel<4>;
    switch (mode) {
    case PIM_DRAW_HALF:
        // Halving every byte at once: the per-channel rule, as no byte
        // sum can carry into its neighbour.
        BlendRows<4, 4>(job, [](uint32_t p, uint8_t* d) {
            P::Store(d, ((p >> 1) & 0x7F7F7F7Fu) + ((P::Load(d) >> 1) & 0x7F7F7F7Fu));
        });
        break;
    case PIM_DRAW_SOURCE_ALPHA:
        BlendRows<4, 4>(job, [](uint32_t p, uint8_t* d) {
            const int a = static_cast<int>(p >> 24);
            if (a != 0)
                P::Store(d, EachByte(p, P::Load(d), [a](int s, int dc) { return PimBlend::SourceAlpha(s, dc, a); }));
        });
        break;
    case PIM_DRAW_COMPOSITE:
        BlendRows<4, 4>(job, [](uint32_t p, uint8_t* d) {
            if (p >> 24)
                P::Store(d, Word(PimBlend::Composite(Argb(p), Argb(P::Load(d)))));
        });
        break;
    case PIM_DRAW_OPACITY: {
        const int a = PimBlend::Clamp(job.params.argument1, 0, 255);
        if (a == 0)
            break;
        BlendRows<4, 4>(job, [a](uint32_t p, uint8_t* d) {
            P::Store(d, EachByte(p, P::Load(d), [a](int s, int dc) { return PimBlend::Weigh255(s, dc, a); }));
        });
        break;
    }
    default:
        SameFormatRows<4>(job, mode);
        break;
    }
}

} // namespace

bool BlitFrom24(const ST_BLIT_JOB& job, int32_t mode)
{
    if (!SameSize(job))
        return false;
    switch (job.destinationFormat.depth) {
    case 16:
        if (!IsMoveMode(mode) && mode != PIM_DRAW_UPSIDE_DOWN && mode != PIM_DRAW_HALF)
            return false;
        return With16Fields(job.destinationFormat.layout, [&](auto fields) {
            using F = decltype(fields);
            auto convert = [](uint32_t p) { return F::Pack(Red8(p), Green8(p), Blue8(p)); };
            if (mode == PIM_DRAW_HALF)
                HalfRows16<3>(job, F::halfMask, convert);
            else if (mode == PIM_DRAW_UPSIDE_DOWN)
                ConvertRows<3, 2>(job, PIM_DRAW_COPY, convert, true);
            else
                ConvertRows<3, 2>(job, mode, convert);
        });
    case 24:
        if (IsMoveMode(mode)) {
            SameFormatRows<3>(job, mode);
            return true;
        }
        if (mode != PIM_DRAW_HALF)
            return false;
        BlendRows<3, 3>(job, [](uint32_t p, uint8_t* d) {
            using P = TPixel<3>;
            P::Store(d, EachByte(p, P::Load(d), PimBlend::Half));
        });
        return true;
    case 32:
        if (!IsMoveMode(mode))
            return false;
        ConvertRows<3, 4>(job, mode, [](uint32_t p) { return 0xFF000000u | p; });
        return true;
    default:
        return false;
    }
}

bool BlitFrom32(const ST_BLIT_JOB& job, int32_t mode)
{
    if (!SameSize(job))
        return false;
    switch (job.destinationFormat.depth) {
    case 16:
        if (!IsMoveMode(mode) && mode != PIM_DRAW_SOURCE_ALPHA && mode != PIM_DRAW_ALPHA_TINTED &&
            mode != PIM_DRAW_HALF)
            return false;
        return With16Fields(job.destinationFormat.layout,
                            [&](auto fields) { From32To16<decltype(fields)>(job, mode); });
    case 32:
        if (!IsMoveMode(mode) && mode != PIM_DRAW_HALF && mode != PIM_DRAW_SOURCE_ALPHA &&
            mode != PIM_DRAW_COMPOSITE && mode != PIM_DRAW_OPACITY)
            return false;
        From32To32(job, mode);
        return true;
    default:
        return false;
    }
}
