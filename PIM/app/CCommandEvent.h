#pragma once
// A command for a handler (usually a room), queued like any other event so it
// runs in its place in a sequence: "Barn.OpenDoor(slow)" posted after a sound
// opens the door once the sound is over. Starting it runs the command; it is
// then done at once, as every notice is.

#include "PIM/app/CInfoEvent.h"
#include "PIM/core/CxString.h"

class CCommandEvent : public CInfoEvent
{
public:
    // The handler must outlive the event (a room flushes its channel before
    // it goes). A null handler makes a command that does nothing.
    CCommandEvent(CCommandHandler* handler, const char* name, uint32_t flags = 0);
    ~CCommandEvent() override = default;

    // The event with copies of `args`; null when memory ran out (the
    // allocator has reported it). Made with kDeleteWhenDone by default, since
    // an event made from text has no other owner.
    static CCommandEvent* Create(CCommandHandler* handler, const char* name, const CxEventArgs& args,
                                 uint32_t flags = kDeleteWhenDone);

    // Replaces the arguments by copies: PIM_OK, or PIM_ERR_OUT_OF_MEMORY with
    // the arguments left empty.
    int SetArguments(const CxEventArgs& args);

    // Sets the started bit first, so that a handler looking at its event
    // sees it running, then calls the handler.
    void Start() override;

    const CxString& GetName() const { return m_name; }
    const CxEventArgs& GetArguments() const { return m_args; }
    CCommandHandler* GetHandler() const { return m_handler; }

private:
    CCommandHandler* m_handler;
    CxString m_name;
    CxEventArgs m_args;
};

// The creator a room registers for the category that is its own name: it
// makes a command event for any name but the placeholder "TODO", and only for
// its own category (compared without regard to case), so one creator can
// serve as the extra creator of CreateEventFromText as well.
class CCommandEventCreator : public CxEventCreator
{
public:
    CCommandEventCreator(const char* category, CCommandHandler* handler,
                         uint32_t flags = CxEvent::kDeleteWhenDone);
    ~CCommandEventCreator() override = default;

    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;

    const CxString& GetCategory() const { return m_category; }

private:
    CxString m_category;
    CCommandHandler* m_handler;
    uint32_t m_flags;
};
