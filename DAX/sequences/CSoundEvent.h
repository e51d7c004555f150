#pragma once
// The sound events of the "system" category: "PlaySound" (audio channel,
// file, file, ...) plays one of the files, chosen at random when the event
// is made, and is done when it has finished. The event's name sets its
// modes, by case-sensitive parts of the name as written:
//   "This"   first stop every sound of that sound queue ("PlayThisSound");
//   "Start"  done as soon as the sound has started ("StartSound");
//   "Empty"  play only when that sound queue is empty, else done at once
//            without sound ("PlaySoundIfChannelEmpty").
// So "playthissound" (accepted, as names are compared without regard to
// case) has none of them.
//
// Audio channels 0 to 7 play through the sound queue of that number, when
// the sound system has made it; any other number (-1, a queue past the last
// one made) plays the sound at once, outside any queue. File names are data:
// they go through BuildGamePathFromData, never through a printf format. A
// name holding ".TXT" (any case) is a subtitle file, loaded into a
// CxAudioSubTitle the event owns; any other comes from the game layer's
// sound cache, held by a counted handle as long as the event lives.
//
// A sound that cannot start (a file that could not be read, no sound
// system) makes the event done at once, so no channel waits on it. When a
// "Start" event goes while its sound still plays, the sound plays on: a
// cached wave is kept by DaxLingeringSounds until it finishes, and an owned
// subtitle is handed to the sound system with PIM_SOUND_AUTO_DELETE.

#include "DAX/base/CDaxSoundCache.h"
#include "PIM/app/CxEvent.h"

class CxAudioSubTitle;
class CxSound;

class CSoundEvent : public CxEvent
{
public:
    enum : uint32_t
    {
        kModeThis = 0x1,
        kModeStart = 0x2,
        kModeEmpty = 0x4,
    };
    // Audio channels that name a sound queue.
    static constexpr int kQueuedChannels = 8;

    // The event of one of the sound names: null (16 reported) with fewer
    // than two arguments; null when memory ran out.
    static CSoundEvent* Create(const char* name, const CxEventArgs& args, uint32_t flags = kDeleteWhenDone);
    static uint32_t ModesFromName(const char* name);

    // A cached wave.
    CSoundEvent(CDaxSound sound, int audioChannel, uint32_t modes, uint32_t flags = kDeleteWhenDone);
    // A subtitle (made with new), owned from now on.
    CSoundEvent(CxAudioSubTitle* subtitle, int audioChannel, uint32_t modes, uint32_t flags = kDeleteWhenDone);
    ~CSoundEvent() override;

    void Reset() override;
    void Start() override;
    void Stop() override;
    bool IsDone() const override;
    void Pause() override;
    void Resume() override;

    CxSound* GetSound() const;
    bool OwnsSound() const { return m_subtitle != nullptr; }
    uint32_t GetModes() const { return m_modes; }
    int GetAudioChannel() const { return m_audioChannel; }
    // Started without a sound (the queue was busy, or it could not start).
    bool IsSkipped() const { return m_skipped; }

private:
    // The queue settings of the audio channel, put on the sound before it
    // plays (a cached wave is shared and keeps those of its last use); the
    // queue it goes through, -1 for none.
    int ApplyChannel(CxSound& sound) const;

    CDaxSound m_cached;
    CxAudioSubTitle* m_subtitle = nullptr;
    int m_audioChannel;
    uint32_t m_modes;
    bool m_skipped = false;
};
