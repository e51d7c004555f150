#pragma once
// Lip sync's loudness envelope: the samples of a sound reduced to one mouth
// frame per 100 milliseconds. A pure function of the samples, so that a
// talking mouth, a data checker and the tests compute the same frames.
//
// Each 100 ms window (rate / 10 frames of sound) gets its mean loudness:
// |s| for signed 16-bit samples, |b - 128| for unsigned 8-bit ones, and for
// stereo (any channel count) the louder channel of each sound frame, so that
// windows count time, not samples. The windows' values are scaled between
// the quietest and the loudest: step = (highest - lowest + 1) / frames (1
// when that is 0), value = (mean - lowest) / step, and never above frames - 1,
// so that the loudest window shows the widest mouth. The quietest starts at
// 255 and the loudest at 0, and a trailing part shorter than a window stores
// nothing: the envelope has (sound frames / window) + 1 entries and its last
// one is 0.

#include "PIM/core/CxArray.h"
#include "PIM/sound/PimWaveFormat.h"

#include <cstdint>

constexpr uint32_t DAX_LIP_WINDOW_MS = 100;

struct ST_LIP_ENVELOPE
{
    // The mouth frame of each window, 0 .. frames - 1.
    CxArray<uint32_t> frames;
    // The quietest and the loudest window's mean loudness (what the frames
    // were scaled between); 100 and 128 before any sound.
    uint32_t lowest = 100;
    uint32_t highest = 128;
};

// Fills `out` for the samples `wave` describes (only `data`, `dataBytes`,
// `samples`, `rate`, `bits` and `channels` are read; no byte past `data` +
// `dataBytes` is touched) and a mouth of `frames` frames (below 1 counts as
// 1). PIM_OK; 13 with no envelope for sound it cannot read (a rate below
// 10 Hz, a depth other than 8 or 16 bits, no channels); 1 with no envelope
// when memory for it ran out. Nothing is reported.
int PrepareWave(const ST_WAVE_INFO& wave, int frames, ST_LIP_ENVELOPE& out);
