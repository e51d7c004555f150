#include "PIM/core/CxMainLoopHook.h"

#include "PIM/core/CxDynamicArray.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimMainLoop.h"

namespace {

using HookList = CxDynamicArray<CxMainLoopHook*>;

// Null while no hook exists, so a program without hooks pays nothing per frame.
HookList* g_hooks = nullptr;

void RunHooks()
{
    if (!g_hooks)
        return;
    // When the last hook goes during the walk, the list is destroyed with the
    // walk still registered on it; the list cuts the walk loose first, and
    // Next() then simply finds nothing.
    CxDynamicArrayIterator<CxMainLoopHook*> walk(*g_hooks);
    for (CxMainLoopHook** entry = walk.First(); entry; entry = walk.Next())
        (*entry)->OnMainLoop();
}

void DestroyListIfEmpty()
{
    if (!g_hooks || !g_hooks->IsEmpty())
        return;
    RemoveMainLoopCallback(RunHooks);
    HookList* list = g_hooks;
    g_hooks = nullptr;
    PimDelete(list);
}

} // namespace

CxMainLoopHook::CxMainLoopHook()
{
    if (!g_hooks) {
        g_hooks = PimNew<HookList>(__FILE__, __LINE__);
        if (!g_hooks)
            return;
    }
    if (!g_hooks->Append(this)) {
        DestroyListIfEmpty();
        return;
    }
    // Asked of every new hook, not just the first: the callback may have been
    // dropped (by ResetMainLoopCallbacks, or memory running out last time),
    // and adding one already present costs only a look-up.
    if (!AddMainLoopCallback(RunHooks)) {
        g_hooks->Remove(this);
        DestroyListIfEmpty();
        return;
    }
    m_hooked = true;
}

CxMainLoopHook::~CxMainLoopHook()
{
    if (!m_hooked || !g_hooks)
        return;
    g_hooks->Remove(this);
    DestroyListIfEmpty();
}

size_t CxMainLoopHook::GetHookCount()
{
    return g_hooks ? g_hooks->GetCount() : 0;
}
