#include "PIM/sound/CxWave.h"

#include "PIM/core/CxMemory.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/PimSound.h"
#include "PIM/sound/PimWaveEdit.h"

#include <cstring>

namespace {

// Time a blocking play may wait beyond what its sample says it lasts.
constexpr int kWaitSlackSteps = 100;

} // namespace

CxWave::CxWave()
{
    m_group = 1;
}

CxWave::~CxWave()
{
    Stop();
    ReleaseVoice();
}

int CxWave::Load(const char* fileName)
{
    if (!IsSoundAvailable())
        return PIM_OK;
    return CxSound::Load(fileName);
}

void CxWave::OnDataChanged()
{
    // What was decoded belongs to the old data, and the mixer may be reading it.
    ReleaseVoice();
    m_pcm = ST_PCM();
    m_decoded = false;
}

int CxWave::Decode()
{
    if (m_decoded)
        return PIM_OK;
    if (Use() != PIM_OK || !m_data)
        return SetError(PIM_ERR_READ, "Could not read the sound data of %s", GetName());
    const int code = DecodeSound(m_data, m_size, SoundKindFromFlags(m_flags), m_pcm);
    if (code != PIM_OK)
        return SetError(code, "Could not decode the sound %s", GetName());
    m_decoded = true;
    return PIM_OK;
}

void CxWave::ReleaseVoice()
{
    if (m_voice != 0) {
        if (CxMixer* mixer = GetSoundMixer())
            mixer->ReleaseVoice(m_voice);
        m_voice = 0;
    }
}

int CxWave::PlayNow()
{
    CxMixer* mixer = GetSoundMixer();
    if (!mixer)
        return PIM_OK;
    if (m_size == 0 && !m_name.IsEmpty()) {
        const CxString name = m_name;
        if (CxSound::Load(name.GetText()) != PIM_OK)
            return GetError();
        LockData();
    }
    if (m_size == 0)
        return PIM_OK;
    ReleaseVoice();
    m_voice = mixer->AllocateVoice();
    if (m_voice == 0)
        return SetError(PIM_ERR_UNKNOWN, "Could not allocate an HSAMPLE. (%s)", "every mixer voice is playing");
    if (Decode() != PIM_OK || m_pcm.frames == 0) {
        ReleaseVoice();
        return GetError();
    }
    mixer->SetVoiceData(m_voice, m_pcm.samples.data(), m_pcm.frames, m_pcm.channels, m_pcm.rate);
    mixer->SetLoopCount(m_voice, (m_flags & PIM_SOUND_MIXER_LOOPS) ? m_loopCount : 1);
    const float level = static_cast<float>(GetVolume()) / PIM_SOUND_MAX_VOLUME;
    mixer->SetVolume(m_voice, level, level);
    if (m_rate > 0)
        mixer->SetPlaybackRate(m_voice, static_cast<uint32_t>(m_rate));
    mixer->Start(m_voice);
    m_state |= PIM_SOUND_STARTED;
    return PIM_OK;
}

void CxWave::StopNow()
{
    ReleaseVoice();
    if (m_flags & PIM_SOUND_RELEASE) {
        // Unload would come back here through Stop: drop the data directly.
        UnlockData();
        if (!m_borrowed && m_data)
            Free(m_data);
        m_data = nullptr;
        m_size = 0;
        m_borrowed = false;
        OnDataChanged();
    }
}

void CxWave::PauseNow()
{
    if (CxMixer* mixer = GetSoundMixer(); mixer && m_voice)
        mixer->Stop(m_voice);
}

void CxWave::ResumeNow()
{
    if (CxMixer* mixer = GetSoundMixer(); mixer && m_voice)
        mixer->Resume(m_voice);
}

bool CxWave::IsDone() const
{
    const CxMixer* mixer = GetSoundMixer();
    if (!mixer || m_voice == 0)
        return true;
    const EVoiceStatus status = mixer->GetStatus(m_voice);
    return status != EVoiceStatus::Playing && status != EVoiceStatus::PlayingReleased;
}

void CxWave::SetVolume(int volume)
{
    CxSound::SetVolume(volume);
    if (CxMixer* mixer = GetSoundMixer(); mixer && m_voice) {
        const float level = static_cast<float>(GetVolume()) / PIM_SOUND_MAX_VOLUME;
        mixer->SetVolume(m_voice, level, level);
    }
}

int CxWave::MaxWaitSteps() const
{
    const CxMixer* mixer = GetSoundMixer();
    if (!mixer || m_voice == 0)
        return 1;
    const uint64_t rate = mixer->GetPlaybackRate(m_voice);
    if (rate == 0)
        return kWaitSlackSteps;
    // One pass: replays come later, through the update, and a sound the
    // mixer loops for ever is waited for once.
    const uint64_t passMs = uint64_t{mixer->GetLength(m_voice)} * 1000 / rate;
    const uint64_t steps = passMs / 10 + kWaitSlackSteps;
    return steps > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(steps);
}

size_t CxWave::GetSamplePosition() const
{
    const CxMixer* mixer = GetSoundMixer();
    return mixer && m_voice ? mixer->GetPosition(m_voice) : 0;
}

size_t CxWave::GetSampleLength() const
{
    const CxMixer* mixer = GetSoundMixer();
    return mixer && m_voice ? mixer->GetLength(m_voice) : 0;
}

void CxWave::SetPlaybackRate(int hertz)
{
    m_rate = hertz > 0 ? hertz : -1;
    if (CxMixer* mixer = GetSoundMixer(); mixer && m_voice)
        mixer->SetPlaybackRate(m_voice, m_rate > 0 ? static_cast<uint32_t>(m_rate) : m_pcm.rate);
}

bool CxWave::IsADPCM() const
{
    ST_WAVE_INFO info;
    return m_data && GetWaveFormat(m_data, m_size, (m_flags & PIM_SOUND_RAW) != 0, info) == PIM_OK && info.adpcm;
}

int CxWave::GetFormat(ST_WAVE_INFO& out)
{
    if (Use() != PIM_OK || !m_data)
        return SetError(PIM_ERR_FILE_TYPE, "Invalid WAV File");
    const int code = GetWaveFormat(m_data, m_size, (m_flags & PIM_SOUND_RAW) != 0, out);
    return code == PIM_OK ? PIM_OK : SetError(code, "Invalid WAV File");
}

int CxWave::TakeEdit(int code, std::vector<uint8_t>& replaced)
{
    if (code != PIM_OK)
        return SetError(code, "Could not edit the sound %s", GetName());
    if (!replaced.empty()) {
        auto* data = static_cast<uint8_t*>(PIM_ALLOC(replaced.size()));
        if (!data)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate buffer for sound");
        std::memcpy(data, replaced.data(), replaced.size());
        if (!m_borrowed && m_data)
            Free(m_data);
        AdoptData(data, replaced.size());
    } else {
        OnDataChanged();
    }
    return PIM_OK;
}

int CxWave::Reverse()
{
    if (Use() != PIM_OK || !m_data)
        return SetError(PIM_ERR_UNKNOWN, "No sound data to reverse");
    // Borrowed bytes are the caller's: edit a copy of our own.
    if (m_borrowed && LoadFromMemory(m_data, m_size, false) != PIM_OK)
        return GetError();
    std::vector<uint8_t> replaced;
    return TakeEdit(ReverseSound(m_data, m_size, SoundKindFromFlags(m_flags), replaced), replaced);
}

int CxWave::ApplyEnvelope(double frequency, double phase, double depth)
{
    if (Use() != PIM_OK || !m_data)
        return SetError(PIM_ERR_UNKNOWN, "No sound data for the envelope");
    if (m_borrowed && LoadFromMemory(m_data, m_size, false) != PIM_OK)
        return GetError();
    std::vector<uint8_t> replaced;
    return TakeEdit(::ApplyEnvelope(m_data, m_size, SoundKindFromFlags(m_flags), frequency, phase, depth, replaced),
                    replaced);
}

int CxWave::CompressADPCM()
{
    if (Use() != PIM_OK || !m_data)
        return SetError(PIM_ERR_UNKNOWN, "No sound data to compress");
    std::vector<uint8_t> out;
    const int code = ::CompressADPCM(m_data, m_size, out);
    if (code == PIM_OK && out.empty())
        return SetError(PIM_ERR_UNKNOWN, "Could not compress %s", GetName());
    return TakeEdit(code, out);
}

int CxWave::DecompressADPCM()
{
    if (Use() != PIM_OK || !m_data)
        return SetError(PIM_ERR_UNKNOWN, "No sound data to decompress");
    std::vector<uint8_t> out;
    const int code = ::DecompressADPCM(m_data, m_size, out);
    if (code == PIM_OK && out.empty())
        return SetError(PIM_ERR_UNKNOWN, "Could not decompress %s", GetName());
    return TakeEdit(code, out);
}
