#include "PIM/sound/PimSoundDecode.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/sound/PimImaAdpcm.h"
#include "PIM/sound/PimMp3Decode.h"
#include "PIM/sound/PimWaveFormat.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

bool PlayableLayout(uint32_t rate, uint16_t channels)
{
    return channels >= 1 && channels <= 2 && rate >= PIM_SOUND_MIN_RATE && rate <= PIM_SOUND_MAX_RATE;
}

int DecodeWaveSamples(const ST_WAVE_INFO& info, bool bareHeader, ST_PCM& out)
{
    if (!PlayableLayout(info.rate, info.channels))
        return PIM_ERR_UNKNOWN;
    if (info.adpcm) {
        if (info.bits != 4)
            return PIM_ERR_UNKNOWN;
        if (int code = ImaDecode(info.data, info.dataBytes, info.blockAlign, info.channels, info.samples, out.samples))
            return code;
    } else {
        // The short bare header (tag 0) can only describe plain samples.
        const bool pcm = info.formatTag == PIM_WAVE_TAG_PCM || (bareHeader && info.formatTag == 0);
        if (!pcm || (info.bits != 8 && info.bits != 16))
            return PIM_ERR_UNKNOWN;
        const size_t sampleBytes = info.bits / 8u;
        // A trailing partial frame is dropped.
        const size_t count = info.dataBytes / (sampleBytes * info.channels) * info.channels;
        if (!ResizeSoundBuffer(out.samples, count))
            return PIM_ERR_OUT_OF_MEMORY;
        const uint8_t* p = info.data;
        if (sampleBytes == 1) {
            for (size_t i = 0; i < count; ++i)
                out.samples[i] = static_cast<int16_t>((p[i] - 128) * 256);
        } else {
            for (size_t i = 0; i < count; ++i)
                out.samples[i] = static_cast<int16_t>(ReadLe16(p + 2 * i));
        }
    }
    out.rate = info.rate;
    out.channels = info.channels;
    out.frames = out.samples.size() / info.channels;
    return PIM_OK;
}

int16_t ToSample(double value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -32768.0, 32767.0)));
}

// One channel, read with a stride from `in` and written with a stride to
// `out`; positions are exact fractions in*inRate/outRate so that nothing
// drifts over long sounds.
void ResampleChannel(const int16_t* in, size_t inFrames, uint32_t inRate, size_t inStride, int16_t* out,
                     size_t outFrames, uint32_t outRate, size_t outStride)
{
    auto at = [&](int64_t k) -> double {
        k = std::clamp<int64_t>(k, 0, static_cast<int64_t>(inFrames) - 1);
        return in[static_cast<size_t>(k) * inStride];
    };
    if (outRate >= inRate) {
        // Catmull-Rom cubic: passes through every input sample.
        for (size_t i = 0; i < outFrames; ++i) {
            const uint64_t position = uint64_t{i} * inRate;
            const int64_t k = static_cast<int64_t>(position / outRate);
            const uint64_t remainder = position % outRate;
            if (remainder == 0) {
                out[i * outStride] = static_cast<int16_t>(at(k));
                continue;
            }
            const double t = static_cast<double>(remainder) / outRate;
            const double y0 = at(k - 1), y1 = at(k), y2 = at(k + 1), y3 = at(k + 2);
            const double c1 = 0.5 * (y2 - y0);
            const double c2 = y0 - 2.5 * y1 + 2.0 * y2 - 0.5 * y3;
            const double c3 = 0.5 * (y3 - y0) + 1.5 * (y1 - y2);
            out[i * outStride] = ToSample(((c3 * t + c2) * t + c1) * t + y1);
        }
        return;
    }
    // Lower rate: a triangle as wide as two output periods around each
    // output position, cut at the ends of the sound.
    const double ratio = static_cast<double>(inRate) / outRate;
    for (size_t i = 0; i < outFrames; ++i) {
        const double center = static_cast<double>(uint64_t{i} * inRate) / outRate;
        const int64_t first = std::max<int64_t>(0, static_cast<int64_t>(std::floor(center - ratio)) + 1);
        const int64_t last =
            std::min<int64_t>(static_cast<int64_t>(inFrames) - 1, static_cast<int64_t>(std::ceil(center + ratio)) - 1);
        double sum = 0;
        double weights = 0;
        for (int64_t k = first; k <= last; ++k) {
            const double weight = 1.0 - std::fabs(static_cast<double>(k) - center) / ratio;
            if (weight <= 0)
                continue;
            sum += weight * at(k);
            weights += weight;
        }
        out[i * outStride] = weights > 0 ? ToSample(sum / weights) : static_cast<int16_t>(at(static_cast<int64_t>(center)));
    }
}

} // namespace

uint32_t SoundKindFromFlags(uint32_t playFlags)
{
    if (playFlags & PIM_SOUND_KIND_MP3)
        return PIM_SOUND_KIND_MP3;
    if (playFlags & PIM_SOUND_KIND_RAW)
        return PIM_SOUND_KIND_RAW;
    if (playFlags & PIM_SOUND_KIND_HEADER)
        return PIM_SOUND_KIND_HEADER;
    return PIM_SOUND_KIND_WAVE;
}

int DecodeSound(const uint8_t* data, size_t size, uint32_t kind, ST_PCM& out)
{
    out = ST_PCM{};
    if (!data && size)
        return PIM_ERR_BAD_ARG;
    ST_WAVE_INFO info;
    int code = PIM_OK;
    switch (kind) {
    case PIM_SOUND_KIND_WAVE:
    case PIM_SOUND_KIND_RAW:
        code = GetWaveFormat(data, size, kind == PIM_SOUND_KIND_RAW, info);
        break;
    case PIM_SOUND_KIND_HEADER:
        code = GetWaveHeaderFormat(data, size, info);
        break;
    case PIM_SOUND_KIND_MP3: {
        code = DecodeMp3(data, size, out.samples, out.rate, out.channels);
        if (code == PIM_OK && !PlayableLayout(out.rate, out.channels))
            code = PIM_ERR_UNKNOWN;
        if (code != PIM_OK) {
            out = ST_PCM{};
            return code;
        }
        out.frames = out.samples.size() / out.channels;
        return PIM_OK;
    }
    default:
        return PIM_ERR_BAD_ARG;
    }
    if (code == PIM_OK)
        code = DecodeWaveSamples(info, kind == PIM_SOUND_KIND_HEADER, out);
    if (code != PIM_OK)
        out = ST_PCM{};
    return code;
}

int ConvertPcm(const ST_PCM& in, uint32_t rate, uint16_t channels, ST_PCM& out)
{
    if (!PlayableLayout(in.rate, in.channels) || !PlayableLayout(rate, channels) ||
        in.samples.size() / in.channels < in.frames)
        return PIM_ERR_BAD_ARG;
    const uint64_t outFrames = (uint64_t{in.frames} * rate + in.rate - 1) / in.rate;
    if (in.frames > PIM_SOUND_MAX_BYTES || outFrames > PIM_SOUND_MAX_BYTES)
        return PIM_ERR_OUT_OF_MEMORY;

    // Mix down before resampling and duplicate after it: the resampler then
    // works on as few channels as possible.
    ST_PCM result;
    std::vector<int16_t> mixed;
    const int16_t* source = in.samples.data();
    uint16_t work = in.channels;
    if (channels == 1 && in.channels == 2) {
        if (!ResizeSoundBuffer(mixed, in.frames))
            return PIM_ERR_OUT_OF_MEMORY;
        for (size_t i = 0; i < in.frames; ++i)
            mixed[i] = static_cast<int16_t>((in.samples[2 * i] + in.samples[2 * i + 1]) >> 1);
        source = mixed.data();
        work = 1;
    }
    if (!ResizeSoundBuffer(result.samples, static_cast<size_t>(outFrames) * channels))
        return PIM_ERR_OUT_OF_MEMORY;
    const size_t stride = channels; // the output's; the work channels sit at its first positions
    for (uint16_t c = 0; c < work && outFrames > 0; ++c) {
        if (rate == in.rate) {
            for (size_t i = 0; i < in.frames; ++i)
                result.samples[i * stride + c] = source[i * work + c];
        } else {
            ResampleChannel(source + c, in.frames, in.rate, work, result.samples.data() + c,
                            static_cast<size_t>(outFrames), rate, stride);
        }
    }
    if (channels == 2 && work == 1) {
        for (size_t i = 0; i < outFrames; ++i)
            result.samples[2 * i + 1] = result.samples[2 * i];
    }
    result.rate = rate;
    result.channels = channels;
    result.frames = static_cast<size_t>(outFrames);
    out = std::move(result);
    return PIM_OK;
}
