#pragma once
// The audio output. A device knows nothing of what it plays: it pulls 16-bit
// signed frames (1 or 2 channels interleaved) from a callback, which the
// sound system points at its mixer (CxMixer::Pull).
//
// The devices themselves belong to the platform's back ends: the sound card
// (PIM/backends/sdl), whose own thread pulls whenever the card wants more,
// and the headless one (PIM/backends/headless), which pulls on the engine
// clock from the main loop. The application hands the sound system the
// maker of its back end's device.

#include "PIM/core/PimDefs.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Fills `out` with `frames` frames. Called on the device's thread (a sound
// card) or inside Pump (headless).
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
    // call. A sound card: nothing (its thread pulls by itself).
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

// Makes a back end's device, not yet open; null when there is none to make.
using PimAudioDeviceMaker = std::unique_ptr<CxAudioDevice> (*)();
