#pragma once
// Writes our own movies: lossless pictures (FFV1) and PCM sound tracks in a
// Matroska container, whatever the file is called - the players find the
// format by content, so "COMMON/FADE0.SMK" may well hold Matroska.
//
// Pictures stay exact through encoding: a frame painted in BGRA comes back
// from the decoder with the same bytes (alpha only when the movie has it),
// so tests can compare pixels one by one.

#include <cstdint>

struct ST_MOVIE_PLAN
{
    int32_t width = 0;
    int32_t height = 0;
    int frames = 0;
    int fps = 15;
    bool alpha = false;
    int soundRate = 0; // 0: no sound track
    int soundChannels = 1;
    int soundTracks = 1; // 1..2, each a tone of its own frequency
    // Fills a 32-bit BGRA frame (pitch = width * 4) for frame `frame`; null:
    // the default pattern (MoviePatternPixel).
    void (*paint)(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context) = nullptr;
    void* context = nullptr;
    // 8-bit frames in the fixed 3-3-2 palette (PNG pictures), as the
    // paletted movies of old; alpha is then ignored.
    bool paletted = false;
    // Pictures stored as 4:2:0 YUV, the way lossy movies keep them: not
    // exact, for measuring the common conversion path.
    bool yuv = false;
    // Sample `index` of sound track `track` (every channel the same); null:
    // the test tone of each track (MovieToneSample).
    int16_t (*sound)(int track, int64_t index, int rate, void* context) = nullptr;
};

// Writes the movie to `path` (a path of the operating system; the folder must
// exist). PIM_OK; 16 for a movie out of range (sizes 1..8192, frames 0..100000,
// fps 1..240, rate 0 or 1000..192000, 1..2 channels and tracks); 4 when the
// file cannot be made; 6 when writing fails; 13 when an encoder is missing.
int WriteMovie(const char* path, const ST_MOVIE_PLAN& movie);

// The default pattern, as 0xAARRGGBB. Red and blue carry the frame number
// (blue its low 5 bits, red the next 5), green a diagonal ramp, alpha a
// horizontal ramp (255 without alpha). Every channel is a multiple of 8 so
// the pattern survives conversion to 5-5-5 and 5-6-5 unchanged in meaning.
uint32_t MoviePatternPixel(int frame, int32_t x, int32_t y, bool alpha);
// The frame number a pattern pixel (0xAARRGGBB, or its 5-bit truncation
// widened back) encodes, 0..1023.
int MoviePatternFrame(uint32_t argb);
// The fixed palette of paletted movies: index = red 3 bits, green 3, blue 2
// (from the top); the colour of an index as 0xFFRRGGBB.
uint8_t MoviePaletteIndex(uint32_t argb);
uint32_t MoviePaletteColour(uint8_t index);
// The frequency in hertz of sound track `track` (0 or 1) and its sample
// `index` (per channel; all channels carry the same tone).
double MovieToneFrequency(int track);
int16_t MovieToneSample(int track, int64_t index, int rate);
