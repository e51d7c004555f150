#pragma once
// The tracking allocator. Every engine allocation names the source file and line
// that asked for it, is rounded up to a multiple of 8 bytes, and on failure asks
// the memory cache (registered by the file layer) to make room before trying again.

#include "PIM/core/PimDefs.h"

#include <new>
#include <utility>

// Tries the failed allocation again; true once it has succeeded.
using PimAllocationRetry = bool (*)(void* context);
// Called when an allocation fails, to free cached data for at least
// `bytesWanted` bytes. Memory may be fragmented, so freeing that much need
// not be enough: the purge frees in rounds and calls `retry` after each
// round that freed something, until it answers true or nothing is left to
// free. The allocator tries once more itself after the purge returns. The
// file layer registers the memory cache's purge here.
using PimMemoryPurge = void (*)(size_t bytesWanted, PimAllocationRetry retry, void* context);

// Test hook: returns true to make this allocation attempt fail.
using PimAllocationFailHook = bool (*)(size_t size);

struct ST_MEMORY_STATS
{
    uint64_t allocations = 0;   // blocks handed out by Allocate
    uint64_t failures = 0;      // Allocate calls that returned null
    uint64_t purges = 0;        // times the purge callback was asked for room
    uint64_t bytesRequested = 0; // rounded sizes of the blocks handed out
};

// Rounds `size` up to a multiple of 8. Returns false (and leaves `out` alone)
// when the rounded size would not fit in size_t.
bool RoundAllocationSize(size_t size, size_t& out);

void* Allocate(size_t size, const char* sourceFile, int line, bool zero);
// The same, without reporting a failure: for callers that report it
// themselves with a message of their own (one failure counts once).
void* AllocateQuietly(size_t size, const char* sourceFile, int line, bool zero);
void* Reallocate(void* block, size_t size);
void Free(void* block);

// The memory services: the "PimMem" mutex that guards the cache purge exists
// between these two calls (the application starts them while it starts up).
void InitMemoryServices();
void ExitMemoryServices();

void SetMemoryPurge(PimMemoryPurge purge);
void SetAllocationFailHook(PimAllocationFailHook hook);
ST_MEMORY_STATS GetMemoryStats();
void ResetMemoryStats();

#define PIM_ALLOC(size) Allocate((size), __FILE__, __LINE__, false)
#define PIM_ALLOC_ZERO(size) Allocate((size), __FILE__, __LINE__, true)

// Constructs a T in tracked memory; null when the memory could not be had.
template <class T, class... Args>
T* PimNew(const char* sourceFile, int line, Args&&... args) noexcept
{
    void* block = Allocate(sizeof(T), sourceFile, line, false);
    if (!block)
        return nullptr;
    return ::new (block) T(std::forward<Args>(args)...);
}

template <class T>
void PimDelete(T* object) noexcept
{
    if (object) {
        object->~T();
        Free(object);
    }
}
