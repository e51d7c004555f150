// Run-length BMP streams drawn straight into the surface's rows: whole runs
// are filled and copied a row at a time, so that a picture costs about
// what its uncompressed copy would.
#include "PIM/image/PimBmpRunLength.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kEscapeEndOfLine = 0;
constexpr uint8_t kEscapeEndOfPicture = 1;
constexpr uint8_t kEscapeDelta = 2;
// Any stream may describe a picture of this many pixels, however little of
// it the stream draws: such pictures are cheap to allow.
constexpr uint64_t kAlwaysReachablePixels = uint64_t{1} << 20;
constexpr uint64_t kReachablePixelsPerByte = 1024;

inline void PutNibble(uint8_t* row, int32_t x, uint8_t value)
{
    uint8_t& byte = row[x >> 1];
    byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | value) : static_cast<uint8_t>((byte & 0x0F) | (value << 4));
}

// `count` pixels from x alternating the high and the low nibble of `pair`.
void FillNibbles(uint8_t* row, int32_t x, int32_t count, uint8_t pair)
{
    if (count <= 0)
        return;
    if (x & 1) {
        PutNibble(row, x, pair >> 4);
        ++x;
        --count;
        pair = static_cast<uint8_t>((pair << 4) | (pair >> 4));
    }
    std::memset(row + (x >> 1), pair, static_cast<size_t>(count / 2));
    if (count & 1)
        PutNibble(row, x + count - 1, pair >> 4);
}

// `count` nibbles from `source` (high nibble first) placed from x.
void CopyNibbles(uint8_t* row, int32_t x, int32_t count, const uint8_t* source)
{
    if (!(x & 1)) {
        std::memcpy(row + (x >> 1), source, static_cast<size_t>(count / 2));
        if (count & 1)
            PutNibble(row, x + count - 1, source[count / 2] >> 4);
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        PutNibble(row, x + i, (i & 1) ? source[i >> 1] & 0x0F : source[i >> 1] >> 4);
}

// Where the stream draws: row counts from the bottom, and x may stand past
// the row's end, where whatever follows on that row is cut away.
struct ST_RUN_CURSOR
{
    const ST_BMP_RUN_TARGET& target;
    int32_t x = 0;
    int32_t row = 0;

    uint8_t* Row() const
    {
        return target.top + static_cast<size_t>(target.rows - 1 - row) * target.pitch;
    }
    // How many of `count` pixels from x lie on the row.
    int32_t Fits(int32_t count) const { return std::min(count, target.width - x); }
    void Advance(int32_t count) { x = x + std::min(count, target.width - x); }
};

// A run of `count` pixels: an encoded one repeats `value`; an absolute one
// copies its indices from `source`, where `arrived` of them are in the
// stream. Only the part on the row is drawn.
void DrawRun(ST_RUN_CURSOR& at, int32_t count, int32_t arrived, const uint8_t* source, uint8_t value)
{
    const int32_t fits = at.Fits(arrived);
    uint8_t* row = at.Row();
    if (at.target.depth == 8 && source)
        std::memcpy(row + at.x, source, static_cast<size_t>(fits));
    else if (at.target.depth == 8)
        std::memset(row + at.x, value, static_cast<size_t>(fits));
    else if (source)
        CopyNibbles(row, at.x, fits, source);
    else
        FillNibbles(row, at.x, fits, value);
    at.Advance(count);
}

} // namespace

ST_BMP_RUN_RESULT DecodeBmpRunLength(const uint8_t* stream, size_t size, const ST_BMP_RUN_TARGET& target)
{
    ST_RUN_CURSOR at{target};
    const int pixelsPerByte = target.depth == 8 ? 1 : 2;
    size_t next = 0;
    auto ended = [&at](EBmpRunEnd end) { return ST_BMP_RUN_RESULT{end, at.row}; };
    for (;;) {
        if (size - next < 2)
            return ended(EBmpRunEnd::Truncated);
        const uint8_t count = stream[next];
        const uint8_t value = stream[next + 1];
        next += 2;
        if (count == 0 && value == kEscapeEndOfPicture)
            return ended(EBmpRunEnd::Complete);
        // The end-of-line that closes the top row leaves us above it, and
        // only the end of the picture may follow.
        if (at.row >= target.rows)
            return ended(EBmpRunEnd::Overlong);
        if (count != 0) {
            DrawRun(at, count, count, nullptr, value);
            continue;
        }
        if (value == kEscapeEndOfLine) {
            at.x = 0;
            ++at.row;
        } else if (value == kEscapeDelta) {
            if (size - next < 2)
                return ended(EBmpRunEnd::Truncated);
            at.Advance(stream[next]);
            const int32_t up = stream[next + 1];
            next += 2;
            if (up >= target.rows - at.row)
                return ended(EBmpRunEnd::Overlong);
            at.row += up;
        } else {
            const size_t bytes = (size_t{value} + static_cast<size_t>(pixelsPerByte) - 1) / pixelsPerByte;
            const size_t padded = (bytes + 1) & ~size_t{1};
            const size_t present = std::min(bytes, size - next);
            const auto arrived = static_cast<int32_t>(std::min(size_t{value}, present * pixelsPerByte));
            DrawRun(at, value, arrived, stream + next, 0);
            if (size - next < padded)
                return ended(EBmpRunEnd::Truncated);
            next += padded;
        }
    }
}

uint64_t MostBmpRunLengthPixels(size_t streamBytes)
{
    return std::max(kAlwaysReachablePixels, uint64_t{streamBytes} * kReachablePixelsPerByte);
}
