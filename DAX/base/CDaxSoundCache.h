#pragma once
// The game layer's sound cache: one loaded wave per file name (names compare
// without regard to case), shared by every sprite state, sound event and
// talking character that plays it.
//
// A wave is handed out as a CDaxSound, a counted handle: each handle is one
// user, and the wave lives while any handle holds it. Flushing the cache
// forgets every wave, but a wave still held stays alive (and keeps playing)
// until its last handle goes; the next request for that name loads it anew.
// So no flush, reload or exit can free a wave under somebody still using it.
//
// Main thread only.

#include "PIM/core/CxString.h"

#include <cstdint>
#include <vector>

class CxWave;
class CDaxSoundCache;

namespace DaxSoundCacheInternal {
struct Entry;
}

class CDaxSound
{
public:
    CDaxSound() = default;
    CDaxSound(const CDaxSound& other);
    CDaxSound(CDaxSound&& other) noexcept;
    CDaxSound& operator=(const CDaxSound& other);
    CDaxSound& operator=(CDaxSound&& other) noexcept;
    ~CDaxSound();

    // The wave, or null for an empty handle.
    CxWave* Get() const;
    CxWave* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    // The file name it was loaded from ("" for an empty handle).
    const char* GetName() const;
    // Lets go of the wave (the handle becomes empty).
    void Reset();

private:
    friend class CDaxSoundCache;
    explicit CDaxSound(DaxSoundCacheInternal::Entry* entry);

    DaxSoundCacheInternal::Entry* m_entry = nullptr;
};

class CDaxSoundCache
{
public:
    CDaxSoundCache() = default;
    // Forgets every wave; the ones still held live on with their handles.
    ~CDaxSoundCache();
    CDaxSoundCache(const CDaxSoundCache&) = delete;
    CDaxSoundCache& operator=(const CDaxSoundCache&) = delete;

    // The cached wave of that name, one more user; else a new wave loaded
    // from the file (the loader reports a file it cannot read, and the wave
    // then plays nothing). An empty handle for an empty name, or when memory
    // ran out.
    CDaxSound GetSound(const char* fileName);
    // GetSound, and the cache keeps a handle of its own on the wave (one
    // per wave, however often it is asked), so it stays loaded while nobody
    // else holds it, until the next Flush.
    CDaxSound GetKeptSound(const char* fileName);
    // GetKeptSound without a handle for the caller: the wave's load code,
    // PIM_ERR_BAD_ARG for an empty name.
    int PreLoad(const char* fileName);
    // Forgets every wave (see above).
    void Flush();

    size_t GetCount() const { return m_entries.size(); }
    // The cache's own handles (one per kept wave).
    size_t GetKeptCount() const { return m_kept.size(); }
    // Handles alive for the cached wave of that name (0 when not cached).
    uint32_t GetUsers(const char* fileName) const;

private:
    friend class CDaxSound;
    DaxSoundCacheInternal::Entry* Find(const char* fileName) const;
    void Forget(DaxSoundCacheInternal::Entry* entry);

    std::vector<DaxSoundCacheInternal::Entry*> m_entries;
    std::vector<CDaxSound> m_kept;
};
