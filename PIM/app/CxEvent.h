#pragma once
// Timed behaviour in rooms (play a sound, wait, start an animation, tell the
// room) is a chain of events queued on channels (PimEventChannels.h). The
// dispatcher starts the event at the front of each channel, and once it says
// it is done, tells the listeners and moves on; this header holds the event
// itself and the two small interfaces that make and run events.
//
// Ownership: an event with kDeleteWhenDone belongs to its channel once posted
// and is deleted when it leaves the queue for the last time; any other event
// stays its creator's and is only Reset when done or flushed, so it can be
// posted again. Deleting a posted event takes it off its channel first.

#include "PIM/core/CxArray.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxString.h"

// A channel handle: a small non-zero number, never reused while the program
// runs, so a stale one is refused rather than mistaken for a newer channel.
using PimChannelId = uint32_t;

// The argument strings of an event written as text, in the order written.
using CxEventArgs = CxArray<CxString>;

class CxEvent : public CxObject
{
public:
    // Flags, chosen by whoever makes the event.
    static constexpr uint32_t kDeleteWhenDone = 0x1;
    // Go on with the channel's next event in the same frame.
    static constexpr uint32_t kChainNext = 0x2;

    // State bits, kept by the kinds.
    static constexpr uint32_t kStarted = 0x1;
    static constexpr uint32_t kPaused = 0x2;

    explicit CxEvent(uint32_t flags = 0) : m_flags(flags) {}
    // Queue entries point at the object, so it can be neither copied nor moved.
    CxEvent(const CxEvent&) = delete;
    CxEvent& operator=(const CxEvent&) = delete;
    ~CxEvent() override;

    // Clears the started and paused bits, ready to be posted again.
    virtual void Reset();
    virtual void Start() = 0;
    virtual bool IsStarted() const;
    // Ends a started event early (a flush does this to a running event).
    virtual void Stop();
    virtual bool IsDone() const = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual bool IsPaused() const;
    // Once per completion, before the listeners hear of it.
    virtual void OnDone();
    virtual bool IsRunning() const;
    // Appends the event to `channel` (see Post in PimEventChannels.h).
    virtual int Post(PimChannelId channel);
    // Takes every occurrence of the event off its channel and forgets it.
    virtual void Unpost();

    // 0 while the event is not queued anywhere.
    PimChannelId GetChannel() const { return m_channel; }
    // How many times the event stands in its channel's queue.
    uint32_t GetPostCount() const { return m_postCount; }
    uint32_t GetFlags() const { return m_flags; }
    void SetFlags(uint32_t flags) { m_flags = flags; }
    uint32_t GetState() const { return m_state; }

protected:
    void SetState(uint32_t bits) { m_state |= bits; }
    void ClearState(uint32_t bits) { m_state &= ~bits; }

private:
    // The channel code keeps m_channel and m_postCount in step with the queues.
    friend struct PimChannelBook;

    PimChannelId m_channel = 0;
    uint32_t m_postCount = 0;
    uint32_t m_flags;
    uint32_t m_state = 0;
};

// Runs the commands that command events carry (a room is one).
class CCommandHandler
{
public:
    virtual ~CCommandHandler() = default;
    virtual void OnCommand(const char* name, const CxEventArgs& args) = 0;
};

// Makes the events of one category from their name and arguments; null when
// it has no such event (PimEventCategories.h).
class CxEventCreator
{
public:
    virtual ~CxEventCreator() = default;
    virtual CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) = 0;
};
