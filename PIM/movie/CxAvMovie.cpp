#include "PIM/movie/CxAvMovie.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/PimSound.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace {

constexpr int kIoBufferSize = 32768;
constexpr int64_t kProbeBytes = 1 << 20;
constexpr int64_t kMaxPreloadBytes = 256 << 20;
constexpr size_t kMaxSoundBytes = 64u << 20;
// A frame shown longer than this is a broken timestamp, not a pause.
constexpr double kMaxFrameGapMs = 10000.0;
constexpr uint32_t kDefaultBudgetMs = 10000;
// Packets one decode may read before it gives the frame up.
constexpr int kMaxPacketsPerFrame = 100000;

uint32_t g_budgetMs = kDefaultBudgetMs;

// Decoding time is real time, whatever clock the game runs on: a headless
// run's virtual clock stands still while a frame decodes.
uint32_t NowMs()
{
    return PimSystemClock().GetTicks();
}

// Other files, other protocols: a movie is one file and nothing it names.
int RefuseIo(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**)
{
    return AVERROR(EPERM);
}

AVPixelFormat DestinationFormat(int depth, uint8_t layout)
{
    if (layout == PIM_LAYOUT_ARGB && depth == 32)
        return AV_PIX_FMT_BGRA;
    if (layout == PIM_LAYOUT_ARGB && depth == 24)
        return AV_PIX_FMT_BGR24;
    if (depth == 16 && layout == PIM_LAYOUT_565)
        return AV_PIX_FMT_RGB565LE;
    if (depth == 16 && layout == PIM_LAYOUT_555)
        return AV_PIX_FMT_RGB555LE;
    if (depth == 16 && layout == PIM_LAYOUT_BGR555)
        return AV_PIX_FMT_BGR555LE;
    return AV_PIX_FMT_NONE;
}

} // namespace

CxAvMovie::~CxAvMovie()
{
    Close();
}

void CxAvMovie::SetTimeBudget(uint32_t milliseconds)
{
    g_budgetMs = milliseconds ? milliseconds : kDefaultBudgetMs;
}

void CxAvMovie::StartBudget(bool opening)
{
    // Opening reads the whole file once; a frame must not stall the game
    // nearly as long.
    m_budgetStart = NowMs();
    m_budget = opening ? g_budgetMs : std::max<uint32_t>(g_budgetMs / 4, 1);
}

bool CxAvMovie::IsPastBudget() const
{
    // In 32 bits, so that the tick count may wrap during a decode.
    return NowMs() - m_budgetStart > m_budget;
}

// --- input --------------------------------------------------------------------------------------

int CxAvMovie::ReadPacket(void* opaque, uint8_t* buffer, int size)
{
    auto* self = static_cast<CxAvMovie*>(opaque);
    if (self->IsPastBudget())
        return AVERROR_EXIT;
    if (size <= 0)
        return 0;
    if (!self->m_preloaded.IsEmpty()) {
        const int64_t left = static_cast<int64_t>(self->m_preloaded.GetSize()) - self->m_memoryPosition;
        if (left <= 0)
            return AVERROR_EOF;
        const int count = static_cast<int>(std::min<int64_t>(left, size));
        std::memcpy(buffer, self->m_preloaded.GetData() + self->m_memoryPosition, static_cast<size_t>(count));
        self->m_memoryPosition += count;
        return count;
    }
    size_t got = 0;
    if (self->m_file.Read(buffer, static_cast<size_t>(size), &got) != PIM_OK)
        return AVERROR(EIO);
    return got ? static_cast<int>(got) : AVERROR_EOF;
}

int64_t CxAvMovie::SeekStream(void* opaque, int64_t offset, int whence)
{
    auto* self = static_cast<CxAvMovie*>(opaque);
    const bool memory = !self->m_preloaded.IsEmpty();
    const int64_t size = memory ? static_cast<int64_t>(self->m_preloaded.GetSize()) : self->m_file.Size();
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE)
        return size;
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = memory ? self->m_memoryPosition : self->m_file.Tell();
    else if (whence == SEEK_END)
        base = size;
    else if (whence != SEEK_SET)
        return AVERROR(EINVAL);
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0 || base + offset > size)
        return AVERROR(EINVAL);
    const int64_t target = base + offset;
    if (memory) {
        self->m_memoryPosition = target;
        return target;
    }
    if (self->m_file.Seek(target, 0) != PIM_OK)
        return AVERROR(EIO);
    return target;
}

int CxAvMovie::Interrupt(void* opaque)
{
    return static_cast<CxAvMovie*>(opaque)->IsPastBudget() ? 1 : 0;
}

int CxAvMovie::OpenInput(const char* fileName, uint32_t flags)
{
    if (m_file.Open(fileName, CBF_DEFAULT) != PIM_OK)
        return PIM_ERR_OPEN;
    if (flags & kPreload) {
        const int64_t size = m_file.Size();
        // A file too big to hold is streamed after all.
        if (size > 0 && size <= kMaxPreloadBytes) {
            if (!m_preloaded.Resize(static_cast<size_t>(size)))
                return PIM_ERR_OUT_OF_MEMORY;
            size_t got = 0;
            if (m_file.Read(m_preloaded.GetData(), static_cast<size_t>(size), &got) != PIM_OK ||
                got != static_cast<size_t>(size))
                return PIM_ERR_READ;
            m_memoryPosition = 0;
            m_file.Close();
        }
    }
    auto* ioBuffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    if (!ioBuffer)
        return PIM_ERR_OUT_OF_MEMORY;
    m_io = avio_alloc_context(ioBuffer, kIoBufferSize, 0, this, ReadPacket, nullptr, SeekStream);
    if (!m_io) {
        av_free(ioBuffer);
        return PIM_ERR_OUT_OF_MEMORY;
    }
    AVFormatContext* format = avformat_alloc_context();
    if (!format)
        return PIM_ERR_OUT_OF_MEMORY;
    format->pb = m_io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->probesize = kProbeBytes;
    format->format_probesize = static_cast<int>(kProbeBytes);
    format->max_analyze_duration = 2 * static_cast<int64_t>(AV_TIME_BASE);
    format->max_streams = 64;
    format->interrupt_callback.callback = Interrupt;
    format->interrupt_callback.opaque = this;
    format->io_open = RefuseIo;
    // No name: the content alone decides the format. On failure the
    // context is freed by the call.
    if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0)
        return PIM_ERR_FILE_TYPE;
    m_format = format;
    if (avformat_find_stream_info(m_format, nullptr) < 0)
        return PIM_ERR_FILE_TYPE;
    return PIM_OK;
}

int CxAvMovie::OpenVideo()
{
    const AVCodec* codec = nullptr;
    m_videoStream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (m_videoStream < 0 || !codec)
        return PIM_ERR_FILE_TYPE;
    const AVCodecParameters* parameters = m_format->streams[m_videoStream]->codecpar;
    if (parameters->width < 1 || parameters->height < 1 || parameters->width > kMaxDimension ||
        parameters->height > kMaxDimension)
        return PIM_ERR_FILE_TYPE;
    m_video = avcodec_alloc_context3(codec);
    if (!m_video)
        return PIM_ERR_OUT_OF_MEMORY;
    if (avcodec_parameters_to_context(m_video, parameters) < 0)
        return PIM_ERR_FILE_TYPE;
    // Frames come out in the order they go in: threads that hold frames back
    // would blur which frame a decode gives.
    m_video->thread_count = 1;
    m_video->max_pixels = static_cast<int64_t>(kMaxDimension) * kMaxDimension;
    if (avcodec_open2(m_video, codec, nullptr) < 0)
        return PIM_ERR_FILE_TYPE;
    m_width = parameters->width;
    m_height = parameters->height;
    const auto format = static_cast<AVPixelFormat>(parameters->format);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    m_alpha = descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA) && format != AV_PIX_FMT_PAL8;
    m_paletted = format == AV_PIX_FMT_PAL8;
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (!m_frame || !m_packet)
        return PIM_ERR_OUT_OF_MEMORY;
    return PIM_OK;
}

int CxAvMovie::OpenSound(int soundTrack)
{
    int first = -1;
    int chosen = -1;
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        AVStream* stream = m_format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) {
            if (static_cast<int>(i) != m_videoStream)
                stream->discard = AVDISCARD_ALL;
            continue;
        }
        if (first < 0)
            first = static_cast<int>(i);
        if (m_audioStreamCount == soundTrack)
            chosen = static_cast<int>(i);
        ++m_audioStreamCount;
    }
    if (soundTrack < 0 || first < 0)
        return PIM_OK;
    m_soundStream = chosen >= 0 ? chosen : first;
    const AVCodecParameters* parameters = m_format->streams[m_soundStream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    m_audio = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!m_audio || avcodec_parameters_to_context(m_audio, parameters) < 0 ||
        avcodec_open2(m_audio, codec, nullptr) < 0) {
        // A movie with a sound it cannot decode still shows its pictures.
        avcodec_free_context(&m_audio);
        m_soundStream = -1;
    }
    return PIM_OK;
}

// --- the scan at open ----------------------------------------------------------------------------

int CxAvMovie::AddFrameEntry(const AVPacket& packet)
{
    if (m_frameCount >= kMaxFrames)
        return PIM_OK;
    if (m_frameCount == 0)
        m_firstPacketPosition = packet.pos;
    if (m_frameCount == m_frameCapacity) {
        const int32_t capacity = m_frameCapacity ? m_frameCapacity * 2 : 256;
        void* grown = Reallocate(m_frames, static_cast<size_t>(capacity) * sizeof(ST_FRAME_ENTRY));
        if (!grown)
            return PIM_ERR_OUT_OF_MEMORY;
        m_frames = static_cast<ST_FRAME_ENTRY*>(grown);
        m_frameCapacity = capacity;
    }
    int64_t timestamp = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    if (timestamp == AV_NOPTS_VALUE)
        timestamp = m_frameCount ? m_frames[m_frameCount - 1].timestamp + 1 : 0;
    m_frames[m_frameCount++] = {timestamp, (packet.flags & AV_PKT_FLAG_KEY) != 0};
    return PIM_OK;
}

int CxAvMovie::AppendSound(const uint8_t* const* input, int count)
{
    const int room = swr_get_out_samples(m_swr, count);
    if (room <= 0)
        return PIM_OK;
    const size_t frameBytes = sizeof(int16_t) * m_soundChannels;
    if ((m_soundFrames + static_cast<size_t>(room)) * frameBytes > kMaxSoundBytes)
        return PIM_OK; // the rest of an endless track stays silent
    if (m_soundFrames + static_cast<size_t>(room) > m_soundCapacity) {
        const size_t capacity = std::max(m_soundCapacity * 2, m_soundFrames + static_cast<size_t>(room) + 4096);
        void* grown = Reallocate(m_sound, capacity * frameBytes);
        if (!grown)
            return PIM_ERR_OUT_OF_MEMORY;
        m_sound = static_cast<int16_t*>(grown);
        m_soundCapacity = capacity;
    }
    auto* out = reinterpret_cast<uint8_t*>(m_sound + m_soundFrames * m_soundChannels);
    const int got = swr_convert(m_swr, &out, room, const_cast<const uint8_t**>(input), count);
    if (got > 0)
        m_soundFrames += static_cast<size_t>(got);
    return PIM_OK;
}

int CxAvMovie::DecodeSoundPacket(const AVPacket* packet)
{
    if (!m_audio)
        return PIM_OK;
    if (avcodec_send_packet(m_audio, packet) < 0 && packet)
        return PIM_OK; // a broken packet is a moment of silence
    while (avcodec_receive_frame(m_audio, m_frame) == 0) {
        AVFrame* frame = m_frame;
        const int channels = frame->ch_layout.nb_channels;
        if (!m_swr) {
            if (frame->sample_rate < 1 || frame->sample_rate > static_cast<int>(CxMixer::kMaxSourceRate) ||
                channels < 1)
                continue;
            m_soundChannels = channels >= 2 ? 2 : 1;
            m_soundRate = static_cast<uint32_t>(frame->sample_rate);
            AVChannelLayout outLayout;
            av_channel_layout_default(&outLayout, m_soundChannels);
            if (swr_alloc_set_opts2(&m_swr, &outLayout, AV_SAMPLE_FMT_S16, frame->sample_rate, &frame->ch_layout,
                                    static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr) < 0 ||
                swr_init(m_swr) < 0) {
                swr_free(&m_swr);
                av_frame_unref(frame);
                return PIM_OK;
            }
        } else if (frame->sample_rate != static_cast<int>(m_soundRate) || channels < 1) {
            av_frame_unref(frame);
            continue; // a change of format mid-track is not followed
        }
        const int error = AppendSound(frame->extended_data, frame->nb_samples);
        av_frame_unref(frame);
        if (error)
            return error;
    }
    return PIM_OK;
}

int CxAvMovie::ScanPackets()
{
    int result = 0;
    while ((result = av_read_frame(m_format, m_packet)) >= 0) {
        int error = PIM_OK;
        if (m_packet->stream_index == m_videoStream)
            error = AddFrameEntry(*m_packet);
        else if (m_packet->stream_index == m_soundStream)
            error = DecodeSoundPacket(m_packet);
        av_packet_unref(m_packet);
        if (error)
            return error;
    }
    // Out of time is a failure; a read error ends the movie where it broke.
    if (result == AVERROR_EXIT || IsPastBudget())
        return PIM_ERR_READ;
    if (m_soundStream >= 0) {
        DecodeSoundPacket(nullptr);
        if (m_swr)
            AppendSound(nullptr, 0);
    }
    // The sound is whole: its decoder is not needed again, and playing
    // reads the pictures alone.
    avcodec_free_context(&m_audio);
    swr_free(&m_swr);
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (static_cast<int>(i) != m_videoStream)
            m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    return m_frameCount > 0 ? PIM_OK : PIM_ERR_FILE_TYPE;
}

int CxAvMovie::BuildFrameTimes()
{
    // Decode order is not display order: frame numbers follow the times.
    std::stable_sort(m_frames, m_frames + m_frameCount,
                     [](const ST_FRAME_ENTRY& a, const ST_FRAME_ENTRY& b) { return a.timestamp < b.timestamp; });
    m_frames[0].key = true; // the start is where any decode can begin
    m_frameTimes = static_cast<uint32_t*>(Allocate(sizeof(uint32_t) * static_cast<size_t>(m_frameCount), __FILE__,
                                                   __LINE__, false));
    if (!m_frameTimes)
        return PIM_ERR_OUT_OF_MEMORY;
    const AVStream* stream = m_format->streams[m_videoStream];
    const AVRational rate = stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0 ? stream->avg_frame_rate
                                                                                          : stream->r_frame_rate;
    const double nominalFps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    const double unit = stream->time_base.num > 0 && stream->time_base.den > 0
                            ? 1000.0 * stream->time_base.num / stream->time_base.den
                            : 0.0;
    double time = 0.0;
    m_frameTimes[0] = 0;
    for (int32_t i = 1; i < m_frameCount; ++i) {
        double gap = (static_cast<double>(m_frames[i].timestamp) - static_cast<double>(m_frames[i - 1].timestamp)) *
                     unit;
        if (!(gap >= 0.0))
            gap = 0.0;
        time += std::min(gap, kMaxFrameGapMs);
        m_frameTimes[i] = static_cast<uint32_t>(std::min(time, 4.0e9));
    }
    // Without usable times the nominal rate paces the movie.
    if (m_frameCount > 1 && m_frameTimes[m_frameCount - 1] == 0) {
        const double step = 1000.0 / (nominalFps > 0.0 && nominalFps <= 1000.0 ? nominalFps : 15.0);
        for (int32_t i = 0; i < m_frameCount; ++i)
            m_frameTimes[i] = static_cast<uint32_t>(std::min(i * step, 4.0e9));
    }
    if (nominalFps > 0.0 && nominalFps <= 1000.0)
        m_fps = nominalFps;
    else if (m_frameCount > 1)
        m_fps = 1000.0 * (m_frameCount - 1) / m_frameTimes[m_frameCount - 1];
    else
        m_fps = 15.0;
    return PIM_OK;
}

int CxAvMovie::Open(const char* fileName, uint32_t flags, int soundTrack)
{
    Close();
    if (!fileName || !*fileName)
        return PIM_ERR_BAD_ARG;
    // Damaged movies are answered with codes; the library's own complaints
    // about them would only flood the console.
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    (void)quiet;
    StartBudget(true);
    int error = OpenInput(fileName, flags);
    if (!error)
        error = OpenVideo();
    if (!error)
        error = OpenSound(soundTrack);
    if (!error)
        error = ScanPackets();
    if (!error)
        error = BuildFrameTimes();
    if (error) {
        Close();
        return error;
    }
    m_nextFrame = 0;
    m_needSeek = true;
    return PIM_OK;
}

void CxAvMovie::Close()
{
    StopSound();
    avcodec_free_context(&m_video);
    avcodec_free_context(&m_audio);
    swr_free(&m_swr);
    sws_freeContext(m_sws);
    m_sws = nullptr;
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    if (m_format)
        avformat_close_input(&m_format);
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
    m_file.Close();
    m_file.ClearError();
    m_preloaded.Release();
    m_memoryPosition = 0;
    Free(m_frames);
    m_frames = nullptr;
    Free(m_frameTimes);
    m_frameTimes = nullptr;
    Free(m_scratch);
    m_scratch = nullptr;
    Free(m_sound);
    m_sound = nullptr;
    m_scratchSize = m_soundFrames = m_soundCapacity = 0;
    m_frameCapacity = m_frameCount = 0;
    m_videoStream = m_soundStream = -1;
    m_width = m_height = 0;
    m_fps = 0.0;
    m_alpha = m_paletted = m_haveFrame = m_drained = false;
    m_audioStreamCount = 0;
    m_nextFrame = m_lastFrame = m_predicted = 0;
    m_pendingIndex = -1;
    m_firstPacketPosition = -1;
    m_needSeek = true;
    m_clockRunning = m_clockPaused = false;
    m_soundChannels = 0;
    m_soundRate = 0;
}

// --- frames ----------------------------------------------------------------------------------

uint32_t CxAvMovie::GetFrameTime(int32_t index) const
{
    if (m_frameCount <= 0 || !m_frameTimes)
        return 0;
    return m_frameTimes[std::clamp(index, 0, m_frameCount - 1)];
}

int32_t CxAvMovie::IndexOfTimestamp(int64_t timestamp) const
{
    if (timestamp == AV_NOPTS_VALUE)
        return -1;
    const ST_FRAME_ENTRY* begin = m_frames;
    const ST_FRAME_ENTRY* end = m_frames + m_frameCount;
    const ST_FRAME_ENTRY* found = std::lower_bound(
        begin, end, timestamp, [](const ST_FRAME_ENTRY& entry, int64_t value) { return entry.timestamp < value; });
    if (found == end || found->timestamp != timestamp)
        return -1;
    // A time that several frames share names none of them.
    if (found + 1 != end && found[1].timestamp == timestamp)
        return -1;
    return static_cast<int32_t>(found - begin);
}

int CxAvMovie::GotoFrame(int32_t index)
{
    if (!IsOpen())
        return PIM_ERR_BAD_ARG;
    index = std::clamp(index, 0, m_frameCount - 1);
    m_clockRunning = false;
    if (!m_needSeek && index >= m_predicted) {
        // Decoding forward is enough when no key frame lies on the way.
        int32_t key = index;
        while (key > m_predicted && !m_frames[key].key)
            --key;
        if (key == m_predicted) {
            m_nextFrame = index;
            return PIM_OK;
        }
    }
    m_nextFrame = index;
    m_needSeek = true;
    return PIM_OK;
}

int CxAvMovie::SeekToKey(int32_t index)
{
    int32_t key = index;
    while (key > 0 && !m_frames[key].key)
        --key;
    avcodec_flush_buffers(m_video);
    m_drained = false;
    const int64_t timestamp = m_frames[key].timestamp;
    if (av_seek_frame(m_format, m_videoStream, timestamp, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(m_format, m_videoStream, INT64_MIN, timestamp, timestamp, 0) < 0) {
        // Containers without an index can still go back to where the
        // pictures began.
        if (key != 0 || m_firstPacketPosition < 0 ||
            av_seek_frame(m_format, m_videoStream, m_firstPacketPosition, AVSEEK_FLAG_BYTE) < 0)
            return PIM_ERR_SEEK;
    }
    m_predicted = key;
    m_needSeek = false;
    return PIM_OK;
}

int32_t CxAvMovie::ReceiveFrom(int32_t target)
{
    for (int packets = 0; packets < kMaxPacketsPerFrame;) {
        const int received = avcodec_receive_frame(m_video, m_frame);
        if (received == 0) {
            int32_t index = IndexOfTimestamp(m_frame->best_effort_timestamp);
            if (index < 0)
                index = m_predicted;
            m_predicted = index + 1;
            if (index >= target)
                return index;
            av_frame_unref(m_frame); // on the way from a key frame
            continue;
        }
        if (received != AVERROR(EAGAIN) || IsPastBudget())
            return -1;
        if (av_read_frame(m_format, m_packet) < 0) {
            if (m_drained)
                return -1;
            // The frames the decoder still holds come out after this.
            avcodec_send_packet(m_video, nullptr);
            m_drained = true;
            continue;
        }
        ++packets;
        if (m_packet->stream_index == m_videoStream)
            avcodec_send_packet(m_video, m_packet); // a broken packet only loses its frame
        av_packet_unref(m_packet);
    }
    return -1;
}

EAvDecode CxAvMovie::DecodeNext()
{
    if (!IsOpen())
        return EAvDecode::Skipped;
    StartBudget(false);
    if (m_nextFrame >= m_frameCount) {
        // After the last frame the first: a looping movie starts again,
        // its sound with it.
        m_nextFrame = 0;
        m_needSeek = true;
        if (m_clockRunning)
            m_clockBase = m_nextDue;
        if (m_voice)
            StartSound();
    }
    const int32_t target = m_nextFrame;
    if (m_needSeek || m_pendingIndex < target)
        m_pendingIndex = -1;
    if (m_pendingIndex < 0) {
        if (m_needSeek && SeekToKey(target) != PIM_OK)
            m_pendingIndex = -1;
        else
            m_pendingIndex = ReceiveFrom(target);
        if (m_pendingIndex < 0)
            m_needSeek = true; // where the decoder stands is anyone's guess
    }
    // A frame the decoder lost is answered as skipped; a later frame that
    // came instead waits for its own turn, so every call moves one frame on.
    const bool decoded = m_pendingIndex == target;
    if (decoded)
        m_pendingIndex = -1;
    m_haveFrame = decoded;
    m_lastFrame = target + 1;
    m_nextFrame = target + 1;
    if (m_clockRunning) {
        m_nextDue = m_nextFrame < m_frameCount
                        ? m_clockBase + GetFrameTime(m_nextFrame)
                        : m_clockBase + GetFrameTime(m_frameCount - 1) +
                              static_cast<uint32_t>(std::min(1000.0 / m_fps, kMaxFrameGapMs));
    }
    return decoded ? EAvDecode::Decoded : EAvDecode::Skipped;
}

// --- conversion --------------------------------------------------------------------------------

bool CxAvMovie::CanCopyTo(int depth, uint8_t layout) const
{
    layout = ResolveLayout(layout, depth);
    if (depth == 8)
        return m_paletted && layout == PIM_LAYOUT_INDEXED;
    return DestinationFormat(depth, layout) != AV_PIX_FMT_NONE;
}

int CxAvMovie::CopyTo(CxDrawSurface& surface, int32_t x, int32_t y)
{
    if (!m_haveFrame)
        return PIM_ERR_READ;
    const int depth = surface.GetDepth();
    if (!CanCopyTo(depth, surface.GetPixelLayout()))
        return PIM_ERR_UNKNOWN;
    const AVFrame* frame = m_frame;
    if (frame->width < 1 || frame->height < 1 || frame->width > kMaxDimension || frame->height > kMaxDimension)
        return PIM_ERR_READ;
    // The part of the surface the movie covers.
    const int32_t left = std::max(x, 0), top = std::max(y, 0);
    const int32_t right = std::min<int64_t>(static_cast<int64_t>(x) + m_width, surface.GetWidth());
    const int32_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + m_height, surface.GetHeight());
    if (left >= right || top >= bottom)
        return PIM_OK;
    uint8_t* bits = surface.LockBits();
    if (!bits)
        return surface.GetError() ? surface.GetError() : PIM_ERR_OUT_OF_MEMORY;
    const int32_t pitch = surface.GetPitch();
    const int bytes = depth / 8;
    int result = PIM_OK;
    if (depth == 8) {
        if (frame->format != AV_PIX_FMT_PAL8) {
            result = PIM_ERR_READ;
        } else {
            const int32_t rows = std::min(bottom, y + frame->height), columns = std::min(right, x + frame->width);
            for (int32_t row = top; row < rows && left < columns; ++row)
                std::memcpy(bits + static_cast<ptrdiff_t>(row) * pitch + left,
                            frame->data[0] + static_cast<ptrdiff_t>(row - y) * frame->linesize[0] + (left - x),
                            static_cast<size_t>(columns - left));
            uint8_t palette[768];
            const auto* entries = reinterpret_cast<const uint32_t*>(frame->data[1]);
            for (int i = 0; i < 256; ++i) {
                palette[3 * i] = static_cast<uint8_t>(entries[i] >> 16);
                palette[3 * i + 1] = static_cast<uint8_t>(entries[i] >> 8);
                palette[3 * i + 2] = static_cast<uint8_t>(entries[i]);
            }
            surface.SetPalette(palette, sizeof palette);
        }
    } else {
        const AVPixelFormat destination = DestinationFormat(depth, surface.GetPixelLayout());
        m_sws = sws_getCachedContext(m_sws, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                     m_width, m_height, destination, SWS_POINT, nullptr, nullptr, nullptr);
        if (!m_sws) {
            result = PIM_ERR_UNKNOWN;
        } else if (left == x && top == y && right - left == m_width && bottom - top == m_height) {
            // The whole frame lands on the surface: straight into its rows.
            uint8_t* planes[4] = {bits + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * bytes};
            const int pitches[4] = {pitch};
            if (sws_scale(m_sws, frame->data, frame->linesize, 0, frame->height, planes, pitches) <= 0)
                result = PIM_ERR_READ;
        } else {
            // Partly outside: through a buffer kept for the purpose.
            const size_t rowBytes = static_cast<size_t>(m_width) * static_cast<size_t>(bytes);
            const size_t needed = rowBytes * static_cast<size_t>(m_height);
            if (needed > m_scratchSize) {
                Free(m_scratch);
                m_scratch = static_cast<uint8_t*>(Allocate(needed, __FILE__, __LINE__, false));
                m_scratchSize = m_scratch ? needed : 0;
            }
            uint8_t* planes[4] = {m_scratch};
            const int pitches[4] = {static_cast<int>(rowBytes)};
            if (!m_scratch) {
                result = PIM_ERR_OUT_OF_MEMORY;
            } else if (sws_scale(m_sws, frame->data, frame->linesize, 0, frame->height, planes, pitches) <= 0) {
                result = PIM_ERR_READ;
            } else {
                for (int32_t row = top; row < bottom; ++row)
                    std::memcpy(bits + static_cast<ptrdiff_t>(row) * pitch + static_cast<ptrdiff_t>(left) * bytes,
                                m_scratch + static_cast<size_t>(row - y) * rowBytes +
                                    static_cast<size_t>(left - x) * bytes,
                                static_cast<size_t>(right - left) * bytes);
            }
        }
    }
    surface.UnlockBits();
    return result;
}

// --- timing ------------------------------------------------------------------------------------

void CxAvMovie::RestartClock()
{
    const uint32_t now = PimGetTicks();
    m_clockBase = now - GetFrameTime(m_nextFrame < m_frameCount ? m_nextFrame : 0);
    m_nextDue = now;
    m_clockRunning = true;
    m_clockPaused = false;
}

bool CxAvMovie::IsFrameDue() const
{
    if (m_clockPaused)
        return false;
    return !m_clockRunning || static_cast<int32_t>(PimGetTicks() - m_nextDue) >= 0;
}

void CxAvMovie::PauseClock()
{
    if (m_clockPaused)
        return;
    m_clockPaused = true;
    m_pausedAt = PimGetTicks();
}

void CxAvMovie::ResumeClock()
{
    if (!m_clockPaused)
        return;
    m_clockPaused = false;
    const uint32_t paused = PimGetTicks() - m_pausedAt;
    m_clockBase += paused;
    m_nextDue += paused;
}

// --- sound -------------------------------------------------------------------------------------

bool CxAvMovie::ReleaseVoiceIfStale()
{
    // The sound system may have been shut down (and its mixer with it).
    if (m_voice && GetSoundMixer() != m_mixer) {
        m_voice = 0;
        m_mixer = nullptr;
    }
    return m_voice != 0;
}

void CxAvMovie::StartSound()
{
    StopSound();
    CxMixer* mixer = GetSoundMixer();
    if (!mixer || !m_sound || !m_soundFrames)
        return;
    const int32_t frame = m_nextFrame < m_frameCount ? m_nextFrame : 0;
    const size_t offset = static_cast<size_t>(static_cast<uint64_t>(GetFrameTime(frame)) * m_soundRate / 1000);
    if (offset >= m_soundFrames)
        return;
    const int voice = mixer->AllocateVoice();
    if (!voice)
        return;
    if (mixer->SetVoiceData(voice, m_sound + offset * m_soundChannels, m_soundFrames - offset, m_soundChannels,
                            m_soundRate) != PIM_OK) {
        mixer->ReleaseVoice(voice);
        return;
    }
    m_mixer = mixer;
    m_voice = voice;
    SetSoundVolume(m_volume);
    mixer->Start(voice);
}

void CxAvMovie::StopSound()
{
    if (ReleaseVoiceIfStale())
        m_mixer->ReleaseVoice(m_voice);
    m_voice = 0;
    m_mixer = nullptr;
}

void CxAvMovie::PauseSound()
{
    if (ReleaseVoiceIfStale())
        m_mixer->Stop(m_voice);
}

void CxAvMovie::ResumeSound()
{
    if (ReleaseVoiceIfStale())
        m_mixer->Resume(m_voice);
}

void CxAvMovie::SetSoundVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 127);
    if (ReleaseVoiceIfStale()) {
        const float level = static_cast<float>(m_volume) / 127.0f;
        m_mixer->SetVolume(m_voice, level, level);
    }
}

bool CxAvMovie::IsSoundPlaying() const
{
    return m_voice && GetSoundMixer() == m_mixer && m_mixer->GetStatus(m_voice) == EVoiceStatus::Playing;
}
