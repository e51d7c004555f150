#pragma once
// A talking character says one or more sound files: "Talk" (state, file,
// file, ...) says them all in order, "RandomTalk" (state, file, ...) one of
// them chosen at random. The state -1 is the character's current state. The
// event is running from its start until the mouth it started has stopped
// saying its waves; the waves are the event's own and go with it.
//
// The event is bound to the mouth and the speech it started, not to
// whatever mouth is current: when it ends early (stopped, flushed, its
// character changing state) or goes, that mouth stops saying its waves
// before they are freed.

#include "DAX/sprites/CDaxLips.h"
#include "DAX/sprites/CDaxSpriteEvent.h"
#include "PIM/core/CxArray.h"

class CDaxCharacter;
class CxWave;

class CTalkEvent : public CDaxSpriteEvent
{
public:
    CTalkEvent(CDaxCharacter& character, int state, uint32_t flags = kDeleteWhenDone);
    // Stops its speech (when its mouth still says it), then deletes the waves.
    ~CTalkEvent() override;

    // The events of the two commands; null (16 reported on the character)
    // for a state that is not -1 nor one of the character's, when no file
    // follows the state, or when memory ran out. Each file name is
    // interpolated and loaded into a new wave.
    static CTalkEvent* CreateTalk(CDaxCharacter& character, const CxEventArgs& args);
    static CTalkEvent* CreateRandomTalk(CDaxCharacter& character, const CxEventArgs& args);

    void Reset() override;
    void Start() override;
    // The character's Stop.
    void Stop() override;
    bool IsDone() const override;
    // The character is paused (by anyone).
    bool IsPaused() const override;
    // The character's Stop.
    void OnDone() override;

    int GetTalkState() const { return m_talkState; }
    size_t GetWaveCount() const { return m_waves.GetCount(); }
    CxWave* GetWave(size_t index) const;
    const ST_DAX_SPEECH& GetSpeech() const { return m_speech; }

private:
    // The files at `args` [first, first + count), each a new wave.
    static CTalkEvent* Make(CDaxCharacter& character, const CxEventArgs& args, size_t first, size_t count);
    CDaxCharacter* GetCharacter() const;
    // The mouth stops, when it still says this event's waves.
    void EndOwnSpeech();

    CxArray<CxWave*> m_waves;
    int16_t m_talkState;
    ST_DAX_SPEECH m_speech;
};
