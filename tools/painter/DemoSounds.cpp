#include "tools/painter/DemoSounds.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/sound/PimWavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;

const char* const kSounds[] = {
    "common/chime.wav", // 0.9 s, mono: two soft bell notes, the title's greeting
    nullptr,
};

// A bell-like note added into `out` from `start` seconds: a fundamental and
// two quieter partials, each fading away at its own pace.
void AddBell(std::vector<double>& out, double start, double hertz, double level)
{
    constexpr double kPi = 3.14159265358979323846;
    const size_t first = static_cast<size_t>(start * kRate);
    for (size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / kRate;
        // A few milliseconds of attack keep the note from clicking.
        const double attack = std::min(1.0, t / 0.004);
        const double tone = std::sin(2 * kPi * hertz * t) * std::exp(-t * 4.0) +
                            0.35 * std::sin(2 * kPi * hertz * 2.0 * t) * std::exp(-t * 7.0) +
                            0.15 * std::sin(2 * kPi * hertz * 3.01 * t) * std::exp(-t * 11.0);
        out[i] += level * attack * tone;
    }
}

std::vector<int16_t> Chime()
{
    std::vector<double> mix(kRate * 9 / 10, 0.0);
    AddBell(mix, 0.0, 659.25, 0.45); // E5
    AddBell(mix, 0.22, 523.25, 0.45); // C5
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        samples[i] = static_cast<int16_t>(std::lround(std::clamp(mix[i], -1.0, 1.0) * 32767.0));
    return samples;
}

} // namespace

const char* const* GetDemoSoundNames()
{
    return kSounds;
}

int MakeDemoSounds(const char* dataFolder, bool verbose)
{
    using Maker = std::vector<int16_t> (*)();
    const Maker makers[] = {&Chime};
    int result = PIM_OK;
    for (size_t i = 0; kSounds[i]; ++i) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / kSounds[i];
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        const std::vector<int16_t> samples = makers[i]();
        const std::string target = "<DEFAULT>" + path.string();
        const int code = WritePcmWav16(target.c_str(), samples.data(), samples.size(), 1, kRate);
        if (code != PIM_OK && result == PIM_OK)
            result = code;
        if (verbose)
            Trace("%s %s\n", code == PIM_OK ? "made" : "FAILED", path.string().c_str());
    }
    return result;
}
