#pragma once
// The memory cache. Objects whose data can be dropped from memory and brought
// back (pictures, sounds) derive from CxCachedObject and tell it where their
// data pointer and size live. When the tracking allocator runs out of memory
// it asks the cache for room: the least recently used objects that are not
// locked write their data to a swap file and free it. The next Use() of such
// an object reloads it and reads its data back.

#include "PIM/core/CxMemory.h"
#include "PIM/core/CxObject.h"


class CxCachedObject : public CxObject
{
public:
    CxCachedObject();
    ~CxCachedObject() override;
    CxCachedObject(const CxCachedObject&) = delete;
    CxCachedObject& operator=(const CxCachedObject&) = delete;

    // Where the object keeps its data block (from the tracking allocator) and
    // its size in bytes.
    void SetCachedData(void** data, size_t* size);

    // Marks the object used now; an unloaded object is reloaded first.
    // Returns 0, or the code of the reload.
    int Use();
    // A locked object is never swapped out.
    void Lock() { ++m_locks; }
    void Unlock()
    {
        if (m_locks > 0)
            --m_locks;
    }

    bool IsLoaded() const { return m_loaded; }
    bool IsLocked() const { return m_locks > 0; }
    uint32_t GetStamp() const { return m_stamp; }
    // Empty while the data is in memory.
    const char* GetSwapFile() const { return m_swapFile; }

    // Frees at least `bytesWanted` when it can. Never re-entered (0 then).
    // Returns the bytes freed.
    static size_t Purge(size_t bytesWanted);
    // The allocator's purge: in rounds, each lowering the threshold halfway
    // towards the present and swapping out every loaded, unlocked object
    // used at or before it; after each round that freed something `retry`
    // is called, and the purge ends when it answers true or no loaded,
    // unlocked object is left. Returns the bytes freed.
    static size_t PurgeUntil(PimAllocationRetry retry, void* context);
    // Where swap files go; empty: the run's private temporary folder.
    static void SetSwapFolder(const char* folder);
    static size_t CountObjects();
    // The purge threshold back at its start, as if no purge had run (tests).
    static void ResetPurgeThreshold();

private:
    // The rounds both purges share; `done` is asked after each round that
    // freed something, with the total freed so far.
    static size_t PurgeRounds(bool (*done)(void* context, size_t freed), void* context);

protected:
    // Rebuilds whatever the object needs besides its data (called by Use on
    // an unloaded object, before the data is read back).
    virtual int Reload() { return 0; }

private:
    // Writes the data out and frees it; false (still loaded) when the swap
    // file could not be written.
    bool SwapOut();
    int SwapIn();

    void** m_data = nullptr;
    size_t* m_size = nullptr;
    uint32_t m_stamp = 0;
    int m_locks = 0;
    bool m_loaded = true;
    bool m_swapFailed = false;
    // A fixed buffer: it is filled while memory has run out.
    char m_swapFile[512] = {};
    CxCachedObject* m_next = nullptr;
    CxCachedObject* m_previous = nullptr;
};
