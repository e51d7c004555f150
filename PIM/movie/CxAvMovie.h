#pragma once
// One movie decoded with FFmpeg: any container and codec it knows, read
// through the engine's file systems (zips included), found by content rather
// than by name. The drivers of the movie registry are thin layers over it.
//
// Opening scans the file once: the video packets are counted (containers
// rarely know their exact frame count) and their times kept, so that frame
// numbers, frame times and seeking are exact; the chosen sound track is
// decoded in the same pass into one block of 16-bit samples that a mixer
// voice plays. Everything a hostile file could stretch is bounded: the
// probe, the stream analysis, the time every call may take (the read
// callback gives up past it), the frame count, the picture size and the
// sound length.

#include "PIM/core/CxError.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxFile.h"

#include <cstddef>
#include <cstdint>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVIOContext;
struct AVPacket;
struct SwsContext;
class CxDrawSurface;
class CxMixer;

// What DecodeNext answers: the render answers of CxMovieDriver.h.
enum class EAvDecode
{
    Decoded, // a frame is ready for CopyTo
    Skipped, // the frame could not be decoded; the position moved on anyway
};

class CxAvMovie
{
public:
    CxAvMovie() = default;
    ~CxAvMovie();
    CxAvMovie(const CxAvMovie&) = delete;
    CxAvMovie& operator=(const CxAvMovie&) = delete;

    // Open flag: read the whole file into memory first (as the driver flag).
    static constexpr uint32_t kPreload = 0x1;
    static constexpr int32_t kMaxDimension = 8192;
    static constexpr int32_t kMaxFrames = 1000000;

    // `soundTrack`: the audio stream (0 = the first) to decode for Play, or
    // -1 for none; a number beyond the movie's tracks takes the first.
    // PIM_OK, or an error code: 2 (not found or cannot be read; the file
    // layer reports that), 10 (not a movie, or none it can decode), 5 (out
    // of time, or damaged past use), 1. The drivers word their own message.
    int Open(const char* fileName, uint32_t flags, int soundTrack);
    void Close();
    bool IsOpen() const { return m_format != nullptr; }

    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    int32_t GetFrameCount() const { return m_frameCount; }
    double GetFramesPerSecond() const { return m_fps; }
    bool HasAlpha() const { return m_alpha; }
    // The stream is paletted: 8-bit surfaces take its indices and palette.
    bool IsPaletted() const { return m_paletted; }
    int GetSoundTrackCount() const { return m_audioStreamCount; }
    bool HasSound() const { return m_soundFrames > 0; }
    // Milliseconds from the first frame to frame `index` (clamped).
    uint32_t GetFrameTime(int32_t index) const;

    // The next DecodeNext gives frame `index` (clamped to the movie).
    int GotoFrame(int32_t index);
    // The number of the last frame decoded, from 1; 0 when none.
    int32_t GetLastFrame() const { return m_lastFrame; }
    // The frame the next DecodeNext gives.
    int32_t GetNextFrame() const { return m_nextFrame; }
    // Decodes the next frame. After the last frame the movie starts again at
    // the first.
    EAvDecode DecodeNext();

    // True when `depth` and `layout` (resolved) are a format CopyTo writes
    // for this movie.
    bool CanCopyTo(int depth, uint8_t layout) const;
    // Converts the frame last decoded into `surface` at (x, y), clipped; an
    // 8-bit surface of a paletted movie also receives the frame's palette.
    // PIM_OK, 13 for a format CopyTo cannot write, 5 with nothing decoded.
    int CopyTo(CxDrawSurface& surface, int32_t x, int32_t y);

    // --- timing on PimGetTicks -----------------------------------------------------------------
    // Timed playback starts (again) with the next frame due now.
    void RestartClock();
    void StopClock() { m_clockRunning = false; }
    bool IsClockRunning() const { return m_clockRunning; }
    // True when the next frame is due (always when the clock is not running).
    bool IsFrameDue() const;
    // Pause and resume shift the clock so no frame is owed for the pause.
    void PauseClock();
    void ResumeClock();

    // --- sound ------------------------------------------------------------------------------------
    // Starts the sound at the time of the next frame (no mixer or no sound:
    // nothing). Restart the clock with it so both keep together.
    void StartSound();
    void StopSound();
    void PauseSound();
    void ResumeSound();
    // 0..127.
    void SetSoundVolume(int volume);
    bool IsSoundPlaying() const;

    // The time an open may take, in milliseconds of real time (a decode
    // gets a quarter of it); the fuzzer shortens it. 0 restores the default
    // of 10 s.
    static void SetTimeBudget(uint32_t milliseconds);

private:
    struct ST_FRAME_ENTRY
    {
        int64_t timestamp;
        bool key;
    };

    static int ReadPacket(void* opaque, uint8_t* buffer, int size);
    static int64_t SeekStream(void* opaque, int64_t offset, int whence);
    static int Interrupt(void* opaque);

    int OpenInput(const char* fileName, uint32_t flags);
    int OpenVideo();
    int OpenSound(int soundTrack);
    int ScanPackets();
    int AddFrameEntry(const AVPacket& packet);
    int BuildFrameTimes();
    int DecodeSoundPacket(const AVPacket* packet);
    int AppendSound(const uint8_t* const* input, int count);
    int SeekToKey(int32_t index);
    // Decodes up to the first frame at or after `target` into m_frame: its
    // index, or -1 when none came.
    int32_t ReceiveFrom(int32_t target);
    int32_t IndexOfTimestamp(int64_t timestamp) const;
    void StartBudget(bool opening);
    bool IsPastBudget() const;
    bool ReleaseVoiceIfStale();

    // Input.
    CxFile m_file;
    CxBuffer m_preloaded;
    int64_t m_memoryPosition = 0;
    AVIOContext* m_io = nullptr;
    AVFormatContext* m_format = nullptr;
    uint32_t m_budgetStart = 0; // system clock ticks
    uint32_t m_budget = 0;

    // Video.
    AVCodecContext* m_video = nullptr;
    int m_videoStream = -1;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_sws = nullptr;
    uint8_t* m_scratch = nullptr; // clipped copies convert through it
    size_t m_scratchSize = 0;
    bool m_haveFrame = false;
    bool m_drained = false; // the decoder has had its end-of-stream
    int32_t m_width = 0;
    int32_t m_height = 0;
    double m_fps = 0.0;
    bool m_alpha = false;
    bool m_paletted = false;
    int m_audioStreamCount = 0;

    // Frames: sorted timestamps and key flags, times in milliseconds.
    ST_FRAME_ENTRY* m_frames = nullptr;
    int32_t m_frameCapacity = 0;
    int32_t m_frameCount = 0;
    uint32_t* m_frameTimes = nullptr;
    int32_t m_nextFrame = 0;
    int32_t m_lastFrame = 0;
    int32_t m_predicted = 0; // index of the next frame out of the decoder
    int32_t m_pendingIndex = -1; // m_frame holds this frame, decoded early
    int64_t m_firstPacketPosition = -1;
    bool m_needSeek = true;

    // Timing.
    bool m_clockRunning = false;
    uint32_t m_clockBase = 0;
    uint32_t m_nextDue = 0;
    bool m_clockPaused = false;
    uint32_t m_pausedAt = 0;

    // Sound: the whole track, interleaved 16-bit.
    int m_soundStream = -1;
    AVCodecContext* m_audio = nullptr;
    struct SwrContext* m_swr = nullptr;
    int16_t* m_sound = nullptr;
    size_t m_soundFrames = 0;
    size_t m_soundCapacity = 0;
    uint16_t m_soundChannels = 0;
    uint32_t m_soundRate = 0;
    CxMixer* m_mixer = nullptr;
    int m_voice = 0;
    int m_volume = 127;
};
