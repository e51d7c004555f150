// The SDL audio output; the class stays in this file, since nothing outside
// it needs more than the interface.
#include "PIM/backends/sdl/CxSdlAudioDevice.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"

#include <SDL.h>

#include <cstring>
#include <string>

namespace {

class CxSdlAudioDevice : public CxAudioDevice
{
public:
    explicit CxSdlAudioDevice(const char* driver) : m_driver(driver ? driver : "") {}
    ~CxSdlAudioDevice() override { Close(); }

    int Open(uint32_t rate, uint16_t channels, PimAudioPull pull, void* context) override;
    void Close() override;
    bool IsOpen() const override { return m_device != 0; }

private:
    static void SDLCALL Fill(void* self, Uint8* stream, int length);
    bool StartAudio();

    std::string m_driver;
    SDL_AudioDeviceID m_device = 0;
    bool m_audioStarted = false;
    // Read on SDL's thread, written only while that thread is not running
    // (before the device is unpaused, after it is closed).
    PimAudioPull m_pull = nullptr;
    void* m_context = nullptr;
    uint16_t m_frameBytes = 0;
};

bool CxSdlAudioDevice::StartAudio()
{
    // SDL picks its driver when audio starts; later wishes change nothing.
    const bool choose = !m_driver.empty() && SDL_WasInit(SDL_INIT_AUDIO) == 0;
    if (choose)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, m_driver.c_str(), SDL_HINT_OVERRIDE);
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (choose)
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!started) {
        Trace("Audio: no audio (%s)\n", SDL_GetError());
        return false;
    }
    m_audioStarted = true;
    return true;
}

int CxSdlAudioDevice::Open(uint32_t rate, uint16_t channels, PimAudioPull pull, void* context)
{
    Close();
    if (!ValidFormat(rate, channels, pull))
        return PIM_ERR_BAD_ARG;
    if (!StartAudio())
        return PIM_ERR_UNKNOWN;

    SDL_AudioSpec wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    // About 40 ms at the usual rates: short enough for effects to follow the
    // game, long enough not to starve on a busy machine.
    wanted.samples = rate > 24000 ? 2048 : 1024;
    wanted.callback = &CxSdlAudioDevice::Fill;
    wanted.userdata = this;
    m_pull = pull;
    m_context = context;
    m_frameBytes = static_cast<uint16_t>(2 * channels);

    // No changes allowed: whatever the card wants, SDL converts our format to it.
    SDL_AudioSpec obtained;
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (m_device == 0) {
        Trace("Audio: no audio device (%s)\n", SDL_GetError());
        m_pull = nullptr;
        m_context = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
        return PIM_ERR_UNKNOWN;
    }
    m_rate = rate;
    m_channels = channels;
    Trace("Audio: %s, %u Hz, %u channel(s)\n", SDL_GetCurrentAudioDriver(), rate, channels);
    SDL_PauseAudioDevice(m_device, 0);
    return PIM_OK;
}

void CxSdlAudioDevice::Close()
{
    if (m_device != 0) {
        // Waits for SDL's thread to leave the pull.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }
    m_pull = nullptr;
    m_context = nullptr;
}

void SDLCALL CxSdlAudioDevice::Fill(void* self, Uint8* stream, int length)
{
    auto* device = static_cast<CxSdlAudioDevice*>(self);
    if (length <= 0)
        return;
    const size_t bytes = static_cast<size_t>(length);
    if (!device->m_pull || device->m_frameBytes == 0) {
        std::memset(stream, 0, bytes);
        return;
    }
    const size_t frames = bytes / device->m_frameBytes;
    // SDL's buffer is its own allocation, aligned for any sample type.
    device->m_pull(device->m_context, static_cast<int16_t*>(static_cast<void*>(stream)), frames);
    const size_t filled = frames * device->m_frameBytes;
    if (filled < bytes)
        std::memset(stream + filled, 0, bytes - filled);
}

} // namespace

std::unique_ptr<CxAudioDevice> CreateSdlAudioDevice(const char* driver)
{
    return std::make_unique<CxSdlAudioDevice>(driver);
}
