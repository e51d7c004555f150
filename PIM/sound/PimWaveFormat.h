#pragma once
// What a sound's bytes hold: the wave information of a RIFF WAVE file, of raw
// samples, or of a bare format header followed by samples. Sound files come
// from outside, so every size and offset read here is checked against the
// buffer before it is used.

#include "PIM/core/CxError.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// Format tags we know by number.
constexpr uint16_t PIM_WAVE_TAG_PCM = 1;
constexpr uint16_t PIM_WAVE_TAG_IMA_ADPCM = 17;

// Raw sounds: 16-bit mono little-endian samples at this rate.
constexpr uint32_t PIM_RAW_SOUND_RATE = 22000;

struct ST_WAVE_INFO
{
    int format = 0;                // always 0
    const uint8_t* data = nullptr; // first byte of the samples, inside the given bytes
    uint32_t rate = 0;
    uint32_t blockAlign = 0;
    // ADPCM: frames (the "fact" value, or whole blocks by the samples-per-block
    // rule). Other formats: single samples, bytes * 8 / bits (0 when bits is 0),
    // so a stereo PCM file counts two per frame.
    uint32_t samples = 0;
    uint16_t bits = 0;
    uint16_t channels = 0;
    bool adpcm = false;            // format tag 17
    uint32_t dataBytes = 0;        // bytes of samples at `data` (clamped to the buffer)
    uint16_t formatTag = 0;
    size_t dataOffset = 0;         // `data` - the given bytes
    bool hasFact = false;          // the ADPCM count came from a "fact" chunk
};

// Fills `out` for a complete RIFF WAVE file, or for raw samples when `raw` is
// set (22000 Hz, 16 bits, mono, the whole buffer). 10 when the bytes are no
// RIFF WAVE file or lack a "fmt " or "data" chunk, 13 for a format we cannot
// describe (no channels; ADPCM blocks too small for their headers).
int GetWaveFormat(const uint8_t* bytes, size_t size, bool raw, ST_WAVE_INFO& out);

// Fills `out` for a format header followed directly by its samples: 14 header
// bytes when the format tag is 0 (bits then follow from block alignment and
// channels), otherwise 18 plus the header's extra-size field at offset 16.
// 13 when the header or its extra bytes do not fit, or it cannot be described.
int GetWaveHeaderFormat(const uint8_t* bytes, size_t size, ST_WAVE_INFO& out);

// Samples per ADPCM block and channel: (blockAlign - 4 * channels) * 2 /
// channels + 1, or 0 when the block cannot even hold its channel headers.
uint32_t ImaSamplesPerBlock(uint32_t blockAlign, uint16_t channels);

// The most bytes one decoded sound may take. Hostile files can promise any
// length; this turns an absurd one into error 1 instead of exhausting memory.
constexpr size_t PIM_SOUND_MAX_BYTES = size_t{1} << 30;

// Resizes a sound buffer; false when `count` elements exceed the limit above
// or memory ran out (the one place the standard containers' exception is
// turned into the engine's return value).
template <class T>
bool ResizeSoundBuffer(std::vector<T>& buffer, size_t count)
{
    if (count > PIM_SOUND_MAX_BYTES / sizeof(T))
        return false;
    try {
        buffer.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
