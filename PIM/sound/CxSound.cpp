#include "PIM/sound/CxSound.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxFile.h"
#include "PIM/sound/PimSound.h"

#include <algorithm>
#include <cstring>

CxSound::CxSound() : m_serial(NextSoundSerial())
{
    SetCachedData(reinterpret_cast<void**>(&m_data), &m_size);
    RegisterSound(this);
}

CxSound::~CxSound()
{
    // The subclass has stopped its sample already (its part is gone by now);
    // what is left is the data and the lists.
    RemoveFromQueues(this);
    UnlockData();
    if (!m_borrowed && m_data)
        Free(m_data);
    m_data = nullptr;
    m_size = 0;
    UnregisterSound(this);
}

void CxSound::SetVolume(int volume)
{
    volume = std::clamp(volume, 0, PIM_SOUND_MAX_VOLUME);
    m_state = (m_state & ~PIM_SOUND_VOLUME_MASK) | static_cast<uint32_t>(volume);
}

void CxSound::LockData()
{
    if (!m_dataLocked) {
        Lock();
        m_dataLocked = true;
    }
}

void CxSound::UnlockData()
{
    if (m_dataLocked) {
        Unlock();
        m_dataLocked = false;
    }
}

void CxSound::AdoptData(uint8_t* data, size_t size)
{
    m_data = data;
    m_size = data ? size : 0;
    m_borrowed = false;
    // Owned blocks may be swapped out by the cache; borrowed ones never.
    SetCachedData(reinterpret_cast<void**>(&m_data), &m_size);
    OnDataChanged();
}

void CxSound::StartSample()
{
    LockData();
    PlayNow();
    m_state |= PIM_SOUND_STARTED | PIM_SOUND_PLAYED;
}

bool CxSound::RunCallback()
{
    if (!m_callback)
        return true;
    const uint64_t serial = m_serial;
    m_callback(0, this);
    return IsSoundAlive(this, serial);
}

int CxSound::Play()
{
    if (!IsSoundStarted() || GetError() != PIM_OK)
        return GetError();
    Stop();
    m_loopsLeft = m_loopCount - 1;

    if (m_flags & PIM_SOUND_QUEUED) {
        const int queue = ChooseQueue(m_queue);
        // A number that names no queue made plays the sound at once.
        if (queue >= 0) {
            m_queue = queue;
            AddToQueue(queue, this);
            m_state |= PIM_SOUND_WAITING;
            Update();
            return GetError();
        }
    }

    const bool exclusive = (m_flags & PIM_SOUND_EXCLUSIVE) != 0;
    const int group = m_group;
    if (exclusive)
        PauseGroup(group);
    StartSample();

    if (exclusive || (m_flags & PIM_SOUND_WAIT)) {
        // A sound the mixer loops for ever would never be done: the wait is
        // bounded by what the sample says it lasts (one pass of such a loop).
        const uint64_t serial = m_serial;
        for (int steps = 0; !IsDone(); ++steps) {
            WaitForSoundStep();
            if (!IsSoundAlive(this, serial))
                return PIM_OK;
            if (MaxWaitSteps() > 0 && steps >= MaxWaitSteps())
                break;
        }
        Stop();
        // The callback may delete the sound: nothing of it is touched after.
        const int code = GetError();
        RunCallback();
        if (exclusive)
            ResumeGroup(group);
        return code;
    }
    return GetError();
}

void CxSound::Stop()
{
    if (m_state & PIM_SOUND_STARTED)
        StopNow();
    UnlockData();
    RemoveFromQueues(this);
    m_state &= ~(PIM_SOUND_WAITING | PIM_SOUND_STARTED | PIM_SOUND_PAUSED);
}

void CxSound::Pause()
{
    if (IsStarted() && !IsPaused()) {
        PauseNow();
        m_state |= PIM_SOUND_PAUSED;
    }
}

void CxSound::Resume()
{
    if (IsPaused()) {
        ResumeNow();
        m_state &= ~PIM_SOUND_PAUSED;
    }
}

int CxSound::Load(const char* fileName)
{
    Unload();
    ClearError();
    CxFile file;
    if (!fileName || file.Open(fileName) != PIM_OK)
        return SetError(PIM_ERR_OPEN, "Could not open sound file: %s", fileName ? fileName : "");
    const int64_t size = file.Size();
    if (size <= 0 || static_cast<uint64_t>(size) > SIZE_MAX / 2)
        return SetError(PIM_ERR_READ, "Error reading soundbuffer from %s", fileName);
    auto* data = static_cast<uint8_t*>(PIM_ALLOC(static_cast<size_t>(size)));
    if (!data)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate buffer for sound");
    size_t read = 0;
    if (file.Read(data, static_cast<size_t>(size), &read) != PIM_OK || read != static_cast<size_t>(size)) {
        Free(data);
        return SetError(PIM_ERR_READ, "Error reading soundbuffer from %s", fileName);
    }
    AdoptData(data, static_cast<size_t>(size));
    m_name = fileName;
    // A sound loaded again from another kind of file must not keep the old kind.
    m_flags &= ~(PIM_SOUND_MP3 | PIM_SOUND_RAW);
    if (PimStrStrNoCase(fileName, ".MP3"))
        m_flags |= PIM_SOUND_MP3;
    else if (PimStrStrNoCase(fileName, ".RAW"))
        m_flags |= PIM_SOUND_RAW;
    m_state &= ~PIM_SOUND_PLAYED;
    return PIM_OK;
}

int CxSound::LoadFromMemory(const void* bytes, size_t size, bool borrow)
{
    Unload();
    ClearError();
    if (!bytes || size == 0)
        return PIM_OK;
    if (borrow) {
        // Not ours to free or to swap out.
        m_data = static_cast<uint8_t*>(const_cast<void*>(bytes));
        m_size = size;
        m_borrowed = true;
        SetCachedData(nullptr, nullptr);
        OnDataChanged();
        return PIM_OK;
    }
    auto* data = static_cast<uint8_t*>(PIM_ALLOC(size));
    if (!data)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate buffer for sound");
    std::memcpy(data, bytes, size);
    AdoptData(data, size);
    return PIM_OK;
}

void CxSound::Unload()
{
    Stop();
    if (!m_borrowed && m_data)
        Free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_borrowed = false;
    SetCachedData(reinterpret_cast<void**>(&m_data), &m_size);
    OnDataChanged();
}

void CxSound::Update()
{
    if (IsPaused())
        return;
    if (IsStarted()) {
        if (!IsDone())
            return;
        const bool wasQueued = IsQueued();
        Stop();
        if (!RunCallback())
            return;
        if (m_flags & PIM_SOUND_MIXER_LOOPS)
            return;
        if (m_loopsLeft > 0) {
            --m_loopsLeft;
            // A queued sound keeps the head of its queue for all its passes:
            // the next one must not start under it.
            if (wasQueued && m_queue >= 0) {
                AddToQueueFront(m_queue, this);
                m_state |= PIM_SOUND_WAITING;
            }
            StartSample();
        }
        return;
    }
    if (IsQueued() && IsOldestInQueue(this))
        StartSample();
}
