#include "tools/painter/DemoSounds.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/sound/PimWavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;

constexpr double kPi = 3.14159265358979323846;

// A bell-like note added into `out` from `start` seconds: a fundamental and
// two quieter partials, each fading away at its own pace.
void AddBell(std::vector<double>& out, double start, double hertz, double level)
{
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

// --- music that loops: every note ends within its own length ---------------------------------

// The sound of an instrument: a few partials (multiples of the note's
// frequency, each with its own level), how fast the note dies away, how
// softly it starts and how long its end takes to fade out.
struct ST_TIMBRE
{
    double partials[4];
    double decay;   // per second
    double attack;  // seconds
    double release; // seconds
};

constexpr ST_TIMBRE kPluck{{1.0, 0.45, 0.22, 0.08}, 5.0, 0.004, 0.04}; // a bright, plucked melody
constexpr ST_TIMBRE kBass{{1.0, 0.30, 0.05, 0.0}, 4.0, 0.006, 0.04};   // round low notes
constexpr ST_TIMBRE kStrum{{1.0, 0.25, 0.10, 0.0}, 9.0, 0.004, 0.04};  // the short chords after them
constexpr ST_TIMBRE kGlow{{1.0, 0.18, 0.05, 0.0}, 1.3, 0.030, 0.15};   // soft, slowly fading bells
constexpr ST_TIMBRE kHarp{{1.0, 0.22, 0.06, 0.0}, 2.2, 0.012, 0.15};
constexpr ST_TIMBRE kOrgan{{1.0, 0.5, 0.35, 0.2}, 0.6, 0.010, 0.05}; // reedy, held pipes

double NoteHertz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// One note of `timbre` from `start` for `length` seconds. Its end fades to
// nothing, so the note is silent by then whatever its decay: a tune whose
// notes all end before the tune does loops without a click.
void AddNote(std::vector<double>& mix, double start, double length, int midi, double level, const ST_TIMBRE& timbre)
{
    const double release = std::min(timbre.release, length / 2);
    const double hertz = NoteHertz(midi);
    const auto first = static_cast<size_t>(std::lround(start * kRate));
    const auto count = static_cast<size_t>(std::lround(length * kRate));
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double left = length - t;
        double envelope = std::min(1.0, t / timbre.attack) * std::exp(-t * timbre.decay);
        if (left < release)
            envelope *= 0.5 - 0.5 * std::cos(kPi * left / release);
        double tone = 0;
        for (int p = 0; p < 4; ++p)
            tone += timbre.partials[p] * std::sin(2 * kPi * hertz * (p + 1) * t);
        mix[first + i] += level * envelope * tone;
    }
}

// A note of a tune, in beats.
struct ST_NOTE
{
    double beat;
    double beats;
    int midi;
};

void AddNotes(std::vector<double>& mix, std::span<const ST_NOTE> notes, double beatSeconds, double level,
              const ST_TIMBRE& timbre)
{
    for (const ST_NOTE& note : notes)
        AddNote(mix, note.beat * beatSeconds, note.beats * beatSeconds, note.midi, level, timbre);
}

// Scales the mix so that its loudest sample is `peak` of full scale.
std::vector<int16_t> Normalised(std::vector<double>& mix, double peak)
{
    double loudest = 0;
    for (double v : mix)
        loudest = std::max(loudest, std::fabs(v));
    if (loudest > 0)
        for (double& v : mix)
            v *= peak / loudest;
    return ToSamples(mix);
}

// The farm tune: 16 beats at 120 a minute (8 s), a bouncy plucked melody
// over "oom-pah" bass and chords. The last note ends half a beat early, so
// the tune closes in silence on the beat where it starts again. A third of
// full scale leaves room for the voices over it.
std::vector<int16_t> FarmTune()
{
    constexpr double kBeat = 0.5;
    static const ST_NOTE kMelody[] = {
        {0, 1, 72},    {1, 0.5, 76},  {1.5, 0.5, 76}, {2, 1, 79},     {3, 1, 76},     // C E E G E
        {4, 0.5, 77},  {4.5, 0.5, 76}, {5, 0.5, 74},  {5.5, 0.5, 76}, {6, 1, 74},  {7, 1, 67}, // F E D E D G
        {8, 1, 72},    {9, 0.5, 76},  {9.5, 0.5, 79}, {10, 1, 81},    {11, 1, 79},    // C E G A G
        {12, 0.5, 77}, {12.5, 0.5, 74}, {13, 0.5, 76}, {13.5, 0.5, 71}, {14, 1.5, 72}, // F D E B C
    };
    // The bass on beats 1 and 3 of each bar, a chord on 2 and 4: C, G, C-F, G-C.
    static const ST_NOTE kBassNotes[] = {
        {0, 0.5, 48}, {2, 0.5, 43}, {4, 0.5, 43}, {6, 0.5, 50}, {8, 0.5, 48}, {10, 0.5, 41}, {12, 0.5, 43}, {14, 0.5, 48},
    };
    static const int kChords[7][3] = {{60, 64, 67}, {59, 62, 67}, {59, 62, 65}, {59, 62, 67},
                                      {60, 64, 67}, {60, 65, 69}, {59, 62, 67}};
    std::vector<double> mix(kRate * 8, 0.0);
    AddNotes(mix, kMelody, kBeat, 0.5, kPluck);
    AddNotes(mix, kBassNotes, kBeat, 0.45, kBass);
    for (int i = 0; i < 7; ++i) // the last bar's fourth beat stays quiet
        for (int midi : kChords[i])
            AddNote(mix, (1 + 2 * i) * kBeat, 0.35 * kBeat, midi, 0.12, kStrum);
    return Normalised(mix, 1.0 / 3.0);
}

// The credits tune: four slow bars of three beats at 72 a minute (10 s),
// soft bells over a harp rising through each bar's chord, every harp note
// ringing on under the next two. It ends on the chord that leads back to its
// first, the last notes shortened to be silent by the end.
std::vector<int16_t> CreditsTune()
{
    constexpr double kBeat = 60.0 / 72.0;
    static const ST_NOTE kMelody[] = {
        {0, 2.1, 76}, {2, 1.1, 74},                  // E D      over C
        {3, 2.1, 72}, {5, 1.1, 76},                  // C E      over A minor
        {6, 1.1, 77}, {7, 1.1, 81}, {8, 1.1, 79},    // F A G    over F
        {9, 1.1, 71}, {10, 1.8, 74},                 // B D      over G
    };
    static const ST_NOTE kHarpNotes[] = {
        {0, 3, 48},  {1, 3, 55},  {2, 3, 64},        // C G E
        {3, 3, 45},  {4, 3, 52},  {5, 3, 60},        // A E C
        {6, 3, 41},  {7, 3, 48},  {8, 3, 57},        // F C A
        {9, 2.9, 43}, {10, 1.9, 50}, {11, 0.9, 59},  // G D B
    };
    std::vector<double> mix(kRate * 10, 0.0);
    AddNotes(mix, kMelody, kBeat, 0.5, kGlow);
    AddNotes(mix, kHarpNotes, kBeat, 0.35, kHarp);
    return Normalised(mix, 0.3);
}

// --- the farmyard's animals ---------------------------------------------------------------------

// Deterministic noise in -1..1, so that every build makes the same bytes.
struct ST_NOISE
{
    uint32_t state = 22222;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// A voice: harmonics of a pitch that moves, weighted by the mouth's
// resonances (`formants`, in hertz), so the animals sound like throats
// rather than whistles. `pitch(t)` and `loudness(t)` follow the call.
template <typename Pitch, typename Loudness>
void AddVoice(std::vector<double>& mix, const double (&formants)[2], double breath, Pitch pitch, Loudness loudness)
{
    ST_NOISE noise;
    // The breath is hiss made dull (a one-pole low pass near 1.8 kHz), as
    // it is in a throat.
    const double dull = 1 - std::exp(-2 * kPi * 1800.0 / kRate);
    double breathed = 0;
    double phase = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hertz = pitch(t);
        phase += 2 * kPi * hertz / kRate;
        double tone = 0;
        for (int h = 1; h <= 16 && h * hertz < kRate / 2.0; ++h) {
            const double f = h * hertz;
            const double a = std::exp(-std::pow((f - formants[0]) / 350.0, 2)) +
                             0.6 * std::exp(-std::pow((f - formants[1]) / 450.0, 2)) + 0.15 / h;
            tone += a * std::sin(h * phase);
        }
        breathed += dull * (noise.Next() - breathed);
        mix[i] += loudness(t) * (tone + 2 * breath * breathed);
    }
    // A few milliseconds of fade at either end: the call starts and stops
    // without a click.
    const size_t in = kRate * 3 / 1000, out = kRate * 15 / 1000;
    for (size_t i = 0; i < in && i < mix.size(); ++i)
        mix[i] *= static_cast<double>(i) / in;
    for (size_t i = 0; i < out && i < mix.size(); ++i)
        mix[mix.size() - 1 - i] *= static_cast<double>(i) / out;
}

// A soft rise and fall over `length` seconds from `start`, zero outside.
double Pulse(double t, double start, double length)
{
    const double u = (t - start) / length;
    if (u <= 0 || u >= 1)
        return 0;
    return std::pow(std::sin(kPi * u), 0.6) * (1 - 0.5 * u);
}

// The hen: "buk, buk, ba-gawk" in 0.4 s, a throaty voice that falls in
// pitch within each note.
std::vector<int16_t> Cluck()
{
    std::vector<double> mix(kRate * 4 / 10, 0.0);
    struct Note
    {
        double start, length, from, to;
    };
    static const Note kNotes[] = {{0.0, 0.07, 620, 470}, {0.10, 0.07, 640, 480}, {0.20, 0.19, 560, 760}};
    const double formants[2] = {1100, 2300};
    auto pitch = [](double t) {
        for (const Note& n : kNotes)
            if (t < n.start + n.length) {
                const double u = std::clamp((t - n.start) / n.length, 0.0, 1.0);
                // The last note rises then drops, as the hen's call does.
                return n.to > n.from ? n.from + (n.to - n.from) * std::sin(kPi * u) : n.from + (n.to - n.from) * u;
            }
        return 500.0;
    };
    auto loudness = [](double t) {
        double sum = 0;
        for (const Note& n : kNotes)
            sum += Pulse(t, n.start, n.length);
        return sum;
    };
    AddVoice(mix, formants, 0.4, pitch, loudness);
    return Normalised(mix, 0.5);
}

// The sheep: a "baa" of 0.6 s, its voice quavering about 24 times a second
// and sagging at the end.
std::vector<int16_t> Baa()
{
    std::vector<double> mix(kRate * 6 / 10, 0.0);
    const double formants[2] = {850, 1250};
    auto pitch = [](double t) {
        const double glide = t < 0.1 ? 300 + 40 * t / 0.1 : 340 - 60 * (t - 0.1) / 0.5;
        return glide * (1 + 0.025 * std::sin(2 * kPi * 24 * t));
    };
    auto loudness = [](double t) {
        const double quaver = 0.7 + 0.3 * std::sin(2 * kPi * 24 * t);
        return Pulse(t, 0.0, 0.6) * quaver;
    };
    AddVoice(mix, formants, 0.08, pitch, loudness);
    return Normalised(mix, 0.5);
}

// The yard's ambience: 6 s, looped quietly under the farmyard - the hen far
// off and a bird now and then, silent at both ends so the loop joins cleanly.
std::vector<int16_t> FarmAmbience()
{
    std::vector<double> mix(kRate * 6, 0.0);
    auto place = [&mix](const std::vector<int16_t>& piece, double start, double gain) {
        const size_t first = static_cast<size_t>(start * kRate);
        for (size_t i = 0; i < piece.size() && first + i < mix.size(); ++i)
            mix[first + i] += piece[i] / 32768.0 * gain;
    };
    const std::vector<int16_t> cluck = Cluck(), chirp = Chirp();
    place(cluck, 0.6, 0.6);
    place(chirp, 1.9, 0.4);
    place(cluck, 3.2, 0.45);
    place(chirp, 4.4, 0.3);
    place(chirp, 5.0, 0.35);
    return Normalised(mix, 0.25);
}

// The fair's ambience: a fairground organ's waltz, four bars of three beats
// at 150 a minute (4.8 s), oom-pah-pah under a swaying tune. Quiet: it loops
// under the announcements for as long as the player is at the fair.
std::vector<int16_t> FairAmbience()
{
    constexpr double kBeat = 0.4;
    static const ST_NOTE kMelody[] = {
        {0, 2, 79},  {2, 1, 76},  {3, 1, 77},  {4, 1, 79},  {5, 1, 81},   // G . E F G A
        {6, 2, 79},  {8, 1, 74},  {9, 1.5, 72}, {10.5, 1, 76},            // G . D C . E
    };
    static const int kRoots[4] = {48, 43, 43, 48}; // C, G, G, C
    static const int kChords[4][3] = {{64, 67, 72}, {62, 67, 71}, {62, 65, 71}, {64, 67, 72}};
    std::vector<double> mix(static_cast<size_t>(kRate * 12 * kBeat), 0.0);
    AddNotes(mix, kMelody, kBeat, 0.45, kOrgan);
    for (int bar = 0; bar < 4; ++bar) {
        const double start = bar * 3 * kBeat;
        AddNote(mix, start, 0.8 * kBeat, kRoots[bar], 0.4, kBass);
        for (int pah = 1; pah <= 2; ++pah)
            for (int midi : kChords[bar])
                AddNote(mix, start + pah * kBeat, 0.4 * kBeat, midi, 0.1, kStrum);
    }
    return Normalised(mix, 0.22);
}

// --- the pig pen ---------------------------------------------------------------------------------

// A drop of water: a sine whose pitch slides from `from` to `to` hertz over
// `length` seconds, softly in and out.
void AddBlip(std::vector<double>& mix, double start, double length, double from, double to, double level)
{
    double phase = 0;
    const size_t first = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double u = static_cast<double>(i) / count;
        phase += 2 * kPi * (from + (to - from) * u) / kRate;
        mix[first + i] += level * std::sin(kPi * u) * std::sin(phase);
    }
}

// Tobble drinking: three gentle slurps in 0.6 s, each a falling "glug".
std::vector<int16_t> Drink()
{
    std::vector<double> mix(kRate * 6 / 10, 0.0);
    for (int k = 0; k < 3; ++k)
        AddBlip(mix, 0.02 + k * 0.18, 0.12, 520 - k * 30, 240, 0.5);
    return Normalised(mix, 0.4);
}

// The brush: two soft swishes of dull hiss in 0.8 s.
std::vector<int16_t> Brush()
{
    std::vector<double> mix(kRate * 8 / 10, 0.0);
    ST_NOISE noise;
    const double dull = 1 - std::exp(-2 * kPi * 2500.0 / kRate);
    double hiss = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        hiss += dull * (noise.Next() - hiss);
        mix[i] = hiss * (Pulse(t, 0.02, 0.32) + Pulse(t, 0.42, 0.34));
    }
    return Normalised(mix, 0.3);
}

// Water pumped into the bowl: 1.2 s of bubbling drops rising as it fills.
std::vector<int16_t> FillBowl()
{
    std::vector<double> mix(kRate * 12 / 10, 0.0);
    ST_NOISE noise;
    for (int k = 0; k < 16; ++k) {
        const double start = 0.03 + k * 0.068;
        const double pitch = 380 + k * 22 + 80 * noise.Next();
        AddBlip(mix, start, 0.07, pitch, pitch * 1.6, 0.4);
    }
    return Normalised(mix, 0.35);
}

// --- the bale game ------------------------------------------------------------------------------

// Every goal filled: a bright rising arpeggio and a held chord, 1.4 s.
std::vector<int16_t> BaleWin()
{
    std::vector<double> mix(kRate * 14 / 10, 0.0);
    constexpr ST_NOTE kRise[] = {{0, 1, 72}, {1, 1, 76}, {2, 1, 79}, {3, 4, 84}, {3, 4, 76}, {3, 4, 79}};
    AddNotes(mix, kRise, 0.16, 0.3, kPluck);
    return Normalised(mix, 0.5);
}

// Points won: one quick high "ding" going up, 0.3 s.
std::vector<int16_t> BalePlus()
{
    std::vector<double> mix(kRate * 3 / 10, 0.0);
    constexpr ST_NOTE kDing[] = {{0, 1, 84}, {1, 2, 91}};
    AddNotes(mix, kDing, 0.09, 0.4, kPluck);
    return Normalised(mix, 0.45);
}

// Points lost: a soft falling "bwoop", 0.4 s.
std::vector<int16_t> BaleMinus()
{
    std::vector<double> mix(kRate * 4 / 10, 0.0);
    AddBlip(mix, 0.0, 0.38, 330, 150, 0.6);
    return Normalised(mix, 0.4);
}

// The belt carrying a piece along: a dull rumble with a rattle of rollers, 0.5 s.
std::vector<int16_t> BeltRumble()
{
    std::vector<double> mix(kRate / 2, 0.0);
    ST_NOISE noise;
    const double dull = 1 - std::exp(-2 * kPi * 600.0 / kRate);
    double rumble = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        rumble += dull * (noise.Next() - rumble);
        const double rattle = 0.6 + 0.4 * std::sin(2 * kPi * 24 * t);
        mix[i] = rumble * rattle * Pulse(t, 0.0, 0.5);
    }
    return Normalised(mix, 0.35);
}

// --- croquet ------------------------------------------------------------------------------------

// The mallet on the ball: a sharp wooden "clack", a burst of bright noise
// over two hollow tones dying in a tenth of a second, 0.25 s in all.
std::vector<int16_t> Clack()
{
    std::vector<double> mix(kRate / 4, 0.0);
    ST_NOISE noise;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.001);
        mix[i] = attack * (0.5 * noise.Next() * std::exp(-t * 90) + std::sin(2 * kPi * 1250 * t) * std::exp(-t * 40) +
                           0.6 * std::sin(2 * kPi * 1870 * t) * std::exp(-t * 55));
    }
    return Normalised(mix, 0.6);
}

// Out of shots: three notes sliding down, "wah wah wahh", 1.2 s.
std::vector<int16_t> CroquetLose()
{
    std::vector<double> mix(kRate * 12 / 10, 0.0);
    AddBlip(mix, 0.0, 0.3, 392, 370, 0.5);
    AddBlip(mix, 0.32, 0.3, 370, 349, 0.5);
    AddBlip(mix, 0.64, 0.54, 349, 262, 0.5);
    return Normalised(mix, 0.45);
}

// Through a hoop (and a food picked up): a quick rising chime, 0.6 s.
std::vector<int16_t> HoopChime()
{
    std::vector<double> mix(kRate * 6 / 10, 0.0);
    constexpr ST_NOTE kUp[] = {{0, 1, 79}, {1, 1, 84}, {2, 2.5, 88}};
    AddNotes(mix, kUp, 0.08, 0.4, kGlow);
    return Normalised(mix, 0.5);
}

// The next player steps up: two friendly "ta-da" notes, 0.5 s.
std::vector<int16_t> NewPlayer()
{
    std::vector<double> mix(kRate / 2, 0.0);
    constexpr ST_NOTE kTaDa[] = {{0, 1, 72}, {1, 2.5, 79}};
    AddNotes(mix, kTaDa, 0.13, 0.4, kPluck);
    return Normalised(mix, 0.45);
}

// Rolling into mud: a wet, low "squelch", muffled noise rising and falling
// with a sinking tone under it, 0.5 s.
std::vector<int16_t> Squelch()
{
    std::vector<double> mix(kRate / 2, 0.0);
    ST_NOISE noise;
    const double dull = 1 - std::exp(-2 * kPi * 700.0 / kRate);
    double mud = 0, phase = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        mud += dull * (noise.Next() - mud);
        phase += 2 * kPi * (180 - 120 * t) / kRate;
        mix[i] = (mud * 1.5 + 0.5 * std::sin(phase)) * Pulse(t, 0.0, 0.48);
    }
    return Normalised(mix, 0.4);
}

// Stuck in gum: a "boing" that wobbles and stops short, 0.5 s.
std::vector<int16_t> GumBoing()
{
    std::vector<double> mix(kRate / 2, 0.0);
    double phase = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hertz = 220 + 160 * std::exp(-t * 6) * std::cos(2 * kPi * 14 * t);
        phase += 2 * kPi * hertz / kRate;
        mix[i] = std::sin(phase) * std::min(1.0, t / 0.005) * std::exp(-t * 7) * Pulse(t, 0.0, 0.5) * 1.5;
    }
    return Normalised(mix, 0.45);
}

// Into the stream: a splash of hiss and a few drops, 0.7 s.
std::vector<int16_t> Splash()
{
    std::vector<double> mix(kRate * 7 / 10, 0.0);
    ST_NOISE noise;
    const double soft = 1 - std::exp(-2 * kPi * 4000.0 / kRate);
    double hiss = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        hiss += soft * (noise.Next() - hiss);
        mix[i] = hiss * Pulse(t, 0.0, 0.45);
    }
    for (int k = 0; k < 5; ++k)
        AddBlip(mix, 0.12 + k * 0.1, 0.06, 600 + k * 90, 1100 + k * 60, 0.25);
    return Normalised(mix, 0.4);
}

// Croquet's tune: 16 beats at 132 a minute (about 7.3 s), a skipping
// melody in G over bass and chords. As with the farm tune, every note ends
// before the loop joins.
std::vector<int16_t> CroquetTune()
{
    constexpr double kBeat = 60.0 / 132.0;
    static const ST_NOTE kMelody[] = {
        {0, 0.5, 79},  {0.5, 0.5, 83}, {1, 1, 86},    {2, 0.5, 84},  {2.5, 0.5, 83}, {3, 1, 81},   // G B D C B A
        {4, 0.5, 79},  {4.5, 0.5, 81}, {5, 0.5, 83},  {5.5, 0.5, 79}, {6, 1.5, 81},                // G A B G A
        {8, 0.5, 79},  {8.5, 0.5, 83}, {9, 1, 86},    {10, 0.5, 88}, {10.5, 0.5, 86}, {11, 1, 84}, // G B D E D C
        {12, 0.5, 83}, {12.5, 0.5, 81}, {13, 0.5, 79}, {13.5, 0.5, 78}, {14, 1.5, 79},             // B A G F# G
    };
    static const ST_NOTE kBassNotes[] = {
        {0, 0.5, 43}, {2, 0.5, 50}, {4, 0.5, 43}, {6, 0.5, 50}, {8, 0.5, 43}, {10, 0.5, 48}, {12, 0.5, 50}, {14, 0.5, 43},
    };
    static const int kChords[7][3] = {{59, 62, 67}, {60, 62, 66}, {59, 62, 67}, {60, 62, 66},
                                      {59, 64, 67}, {60, 64, 67}, {60, 62, 66}};
    std::vector<double> mix(static_cast<size_t>(kRate * 16 * kBeat), 0.0);
    AddNotes(mix, kMelody, kBeat, 0.5, kPluck);
    AddNotes(mix, kBassNotes, kBeat, 0.45, kBass);
    for (int i = 0; i < 7; ++i)
        for (int midi : kChords[i])
            AddNote(mix, (1 + 2 * i) * kBeat, 0.35 * kBeat, midi, 0.12, kStrum);
    return Normalised(mix, 0.3);
}

// --- the jigsaw ---------------------------------------------------------------------------------

// A new picture on the table: a soft shuffle of card, then a light "pop", 0.5 s.
std::vector<int16_t> PuzzleChange()
{
    std::vector<double> mix(kRate / 2, 0.0);
    ST_NOISE noise;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double swish = std::sin(kPi * std::min(1.0, t / 0.3));
        mix[i] = t < 0.3 ? 0.35 * noise.Next() * swish : 0.0;
    }
    AddBlip(mix, 0.3, 0.18, 660, 880, 0.5);
    return Normalised(mix, 0.45);
}

// A piece clicking into place: a wooden tap and a small high note, 0.35 s.
std::vector<int16_t> PuzzleSnap()
{
    std::vector<double> mix(kRate * 35 / 100, 0.0);
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        mix[i] = std::sin(2 * kPi * 900 * t) * std::exp(-t * 60);
    }
    constexpr ST_NOTE kPing[] = {{0.4, 2, 88}};
    AddNotes(mix, kPing, 0.08, 0.35, kGlow);
    return Normalised(mix, 0.5);
}

// --- the quiz -----------------------------------------------------------------------------------

// A new question slides in: a soft "whoosh" of noise swelling and fading
// as its pitch sweeps up, 0.4 s.
std::vector<int16_t> QuizSwoosh()
{
    std::vector<double> mix(kRate * 4 / 10, 0.0);
    ST_NOISE noise;
    double low = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        // The filter opens as the sound goes on: the hiss brightens.
        const double open = 1 - std::exp(-2 * kPi * (400 + 6000 * t) / kRate);
        low += open * (noise.Next() - low);
        mix[i] = low * Pulse(t, 0.0, 0.39);
    }
    return Normalised(mix, 0.4);
}

// A right answer: three happy notes climbing, 0.7 s.
std::vector<int16_t> QuizGood()
{
    std::vector<double> mix(kRate * 7 / 10, 0.0);
    constexpr ST_NOTE kUp[] = {{0, 1, 72}, {1, 1, 76}, {2, 3, 79}};
    AddNotes(mix, kUp, 0.1, 0.4, kGlow);
    return Normalised(mix, 0.5);
}

// A wrong answer: a gentle "uh-oh", two soft notes going down, 0.6 s.
std::vector<int16_t> QuizBad()
{
    std::vector<double> mix(kRate * 6 / 10, 0.0);
    AddBlip(mix, 0.0, 0.22, 330, 320, 0.45);
    AddBlip(mix, 0.26, 0.32, 262, 240, 0.45);
    return Normalised(mix, 0.4);
}

// The pig run: a food eaten, "crunch" then a bright "ding", 0.4 s.
std::vector<int16_t> PigMunch()
{
    std::vector<double> mix(kRate * 4 / 10, 0.0);
    ST_NOISE noise;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        mix[i] = 0.7 * noise.Next() * (Pulse(t, 0.0, 0.05) + Pulse(t, 0.07, 0.05));
    }
    AddBlip(mix, 0.14, 0.25, 1320, 1760, 0.6);
    return Normalised(mix, 0.45);
}

// The pig run: a trip, a dull "thump" and a sliding "whoo-oops", 0.6 s.
std::vector<int16_t> PigTrip()
{
    std::vector<double> mix(kRate * 6 / 10, 0.0);
    ST_NOISE noise;
    const double dull = 1 - std::exp(-2 * kPi * 300.0 / kRate);
    double low = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        low += dull * (noise.Next() - low);
        mix[i] = (3 * low + std::sin(2 * kPi * (90 - 40 * t) * t)) * Pulse(t, 0.0, 0.16);
    }
    AddBlip(mix, 0.16, 0.4, 660, 260, 0.35);
    return Normalised(mix, 0.5);
}

// The pig run: the farmer has caught up, Tobble squeals "wee-eee", 0.7 s.
std::vector<int16_t> PigSqueal()
{
    std::vector<double> mix(kRate * 7 / 10, 0.0);
    const double formants[2] = {1400, 2600};
    auto pitch = [](double t) {
        const double u = std::fmod(t, 0.35) / 0.35;
        return (700 + 500 * std::sin(kPi * u)) * (1 + 0.03 * std::sin(2 * kPi * 30 * t));
    };
    auto loudness = [](double t) { return Pulse(t, 0.0, 0.32) + Pulse(t, 0.36, 0.32); };
    AddVoice(mix, formants, 0.05, pitch, loudness);
    return Normalised(mix, 0.45);
}

struct ST_DEMO_SOUND
{
    const char* path; // relative to the data folder
    std::vector<int16_t> (*make)();
};

// The crayon on paper: a soft rough scratch, 0.6 s, looped while drawing.
std::vector<int16_t> CrayonScratch()
{
    std::vector<double> mix(kRate * 6 / 10, 0.0);
    ST_NOISE noise;
    double low = 0.0;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        low += 0.25 * (noise.Next() - low);
        // Faded in and out so that the loop starts and ends without a click.
        const double fade = std::clamp(std::min(t / 0.02, (0.55 - t) / 0.03), 0.0, 1.0);
        mix[i] = fade * low * (0.6 + 0.4 * std::sin(2 * kPi * 7 * t));
    }
    return Normalised(mix, 0.3);
}

// The painting kept: three notes rising, 0.7 s.
std::vector<int16_t> PaintSaved()
{
    std::vector<double> mix(kRate * 7 / 10, 0.0);
    AddBlip(mix, 0.0, 0.2, 523, 523, 0.5);
    AddBlip(mix, 0.2, 0.2, 659, 659, 0.5);
    AddBlip(mix, 0.4, 0.25, 784, 784, 0.5);
    return Normalised(mix, 0.45);
}

// The page going out: a quick whirr sliding up, 0.8 s.
std::vector<int16_t> PaintPrinted()
{
    std::vector<double> mix(kRate * 8 / 10, 0.0);
    AddBlip(mix, 0.0, 0.75, 220, 440, 0.4);
    return Normalised(mix, 0.4);
}

// The canvas wiped clean: a falling swish, 0.5 s.
std::vector<int16_t> PaintErased()
{
    std::vector<double> mix(kRate / 2, 0.0);
    ST_NOISE noise;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        mix[i] = noise.Next() * std::sin(kPi * t / 0.5);
    }
    return Normalised(mix, 0.35);
}

const ST_DEMO_SOUND kSounds[] = {
    {"common/chime.wav", &Chime},          // 0.9 s: two soft bell notes, the title's greeting
    {"prop/chirp.wav", &Chirp},            // 0.5 s: the bluebird's two chirps
    {"common/tune.wav", &FarmTune},        // 8 s: the farm tune that loops under the rooms
    {"credits/music.wav", &CreditsTune},   // 10 s: a gentle tune that loops under the credits
    {"FarmyardMenu/cluck.wav", &Cluck},    // 0.4 s: the hen
    {"FarmyardMenu/baa.wav", &Baa},        // 0.6 s: the sheep
    {"FarmyardMenu/S03_sfx_farmamb.wav", &FarmAmbience}, // 6 s: the yard, looped while there
    {"FairgroundMenu/S04_sfx_fairamb.wav", &FairAmbience}, // 4.8 s: the fair's organ, looped while there
    {"PigPen/s13_rtDrink.wav", &Drink},       // 0.6 s: Tobble slurping from his bowl
    {"PigPen/s13_rtBrush.wav", &Brush},       // 0.8 s: two strokes of the brush
    {"PigPen/s13_rtFillBowl.wav", &FillBowl}, // 1.2 s: the pump filling the bowl
    {"BaleOut/sc_win.wav", &BaleWin},         // 1.4 s: every goal holds a bale
    {"BaleOut/sc_plus.wav", &BalePlus},       // 0.3 s: points won
    {"BaleOut/sc_minus.wav", &BaleMinus},     // 0.4 s: points lost
    {"BaleOut/G02_sfx_belt.wav", &BeltRumble}, // 0.5 s: a belt carrying a piece
    {"Croquet/kick_ball.wav", &Clack},          // 0.25 s: the mallet hits the ball
    {"Croquet/losesound.wav", &CroquetLose},    // 1.2 s: no shots left
    {"Croquet/throughwicket.wav", &HoopChime},  // 0.6 s: through a hoop, or a food picked up
    {"Croquet/NewPlayerComing.wav", &NewPlayer}, // 0.5 s: the next player steps up
    {"Croquet/mud.wav", &Squelch},              // 0.5 s: into a mud puddle
    {"Croquet/gum.wav", &GumBoing},             // 0.5 s: stuck in gum
    {"Croquet/water.wav", &Splash},             // 0.7 s: into the stream
    {"Croquet/soccer_musicloop.wav", &CroquetTune}, // 7.3 s: croquet's tune, looped while there
    {"Puzzle/scPuzzle_change.wav", &PuzzleChange},  // 0.5 s: a new picture is cut
    {"Puzzle/scPuzzle_complete.wav", &PuzzleSnap},  // 0.35 s: a piece snaps into place
    {"Quiz/tr_swoosh.wav", &QuizSwoosh},     // 0.4 s: a new question slides in
    {"Quiz/tr_good.wav", &QuizGood},         // 0.7 s: a right answer
    {"Quiz/tr_bad.wav", &QuizBad},           // 0.6 s: a wrong answer
    {"sound/pt_crayonDraw.wav", &CrayonScratch}, // 0.6 s: a crayon on paper, while drawing
    {"sound/save.wav", &PaintSaved},             // 0.7 s: the painting kept
    {"sound/print.wav", &PaintPrinted},          // 0.8 s: the page going out
    {"sound/erase.wav", &PaintErased},           // 0.5 s: the canvas wiped clean
    {"PigsOut/scPigsOut_collect.wav", &PigMunch}, // 0.4 s: the pig eats a food
    {"PigsOut/scPigsOut_trip.wav", &PigTrip},     // 0.6 s: the pig trips
    {"PigsOut/pigcaught.wav", &PigSqueal},        // 0.7 s: the farmer catches up
};

const char* const* BuildNames()
{
    static const char* names[std::size(kSounds) + 1] = {};
    for (size_t i = 0; i < std::size(kSounds); ++i)
        names[i] = kSounds[i].path;
    return names;
}

} // namespace

const char* const* GetDemoSoundNames()
{
    static const char* const* names = BuildNames();
    return names;
}

int MakeDemoSounds(const char* dataFolder, bool verbose)
{
    int result = PIM_OK;
    for (const ST_DEMO_SOUND& sound : kSounds) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / sound.path;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        const std::vector<int16_t> samples = sound.make();
        const std::string target = "<DEFAULT>" + path.string();
        const int code = WritePcmWav16(target.c_str(), samples.data(), samples.size(), 1, kRate);
        if (code != PIM_OK && result == PIM_OK)
            result = code;
        if (verbose)
            Trace("%s %s\n", code == PIM_OK ? "made" : "FAILED", path.string().c_str());
    }
    return result;
}
