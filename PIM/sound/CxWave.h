#pragma once
// A sound played through the engine's mixer: the data is decoded at the
// first play (wave, IMA ADPCM, MP3, raw or header-and-samples) and kept as
// samples until the data changes; a mixer voice stands for the sample
// handle while the sound plays.

#include "PIM/sound/CxSound.h"
#include "PIM/sound/PimSoundDecode.h"
#include "PIM/sound/PimWaveFormat.h"

class CxWave : public CxSound
{
public:
    // A wave starts in group 1.
    CxWave();
    ~CxWave() override;

    // Does nothing (and is no error) while no mixer is available.
    int Load(const char* fileName) override;
    // No voice, or its voice is neither playing nor playing its last pass.
    bool IsDone() const override;
    // Also applied to a playing voice, as volume / 127 on both sides.
    void SetVolume(int volume) override;

    int PlayNow() override;
    void StopNow() override;
    void PauseNow() override;
    void ResumeNow() override;

    // The edits replace or change the data in place; 13 for data they cannot
    // work on (other depths, MP3), 1 without memory.
    int Reverse();
    // The tremolo envelope (see ApplyEnvelope in PimWaveEdit.h).
    int ApplyEnvelope(double frequency, double phase, double depth);
    int CompressADPCM();
    int DecompressADPCM();
    bool IsADPCM() const;
    // The wave information of the data; 10 "Invalid WAV File" for data that
    // is no wave.
    int GetFormat(ST_WAVE_INFO& out);

    // Frames into the playing pass, and frames in all; 0 without a voice.
    size_t GetSamplePosition() const;
    size_t GetSampleLength() const;
    // Hertz, remembered for later plays; -1 plays at the data's own rate.
    void SetPlaybackRate(int hertz);
    int GetPlaybackRate() const { return m_rate; }
    // The mixer voice while playing, else 0.
    int GetVoice() const { return m_voice; }

protected:
    void OnDataChanged() override;
    int MaxWaitSteps() const override;

private:
    int Decode();
    void ReleaseVoice();
    // Takes an edit's result: a new data block, or the data changed in place.
    int TakeEdit(int code, std::vector<uint8_t>& replaced);

    int m_voice = 0;
    int m_rate = -1;
    ST_PCM m_pcm;
    bool m_decoded = false;
};
