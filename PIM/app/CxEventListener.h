#pragma once
// Something that wants to hear when events finish on certain channels (a
// room, the game's sequence runner). Constructing a listener enters it in the
// one global listener list; the first listener also makes the list and
// registers the event dispatcher as a main-loop callback, and the last one to
// go takes both away again, so a game without listeners pays nothing per frame.
//
// Order: a listener goes in front of the first listener whose priority is
// lower than its own, so higher priorities hear first and equal ones in the
// order they were made. Two priorities break that rule: 0 always goes to the end
// and -1 always to the front (at the time it is made). A finished event is
// offered in that order to every listener listening to its channel, until one
// returns non-zero from OnEvent.
//
// Listeners may be made and deleted from inside OnEvent, the one being called
// included. A listener deleted during an offer is skipped from then on (its
// entry is cleared and swept once the outermost offer is over); one made
// during an offer hears that same event if it lands after the listener being
// called, and not if it lands before.

#include "PIM/app/CxEvent.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxObject.h"

#include <climits>

class CxEventListener : public CxObject
{
public:
    static constexpr int kDefaultPriority = INT_MAX;
    static constexpr int kPriorityLast = 0;
    static constexpr int kPriorityFirst = -1;

    // When the list or the main-loop entry cannot be had the listener is
    // left unregistered (IsRegistered() false); the allocator has reported it.
    explicit CxEventListener(int priority = kDefaultPriority);
    ~CxEventListener() override;

    // The list holds the object's address.
    CxEventListener(const CxEventListener&) = delete;
    CxEventListener& operator=(const CxEventListener&) = delete;

    // Non-zero when the listener has consumed the notice: listeners after it
    // do not hear of the event. The event is valid for the whole call, even
    // when the call flushes or destroys its channel; once the call returns it
    // may already be gone.
    virtual int OnEvent(PimChannelId channel, CxEvent* event);

    // Adds a channel to hear; PIM_ERR_BAD_ARG for 0, PIM_ERR_OUT_OF_MEMORY.
    // Listening twice to a channel is listening once.
    int Listen(PimChannelId channel);
    // False when the listener did not listen to it.
    bool StopListening(PimChannelId channel);
    bool IsListening(PimChannelId channel) const;

    int GetPriority() const { return m_priority; }
    bool IsRegistered() const { return m_entry != nullptr; }

    // Registered listeners (deleted ones still waiting for the sweep not counted).
    static size_t GetListenerCount();
    // Cuts every listener loose (they stay their owners', unregistered) and
    // removes the dispatcher from the main loop.
    static void UnregisterAll();

    // A walk over the registered listeners in order, for the dispatcher.
    // While one exists, deleted listeners leave their entry behind, so the
    // walk can always step on from where it stands.
    class CWalk
    {
    public:
        CWalk();
        ~CWalk();
        CWalk(const CWalk&) = delete;
        CWalk& operator=(const CWalk&) = delete;

        // The next live listener; null at the end.
        CxEventListener* Next();

    private:
        CxListNode<CxEventListener*>* m_node = nullptr;
        bool m_started = false;
        bool m_counted = false;
    };

private:
    void Enter();
    void Leave();
    // Where `channel` is or would go in m_channels.
    size_t ChannelSlot(PimChannelId channel) const;

    // Sorted: every finished event asks each listener whether it listens.
    PimChannelId* m_channels = nullptr;
    size_t m_channelCount = 0;
    size_t m_channelCapacity = 0;
    CxListNode<CxEventListener*>* m_entry = nullptr;
    int m_priority;
};
