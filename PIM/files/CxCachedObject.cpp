#include "PIM/files/CxCachedObject.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/PimTempFolder.h"
#include "PIM/os/PimOsFiles.h"

#include <atomic>
#include <cstdio>

namespace {

struct CacheState
{
    CxCachedObject* first = nullptr;
    size_t count = 0;
    // Use stamps count down: a larger stamp is a less recent use.
    uint32_t counter = 0xFFFFFFFFu;
    uint32_t threshold = 0xFFFFFFFFu;
    char swapFolder[512] = {};
};

CacheState& State()
{
    static CacheState state;
    return state;
}

std::atomic<bool> g_purging{false};

void PurgeForAllocator(size_t, PimAllocationRetry retry, void* context)
{
    CxCachedObject::PurgeUntil(retry, context);
}

struct ST_ENOUGH
{
    size_t wanted;
    size_t freed;
};

} // namespace

CxCachedObject::CxCachedObject()
{
    CacheState& state = State();
    // The allocator cannot know about the cache; the cache tells it.
    SetMemoryPurge(&PurgeForAllocator);
    m_stamp = state.counter--;
    m_next = state.first;
    if (state.first)
        state.first->m_previous = this;
    state.first = this;
    ++state.count;
}

CxCachedObject::~CxCachedObject()
{
    CacheState& state = State();
    if (m_previous)
        m_previous->m_next = m_next;
    else
        state.first = m_next;
    if (m_next)
        m_next->m_previous = m_previous;
    --state.count;
    if (m_swapFile[0])
        PimOs::Delete(m_swapFile);
}

void CxCachedObject::SetCachedData(void** data, size_t* size)
{
    m_data = data;
    m_size = size;
}

void CxCachedObject::ResetPurgeThreshold()
{
    State().threshold = 0xFFFFFFFFu;
}

size_t CxCachedObject::CountObjects()
{
    return State().count;
}

void CxCachedObject::SetSwapFolder(const char* folder)
{
    PimStrCopy(State().swapFolder, folder, sizeof State().swapFolder);
}

int CxCachedObject::Use()
{
    m_stamp = State().counter--;
    if (m_loaded)
        return 0;
    int code = Reload();
    if (code == 0)
        code = SwapIn();
    if (code == 0)
        m_loaded = true;
    return code;
}

bool CxCachedObject::SwapOut()
{
    if (!m_data || !m_size || !*m_data) {
        m_loaded = false; // nothing in memory to keep
        return true;
    }
    const char* folder = State().swapFolder[0] ? State().swapFolder : PimTempFolder();
    if (!folder)
        return false;
    std::snprintf(m_swapFile, sizeof m_swapFile, "%s%c%08lx_%08lx.tmp", folder, '/',
                  static_cast<unsigned long>(PimGetTicks()),
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(*m_data) & 0xFFFFFFFFu));
    FILE* stream = PimOs::Open(m_swapFile, "wb");
    bool written = stream && PimOs::Write(stream, *m_data, *m_size, m_swapFile) == *m_size;
    if (stream && PimOs::Close(stream) != 0)
        written = false;
    if (!written) {
        // Freeing data we could not save would lose it for good.
        PimOs::Delete(m_swapFile);
        m_swapFile[0] = '\0';
        return false;
    }
    Free(*m_data);
    *m_data = nullptr;
    m_loaded = false;
    return true;
}

int CxCachedObject::SwapIn()
{
    if (!m_swapFile[0] || !m_data || !m_size)
        return 0;
    void* block = *m_data;
    if (!block) {
        block = Allocate(*m_size ? *m_size : 1, __FILE__, __LINE__, false);
        if (!block)
            return PIM_ERR_OUT_OF_MEMORY;
    }
    FILE* stream = PimOs::Open(m_swapFile, "rb");
    bool read = stream && std::fread(block, 1, *m_size, stream) == *m_size;
    if (stream)
        PimOs::Close(stream);
    if (!read) {
        if (block != *m_data)
            Free(block);
        return PIM_ERR_READ;
    }
    *m_data = block;
    PimOs::Delete(m_swapFile);
    m_swapFile[0] = '\0';
    return 0;
}

size_t CxCachedObject::Purge(size_t bytesWanted)
{
    // Done once the rounds have freed what was asked for.
    ST_ENOUGH enough{bytesWanted, 0};
    if (bytesWanted == 0)
        return 0;
    return PurgeRounds([](void* context, size_t freed) {
        auto* e = static_cast<ST_ENOUGH*>(context);
        e->freed = freed;
        return e->freed >= e->wanted;
    }, &enough);
}

size_t CxCachedObject::PurgeUntil(PimAllocationRetry retry, void* context)
{
    struct ST_UNTIL
    {
        PimAllocationRetry retry;
        void* context;
    } until{retry, context};
    return PurgeRounds([](void* c, size_t) {
        auto* u = static_cast<ST_UNTIL*>(c);
        return u->retry && u->retry(u->context);
    }, &until);
}

size_t CxCachedObject::PurgeRounds(bool (*done)(void* context, size_t freed), void* context)
{
    bool expected = false;
    if (!g_purging.compare_exchange_strong(expected, true))
        return 0;
    CacheState& state = State();
    size_t freed = 0;
    // Objects whose swap write failed are left alone for the rest of this purge.
    for (CxCachedObject* o = state.first; o; o = o->m_next)
        o->m_swapFailed = false;
    for (;;) {
        // Halfway from the last threshold towards the present: older uses go first.
        state.threshold = state.counter + (state.threshold - state.counter) / 2;
        bool candidatesLeft = false;
        const size_t before = freed;
        for (CxCachedObject* o = state.first; o; o = o->m_next) {
            if (!o->m_loaded || o->m_locks > 0 || o->m_swapFailed)
                continue;
            if (o->m_stamp < state.threshold) {
                candidatesLeft = true;
                continue;
            }
            const size_t size = o->m_size ? *o->m_size : 0;
            if (o->SwapOut())
                freed += size;
            else
                o->m_swapFailed = true;
        }
        // Every stamp lies above the counter, so once the threshold reaches
        // it a round takes every candidate and the loop ends.
        if ((freed > before && done(context, freed)) || !candidatesLeft)
            break;
    }
    g_purging.store(false);
    return freed;
}
