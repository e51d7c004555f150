#include "PIM/sound/PimWaveFormat.h"

#include "PIM/core/PimByteOrder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

namespace {

constexpr uint16_t kExtensibleTag = 0xFFFE;


bool SameId(const uint8_t* id, const char* name)
{
    for (int i = 0; i < 4; ++i) {
        if (std::tolower(id[i]) != std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

uint32_t ClampTo32(uint64_t value)
{
    return static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

// The sample count and the checks shared by both kinds of header, once the
// format fields and the data are known.
int FinishWaveInfo(ST_WAVE_INFO& info, bool hasFact, uint32_t factSamples)
{
    if (info.channels == 0)
        return PIM_ERR_UNKNOWN;
    info.format = 0;
    info.adpcm = info.formatTag == PIM_WAVE_TAG_IMA_ADPCM;
    if (info.adpcm) {
        const uint32_t perBlock = ImaSamplesPerBlock(info.blockAlign, info.channels);
        if (perBlock == 0)
            return PIM_ERR_UNKNOWN;
        if (info.bits == 4 && hasFact) {
            info.samples = factSamples;
            info.hasFact = true;
        } else {
            const uint64_t blocks = (uint64_t{info.dataBytes} + info.blockAlign - 1) / info.blockAlign;
            info.samples = ClampTo32(blocks * perBlock);
        }
    } else {
        info.samples = info.bits ? ClampTo32(uint64_t{info.dataBytes} * 8 / info.bits) : 0;
    }
    return PIM_OK;
}

} // namespace

uint32_t ImaSamplesPerBlock(uint32_t blockAlign, uint16_t channels)
{
    if (channels == 0 || blockAlign < 4u * channels)
        return 0;
    return static_cast<uint32_t>((uint64_t{blockAlign} - 4u * channels) * 2 / channels + 1);
}

int GetWaveFormat(const uint8_t* bytes, size_t size, bool raw, ST_WAVE_INFO& out)
{
    out = ST_WAVE_INFO{};
    if (!bytes && size)
        return PIM_ERR_BAD_ARG;
    if (raw) {
        // A sound's data is at most 32 bits long; so are the fields here.
        if (size > std::numeric_limits<uint32_t>::max())
            return PIM_ERR_UNKNOWN;
        out.data = bytes;
        out.rate = PIM_RAW_SOUND_RATE;
        out.blockAlign = static_cast<uint32_t>(size);
        out.samples = static_cast<uint32_t>(size / 2);
        out.bits = 16;
        out.channels = 1;
        out.dataBytes = static_cast<uint32_t>(size);
        out.formatTag = PIM_WAVE_TAG_PCM;
        return PIM_OK;
    }
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return PIM_ERR_FILE_TYPE;

    // The chunks end where the RIFF size says, or where the bytes end if
    // that comes first (files cut short, or writers that never came back to
    // fill in the size).
    const uint64_t riffEnd = std::min<uint64_t>(uint64_t{ReadLe32(bytes + 4)} + 8, size);
    const uint8_t* fmt = nullptr;
    uint64_t fmtBytes = 0;
    bool hasData = false;
    bool hasFact = false;
    uint32_t factSamples = 0;
    uint64_t offset = 12;
    while (offset + 8 <= riffEnd) {
        const uint8_t* chunk = bytes + offset;
        const uint64_t declared = ReadLe32(chunk + 4);
        const uint64_t body = offset + 8;
        const uint64_t available = std::min(declared, riffEnd - body);
        if (!fmt && SameId(chunk, "fmt ")) {
            fmt = chunk + 8;
            fmtBytes = available;
        } else if (!hasData && (SameId(chunk, "data") || SameId(chunk, "adat"))) {
            hasData = true;
            out.data = chunk + 8;
            out.dataOffset = static_cast<size_t>(body);
            out.dataBytes = static_cast<uint32_t>(available);
        } else if (!hasFact && SameId(chunk, "fact") && available >= 4) {
            hasFact = true;
            factSamples = ReadLe32(chunk + 8);
        }
        // Bodies are padded to an even length.
        offset = body + declared + (declared & 1);
    }
    if (!fmt || fmtBytes < 16 || !hasData)
        return PIM_ERR_FILE_TYPE;

    out.formatTag = ReadLe16(fmt);
    // The extensible header (what many tools write today) names the real
    // format in the first two bytes of its sub-format GUID.
    if (out.formatTag == kExtensibleTag && fmtBytes >= 26 && ReadLe16(fmt + 16) >= 10)
        out.formatTag = ReadLe16(fmt + 24);
    out.channels = ReadLe16(fmt + 2);
    out.rate = ReadLe32(fmt + 4);
    out.blockAlign = ReadLe16(fmt + 12);
    out.bits = ReadLe16(fmt + 14);
    return FinishWaveInfo(out, hasFact, factSamples);
}

int GetWaveHeaderFormat(const uint8_t* bytes, size_t size, ST_WAVE_INFO& out)
{
    out = ST_WAVE_INFO{};
    if (!bytes && size)
        return PIM_ERR_BAD_ARG;
    if (size < 14)
        return PIM_ERR_UNKNOWN;
    out.formatTag = ReadLe16(bytes);
    out.channels = ReadLe16(bytes + 2);
    out.rate = ReadLe32(bytes + 4);
    out.blockAlign = ReadLe16(bytes + 12);
    uint64_t header = 14;
    if (out.formatTag == 0) {
        // The short header has no bits field; a frame is whole bytes per
        // channel, so the block alignment tells the depth.
        if (out.channels)
            out.bits = static_cast<uint16_t>(std::min<uint32_t>(out.blockAlign / out.channels * 8, 0xFFFF));
    } else {
        if (size < 18)
            return PIM_ERR_UNKNOWN;
        out.bits = ReadLe16(bytes + 14);
        header = 18 + uint64_t{ReadLe16(bytes + 16)};
        if (header > size)
            return PIM_ERR_UNKNOWN;
    }
    if (size - header > std::numeric_limits<uint32_t>::max())
        return PIM_ERR_UNKNOWN;
    out.data = bytes + header;
    out.dataOffset = static_cast<size_t>(header);
    out.dataBytes = static_cast<uint32_t>(size - header);
    return FinishWaveInfo(out, false, 0);
}
