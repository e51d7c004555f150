#pragma once
// A command for an object of the display tree that runs commands (a
// scripted sprite, a dialog), queued like any event. The event may wait on
// a channel long after it was made, and its target may be gone by then (a
// room unloaded its sprites, the game took its dialogs down), so it holds
// the target's checked sprite handle rather than its address: a command
// whose target is gone does nothing and is done, as every command is once
// started.

#include "PIM/app/CCommandEvent.h"

class CxSprite;

class CDaxHandleCommandEvent : public CCommandEvent
{
public:
    // `target` runs the command when it is also a CCommandHandler.
    CDaxHandleCommandEvent(CxSprite& target, const char* name, uint32_t flags = kDeleteWhenDone);
    ~CDaxHandleCommandEvent() override = default;

    // With copies of `args`; null when memory ran out.
    static CDaxHandleCommandEvent* Create(CxSprite& target, const char* name, const CxEventArgs& args,
                                          uint32_t flags = kDeleteWhenDone);

    void Start() override;

    uint32_t GetTargetHandle() const { return m_handle; }

protected:
    // `event` (just made, or null) once it holds a handle, its name and its
    // arguments; otherwise it is deleted and null comes back.
    template <class E>
    static E* Completed(E* event, const char* name, const CxEventArgs& args)
    {
        if (event && event->IsComplete(name, args))
            return event;
        delete event;
        return nullptr;
    }

private:
    bool IsComplete(const char* name, const CxEventArgs& args);

    uint32_t m_handle;
};
