// The IMA ADPCM decoder over arbitrary blocks, then our encoder over what it
// decoded, and the decoder again over the encoder's wave file. The first
// three bytes choose the block alignment (16 bits) and the channel count;
// the rest is the block data. Checks the frame counts all along.
#include "PIM/sound/PimImaAdpcm.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint32_t blockAlign = data[0] | (data[1] << 8);
    const uint16_t channels = data[2] % 4;
    const uint8_t* blocks = data + 3;
    const size_t bytes = size - 3;

    std::vector<int16_t> pcm;
    const int code = ImaDecode(blocks, bytes, blockAlign, channels, UINT64_MAX, pcm);
    if (code != PIM_OK) {
        Check(code == PIM_ERR_UNKNOWN && pcm.empty());
        return 0;
    }
    Check(channels > 0 && pcm.size() % channels == 0);
    const size_t frames = pcm.size() / channels;
    const uint32_t perBlock = ImaSamplesPerBlock(blockAlign, channels);
    Check(frames <= (bytes / blockAlign + 1) * perBlock);

    // A limit is kept exactly.
    std::vector<int16_t> limited;
    Check(ImaDecode(blocks, bytes, blockAlign, channels, frames / 2, limited) == PIM_OK);
    Check(limited.size() == frames / 2 * channels);
    Check(std::equal(limited.begin(), limited.end(), pcm.begin()));

    // What was decoded encodes to a wave file that decodes to as many
    // frames. The encoder searches, so only a few blocks' worth keep the
    // runs quick enough to reach the decoder's corners.
    const size_t encoded = std::min<size_t>(frames, 300);
    std::vector<uint8_t> wave;
    Check(ImaEncodeWave(pcm.data(), encoded, channels, 8000u + data[0] * 300u, wave) == PIM_OK);
    ST_WAVE_INFO info;
    Check(GetWaveFormat(wave.data(), wave.size(), false, info) == PIM_OK);
    Check(info.adpcm && info.hasFact && info.samples == encoded && info.channels == channels);
    std::vector<int16_t> again;
    uint32_t rate = 0;
    uint16_t count = 0;
    Check(ImaDecodeWave(wave.data(), wave.size(), again, rate, count) == PIM_OK);
    Check(again.size() == encoded * channels && count == channels);
    // Block headers carry their first samples exactly.
    if (encoded > 0)
        Check(again[0] == pcm[0]);

    // The raw input read as a wave file is refused or decoded, never more.
    std::vector<int16_t> other;
    const int asWave = ImaDecodeWave(data, size, other, rate, count);
    Check(asWave == PIM_OK || asWave == PIM_ERR_FILE_TYPE || asWave == PIM_ERR_UNKNOWN ||
          asWave == PIM_ERR_OUT_OF_MEMORY);
    return 0;
}
