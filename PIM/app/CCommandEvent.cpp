#include "PIM/app/CCommandEvent.h"

#include "PIM/core/CxError.h"
#include "PIM/core/Pimstr.h"

namespace {

// A CxString left empty for a non-empty source is one whose memory ran out.
bool Kept(const CxString& copy, const CxString& source)
{
    return copy.Length() > 0 || source.IsEmpty();
}

} // namespace

CCommandEvent::CCommandEvent(CCommandHandler* handler, const char* name, uint32_t flags)
    : CInfoEvent(flags), m_handler(handler), m_name(name)
{
}

CCommandEvent* CCommandEvent::Create(CCommandHandler* handler, const char* name, const CxEventArgs& args,
                                     uint32_t flags)
{
    auto* event = new CCommandEvent(handler, name, flags);
    if (!event)
        return nullptr;
    if (event->m_name.IsEmpty() && PimStrLen(name) > 0) {
        delete event;
        return nullptr;
    }
    if (event->SetArguments(args) != PIM_OK) {
        delete event;
        return nullptr;
    }
    return event;
}

int CCommandEvent::SetArguments(const CxEventArgs& args)
{
    if (!m_args.Resize(args.GetCount()))
        return PIM_ERR_OUT_OF_MEMORY;
    for (size_t i = 0; i < args.GetCount(); ++i) {
        const CxString& source = *args.Get(i);
        CxString& copy = *m_args.Get(i);
        copy = source;
        if (!Kept(copy, source)) {
            m_args.Clear();
            return PIM_ERR_OUT_OF_MEMORY;
        }
    }
    return PIM_OK;
}

void CCommandEvent::Start()
{
    SetState(kStarted);
    if (m_handler)
        m_handler->OnCommand(m_name.GetText(), m_args);
}

CCommandEventCreator::CCommandEventCreator(const char* category, CCommandHandler* handler, uint32_t flags)
    : m_category(category), m_handler(handler), m_flags(flags)
{
}

CxEvent* CCommandEventCreator::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    if (!PimStrEqual(category, m_category.GetText(), true) || PimStrEqual(name, "TODO"))
        return nullptr;
    return CCommandEvent::Create(m_handler, name, args, m_flags);
}
