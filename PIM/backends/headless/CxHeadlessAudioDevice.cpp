#include "PIM/backends/headless/CxHeadlessAudioDevice.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimClock.h"

#include <algorithm>
#include <cstring>

CxHeadlessAudioDevice::~CxHeadlessAudioDevice()
{
    Close();
}

int CxHeadlessAudioDevice::Open(uint32_t rate, uint16_t channels, PimAudioPull pull, void* context)
{
    Close();
    if (!ValidFormat(rate, channels, pull))
        return PIM_ERR_BAD_ARG;
    m_rate = rate;
    m_channels = channels;
    m_pull = pull;
    m_context = context;
    m_lastTicks = PimGetTicks();
    m_pendingMilliFrames = 0;
    m_framesMixed = 0;
    m_framesDropped = 0;
    return PIM_OK;
}

void CxHeadlessAudioDevice::Close()
{
    m_pull = nullptr;
    m_context = nullptr;
}

void CxHeadlessAudioDevice::Pump()
{
    if (!m_pull)
        return;
    const uint32_t now = PimGetTicks();
    uint32_t elapsed = now - m_lastTicks; // wraps with the clock
    m_lastTicks = now;
    if (elapsed > kMaxPumpMilliseconds) {
        m_framesDropped += uint64_t{elapsed - kMaxPumpMilliseconds} * m_rate / 1000;
        elapsed = kMaxPumpMilliseconds;
    }
    m_pendingMilliFrames += uint64_t{elapsed} * m_rate;
    uint64_t frames = m_pendingMilliFrames / 1000;
    m_pendingMilliFrames %= 1000;

    while (frames > 0) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(frames, kChunkFrames));
        // A pull that leaves part of the buffer alone must not repeat old sound.
        std::memset(m_buffer, 0, count * m_channels * sizeof(m_buffer[0]));
        m_pull(m_context, m_buffer, count);
        m_framesMixed += count;
        frames -= count;
    }
}
