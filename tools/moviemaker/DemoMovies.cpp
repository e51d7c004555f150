#include "tools/moviemaker/DemoMovies.h"

#include "PIM/core/CxError.h"
#include "tools/painter/FairgroundScenery.h"
#include "tools/painter/FarmyardLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr double kPi = 3.14159265358979323846;

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

// --- the words, in a 5 x 7 block font of just the letters they need ---------------------------

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
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
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

// Where some words stand: top-left and the size of one font pixel.
struct ST_TITLE
{
    const char* text;
    int32_t x, y;
    int scale;
    int32_t width, height;
};

// `text` across 70% of `width`, a sixth of `height` down.
ST_TITLE PlaceTitle(int32_t width, int32_t height, const char* text = kTitle)
{
    const int letters = static_cast<int>(std::strlen(text));
    const int scale = std::max(1, static_cast<int>(width * 0.7) / (letters * kGlyphAdvance));
    ST_TITLE title;
    title.text = text;
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
    const ST_GLYPH* glyph = FindGlyph(title.text[column / kGlyphAdvance]);
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

// --- the fades: black whose alpha falls (a room appearing) or rises (a room left) ------------

struct ST_FADE
{
    int frames;
    bool in; // opaque to clear
};

void PaintFade(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const auto* fade = static_cast<const ST_FADE*>(context);
    const double t = Ease(fade->frames > 1 ? static_cast<double>(frame) / (fade->frames - 1) : 1.0);
    const auto alpha = static_cast<uint8_t>(std::lround(255.0 * (fade->in ? 1.0 - t : t)));
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

// --- shapes with soft edges, for the movies with alpha ---------------------------------------
// Each shape is known by its signed distance (negative inside, in pixels),
// so that its edge can be drawn a pixel wide and soft, and a dark outline
// can follow it at any width.

struct ST_POINT
{
    double x, y;
};

double CircleDistance(ST_POINT p, ST_POINT centre, double radius)
{
    return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

// An ellipse, near enough to its true distance at its edge.
double EllipseDistance(ST_POINT p, ST_POINT centre, double rx, double ry)
{
    const double u = (p.x - centre.x) / rx, v = (p.y - centre.y) / ry;
    return (std::sqrt(u * u + v * v) - 1.0) * std::min(rx, ry);
}

// A box of half sizes (hx, hy) around `centre`.
double BoxDistance(ST_POINT p, ST_POINT centre, double hx, double hy)
{
    const double qx = std::fabs(p.x - centre.x) - hx, qy = std::fabs(p.y - centre.y) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
}

// A convex polygon whose corners run clockwise on the screen.
template <size_t N>
double PolygonDistance(ST_POINT p, const ST_POINT (&corners)[N])
{
    double distance = -1e9;
    for (size_t i = 0; i < N; ++i) {
        const ST_POINT a = corners[i], b = corners[(i + 1) % N];
        const double ex = b.x - a.x, ey = b.y - a.y, length = std::hypot(ex, ey);
        // Clockwise on a screen whose y grows downwards: the inside is to the right.
        distance = std::max(distance, ((p.x - a.x) * ey - (p.y - a.y) * ex) / length);
    }
    return distance;
}

// Colour and coverage built up from the back, premultiplied.
struct ST_LAYERS
{
    Colour colour{0, 0, 0};
    double alpha = 0;

    void Over(const Colour& c, double coverage)
    {
        coverage = Clamp01(coverage);
        colour = {c.r * coverage + colour.r * (1 - coverage), c.g * coverage + colour.g * (1 - coverage),
                  c.b * coverage + colour.b * (1 - coverage)};
        alpha = coverage + alpha * (1 - coverage);
    }
    // A shape at `distance`, `edge` wide of dark outline around its fill.
    void Shape(double distance, const Colour& fill, const Colour& outline, double edge)
    {
        Over(outline, 0.5 - (distance - edge));
        Over(fill, 0.5 - distance);
    }
    void Put(uint8_t* pixel, double fade = 1.0) const
    {
        const auto stored = static_cast<uint8_t>(std::lround(255.0 * Clamp01(alpha * fade)));
        // Nothing there is black: a colour too faint to show would otherwise
        // differ from frame to frame with the rounding.
        if (stored == 0) {
            PutPixel(pixel, {0, 0, 0}, 0);
            return;
        }
        PutPixel(pixel, {colour.r / alpha, colour.g / alpha, colour.b / alpha}, stored);
    }
};

// --- the windmill: a white tower whose four sails turn a quarter turn a loop ------------------

struct ST_LOOP
{
    int frames; // one turn of the loop
};

constexpr Colour kInk{64, 48, 44};
constexpr double kEdge = 1.5;

// The tower, its door and window and its red cap; the sails turn in front.
void WindmillTower(ST_LAYERS& layers, ST_POINT p)
{
    static const ST_POINT kTower[] = {{44, 66}, {76, 66}, {88, 159}, {32, 159}};
    const double tower = PolygonDistance(p, kTower);
    // The wall a little greyer on its right, where the sun does not reach.
    const Colour wall = p.x > 64 ? Colour{226, 228, 232} : Colour{250, 250, 248};
    layers.Shape(tower, wall, kInk, kEdge);
    const double door = std::min(BoxDistance(p, {60, 148}, 8, 11), CircleDistance(p, {60, 137}, 8));
    layers.Shape(door, {150, 92, 48}, kInk, 1.0);
    layers.Shape(CircleDistance(p, {60, 104}, 6), {130, 196, 246}, kInk, 1.5);
    const double cap = std::max(EllipseDistance(p, {60, 68}, 21, 18), p.y - 68.0);
    layers.Shape(std::min(cap, BoxDistance(p, {60, 68}, 21, 2)), {214, 62, 52}, kInk, kEdge);
}

// One sail along `angle` from the hub: a stock with a lattice of cloth on
// one side of it, as windmill sails are built.
void WindmillSail(ST_LAYERS& layers, ST_POINT p, ST_POINT hub, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    const double dx = p.x - hub.x, dy = p.y - hub.y;
    const ST_POINT local{dx * c + dy * s, -dx * s + dy * c}; // along the stock, across it
    const double cloth = BoxDistance(local, {33, 9}, 21, 7);
    Colour fill{252, 242, 222};
    // The lattice: laths across every 7 pixels and one along the middle.
    const double across = std::fabs(std::fmod(local.x - 12 + 70, 7.0) - 3.5);
    if (across > 2.8 || std::fabs(local.y - 9) < 0.7)
        fill = {176, 120, 72};
    layers.Shape(cloth, fill, kInk, 1.2);
    layers.Shape(BoxDistance(local, {28, 0}, 28, 2), {150, 100, 60}, kInk, 1.0);
}

void PaintWindmill(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const auto* loop = static_cast<const ST_LOOP*>(context);
    // A quarter turn per loop: the four sails then stand where they started.
    const double turn = frame * (kPi / 2) / loop->frames;
    const ST_POINT hub{60, 60};
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = bgra + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        for (int32_t x = 0; x < width; ++x) {
            const ST_POINT p{x + 0.5, y + 0.5};
            ST_LAYERS layers;
            WindmillTower(layers, p);
            for (int sail = 0; sail < 4; ++sail)
                WindmillSail(layers, p, hub, turn + sail * kPi / 2);
            layers.Shape(CircleDistance(p, hub, 5), {110, 74, 46}, kInk, 1.0);
            layers.Put(row + static_cast<size_t>(x) * 4);
        }
    }
}

// --- the pond: rings spreading from a bobbing duck --------------------------------------------

constexpr Colour kWater{kPondWater.red, kPondWater.green, kPondWater.blue};
constexpr double kWaterLine = 48;
constexpr double kRippleReach = 60; // the widest ring, across
constexpr double kRippleFlat = 0.3; // rings seen from above at a slant
constexpr int kRipples = 3;

void PondDuck(ST_LAYERS& layers, ST_POINT p, double bob)
{
    const Colour yellow{255, 220, 60}, shade{244, 196, 44}, orange{250, 140, 30};
    // Under the water line the duck is hidden: only its shadow shows there.
    if (p.y >= kWaterLine) {
        layers.Over({52, 120, 186}, 0.5 - EllipseDistance(p, {100, kWaterLine + 1}, 17, 3));
        return;
    }
    const double body = std::min(EllipseDistance(p, {100, 44 + bob}, 14, 8),
                                 PolygonDistance(p, {ST_POINT{84, 36 + bob}, ST_POINT{96, 40 + bob}, ST_POINT{92, 46 + bob}}));
    layers.Shape(body, yellow, kInk, 1.2);
    layers.Over(shade, 0.5 - EllipseDistance(p, {97, 42 + bob}, 6, 3.2)); // the wing
    const double beak = EllipseDistance(p, {118, 33 + bob}, 5, 2.4);
    layers.Shape(beak, orange, kInk, 1.0);
    layers.Shape(CircleDistance(p, {110, 32 + bob}, 7), yellow, kInk, 1.2);
    layers.Over({20, 20, 20}, 0.5 - CircleDistance(p, {112, 30 + bob}, 1.6));
}

void PaintPond(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const auto* loop = static_cast<const ST_LOOP*>(context);
    const double t = static_cast<double>(frame) / loop->frames;
    const double bob = 1.5 * std::sin(2 * kPi * t);
    const Colour ring{206, 236, 252};
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = bgra + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        for (int32_t x = 0; x < width; ++x) {
            const ST_POINT p{x + 0.5, y + 0.5};
            ST_LAYERS layers;
            layers.Over(kWater, 1.0);
            // Each ring is born under the duck, spreads and fades out just as
            // the next loop's ring takes its place.
            const double reach = std::hypot(p.x - 100, (p.y - kWaterLine) / kRippleFlat);
            for (int k = 0; k < kRipples; ++k) {
                double grown = t + static_cast<double>(k) / kRipples;
                grown -= std::floor(grown);
                const double radius = grown * kRippleReach;
                // Wider across than up and down, as the ring's edge is seen.
                const double band = 2.2 * (std::fabs(p.x - 100) + 1) / (reach + 1) + 0.6 / kRippleFlat *
                                    std::fabs(p.y - kWaterLine) / (reach + 1);
                layers.Over(ring, 0.9 * std::sqrt(1 - grown) * Clamp01(band - std::fabs(reach - radius)));
            }
            PondDuck(layers, p, bob);
            // Soft edges: fully there in the middle, gone at the frame's rim.
            const double u = (p.x - width / 2.0) / (width / 2.0), v = (p.y - height / 2.0) / (height / 2.0);
            const double rim = 1.0 - Ease((std::sqrt(u * u + v * v) - 0.7) / 0.3);
            layers.Put(row + static_cast<size_t>(x) * 4, rim);
        }
    }
}

int Write(const std::filesystem::path& path, const ST_MOVIE_PLAN& movie, bool verbose)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const int code = WriteMovie(path.string().c_str(), movie);
    if (code != PIM_OK)
        std::fprintf(stderr, "moviemaker: %s: %s\n", path.string().c_str(), ErrorText(code));
    else if (verbose)
        std::printf("moviemaker: %s (%d x %d, %d frames at %d fps%s%s)\n", path.string().c_str(), movie.width,
                    movie.height, movie.frames, movie.fps, movie.alpha ? ", alpha" : "", movie.soundRate ? ", sound" : "");
    return code;
}

// The fairground's scroll from one view to the other: `from` slides out
// (right when `fromLeft`, the new view coming in from the left), eased, the
// last frame the new view as the room then shows it.
struct ST_FAIR_SCROLL
{
    int from;
    bool fromLeft;
    int frames;
};

void PaintFairScroll(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    const auto* scroll = static_cast<const ST_FAIR_SCROLL*>(context);
    const int shown = std::min(frame, scroll->frames - 1);
    const double t = Ease(scroll->frames > 1 ? static_cast<double>(shown) / (scroll->frames - 1) : 1.0);
    const auto offset = static_cast<int32_t>(std::lround(t * width));
    const int to = 1 - scroll->from;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            int view = scroll->from;
            int32_t sx = 0;
            if (scroll->fromLeft) {
                view = x < offset ? to : scroll->from;
                sx = x < offset ? x - offset + width : x - offset;
            } else {
                view = x + offset < width ? scroll->from : to;
                sx = x + offset < width ? x + offset : x + offset - width;
            }
            const ST_FAIR_RGB c = FairSceneryPixel(view, sx, y);
            PutPixel(bgra + (static_cast<size_t>(y) * width + x) * 4, {double(c.r), double(c.g), double(c.b)}, 255);
        }
}

// The first arrival at the fair: view 0 as the room then shows it, and a
// welcome banner sliding down from above the sky, bouncing to rest.
struct ST_FAIR_WELCOME
{
    int frames;
    std::vector<uint8_t> scenery; // view 0 in BGRA, painted on the first frame
};

constexpr int32_t kBannerTop = 100;
constexpr int32_t kBannerHeight = 90;

void PaintFairWelcome(int frame, uint8_t* bgra, int32_t width, int32_t height, void* context)
{
    auto* welcome = static_cast<ST_FAIR_WELCOME*>(context);
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    if (welcome->scenery.size() != bytes) {
        welcome->scenery.resize(bytes);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const ST_FAIR_RGB c = FairSceneryPixel(0, x % FAIR_SCENE_WIDTH, y % FAIR_SCENE_HEIGHT);
                PutPixel(welcome->scenery.data() + (static_cast<size_t>(y) * width + x) * 4,
                         {double(c.r), double(c.g), double(c.b)}, 255);
            }
    }
    std::copy(welcome->scenery.begin(), welcome->scenery.end(), bgra);
    // In over the first half, swinging a little past its place, then still.
    const double t = Clamp01(frame / (welcome->frames * 0.5));
    const double drop = Ease(t) + 0.15 * t * std::sin(kPi * t);
    const int32_t top = static_cast<int32_t>(std::lround(-kBannerHeight + (kBannerTop + kBannerHeight) * drop));
    const int32_t left = width / 10, right = width - width / 10;
    // The words as big as the banner's width lets them be.
    ST_TITLE words{"WELCOME TO THE FAIR", 0, 0, 1, 0, 0};
    const int letters = static_cast<int>(std::strlen(words.text));
    words.scale = std::max(1, (right - left - 40) / (letters * kGlyphAdvance));
    words.width = (letters * kGlyphAdvance - 1) * words.scale;
    words.height = kGlyphHeight * words.scale;
    words.x = (right - left - words.width) / 2;
    words.y = (kBannerHeight - words.height) / 2;
    for (int32_t y = std::max(0, top); y < std::min(height, top + kBannerHeight); ++y)
        for (int32_t x = left; x < right; ++x) {
            const bool rim = y < top + 6 || y >= top + kBannerHeight - 6 || x < left + 6 || x >= right - 6;
            Colour c = rim ? Colour{250, 200, 40} : Colour{210, 40, 60};
            if (!rim && TitleCovers(words, x - left, y - top))
                c = {255, 255, 255};
            PutPixel(bgra + (static_cast<size_t>(y) * width + x) * 4, c, 255);
        }
}

constexpr int kFps = 15;
// What the painters are told, kept for as long as the plans point at them.
ST_INTRO g_intro{3 * kFps};
ST_FADE g_fadeIn{10, true};
ST_FADE g_fadeOut{10, false};
int g_rainbowFrames = 2 * kFps;
ST_LOOP g_windmill{16};
ST_LOOP g_pond{16};
// "S04_BG<view + 1>_<L|R>": L scrolls with direction +1 (the new view from
// the left), R with -1.
ST_FAIR_SCROLL g_fairScrolls[] = {{0, true, 8}, {0, false, 8}, {1, true, 8}, {1, false, 8}};
// Three seconds at 10 frames a second: the banner needs no more to read well.
ST_FAIR_WELCOME g_fairWelcome{30, {}};

ST_MOVIE_PLAN Plan(int32_t width, int32_t height, int frames, bool alpha,
                   void (*paint)(int, uint8_t*, int32_t, int32_t, void*), void* context)
{
    ST_MOVIE_PLAN plan;
    plan.width = width;
    plan.height = height;
    plan.frames = frames;
    plan.fps = kFps;
    plan.alpha = alpha;
    plan.paint = paint;
    plan.context = context;
    return plan;
}

ST_MOVIE_PLAN FairScroll(ST_FAIR_SCROLL& scroll)
{
    ST_MOVIE_PLAN plan =
        Plan(FAIR_SCENE_WIDTH, FAIR_SCENE_HEIGHT, scroll.frames, false, &PaintFairScroll, &scroll);
    plan.yuv = true;
    return plan;
}

ST_MOVIE_PLAN FairWelcome()
{
    ST_MOVIE_PLAN plan =
        Plan(FAIR_SCENE_WIDTH, FAIR_SCENE_HEIGHT, g_fairWelcome.frames, false, &PaintFairWelcome, &g_fairWelcome);
    plan.fps = 10;
    plan.yuv = true;
    return plan;
}

} // namespace

std::vector<ST_DEMO_MOVIE> GetDemoMovies()
{
    ST_MOVIE_PLAN intro = Plan(640, 480, g_intro.frames, false, &PaintIntro, &g_intro);
    intro.soundRate = 22050;
    intro.soundChannels = 1;
    intro.soundTracks = 1;
    intro.sound = &IntroSound;
    // Stored as lossy movies keep their pictures: a third of the size, and
    // the conversion every real movie takes.
    intro.yuv = true;
    return {
        {"common/intro.smk", intro},
        // The size of the game's screen: they fade whatever is behind them.
        {"common/fade0.smk", Plan(800, 600, g_fadeIn.frames, true, &PaintFade, &g_fadeIn)},
        {"common/fade1.smk", Plan(800, 600, g_fadeOut.frames, true, &PaintFade, &g_fadeOut)},
        {"title/rainbow.smk", Plan(320, 160, g_rainbowFrames, true, &PaintRainbow, &g_rainbowFrames)},
        {"title/windmill.smk", Plan(120, 160, g_windmill.frames, true, &PaintWindmill, &g_windmill)},
        {"FarmyardMenu/pond.smk",
         Plan(kPondMovie.right - kPondMovie.left + 1, kPondMovie.bottom - kPondMovie.top + 1, g_pond.frames, true,
              &PaintPond, &g_pond)},
        {"FairgroundMenu/S04_BG1_L.bik", FairScroll(g_fairScrolls[0])},
        {"FairgroundMenu/S04_BG1_R.bik", FairScroll(g_fairScrolls[1])},
        {"FairgroundMenu/S04_BG2_L.bik", FairScroll(g_fairScrolls[2])},
        {"FairgroundMenu/S04_BG2_R.bik", FairScroll(g_fairScrolls[3])},
        {"m04_fairgrounds.bik", FairWelcome()},
    };
}

int MakeDemoMovies(const char* dataFolder, bool verbose)
{
    int result = PIM_OK;
    for (const ST_DEMO_MOVIE& movie : GetDemoMovies()) {
        const int code = Write(std::filesystem::path(dataFolder) / movie.path, movie.plan, verbose);
        if (result == PIM_OK)
            result = code;
    }
    return result;
}
