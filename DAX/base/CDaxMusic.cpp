#include "DAX/base/CDaxMusic.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/sound/CxWave.h"

#include <algorithm>

CDaxMusic::CDaxMusic() = default;

CDaxMusic::~CDaxMusic()
{
    Release();
}

int CDaxMusic::Start(const char* file, int volume)
{
    if (volume != -1)
        m_volume = std::clamp(volume, 0, PIM_SOUND_MAX_VOLUME);
    CxString path;
    if (const int code = BuildGamePathFromData(path, file); code != PIM_OK)
        return ReportError(code, "StartMusic: the name %.64s... is too long", file ? file : "");
    if (!m_wave) {
        m_wave.reset(new CxWave); // null when memory ran out (CxObject)
        if (!m_wave)
            return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate the music for %s", path.GetText());
    }
    m_wave->Stop();
    m_wave->ClearError();
    m_fileName = path;
    const int code = m_wave->Load(path.GetText());
    if (code != PIM_OK)
        return code; // the loader has said why
    m_wave->AddPlayFlags(PIM_SOUND_MIXER_LOOPS);
    m_wave->SetVolume(m_volume);
    m_wave->SetLoopCount(DAX_MUSIC_LOOPS);
    return m_wave->Play();
}

void CDaxMusic::Stop()
{
    if (m_wave)
        m_wave->Stop();
}

void CDaxMusic::Pause()
{
    if (m_wave)
        m_wave->Pause();
}

void CDaxMusic::Resume()
{
    if (m_wave)
        m_wave->Resume();
}

bool CDaxMusic::IsPlaying() const
{
    return m_wave && m_wave->IsLoaded() && m_wave->IsStarted() && !m_wave->IsPaused() && !m_wave->IsDone();
}

void CDaxMusic::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, PIM_SOUND_MAX_VOLUME);
    if (m_wave)
        m_wave->SetVolume(m_volume);
}

void CDaxMusic::Release()
{
    m_wave.reset();
}
