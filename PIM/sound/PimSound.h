#pragma once
// The process-wide sound system: the list of every sound, the numbered
// queues, the mixer and the audio device it plays through, the master volume
// and the periodic update that ends, replays and starts sounds.
//
// The engine's own mixer stands in for the sound library a sound card would
// be driven through: a mixer voice is a sample handle. The device it plays
// through is the application's choice (its back end's); without one, or when
// it cannot be opened, the game runs silently. What is mixed may also be
// recorded to a wave file.

#include "PIM/core/CxError.h"
#include "PIM/sound/CxAudioDevice.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CxMixer;
class CxOptions;
class CxSound;
class CxWave;

constexpr int PIM_SOUND_MAX_QUEUES = 16;

struct ST_SOUND_SETTINGS
{
    int numQueues = 8;
    int frequency = 22050;
    // The mixer always works in 16 bits; other sizes are read and ignored.
    int bitsPerSample = 16;
    int numChannels = 1;
    // Read for the record: plug-in folders, the output API and its fragment
    // count meant something only to the library the mixer replaces.
    std::string redistPath;
    int useDirectSound = 1;
    int mixFragmentCount = 8;
    int masterVolume = 100;
};

// Everything mixed from the next InitSound on is also written to this 16-bit
// wave file (a file layer path), finished at ShutdownSound; empty for none.
void SetSoundRecordFile(const char* path);

// Reads the "Engine.Sound" keys from `config` (null: the defaults), fills
// `settings` when given, makes the queues, registers the update and opens the
// device `makeDevice` makes. PIM_OK, or 13 when there is no device (no maker,
// or it made none) or it could not be opened: the game then runs silently
// (loading and playing waves do nothing).
int InitSound(CxOptions* config, PimAudioDeviceMaker makeDevice, ST_SOUND_SETTINGS* settings = nullptr);
// Deletes the self-deleting sounds, stops the rest, drops the queues, the
// update and the device. The recording, if any, is finished here.
void ShutdownSound();
// PIM_OK, or the error that ended the last recording.
int GetSoundRecordResult();

bool IsSoundStarted();
// A mixer to play through (false after a failed InitSound: silence).
bool IsSoundAvailable();
CxMixer* GetSoundMixer();

// A CxWave loaded from `fileName` that plays once and deletes itself
// (queued on `queue` when `queued`). 1 when the sound could not be made; the
// sound's error when it could not be loaded or played.
int PlaySoundFile(const char* fileName, bool queued, int queue);
void StopQueue(int queue);
void StopAllQueues();
// True for a valid queue number of a started system whose queue is empty.
bool IsQueueEmpty(int queue);
int GetQueueCount();
size_t GetQueueLength(int queue);
void PauseGroup(int group);
void ResumeGroup(int group);
// 0..127; the mixer's master level is volume / 127.
void SetMasterVolume(int volume);
// The mixer's level x 127.99; without a mixer the last value set.
int GetMasterVolume();

// The periodic update now, without waiting for its 100 ms.
void UpdateSounds();
// Every frame: lets the device pump (a headless one mixes the time that
// passed), and runs the update when its time has come (the main-loop
// callback).
void SoundFrame();

// --- for CxSound ----------------------------------------------------------------------------
void RegisterSound(CxSound* sound);
void UnregisterSound(CxSound* sound);
// Still in the list (a callback may have deleted it).
bool IsSoundAlive(const CxSound* sound, uint64_t serial);
size_t GetSoundCount();
uint64_t NextSoundSerial();
// The queue to put a sound on: `queue` when it is a made one, the emptiest
// (highest on ties) for -1; -1 when `queue` names no queue made.
int ChooseQueue(int queue);
void AddToQueue(int queue, CxSound* sound);
// Back at the head (a queued sound replaying its next pass).
void AddToQueueFront(int queue, CxSound* sound);
void RemoveFromQueues(CxSound* sound);
// The sound heads its queue.
bool IsOldestInQueue(const CxSound* sound);
// One step of a blocking wait: time passes (virtual time in headless runs)
// and the device pumps (a headless one mixes it).
void WaitForSoundStep();
