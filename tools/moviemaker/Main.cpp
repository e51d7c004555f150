// moviemaker DATA_FOLDER [--quiet]: makes the demo movies in the data folder
// (the build runs it after copying data/ beside the program). Every frame is
// painted by code here, so the demo ships no movie of anyone else's.
//
//   common/intro.smk  3 s at 15 fps: a sunrise over the farm's hills, the
//                     name fading in, with a tone track.
//   common/fade0.smk  1 s at 15 fps: the screen fading to black (alpha).
//   title/rainbow.smk 2 s at 15 fps: a rainbow growing across the sky, then
//                     fading (alpha), played in the title room's scene.
#include "PIM/core/CxError.h"
#include "tools/moviemaker/MovieWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

struct Colour
{
    double r, g, b;
};

Colour Mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Clamp01(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

// Smooth start and end, so the fades do not begin with a jolt.
double Ease(double t)
{
    t = Clamp01(t);
    return t * t * (3.0 - 2.0 * t);
}

void PutPixel(uint8_t* pixel, const Colour& c, uint8_t alpha)
{
    pixel[0] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.0, 255.0)));
    pixel[1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.0, 255.0)));
    pixel[2] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.0, 255.0)));
    pixel[3] = alpha;
}

// --- the name, in a 5 x 7 block font of just the letters it needs ----------------------------

struct ST_GLYPH
{
    char letter;
    uint8_t rows[7]; // bit 4 is the left column
};

constexpr ST_GLYPH kGlyphs[] = {
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
};
constexpr const char* kTitle = "MARROWDALE";
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;

const ST_GLYPH* FindGlyph(char letter)
{
    for (const ST_GLYPH& glyph : kGlyphs)
        if (glyph.letter == letter)
            return &glyph;
    return nullptr;
}

// Where the title stands: top-left and the size of one font pixel.
struct ST_TITLE
{
    int32_t x, y;
    int scale;
    int32_t width, height;
};

ST_TITLE PlaceTitle(int32_t width, int32_t height)
{
    const int letters = static_cast<int>(std::strlen(kTitle));
    const int scale = std::max(1, static_cast<int>(width * 0.7) / (letters * kGlyphAdvance));
    ST_TITLE title;
    title.scale = scale;
    title.width = (letters * kGlyphAdvance - 1) * scale;
    title.height = kGlyphHeight * scale;
    title.x = (width - title.width) / 2;
    title.y = height / 6;
    return title;
}

bool TitleCovers(const ST_TITLE& title, int32_t x, int32_t y)
{
    if (x < title.x || y < title.y || x >= title.x + title.width || y >= title.y + title.height)
        return false;
    const int column = (x - title.x) / title.scale;
    const int row = (y - title.y) / title.scale;
    const int inLetter = column % kGlyphAdvance;
    if (inLetter >= kGlyphWidth)
        return false;
    const ST_GLYPH* glyph = FindGlyph(kTitle[column / kGlyphAdvance]);
    return glyph && (glyph->rows[row] >> (kGlyphWidth - 1 - inLetter)) & 1;
}

// --- the intro: night to morning over rolling hills ------------------------------------------

struct ST_INTRO
{
    int frames;
};

void PaintIntro(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const auto* intro = static_cast<const ST_INTRO*>(context);
    const double t = intro->frames > 1 ? static_cast<double>(frame) / (intro->frames - 1) : 1.0;
    const double dawn = Ease(t);
    // Out of black over the first second.
    const double fadeIn = Ease(t * 3.0);
    const double titleShown = Ease((t - 0.45) / 0.4);

    const Colour skyTop = Mix({12, 14, 46}, {86, 150, 222}, dawn);
    const Colour skyLow = Mix({52, 36, 80}, {252, 196, 128}, dawn);
    const Colour hillFar = Mix({18, 30, 36}, {92, 140, 84}, dawn);
    const Colour hillNear = Mix({12, 24, 16}, {60, 116, 48}, dawn);
    const Colour sunColour{255, 226, 140};
    const Colour titleColour{255, 246, 224};

    const double sunX = width * 0.5;
    const double sunY = height * (0.82 - 0.38 * dawn);
    const double sunRadius = height * 0.08;
    const ST_TITLE title = PlaceTitle(width, height);

    for (int32_t y = 0; y < height; ++y) {
        const double v = static_cast<double>(y) / height;
        const Colour sky = Mix(skyTop, skyLow, std::pow(v, 1.4));
        uint8_t* row = bgra + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        for (int32_t x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            Colour c = sky;
            // The sun and its glow sit behind the hills.
            const double distance = std::hypot(x - sunX, y - sunY);
            if (distance < sunRadius)
                c = sunColour;
            else
                c = Mix(c, sunColour, 0.55 * std::pow(Clamp01(1.0 - (distance - sunRadius) / (sunRadius * 4)), 2));
            const double farRidge = height * (0.66 + 0.04 * std::sin(u * 5.1 + 0.7) + 0.02 * std::sin(u * 13.0));
            const double nearRidge = height * (0.76 + 0.05 * std::sin(u * 3.3 + 2.0) + 0.015 * std::sin(u * 17.0));
            if (y >= nearRidge)
                c = Mix(hillNear, {30, 60, 24}, Clamp01((y - nearRidge) / (height * 0.3)));
            else if (y >= farRidge)
                c = hillFar;
            if (titleShown > 0 && TitleCovers(title, x, y))
                c = Mix(c, titleColour, titleShown);
            c = Mix({0, 0, 0}, c, fadeIn);
            PutPixel(row + static_cast<size_t>(x) * 4, c, 255);
        }
    }
}

// A rising three-note bell phrase for the sunrise: each note fades as the
// next one starts, and everything fades out by the end.
int16_t IntroSound(int, int64_t index, int rate, void*)
{
    constexpr double kPi = 3.14159265358979323846;
    const double t = static_cast<double>(index) / rate;
    struct Note
    {
        double start, hertz;
    };
    static const Note kNotes[] = {{0.3, 392.00}, {1.0, 523.25}, {1.7, 659.25}}; // G4 C5 E5
    double sum = 0;
    for (const Note& note : kNotes) {
        const double s = t - note.start;
        if (s < 0)
            continue;
        const double attack = std::min(1.0, s / 0.01);
        sum += attack * std::exp(-s * 2.5) *
               (std::sin(2 * kPi * note.hertz * s) + 0.3 * std::sin(2 * kPi * note.hertz * 2 * s));
    }
    return static_cast<int16_t>(std::lround(std::clamp(sum * 0.3, -1.0, 1.0) * 32767.0));
}

// --- the fade: black whose alpha rises from clear to opaque ------------------------------------

struct ST_FADE
{
    int frames;
};

void PaintFade(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const auto* fade = static_cast<const ST_FADE*>(context);
    const double t = fade->frames > 1 ? static_cast<double>(frame) / (fade->frames - 1) : 1.0;
    const auto alpha = static_cast<uint8_t>(std::lround(255.0 * t));
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < pixels; ++i)
        PutPixel(bgra + i * 4, {0, 0, 0}, alpha);
}

// A rainbow of seven bands, drawn from the left end over the first half of
// the movie, then fading away.
void PaintRainbow(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const int frames = *static_cast<const int*>(context);
    const double t = frames > 1 ? static_cast<double>(frame) / (frames - 1) : 1.0;
    const double grown = Ease(t * 2.0);                   // how much of the arc is drawn
    const double fade = 1.0 - Ease((t - 0.7) / 0.3);      // gone at the end
    static const Colour kBands[7] = {{230, 40, 40},  {245, 140, 30}, {250, 220, 40}, {70, 190, 70},
                                     {60, 130, 230}, {90, 70, 200},  {150, 80, 200}};
    const double cx = width / 2.0, cy = height, outer = height - 4.0, band = outer / 14.0;
    constexpr double kPi = 3.14159265358979323846;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* pixel = bgra + (static_cast<size_t>(y) * width + x) * 4;
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double angle = std::atan2(-dy, -dx); // 0 at the left end, pi at the right
            const int index = static_cast<int>((outer - r) / band);
            if (index < 0 || index >= 7 || angle > grown * kPi) {
                PutPixel(pixel, {0, 0, 0}, 0);
                continue;
            }
            // Soft edges on the outside of the arc and at its growing tip.
            const double edge = Clamp01((outer - r) * 0.5) * Clamp01((grown * kPi - angle) * 20.0);
            PutPixel(pixel, kBands[index], static_cast<uint8_t>(std::lround(200.0 * edge * fade)));
        }
    }
}

int Write(const std::filesystem::path& folder, const char* name, const ST_MOVIE_PLAN& movie, bool verbose)
{
    const std::string path = (folder / name).string();
    const int code = WriteMovie(path.c_str(), movie);
    if (code != PIM_OK)
        std::fprintf(stderr, "moviemaker: %s: %s\n", path.c_str(), ErrorText(code));
    else if (verbose)
        std::printf("moviemaker: %s (%d x %d, %d frames at %d fps%s%s)\n", path.c_str(), movie.width, movie.height,
                    movie.frames, movie.fps, movie.alpha ? ", alpha" : "", movie.soundRate ? ", sound" : "");
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--quiet") != 0)) {
        std::fprintf(stderr, "usage: moviemaker DATA_FOLDER [--quiet]\n");
        return 2;
    }
    const bool verbose = argc == 2;
    const std::filesystem::path common = std::filesystem::path(argv[1]) / "common";
    std::error_code error;
    std::filesystem::create_directories(common, error);
    if (error) {
        std::fprintf(stderr, "moviemaker: cannot make %s: %s\n", common.string().c_str(), error.message().c_str());
        return 1;
    }

    constexpr int kFps = 15;
    ST_INTRO intro{3 * kFps};
    ST_MOVIE_PLAN introMovie;
    introMovie.width = 640;
    introMovie.height = 480;
    introMovie.frames = intro.frames;
    introMovie.fps = kFps;
    introMovie.soundRate = 22050;
    introMovie.soundChannels = 1;
    introMovie.soundTracks = 1;
    introMovie.paint = &PaintIntro;
    introMovie.context = &intro;
    introMovie.sound = &IntroSound;
    // Stored as lossy movies keep their pictures: a third of the size, and
    // the conversion every real movie takes.
    introMovie.yuv = true;

    // The size of the game's screen: it fades whatever is behind it.
    ST_FADE fade{kFps};
    ST_MOVIE_PLAN fadeMovie;
    fadeMovie.width = 800;
    fadeMovie.height = 600;
    fadeMovie.frames = fade.frames;
    fadeMovie.fps = kFps;
    fadeMovie.alpha = true;
    fadeMovie.paint = &PaintFade;
    fadeMovie.context = &fade;

    int rainbowFrames = 2 * kFps;
    ST_MOVIE_PLAN rainbowMovie;
    rainbowMovie.width = 320;
    rainbowMovie.height = 160;
    rainbowMovie.frames = rainbowFrames;
    rainbowMovie.fps = kFps;
    rainbowMovie.alpha = true;
    rainbowMovie.paint = &PaintRainbow;
    rainbowMovie.context = &rainbowFrames;
    const std::filesystem::path title = std::filesystem::path(argv[1]) / "title";
    std::filesystem::create_directories(title, error);

    int code = Write(common, "intro.smk", introMovie, verbose);
    for (int more : {Write(common, "fade0.smk", fadeMovie, verbose), Write(title, "rainbow.smk", rainbowMovie, verbose)})
        if (code == PIM_OK)
            code = more;
    return code == PIM_OK ? 0 : 1;
}
