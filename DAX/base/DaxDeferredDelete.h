#pragma once
// Deleting what Lua may destroy from inside its own handler. A button whose
// click text reloads its room, a sprite killed by the sequence it plays: the
// handler is still running on the object when the script asks for it to go.
// Such objects are handed here and deleted after the handler has returned:
// at the next main-loop pass of the application's CDaxDeferredFlush, or
// when DaxFlushDeferred is called.

#include "PIM/core/CxCleaner.h"
#include "PIM/core/CxMainLoopHook.h"

namespace DaxDeferredInternal {
CxCleaner& Cleaner();
}

// Takes ownership of `object` (made with new; null is ignored). When memory
// for the entry runs out it is deleted at once, as CxCleaner does.
template <class T>
void DaxDeleteLater(T* object)
{
    DaxDeferredInternal::Cleaner().Add(object);
}

// Deletes everything waiting now.
void DaxFlushDeferred();
// Objects waiting.
size_t DaxDeferredCount();

// The main-loop hook that deletes what waits, once a pass; the application
// owns one for as long as it runs, and flushes what is left when it goes.
class CDaxDeferredFlush : public CxMainLoopHook
{
public:
    CDaxDeferredFlush() = default;
    ~CDaxDeferredFlush() override { DaxFlushDeferred(); }
    void OnMainLoop() override { DaxFlushDeferred(); }
};
