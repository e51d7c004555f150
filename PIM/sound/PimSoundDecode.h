#pragma once
// Turning a sound's data into samples the mixer can play: the one decoding
// entry point for every kind of sound data, and the conversion to the
// mixer's rate and channels.

#include "PIM/core/CxError.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// What a sound's data holds. The values are the sound's play flags that
// select them, so `SoundKindFromFlags` is all a sound needs to pick one.
enum : uint32_t
{
    PIM_SOUND_KIND_WAVE = 0,       // a complete RIFF WAVE file
    PIM_SOUND_KIND_MP3 = 0x20,     // MP3, perhaps behind an ID3v2.3 tag
    PIM_SOUND_KIND_RAW = 0x80,     // 16-bit mono little-endian samples at 22000 Hz
    PIM_SOUND_KIND_HEADER = 0x100, // a wave format header, then the samples
};

// The kind by play flags; with several set, MP3 comes before raw before header.
uint32_t SoundKindFromFlags(uint32_t playFlags);

// Rates a sound may have; outside data claiming anything else is refused.
constexpr uint32_t PIM_SOUND_MIN_RATE = 1000;
constexpr uint32_t PIM_SOUND_MAX_RATE = 768000;

// Interleaved signed 16-bit samples: `frames` frames of `channels` samples.
struct ST_PCM
{
    std::vector<int16_t> samples;
    uint32_t rate = 0;
    uint16_t channels = 0;
    size_t frames = 0;
};

// Decodes sound data of the given kind. Waves (and the header kind) may hold
// 8-bit unsigned or 16-bit PCM, or 4-bit IMA ADPCM, mono or stereo, at any
// rate in the range above. 10 when a wave file is no wave file, 13 for data
// that is unsupported or corrupt, 16 for an unknown kind, 1 without memory.
int DecodeSound(const uint8_t* data, size_t size, uint32_t kind, ST_PCM& out);

// Converts to another rate and channel count (1 or 2). Stereo becomes mono
// by the average of both sides (rounded down), mono becomes stereo by
// duplication. Equal rates copy the samples exactly; a higher rate is
// interpolated by a cubic through four neighbours, a lower one takes a
// triangle-weighted average over the span each output sample covers, so
// what cannot be represented is smoothed rather than folded back.
// 16 for bad arguments, 1 without memory.
int ConvertPcm(const ST_PCM& in, uint32_t rate, uint16_t channels, ST_PCM& out);
