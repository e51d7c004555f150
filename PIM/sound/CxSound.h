#pragma once
// A sound effect, voice line or music track: the whole sound file held in
// memory (a cached object the memory cache may swap out while it is not
// playing) with what the game needs on top of plain playback: a volume, loop
// counts, groups that pause while an exclusive sound plays, numbered queues
// that play one sound after another, sounds that delete themselves once
// played, and a completion callback. How the samples reach the speakers is
// the subclass's business (CxWave plays them through the engine's mixer).

#include "PIM/core/CxError.h"
#include "PIM/core/CxString.h"
#include "PIM/files/CxCachedObject.h"

#include <cstddef>
#include <cstdint>

class CxSound;

// Play flags.
enum : uint32_t
{
    PIM_SOUND_QUEUED = 0x1,        // play through a queue
    PIM_SOUND_EXCLUSIVE = 0x2,     // pause the sound's group and wait until it ends
    PIM_SOUND_RELEASE = 0x4,       // release the data when stopped
    PIM_SOUND_AUTO_DELETE = 0x8,   // delete the sound once it has played
    PIM_SOUND_MIXER_LOOPS = 0x10,  // the mixer does the looping (loop count passed to it)
    PIM_SOUND_MP3 = 0x20,          // the data is MP3
    PIM_SOUND_WAIT = 0x40,         // Play waits until the sound ends
    PIM_SOUND_RAW = 0x80,          // raw 16-bit mono samples at 22000 Hz
    PIM_SOUND_HEADER = 0x100,      // a wave format header followed by the samples
};

// State bits, above the volume in the same word.
enum : uint32_t
{
    PIM_SOUND_VOLUME_MASK = 0xFFFF,
    PIM_SOUND_PAUSED = 1u << 16,
    PIM_SOUND_WAITING = 1u << 17, // waiting in a queue
    PIM_SOUND_STARTED = 1u << 18,
    PIM_SOUND_PLAYED = 1u << 19,  // played since it was loaded
};

constexpr int PIM_SOUND_MAX_VOLUME = 127;
constexpr int PIM_SOUND_DEFAULT_VOLUME = 100;

// Called with (0, sound) when the sound finishes. It may delete the sound.
using PimSoundCallback = void (*)(int code, CxSound* sound);

class CxSound : public CxCachedObject, public CxError
{
public:
    CxSound();
    // Stops and unloads the sound, and leaves the list of sounds.
    ~CxSound() override;

    // Starts the sound (or queues it); with PIM_SOUND_EXCLUSIVE or
    // PIM_SOUND_WAIT returns only when it has ended. The sound's error code.
    virtual int Play();
    // Stops the sample, unlocks the data, leaves the queue; clears the
    // waiting, started and paused bits.
    virtual void Stop();
    virtual void Pause();
    virtual void Resume();
    virtual int Load(const char* fileName);
    // With `borrow` the sound plays the caller's bytes, which must outlive
    // it; otherwise it copies them.
    virtual int LoadFromMemory(const void* bytes, size_t size, bool borrow);
    virtual void Unload();
    // One step of the periodic update: ends, replays and starts from queues.
    virtual void Update();

    void SetName(const char* name) { m_name = name ? name : ""; }
    const char* GetName() const { return m_name.GetText(); }
    bool IsQueued() const { return (m_state & PIM_SOUND_WAITING) != 0; }
    bool IsLoaded() const { return m_size != 0; }
    bool IsPaused() const { return (m_state & PIM_SOUND_PAUSED) != 0; }
    bool WasPlayed() const { return (m_state & PIM_SOUND_PLAYED) != 0; }
    bool IsStarted() const { return (m_state & PIM_SOUND_STARTED) != 0; }
    // Not started (a subclass asks its sample).
    virtual bool IsDone() const { return !IsStarted(); }

    // 0..127 (clamped).
    virtual void SetVolume(int volume);
    int GetVolume() const { return static_cast<int>(m_state & PIM_SOUND_VOLUME_MASK); }

    void SetGroup(int group) { m_group = group; }
    int GetGroup() const { return m_group; }
    void SetCallback(PimSoundCallback callback) { m_callback = callback; }
    PimSoundCallback GetCallback() const { return m_callback; }
    void SetPlayFlags(uint32_t flags) { m_flags = flags; }
    void AddPlayFlags(uint32_t flags) { m_flags |= flags; }
    void RemovePlayFlags(uint32_t flags) { m_flags &= ~flags; }
    uint32_t GetPlayFlags() const { return m_flags; }
    // At least 1.
    void SetLoopCount(int count) { m_loopCount = count; }
    int GetLoopCount() const { return m_loopCount; }
    int GetLoopsLeft() const { return m_loopsLeft; }
    // -1 chooses a queue when played.
    void SetQueue(int queue) { m_queue = queue; }
    int GetQueue() const { return m_queue; }
    uint32_t GetState() const { return m_state; }

    const uint8_t* GetData() const { return m_data; }
    size_t GetDataSize() const { return m_size; }
    // A number no other sound of this run has had (the list tells a sound
    // that was deleted from a new one at the same address by it).
    uint64_t GetSerial() const { return m_serial; }

    // The sample itself.
    virtual int PlayNow() = 0;
    virtual void StopNow() = 0;
    virtual void PauseNow() = 0;
    virtual void ResumeNow() = 0;

protected:
    // Takes ownership of a block from the tracking allocator as the data.
    void AdoptData(uint8_t* data, size_t size);
    // The data is kept in memory while it may be played; once per start,
    // undone once by Stop.
    void LockData();
    void UnlockData();
    // Starts the sample and marks the sound started and played.
    void StartSample();
    // Runs the completion callback; false when it deleted this sound.
    bool RunCallback();
    // Called when the data changed: what was made from it is stale.
    virtual void OnDataChanged() {}
    // The most steps of WaitForSoundStep a blocking play waits; 0 for no bound.
    virtual int MaxWaitSteps() const { return 0; }

    CxString m_name;
    int m_group = 0;
    PimSoundCallback m_callback = nullptr;
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_borrowed = false;
    bool m_dataLocked = false;
    uint32_t m_flags = 0;
    int m_loopCount = 1;
    int m_loopsLeft = 0;
    int m_queue = -1;
    uint32_t m_state = PIM_SOUND_DEFAULT_VOLUME;
    uint64_t m_serial = 0;
};
