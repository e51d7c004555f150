#include "PIM/core/PimMainLoop.h"

#include "PIM/core/CxDynamicArray.h"

namespace {

// Made on first use rather than at load time, so that an object whose
// constructor registers a callback finds the array ready, and the array is
// destroyed only after such an object (a local static is destroyed in the
// reverse order of its completion).
CxDynamicArray<PimMainLoopCallback>& Callbacks()
{
    static CxDynamicArray<PimMainLoopCallback> callbacks;
    return callbacks;
}

} // namespace

bool AddMainLoopCallback(PimMainLoopCallback callback)
{
    return callback && Callbacks().AppendUnique(callback);
}

bool RemoveMainLoopCallback(PimMainLoopCallback callback)
{
    return callback && Callbacks().Remove(callback);
}

bool HasMainLoopCallback(PimMainLoopCallback callback)
{
    return callback && Callbacks().Contains(callback);
}

size_t GetMainLoopCallbackCount()
{
    return Callbacks().GetCount();
}

void RunMainLoopCallbacks()
{
    // The iterator is registered with the array, which moves it back when an
    // entry at or before it goes away: removals from inside a callback neither
    // skip nor repeat anyone.
    CxDynamicArrayIterator<PimMainLoopCallback> walk(Callbacks());
    for (PimMainLoopCallback* entry = walk.First(); entry; entry = walk.Next()) {
        // Copied out first: the callback may remove itself, freeing the entry.
        PimMainLoopCallback callback = *entry;
        callback();
    }
}

void ResetMainLoopCallbacks()
{
    Callbacks().Clear();
}
