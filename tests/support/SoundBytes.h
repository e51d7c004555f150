#pragma once
// Bytes of sound files for tests that play them.

#include "PIM/sound/PimWavFile.h"

#include <cstdint>
#include <string>
#include <vector>

// A 16-bit mono wave file at 22050 Hz of `ms` milliseconds of a square tone.
inline std::string SquareToneWave(int ms)
{
    std::vector<int16_t> samples(static_cast<size_t>(22050) * static_cast<size_t>(ms) / 1000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>((i / 25) % 2 ? 6000 : -6000);
    const std::vector<uint8_t> bytes = BuildPcmWav16(samples.data(), samples.size(), 1, 22050);
    return std::string(bytes.begin(), bytes.end());
}
