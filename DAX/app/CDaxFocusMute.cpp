#include "DAX/app/CDaxFocusMute.h"

#include "PIM/app/CxGameApp.h"
#include "PIM/sound/CxSound.h"
#include "PIM/sound/PimSound.h"

#include <algorithm>

void CDaxFocusMute::LoseFocus(CxGameApp& app)
{
    if (m_background)
        return;
    m_background = true;
    m_volume = ::GetMasterVolume();
    ::SetMasterVolume(0);
    m_pausedRoom = 0;
    if (CxGameWindow* room = app.GetCurrentRoom()) {
        room->AddPause();
        m_pausedRoom = room->GetHandle();
    }
}

void CDaxFocusMute::RegainFocus(CxGameApp& app)
{
    if (!m_background)
        return;
    m_background = false;
    ::SetMasterVolume(m_volume);
    const uint32_t handle = m_pausedRoom;
    m_pausedRoom = 0;
    if (CxGameWindow* room = handle ? app.FindRoomByHandle(handle) : nullptr)
        room->ReleasePause();
}

int CDaxFocusMute::GetMasterVolume() const
{
    return m_background ? m_volume : ::GetMasterVolume();
}

void CDaxFocusMute::SetMasterVolume(int volume)
{
    volume = std::clamp(volume, 0, PIM_SOUND_MAX_VOLUME);
    if (m_background)
        m_volume = volume;
    else
        ::SetMasterVolume(volume);
}
