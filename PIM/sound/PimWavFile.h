#pragma once
// Writing RIFF WAVE files of plain PCM samples: the decoder tool's output,
// the sound recorder and the sound edits that rebuild a wave.

#include "PIM/core/CxError.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t PIM_WAV_HEADER_SIZE = 44;

// The 44-byte header of a PCM file ("RIFF", "WAVE", a 16-byte "fmt " chunk
// with tag 1, then the "data" chunk header). `dataBytes` is the size of the
// samples that follow; sizes that would not fit the 32-bit fields are clamped.
void BuildPcmWavHeader(uint8_t* out, uint32_t rate, uint16_t channels, uint16_t bits, uint64_t dataBytes);

// A whole 16-bit PCM file in memory: header and little-endian samples
// (`frames` frames of `channels` interleaved samples).
std::vector<uint8_t> BuildPcmWav16(const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate);

// Writes a whole 16-bit PCM file through the file layer, to a temporary name
// renamed over the old file. PIM_OK, or the file layer's error (the old file
// is then left as it was).
int WritePcmWav16(const char* path, const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate);
