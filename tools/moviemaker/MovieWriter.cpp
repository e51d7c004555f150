#include "tools/moviemaker/MovieWriter.h"

#include "PIM/core/CxError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxTracks = 2;
constexpr double kPi = 3.14159265358979323846;

// One encoder and the stream it feeds.
struct ST_ENCODED_STREAM
{
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
};

// Everything one WriteMovie call holds, released in one place whatever
// path the call takes.
struct ST_WRITER
{
    AVFormatContext* format = nullptr;
    ST_ENCODED_STREAM video;
    ST_ENCODED_STREAM audio[kMaxTracks];
    int audioCount = 0;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* sws = nullptr;
    bool headerWritten = false;

    ~ST_WRITER()
    {
        if (format && headerWritten)
            av_write_trailer(format);
        avcodec_free_context(&video.codec);
        for (ST_ENCODED_STREAM& track : audio)
            avcodec_free_context(&track.codec);
        av_frame_free(&frame);
        av_packet_free(&packet);
        sws_freeContext(sws);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

bool IsWithinLimits(const ST_MOVIE_PLAN& movie)
{
    if (movie.width < 1 || movie.width > 8192 || movie.height < 1 || movie.height > 8192)
        return false;
    if (movie.frames < 0 || movie.frames > 100000 || movie.fps < 1 || movie.fps > 240)
        return false;
    if (movie.soundRate == 0)
        return true;
    return movie.soundRate >= 1000 && movie.soundRate <= 192000 && movie.soundChannels >= 1 &&
           movie.soundChannels <= 2 && movie.soundTracks >= 1 && movie.soundTracks <= kMaxTracks;
}

// Sends `frame` (null: flush) and writes every packet the encoder has ready.
int Encode(ST_WRITER& writer, ST_ENCODED_STREAM& target, AVFrame* frame)
{
    if (avcodec_send_frame(target.codec, frame) < 0)
        return PIM_ERR_WRITE;
    for (;;) {
        int result = avcodec_receive_packet(target.codec, writer.packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return PIM_OK;
        if (result < 0)
            return PIM_ERR_WRITE;
        av_packet_rescale_ts(writer.packet, target.codec->time_base, target.stream->time_base);
        writer.packet->stream_index = target.stream->index;
        if (av_interleaved_write_frame(writer.format, writer.packet) < 0)
            return PIM_ERR_WRITE;
    }
}

int AddVideo(ST_WRITER& writer, const ST_MOVIE_PLAN& movie)
{
    const AVCodec* codec = avcodec_find_encoder(movie.paletted ? AV_CODEC_ID_PNG : AV_CODEC_ID_FFV1);
    if (!codec)
        return PIM_ERR_UNKNOWN;
    writer.video.stream = avformat_new_stream(writer.format, nullptr);
    writer.video.codec = avcodec_alloc_context3(codec);
    if (!writer.video.stream || !writer.video.codec)
        return PIM_ERR_OUT_OF_MEMORY;
    AVCodecContext* c = writer.video.codec;
    c->width = movie.width;
    c->height = movie.height;
    // Byte order B, G, R, A in memory either way; without alpha the fourth
    // byte is not stored, so the decoder reports a picture without alpha.
    c->pix_fmt = movie.paletted ? AV_PIX_FMT_PAL8 : movie.alpha ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR0;
    if (movie.yuv && !movie.paletted && !movie.alpha)
        c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->time_base = AVRational{1, movie.fps};
    c->framerate = AVRational{movie.fps, 1};
    // A key frame every 12 frames: seeking then has frames to decode forward
    // through, as in movies made by other tools.
    c->gop_size = 12;
    if (writer.format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(c, codec, nullptr) < 0)
        return PIM_ERR_UNKNOWN;
    writer.video.stream->time_base = c->time_base;
    writer.video.stream->avg_frame_rate = c->framerate;
    if (avcodec_parameters_from_context(writer.video.stream->codecpar, c) < 0)
        return PIM_ERR_UNKNOWN;
    return PIM_OK;
}

int AddAudio(ST_WRITER& writer, const ST_MOVIE_PLAN& movie, int track)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!codec)
        return PIM_ERR_UNKNOWN;
    ST_ENCODED_STREAM& target = writer.audio[track];
    target.stream = avformat_new_stream(writer.format, nullptr);
    target.codec = avcodec_alloc_context3(codec);
    if (!target.stream || !target.codec)
        return PIM_ERR_OUT_OF_MEMORY;
    AVCodecContext* c = target.codec;
    c->sample_fmt = AV_SAMPLE_FMT_S16;
    c->sample_rate = movie.soundRate;
    av_channel_layout_default(&c->ch_layout, movie.soundChannels);
    c->time_base = AVRational{1, movie.soundRate};
    if (writer.format->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(c, codec, nullptr) < 0)
        return PIM_ERR_UNKNOWN;
    target.stream->time_base = c->time_base;
    if (avcodec_parameters_from_context(target.stream->codecpar, c) < 0)
        return PIM_ERR_UNKNOWN;
    ++writer.audioCount;
    return PIM_OK;
}

void PaintPattern(int frame, uint8_t* bgra, int32_t width, int32_t height, bool alpha)
{
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = bgra + static_cast<size_t>(y) * width * 4;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t pixel = MoviePatternPixel(frame, x, y, alpha);
            row[4 * x] = static_cast<uint8_t>(pixel);
            row[4 * x + 1] = static_cast<uint8_t>(pixel >> 8);
            row[4 * x + 2] = static_cast<uint8_t>(pixel >> 16);
            row[4 * x + 3] = static_cast<uint8_t>(pixel >> 24);
        }
    }
}

int WriteYuvFrame(ST_WRITER& writer, const ST_MOVIE_PLAN& movie, int index, const std::vector<uint8_t>& canvas)
{
    AVFrame* frame = writer.frame;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = movie.width;
    frame->height = movie.height;
    if (av_frame_get_buffer(frame, 0) < 0)
        return PIM_ERR_OUT_OF_MEMORY;
    writer.sws = sws_getCachedContext(writer.sws, movie.width, movie.height, AV_PIX_FMT_BGRA, movie.width,
                                      movie.height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!writer.sws)
        return PIM_ERR_UNKNOWN;
    const uint8_t* planes[1] = {canvas.data()};
    const int pitches[1] = {movie.width * 4};
    sws_scale(writer.sws, planes, pitches, 0, movie.height, frame->data, frame->linesize);
    frame->pts = index;
    return Encode(writer, writer.video, frame);
}

int WriteVideoFrame(ST_WRITER& writer, const ST_MOVIE_PLAN& movie, int index, std::vector<uint8_t>& canvas)
{
    if (movie.paint)
        movie.paint(index, canvas.data(), movie.width, movie.height, movie.context);
    else
        PaintPattern(index, canvas.data(), movie.width, movie.height, movie.alpha);
    AVFrame* frame = writer.frame;
    av_frame_unref(frame);
    if (writer.video.codec->pix_fmt == AV_PIX_FMT_YUV420P)
        return WriteYuvFrame(writer, movie, index, canvas);
    frame->format = writer.video.codec->pix_fmt;
    frame->width = movie.width;
    frame->height = movie.height;
    if (av_frame_get_buffer(frame, 0) < 0)
        return PIM_ERR_OUT_OF_MEMORY;
    const size_t rowBytes = static_cast<size_t>(movie.width) * 4;
    for (int32_t y = 0; y < movie.height; ++y) {
        uint8_t* row = frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0];
        const uint8_t* source = canvas.data() + y * rowBytes;
        if (!movie.paletted) {
            std::memcpy(row, source, rowBytes);
            continue;
        }
        for (int32_t x = 0; x < movie.width; ++x, source += 4)
            row[x] = MoviePaletteIndex(static_cast<uint32_t>(source[0]) | (static_cast<uint32_t>(source[1]) << 8) |
                                       (static_cast<uint32_t>(source[2]) << 16));
    }
    if (movie.paletted) {
        auto* palette = reinterpret_cast<uint32_t*>(frame->data[1]);
        for (int i = 0; i < 256; ++i)
            palette[i] = MoviePaletteColour(static_cast<uint8_t>(i));
    }
    frame->pts = index;
    return Encode(writer, writer.video, frame);
}

// Samples [first, last) of every track.
int WriteAudio(ST_WRITER& writer, const ST_MOVIE_PLAN& movie, int64_t first, int64_t last)
{
    for (int track = 0; track < writer.audioCount && first < last; ++track) {
        AVFrame* frame = writer.frame;
        av_frame_unref(frame);
        frame->format = AV_SAMPLE_FMT_S16;
        frame->sample_rate = movie.soundRate;
        frame->nb_samples = static_cast<int>(last - first);
        if (av_channel_layout_copy(&frame->ch_layout, &writer.audio[track].codec->ch_layout) < 0 ||
            av_frame_get_buffer(frame, 0) < 0)
            return PIM_ERR_OUT_OF_MEMORY;
        auto* out = reinterpret_cast<int16_t*>(frame->data[0]);
        for (int64_t i = first; i < last; ++i) {
            const int16_t sample = movie.sound ? movie.sound(track, i, movie.soundRate, movie.context)
                                               : MovieToneSample(track, i, movie.soundRate);
            for (int channel = 0; channel < movie.soundChannels; ++channel)
                *out++ = sample;
        }
        frame->pts = first;
        if (int error = Encode(writer, writer.audio[track], frame))
            return error;
    }
    return PIM_OK;
}

} // namespace

int WriteMovie(const char* path, const ST_MOVIE_PLAN& movie)
{
    if (!path || !*path || !IsWithinLimits(movie))
        return PIM_ERR_BAD_ARG;
    ST_WRITER writer;
    // Matroska by name of format, never by the file's extension.
    if (avformat_alloc_output_context2(&writer.format, nullptr, "matroska", path) < 0 || !writer.format)
        return PIM_ERR_UNKNOWN;
    writer.frame = av_frame_alloc();
    writer.packet = av_packet_alloc();
    if (!writer.frame || !writer.packet)
        return PIM_ERR_OUT_OF_MEMORY;
    if (int error = AddVideo(writer, movie))
        return error;
    for (int track = 0; movie.soundRate > 0 && track < movie.soundTracks; ++track) {
        if (int error = AddAudio(writer, movie, track))
            return error;
    }
    if (avio_open(&writer.format->pb, path, AVIO_FLAG_WRITE) < 0)
        return PIM_ERR_CREATE;
    if (avformat_write_header(writer.format, nullptr) < 0)
        return PIM_ERR_WRITE;
    writer.headerWritten = true;

    std::vector<uint8_t> canvas(static_cast<size_t>(movie.width) * movie.height * 4);
    int64_t samplesWritten = 0;
    for (int index = 0; index < movie.frames; ++index) {
        if (int error = WriteVideoFrame(writer, movie, index, canvas))
            return error;
        // The sound that plays while this frame shows.
        const int64_t soundEnd = static_cast<int64_t>(index + 1) * movie.soundRate / movie.fps;
        if (int error = WriteAudio(writer, movie, samplesWritten, soundEnd))
            return error;
        samplesWritten = soundEnd;
    }
    if (int error = Encode(writer, writer.video, nullptr))
        return error;
    for (int track = 0; track < writer.audioCount; ++track) {
        if (int error = Encode(writer, writer.audio[track], nullptr))
            return error;
    }
    writer.headerWritten = false;
    if (av_write_trailer(writer.format) < 0)
        return PIM_ERR_WRITE;
    if (avio_closep(&writer.format->pb) < 0)
        return PIM_ERR_WRITE;
    return PIM_OK;
}

uint32_t MoviePatternPixel(int frame, int32_t x, int32_t y, bool alpha)
{
    const uint32_t blue = (static_cast<uint32_t>(frame) & 31u) << 3;
    const uint32_t red = ((static_cast<uint32_t>(frame) >> 5) & 31u) << 3;
    const uint32_t green = (static_cast<uint32_t>(x + y) & 31u) << 3;
    const uint32_t a = alpha ? 0x80u + ((static_cast<uint32_t>(x) & 15u) << 3) : 0xFFu;
    return (a << 24) | (red << 16) | (green << 8) | blue;
}

int MoviePatternFrame(uint32_t argb)
{
    return static_cast<int>(((argb >> 19) & 31u) << 5 | ((argb >> 3) & 31u));
}

uint8_t MoviePaletteIndex(uint32_t argb)
{
    return static_cast<uint8_t>(((argb >> 16) & 0xE0u) | (((argb >> 8) & 0xE0u) >> 3) | ((argb & 0xFFu) >> 6));
}

uint32_t MoviePaletteColour(uint8_t index)
{
    const uint32_t red = index & 0xE0u, green = (index << 3) & 0xE0u, blue = (index << 6) & 0xC0u;
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

double MovieToneFrequency(int track)
{
    return track == 0 ? 440.0 : 1100.0;
}

int16_t MovieToneSample(int track, int64_t index, int rate)
{
    if (rate <= 0)
        return 0;
    const double phase = 2.0 * kPi * MovieToneFrequency(track) * static_cast<double>(index) / rate;
    return static_cast<int16_t>(std::lround(8000.0 * std::sin(phase)));
}
