#include "PIM/sound/PimWaveEdit.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/sound/PimImaAdpcm.h"
#include "PIM/sound/PimSoundDecode.h"
#include "PIM/sound/PimWavFile.h"
#include "PIM/sound/PimWaveFormat.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

// Finds the samples of editable data. `adpcm` is set for an ADPCM wave file,
// which the caller edits through a decompressed copy.
int LocateSamples(const uint8_t* data, size_t size, uint32_t kind, ST_WAVE_INFO& info, bool& adpcm)
{
    adpcm = false;
    int code = PIM_OK;
    if (kind == PIM_SOUND_KIND_WAVE || kind == PIM_SOUND_KIND_RAW)
        code = GetWaveFormat(data, size, kind == PIM_SOUND_KIND_RAW, info);
    else if (kind == PIM_SOUND_KIND_HEADER)
        code = GetWaveHeaderFormat(data, size, info);
    else
        return PIM_ERR_UNKNOWN;
    if (code != PIM_OK)
        return code;
    if (info.adpcm) {
        if (kind != PIM_SOUND_KIND_WAVE || info.bits != 4)
            return PIM_ERR_UNKNOWN;
        adpcm = true;
        return PIM_OK;
    }
    return info.bits == 8 || info.bits == 16 ? PIM_OK : PIM_ERR_UNKNOWN;
}

enum class EEdit
{
    Reverse,
    Envelope,
};

struct ST_ENVELOPE
{
    double frequency;
    double phase;
    double depth;
};

void EditSamples(uint8_t* samples, const ST_WAVE_INFO& info, EEdit edit, const ST_ENVELOPE& envelope)
{
    const size_t count = info.dataBytes / (info.bits / 8u);
    if (edit == EEdit::Reverse) {
        if (info.bits == 8) {
            std::reverse(samples, samples + count);
            return;
        }
        for (size_t i = 0, j = count; i + 1 < j; ++i) {
            --j;
            uint8_t* a = samples + 2 * i;
            uint8_t* b = samples + 2 * j;
            std::swap(a[0], b[0]);
            std::swap(a[1], b[1]);
        }
        return;
    }
    const double step = 2.0 * std::numbers::pi * envelope.frequency / info.rate;
    const double depth = envelope.depth;
    for (size_t i = 0; i < count; ++i) {
        const double wave = std::sin(envelope.phase + static_cast<double>(i) * step);
        if (info.bits == 8) {
            const double factor = depth * (wave + 1.0) / 2.0 + 1.0 - depth;
            const double value = std::ceil(factor * samples[i]);
            samples[i] = static_cast<uint8_t>(std::isnan(value) ? samples[i] : std::clamp(value, 0.0, 255.0));
        } else {
            const double factor = depth * (wave + 1.2) * 0.4 + 1.0 - depth;
            const double value = std::round(factor * static_cast<int16_t>(ReadLe16(samples + 2 * i)));
            if (!std::isnan(value))
                WriteLe16(samples + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(std::clamp(value, -32768.0, 32767.0))));
        }
    }
}

int EditSound(uint8_t* data, size_t size, uint32_t kind, EEdit edit, const ST_ENVELOPE& envelope,
              std::vector<uint8_t>& replaced)
{
    replaced.clear();
    ST_WAVE_INFO info;
    bool adpcm = false;
    if (int code = LocateSamples(data, size, kind, info, adpcm))
        return code;
    if (!adpcm) {
        // The envelope's step needs a rate; reversing does not.
        if (edit == EEdit::Envelope && info.rate == 0)
            return PIM_ERR_UNKNOWN;
        EditSamples(data + info.dataOffset, info, edit, envelope);
        return PIM_OK;
    }
    std::vector<uint8_t> pcm;
    if (int code = DecompressADPCM(data, size, pcm))
        return code;
    std::vector<uint8_t> unused;
    if (int code = EditSound(pcm.data(), pcm.size(), PIM_SOUND_KIND_WAVE, edit, envelope, unused))
        return code;
    return CompressADPCM(pcm.data(), pcm.size(), replaced);
}

} // namespace

int ReverseSound(uint8_t* data, size_t size, uint32_t kind, std::vector<uint8_t>& replaced)
{
    return EditSound(data, size, kind, EEdit::Reverse, ST_ENVELOPE{0, 0, 0}, replaced);
}

int ApplyEnvelope(uint8_t* data, size_t size, uint32_t kind, double frequency, double phase, double depth,
                  std::vector<uint8_t>& replaced)
{
    return EditSound(data, size, kind, EEdit::Envelope, ST_ENVELOPE{frequency, phase, depth}, replaced);
}

int CompressADPCM(const uint8_t* wave, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    ST_WAVE_INFO info;
    if (int code = GetWaveFormat(wave, size, false, info))
        return code;
    if (info.adpcm) {
        if (!ResizeSoundBuffer(out, size))
            return PIM_ERR_OUT_OF_MEMORY;
        std::copy(wave, wave + size, out.begin());
        return PIM_OK;
    }
    ST_PCM pcm;
    if (int code = DecodeSound(wave, size, PIM_SOUND_KIND_WAVE, pcm))
        return code;
    return ImaEncodeWave(pcm.samples.data(), pcm.frames, pcm.channels, pcm.rate, out);
}

int DecompressADPCM(const uint8_t* wave, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    ST_WAVE_INFO info;
    if (int code = GetWaveFormat(wave, size, false, info))
        return code;
    if (!ResizeSoundBuffer(out, info.adpcm ? 0 : size))
        return PIM_ERR_OUT_OF_MEMORY;
    if (!info.adpcm) {
        std::copy(wave, wave + size, out.begin());
        return PIM_OK;
    }
    ST_PCM pcm;
    if (int code = DecodeSound(wave, size, PIM_SOUND_KIND_WAVE, pcm))
        return code;
    out = BuildPcmWav16(pcm.samples.data(), pcm.frames, pcm.channels, pcm.rate);
    return PIM_OK;
}
