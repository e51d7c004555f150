#include "tools/painter/DemoSounds.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/sound/PimWavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;

const char* const kSounds[] = {
    "common/chime.wav",  // 0.9 s, mono: two soft bell notes, the title's greeting
    "prop/chirp.wav",    // 0.5 s: the bluebird's two chirps
    "credits/music.wav", // 8 s: a music-box tune that loops under the credits
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

std::vector<int16_t> ToSamples(const std::vector<double>& mix)
{
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        samples[i] = static_cast<int16_t>(std::lround(std::clamp(mix[i], -1.0, 1.0) * 32767.0));
    return samples;
}

std::vector<int16_t> Chime()
{
    std::vector<double> mix(kRate * 9 / 10, 0.0);
    AddBell(mix, 0.0, 659.25, 0.45); // E5
    AddBell(mix, 0.22, 523.25, 0.45); // C5
    return ToSamples(mix);
}

// A bird's chirp: a quick upward sweep, twice.
std::vector<int16_t> Chirp()
{
    constexpr double kPi = 3.14159265358979323846;
    std::vector<double> mix(kRate / 2, 0.0);
    for (double start : {0.0, 0.22}) {
        double phase = 0;
        const size_t first = static_cast<size_t>(start * kRate);
        const size_t length = kRate * 12 / 100;
        for (size_t i = 0; i < length && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / length;
            phase += 2 * kPi * (2600 + 1800 * t) / kRate;
            mix[first + i] += 0.4 * std::sin(phase) * std::sin(kPi * t);
        }
    }
    return ToSamples(mix);
}

// A music-box tune: a little melody of bell notes over eight seconds, its end
// meeting its start so that it loops.
std::vector<int16_t> Tune()
{
    static const double kNotes[] = {523.25, 659.25, 783.99, 659.25, 587.33, 698.46, 880.00, 698.46,
                                    523.25, 659.25, 783.99, 1046.5, 987.77, 783.99, 659.25, 587.33};
    std::vector<double> mix(kRate * 8, 0.0);
    for (size_t i = 0; i < std::size(kNotes); ++i)
        AddBell(mix, i * 0.5, kNotes[i], 0.22);
    return ToSamples(mix);
}

} // namespace

const char* const* GetDemoSoundNames()
{
    return kSounds;
}

int MakeDemoSounds(const char* dataFolder, bool verbose)
{
    using Maker = std::vector<int16_t> (*)();
    const Maker makers[] = {&Chime, &Chirp, &Tune};
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
