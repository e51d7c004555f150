#include "PIM/core/CxMemory.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxMutex.h"
#include "PIM/core/CxThread.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

const char kMemoryMutexName[] = "PimMem";

// The allocator is reachable from worker threads, so its state is atomic.
std::atomic<PimMemoryPurge> g_purge{nullptr};
std::atomic<PimAllocationFailHook> g_failHook{nullptr};
std::atomic<uint64_t> g_allocations{0};
std::atomic<uint64_t> g_failures{0};
std::atomic<uint64_t> g_purges{0};
std::atomic<uint64_t> g_bytes{0};

CxMutex& MemoryMutex()
{
    static CxMutex mutex;
    return mutex;
}

void* TryAllocate(size_t size, bool zero)
{
    PimAllocationFailHook hook = g_failHook.load();
    if (hook && hook(size))
        return nullptr;
    void* block = std::malloc(size);
    if (block && zero)
        std::memset(block, 0, size);
    return block;
}

// Asks the memory cache for room, under the "PimMem" mutex when it exists.
void PurgeFor(size_t size)
{
    PimMemoryPurge purge = g_purge.load();
    if (!purge)
        return;
    CxMutex& mutex = MemoryMutex();
    bool guarded = mutex.IsCreated();
    if (guarded && !mutex.Lock(PIM_INFINITE))
        return;
    ++g_purges;
    size_t wanted = size > SIZE_MAX - 1024 ? SIZE_MAX : size + 1024;
    purge(wanted);
    if (guarded)
        mutex.Unlock();
}

} // namespace

bool RoundAllocationSize(size_t size, size_t& out)
{
    if (size > SIZE_MAX - 7)
        return false;
    out = (size + 7) & ~static_cast<size_t>(7);
    return true;
}

namespace {

void* AllocateTracked(size_t size, const char* sourceFile, int line, bool zero, bool report)
{
    size_t rounded = 0;
    void* block = nullptr;
    if (RoundAllocationSize(size, rounded)) {
        if (rounded == 0)
            rounded = 8; // every caller gets a block of its own
        for (int attempt = 0; attempt < 2 && !block; ++attempt) {
            block = TryAllocate(rounded, zero);
            if (!block && attempt == 0)
                PurgeFor(rounded);
        }
    }
    if (!block) {
        ++g_failures;
        // The error box runs on the main thread only.
        if (report && PimIsMainThread())
            ReportError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %zu bytes (%s, line %d)", size,
                        sourceFile ? sourceFile : "?", line);
        return nullptr;
    }
    ++g_allocations;
    g_bytes += rounded;
    return block;
}

} // namespace

void* Allocate(size_t size, const char* sourceFile, int line, bool zero)
{
    return AllocateTracked(size, sourceFile, line, zero, true);
}

void* AllocateQuietly(size_t size, const char* sourceFile, int line, bool zero)
{
    return AllocateTracked(size, sourceFile, line, zero, false);
}

void* Reallocate(void* block, size_t size)
{
    return std::realloc(block, size);
}

void Free(void* block)
{
    std::free(block);
}

void InitMemoryServices()
{
    CxMutex& mutex = MemoryMutex();
    if (!mutex.IsCreated())
        mutex.Create(kMemoryMutexName, false);
}

void ExitMemoryServices()
{
    MemoryMutex().Close();
}

void SetMemoryPurge(PimMemoryPurge purge)
{
    g_purge.store(purge);
}

void SetAllocationFailHook(PimAllocationFailHook hook)
{
    g_failHook.store(hook);
}

ST_MEMORY_STATS GetMemoryStats()
{
    ST_MEMORY_STATS stats;
    stats.allocations = g_allocations.load();
    stats.failures = g_failures.load();
    stats.purges = g_purges.load();
    stats.bytesRequested = g_bytes.load();
    return stats;
}

void ResetMemoryStats()
{
    g_allocations = 0;
    g_failures = 0;
    g_purges = 0;
    g_bytes = 0;
}
