#pragma once
// The audio output. A device knows nothing of what it plays: it pulls 16-bit
// signed frames (1 or 2 channels interleaved) from a callback, which the
// sound system points at its mixer (CxMixer::Pull).
//
//  - SDL (CreateSdlAudioDevice): the system's sound card; SDL's own thread
//    calls the pull whenever the card wants more.
//  - Headless (CreateHeadlessAudioDevice): no sound card. Pump, called from
//    the main loop, pulls exactly as many frames as the engine clock says
//    have been played, so that a run on the virtual clock hears (and may
//    record) the same samples every time.

#include "PIM/core/PimDefs.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CxFsHandle;

// Fills `out` with `frames` frames. Called on the device's thread (SDL) or
// inside Pump (headless).
using PimAudioPull = void (*)(void* context, int16_t* out, size_t frames);

class CxAudioDevice
{
public:
    virtual ~CxAudioDevice();
    CxAudioDevice(const CxAudioDevice&) = delete;
    CxAudioDevice& operator=(const CxAudioDevice&) = delete;

    // PIM_OK; 13 when no device can be opened (the game then runs silently,
    // and the device stays closed); 16 for a rate of 0, channels other than 1
    // or 2, or no pull. Opening an open device closes it first.
    virtual int Open(uint32_t rate, uint16_t channels, PimAudioPull pull, void* context) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Headless: mixes the frames the clock says have passed since the last
    // call. SDL: nothing (its thread pulls by itself).
    virtual void Pump() {}

    // The format the pull is asked for (0 while never opened).
    uint32_t GetRate() const { return m_rate; }
    uint16_t GetChannels() const { return m_channels; }

protected:
    CxAudioDevice() = default;
    // The checks every Open makes before it touches anything.
    static bool ValidFormat(uint32_t rate, uint16_t channels, PimAudioPull pull);

    uint32_t m_rate = 0;
    uint16_t m_channels = 0;
};

// Writes the 44-byte header of a 16-bit PCM wave file: the shape of
// BuildPcmWavHeader (PIM/sound/PimWavFile.h), which is what the sound system
// passes; the wave format belongs to that layer, not to this one.
using PimWavHeaderWriter = void (*)(uint8_t* out, uint32_t rate, uint16_t channels, uint16_t bits,
                                    uint64_t dataBytes);
constexpr size_t PIM_RECORD_HEADER_SIZE = 44;

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

    // The clock starts counting at Open. Recording starts here too: a file
    // that cannot be created is reported and the device plays unrecorded.
    int Open(uint32_t rate, uint16_t channels, PimAudioPull pull, void* context) override;
    // Finishes the recording: the header is completed and the file takes its
    // name. A failure is reported and leaves no file behind.
    void Close() override;
    bool IsOpen() const override { return m_pull != nullptr; }
    void Pump() override;

    // Everything mixed between an Open and its Close is also written to
    // `path` (a file layer path) as a 16-bit PCM wave; `header` writes its
    // header. Each Open from the next on starts the file afresh. Null or
    // empty path: no recording.
    void SetRecordFile(const char* path, PimWavHeaderWriter header);
    // Whether the recording of the last Open..Close went well: PIM_OK, or the
    // error that ended it (then reported once, and no file was made). Also
    // PIM_OK when nothing was recorded.
    int GetRecordResult() const { return m_recordResult; }
    bool IsRecording() const { return m_record != nullptr; }

    // Frames pulled since Open, and frames the cap dropped.
    uint64_t GetFramesMixed() const { return m_framesMixed; }
    uint64_t GetFramesDropped() const { return m_framesDropped; }

private:
    void StartRecording();
    void WriteRecord(const int16_t* samples, size_t count);
    void FailRecording(int code, const char* what);
    void FinishRecording();

    PimAudioPull m_pull = nullptr;
    void* m_context = nullptr;
    uint32_t m_lastTicks = 0;
    // Milliseconds x rate not yet worth a whole frame; carried so that no
    // rounding accumulates over many pumps.
    uint64_t m_pendingMilliFrames = 0;
    uint64_t m_framesMixed = 0;
    uint64_t m_framesDropped = 0;

    std::string m_recordPath;
    PimWavHeaderWriter m_recordHeader = nullptr;
    CxFsHandle* m_record = nullptr;
    std::string m_recordTemporary;
    uint64_t m_recordBytes = 0;
    int m_recordResult = 0;

    int16_t m_buffer[kChunkFrames * 2] = {};
    uint8_t m_recordBuffer[kChunkFrames * 2 * 2] = {};
};

// The system's audio output through SDL. With `driver` the SDL driver of that
// name is asked for ("dummy" plays to nowhere and works on any machine, for
// tests); null leaves the choice to SDL. The driver is chosen when SDL's
// audio starts, so it applies only when no other device has it running.
std::unique_ptr<CxAudioDevice> CreateSdlAudioDevice(const char* driver = nullptr);
std::unique_ptr<CxHeadlessAudioDevice> CreateHeadlessAudioDevice();
