#include "DAX/sprites/DaxPrepareWave.h"

#include "PIM/core/CxError.h"

#include <algorithm>

namespace {

// The loudness of one sound frame: the louder of its channels.
template <int kBits>
uint32_t FrameLoudness(const uint8_t* frame, uint16_t channels)
{
    uint32_t loudest = 0;
    for (uint16_t c = 0; c < channels; ++c) {
        uint32_t value;
        if constexpr (kBits == 16) {
            const auto sample = static_cast<int16_t>(frame[2 * c] | (frame[2 * c + 1] << 8));
            value = static_cast<uint32_t>(sample < 0 ? -int32_t{sample} : int32_t{sample});
        } else {
            const int sample = frame[c] - 128;
            value = static_cast<uint32_t>(sample < 0 ? -sample : sample);
        }
        loudest = std::max(loudest, value);
    }
    return loudest;
}

// Stores the mean loudness of each whole window; the lowest and highest mean.
template <int kBits>
void MeasureWindows(const uint8_t* data, uint16_t channels, uint32_t window, size_t windows, uint32_t* entries,
                    uint32_t& lowest, uint32_t& highest)
{
    const size_t frameBytes = size_t{kBits / 8} * channels;
    for (size_t w = 0; w < windows; ++w) {
        uint64_t sum = 0;
        if (channels == 1) {
            for (uint32_t k = 0; k < window; ++k, data += frameBytes)
                sum += FrameLoudness<kBits>(data, 1);
        } else {
            for (uint32_t k = 0; k < window; ++k, data += frameBytes)
                sum += FrameLoudness<kBits>(data, channels);
        }
        const auto mean = static_cast<uint32_t>(sum / window);
        entries[w] = mean;
        lowest = std::min(lowest, mean);
        highest = std::max(highest, mean);
    }
}

} // namespace

int PrepareWave(const ST_WAVE_INFO& wave, int frames, ST_LIP_ENVELOPE& out)
{
    out.frames.Clear();
    const uint32_t window = wave.rate / (1000 / DAX_LIP_WINDOW_MS);
    if (window == 0 || (wave.bits != 8 && wave.bits != 16) || wave.channels == 0 || (!wave.data && wave.dataBytes))
        return PIM_ERR_UNKNOWN;

    const size_t frameBytes = size_t{wave.bits / 8u} * wave.channels;
    const size_t soundFrames = std::min<size_t>(wave.dataBytes / frameBytes, wave.samples / wave.channels);
    const size_t windows = soundFrames / window;
    if (!out.frames.Resize(windows + 1))
        return PIM_ERR_OUT_OF_MEMORY;

    uint32_t lowest = 255;
    uint32_t highest = 0;
    uint32_t* entries = out.frames.GetData();
    if (wave.bits == 16)
        MeasureWindows<16>(wave.data, wave.channels, window, windows, entries, lowest, highest);
    else
        MeasureWindows<8>(wave.data, wave.channels, window, windows, entries, lowest, highest);

    if (windows > 0) {
        const auto mouthFrames = static_cast<uint32_t>(std::max(frames, 1));
        const uint32_t step = std::max<uint32_t>(1, (highest - lowest + 1) / mouthFrames);
        for (size_t w = 0; w < windows; ++w)
            entries[w] = std::min((entries[w] - lowest) / step, mouthFrames - 1);
    }
    out.lowest = lowest;
    out.highest = highest;
    return PIM_OK;
}
