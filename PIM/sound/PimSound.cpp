#include "PIM/sound/PimSound.h"

#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/files/CxOptions.h"
#include "PIM/os/PimSystemClock.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/CxSound.h"
#include "PIM/sound/CxSoundRecorder.h"
#include "PIM/sound/CxWave.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kUpdateMilliseconds = 100;
constexpr uint32_t kWaitStepMilliseconds = 10;
// A walk that keeps being restarted by sounds made and deleted under it ends
// here rather than spin: the next update goes on.
constexpr int kMaxWalkRestarts = 1000;

struct SoundSystem
{
    std::vector<CxSound*> sounds;
    // Changes whenever a sound joins or leaves the list.
    uint64_t generation = 0;
    uint64_t nextSerial = 1;
    std::deque<CxSound*> queues[PIM_SOUND_MAX_QUEUES];
    int queueCount = 0;
    bool started = false;
    std::unique_ptr<CxMixer> mixer;
    std::unique_ptr<CxAudioDevice> device;
    std::unique_ptr<CxSoundRecorder> recorder;
    int masterVolume = 100;
    uint32_t lastUpdate = 0;
    bool updating = false;
    std::string recordFile;
    int recordResult = PIM_OK;
};

SoundSystem& State()
{
    static SoundSystem state;
    return state;
}

// The sounds as they are now, with their serials: callbacks and deletions
// change the list under a walk.
struct ST_SOUND_REF
{
    CxSound* sound;
    uint64_t serial;
};

std::vector<ST_SOUND_REF> Snapshot()
{
    std::vector<ST_SOUND_REF> refs;
    refs.reserve(State().sounds.size());
    for (CxSound* sound : State().sounds)
        refs.push_back({sound, sound->GetSerial()});
    return refs;
}

bool ValidQueue(int queue)
{
    return queue >= 0 && queue < State().queueCount;
}

void ApplyMasterVolume()
{
    SoundSystem& s = State();
    if (s.mixer)
        s.mixer->SetMasterLevel(static_cast<float>(s.masterVolume) / PIM_SOUND_MAX_VOLUME);
}

} // namespace

void SetSoundRecordFile(const char* path)
{
    State().recordFile = path ? path : "";
}

int InitSound(CxOptions* config, PimAudioDeviceMaker makeDevice, ST_SOUND_SETTINGS* out)
{
    if (State().started)
        ShutdownSound();
    SoundSystem& s = State();
    ST_SOUND_SETTINGS settings;
    if (config) {
        settings.numQueues = config->GetInt("Engine.Sound", "NumQueues", settings.numQueues);
        settings.frequency = config->GetInt("Engine.Sound", "Frequency", settings.frequency);
        settings.bitsPerSample = config->GetInt("Engine.Sound", "BitsPerSample", settings.bitsPerSample);
        settings.numChannels = config->GetInt("Engine.Sound", "NumChannels", settings.numChannels);
        char path[257];
        config->GetString("Engine.Sound.MSS", "RedistPath", path, "", sizeof path);
        settings.redistPath = path;
        settings.useDirectSound = config->GetInt("Engine", "UseDirectSound", settings.useDirectSound);
        settings.mixFragmentCount = config->GetInt("Engine.Sound", "MixFragmentCount", settings.mixFragmentCount);
        settings.masterVolume = config->GetInt("Engine.Sound", "MasterVolume", settings.masterVolume);
    }
    if (out)
        *out = settings;

    s.queueCount = std::clamp(settings.numQueues, 0, PIM_SOUND_MAX_QUEUES);
    for (auto& queue : s.queues)
        queue.clear();
    AddMainLoopCallback(&SoundFrame);
    s.started = true;
    s.lastUpdate = PimGetTicks();

    // Any rate a sound card might take; one or two channels.
    const auto rate = static_cast<uint32_t>(std::clamp(settings.frequency, 4000, 192000));
    const auto channels = static_cast<uint16_t>(settings.numChannels >= 2 ? 2 : 1);
    auto mixer = std::make_unique<CxMixer>(rate, channels);
    std::unique_ptr<CxAudioDevice> device = makeDevice ? makeDevice() : nullptr;
    int code = PIM_ERR_UNKNOWN;
    if (device)
        code = device->Open(rate, channels, &CxMixer::Pull, mixer.get());
    if (code != PIM_OK) {
        // The device has said why; the game plays silently.
        s.masterVolume = std::clamp(settings.masterVolume, 0, PIM_SOUND_MAX_VOLUME);
        return PIM_ERR_UNKNOWN;
    }
    if (!s.recordFile.empty()) {
        // Listens from before the first pull: the file holds every frame the
        // device was given. A file that cannot be made is reported, and the
        // game plays unrecorded.
        auto recorder = std::make_unique<CxSoundRecorder>();
        if (recorder->Open(s.recordFile.c_str(), rate, channels) == PIM_OK)
            mixer->SetOutputTap(&CxSoundRecorder::Tap, recorder.get());
        s.recorder = std::move(recorder);
    }
    s.mixer = std::move(mixer);
    s.device = std::move(device);
    SetMasterVolume(settings.masterVolume);
    return PIM_OK;
}

void ShutdownSound()
{
    SoundSystem& s = State();
    if (!s.started)
        return;
    for (const ST_SOUND_REF& ref : Snapshot())
        if (IsSoundAlive(ref.sound, ref.serial) && (ref.sound->GetPlayFlags() & PIM_SOUND_AUTO_DELETE))
            delete ref.sound;
    // The others belong to somebody; they let go of their voices now, while
    // the mixer is still there.
    for (const ST_SOUND_REF& ref : Snapshot())
        if (IsSoundAlive(ref.sound, ref.serial))
            ref.sound->Stop();
    for (auto& queue : s.queues)
        queue.clear();
    s.queueCount = 0;
    RemoveMainLoopCallback(&SoundFrame);
    s.sounds.clear();
    ++s.generation;
    if (s.device) {
        // No pull runs after Close: the recording has heard everything.
        s.device->Close();
        s.mixer->SetOutputTap(nullptr, nullptr);
        s.recordResult = s.recorder ? s.recorder->Close() : PIM_OK;
    }
    s.recorder.reset();
    s.device.reset();
    s.mixer.reset();
    s.started = false;
}

int GetSoundRecordResult()
{
    return State().recordResult;
}

bool IsSoundStarted()
{
    return State().started;
}

bool IsSoundAvailable()
{
    return State().mixer != nullptr;
}

CxMixer* GetSoundMixer()
{
    return State().mixer.get();
}

int PlaySoundFile(const char* fileName, bool queued, int queue)
{
    auto* wave = new CxWave;
    if (!wave)
        return PIM_ERR_OUT_OF_MEMORY;
    const uint64_t serial = wave->GetSerial();
    int code = wave->Load(fileName);
    if (code == PIM_OK) {
        wave->AddPlayFlags(PIM_SOUND_RELEASE | PIM_SOUND_AUTO_DELETE | (queued ? uint32_t{PIM_SOUND_QUEUED} : 0u));
        wave->SetQueue(queue);
        code = wave->Play();
    }
    // A sound that never got to play would wait for ever to be deleted.
    if (IsSoundAlive(wave, serial) && !wave->IsStarted() && !wave->IsQueued())
        delete wave;
    return code;
}

void StopQueue(int queue)
{
    for (const ST_SOUND_REF& ref : Snapshot()) {
        if (!IsSoundAlive(ref.sound, ref.serial) || ref.sound->GetQueue() != queue)
            continue;
        const bool played = ref.sound->WasPlayed();
        ref.sound->Stop();
        // Dropped before it ever played, a self-deleting sound is gone now.
        if (!played && (ref.sound->GetPlayFlags() & PIM_SOUND_AUTO_DELETE))
            delete ref.sound;
    }
}

void StopAllQueues()
{
    for (int queue = 0; queue < PIM_SOUND_MAX_QUEUES; ++queue)
        StopQueue(queue);
}

bool IsQueueEmpty(int queue)
{
    if (!State().started || queue < 0 || queue >= PIM_SOUND_MAX_QUEUES)
        return false;
    return !ValidQueue(queue) || State().queues[queue].empty();
}

int GetQueueCount()
{
    return State().queueCount;
}

size_t GetQueueLength(int queue)
{
    return ValidQueue(queue) ? State().queues[queue].size() : 0;
}

void PauseGroup(int group)
{
    for (const ST_SOUND_REF& ref : Snapshot())
        if (IsSoundAlive(ref.sound, ref.serial) && ref.sound->GetGroup() == group)
            ref.sound->Pause();
}

void ResumeGroup(int group)
{
    for (const ST_SOUND_REF& ref : Snapshot())
        if (IsSoundAlive(ref.sound, ref.serial) && ref.sound->GetGroup() == group)
            ref.sound->Resume();
}

void SetMasterVolume(int volume)
{
    State().masterVolume = std::clamp(volume, 0, PIM_SOUND_MAX_VOLUME);
    ApplyMasterVolume();
}

int GetMasterVolume()
{
    // Without a mixer the value set is kept: the player's choice is saved at
    // exit whether or not there was sound.
    if (const CxMixer* mixer = State().mixer.get())
        return static_cast<int>(mixer->GetMasterLevel() * 127.99f);
    return State().masterVolume;
}

void UpdateSounds()
{
    SoundSystem& s = State();
    if (s.updating || !s.started)
        return;
    s.updating = true;
    int restarts = 0;
    size_t i = 0;
    while (i < s.sounds.size()) {
        const uint64_t generation = s.generation;
        CxSound* sound = s.sounds[i];
        const uint64_t serial = sound->GetSerial();
        sound->Update();
        if (IsSoundAlive(sound, serial) && sound->WasPlayed() && sound->IsDone() && !sound->IsQueued() &&
            (sound->GetPlayFlags() & PIM_SOUND_AUTO_DELETE))
            delete sound;
        if (s.generation != generation) {
            // Sounds joined or left under the walk: from the head again.
            if (++restarts > kMaxWalkRestarts)
                break;
            i = 0;
            continue;
        }
        ++i;
    }
    s.updating = false;
}

void SoundFrame()
{
    SoundSystem& s = State();
    if (s.device)
        s.device->Pump();
    const uint32_t now = PimGetTicks();
    if (now - s.lastUpdate > kUpdateMilliseconds) {
        s.lastUpdate = now;
        UpdateSounds();
    }
}

void RegisterSound(CxSound* sound)
{
    State().sounds.push_back(sound);
    ++State().generation;
}

void UnregisterSound(CxSound* sound)
{
    auto& sounds = State().sounds;
    auto it = std::find(sounds.begin(), sounds.end(), sound);
    if (it != sounds.end()) {
        sounds.erase(it);
        ++State().generation;
    }
    RemoveFromQueues(sound);
}

bool IsSoundAlive(const CxSound* sound, uint64_t serial)
{
    for (const CxSound* s : State().sounds)
        if (s == sound)
            return s->GetSerial() == serial;
    return false;
}

size_t GetSoundCount()
{
    return State().sounds.size();
}

uint64_t NextSoundSerial()
{
    return State().nextSerial++;
}

int ChooseQueue(int queue)
{
    SoundSystem& s = State();
    if (queue != -1)
        return ValidQueue(queue) ? queue : -1;
    int best = -1;
    for (int q = 0; q < s.queueCount; ++q)
        if (best < 0 || s.queues[q].size() <= s.queues[best].size())
            best = q;
    return best;
}

void AddToQueue(int queue, CxSound* sound)
{
    if (ValidQueue(queue))
        State().queues[queue].push_back(sound);
}

void AddToQueueFront(int queue, CxSound* sound)
{
    if (ValidQueue(queue))
        State().queues[queue].push_front(sound);
}

void RemoveFromQueues(CxSound* sound)
{
    for (auto& queue : State().queues)
        queue.erase(std::remove(queue.begin(), queue.end(), sound), queue.end());
}

bool IsOldestInQueue(const CxSound* sound)
{
    for (int q = 0; q < State().queueCount; ++q)
        if (!State().queues[q].empty() && State().queues[q].front() == sound)
            return true;
    return false;
}

void WaitForSoundStep()
{
    // Headless runs keep virtual time: the wait is time that passes in the
    // game, and the mixer hears it.
    if (auto* clock = dynamic_cast<CxVirtualClock*>(PimGetClock()))
        clock->Advance(kWaitStepMilliseconds);
    else
        PimSleep(kWaitStepMilliseconds / 2);
    if (State().device)
        State().device->Pump();
}
