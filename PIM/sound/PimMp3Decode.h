#pragma once
// MP3 sounds, decoded from memory by libmpg123.

#include "PIM/core/CxError.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Where the audio starts: after a leading ID3v2.3 tag (the bytes "ID3", the
// version byte 3, and 10 + the 28-bit size kept 7 bits a byte from offset
// 6), otherwise at 0. 13 when the tag is cut short or claims more bytes than
// there are.
int SkipId3v23(const uint8_t* data, size_t size, size_t& audioOffset);

// Decodes a whole MP3 (a leading ID3v2.3 tag is skipped) to interleaved
// signed 16-bit samples at the stream's own rate and channel count. The
// encoder's delay and padding are left out when the stream records them.
// 13 when no audio could be decoded, 1 without memory.
int DecodeMp3(const uint8_t* data, size_t size, std::vector<int16_t>& samples, uint32_t& rate,
              uint16_t& channels);
