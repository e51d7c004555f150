#include "DAX/sequences/DaxSequences.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/sequences/CxEventSequenceFile.h"
#include "DAX/sequences/CxLuaEvent.h"
#include "DAX/sequences/CxLuaTimerEvent.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"

namespace {

uint32_t Flags(bool chain)
{
    return CxEvent::kDeleteWhenDone | (chain ? CxEvent::kChainNext : 0u);
}

PimChannelId Resolve(PimChannelId channel)
{
    return channel ? channel : DaxServices().GetSystemChannel();
}

// Posts an event the channel is to own; the event goes when that fails.
int PostOwned(CxEvent* event, PimChannelId channel)
{
    if (!event)
        return PIM_ERR_OUT_OF_MEMORY;
    const int code = ::Post(event, Resolve(channel));
    if (code != PIM_OK)
        delete event;
    return code;
}

} // namespace

CxEventSequenceFile* LoadSequence(const char* file, const CxInterpolator* interpolator, int* code, uint32_t flags)
{
    auto* sequence = new CxEventSequenceFile(flags);
    const int result = sequence ? sequence->Load(file, interpolator) : PIM_ERR_OUT_OF_MEMORY;
    if (code)
        *code = result;
    return sequence;
}

int PostSequenceFile(const char* file, const ST_SEQUENCE_POST& post)
{
    if (post.sequenceChannel)
        *post.sequenceChannel = 0;
    auto* sequence = new CxEventSequenceFile(Flags(post.chain), post.extra);
    if (!sequence)
        return PIM_ERR_OUT_OF_MEMORY;
    const int loaded = sequence->Load(file, post.interpolator);
    const PimChannelId own = sequence->GetSequenceChannel();
    const int posted = PostOwned(sequence, post.channel);
    if (posted == PIM_OK && post.sequenceChannel)
        *post.sequenceChannel = own;
    return loaded != PIM_OK ? loaded : posted;
}

int DoSequence(const char* file, PimChannelId channel)
{
    ST_SEQUENCE_POST post;
    post.interpolator = DaxServices().GetInterpolator();
    post.channel = channel;
    return PostSequenceFile(file, post);
}

int DoEvent(const char* text, PimChannelId channel, bool chain)
{
    CxEvent* event = CreateEventFromText(text);
    if (!event)
        return PIM_ERR_BAD_ARG;
    event->SetFlags(Flags(chain));
    return PostOwned(event, channel);
}

int DoLuaEvent(const char* text, PimChannelId channel, bool chain)
{
    return PostOwned(new CxLuaEvent(text, Flags(chain)), channel);
}

int DoLuaTimerEvent(uint32_t duration, uint32_t interval, const char* text, PimChannelId channel, bool chain)
{
    return PostOwned(new CxLuaTimerEvent(duration, interval, text, Flags(chain)), channel);
}
