#include "PIM/sound/CxSoundRecorder.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/sound/PimWavFile.h"

#include <algorithm>
#include <limits>

namespace {

// The wave header's 32-bit sizes count the data plus 36 header bytes.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - 36u;

} // namespace

CxSoundRecorder::~CxSoundRecorder()
{
    Close();
}

int CxSoundRecorder::Open(const char* path, uint32_t rate, uint16_t channels)
{
    Close();
    if (!path || !*path || rate == 0 || (channels != 1 && channels != 2))
        return PIM_ERR_BAD_ARG;
    m_path = path;
    m_temporary = m_path + ".recording";
    m_rate = rate;
    m_channels = channels;
    m_dataBytes = 0;
    m_result = PIM_OK;
    int error = PIM_OK;
    m_file = FsOpen(m_temporary.c_str(), CBF_BINARY | CBF_WRITE | CBF_CREATE, &error);
    if (!m_file)
        return Fail(error != PIM_OK ? error : PIM_ERR_CREATE, "create");
    const int result = WriteHeader();
    return result == PIM_OK ? PIM_OK : Fail(result, "write");
}

int CxSoundRecorder::WriteHeader()
{
    uint8_t header[PIM_WAV_HEADER_SIZE];
    BuildPcmWavHeader(header, m_rate, m_channels, 16, m_dataBytes);
    return FsWrite(m_file, header, sizeof header);
}

void CxSoundRecorder::Write(const int16_t* samples, size_t frames)
{
    if (!m_file || !samples)
        return;
    const uint64_t frameBytes = uint64_t{2} * m_channels;
    const uint64_t room = (kMaxDataBytes - m_dataBytes) / frameBytes;
    size_t count = static_cast<size_t>(std::min<uint64_t>(frames, room)) * m_channels;
    const size_t chunk = sizeof m_bytes / 2;
    while (count > 0) {
        const size_t part = std::min(count, chunk);
        for (size_t i = 0; i < part; ++i)
            WriteLe16(m_bytes + 2 * i, static_cast<uint16_t>(samples[i]));
        const int result = FsWrite(m_file, m_bytes, part * 2);
        if (result != PIM_OK) {
            Fail(result, "write");
            return;
        }
        m_dataBytes += part * 2;
        samples += part;
        count -= part;
    }
}

int CxSoundRecorder::Close()
{
    if (!m_file)
        return m_result;
    int result = FsSeek(m_file, 0, 0);
    if (result == PIM_OK)
        result = WriteHeader();
    if (result != PIM_OK)
        return Fail(result, "write");
    result = FsClose(m_file);
    m_file = nullptr;
    if (result != PIM_OK)
        return Fail(result, "write");
    if (FsRename(m_temporary.c_str(), m_path.c_str()) != PIM_OK)
        return Fail(PIM_ERR_WRITE, "save");
    Trace("Audio: recorded %llu bytes of samples to %s\n", static_cast<unsigned long long>(m_dataBytes),
          m_path.c_str());
    return PIM_OK;
}

int CxSoundRecorder::Fail(int code, const char* what)
{
    ReportError(code, "Could not %s the sound recording %s", what, m_path.c_str());
    if (m_file) {
        FsClose(m_file);
        m_file = nullptr;
    }
    FsDelete(m_temporary.c_str());
    m_result = code;
    return code;
}

void CxSoundRecorder::Tap(void* recorder, const int16_t* samples, size_t frames)
{
    if (recorder)
        static_cast<CxSoundRecorder*>(recorder)->Write(samples, frames);
}
