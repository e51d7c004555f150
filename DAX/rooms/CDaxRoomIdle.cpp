#include "DAX/rooms/CDaxRoomIdle.h"

#include "DAX/base/DaxOptionText.h"
#include "PIM/files/CxOptions.h"

void CDaxRoomIdle::ReadOptions(CxOptions& store, const char* section)
{
    // Counted first: the texts are held in one array.
    CxString key;
    int count = 0;
    while (count < DAX_ROOM_TIMEOUTS_MAX) {
        key.Format("OnTimeOut%d", count + 1);
        const CxOptionVariable* variable = store.FindVariable(section, key.GetText());
        if (!variable || !*variable->GetValue())
            break;
        ++count;
    }
    m_scripts.Clear();
    if (count > 0 && m_scripts.Resize(static_cast<size_t>(count))) {
        for (int n = 0; n < count; ++n) {
            key.Format("OnTimeOut%d", n + 1);
            *m_scripts.Get(static_cast<size_t>(n)) = DaxOptionText(store, section, key.GetText());
        }
    }
    SetIdleTime(store.GetInt(section, "IdleTime", DAX_ROOM_DEFAULT_IDLE_TIME));
    SetMaxCount(store.GetInt(section, "MaxIdleCount", DAX_ROOM_DEFAULT_MAX_IDLE_COUNT));
}

void CDaxRoomIdle::Start()
{
    m_timer.Reset();
    m_count = 0;
    if (m_idleTime > 0)
        m_timer.Start(m_idleTime);
}

void CDaxRoomIdle::NoteInput()
{
    if (m_timer.IsRunning() && !m_timer.IsPaused() && m_idleTime > 0)
        m_timer.Start(m_idleTime);
    if (m_inputClears)
        m_count = 0;
}

int CDaxRoomIdle::TakeTimeOut(uint32_t now)
{
    if (!m_timer.IsRunning() || m_timer.IsPaused() || m_timer.IsEndless())
        return 0;
    if (m_count >= m_maxCount || !m_timer.IsDueAt(now))
        return 0;
    ++m_count;
    // From now, not from when it was due: the next one is an idle time away.
    m_timer.Start(m_idleTime);
    return m_count;
}

const char* CDaxRoomIdle::GetScript(int number) const
{
    if (number < 1 || number > GetScriptCount())
        return nullptr;
    return m_scripts.Get(static_cast<size_t>(number - 1))->GetText();
}
