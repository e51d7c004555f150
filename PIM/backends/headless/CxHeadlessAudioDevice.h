#pragma once
// The headless audio output: no sound card. Pump, called from the main loop,
// pulls exactly as many frames as the engine clock says have been played, so
// that a run on the virtual clock hears the same samples every time (and a
// recording of the mixer's output is the same file every time).

#include "PIM/sound/CxAudioDevice.h"

class CxHeadlessAudioDevice : public CxAudioDevice
{
public:
    CxHeadlessAudioDevice() = default;
    ~CxHeadlessAudioDevice() override;

    // Frames pulled per call of the pull: the size of the device's one buffer.
    static constexpr size_t kChunkFrames = 1024;
    // The most one Pump mixes, in milliseconds of audio. A longer gap (the
    // process stopped in a debugger, the clock set an hour on) is dropped
    // rather than mixed, which would stall the game for as long.
    static constexpr uint32_t kMaxPumpMilliseconds = 1000;

    // The clock starts counting at Open.
    int Open(uint32_t rate, uint16_t channels, PimAudioPull pull, void* context) override;
    void Close() override;
    bool IsOpen() const override { return m_pull != nullptr; }
    void Pump() override;

    // Frames pulled since Open, and frames the cap dropped.
    uint64_t GetFramesMixed() const { return m_framesMixed; }
    uint64_t GetFramesDropped() const { return m_framesDropped; }

private:
    PimAudioPull m_pull = nullptr;
    void* m_context = nullptr;
    uint32_t m_lastTicks = 0;
    // Milliseconds x rate not yet worth a whole frame; carried so that no
    // rounding accumulates over many pumps.
    uint64_t m_pendingMilliFrames = 0;
    uint64_t m_framesMixed = 0;
    uint64_t m_framesDropped = 0;

    int16_t m_buffer[kChunkFrames * 2] = {};
};
