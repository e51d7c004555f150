#pragma once
// "system.WaitForChannel(id)": holds its channel until another channel has
// run empty (a voice line on one channel waits for the music sting on
// another). The id is a channel handle, checked against the live channels
// when the event is made; a channel destroyed later counts as empty. Waiting
// on its own channel would never end and counts as done.

#include "PIM/app/CInfoEvent.h"

class CWaitForChannelEvent : public CInfoEvent
{
public:
    explicit CWaitForChannelEvent(PimChannelId channel, uint32_t flags = 0);
    ~CWaitForChannelEvent() override = default;

    // The event for the argument text: a decimal channel id that names a
    // live channel. Null, with 16 reported, for anything else.
    static CWaitForChannelEvent* Create(const char* argument, uint32_t flags = kDeleteWhenDone);

    bool IsDone() const override;
    PimChannelId GetWaitChannel() const { return m_wait; }

private:
    PimChannelId m_wait;
};
