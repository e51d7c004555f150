#include "PIM/sound/CxAudioDevice.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimByteOrder.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/core/PimClock.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Beyond this the rate times a second's milliseconds could overflow the
// frame arithmetic; no sound card comes near it.
constexpr uint32_t kMaxDeviceRate = 1000000;

// The wave header's 32-bit sizes count the data plus 36 header bytes.
constexpr uint64_t kMaxRecordBytes = std::numeric_limits<uint32_t>::max() - 36u;

} // namespace

CxAudioDevice::~CxAudioDevice() = default;

bool CxAudioDevice::ValidFormat(uint32_t rate, uint16_t channels, PimAudioPull pull)
{
    return pull && rate > 0 && rate <= kMaxDeviceRate && (channels == 1 || channels == 2);
}

// --- headless --------------------------------------------------------------------

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
    m_recordResult = PIM_OK;
    StartRecording();
    return PIM_OK;
}

void CxHeadlessAudioDevice::Close()
{
    if (!m_pull)
        return;
    FinishRecording();
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
        const size_t samples = count * m_channels;
        // A pull that leaves part of the buffer alone must not repeat old sound.
        std::memset(m_buffer, 0, samples * sizeof(m_buffer[0]));
        m_pull(m_context, m_buffer, count);
        WriteRecord(m_buffer, samples);
        m_framesMixed += count;
        frames -= count;
    }
}

// --- recording -------------------------------------------------------------------

void CxHeadlessAudioDevice::SetRecordFile(const char* path, PimWavHeaderWriter header)
{
    m_recordPath = path ? path : "";
    m_recordHeader = header;
}

void CxHeadlessAudioDevice::StartRecording()
{
    if (m_recordPath.empty() || !m_recordHeader)
        return;
    // The samples stream into a file of their own and take the wanted name
    // only once whole, so a run that dies leaves no half file under it.
    m_recordTemporary = m_recordPath + ".recording";
    int error = PIM_OK;
    m_record = FsOpen(m_recordTemporary.c_str(), CBF_BINARY | CBF_WRITE | CBF_CREATE, &error);
    m_recordBytes = 0;
    if (!m_record) {
        FailRecording(error ? error : PIM_ERR_CREATE, "create");
        return;
    }
    uint8_t header[PIM_RECORD_HEADER_SIZE];
    m_recordHeader(header, m_rate, m_channels, 16, 0);
    const int result = FsWrite(m_record, header, sizeof header);
    if (result != PIM_OK)
        FailRecording(result, "write");
}

void CxHeadlessAudioDevice::WriteRecord(const int16_t* samples, size_t count)
{
    if (!m_record)
        return;
    // A wave file cannot tell of more than 4 GB; the rest goes unrecorded.
    const uint64_t frameBytes = uint64_t{2} * m_channels;
    const uint64_t room = (kMaxRecordBytes - m_recordBytes) / frameBytes * frameBytes;
    count = static_cast<size_t>(std::min<uint64_t>(count, room / 2));
    if (count == 0)
        return;
    for (size_t i = 0; i < count; ++i)
        WriteLe16(m_recordBuffer + 2 * i, static_cast<uint16_t>(samples[i]));
    const int result = FsWrite(m_record, m_recordBuffer, count * 2);
    if (result != PIM_OK) {
        FailRecording(result, "write");
        return;
    }
    m_recordBytes += count * 2;
}

void CxHeadlessAudioDevice::FailRecording(int code, const char* what)
{
    ReportError(code, "Could not %s the sound recording %s", what, m_recordPath.c_str());
    if (m_record) {
        FsClose(m_record);
        m_record = nullptr;
    }
    FsDelete(m_recordTemporary.c_str());
    m_recordResult = code;
}

void CxHeadlessAudioDevice::FinishRecording()
{
    if (!m_record)
        return;
    uint8_t header[PIM_RECORD_HEADER_SIZE];
    m_recordHeader(header, m_rate, m_channels, 16, m_recordBytes);
    int result = FsSeek(m_record, 0, 0);
    if (result == PIM_OK)
        result = FsWrite(m_record, header, sizeof header);
    if (result != PIM_OK) {
        FailRecording(result, "write");
        return;
    }
    result = FsClose(m_record);
    m_record = nullptr;
    if (result != PIM_OK) {
        FailRecording(result, "write");
        return;
    }
    if (FsRename(m_recordTemporary.c_str(), m_recordPath.c_str()) != PIM_OK) {
        FailRecording(PIM_ERR_WRITE, "save");
        return;
    }
    Trace("Audio: recorded %llu bytes of samples to %s\n", static_cast<unsigned long long>(m_recordBytes),
          m_recordPath.c_str());
}

std::unique_ptr<CxHeadlessAudioDevice> CreateHeadlessAudioDevice()
{
    return std::make_unique<CxHeadlessAudioDevice>();
}
