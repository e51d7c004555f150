#include "DAX/sequences/CDaxSystemEvents.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxCategories.h"
#include "DAX/sequences/CMovieEvent.h"
#include "DAX/sequences/CNotifyEvent.h"
#include "DAX/sequences/CSoundEvent.h"
#include "DAX/sequences/CTimerEvent.h"
#include "DAX/sequences/CWaitForChannelEvent.h"
#include "DAX/sequences/CxEventSequenceFile.h"
#include "PIM/app/CCommandEvent.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"

#include <algorithm>

namespace {

constexpr uint32_t kFlags = CxEvent::kDeleteWhenDone;

bool Is(const char* name, const char* kind)
{
    return PimStrEqual(name, kind, true);
}

bool IsSoundKind(const char* name)
{
    for (const char* kind : {"PlaySound", "PlayThisSound", "StartSound", "StartThisSound", "PlaySoundIfChannelEmpty",
                             "StartSoundIfChannelEmpty"})
        if (Is(name, kind))
            return true;
    return false;
}

int Number(const CxEventArgs& args, size_t index)
{
    return PimParseInt(args.Get(index)->GetText());
}

} // namespace

CDaxSystemEvents::~CDaxSystemEvents()
{
    Unregister();
}

int CDaxSystemEvents::Register()
{
    return DaxRegisterCategory(DAX_SYSTEM_CATEGORY, this);
}

void CDaxSystemEvents::Unregister()
{
    DaxUnregisterCategory(DAX_SYSTEM_CATEGORY, this);
}

CxEvent* CDaxSystemEvents::CreateSleep(const CxEventArgs& args)
{
    if (args.GetCount() < 1) {
        ReportError(PIM_ERR_BAD_ARG, "Sleep needs a duration in ms");
        return nullptr;
    }
    const int ms = Number(args, 0);
    if (ms < 0) {
        ReportError(PIM_ERR_BAD_ARG, "Sleep: a duration of %d ms", ms);
        return nullptr;
    }
    return new CTimerEvent(static_cast<uint32_t>(ms), kFlags);
}

// A draw of 0 would be a wait without end, which no range asks for: the
// shortest wait is 1 ms.
CxEvent* CDaxSystemEvents::CreateSleepRandomRange(const CxEventArgs& args)
{
    if (args.GetCount() < 2) {
        ReportError(PIM_ERR_BAD_ARG, "SleepRandomRange needs a shortest and a longest duration in ms");
        return nullptr;
    }
    int64_t low = std::max(0, Number(args, 0));
    int64_t high = std::max(0, Number(args, 1));
    if (low > high)
        std::swap(low, high);
    const auto span = static_cast<uint64_t>(high - low) + 1;
    const int64_t ms = low + static_cast<int64_t>(static_cast<uint64_t>(DaxServices().Random()) % span);
    return new CTimerEvent(static_cast<uint32_t>(std::max<int64_t>(ms, 1)), kFlags);
}

CxEvent* CDaxSystemEvents::CreateSequence(const CxEventArgs& args)
{
    const size_t count = args.GetCount();
    if (count < 1) {
        ReportError(PIM_ERR_BAD_ARG, "Sequence needs at least one file");
        return nullptr;
    }
    const size_t chosen = static_cast<unsigned>(DaxServices().Random()) % count;
    auto* sequence = new CxEventSequenceFile(kFlags);
    if (sequence)
        sequence->Load(args.Get(chosen)->GetText(), DaxServices().GetInterpolator());
    return sequence;
}

CxEvent* CDaxSystemEvents::CreateNotify(const CxEventArgs& args)
{
    if (args.GetCount() != 1) {
        ReportError(PIM_ERR_BAD_ARG, "Notify takes exactly one code (%zu given)", args.GetCount());
        return nullptr;
    }
    return new CNotifyEvent(Number(args, 0), kFlags);
}

CxEvent* CDaxSystemEvents::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    if (!Is(category, DAX_SYSTEM_CATEGORY))
        return nullptr;
    if (IsSoundKind(name))
        return CSoundEvent::Create(name, args, kFlags);
    if (Is(name, "Sleep"))
        return CreateSleep(args);
    if (Is(name, "SleepRandomRange"))
        return CreateSleepRandomRange(args);
    if (Is(name, "Sequence"))
        return CreateSequence(args);
    if (Is(name, "Notify"))
        return CreateNotify(args);
    if (Is(name, "WaitForChannel")) {
        if (args.GetCount() < 1) {
            ReportError(PIM_ERR_BAD_ARG, "WaitForChannel needs a channel id");
            return nullptr;
        }
        return CWaitForChannelEvent::Create(args.Get(0)->GetText(), kFlags);
    }
    if (Is(name, "PlayMovie"))
        return CMovieEvent::Create(args, kFlags);
    return CCommandEvent::Create(DaxServices().GetSystemCommandHandler(), name, args, kFlags);
}
