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

// A block of N bytes moved through one vector register (16 bytes in plain
// x86-64, 32 with AVX2). The type may alias anything and needs no
// alignment.
template <size_t N>
struct TBlock
{
    typedef uint8_t Vector __attribute__((vector_size(N), aligned(1), may_alias));
    static inline __attribute__((always_inline)) void Move(uint8_t* d, const uint8_t* s)
    {
        *reinterpret_cast<Vector*>(d) = *reinterpret_cast<const Vector*>(s);
    }
};

// memcpy of one run, inline: sprite runs are short (tens of bytes), where
// a library call and its size dispatch cost as much as the copy (measured
// in bench_blit). From BLOCK bytes (the widest register): BLOCK at a time,
// the last block ending at the end (it may overlap the one before; source
// and destination are different surfaces); below: two overlapping moves of
// the largest power of two that fits.
template <size_t BLOCK>
inline __attribute__((always_inline)) void CopyRun(uint8_t* d, const uint8_t* s, size_t n)
{
    if (n >= BLOCK) {
        for (size_t i = 0; i + BLOCK < n; i += BLOCK)
            TBlock<BLOCK>::Move(d + i, s + i);
        TBlock<BLOCK>::Move(d + n - BLOCK, s + n - BLOCK);
    } else if (BLOCK > 16 && n >= 16) {
        TBlock<16>::Move(d, s);
        TBlock<16>::Move(d + n - 16, s + n - 16);
    } else if (n >= 8) {
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

// What one draw needs, gathered by Draw.
struct ST_SPAN_DRAW
{
    const uint32_t* rows;  // the run indices of the rows drawn, first to last + 1
    const uint16_t* runs;  // all the runs
    const uint8_t* source; // the first row drawn
    uint8_t* destination;  // its destination, where source column `left` lands
    ptrdiff_t sourcePitch;
    ptrdiff_t destinationPitch;
    int32_t count; // rows drawn
    int32_t left;  // first column drawn
    int32_t end;   // one past the last column drawn
    int32_t width; // of the surface the runs describe
    size_t bytes;  // per pixel
};

template <size_t BLOCK>
inline __attribute__((always_inline)) void DrawRunsBody(const ST_SPAN_DRAW& job)
{
    const uint8_t* source = job.source;
    uint8_t* destination = job.destination;
    const size_t bytes = job.bytes;
    const uint16_t* run = job.runs + 2 * static_cast<size_t>(job.rows[0]);
    if (job.left == 0 && job.end == job.width) {
        // Whole rows, the common case: the runs go by in one stream.
        for (int32_t y = 0; y < job.count; ++y, source += job.sourcePitch, destination += job.destinationPitch) {
            const uint16_t* last = job.runs + 2 * static_cast<size_t>(job.rows[y + 1]);
            for (; run != last; run += 2)
                CopyRun<BLOCK>(destination + run[0] * bytes, source + run[0] * bytes, run[1] * bytes);
        }
        return;
    }
    const int32_t left = job.left, end = job.end;
    for (int32_t y = 0; y < job.count; ++y, source += job.sourcePitch, destination += job.destinationPitch) {
        // Runs left of the rectangle are skipped, those crossing an edge cut.
        const uint16_t* last = job.runs + 2 * static_cast<size_t>(job.rows[y + 1]);
        for (; run != last; run += 2) {
            const int32_t start = run[0], stop = start + run[1];
            if (stop <= left)
                continue;
            if (start >= end)
                break;
            const int32_t from = std::max(start, left), to = std::min(stop, end);
            CopyRun<BLOCK>(destination + static_cast<size_t>(from - left) * bytes, source + static_cast<size_t>(from) * bytes,
                    static_cast<size_t>(to - from) * bytes);
        }
        run = last;
    }
}

void DrawRunsPlain(const ST_SPAN_DRAW& job)
{
    DrawRunsBody<16>(job);
}

// The build targets plain x86-64; where the processor has AVX2 the rows are
// drawn by a copy of the loop compiled for it, whose 32-byte blocks halve
// the stores of a run. Chosen once, at start-up; until then (constructors
// of other files) the plain copy draws.
using DrawRunsFunction = void (*)(const ST_SPAN_DRAW&);
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx2"))) void DrawRunsAvx2(const ST_SPAN_DRAW& job)
{
    DrawRunsBody<32>(job);
}

bool HasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#else
constexpr DrawRunsFunction DrawRunsAvx2 = DrawRunsPlain;
bool HasAvx2()
{
    return false;
}
#endif

DrawRunsFunction g_drawRuns = DrawRunsPlain;
[[maybe_unused]] const bool g_wideChosen = CxKeySpans::UseWideCopies(true);

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
    ST_SPAN_DRAW job;
    job.rows = m_rows + sourceRect.top;
    job.runs = m_runs;
    job.source = sourceBits + static_cast<ptrdiff_t>(sourceRect.top) * sourcePitch;
    job.destination = destinationBits + static_cast<ptrdiff_t>(destinationRect.top) * destinationPitch +
                      static_cast<ptrdiff_t>(destinationRect.left) * m_bytes;
    job.sourcePitch = sourcePitch;
    job.destinationPitch = destinationPitch;
    job.count = static_cast<int32_t>(sourceRect.Height());
    job.left = sourceRect.left;
    job.end = sourceRect.right + 1;
    job.width = m_width;
    job.bytes = static_cast<size_t>(m_bytes);
    g_drawRuns(job);
}

bool CxKeySpans::UseWideCopies(bool wide)
{
    static const bool s_hasAvx2 = HasAvx2();
    wide = wide && s_hasAvx2;
    g_drawRuns = wide ? DrawRunsAvx2 : DrawRunsPlain;
    return wide;
}
