#pragma once
// Base of the objects that want a call on every main-loop iteration for as
// long as they live. Hooks enter one global list when constructed and leave
// it when destroyed; the list, and the single main-loop callback that walks
// it, exist only while at least one hook does.
//
// A hook may destroy itself or any other hook from inside OnMainLoop, and may
// create new ones (those are reached by the pass that is running). The walk
// survives even the list itself going away under it when the last hook does.

#include "PIM/core/CxObject.h"

class CxMainLoopHook : public CxObject
{
public:
    CxMainLoopHook();
    ~CxMainLoopHook() override;

    // The list knows a hook by its address.
    CxMainLoopHook(const CxMainLoopHook&) = delete;
    CxMainLoopHook& operator=(const CxMainLoopHook&) = delete;

    // Called once per main-loop iteration, in the order the hooks were made.
    virtual void OnMainLoop() = 0;

    // False when memory ran out while entering the list: the hook then gets
    // no calls, and its owner should treat it as not made.
    bool IsHooked() const { return m_hooked; }

    static size_t GetHookCount();

private:
    bool m_hooked = false;
};
