#pragma once
// IMA ADPCM (wave format tag 17, 4 bits a sample), our own coder.
//
// A block holds, per channel, a 4-byte header (the first sample, 16-bit
// little-endian; the step index; a zero byte), then groups of 4 bytes per
// channel in channel order, each group 8 samples of that channel, low nibble
// first. A block carries (blockAlign - 4 * channels) * 2 / channels + 1
// samples per channel.

#include "PIM/sound/PimWaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The block alignment we write: 256 bytes a channel up to 22050 Hz, 512
// above, the sizes the common encoders choose.
uint32_t ImaBlockAlignFor(uint32_t rate, uint16_t channels);

// Decodes whole and partial blocks (a partial block yields the groups it
// holds completely) into interleaved samples, at most `maxFrames` frames.
// Step indices, those of the block headers too, are kept within 0..88.
// 13 when the block layout does not work out for these channels (no room
// for the headers, or a data part that is not whole groups), 1 without memory.
int ImaDecode(const uint8_t* data, size_t bytes, uint32_t blockAlign, uint16_t channels, uint64_t maxFrames,
              std::vector<int16_t>& out);

// Encodes `frames` interleaved frames into whole blocks; the last one is
// filled up by repeating the final frame. 13/16 for an unusable layout or
// arguments, 1 without memory.
int ImaEncode(const int16_t* samples, size_t frames, uint16_t channels, uint32_t blockAlign,
              std::vector<uint8_t>& out);

// A complete RIFF WAVE file with tag 17: "fmt " (20 bytes, with the samples
// per block), "fact" (the frame count) and "data".
int ImaEncodeWave(const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate,
                  std::vector<uint8_t>& wave);

// Decodes a complete tag-17 wave file to interleaved 16-bit samples.
// 10 when the bytes are no wave file, 13 when it is not 4-bit IMA ADPCM or
// cannot be decoded, 1 without memory.
int ImaDecodeWave(const uint8_t* wave, size_t size, std::vector<int16_t>& samples, uint32_t& rate,
                  uint16_t& channels);
