#include "DAX/sprites/CDaxLips.h"

#include "PIM/display/PimSpriteHandles.h"
#include "PIM/sound/CxWave.h"

#include <algorithm>

namespace {

// Speech numbers of the run; 0 is never one.
uint32_t g_lastSpeech = 0;

uint32_t NextSpeechNumber()
{
    if (++g_lastSpeech == 0)
        ++g_lastSpeech;
    return g_lastSpeech;
}

// Keeps a wave's data in memory for as long as it lives.
class WaveLock
{
public:
    explicit WaveLock(CxWave& wave) : m_wave(wave) { m_wave.Lock(); }
    ~WaveLock() { m_wave.Unlock(); }
    WaveLock(const WaveLock&) = delete;
    WaveLock& operator=(const WaveLock&) = delete;

private:
    CxWave& m_wave;
};

} // namespace

CDaxLips::CDaxLips() : m_timer(this, kTickMs)
{
}

CDaxLips::~CDaxLips()
{
    ForgetSelf();
    StopSpeaking();
}

uint32_t CDaxLips::Speak(CxWave* const* waves, size_t count)
{
    StopSpeaking();
    Show();
    if (!m_waves.Resize(count)) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the %zu waves mouth '%s' is to say", count, GetName());
        return 0;
    }
    for (size_t i = 0; i < count; ++i)
        *m_waves.Get(i) = waves[i];
    m_index = -1;
    m_speaking = true;
    m_speech = NextSpeechNumber();
    if (!NextWave()) {
        m_timer.Reset();
        SetFrame(0);
    }
    return m_speech;
}

void CDaxLips::StopSpeaking()
{
    if (m_wave)
        m_wave->Stop();
    m_wave = nullptr;
    m_timer.Reset();
    m_envelope.frames.Clear();
    m_waves.Clear();
    m_index = -1;
    m_speaking = false;
    SetFrame(0);
}

bool CDaxLips::IsWavePlaying() const
{
    return m_wave && !m_wave->IsDone();
}

bool CDaxLips::NextWave()
{
    m_wave = nullptr;
    while (++m_index < static_cast<int>(m_waves.GetCount())) {
        CxWave* wave = *m_waves.Get(static_cast<size_t>(m_index));
        if (wave && StartWave(*wave) == PIM_OK) {
            m_speaking = true;
            return true;
        }
        // No envelope could be had: on to the next wave, the channel waits for none.
        m_wave = nullptr;
    }
    m_envelope.frames.Clear();
    m_speaking = false;
    return false;
}

int CDaxLips::StartWave(CxWave& wave)
{
    const int code = PrepareWave(wave);
    if (code != PIM_OK)
        return code;
    m_timer.SetListener(this);
    wave.Play();
    if (m_pauseCount > 0)
        wave.Pause();
    m_timer.SetInterval(kTickMs);
    m_timer.Start(0);
    return PIM_OK;
}

int CDaxLips::PrepareWave(CxWave& wave)
{
    m_wave = &wave;
    m_envelope.frames.Clear();
    WaveLock lock(wave);
    if (wave.Use() != PIM_OK || wave.GetDataSize() == 0)
        return PIM_OK; // nothing to read: the mouth stays closed
    if (wave.IsADPCM() && wave.DecompressADPCM() != PIM_OK)
        return PIM_OK;
    ST_WAVE_INFO info;
    if (wave.GetFormat(info) != PIM_OK)
        return PIM_OK;
    if (::PrepareWave(info, GetFrameCount(), m_envelope) == PIM_ERR_OUT_OF_MEMORY)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the lip sync of %s", wave.GetName());
    return PIM_OK;
}

void CDaxLips::OnTimer(CxTimerCallBack*)
{
    if (IsWavePlaying()) {
        const size_t length = m_envelope.frames.GetCount();
        if (length > 0 && m_wave->GetSampleLength() > 0) {
            const size_t at = std::min<size_t>(m_timer.Elapsed() / kTickMs, length - 1);
            SetFrame(static_cast<int>(*m_envelope.frames.Get(at)));
        }
        return;
    }
    if (!NextWave()) {
        m_timer.Reset();
        SetFrame(0);
    }
}

void CDaxLips::Pause()
{
    if (m_pauseCount++ > 0)
        return;
    m_timer.AddPause();
    if (m_wave)
        m_wave->Pause();
}

void CDaxLips::Resume()
{
    if (m_pauseCount == 0 || --m_pauseCount > 0)
        return;
    m_timer.RemovePause();
    if (m_wave)
        m_wave->Resume();
}

uint32_t CDaxLips::GetHandle()
{
    return GetSpriteHandle(this);
}

CDaxLips* CDaxLips::FromHandle(uint32_t handle)
{
    return dynamic_cast<CDaxLips*>(FindSpriteByHandle(handle));
}
