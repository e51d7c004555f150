#include "DAX/sequences/CSoundEvent.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/sequences/CxAudioSubTitle.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"

#include <cstring>
#include <utility>

namespace {

bool IsBusy(const CxSound& sound)
{
    return sound.IsStarted() || sound.IsQueued();
}

} // namespace

uint32_t CSoundEvent::ModesFromName(const char* name)
{
    if (!name)
        return 0;
    uint32_t modes = 0;
    if (std::strstr(name, "This"))
        modes |= kModeThis;
    if (std::strstr(name, "Start"))
        modes |= kModeStart;
    if (std::strstr(name, "Empty"))
        modes |= kModeEmpty;
    return modes;
}

CSoundEvent* CSoundEvent::Create(const char* name, const CxEventArgs& args, uint32_t flags)
{
    const size_t count = args.GetCount();
    if (count < 2) {
        ReportError(PIM_ERR_BAD_ARG, "%.40s needs an audio channel and at least one sound file", name ? name : "");
        return nullptr;
    }
    const int audioChannel = PimParseInt(args.Get(0)->GetText());
    const size_t chosen = 1 + static_cast<unsigned>(DaxServices().Random()) % (count - 1);
    CxString path;
    if (BuildGamePathFromData(path, args.Get(chosen)->GetText()) != PIM_OK) {
        ReportError(PIM_ERR_BAD_ARG, "%.40s: the sound file name is no game path: %.200s", name ? name : "",
                    args.Get(chosen)->GetText());
        return nullptr;
    }
    const uint32_t modes = ModesFromName(name);
    if (PimStrStrNoCase(path.GetText(), ".TXT")) {
        auto* subtitle = new CxAudioSubTitle;
        if (!subtitle)
            return nullptr;
        subtitle->Load(path.GetText());
        auto* event = new CSoundEvent(subtitle, audioChannel, modes, flags);
        if (!event)
            delete subtitle;
        return event;
    }
    return new CSoundEvent(DaxServices().GetSound(path.GetText()), audioChannel, modes, flags);
}

CSoundEvent::CSoundEvent(CDaxSound sound, int audioChannel, uint32_t modes, uint32_t flags)
    : CxEvent(flags), m_cached(std::move(sound)), m_audioChannel(audioChannel), m_modes(modes)
{
}

CSoundEvent::CSoundEvent(CxAudioSubTitle* subtitle, int audioChannel, uint32_t modes, uint32_t flags)
    : CxEvent(flags), m_subtitle(subtitle), m_audioChannel(audioChannel), m_modes(modes)
{
}

CSoundEvent::~CSoundEvent()
{
    const bool playsOn = (m_modes & kModeStart) != 0;
    if (m_subtitle) {
        if (playsOn && IsBusy(*m_subtitle))
            m_subtitle->AddPlayFlags(PIM_SOUND_AUTO_DELETE);
        else
            delete m_subtitle;
        m_subtitle = nullptr;
    }
    if (playsOn && m_cached && IsBusy(*m_cached.Get()))
        DaxKeepSoundPlaying(std::move(m_cached));
}

CxSound* CSoundEvent::GetSound() const
{
    if (m_subtitle)
        return m_subtitle;
    return m_cached.Get();
}

int CSoundEvent::ApplyChannel(CxSound& sound) const
{
    if (m_audioChannel >= 0 && m_audioChannel < kQueuedChannels && m_audioChannel < GetQueueCount()) {
        sound.AddPlayFlags(PIM_SOUND_QUEUED);
        sound.SetQueue(m_audioChannel);
        return m_audioChannel;
    }
    sound.RemovePlayFlags(PIM_SOUND_QUEUED);
    sound.SetQueue(-1);
    return -1;
}

void CSoundEvent::Reset()
{
    m_skipped = false;
    CxEvent::Reset();
}

void CSoundEvent::Start()
{
    SetState(kStarted);
    m_skipped = false;
    DaxSweepLingeringSounds();
    CxSound* sound = GetSound();
    if (!sound) {
        m_skipped = true;
        return;
    }
    const int queue = ApplyChannel(*sound);
    if ((m_modes & kModeThis) && queue >= 0)
        StopQueue(queue);
    // A sound outside any queue has no queue to wait for.
    if ((m_modes & kModeEmpty) && queue >= 0 && !IsQueueEmpty(queue)) {
        m_skipped = true;
        return;
    }
    if (sound->Play() != PIM_OK || !IsBusy(*sound))
        m_skipped = true;
}

void CSoundEvent::Stop()
{
    if (CxSound* sound = GetSound())
        sound->Stop();
}

bool CSoundEvent::IsDone() const
{
    if (m_skipped || (m_modes & kModeStart))
        return true;
    const CxSound* sound = GetSound();
    // Waiting in its queue, a sound has no voice yet but is far from done.
    return !sound || (!sound->IsQueued() && sound->IsDone());
}

void CSoundEvent::Pause()
{
    if (IsPaused())
        return;
    SetState(kPaused);
    if (CxSound* sound = GetSound())
        sound->Pause();
}

void CSoundEvent::Resume()
{
    if (!IsPaused())
        return;
    ClearState(kPaused);
    if (CxSound* sound = GetSound())
        sound->Resume();
}
