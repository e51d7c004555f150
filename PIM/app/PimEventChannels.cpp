#include "PIM/app/PimEventChannels.h"

#include "PIM/app/CxEventListener.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"

#include <cstring>

// Keeps an event's own record of its channel in step with the queues; the
// only code allowed to write those fields.
struct PimChannelBook
{
    static void Queued(CxEvent& event, PimChannelId id)
    {
        event.m_channel = id;
        ++event.m_postCount;
    }

    // One occurrence left the queue; true when it was the last one.
    static bool LeftOnce(CxEvent& event)
    {
        if (event.m_postCount > 0)
            --event.m_postCount;
        if (event.m_postCount == 0)
            event.m_channel = 0;
        return event.m_postCount == 0;
    }

    static void LeftAll(CxEvent& event)
    {
        event.m_channel = 0;
        event.m_postCount = 0;
    }
};

namespace {

const char kInvalidPost[] = "CxEvent::Post(nChannelID) - nChannelID is not a valid event channel";
const char kInvalidFlush[] = "CxEvent::FlushChannel(nChannelID) - nChannelID is not a valid event channel";
const char kInvalidDestroy[] = "CxEvent::DestroyChannel(nChannelID) - nChannelID is not a valid event channel";
const char kInvalidPause[] = "CxEvent::PauseChannel(nChannelID) - nChannelID is not a valid event channel";
const char kInvalidResume[] = "CxEvent::ResumeChannel(nChannelID) - nChannelID is not a valid event channel";

int Refuse(const char* message)
{
    return ReportError(PIM_ERR_BAD_ARG, "%s", message);
}

// The queue of one channel: a ring of event pointers whose room doubles when
// full and is kept, so a channel that keeps a few events going stops
// allocating once it has seen the most it ever holds.
class EventRing
{
public:
    EventRing() = default;
    EventRing(const EventRing&) = delete;
    EventRing& operator=(const EventRing&) = delete;
    ~EventRing() { Free(m_slots); }

    bool IsEmpty() const { return m_count == 0; }
    size_t GetCount() const { return m_count; }
    CxEvent* Front() const { return m_count ? m_slots[m_head] : nullptr; }
    CxEvent* At(size_t index) const { return m_slots[(m_head + index) & (m_capacity - 1)]; }

    bool PushBack(CxEvent* event)
    {
        if (m_count == m_capacity && !Grow())
            return false;
        m_slots[(m_head + m_count) & (m_capacity - 1)] = event;
        ++m_count;
        return true;
    }

    void PopFront()
    {
        m_head = (m_head + 1) & (m_capacity - 1);
        --m_count;
    }

    // Removes every occurrence, keeping the order of the rest; the count removed.
    size_t RemoveAll(const CxEvent* event)
    {
        size_t kept = 0;
        for (size_t i = 0; i < m_count; ++i) {
            CxEvent* entry = At(i);
            if (entry != event)
                m_slots[(m_head + kept++) & (m_capacity - 1)] = entry;
        }
        const size_t removed = m_count - kept;
        m_count = kept;
        return removed;
    }

private:
    bool Grow()
    {
        // Capacities stay powers of two so that positions wrap with a mask.
        const size_t capacity = m_capacity ? m_capacity * 2 : 4;
        if (capacity > SIZE_MAX / 2 / sizeof(CxEvent*))
            return false;
        auto** slots = static_cast<CxEvent**>(PIM_ALLOC(capacity * sizeof(CxEvent*)));
        if (!slots)
            return false;
        for (size_t i = 0; i < m_count; ++i)
            slots[i] = At(i);
        Free(m_slots);
        m_slots = slots;
        m_capacity = capacity;
        m_head = 0;
        return true;
    }

    CxEvent** m_slots = nullptr;
    size_t m_head = 0;
    size_t m_count = 0;
    size_t m_capacity = 0;
};

struct Channel
{
    PimChannelId id = 0;
    EventRing events;
    // Links in the active or the idle list, whichever `active` names.
    Channel* previous = nullptr;
    Channel* next = nullptr;
    // Bumped whenever an event leaves the queue. A dispatcher that finds it
    // unchanged after calling out knows its front event is still in place,
    // and so still alive (an event's destructor takes it off its channel).
    uint32_t generation = 0;
    // Dispatchers in the middle of a call on this channel's front event.
    int busy = 0;
    bool active = false;
    // Destroyed while something was standing on it; freed by the sweep.
    bool dead = false;
};

struct ChannelList
{
    Channel* first = nullptr;
    Channel* last = nullptr;

    void Append(Channel* channel)
    {
        channel->previous = last;
        channel->next = nullptr;
        if (last)
            last->next = channel;
        else
            first = channel;
        last = channel;
    }

    void Unlink(Channel* channel)
    {
        if (channel->previous)
            channel->previous->next = channel->next;
        else
            first = channel->next;
        if (channel->next)
            channel->next->previous = channel->previous;
        else
            last = channel->previous;
        channel->previous = nullptr;
        channel->next = nullptr;
    }
};

// One call from here into an event's code (or a listener's, about an event).
// Records live on the stack, innermost first, so that code deleting the event
// or disposing of it during the call can tell the caller.
struct ServiceRecord
{
    CxEvent* event;
    ServiceRecord* outer;
    // Deleted by its owner during the call: never touch it again.
    bool gone;
    // Disposed of by a flush during the call: delete it once the call is over.
    bool deleteOnReturn;
};

struct ChannelState
{
    ChannelList active;
    ChannelList idle;
    // Every channel not yet swept, live or dead, by ascending id (ids only
    // grow, so appending keeps the order).
    Channel** registry = nullptr;
    size_t count = 0;
    size_t capacity = 0;
    size_t dead = 0;
    PimChannelId lastId = 0;
    // Walks and flushes in progress: while non-zero nothing is freed.
    int lockDepth = 0;
    // Walks in progress: while non-zero the active list only grows.
    int walkDepth = 0;
    // Some queue ran empty since the last retirement pass (a frame in which
    // every event keeps running skips that pass).
    bool emptied = false;
    ServiceRecord* inService = nullptr;
};

ChannelState g_state;

Channel* FindChannel(PimChannelId id)
{
    size_t low = 0;
    size_t high = g_state.count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        Channel* channel = g_state.registry[middle];
        if (channel->id < id)
            low = middle + 1;
        else if (channel->id > id)
            high = middle;
        else
            return channel;
    }
    return nullptr;
}

Channel* FindLiveChannel(PimChannelId id)
{
    Channel* channel = id ? FindChannel(id) : nullptr;
    return channel && !channel->dead ? channel : nullptr;
}

bool AddToRegistry(Channel* channel)
{
    if (g_state.count == g_state.capacity) {
        const size_t capacity = g_state.capacity ? g_state.capacity * 2 : 16;
        if (capacity > SIZE_MAX / sizeof(Channel*))
            return false;
        auto** registry = static_cast<Channel**>(PIM_ALLOC(capacity * sizeof(Channel*)));
        if (!registry)
            return false;
        if (g_state.count)
            std::memcpy(registry, g_state.registry, g_state.count * sizeof(Channel*));
        Free(g_state.registry);
        g_state.registry = registry;
        g_state.capacity = capacity;
    }
    g_state.registry[g_state.count++] = channel;
    return true;
}

CxEvent* Front(Channel& channel)
{
    return channel.events.Front();
}

void RemoveOccurrences(Channel& channel, CxEvent* event)
{
    if (channel.events.RemoveAll(event) > 0)
        ++channel.generation;
    g_state.emptied |= channel.events.IsEmpty();
    PimChannelBook::LeftAll(*event);
}

// Deletes an event this file has taken off its channel, unless a call into it
// is still running further up the stack: then the innermost such call deletes
// it on its way out (and hands it on to the next one out, if any).
void DisposeEvent(CxEvent* event)
{
    for (ServiceRecord* record = g_state.inService; record; record = record->outer) {
        if (record->event == event && !record->gone) {
            record->deleteOnReturn = true;
            return;
        }
    }
    delete event;
}

// Runs `call`, which may do anything to the event; true when the event is
// still alive and undisposed afterwards.
template <class Call>
bool CallOut(CxEvent* event, Call&& call)
{
    ServiceRecord record{event, g_state.inService, false, false};
    g_state.inService = &record;
    call();
    g_state.inService = record.outer;
    if (record.gone)
        return false;
    if (record.deleteOnReturn) {
        DisposeEvent(event);
        return false;
    }
    return true;
}

void SweepDeadChannels()
{
    if (g_state.dead == 0)
        return;
    size_t kept = 0;
    for (size_t i = 0; i < g_state.count; ++i) {
        Channel* channel = g_state.registry[i];
        if (!channel->dead) {
            g_state.registry[kept++] = channel;
            continue;
        }
        (channel->active ? g_state.active : g_state.idle).Unlink(channel);
        // Destroying flushed it and refused later posts, so this is empty;
        // an entry left anyway must not leave its event pointing here.
        for (size_t entry = 0; entry < channel->events.GetCount(); ++entry)
            PimChannelBook::LeftAll(*channel->events.At(entry));
        PimDelete(channel);
    }
    g_state.count = kept;
    g_state.dead = 0;
    if (g_state.count == 0) {
        Free(g_state.registry);
        g_state.registry = nullptr;
        g_state.capacity = 0;
    }
}

void Lock()
{
    ++g_state.lockDepth;
}

void Unlock()
{
    if (--g_state.lockDepth == 0)
        SweepDeadChannels();
}

void FlushEvents(Channel& channel)
{
    while (CxEvent* event = Front(channel)) {
        // Off the queue before Stop runs, so that nothing Stop sets off can
        // see it there, and so that its other occurrences never come round.
        RemoveOccurrences(channel, event);
        if (event->IsRunning() && !CallOut(event, [event] { event->Stop(); }))
            continue;
        if (event->GetFlags() & CxEvent::kDeleteWhenDone)
            DisposeEvent(event);
        else
            event->Reset();
    }
}

// Offers a finished event to the listeners of its channel, in listener order,
// until one consumes it. False when the event left the channel (or died)
// during the offer: it is then no longer the dispatcher's to retire.
bool Announce(Channel& channel, CxEvent* event, uint32_t generation)
{
    const PimChannelId id = channel.id;
    CxEventListener::CWalk walk;
    while (CxEventListener* listener = walk.Next()) {
        if (!listener->IsListening(id))
            continue;
        int consumed = 0;
        if (!CallOut(event, [&] { consumed = listener->OnEvent(id, event); }) || channel.generation != generation)
            return false;
        if (consumed)
            break;
    }
    return true;
}

// The finished front event leaves the queue. Deletion waits for its last
// occurrence: an event queued twice must still exist when its turn comes
// again, and must start afresh then.
void RetireFront(Channel& channel, CxEvent* event, uint32_t flags)
{
    channel.events.PopFront();
    ++channel.generation;
    g_state.emptied |= channel.events.IsEmpty();
    const bool last = PimChannelBook::LeftOnce(*event);
    if (last && (flags & CxEvent::kDeleteWhenDone))
        DisposeEvent(event);
    else
        event->Reset();
}

void ServeChannel(Channel& channel)
{
    ++channel.busy;
    for (;;) {
        CxEvent* event = Front(channel);
        if (!event || event->IsPaused())
            break;
        const uint32_t generation = channel.generation;
        if (!event->IsStarted()
            && (!CallOut(event, [event] { event->Start(); }) || channel.generation != generation))
            break;
        if (!event->IsDone())
            break;
        // Read before any call: OnDone and the listeners may change or delete it.
        const uint32_t flags = event->GetFlags();
        if (CallOut(event, [event] { event->OnDone(); }) && channel.generation == generation
            && Announce(channel, event, generation))
            RetireFront(channel, event, flags);
        if (!(flags & CxEvent::kChainNext) || channel.dead)
            break;
    }
    --channel.busy;
}

// Only between walks: a walk in progress relies on the active list never
// losing a channel under it.
void RetireEmptyChannels()
{
    if (!g_state.emptied)
        return;
    g_state.emptied = false;
    for (Channel* channel = g_state.active.first; channel;) {
        Channel* next = channel->next;
        if (!channel->dead && channel->events.IsEmpty()) {
            g_state.active.Unlink(channel);
            channel->active = false;
            g_state.idle.Append(channel);
        }
        channel = next;
    }
}

} // namespace

PimChannelId CreateChannel()
{
    // Four billion channels in one run would be a leak long before this.
    if (g_state.lastId == UINT32_MAX)
        return 0;
    Channel* channel = PimNew<Channel>(__FILE__, __LINE__);
    if (!channel)
        return 0;
    channel->id = g_state.lastId + 1;
    if (!AddToRegistry(channel)) {
        PimDelete(channel);
        return 0;
    }
    g_state.lastId = channel->id;
    g_state.idle.Append(channel);
    return channel->id;
}

int DestroyChannel(PimChannelId id)
{
    if (id == 0)
        return Refuse(kInvalidDestroy);
    Channel* channel = FindLiveChannel(id);
    if (!channel)
        return PIM_OK;
    channel->dead = true;
    ++g_state.dead;
    Lock();
    FlushEvents(*channel);
    Unlock();
    return PIM_OK;
}

int FlushChannel(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    if (!channel)
        return Refuse(kInvalidFlush);
    Lock();
    FlushEvents(*channel);
    Unlock();
    return PIM_OK;
}

bool IsChannelEmpty(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    return !channel || channel->events.IsEmpty();
}

bool IsChannelPaused(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    CxEvent* front = channel ? Front(*channel) : nullptr;
    return front && front->IsPaused();
}

int PauseChannel(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    if (!channel)
        return Refuse(kInvalidPause);
    if (CxEvent* front = Front(*channel))
        front->Pause();
    return PIM_OK;
}

int ResumeChannel(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    if (!channel)
        return Refuse(kInvalidResume);
    if (CxEvent* front = Front(*channel))
        front->Resume();
    return PIM_OK;
}

int Post(CxEvent* event, PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    if (!channel)
        return Refuse(kInvalidPost);
    if (!event)
        return ReportError(PIM_ERR_BAD_ARG, "CxEvent::Post(pEvent) - pEvent is null");
    // An event knows one channel; queued on two, it would be deleted by one
    // while the other still points at it.
    if (event->GetChannel() != 0 && event->GetChannel() != id)
        return ReportError(PIM_ERR_BAD_ARG, "CxEvent::Post(nChannelID) - the event is already posted on channel %u",
                           static_cast<unsigned>(event->GetChannel()));
    if (!channel->events.PushBack(event))
        return PIM_ERR_OUT_OF_MEMORY;
    PimChannelBook::Queued(*event, id);
    if (!channel->active) {
        g_state.idle.Unlink(channel);
        channel->active = true;
        g_state.active.Append(channel);
    }
    return PIM_OK;
}

void DispatchEvents()
{
    Lock();
    ++g_state.walkDepth;
    // The successor is read only after the channel is served: nothing is
    // unlinked from the active list during a walk, and what a callee appends
    // is reached by this same walk.
    for (Channel* channel = g_state.active.first; channel; channel = channel->next) {
        if (!channel->dead && channel->busy == 0)
            ServeChannel(*channel);
    }
    if (--g_state.walkDepth == 0)
        RetireEmptyChannels();
    Unlock();
}

bool IsChannelValid(PimChannelId id)
{
    return FindLiveChannel(id) != nullptr;
}

bool IsChannelActive(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    return channel && channel->active;
}

size_t GetChannelEventCount(PimChannelId id)
{
    Channel* channel = FindLiveChannel(id);
    return channel ? channel->events.GetCount() : 0;
}

size_t GetChannelCount()
{
    return g_state.count - g_state.dead;
}

size_t GetActiveChannelCount()
{
    size_t count = 0;
    for (Channel* channel = g_state.active.first; channel; channel = channel->next)
        count += channel->dead ? 0 : 1;
    return count;
}

void ResetEventSystem()
{
    Lock();
    // By index: a Stop called by a flush may create channels, which are
    // appended here and destroyed in turn.
    for (size_t i = 0; i < g_state.count; ++i) {
        Channel* channel = g_state.registry[i];
        if (channel->dead)
            continue;
        channel->dead = true;
        ++g_state.dead;
        FlushEvents(*channel);
    }
    Unlock();
    CxEventListener::UnregisterAll();
    UnregisterEventCategories("*");
}

void PimEventInternal::Unpost(CxEvent* event)
{
    if (!event || event->GetChannel() == 0)
        return;
    if (Channel* channel = FindChannel(event->GetChannel()))
        RemoveOccurrences(*channel, event);
    else
        PimChannelBook::LeftAll(*event);
}

void PimEventInternal::EventDestroyed(CxEvent* event)
{
    Unpost(event);
    for (ServiceRecord* record = g_state.inService; record; record = record->outer) {
        if (record->event == event)
            record->gone = true;
    }
}
