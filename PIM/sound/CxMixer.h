#pragma once
// The engine's software mixer: a fixed set of voices, each playing one block
// of 16-bit samples (mono or stereo, any rate) with its own volume, loop count
// and playback rate, summed into 16-bit output of one or two channels.
//
// The game calls everything on its main thread; the audio device calls Mix on
// its own. One mutex, held for a few instructions by every call and for one
// bounded chunk at a time by Mix, keeps the two apart. The output tap has a
// lock of its own, so a slow listener never holds up the game's calls.
//
// Handles: a voice handle names a slot and the allocation that got it, so a
// handle kept after ReleaseVoice is refused even when the slot has been
// handed out again. 0, negative, unknown and stale handles are ignored by
// every call (GetStatus answers Free, the getters 0).

#include "PIM/core/PimDefs.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

enum class EVoiceStatus
{
    Free,            // not a live handle
    Done,            // allocated, not playing: never started, given new data, or ran to its end
    Stopped,         // paused; Resume continues from the same place
    Playing,
    PlayingReleased, // playing its last pass: it was looping, and SetLoopCount let go of the loop
};

// Hears the frames Mix has just written (`frames` frames of the mixer's
// channels, interleaved), on the thread that called Mix.
using PimMixerTap = void (*)(void* context, const int16_t* samples, size_t frames);

class CxMixer
{
public:
    // Output of 16-bit signed samples, 1 or 2 channels (other counts are taken
    // as the nearer of the two); a rate of 0 becomes 22050. maxVoices is kept
    // within 1..kMaxVoices.
    CxMixer(uint32_t rate, uint16_t channels, int maxVoices = 64);
    ~CxMixer();
    CxMixer(const CxMixer&) = delete;
    CxMixer& operator=(const CxMixer&) = delete;

    static constexpr int kMaxVoices = 1024;
    // Source rates are held within 1..kMaxSourceRate hertz.
    static constexpr uint32_t kMaxSourceRate = 1000000;
    // Longest sample, in frames.
    static constexpr size_t kMaxFrames = 0x7FFFFFFF;

    // A handle > 0, or 0 when every voice is taken. A new voice has no data,
    // full volume on both sides and plays once.
    int AllocateVoice();
    // Stops the voice and frees the handle.
    void ReleaseVoice(int voice);

    // The voice plays `frames` frames of 16-bit interleaved samples in
    // `channels` (1 or 2) channels at `rate` hertz; the caller keeps the
    // buffer alive until the voice is released or given other data. The
    // voice stops (Done) at the start of the new data, keeping its volume and
    // loop count; its playback rate becomes `rate`. PIM_OK, or 16 for a bad
    // handle or arguments (the voice is then unchanged).
    int SetVoiceData(int voice, const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate);
    // From the beginning, with all its passes ahead. A voice without frames
    // stays Done.
    void Start(int voice);
    // Pauses a playing voice where it is.
    void Stop(int voice);
    // Continues a paused voice.
    void Resume(int voice);
    // Levels 0..1 for each side (clamped). Into mono output the voice plays at
    // the mean of the two.
    void SetVolume(int voice, float left, float right);
    void GetVolume(int voice, float& left, float& right) const;
    // 1 plays once, n plays n times, 0 loops for ever (negative counts play
    // once). Changing it while the voice plays counts the passes already
    // played: a count they have reached ends the voice at the end of this pass.
    void SetLoopCount(int voice, int count);
    int GetLoopCount(int voice) const;
    // The rate the source is read at (pitch and speed together); takes effect
    // on the next mixed frame.
    void SetPlaybackRate(int voice, uint32_t hertz);
    uint32_t GetPlaybackRate(int voice) const;
    EVoiceStatus GetStatus(int voice) const;
    // The source frame being played, within the current pass (the length once
    // the voice has run to its end).
    size_t GetPosition(int voice) const;
    // Source frames.
    size_t GetLength(int voice) const;

    // Scales every voice; 0..1, clamped.
    void SetMasterLevel(float level);
    float GetMasterLevel() const;

    // Mixes `frames` frames into `out` (overwritten), then lets the output
    // tap hear them. Any thread; it allocates nothing and waits only for the
    // mixer's own locks (and whatever the tap does). Voices that reach their
    // end become Done.
    void Mix(int16_t* out, size_t frames);
    // Mix in the shape of the audio device's pull callback; `mixer` is the
    // CxMixer.
    static void Pull(void* mixer, int16_t* out, size_t frames);
    // Every Mix from now on also hands what it mixed to `tap` (null: none).
    // Once this returns, the tap it replaced is not running and will not be
    // called again, so its context may go.
    void SetOutputTap(PimMixerTap tap, void* context);

    uint32_t GetRate() const { return m_rate; }
    uint16_t GetChannels() const { return m_channels; }
    int GetMaxVoices() const { return m_voiceCount; }

private:
    struct ST_VOICE;
    // Output frames mixed per lock: bounds the time the game's calls can wait.
    static constexpr size_t kChunkFrames = 256;

    ST_VOICE* Find(int voice);
    const ST_VOICE* Find(int voice) const;
    void MixChunk(int16_t* out, size_t frames);
    void MixVoice(ST_VOICE& voice, size_t frames);

    mutable std::mutex m_lock;
    // Held while the tap runs, and to change it.
    std::mutex m_tapLock;
    PimMixerTap m_tap = nullptr;
    void* m_tapContext = nullptr;
    ST_VOICE* m_voices = nullptr;
    int m_voiceCount = 0;
    uint32_t m_rate;
    uint16_t m_channels;
    float m_master = 1.0f;
    // One chunk of 32-bit sums, left and right interleaved for stereo output.
    int32_t m_sum[kChunkFrames * 2] = {};
};
