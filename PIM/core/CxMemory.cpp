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

struct ST_RETRY
{
    size_t size = 0;
    bool zero = false;
    void* block = nullptr;
};

bool RetryAllocation(void* context)
{
    auto* retry = static_cast<ST_RETRY*>(context);
    if (!retry->block)
        retry->block = TryAllocate(retry->size, retry->zero);
    return retry->block != nullptr;
}

// Asks the memory cache for room, under the "PimMem" mutex when it exists,
// and retries the allocation between its rounds. The block, or null.
void* PurgeAndRetry(size_t size, bool zero)
{
    ST_RETRY retry;
    retry.size = size;
    retry.zero = zero;
    if (PimMemoryPurge purge = g_purge.load()) {
        CxMutex& mutex = MemoryMutex();
        const bool guarded = mutex.IsCreated();
        if (!guarded || mutex.Lock(PIM_INFINITE)) {
            ++g_purges;
            const size_t wanted = size > SIZE_MAX - 1024 ? SIZE_MAX : size + 1024;
            purge(wanted, &RetryAllocation, &retry);
            if (guarded)
                mutex.Unlock();
        }
    }
    RetryAllocation(&retry);
    return retry.block;
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
        block = TryAllocate(rounded, zero);
        if (!block)
            block = PurgeAndRetry(rounded, zero);
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
