#include "DAX/sequences/CWaitForChannelEvent.h"

#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimNumbers.h"

CWaitForChannelEvent::CWaitForChannelEvent(PimChannelId channel, uint32_t flags) : CInfoEvent(flags), m_wait(channel)
{
}

CWaitForChannelEvent* CWaitForChannelEvent::Create(const char* argument, uint32_t flags)
{
    const int32_t number = PimParseInt(argument);
    const auto channel = static_cast<PimChannelId>(number);
    if (number <= 0 || !IsChannelValid(channel)) {
        ReportError(PIM_ERR_BAD_ARG, "WaitForChannel: \"%.64s\" is not a live event channel",
                    argument ? argument : "");
        return nullptr;
    }
    return new CWaitForChannelEvent(channel, flags);
}

bool CWaitForChannelEvent::IsDone() const
{
    return m_wait == GetChannel() || IsChannelEmpty(m_wait);
}
