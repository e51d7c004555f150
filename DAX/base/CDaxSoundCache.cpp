#include "DAX/base/CDaxSoundCache.h"

#include "PIM/core/CxError.h"
#include "PIM/core/Pimstr.h"
#include "PIM/sound/CxWave.h"

#include <algorithm>
#include <new>

namespace DaxSoundCacheInternal {

struct Entry
{
    CxWave wave;
    CxString name;
    uint32_t users = 0;
    // The cache holds one handle of its own on it (GetKeptSound).
    bool kept = false;
    // The cache that lists it; null once flushed or once the cache is gone.
    CDaxSoundCache* cache = nullptr;
};

} // namespace DaxSoundCacheInternal

using DaxSoundCacheInternal::Entry;

// --- the handle ------------------------------------------------------------------------------

CDaxSound::CDaxSound(Entry* entry) : m_entry(entry)
{
    if (m_entry)
        ++m_entry->users;
}

CDaxSound::CDaxSound(const CDaxSound& other) : CDaxSound(other.m_entry) {}

CDaxSound::CDaxSound(CDaxSound&& other) noexcept : m_entry(other.m_entry)
{
    other.m_entry = nullptr;
}

CDaxSound& CDaxSound::operator=(const CDaxSound& other)
{
    if (this != &other) {
        Entry* entry = other.m_entry;
        if (entry)
            ++entry->users; // first, in case this handle held the last user of it
        Reset();
        m_entry = entry;
    }
    return *this;
}

CDaxSound& CDaxSound::operator=(CDaxSound&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_entry = other.m_entry;
        other.m_entry = nullptr;
    }
    return *this;
}

CDaxSound::~CDaxSound()
{
    Reset();
}

CxWave* CDaxSound::Get() const
{
    return m_entry ? &m_entry->wave : nullptr;
}

const char* CDaxSound::GetName() const
{
    return m_entry ? m_entry->name.GetText() : "";
}

void CDaxSound::Reset()
{
    Entry* entry = m_entry;
    m_entry = nullptr;
    if (!entry || --entry->users > 0)
        return;
    // The last user: the wave goes, and the cache forgets it.
    if (entry->cache)
        entry->cache->Forget(entry);
    delete entry;
}

// --- the cache -------------------------------------------------------------------------------

CDaxSoundCache::~CDaxSoundCache()
{
    Flush();
}

Entry* CDaxSoundCache::Find(const char* fileName) const
{
    for (Entry* entry : m_entries)
        if (PimStrEqual(entry->name.GetText(), fileName, true))
            return entry;
    return nullptr;
}

void CDaxSoundCache::Forget(Entry* entry)
{
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), entry), m_entries.end());
    entry->cache = nullptr;
}

CDaxSound CDaxSoundCache::GetSound(const char* fileName)
{
    if (!fileName || !*fileName)
        return CDaxSound();
    if (Entry* cached = Find(fileName))
        return CDaxSound(cached);
    auto* entry = new (std::nothrow) Entry;
    if (!entry) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a sound for %s", fileName);
        return CDaxSound();
    }
    entry->name = fileName;
    entry->wave.Load(fileName);
    entry->cache = this;
    m_entries.push_back(entry);
    return CDaxSound(entry);
}

CDaxSound CDaxSoundCache::GetKeptSound(const char* fileName)
{
    CDaxSound sound = GetSound(fileName);
    if (sound && !sound.m_entry->kept) {
        // One handle per wave: a sound played every frame must not grow the list.
        try {
            m_kept.push_back(sound);
            sound.m_entry->kept = true;
        } catch (const std::bad_alloc&) {
            // Not kept: it is loaded again when next asked for, no more.
        }
    }
    return sound;
}

int CDaxSoundCache::PreLoad(const char* fileName)
{
    CDaxSound sound = GetKeptSound(fileName);
    return sound ? sound->GetError() : PIM_ERR_BAD_ARG;
}

void CDaxSoundCache::Flush()
{
    // Listed first, so that the kept handles letting go find nothing to
    // forget; what is still held elsewhere lives on uncached.
    std::vector<Entry*> entries;
    entries.swap(m_entries);
    for (Entry* entry : entries) {
        entry->cache = nullptr;
        entry->kept = false;
    }
    m_kept.clear();
}

uint32_t CDaxSoundCache::GetUsers(const char* fileName) const
{
    const Entry* entry = Find(fileName);
    return entry ? entry->users : 0;
}
