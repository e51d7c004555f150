#pragma once
// The edits a sound can make to its own data: reversing, a tremolo envelope,
// and packing to and from IMA ADPCM.
//
// The edits take the sound's bytes and kind (PimSoundDecode.h). Plain 8 and
// 16-bit samples are changed in place and `replaced` is left empty. An ADPCM
// wave file is decompressed, edited and compressed again: the result is a new
// complete wave file in `replaced`, which becomes the sound's data. Other
// depths, ADPCM behind a bare header, and MP3 data give 13.

#include "PIM/core/CxError.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Reverses the order of the samples: bytes of 8-bit data, 16-bit words of
// 16-bit data (so the channels of a stereo sound swap sides).
int ReverseSound(uint8_t* data, size_t size, uint32_t kind, std::vector<uint8_t>& replaced);

// Multiplies the samples by a sine envelope; step = 2 pi frequency / rate and
// i counts samples (bytes of 8-bit data, words of 16-bit data).
// 8-bit: s = ceil((depth * (sin(phase + i * step) + 1) / 2 + 1 - depth) * s)
// with s the unsigned byte as stored, kept within 0..255.
// 16-bit: e = depth * (sin(phase + i * step) + 1.2) * 0.4 + 1 - depth, and the
// signed sample times e, rounded half away from zero and kept within the
// 16-bit range. Rounding to nearest (rather than up, as for bytes) keeps the
// edit symmetric for negative and positive halves of the wave, so it adds
// no offset of its own.
int ApplyEnvelope(uint8_t* data, size_t size, uint32_t kind, double frequency, double phase, double depth,
                  std::vector<uint8_t>& replaced);

// A complete wave file (8 or 16-bit PCM) to a complete IMA ADPCM wave file
// (tag 17, with a "fact" chunk). An ADPCM file comes back as an exact copy.
// 10 for no wave file, 13 for data we cannot read, 1 without memory.
int CompressADPCM(const uint8_t* wave, size_t size, std::vector<uint8_t>& out);

// A complete IMA ADPCM wave file to a complete 16-bit PCM wave file. Any
// other wave file comes back as an exact copy. Errors as above.
int DecompressADPCM(const uint8_t* wave, size_t size, std::vector<uint8_t>& out);
