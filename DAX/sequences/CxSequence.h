#pragma once
// An event that runs a list of events one after another: starting it posts
// every child, in order, on the sequence's own channel, and it is done when
// that channel has run empty. The private channel is dispatched like any
// other, so each child is started, announced to the listeners of that
// channel and retired in turn (children marked kChainNext let the next one
// start in the same frame).
//
// The children belong to the sequence: they are reset, never deleted, when
// they have run, so the sequence can run again (a dialog plays its sequence
// at every opening). Destroying the sequence destroys its channel, which
// stops a running child, then deletes the children.

#include "PIM/app/CxEvent.h"

#include <vector>

class CxSequence : public CxEvent
{
public:
    // The private channel is made here; without memory for it the sequence
    // has none, runs nothing and is done at once.
    explicit CxSequence(uint32_t flags = 0);
    ~CxSequence() override;

    // Takes `event` (made with new) as the last child. Its kDeleteWhenDone
    // is dropped (the sequence owns it); kChainNext is kept. 16 for a null
    // event or one posted somewhere; 1 when memory ran out (the event is
    // deleted then).
    int AddEvent(CxEvent* event);
    // Stops what runs and deletes every child.
    void DeleteEvents();
    size_t GetEventCount() const { return m_events.size(); }
    CxEvent* GetEvent(size_t index) const { return index < m_events.size() ? m_events[index] : nullptr; }

    // Where the children run (0 when it could not be made). Listeners that
    // want to hear them (a "Notify" of the file) listen to this channel.
    PimChannelId GetSequenceChannel() const { return m_channel; }

    // Also takes back any child still queued.
    void Reset() override;
    void Start() override;
    // Flushes the private channel: the running child is stopped.
    void Stop() override;
    bool IsDone() const override;
    // Act on the front child.
    void Pause() override;
    void Resume() override;
    bool IsPaused() const override;

private:
    std::vector<CxEvent*> m_events;
    PimChannelId m_channel;
};
