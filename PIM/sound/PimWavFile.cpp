#include "PIM/sound/PimWavFile.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/files/PimFileLayer.h"

#include <cstring>
#include <limits>

void BuildPcmWavHeader(uint8_t* out, uint32_t rate, uint16_t channels, uint16_t bits, uint64_t dataBytes)
{
    // The RIFF size counts everything after its own field: 36 header bytes
    // plus the data, and must fit in 32 bits.
    const uint64_t maxData = std::numeric_limits<uint32_t>::max() - 36u;
    if (dataBytes > maxData)
        dataBytes = maxData;
    const uint32_t blockAlign = static_cast<uint32_t>(channels) * ((bits + 7u) / 8u);
    std::memcpy(out, "RIFF", 4);
    WriteLe32(out + 4, static_cast<uint32_t>(36 + dataBytes));
    std::memcpy(out + 8, "WAVEfmt ", 8);
    WriteLe32(out + 16, 16);
    WriteLe16(out + 20, 1);
    WriteLe16(out + 22, channels);
    WriteLe32(out + 24, rate);
    WriteLe32(out + 28, rate * blockAlign);
    WriteLe16(out + 32, blockAlign);
    WriteLe16(out + 34, bits);
    std::memcpy(out + 36, "data", 4);
    WriteLe32(out + 40, static_cast<uint32_t>(dataBytes));
}

std::vector<uint8_t> BuildPcmWav16(const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate)
{
    const size_t count = frames * channels;
    std::vector<uint8_t> file(PIM_WAV_HEADER_SIZE + count * 2);
    BuildPcmWavHeader(file.data(), rate, channels, 16, uint64_t{count} * 2);
    uint8_t* p = file.data() + PIM_WAV_HEADER_SIZE;
    for (size_t i = 0; i < count; ++i, p += 2)
        WriteLe16(p, static_cast<uint16_t>(samples[i]));
    return file;
}

int WritePcmWav16(const char* path, const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate)
{
    if (!path || (!samples && frames > 0) || channels == 0)
        return PIM_ERR_BAD_ARG;
    const std::vector<uint8_t> file = BuildPcmWav16(samples, frames, channels, rate);
    return FsReplaceFile(path, file.data(), file.size());
}
