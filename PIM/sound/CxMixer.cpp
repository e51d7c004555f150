#include "PIM/sound/CxMixer.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

// Positions and steps are 32.32 fixed point, in source frames.
constexpr uint64_t kOne = uint64_t{1} << 32;
constexpr uint64_t kFraction = kOne - 1;

// A handle is the slot number + 1 in its low bits and the slot's allocation
// count above them, so that stale handles are told apart from live ones.
constexpr int kSlotBits = 11;
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr uint32_t kGenerationLimit = 1u << (31 - kSlotBits);
static_assert(CxMixer::kMaxVoices < static_cast<int>(kSlotMask), "slot numbers must fit their bits");

// Gains are 16.16 fixed point: 65536 is full level, which multiplies exactly.
constexpr int32_t kUnityGain = 1 << 16;

float ClampLevel(float level)
{
    // NaN compares false both ways and ends up silent.
    if (!(level > 0.0f))
        return 0.0f;
    return level < 1.0f ? level : 1.0f;
}

int32_t ToGain(float level)
{
    return static_cast<int32_t>(std::lround(ClampLevel(level) * static_cast<float>(kUnityGain)));
}

uint32_t ClampSourceRate(uint32_t hertz)
{
    return std::min(hertz, CxMixer::kMaxSourceRate);
}

// Interpolates between neighbouring samples a and b by a 15-bit fraction; the
// product stays within 32 bits for any pair of 16-bit samples.
inline int32_t Lerp(int32_t a, int32_t b, int32_t fraction15)
{
    return a + (((b - a) * fraction15) >> 15);
}

inline int32_t Fraction15(uint64_t position)
{
    return static_cast<int32_t>((position & kFraction) >> 17);
}

// Adds `count` output frames of one voice to the sums, reading the source from
// `position` on and returning the position after them. The caller guarantees
// that every source frame read (and with Interpolate its successor) lies in
// the buffer. For mono output `leftGain` is the voice's mixed-down gain.
template <int SourceChannels, int OutputChannels, bool Interpolate>
uint64_t MixRun(const int16_t* source, uint64_t position, uint64_t step, int32_t* sum, size_t count,
                int32_t leftGain, int32_t rightGain)
{
    // A copy walks the source frame by frame, which the compiler can vectorise.
    const int16_t* start = source + (position >> 32) * SourceChannels;
    for (size_t i = 0; i < count; ++i) {
        int32_t left, right;
        if constexpr (Interpolate) {
            const int16_t* frame = source + (position >> 32) * SourceChannels;
            const int32_t fraction = Fraction15(position);
            left = Lerp(frame[0], frame[SourceChannels], fraction);
            right = SourceChannels == 2 ? Lerp(frame[1], frame[3], fraction) : left;
            position += step;
        } else {
            const int16_t* frame = start + i * SourceChannels;
            left = frame[0];
            right = frame[SourceChannels - 1];
        }
        if constexpr (OutputChannels == 1) {
            const int32_t mono = SourceChannels == 2 ? (left + right) >> 1 : left;
            sum[i] += (mono * leftGain) >> 16;
        } else {
            sum[2 * i] += (left * leftGain) >> 16;
            sum[2 * i + 1] += (right * rightGain) >> 16;
        }
    }
    if constexpr (!Interpolate)
        position += static_cast<uint64_t>(count) << 32;
    return position;
}

using MixRunFunction = uint64_t (*)(const int16_t*, uint64_t, uint64_t, int32_t*, size_t, int32_t, int32_t);

// [source channels - 1][output channels - 1][interpolate]
constexpr MixRunFunction kMixRuns[2][2][2] = {
    {{MixRun<1, 1, false>, MixRun<1, 1, true>}, {MixRun<1, 2, false>, MixRun<1, 2, true>}},
    {{MixRun<2, 1, false>, MixRun<2, 1, true>}, {MixRun<2, 2, false>, MixRun<2, 2, true>}},
};

} // namespace

struct CxMixer::ST_VOICE
{
    bool allocated = false;
    uint32_t generation = 0;
    const int16_t* samples = nullptr;
    size_t frames = 0;
    uint16_t channels = 1;
    uint32_t rate = 22050; // the rate the source is read at
    uint64_t position = 0;  // within the current pass
    uint64_t passesPlayed = 0;
    int loopCount = 1;
    float left = 1.0f;
    float right = 1.0f;
    EVoiceStatus status = EVoiceStatus::Done; // Done, Stopped or Playing
    bool released = false;                    // Playing shows as PlayingReleased

    void Reset()
    {
        samples = nullptr;
        frames = 0;
        channels = 1;
        rate = 22050;
        position = 0;
        passesPlayed = 0;
        loopCount = 1;
        left = right = 1.0f;
        status = EVoiceStatus::Done;
        released = false;
    }
    // True when the pass under way is the last one the loop count allows.
    bool OnLastPass() const { return loopCount != 0 && passesPlayed + 1 >= static_cast<uint64_t>(loopCount); }
};

CxMixer::CxMixer(uint32_t rate, uint16_t channels, int maxVoices)
    : m_rate(rate ? rate : 22050), m_channels(channels >= 2 ? 2 : 1)
{
    const int count = std::clamp(maxVoices, 1, kMaxVoices);
    void* block = Allocate(sizeof(ST_VOICE) * static_cast<size_t>(count), __FILE__, __LINE__, false);
    // Without the memory the mixer still runs, silently, with no voices to hand out.
    if (!block)
        return;
    m_voices = static_cast<ST_VOICE*>(block);
    for (int i = 0; i < count; ++i)
        ::new (&m_voices[i]) ST_VOICE();
    m_voiceCount = count;
}

CxMixer::~CxMixer()
{
    if (m_voices) {
        for (int i = 0; i < m_voiceCount; ++i)
            m_voices[i].~ST_VOICE();
        Free(m_voices);
    }
}

CxMixer::ST_VOICE* CxMixer::Find(int voice)
{
    if (voice <= 0)
        return nullptr;
    const uint32_t handle = static_cast<uint32_t>(voice);
    const uint32_t slot = handle & kSlotMask;
    if (slot == 0 || slot > static_cast<uint32_t>(m_voiceCount))
        return nullptr;
    ST_VOICE& found = m_voices[slot - 1];
    if (!found.allocated || found.generation != handle >> kSlotBits)
        return nullptr;
    return &found;
}

const CxMixer::ST_VOICE* CxMixer::Find(int voice) const
{
    return const_cast<CxMixer*>(this)->Find(voice);
}

int CxMixer::AllocateVoice()
{
    std::lock_guard<std::mutex> hold(m_lock);
    for (int i = 0; i < m_voiceCount; ++i) {
        ST_VOICE& voice = m_voices[i];
        if (voice.allocated)
            continue;
        voice.Reset();
        voice.allocated = true;
        voice.generation = voice.generation + 1 < kGenerationLimit ? voice.generation + 1 : 1;
        return static_cast<int>((voice.generation << kSlotBits) | static_cast<uint32_t>(i + 1));
    }
    return 0;
}

void CxMixer::ReleaseVoice(int voice)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (ST_VOICE* found = Find(voice)) {
        found->Reset();
        found->allocated = false;
    }
}

int CxMixer::SetVoiceData(int voice, const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate)
{
    if ((!samples && frames > 0) || frames > kMaxFrames || (channels != 1 && channels != 2) || rate == 0)
        return PIM_ERR_BAD_ARG;
    std::lock_guard<std::mutex> hold(m_lock);
    ST_VOICE* found = Find(voice);
    if (!found)
        return PIM_ERR_BAD_ARG;
    found->samples = frames > 0 ? samples : nullptr;
    found->frames = frames;
    found->channels = channels;
    found->rate = ClampSourceRate(rate);
    found->position = 0;
    found->passesPlayed = 0;
    found->status = EVoiceStatus::Done;
    found->released = false;
    return PIM_OK;
}

void CxMixer::Start(int voice)
{
    std::lock_guard<std::mutex> hold(m_lock);
    ST_VOICE* found = Find(voice);
    if (!found)
        return;
    found->position = 0;
    found->passesPlayed = 0;
    found->released = false;
    found->status = found->frames > 0 ? EVoiceStatus::Playing : EVoiceStatus::Done;
}

void CxMixer::Stop(int voice)
{
    std::lock_guard<std::mutex> hold(m_lock);
    ST_VOICE* found = Find(voice);
    if (found && found->status == EVoiceStatus::Playing)
        found->status = EVoiceStatus::Stopped;
}

void CxMixer::Resume(int voice)
{
    std::lock_guard<std::mutex> hold(m_lock);
    ST_VOICE* found = Find(voice);
    if (found && found->status == EVoiceStatus::Stopped)
        found->status = EVoiceStatus::Playing;
}

void CxMixer::SetVolume(int voice, float left, float right)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (ST_VOICE* found = Find(voice)) {
        found->left = ClampLevel(left);
        found->right = ClampLevel(right);
    }
}

void CxMixer::GetVolume(int voice, float& left, float& right) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    const ST_VOICE* found = Find(voice);
    left = found ? found->left : 0.0f;
    right = found ? found->right : 0.0f;
}

void CxMixer::SetLoopCount(int voice, int count)
{
    std::lock_guard<std::mutex> hold(m_lock);
    ST_VOICE* found = Find(voice);
    if (!found)
        return;
    const bool wasLast = found->OnLastPass();
    found->loopCount = count < 0 ? 1 : count;
    const bool isLast = found->OnLastPass();
    // Letting go of a loop while the sound is under way is what "released"
    // reports: it still plays, but ends with this pass. Started afresh, the
    // count is simply the count.
    if (found->status == EVoiceStatus::Done)
        found->released = false;
    else if (isLast && !wasLast)
        found->released = true;
    else if (!isLast)
        found->released = false;
}

int CxMixer::GetLoopCount(int voice) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    const ST_VOICE* found = Find(voice);
    return found ? found->loopCount : 0;
}

void CxMixer::SetPlaybackRate(int voice, uint32_t hertz)
{
    if (hertz == 0)
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    if (ST_VOICE* found = Find(voice))
        found->rate = ClampSourceRate(hertz);
}

uint32_t CxMixer::GetPlaybackRate(int voice) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    const ST_VOICE* found = Find(voice);
    return found ? found->rate : 0;
}

EVoiceStatus CxMixer::GetStatus(int voice) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    const ST_VOICE* found = Find(voice);
    if (!found)
        return EVoiceStatus::Free;
    if (found->status == EVoiceStatus::Playing && found->released)
        return EVoiceStatus::PlayingReleased;
    return found->status;
}

size_t CxMixer::GetPosition(int voice) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    const ST_VOICE* found = Find(voice);
    return found ? static_cast<size_t>(found->position >> 32) : 0;
}

size_t CxMixer::GetLength(int voice) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    const ST_VOICE* found = Find(voice);
    return found ? found->frames : 0;
}

void CxMixer::SetMasterLevel(float level)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_master = ClampLevel(level);
}

float CxMixer::GetMasterLevel() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_master;
}

// --- mixing ----------------------------------------------------------------------

void CxMixer::Pull(void* mixer, int16_t* out, size_t frames)
{
    if (mixer)
        static_cast<CxMixer*>(mixer)->Mix(out, frames);
}

void CxMixer::SetOutputTap(PimMixerTap tap, void* context)
{
    std::lock_guard<std::mutex> hold(m_tapLock);
    m_tap = tap;
    m_tapContext = context;
}

void CxMixer::Mix(int16_t* out, size_t frames)
{
    if (!out)
        return;
    int16_t* const mixed = out;
    const size_t total = frames;
    while (frames > 0) {
        const size_t count = std::min(frames, kChunkFrames);
        {
            std::lock_guard<std::mutex> hold(m_lock);
            MixChunk(out, count);
        }
        out += count * m_channels;
        frames -= count;
    }
    std::lock_guard<std::mutex> hold(m_tapLock);
    if (m_tap && total > 0)
        m_tap(m_tapContext, mixed, total);
}

void CxMixer::MixChunk(int16_t* out, size_t frames)
{
    const size_t samples = frames * m_channels;
    std::memset(m_sum, 0, samples * sizeof(m_sum[0]));
    for (int i = 0; i < m_voiceCount; ++i) {
        ST_VOICE& voice = m_voices[i];
        if (voice.allocated && voice.status == EVoiceStatus::Playing && voice.frames > 0)
            MixVoice(voice, frames);
    }
    const int32_t* sum = m_sum;
    for (size_t i = 0; i < samples; ++i)
        out[i] = static_cast<int16_t>(std::clamp<int32_t>(sum[i], -32768, 32767));
}

void CxMixer::MixVoice(ST_VOICE& voice, size_t frames)
{
    int32_t leftGain, rightGain;
    if (m_channels == 1) {
        leftGain = rightGain = ToGain((voice.left + voice.right) * 0.5f * m_master);
    } else {
        leftGain = ToGain(voice.left * m_master);
        rightGain = ToGain(voice.right * m_master);
    }
    const uint64_t step = std::max<uint64_t>((uint64_t{voice.rate} << 32) / m_rate, 1);
    const uint64_t passEnd = static_cast<uint64_t>(voice.frames) << 32;
    const int16_t* source = voice.samples;
    const size_t channels = voice.channels;
    int32_t* sum = m_sum;
    uint64_t position = voice.position;
    size_t done = 0;

    while (done < frames) {
        // A frame whose neighbour lies in the buffer takes the quick run; an
        // exact copy needs no neighbour at all.
        const bool copy = step == kOne && (position & kFraction) == 0;
        const uint64_t runEnd = copy ? passEnd : passEnd - kOne;
        if (position < runEnd) {
            const size_t count =
                static_cast<size_t>(std::min<uint64_t>(frames - done, (runEnd - position + step - 1) / step));
            position = kMixRuns[channels - 1][m_channels - 1][copy ? 0 : 1](source, position, step,
                                                                         sum + done * m_channels, count,
                                                                         leftGain, rightGain);
            done += count;
        } else if (position < passEnd) {
            // The last frame of the pass leans toward the first of the next
            // pass, so a loop wraps without a seam; the very last is held.
            const int16_t* last = source + (voice.frames - 1) * channels;
            const int16_t* next = voice.OnLastPass() ? last : source;
            const int32_t fraction = Fraction15(position);
            int32_t left = Lerp(last[0], next[0], fraction);
            int32_t right = channels == 2 ? Lerp(last[1], next[1], fraction) : left;
            int32_t* at = sum + done * m_channels;
            if (m_channels == 1) {
                at[0] += (((left + right) >> 1) * leftGain) >> 16;
            } else {
                at[0] += (left * leftGain) >> 16;
                at[1] += (right * rightGain) >> 16;
            }
            position += step;
            ++done;
        }
        if (position >= passEnd) {
            voice.passesPlayed += position / passEnd;
            position %= passEnd;
            if (voice.loopCount != 0 && voice.passesPlayed >= static_cast<uint64_t>(voice.loopCount)) {
                voice.status = EVoiceStatus::Done;
                voice.released = false;
                position = passEnd;
                break;
            }
        }
    }
    voice.position = position;
}
