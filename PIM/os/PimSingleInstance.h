#pragma once
// Keeps a second copy of the game from running: the first copy holds an
// advisory lock on "<runtime folder>/<application name>.lock" (the runtime
// folder being $XDG_RUNTIME_DIR, else /tmp) for as long as it lives.
//
// The lock belongs to the open file, not to the process, so the kernel
// drops it when the process ends in any way, and a crashed copy never blocks
// the next start. The file itself stays: removing it on exit would let a
// third copy lock a new file while a second still waits on the old one.
//
// Tests and tools that may run side by side simply do not acquire it.

#include "PIM/core/CxString.h"

class CxSingleInstance
{
public:
    CxSingleInstance() = default;
    ~CxSingleInstance();
    CxSingleInstance(const CxSingleInstance&) = delete;
    CxSingleInstance& operator=(const CxSingleInstance&) = delete;

    // True when no other copy holds the lock for `appName` (this object then
    // holds it until Release or destruction). False when another copy holds
    // it. When the lock file cannot be opened at all (a folder not writable,
    // no name) nothing can be told, and the answer is true without holding
    // anything: refusing to start over that would lock the user out.
    bool Acquire(const char* appName);
    void Release();

    bool IsHeld() const { return m_fd >= 0; }
    // The lock file of the last Acquire ("" before one).
    const char* GetLockPath() const { return m_path.GetText(); }

private:
    int m_fd = -1;
    CxString m_path;
};
