// Sound data of every kind decoded from arbitrary bytes, converted to the
// mixer's usual formats, and edited as the sounds edit themselves. Checks
// the sizes of what comes out, and that reversing twice changes nothing.
// Then the way the game takes it: a CxWave loaded from the bytes, played
// through the headless mixer for a few device buffers, and stopped.
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"
#include "PIM/sound/PimSoundDecode.h"
#include "PIM/sound/PimWaveEdit.h"
#include "PIM/sound/PimWaveFormat.h"

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

void CheckPcm(const ST_PCM& pcm)
{
    Check(pcm.channels == 1 || pcm.channels == 2);
    Check(pcm.rate >= PIM_SOUND_MIN_RATE && pcm.rate <= PIM_SOUND_MAX_RATE);
    Check(pcm.samples.size() == pcm.frames * pcm.channels);
}

void Convert(const ST_PCM& pcm, uint32_t rate, uint16_t channels)
{
    ST_PCM out;
    const int code = ConvertPcm(pcm, rate, channels, out);
    if (code == PIM_ERR_OUT_OF_MEMORY)
        return;
    Check(code == PIM_OK);
    CheckPcm(out);
    Check(out.rate == rate && out.channels == channels);
    Check(out.frames == (uint64_t{pcm.frames} * rate + pcm.rate - 1) / pcm.rate);
}

void Edit(const uint8_t* data, size_t size, uint32_t kind)
{
    std::vector<uint8_t> bytes(data, data + size);
    std::vector<uint8_t> replaced;
    const int code = ReverseSound(bytes.data(), bytes.size(), kind, replaced);
    if (code != PIM_OK)
        return;
    if (replaced.empty()) {
        Check(ReverseSound(bytes.data(), bytes.size(), kind, replaced) == PIM_OK && replaced.empty());
        Check(std::equal(bytes.begin(), bytes.end(), data));
    } else {
        ST_WAVE_INFO info;
        Check(GetWaveFormat(replaced.data(), replaced.size(), false, info) == PIM_OK && info.adpcm);
    }
    const double frequency = (data[size / 2] - 100) * 0.37;
    const double depth = (data[size - 1] - 64) / 64.0;
    const int envelope = ApplyEnvelope(bytes.data(), bytes.size(), kind, frequency, 0.5, depth, replaced);
    Check(envelope == PIM_OK || envelope == PIM_ERR_UNKNOWN || envelope == PIM_ERR_OUT_OF_MEMORY);
}

void PlayAsWave(const uint8_t* data, size_t size, uint32_t kind)
{
    static const bool started = [] {
        return InitSound(nullptr, HeadlessBackend().makeAudioDevice) == PIM_OK;
    }();
    Check(started);
    CxWave wave;
    Check(wave.LoadFromMemory(data, size, true) == PIM_OK);
    wave.SetPlayFlags(kind | PIM_SOUND_MIXER_LOOPS);
    wave.SetLoopCount(size > 0 ? data[0] % 3 : 1);
    wave.SetPlaybackRate(size > 1 ? 4000 + data[1] * 300 : -1);
    wave.Play();
    static int16_t buffer[1024];
    for (int i = 0; i < 4 && !wave.IsDone(); ++i)
        GetSoundMixer()->Mix(buffer, 1024 / GetSoundMixer()->GetChannels());
    Check(wave.GetSamplePosition() <= wave.GetSampleLength());
    ST_WAVE_INFO info;
    wave.GetFormat(info);
    wave.Stop();
    Check(wave.IsDone() && !wave.IsStarted());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint32_t kinds[] = {PIM_SOUND_KIND_WAVE, PIM_SOUND_KIND_RAW, PIM_SOUND_KIND_HEADER, PIM_SOUND_KIND_MP3};
    for (uint32_t kind : kinds) {
        PlayAsWave(data, size, kind);
        ST_PCM pcm;
        const int code = DecodeSound(data, size, kind, pcm);
        if (code != PIM_OK) {
            Check(code == PIM_ERR_FILE_TYPE || code == PIM_ERR_UNKNOWN || code == PIM_ERR_OUT_OF_MEMORY);
            Check(pcm.samples.empty() && pcm.frames == 0);
            continue;
        }
        CheckPcm(pcm);
        Convert(pcm, 22050, 1);
        Convert(pcm, 44100, 2);
        // ADPCM edits code the sound again, which is slow under the
        // sanitizers: long ones would only slow the search down.
        if (size > 0 && kind != PIM_SOUND_KIND_MP3 && pcm.frames <= 4096)
            Edit(data, size, kind);
    }
    return 0;
}
