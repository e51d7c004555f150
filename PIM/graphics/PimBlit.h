#pragma once
// Drawing one surface onto another: the clipping, the choice of pixel routine
// and the general routine that every specialised routine must agree with to
// the byte. CxDrawSurface::Blit is the front door; everything below is
// usable on plain buffers too, which is how the tests hold the fast routines
// to the general one.

#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/graphics/PimPixelFormat.h"

// One blit after clipping: both rectangles lie inside their surfaces and are
// not empty, and the source pixels do not overlap the destination pixels
// (Blit copies an overlapping source aside). Pixel routines never see a
// surface object, only this.
struct ST_BLIT_JOB
{
    const uint8_t* sourceBits = nullptr; // row 0 of the source
    int32_t sourcePitch = 0;
    ST_PIXEL_FORMAT sourceFormat;
    uint8_t* destinationBits = nullptr; // row 0 of the destination
    int32_t destinationPitch = 0;
    ST_PIXEL_FORMAT destinationFormat;
    CxRect destinationRect;
    CxRect sourceRect;
    // Compared with the raw source value: the index for paletted depths, the
    // word for 16 and 32 bits, and for 24 bits the key convention (first
    // byte in memory least significant).
    bool hasKey = false;
    uint32_t key = PIM_NO_KEY;
    ST_DRAW_PARAMS params;
    // The destination's transparent colour, which mode 18 leaves alone.
    uint32_t destinationKey = PIM_NO_KEY;
    // 8 -> 16 bits: the source palette packed for the destination's layout
    // (2^depth entries), when the source has built one. Optional.
    const uint16_t* paletteLookup = nullptr;
};

// Clips a blit of a `sourceSize` surface onto a `destinationSize` surface.
// Both rectangles are inclusive, read and rewritten. The destination is
// clipped first; when it was moved, the source edges follow it one for one
// (equal sizes) or proportionally (a stretch: left/top rounded half up,
// right/bottom half down). Then the source is clipped to its surface and the
// destination edges follow by the same pixel counts. False when either
// rectangle is empty before or after, in which case nothing is drawn. All
// arithmetic is 64-bit, so rectangles from hostile data cannot overflow.
bool ClipBlit(CxSize destinationSize, CxSize sourceSize, CxRect& destinationRect, CxRect& sourceRect);

// The mode a pixel routine really applies: 3 without a source alpha copies,
// 6 outside 32 -> 32 and 14 outside 24 -> 16 copy, 17 and unknown codes copy,
// 19 draws nothing (its routine runs instead of a pixel routine).
int32_t EffectiveBlitMode(const ST_BLIT_JOB& job);

// Every depth pair, stretching (nearest source pixel, 16.16 fixed-point
// steps) and every mode, one pixel at a time through SplitPixel/PackPixel.
void BlitGeneral(const ST_BLIT_JOB& job);

// The routine choice: the specialised routine for the pair when there is one
// and it knows the case, else the general routine.
void BlitRun(const ST_BLIT_JOB& job);

// While set, BlitRun (and so every Blit) uses the general routine only. For
// tests and measurements; process-wide, not thread-safe.
void SetBlitForceGeneral(bool force);
bool GetBlitForceGeneral();

// The arithmetic of the modes on 8-bit channels. The general routine applies
// these per channel; the fast routines must produce the same numbers.
namespace PimBlend
{
inline int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}
// Mode 2 on destinations that are not packed 16-bit colour words.
inline int Half(int s, int d)
{
    return (s >> 1) + (d >> 1);
}
// Mode 3 with an 8-bit source alpha (1..255; 0 is skipped before).
inline int SourceAlpha(int s, int d, int a)
{
    return (s * a + d * (255 - a)) >> 8;
}
// Mode 3 with a 4-bit source alpha (1..14; 0 skips, 15 copies).
inline int SourceAlpha4(int s, int d, int a)
{
    return (s * a + d * (15 - a)) >> 4;
}
// s weighted by a / 255 against d: modes 7 (a = opacity), 4 and 8 (with the
// destination as `s` and its alpha as `a`).
inline int Weigh255(int s, int d, int a)
{
    return (s * a + d * (255 - a)) / 255;
}
// Mode 5: each side weighted by its own alpha; half and half when both are 0.
inline int BothAlpha(int s, int d, int sa, int da)
{
    return sa + da == 0 ? (s + d) >> 1 : (s * sa + d * da) / (sa + da);
}
// Mode 18: the source's distance from mid-grey added to the destination.
inline int Emboss(int s, int d)
{
    return Clamp(d + s - 128, 0, 255);
}
// Mode 12: `add` added to the channel taken to 5 bits, clamped there.
inline int AddTo5Bits(int s, int add)
{
    return Clamp((s >> 3) + add, 0, 31) << 3;
}
// Mode 9: `add` added to a channel of `bits` bits (the 8-bit value is that
// channel widened), clamped to the channel's range.
inline int AddAtWidth(int c, int add, int bits)
{
    return Clamp(c + add * (1 << (8 - bits)), 0, ((1 << bits) - 1) << (8 - bits));
}
// Mode 6, source-over onto a destination with alpha (source alpha > 0). In
// units of 1/65025: S = s x 255, D = (255 - s) x d, O = S + D; each colour
// = (source x S + destination x D) / O truncated; alpha = O / 255 (255
// when O reaches 65025).
inline ST_ARGB Composite(ST_ARGB s, ST_ARGB d)
{
    const int S = s.alpha * 255, D = (255 - s.alpha) * d.alpha, O = S + D;
    auto mix = [&](int sc, int dc) { return static_cast<uint8_t>((sc * S + dc * D) / O); };
    return {static_cast<uint8_t>(O >= 65025 ? 255 : O / 255), mix(s.red, d.red), mix(s.green, d.green),
            mix(s.blue, d.blue)};
}
} // namespace PimBlend
