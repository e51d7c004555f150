#pragma once
// The mouth of a talking character (CDaxCharacter): a small sprite laid
// over one state's picture whose frame follows the loudness of what is
// being said. Speak takes a list of waves and says them one after the
// other; before each starts its samples become a loudness envelope
// (PrepareWave, DaxPrepareWave.h), and a 100 ms timer shows the frame for
// the time the wave has played. After the last wave the mouth closes
// (frame 0).
//
// The waves are not the mouth's: whoever hands them over keeps them alive
// until the mouth has stopped speaking them. Each Speak is a numbered
// speech, so that the owner of a list can tell whether the mouth is still
// saying that list (and stop it before freeing the waves) rather than a
// later one.
//
// A wave that is not loaded has no envelope and never plays: the mouth goes
// on to the next wave at the next tick. A wave whose envelope cannot be
// allocated is skipped at once. Pausing nests: the first pause freezes the
// timer and the wave, the matching last resume lets both go on.

#include "DAX/sprites/DaxPrepareWave.h"
#include "PIM/core/CxArray.h"
#include "PIM/core/CxPauseResume.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxSprite.h"

class CxWave;

// What a speech can be found again by: the mouth's checked sprite handle
// and the number of the speech.
struct ST_DAX_SPEECH
{
    uint32_t lips = 0;
    uint32_t speech = 0;
};

class CDaxLips : public CxSprite, public CxTimerListener, public CxPauseResume
{
public:
    // The mouth frame is shown every this many milliseconds.
    static constexpr uint32_t kTickMs = 100;

    CDaxLips();
    ~CDaxLips() override;

    // Stops what is being said, shows the mouth and says `waves` in order.
    // The number of the speech (never 0), or 0 when memory for the list
    // ran out (error 1, nothing said).
    uint32_t Speak(CxWave* const* waves, size_t count);
    // Stops the wave and the timer and closes the mouth.
    void StopSpeaking();
    bool IsSpeaking() const { return m_speaking; }
    // Still saying the list of speech `speech`.
    bool IsSpeaking(uint32_t speech) const { return m_speaking && speech != 0 && speech == m_speech; }
    // A current wave that has not finished.
    bool IsWavePlaying() const;

    // Makes `wave` current and builds its envelope for this mouth's frames.
    // PIM_OK (also for a wave with nothing to read: no envelope, the mouth
    // stays closed); 1 reported when the envelope cannot be allocated.
    int PrepareWave(CxWave& wave);

    void OnTimer(CxTimerCallBack* timer) override;
    void Pause() override;
    void Resume() override;
    int GetPauseCount() const { return m_pauseCount; }

    const ST_LIP_ENVELOPE& GetEnvelope() const { return m_envelope; }
    CxWave* GetCurrentWave() const { return m_wave; }
    int GetWaveIndex() const { return m_index; }
    const CxTimerCallBack& GetTimer() const { return m_timer; }
    // The sprite's checked handle (0 when memory ran out), and back.
    uint32_t GetHandle();
    static CDaxLips* FromHandle(uint32_t handle);

private:
    // Starts the next wave of the list that can start; false past the last.
    bool NextWave();
    int StartWave(CxWave& wave);

    CxArray<CxWave*> m_waves;
    int m_index = -1;
    CxWave* m_wave = nullptr;
    CxTimerCallBack m_timer;
    ST_LIP_ENVELOPE m_envelope;
    bool m_speaking = false;
    int m_pauseCount = 0;
    uint32_t m_speech = 0;
};
