#pragma once
// The opaque runs of a colour-keyed surface, found once and drawn many times:
// a sprite loaded once and drawn every frame is copied run by run with
// memcpy, and its key pixels are never looked at again. Each row is a list
// of [start, start + length) runs of pixels that are not the key, kept as
// uint16 pairs in one block with the index of each row's first run.
//
// The runs describe the pixels as they were when built. The surface owning
// them says which version of its pixels that was; Prepare rebuilds when the
// version or the key differs. A surface whose pixels change between nearly
// every draw would pay for a build each time, so after spans that served a
// single draw went stale the next build waits until the pixels have held
// still from one draw to the next (the general routine draws meanwhile).

#include "PIM/core/CxRect.h"
#include "PIM/core/PimDefs.h"

// What the runs did, process-wide (tests and measurements).
struct ST_KEY_SPAN_STATS
{
    uint64_t builds = 0; // spans found from the pixels
    uint64_t draws = 0;  // blits drawn from spans
};

class CxKeySpans
{
public:
    CxKeySpans() = default;
    ~CxKeySpans();
    CxKeySpans(const CxKeySpans&) = delete;
    CxKeySpans& operator=(const CxKeySpans&) = delete;

    // The pixels a surface's spans are made from: `bytes` (1 to 4) per pixel,
    // 24-bit keys in the drawing convention (first byte least significant).
    struct ST_PIXELS
    {
        const uint8_t* bits = nullptr;
        int32_t pitch = 0;
        int32_t width = 0;
        int32_t height = 0;
        int bytes = 0;
    };

    // True when spans for these pixels (of this version) and this key are
    // ready, built now when they were missing or stale and the rebuilding
    // rule allows it. False: draw with the general routine (also when the
    // surface is wider than a run can say, or memory is short).
    bool Prepare(const ST_PIXELS& pixels, uint32_t key, uint32_t version)
    {
        // Inline: this is the answer of nearly every draw.
        if (m_built && key == m_key && version == m_version && pixels.width == m_width &&
            pixels.height == m_height && pixels.bytes == m_bytes) {
            ++m_uses;
            return true;
        }
        return Renew(pixels, key, version);
    }
    // Draws from the spans: an equal-size keyed copy, both rectangles
    // clipped to their surfaces, onto a destination of the same format, from
    // the pixels the spans were prepared for.
    void Draw(const uint8_t* sourceBits, int32_t sourcePitch, const CxRect& sourceRect, uint8_t* destinationBits,
              int32_t destinationPitch, const CxRect& destinationRect) const;
    // Forgets the spans and frees their block.
    void Clear();

    bool IsBuilt() const { return m_built; }
    uint32_t GetKey() const { return m_key; }
    // Runs over all rows (0 when not built).
    size_t CountRuns() const { return m_built ? m_rows[m_height] : 0; }

    static ST_KEY_SPAN_STATS GetStats();
    // Draws with the widest copies the processor has (the default), or with
    // the plain x86-64 ones (tests, to check both). True when wide copies
    // are in use afterwards.
    static bool UseWideCopies(bool wide);

private:
    bool Renew(const ST_PIXELS& pixels, uint32_t key, uint32_t version);
    bool Build(const ST_PIXELS& pixels, uint32_t key);

    // m_height + 1 run indices (row y's runs are m_rows[y] .. m_rows[y + 1])
    // followed by the runs: start and length of each, as uint16 pairs.
    uint32_t* m_rows = nullptr;
    uint16_t* m_runs = nullptr;
    size_t m_blockBytes = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int m_bytes = 0;
    uint32_t m_key = 0;
    uint32_t m_version = 0;
    bool m_built = false;
    // Draws served by the present spans; spans that served one draw before
    // going stale make the next build wait for pixels that hold still.
    uint32_t m_uses = 0;
    bool m_waiting = false;
    bool m_haveCandidate = false;
    uint32_t m_candidateVersion = 0;
    uint32_t m_candidateKey = 0;
};
