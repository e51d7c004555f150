#include "DAX/sequences/CxDynamicEvent.h"

#include "DAX/sequences/CxEventSequenceFile.h"
#include "PIM/app/PimEventCategories.h"

CxDynamicEvent::CxDynamicEvent(const char* text, const CxInterpolator* interpolator, CxEventCreator* extra,
                               uint32_t flags)
    : CxEvent(flags), m_text(text ? text : ""), m_interpolator(interpolator), m_extra(extra),
      m_lineage(CDaxLineageScope::Current())
{
}

CxDynamicEvent::~CxDynamicEvent()
{
    DeleteInner();
}

void CxDynamicEvent::DeleteInner()
{
    CxEvent* inner = m_inner;
    m_inner = nullptr;
    delete inner;
}

void CxDynamicEvent::Reset()
{
    DeleteInner();
    CxEvent::Reset();
}

void CxDynamicEvent::Start()
{
    DeleteInner();
    {
        CDaxLineageScope scope(m_lineage);
        CxEventSequenceFile::StartLoadBudget();
        m_inner = CreateEventFromText(m_text.GetText(), m_interpolator, m_extra);
    }
    // The inner event may end this one (a command that leaves the room):
    // nothing of this object is touched after it has started.
    if (m_inner)
        m_inner->Start();
}

bool CxDynamicEvent::IsStarted() const
{
    return m_inner && m_inner->IsStarted();
}

void CxDynamicEvent::Stop()
{
    if (m_inner)
        m_inner->Stop();
}

bool CxDynamicEvent::IsDone() const
{
    return !m_inner || m_inner->IsDone();
}

void CxDynamicEvent::Pause()
{
    if (m_inner)
        m_inner->Pause();
}

void CxDynamicEvent::Resume()
{
    if (m_inner)
        m_inner->Resume();
}

bool CxDynamicEvent::IsPaused() const
{
    return m_inner && m_inner->IsPaused();
}

void CxDynamicEvent::OnDone()
{
    if (m_inner)
        m_inner->OnDone();
    DeleteInner();
}
