// Keyed draws from a surface's opaque runs must leave the bytes the general
// routine leaves, however they are clipped, and must never draw from runs
// that no longer describe the pixels.
#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimBlit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

class GeneralOnly
{
public:
    GeneralOnly() : m_was(GetBlitForceGeneral()) { SetBlitForceGeneral(true); }
    ~GeneralOnly() { SetBlitForceGeneral(m_was); }
    GeneralOnly(const GeneralOnly&) = delete;
    GeneralOnly& operator=(const GeneralOnly&) = delete;

private:
    bool m_was;
};

struct Format
{
    const char* name;
    int depth;
    uint8_t layout;
};

const Format kFormats[] = {
    {"8", 8, PIM_LAYOUT_DEFAULT},         {"16/565", 16, PIM_LAYOUT_565}, {"16/555", 16, PIM_LAYOUT_555},
    {"16/4444", 16, PIM_LAYOUT_4444},     {"24", 24, PIM_LAYOUT_DEFAULT}, {"32", 32, PIM_LAYOUT_DEFAULT},
};

uint32_t RandomValue(int depth, std::mt19937& random)
{
    return depth == 32 ? static_cast<uint32_t>(random()) : static_cast<uint32_t>(random()) & ((1u << depth) - 1);
}

// The value the key is compared with for the pixel at (x, y).
uint32_t KeyValue(CxDrawSurface& surface, int32_t x, int32_t y)
{
    const uint8_t* bits = surface.LockBitsToRead();
    const uint8_t* row = bits + static_cast<ptrdiff_t>(y) * surface.GetPitch();
    const uint32_t value = surface.GetDepth() == 24 ? Read24AsKey(row + 3 * x) : ReadPixel(row, x, surface.GetDepth());
    surface.UnlockBits();
    return value;
}

// A sprite of random pixels with runs of `key` across it; `shape` 0 is
// mixed (with whole rows clear), 1 all key, 2 no key at all.
void PaintSprite(CxDrawSurface& sprite, uint32_t keyPixel, int shape, std::mt19937& random)
{
    const int depth = sprite.GetDepth();
    uint8_t* bits = sprite.LockBits();
    ASSERT_NE(bits, nullptr);
    for (int32_t y = 0; y < sprite.GetHeight(); ++y) {
        uint8_t* row = bits + static_cast<ptrdiff_t>(y) * sprite.GetPitch();
        const bool clearRow = shape == 0 && random() % 5 == 0;
        bool key = random() % 2 == 0;
        for (int32_t x = 0, run = 0; x < sprite.GetWidth(); ++x, --run) {
            if (run <= 0) {
                key = !key;
                run = 1 + static_cast<int32_t>(random() % 12);
            }
            uint32_t value = RandomValue(depth, random);
            if (shape == 1 || clearRow || (shape == 0 && key))
                value = keyPixel;
            else if (value == keyPixel)
                value ^= 1;
            WritePixel(row, x, depth, value);
        }
    }
    sprite.UnlockBits();
}

void RandomFill(CxDrawSurface& surface, std::mt19937& random)
{
    uint8_t* bits = surface.LockBits();
    for (size_t i = 0; i < surface.GetBitsSize(); ++i)
        bits[i] = static_cast<uint8_t>(random());
    surface.UnlockBits();
}

std::vector<uint8_t> BitsOf(CxDrawSurface& surface)
{
    const uint8_t* bits = surface.LockBitsToRead();
    std::vector<uint8_t> copy(bits, bits + surface.GetBitsSize());
    surface.UnlockBits();
    return copy;
}

// Draws `sprite` keyed at (x, y) through `sourceRect` onto copies of
// `screen`, by the runs and by the general routine: equal bytes, or a
// failure naming `what`.
void ExpectSameDraw(CxDrawSurface& sprite, CxDrawSurface& screen, int32_t x, int32_t y, const CxRect* sourceRect,
                    uint32_t key, const std::string& what)
{
    CxDrawSurface bySpans, byGeneral;
    bySpans.CreateCopy(screen);
    byGeneral.CreateCopy(screen);
    EXPECT_EQ(sprite.BlitAt(bySpans, x, y, sourceRect, key, nullptr), PIM_OK) << what;
    {
        GeneralOnly general;
        EXPECT_EQ(sprite.BlitAt(byGeneral, x, y, sourceRect, key, nullptr), PIM_OK) << what;
    }
    EXPECT_EQ(BitsOf(bySpans), BitsOf(byGeneral)) << what;
}

// A 16-bit 5-6-5 sprite with key 0 and a screen to draw it on, drawn once so
// that its runs exist.
struct Scene
{
    CxDrawSurface sprite;
    CxDrawSurface screen;
    std::mt19937 random{99};

    Scene()
    {
        sprite.Create(23, 17, 16, -1, nullptr, PIM_LAYOUT_565);
        screen.Create(60, 40, 16, -1, nullptr, PIM_LAYOUT_565);
        PaintSprite(sprite, 0, 0, random);
        RandomFill(screen, random);
        sprite.BlitAt(screen, 3, 4, nullptr, 0, nullptr);
    }
};

// Random sprites of every accepted format, from 1 x N and N x 1 up, mixed,
// all key and all opaque, drawn through random source rectangles (some
// reaching outside the sprite) at random places, some off every edge.
void DrawRandomSprites(std::mt19937& random, int& draws)
{
    for (const Format& format : kFormats) {
        for (int trial = 0; trial < 24; ++trial) {
            const int32_t width = trial == 0 ? 1 : 1 + static_cast<int32_t>(random() % 70);
            const int32_t height = trial == 1 ? 1 : 1 + static_cast<int32_t>(random() % 30);
            CxDrawSurface sprite, screen;
            ASSERT_EQ(sprite.Create(width, height, format.depth, -1, nullptr, format.layout), PIM_OK);
            ASSERT_EQ(screen.Create(50 + static_cast<int32_t>(random() % 40), 30 + static_cast<int32_t>(random() % 20),
                                    format.depth, -1, nullptr, format.layout),
                      PIM_OK);
            RandomFill(screen, random);
            const uint32_t key = RandomValue(format.depth, random);
            // A 24-bit key compares with the pixel's bytes the other way round.
            const uint32_t keyPixel = format.depth == 24 ? ((key & 0xFF) << 16) | (key & 0xFF00) | (key >> 16) : key;
            PaintSprite(sprite, keyPixel, trial % 8 == 6 ? 1 : (trial % 8 == 7 ? 2 : 0), random);
            if (trial % 8 >= 6) {
                ASSERT_EQ(KeyValue(sprite, 0, 0) == key, trial % 8 == 6) << format.name;
            }
            for (int place = 0; place < 6; ++place) {
                const int32_t x = static_cast<int32_t>(random() % (screen.GetWidth() + 2 * width)) - width;
                const int32_t y = static_cast<int32_t>(random() % (screen.GetHeight() + 2 * height)) - height;
                const int32_t left = static_cast<int32_t>(random() % (width + 2)) - 1;
                const int32_t top = static_cast<int32_t>(random() % (height + 2)) - 1;
                const CxRect part(left, top, left + static_cast<int32_t>(random() % (width + 1)),
                                  top + static_cast<int32_t>(random() % (height + 1)));
                const std::string what = std::string(format.name) + " " + std::to_string(width) + "x" +
                                         std::to_string(height) + " at " + std::to_string(x) + "," +
                                         std::to_string(y) + " part " + std::to_string(place);
                ExpectSameDraw(sprite, screen, x, y, place % 2 ? &part : nullptr, key, what);
                ++draws;
            }
        }
    }
}

} // namespace

// The random sprites above, drawn with the plain copies and with the wide
// ones where the processor has them.
TEST(KeySpans, DrawsWhatTheGeneralRoutineDraws)
{
    std::mt19937 random(5150);
    const ST_KEY_SPAN_STATS before = CxKeySpans::GetStats();
    int draws = 0;
    size_t passes = 0;
    for (const bool wide : {false, true}) {
        if (CxKeySpans::UseWideCopies(wide) != wide)
            continue; // no wide copies on this processor
        ++passes;
        DrawRandomSprites(random, draws);
    }
    CxKeySpans::UseWideCopies(true);
    // The runs really drew (and were built once a sprite, not once a draw).
    const ST_KEY_SPAN_STATS after = CxKeySpans::GetStats();
    EXPECT_GT(after.draws - before.draws, static_cast<uint64_t>(draws) / 3); // the rest are off the screen
    EXPECT_LE(after.builds - before.builds, passes * std::size(kFormats) * 24);
}

// Cases the runs do not draw exactly are left to the general routine: a
// stretch, another format, a mode, a key no pixel can have, a surface drawn
// onto itself.
TEST(KeySpans, OtherCasesTakeTheGeneralRoutine)
{
    Scene s;
    const uint64_t draws = CxKeySpans::GetStats().draws;
    ExpectSameDraw(s.sprite, s.screen, 2, 2, nullptr, 0x10000, "key beyond 16 bits");
    CxDrawSurface other;
    other.Create(40, 30, 16, -1, nullptr, PIM_LAYOUT_555);
    ExpectSameDraw(s.sprite, other, 1, 1, nullptr, 0, "5-6-5 onto 5-5-5");
    CxDrawSurface stretched;
    stretched.CreateCopy(s.screen);
    const CxRect wide(0, 0, 45, 33);
    EXPECT_EQ(s.sprite.Blit(stretched, &wide, nullptr, 0, nullptr), PIM_OK);
    ST_DRAW_PARAMS half;
    half.mode = PIM_DRAW_HALF;
    EXPECT_EQ(s.sprite.BlitAt(stretched, 4, 4, nullptr, 0, &half), PIM_OK);
    EXPECT_EQ(CxKeySpans::GetStats().draws, draws);

    // Onto itself, overlapping: the source as it was before the draw.
    CxDrawSurface general;
    general.CreateCopy(s.sprite);
    const CxRect part(0, 0, 15, 10);
    s.sprite.BlitAt(s.sprite, 3, 2, &part, 0, nullptr);
    {
        GeneralOnly only;
        general.BlitAt(general, 3, 2, &part, 0, nullptr);
    }
    EXPECT_EQ(BitsOf(s.sprite), BitsOf(general));

    // Different palettes at 8 bits convert; the same palette copies.
    std::mt19937 random(3);
    CxDrawSurface paletted, onto;
    paletted.Create(20, 9, 8);
    onto.Create(30, 20, 8);
    PaintSprite(paletted, 7, 0, random);
    RandomFill(onto, random);
    ExpectSameDraw(paletted, onto, 2, 3, nullptr, 7, "8 bits, one palette");
    uint8_t palette[768];
    for (auto& byte : palette)
        byte = static_cast<uint8_t>(random());
    paletted.SetPalette(palette);
    ExpectSameDraw(paletted, onto, 2, 3, nullptr, 7, "8 bits, palette changed");
}

// Every way of changing the pixels, the key or the geometry: the next keyed
// draw matches the general routine (the change turns key pixels opaque and
// opaque ones into key, so stale runs would show).
TEST(KeySpans, EveryChangeOfThePixelsRebuildsTheRuns)
{
    const std::vector<std::pair<std::string, std::function<void(CxDrawSurface&, CxDrawSurface&)>>> changes = {
        {"SetPixel", [](CxDrawSurface& s, CxDrawSurface&) { s.SetPixel(1, 1, 0), s.SetPixel(2, 2, 0x1234), s.SetPixel(5, 0, 0x4321); }},
        {"FillRect", [](CxDrawSurface& s, CxDrawSurface&) { s.FillRect(CxRect(2, 2, 12, 9), 0x7777), s.FillRect(CxRect(0, 0, 4, 3), 0); }},
        {"DrawLine", [](CxDrawSurface& s, CxDrawSurface&) { s.DrawLine(0, 0, 22, 16, 0), s.DrawLine(0, 16, 22, 0, 0x5555); }},
        {"FillCircle", [](CxDrawSurface& s, CxDrawSurface&) { s.FillCircle(10, 8, 5, 0x0F0F); }},
        {"FloodFill", [](CxDrawSurface& s, CxDrawSurface&) { s.FloodFill(0, 0, 0x2222); }},
        {"ReplaceColour", [](CxDrawSurface& s, CxDrawSurface&) { s.ReplaceColour(0, 0x3333); }},
        {"SwapColours", [](CxDrawSurface& s, CxDrawSurface&) { s.SwapColours(0, 0x2468); }},
        {"FlipHorizontal", [](CxDrawSurface& s, CxDrawSurface&) { s.FlipHorizontal(nullptr); }},
        {"FlipVertical", [](CxDrawSurface& s, CxDrawSurface&) { s.FlipVertical(nullptr); }},
        {"Rotate", [](CxDrawSurface& s, CxDrawSurface&) { s.Rotate(90); }},
        {"ScrollHorizontal", [](CxDrawSurface& s, CxDrawSurface&) { s.ScrollHorizontal(5); }},
        {"ScrollVertical", [](CxDrawSurface& s, CxDrawSurface&) { s.ScrollVertical(3); }},
        {"Darken", [](CxDrawSurface& s, CxDrawSurface&) { s.Darken(200, nullptr); }},
        {"blit into it", [](CxDrawSurface& s, CxDrawSurface& screen) { screen.BlitAt(s, -3, -2, nullptr, PIM_NO_KEY, nullptr); }},
        {"CopyBitsTo it", [](CxDrawSurface& s, CxDrawSurface&) {
             CxDrawSurface other;
             other.Create(s.GetWidth(), s.GetHeight(), 16, s.GetPitch(), nullptr, PIM_LAYOUT_565);
             other.FillRect(CxRect(0, 0, 10, 10), 0x1111);
             other.CopyBitsTo(s);
         }},
        {"CreateCopy", [](CxDrawSurface& s, CxDrawSurface& screen) { s.CreateCopy(screen); }},
        {"Create", [](CxDrawSurface& s, CxDrawSurface&) { s.Create(19, 21, 16, -1, nullptr, PIM_LAYOUT_565); }},
        {"ConvertFormat", [](CxDrawSurface& s, CxDrawSurface&) { s.ConvertFormat(16, PIM_LAYOUT_555), s.ConvertFormat(16, PIM_LAYOUT_565); }},
        {"LockBits and write", [](CxDrawSurface& s, CxDrawSurface&) {
             uint8_t* bits = s.LockBits();
             std::memset(bits, 0, static_cast<size_t>(s.GetPitch()) * 3);
             std::memset(bits + s.GetPitch() * 5, 0x5A, static_cast<size_t>(s.GetPitch()) * 4);
             s.UnlockBits();
         }},
        {"raw setters", [](CxDrawSurface& s, CxDrawSurface&) { s.SetHeight(s.GetHeight() - 4), s.SetWidth(s.GetWidth() - 1); }},
    };
    for (const auto& [name, change] : changes) {
        Scene s;
        ASSERT_TRUE(s.sprite.GetKeySpans().IsBuilt()) << name;
        const uint32_t version = s.sprite.GetPixelsVersion();
        change(s.sprite, s.screen);
        EXPECT_NE(s.sprite.GetPixelsVersion(), version) << name;
        ExpectSameDraw(s.sprite, s.screen, 5, 6, nullptr, 0, name);
        ExpectSameDraw(s.sprite, s.screen, -4, 30, nullptr, 0, name + " at the edge");
    }

    // A new key, through the surface's own transparent colour.
    Scene s;
    s.sprite.SetTransparentColour(s.sprite.GetPixel(4, 4));
    ExpectSameDraw(s.sprite, s.screen, 5, 6, nullptr, PIM_NO_KEY, "another key");
    EXPECT_EQ(s.sprite.GetKeySpans().GetKey(), s.sprite.GetTransparentColour());
}

// Bits someone else may be writing are never drawn from runs: while another
// lock is held, and on external bits, whose owner writes them at will.
TEST(KeySpans, HeldAndExternalBitsAreNeverTrusted)
{
    Scene s;
    uint8_t* held = s.sprite.LockBits();
    ExpectSameDraw(s.sprite, s.screen, 1, 1, nullptr, 0, "locked");
    std::memset(held, 0, static_cast<size_t>(s.sprite.GetPitch()) * 6);
    ExpectSameDraw(s.sprite, s.screen, 1, 1, nullptr, 0, "written while locked");
    s.sprite.UnlockBits();
    ExpectSameDraw(s.sprite, s.screen, 1, 1, nullptr, 0, "unlocked");

    std::vector<uint8_t> memory(32 * 2 * 10);
    CxDrawSurface external;
    ASSERT_EQ(external.Create(32, 10, 16, 64, memory.data(), PIM_LAYOUT_565), PIM_OK);
    PaintSprite(external, 0, 0, s.random);
    ExpectSameDraw(external, s.screen, 7, 7, nullptr, 0, "external");
    std::memset(memory.data() + 64, 0, 128);
    std::memset(memory.data() + 320, 0x33, 64);
    ExpectSameDraw(external, s.screen, 7, 7, nullptr, 0, "external, written");
    EXPECT_FALSE(external.GetKeySpans().IsBuilt());
}

// Reading the pixels leaves the runs alone, and drawing from them takes no
// memory: a sprite drawn every frame costs its build once.
TEST(KeySpans, ReadsKeepTheRunsAndDrawsAllocateNothing)
{
    Scene s;
    const uint32_t version = s.sprite.GetPixelsVersion();
    s.sprite.GetPixel(3, 3);
    s.sprite.CountColours();
    s.sprite.CountPixelsOfValue(0);
    int32_t x = 0, y = 0;
    s.sprite.FindPixel(0, x, y);
    s.sprite.LockBitsToRead();
    s.sprite.UnlockBits();
    CxDrawSurface copy;
    copy.CreateCopy(s.sprite);
    EXPECT_EQ(s.sprite.GetPixelsVersion(), version);

    const ST_KEY_SPAN_STATS before = CxKeySpans::GetStats();
    const uint64_t allocations = GetMemoryStats().allocations;
    for (int frame = 0; frame < 50; ++frame)
        s.sprite.BlitAt(s.screen, frame % 40 - 5, frame % 30, nullptr, 0, nullptr);
    EXPECT_EQ(GetMemoryStats().allocations, allocations);
    EXPECT_EQ(CxKeySpans::GetStats().builds, before.builds);
    EXPECT_EQ(CxKeySpans::GetStats().draws, before.draws + 50);
}

// A surface whose pixels change between every draw stops paying for builds
// that serve one draw each, and draws from runs again once it holds still.
TEST(KeySpans, PixelsChangingEveryDrawStopBuilding)
{
    Scene s; // built once, by its first draw
    const uint64_t builds = CxKeySpans::GetStats().builds;
    for (int frame = 0; frame < 10; ++frame) {
        s.sprite.SetPixel(frame, 2, frame % 2 ? 0 : 0x4444);
        ExpectSameDraw(s.sprite, s.screen, frame, 3, nullptr, 0, "frame " + std::to_string(frame));
    }
    EXPECT_LE(CxKeySpans::GetStats().builds, builds + 1);
    ExpectSameDraw(s.sprite, s.screen, 0, 0, nullptr, 0, "still");
    ExpectSameDraw(s.sprite, s.screen, 0, 0, nullptr, 0, "still again");
    EXPECT_TRUE(s.sprite.GetKeySpans().IsBuilt());
}
