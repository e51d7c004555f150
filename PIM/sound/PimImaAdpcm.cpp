#include "PIM/sound/PimImaAdpcm.h"

#include "PIM/core/PimByteOrder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

const int16_t kStepSizes[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

const int8_t kIndexChange[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

constexpr int kMaxStepIndex = 88;
// How far the encoder looks around the running step index for a block's start.
constexpr int kIndexSearch = 1;
// ... and around its guess for the first block, where there is no running one.
constexpr int kFirstIndexSearch = 16;

int ClampIndex(int index)
{
    return std::clamp(index, 0, kMaxStepIndex);
}

// One channel's running predictor, the same arithmetic on both sides so the
// encoder always knows what the decoder will make of its nibbles.
struct ST_IMA_STATE
{
    int predictor = 0;
    int index = 0;

    int16_t Decode(unsigned nibble)
    {
        const int step = kStepSizes[index];
        int difference = step >> 3;
        if (nibble & 4)
            difference += step;
        if (nibble & 2)
            difference += step >> 1;
        if (nibble & 1)
            difference += step >> 2;
        predictor += (nibble & 8) ? -difference : difference;
        predictor = std::clamp(predictor, -32768, 32767);
        index = ClampIndex(index + kIndexChange[nibble & 15]);
        return static_cast<int16_t>(predictor);
    }

    unsigned Encode(int sample)
    {
        int difference = sample - predictor;
        unsigned nibble = 0;
        if (difference < 0) {
            nibble = 8;
            difference = -difference;
        }
        int step = kStepSizes[index];
        if (difference >= step) {
            nibble |= 4;
            difference -= step;
        }
        step >>= 1;
        if (difference >= step) {
            nibble |= 2;
            difference -= step;
        }
        step >>= 1;
        if (difference >= step)
            nibble |= 1;
        Decode(nibble);
        return nibble;
    }
};

// Groups of 4 bytes per channel must fill the part after the headers.
bool ValidLayout(uint32_t blockAlign, uint16_t channels)
{
    if (channels == 0 || blockAlign < 4u * channels)
        return false;
    return (blockAlign - 4u * channels) % (4u * channels) == 0;
}

// The step index whose step is nearest the mean change from sample to
// sample: where a well-adapted coder would be.
int GuessStepIndex(const int* samples, size_t count)
{
    if (count < 2)
        return 0;
    int64_t total = 0;
    for (size_t k = 1; k < count; ++k)
        total += std::abs(samples[k] - samples[k - 1]);
    const int64_t mean = total / static_cast<int64_t>(count - 1);
    int index = 0;
    while (index < kMaxStepIndex && kStepSizes[index] < mean)
        ++index;
    return index;
}

constexpr size_t kFmtBytes = 20;
constexpr size_t kWaveHeaderBytes = 12 + 8 + kFmtBytes + 8 + 4 + 8;

} // namespace

uint32_t ImaBlockAlignFor(uint32_t rate, uint16_t channels)
{
    return (rate <= 22050 ? 256u : 512u) * channels;
}

int ImaDecode(const uint8_t* data, size_t bytes, uint32_t blockAlign, uint16_t channels, uint64_t maxFrames,
              std::vector<int16_t>& out)
{
    out.clear();
    if (!ValidLayout(blockAlign, channels))
        return PIM_ERR_UNKNOWN;
    if (!data && bytes)
        return PIM_ERR_BAD_ARG;
    const size_t headerBytes = 4u * channels;
    const size_t groupBytes = 4u * channels;
    const uint64_t perBlock = ImaSamplesPerBlock(blockAlign, channels);
    const uint64_t wholeBlocks = bytes / blockAlign;
    const size_t rest = bytes % blockAlign;
    uint64_t frames = wholeBlocks * perBlock;
    if (rest >= headerBytes)
        frames += 1 + (rest - headerBytes) / groupBytes * 8;
    frames = std::min(frames, maxFrames);
    if (frames > PIM_SOUND_MAX_BYTES || !ResizeSoundBuffer(out, static_cast<size_t>(frames) * channels))
        return PIM_ERR_OUT_OF_MEMORY;

    uint64_t frame = 0;
    std::vector<ST_IMA_STATE> states;
    if (!ResizeSoundBuffer(states, channels))
        return PIM_ERR_OUT_OF_MEMORY;
    for (size_t start = 0; frame < frames; start += blockAlign) {
        const uint8_t* block = data + start;
        const size_t blockBytes = std::min<size_t>(blockAlign, bytes - start);
        for (uint16_t c = 0; c < channels; ++c) {
            states[c].predictor = static_cast<int16_t>(ReadLe16(block + 4 * c));
            states[c].index = ClampIndex(block[4 * c + 2]);
            out[frame * channels + c] = static_cast<int16_t>(states[c].predictor);
        }
        ++frame;
        const size_t groups = (blockBytes - headerBytes) / groupBytes;
        for (size_t g = 0; g < groups && frame < frames; ++g) {
            const uint8_t* group = block + headerBytes + g * groupBytes;
            const uint64_t count = std::min<uint64_t>(8, frames - frame);
            for (uint16_t c = 0; c < channels; ++c) {
                const uint8_t* nibbles = group + 4 * c;
                int16_t* target = out.data() + frame * channels + c;
                for (uint64_t k = 0; k < count; ++k, target += channels) {
                    const unsigned byte = nibbles[k / 2];
                    *target = states[c].Decode((k & 1) ? byte >> 4 : byte & 15);
                }
            }
            frame += count;
        }
    }
    return PIM_OK;
}

int ImaEncode(const int16_t* samples, size_t frames, uint16_t channels, uint32_t blockAlign,
              std::vector<uint8_t>& out)
{
    out.clear();
    if (!ValidLayout(blockAlign, channels))
        return PIM_ERR_UNKNOWN;
    if (!samples && frames)
        return PIM_ERR_BAD_ARG;
    const size_t headerBytes = 4u * channels;
    const size_t groupBytes = 4u * channels;
    const uint64_t perBlock = ImaSamplesPerBlock(blockAlign, channels);
    const uint64_t blocks = (uint64_t{frames} + perBlock - 1) / perBlock;
    if (blocks > PIM_SOUND_MAX_BYTES / blockAlign || !ResizeSoundBuffer(out, static_cast<size_t>(blocks * blockAlign)))
        return PIM_ERR_OUT_OF_MEMORY;

    // Past the end the last frame repeats, which costs the fewest bits.
    auto sampleAt = [&](uint64_t frame, uint16_t c) -> int {
        return samples[std::min<uint64_t>(frame, frames - 1) * channels + c];
    };
    std::vector<ST_IMA_STATE> states;
    std::vector<int> lane; // one channel's samples of the block being coded
    if (!ResizeSoundBuffer(states, channels) || !ResizeSoundBuffer(lane, static_cast<size_t>(perBlock)))
        return PIM_ERR_OUT_OF_MEMORY;
    for (uint64_t b = 0; b < blocks; ++b) {
        uint8_t* block = out.data() + b * blockAlign;
        const uint64_t first = b * perBlock;
        // Frames past the end are filler: their error does not count.
        const uint64_t real = std::min<uint64_t>(perBlock, frames - first);
        for (uint16_t c = 0; c < channels; ++c) {
            // The header sample is exact, which also stops errors carrying
            // from one block into the next. The step index that starts the
            // block is free: try those near the running one (near a guess
            // from the samples for the first block) and keep the one that
            // follows this block's samples best. The step adapts only
            // slowly, so a bad start costs a good part of the block; a loud
            // sound coded from the smallest step is audibly rough for its
            // first few milliseconds otherwise.
            for (uint64_t k = 0; k < perBlock; ++k)
                lane[k] = sampleAt(first + k, c);
            const int firstSample = lane[0];
            const int start = b == 0 ? GuessStepIndex(lane.data(), static_cast<size_t>(real)) : states[c].index;
            const int reach = b == 0 ? kFirstIndexSearch : kIndexSearch;
            // The squared error of the block from one start, given up once
            // it passes `bound`.
            auto blockError = [&](int index, double bound) {
                ST_IMA_STATE trial{firstSample, index};
                double error = 0;
                for (uint64_t k = 1; k < real && (bound < 0 || error < bound); ++k) {
                    trial.Encode(lane[k]);
                    error += static_cast<double>(trial.predictor - lane[k]) * (trial.predictor - lane[k]);
                }
                return error;
            };
            // Outwards from the likeliest start, so that a good bound is
            // known early and poor candidates are dropped after a few samples.
            int bestIndex = start;
            double bestError = blockError(start, -1);
            for (int distance = 1; distance <= reach; ++distance) {
                for (int candidate : {start - distance, start + distance}) {
                    if (candidate < 0 || candidate > kMaxStepIndex)
                        continue;
                    const double error = blockError(candidate, bestError);
                    if (error < bestError) {
                        bestError = error;
                        bestIndex = candidate;
                    }
                }
            }
            states[c] = ST_IMA_STATE{firstSample, bestIndex};
            WriteLe16(block + 4 * c, static_cast<uint16_t>(firstSample));
            block[4 * c + 2] = static_cast<uint8_t>(bestIndex);
            block[4 * c + 3] = 0;
            for (uint64_t k = 1; k < perBlock; ++k) {
                const unsigned nibble = states[c].Encode(lane[k]);
                const uint64_t position = k - 1;
                uint8_t* byte = block + headerBytes + position / 8 * groupBytes + 4 * c + position % 8 / 2;
                *byte = (position & 1) ? static_cast<uint8_t>(*byte | (nibble << 4)) : static_cast<uint8_t>(nibble);
            }
        }
    }
    return PIM_OK;
}

int ImaEncodeWave(const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate,
                  std::vector<uint8_t>& wave)
{
    wave.clear();
    // The block alignment is a 16-bit field of the file.
    const uint32_t blockAlign = ImaBlockAlignFor(rate, channels);
    if (channels == 0 || blockAlign > 0xFFFF || frames > std::numeric_limits<uint32_t>::max())
        return PIM_ERR_BAD_ARG;
    std::vector<uint8_t> blocks;
    if (int code = ImaEncode(samples, frames, channels, blockAlign, blocks))
        return code;
    if (blocks.size() > std::numeric_limits<uint32_t>::max() - kWaveHeaderBytes ||
        !ResizeSoundBuffer(wave, kWaveHeaderBytes + blocks.size()))
        return PIM_ERR_OUT_OF_MEMORY;

    const uint32_t perBlock = ImaSamplesPerBlock(blockAlign, channels);
    uint8_t* p = wave.data();
    std::memcpy(p, "RIFF", 4);
    WriteLe32(p + 4, static_cast<uint32_t>(wave.size() - 8));
    std::memcpy(p + 8, "WAVEfmt ", 8);
    WriteLe32(p + 16, kFmtBytes);
    WriteLe16(p + 20, PIM_WAVE_TAG_IMA_ADPCM);
    WriteLe16(p + 22, channels);
    WriteLe32(p + 24, rate);
    WriteLe32(p + 28, static_cast<uint32_t>(uint64_t{rate} * blockAlign / perBlock));
    WriteLe16(p + 32, blockAlign);
    WriteLe16(p + 34, 4);
    WriteLe16(p + 36, 2);
    WriteLe16(p + 38, perBlock);
    std::memcpy(p + 40, "fact", 4);
    WriteLe32(p + 44, 4);
    WriteLe32(p + 48, static_cast<uint32_t>(frames));
    std::memcpy(p + 52, "data", 4);
    WriteLe32(p + 56, static_cast<uint32_t>(blocks.size()));
    if (!blocks.empty())
        std::memcpy(p + kWaveHeaderBytes, blocks.data(), blocks.size());
    return PIM_OK;
}

int ImaDecodeWave(const uint8_t* wave, size_t size, std::vector<int16_t>& samples, uint32_t& rate,
                  uint16_t& channels)
{
    samples.clear();
    ST_WAVE_INFO info;
    if (int code = GetWaveFormat(wave, size, false, info))
        return code;
    if (!info.adpcm || info.bits != 4)
        return PIM_ERR_UNKNOWN;
    if (int code = ImaDecode(info.data, info.dataBytes, info.blockAlign, info.channels, info.samples, samples))
        return code;
    rate = info.rate;
    channels = info.channels;
    return PIM_OK;
}
