#include "PIM/graphics/CxKeySpans.h"

#include "PIM/core/CxMemory.h"
#include "PIM/graphics/PimBlitFast.h"

#include <algorithm>
#include <cstring>

using namespace PimBlitDetail;

namespace {

ST_KEY_SPAN_STATS g_stats;

// A run's start and length are uint16: no row may be longer.
constexpr int32_t kWidestRow = 65535;

// Calls run(start, length) for each run of pixels that are not the key in
// one row, left to right.
template <int BYTES, class Run>
void ForEachRun(const uint8_t* row, int32_t width, uint32_t key, Run&& run)
{
    using P = TPixel<BYTES>;
    int32_t x = 0;
    while (x < width) {
        while (x < width && P::Load(row + static_cast<ptrdiff_t>(x) * BYTES) == key)
            ++x;
        const int32_t start = x;
        while (x < width && P::Load(row + static_cast<ptrdiff_t>(x) * BYTES) != key)
            ++x;
        if (x > start)
            run(start, x - start);
    }
}

template <class Run>
void ForEachRunOf(int bytes, const uint8_t* row, int32_t width, uint32_t key, Run&& run)
{
    switch (bytes) {
    case 1:
        ForEachRun<1>(row, width, key, run);
        break;
    case 2:
        ForEachRun<2>(row, width, key, run);
        break;
    case 3:
        ForEachRun<3>(row, width, key, run);
        break;
    default:
        ForEachRun<4>(row, width, key, run);
        break;
    }
}

// memcpy of one run, inline: sprite runs are short (tens of bytes), where
// a library call and its size dispatch cost as much as the copy (measured
// in bench_blit; aligning the stores or calling memcpy for the longer runs
// was slower). From 16 bytes: 16 at a time, the last block ending at the
// end (it may overlap the one before); below: two overlapping moves of the
// largest power of two that fits.
inline void CopyRun(uint8_t* d, const uint8_t* s, size_t n)
{
#if defined(PIM_BLIT_SSE2)
    if (n >= 16) {
        const __m128i tail = LoadU(s + n - 16);
        for (size_t i = 0; i + 16 < n; i += 16)
            StoreU(d + i, LoadU(s + i));
        StoreU(d + n - 16, tail);
        return;
    }
#else
    if (n >= 16) {
        std::memcpy(d, s, n);
        return;
    }
#endif
    if (n >= 8) {
        uint64_t a, b;
        std::memcpy(&a, s, 8);
        std::memcpy(&b, s + n - 8, 8);
        std::memcpy(d, &a, 8);
        std::memcpy(d + n - 8, &b, 8);
    } else if (n >= 4) {
        uint32_t a, b;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, s + n - 4, 4);
        std::memcpy(d, &a, 4);
        std::memcpy(d + n - 4, &b, 4);
    } else if (n >= 2) {
        uint16_t a, b;
        std::memcpy(&a, s, 2);
        std::memcpy(&b, s + n - 2, 2);
        std::memcpy(d, &a, 2);
        std::memcpy(d + n - 2, &b, 2);
    } else if (n == 1) {
        *d = *s;
    }
}

} // namespace

CxKeySpans::~CxKeySpans()
{
    Free(m_rows);
}

void CxKeySpans::Clear()
{
    Free(m_rows);
    m_rows = nullptr;
    m_runs = nullptr;
    m_blockBytes = 0;
    m_built = false;
    m_uses = 0;
    m_waiting = false;
    m_haveCandidate = false;
}

ST_KEY_SPAN_STATS CxKeySpans::GetStats()
{
    return g_stats;
}

bool CxKeySpans::Renew(const ST_PIXELS& pixels, uint32_t key, uint32_t version)
{
    if (m_built) {
        // Stale. Spans that served a single draw say the pixels change about
        // as often as they are drawn.
        m_waiting = m_uses <= 1;
        m_built = false;
        m_haveCandidate = false;
    }
    if (m_waiting && !(m_haveCandidate && m_candidateVersion == version && m_candidateKey == key)) {
        m_haveCandidate = true;
        m_candidateVersion = version;
        m_candidateKey = key;
        return false;
    }
    if (!Build(pixels, key))
        return false;
    m_version = version;
    m_uses = 1;
    m_waiting = false;
    m_haveCandidate = false;
    return true;
}

bool CxKeySpans::Build(const ST_PIXELS& pixels, uint32_t key)
{
    m_built = false;
    if (pixels.width <= 0 || pixels.height <= 0 || pixels.width > kWidestRow || pixels.bytes < 1 ||
        pixels.bytes > 4 || !pixels.bits)
        return false;
    auto rowOf = [&](int32_t y) { return pixels.bits + static_cast<ptrdiff_t>(y) * pixels.pitch; };

    // Counted first, so that the block is allocated once at its size (or
    // the one already held is reused when it is large enough).
    size_t runs = 0;
    for (int32_t y = 0; y < pixels.height; ++y)
        ForEachRunOf(pixels.bytes, rowOf(y), pixels.width, key, [&](int32_t, int32_t) { ++runs; });
    const size_t indexBytes = (static_cast<size_t>(pixels.height) + 1) * sizeof(uint32_t);
    if (runs > UINT32_MAX)
        return false;
    const size_t bytes = indexBytes + runs * 2 * sizeof(uint16_t);
    if (bytes > m_blockBytes) {
        void* block = AllocateQuietly(bytes, __FILE__, __LINE__, false);
        if (!block)
            return false; // the general routine draws; nothing to report
        Free(m_rows);
        m_rows = static_cast<uint32_t*>(block);
        m_blockBytes = bytes;
    }
    m_runs = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(m_rows) + indexBytes);

    uint32_t next = 0;
    for (int32_t y = 0; y < pixels.height; ++y) {
        m_rows[y] = next;
        ForEachRunOf(pixels.bytes, rowOf(y), pixels.width, key, [&](int32_t start, int32_t length) {
            m_runs[2 * next] = static_cast<uint16_t>(start);
            m_runs[2 * next + 1] = static_cast<uint16_t>(length);
            ++next;
        });
    }
    m_rows[pixels.height] = next;
    m_width = pixels.width;
    m_height = pixels.height;
    m_bytes = pixels.bytes;
    m_key = key;
    m_built = true;
    ++g_stats.builds;
    return true;
}

void CxKeySpans::Draw(const uint8_t* sourceBits, int32_t sourcePitch, const CxRect& sourceRect,
                      uint8_t* destinationBits, int32_t destinationPitch, const CxRect& destinationRect) const
{
    if (!m_built)
        return;
    ++g_stats.draws;
    const size_t bytes = static_cast<size_t>(m_bytes);
    const int32_t left = sourceRect.left;
    const int32_t end = sourceRect.right + 1; // one past the last column drawn
    const int32_t top = sourceRect.top;
    const int32_t rows = static_cast<int32_t>(sourceRect.Height());
    // Row y of the destination, at the pixel where source column `left` lands.
    uint8_t* destination = destinationBits + static_cast<ptrdiff_t>(destinationRect.top) * destinationPitch +
                           static_cast<ptrdiff_t>(destinationRect.left) * m_bytes;
    const uint8_t* source = sourceBits + static_cast<ptrdiff_t>(top) * sourcePitch;
    const bool wholeRows = left == 0 && end == m_width;
    for (int32_t y = 0; y < rows; ++y, source += sourcePitch, destination += destinationPitch) {
        const uint16_t* run = m_runs + 2 * static_cast<size_t>(m_rows[top + y]);
        const uint16_t* last = m_runs + 2 * static_cast<size_t>(m_rows[top + y + 1]);
        if (wholeRows) {
            for (; run != last; run += 2)
                CopyRun(destination + run[0] * bytes, source + run[0] * bytes, run[1] * bytes);
            continue;
        }
        // Runs left of the rectangle are skipped, those crossing an edge cut.
        for (; run != last; run += 2) {
            const int32_t start = run[0], stop = start + run[1];
            if (stop <= left)
                continue;
            if (start >= end)
                break;
            const int32_t from = std::max(start, left), to = std::min(stop, end);
            CopyRun(destination + static_cast<size_t>(from - left) * bytes, source + static_cast<size_t>(from) * bytes,
                    static_cast<size_t>(to - from) * bytes);
        }
    }
}
