// The wave information of arbitrary bytes, read as a RIFF file, as raw
// samples and as a bare format header. Beyond not crashing, checks that
// whatever is accepted describes samples inside the bytes given, in a
// layout the decoders can walk.
#include "PIM/sound/PimWaveFormat.h"

#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckInfo(int code, const ST_WAVE_INFO& info, const uint8_t* data, size_t size)
{
    if (code != PIM_OK) {
        Check(code == PIM_ERR_FILE_TYPE || code == PIM_ERR_UNKNOWN);
        return;
    }
    Check(info.format == 0);
    Check(info.channels > 0);
    Check(info.dataOffset <= size && info.data == data + info.dataOffset);
    Check(uint64_t{info.dataBytes} <= size - info.dataOffset);
    Check(info.adpcm == (info.formatTag == PIM_WAVE_TAG_IMA_ADPCM));
    if (info.adpcm)
        Check(ImaSamplesPerBlock(info.blockAlign, info.channels) > 0);
    else
        Check(info.samples == (info.bits ? uint64_t{info.dataBytes} * 8 / info.bits : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ST_WAVE_INFO info;
    CheckInfo(GetWaveFormat(data, size, false, info), info, data, size);
    const int raw = GetWaveFormat(data, size, true, info);
    Check(raw == PIM_OK && info.samples == size / 2 && info.dataBytes == size);
    CheckInfo(GetWaveHeaderFormat(data, size, info), info, data, size);
    return 0;
}
