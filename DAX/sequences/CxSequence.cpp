#include "DAX/sequences/CxSequence.h"

#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"

#include <new>

CxSequence::CxSequence(uint32_t flags) : CxEvent(flags), m_channel(CreateChannel())
{
    if (!m_channel)
        ReportError(PIM_ERR_OUT_OF_MEMORY, "No memory for the channel of a sequence");
}

CxSequence::~CxSequence()
{
    if (m_channel)
        DestroyChannel(m_channel);
    m_channel = 0;
    for (CxEvent* event : m_events)
        delete event;
}

int CxSequence::AddEvent(CxEvent* event)
{
    if (!event || event->GetChannel() != 0)
        return ReportError(PIM_ERR_BAD_ARG, "CxSequence::AddEvent - the event is null or already posted");
    event->SetFlags(event->GetFlags() & ~kDeleteWhenDone);
    try {
        m_events.push_back(event);
    } catch (const std::bad_alloc&) {
        delete event;
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "No memory for another event of a sequence");
    }
    return PIM_OK;
}

void CxSequence::DeleteEvents()
{
    if (m_channel && !IsChannelEmpty(m_channel))
        FlushChannel(m_channel);
    std::vector<CxEvent*> events;
    events.swap(m_events);
    for (CxEvent* event : events)
        delete event;
}

void CxSequence::Reset()
{
    if (m_channel && !IsChannelEmpty(m_channel))
        FlushChannel(m_channel);
    CxEvent::Reset();
}

void CxSequence::Start()
{
    SetState(kStarted);
    if (!m_channel)
        return;
    // A start without a reset in between (called by hand) begins afresh.
    if (!IsChannelEmpty(m_channel))
        FlushChannel(m_channel);
    for (CxEvent* event : m_events)
        ::Post(event, m_channel);
}

void CxSequence::Stop()
{
    if (m_channel)
        FlushChannel(m_channel);
}

bool CxSequence::IsDone() const
{
    return IsChannelEmpty(m_channel);
}

void CxSequence::Pause()
{
    if (m_channel)
        PauseChannel(m_channel);
}

void CxSequence::Resume()
{
    if (m_channel)
        ResumeChannel(m_channel);
}

bool CxSequence::IsPaused() const
{
    return IsChannelPaused(m_channel);
}
