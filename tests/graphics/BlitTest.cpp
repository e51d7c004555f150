#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimBlit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A pixel buffer with its format, for driving the pixel routines directly.
struct TestImage
{
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    ST_PIXEL_FORMAT format;
    std::vector<uint8_t> bits;
};

struct FormatChoice
{
    const char* name;
    int depth;
    uint8_t layout;
    const ST_RGB* palette;
    const uint16_t* table;
    int tableCount;
};

ST_PIXEL_FORMAT MakeFormat(const FormatChoice& choice)
{
    ST_PIXEL_FORMAT f;
    f.depth = choice.depth;
    f.layout = ResolveLayout(choice.layout, choice.depth);
    SetChannelWidths(f);
    f.palette = choice.palette;
    f.colourTable = choice.table;
    f.colourTableCount = choice.tableCount;
    return f;
}

// Random pixels, with the alpha of 32-bit, 4-4-4-4 and layout-9 pixels
// often at its ends (where the modes take shortcuts) and layout-9 indices
// sometimes beyond the table. Alphas come in runs, as in real sprites, so
// that whole vectors of clear or opaque pixels occur.
TestImage RandomImage(const FormatChoice& choice, int32_t width, int32_t height, std::mt19937& random)
{
    TestImage image;
    image.name = choice.name;
    image.width = width;
    image.height = height;
    image.format = MakeFormat(choice);
    PitchFor(width, choice.depth, image.pitch);
    image.pitch += 3; // rows with slack, as screens have
    image.bits.resize(static_cast<size_t>(image.pitch) * static_cast<size_t>(height));
    for (auto& byte : image.bits)
        byte = static_cast<uint8_t>(random());
    const ST_PIXEL_FORMAT& f = image.format;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image.bits.data() + static_cast<ptrdiff_t>(y) * image.pitch;
        uint32_t pick = 0;
        for (int32_t x = 0, run = 0; x < width; ++x, --run) {
            uint32_t value = ReadPixel(row, x, f.depth);
            if (run <= 0) {
                pick = random() % 4;
                run = static_cast<int32_t>(random() % 20);
            }
            if (f.depth == 32 && pick < 2)
                value = (value & 0x00FFFFFFu) | (pick ? 0xFF000000u : 0u);
            if (f.depth == 16 && f.alphaBits == 4 && pick < 2)
                value = (value & 0x0FFFu) | (pick ? 0xF000u : 0u);
            if (f.depth == 16 && f.layout == PIM_LAYOUT_TABLE)
                value = (value & 0xF000u) | (random() % (choice.tableCount + 40));
            WritePixel(row, x, f.depth, value);
        }
    }
    return image;
}

// The raw value a colour key is compared with.
uint32_t KeyValueAt(const TestImage& image, int32_t x, int32_t y)
{
    const uint8_t* row = image.bits.data() + static_cast<ptrdiff_t>(y) * image.pitch;
    return image.format.depth == 24 ? Read24AsKey(row + 3 * x) : ReadPixel(row, x, image.format.depth);
}

ST_BLIT_JOB MakeJob(const TestImage& source, TestImage& destination, const CxRect& sourceRect, const CxRect& destinationRect)
{
    ST_BLIT_JOB job;
    job.sourceBits = source.bits.data();
    job.sourcePitch = source.pitch;
    job.sourceFormat = source.format;
    job.destinationBits = destination.bits.data();
    job.destinationPitch = destination.pitch;
    job.destinationFormat = destination.format;
    job.sourceRect = sourceRect;
    job.destinationRect = destinationRect;
    return job;
}

class ForceGeneral
{
public:
    explicit ForceGeneral(bool force) : m_was(GetBlitForceGeneral()) { SetBlitForceGeneral(force); }
    ~ForceGeneral() { SetBlitForceGeneral(m_was); }
    ForceGeneral(const ForceGeneral&) = delete;
    ForceGeneral& operator=(const ForceGeneral&) = delete;

private:
    bool m_was;
};

struct Palettes
{
    ST_RGB a[256];
    ST_RGB b[256];
    uint16_t table[200];
    explicit Palettes(std::mt19937& random)
    {
        for (int i = 0; i < 256; ++i) {
            a[i] = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random())};
            b[i] = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random())};
        }
        a[17] = a[3]; // a duplicate entry, which a conversion folds onto the first
        for (auto& entry : table)
            entry = static_cast<uint16_t>(random() & 0x7FFF);
    }
};

// A surface holding the given pixels (rows copied, pitch from the rule).
void FillSurface(CxDrawSurface& surface, const TestImage& image)
{
    ASSERT_EQ(surface.Create(image.width, image.height, image.format.depth, -1, nullptr, image.format.layout), PIM_OK);
    uint8_t* bits = surface.LockBits();
    ASSERT_NE(bits, nullptr);
    const size_t row = std::min<size_t>(static_cast<size_t>(surface.GetPitch()), static_cast<size_t>(image.pitch));
    for (int32_t y = 0; y < image.height; ++y)
        std::memcpy(bits + static_cast<ptrdiff_t>(y) * surface.GetPitch(),
                    image.bits.data() + static_cast<ptrdiff_t>(y) * image.pitch, row);
    surface.UnlockBits();
}

std::vector<uint8_t> BitsOf(CxDrawSurface& surface)
{
    const uint8_t* bits = surface.LockBits();
    std::vector<uint8_t> copy(bits, bits + static_cast<size_t>(surface.GetPitch()) * surface.GetHeight());
    surface.UnlockBits();
    return copy;
}

} // namespace

// Every specialised routine must leave exactly the bytes of the general
// routine: every pair of these formats, the modes, key on and off, odd
// widths (shorter and longer than a vector turn) at odd offsets, random
// pixels underneath. Bytes outside the destination rectangle must survive.
TEST(BlitDifferential, FastRoutinesEqualTheGeneralRoutine)
{
    std::mt19937 random(20240611);
    Palettes palettes(random);
    const FormatChoice sources[] = {
        {"8 default", 8, 0, nullptr, nullptr, 0},
        {"8 A", 8, 0, palettes.a, nullptr, 0},
        {"4 A", 4, 0, palettes.a, nullptr, 0},
        {"16/555", 16, PIM_LAYOUT_555, nullptr, nullptr, 0},
        {"16/565", 16, PIM_LAYOUT_565, nullptr, nullptr, 0},
        {"16/556", 16, PIM_LAYOUT_556, nullptr, nullptr, 0},
        {"16/655", 16, PIM_LAYOUT_655, nullptr, nullptr, 0},
        {"16/4444", 16, PIM_LAYOUT_4444, nullptr, nullptr, 0},
        {"16/bgr555", 16, PIM_LAYOUT_BGR555, nullptr, nullptr, 0},
        {"16/table", 16, PIM_LAYOUT_TABLE, nullptr, palettes.table, 200},
        {"24", 24, 0, nullptr, nullptr, 0},
        {"32", 32, 0, nullptr, nullptr, 0},
    };
    const FormatChoice destinations[] = {
        {"8 A", 8, 0, palettes.a, nullptr, 0},
        {"8 B", 8, 0, palettes.b, nullptr, 0},
        {"16/555", 16, PIM_LAYOUT_555, nullptr, nullptr, 0},
        {"16/565", 16, PIM_LAYOUT_565, nullptr, nullptr, 0},
        {"16/556", 16, PIM_LAYOUT_556, nullptr, nullptr, 0},
        {"16/655", 16, PIM_LAYOUT_655, nullptr, nullptr, 0},
        {"16/4444", 16, PIM_LAYOUT_4444, nullptr, nullptr, 0},
        {"16/bgr555", 16, PIM_LAYOUT_BGR555, nullptr, nullptr, 0},
        {"16/table", 16, PIM_LAYOUT_TABLE, nullptr, palettes.table, 200},
        {"24", 24, 0, nullptr, nullptr, 0},
        {"32", 32, 0, nullptr, nullptr, 0},
    };
    const int32_t modes[] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18};
    const int32_t widths[] = {1, 7, 33};

    int runs = 0;
    std::vector<std::string> failures;
    for (const FormatChoice& sourceChoice : sources) {
        for (const FormatChoice& destinationChoice : destinations) {
            for (int32_t mode : modes) {
                for (int keyed = 0; keyed < 2; ++keyed) {
                    for (int32_t width : widths) {
                        const int32_t height = 3;
                        TestImage source = RandomImage(sourceChoice, width + 6, height + 2, random);
                        const TestImage destination = RandomImage(destinationChoice, width + 9, height + 3, random);
                        const CxRect sourceRect(3, 1, 3 + width - 1, 1 + height - 1);
                        const CxRect destinationRect(5, 2, 5 + width - 1, 2 + height - 1);
                        // Plant the key in runs over about a third of the pixels.
                        const uint32_t key = KeyValueAt(source, 3, 1);
                        for (int32_t y = 1; y <= height; ++y) {
                            uint8_t* row = source.bits.data() + static_cast<ptrdiff_t>(y) * source.pitch;
                            bool planting = false;
                            for (int32_t x = 3, run = 0; x < 3 + width; ++x, --run) {
                                if (run <= 0) {
                                    planting = random() % 3 == 0;
                                    run = static_cast<int32_t>(random() % 24);
                                }
                                if (planting)
                                    std::memcpy(row + x * source.format.depth / 8,
                                                source.bits.data() + source.pitch + 3 * source.format.depth / 8,
                                                static_cast<size_t>(std::max(source.format.depth / 8, 1)));
                            }
                        }
                        TestImage fast = destination, general = destination;
                        ST_BLIT_JOB job = MakeJob(source, fast, sourceRect, destinationRect);
                        job.hasKey = keyed != 0;
                        job.key = key;
                        job.params.mode = mode;
                        const bool colourMode = mode == PIM_DRAW_KEY_COLOURED || mode == PIM_DRAW_SILHOUETTE;
                        job.params.argument1 = colourMode ? static_cast<int32_t>(random())
                                                          : static_cast<int32_t>(random() % 300) - 20;
                        job.params.argument2 = static_cast<int32_t>(random() % 600) - 300;
                        job.params.argument3 = static_cast<int32_t>(random() % 600) - 300;
                        job.destinationKey = keyed ? KeyValueAt(destination, 6, 2) : PIM_NO_KEY;
                        BlitRun(job);
                        job.destinationBits = general.bits.data();
                        BlitGeneral(job);
                        ++runs;
                        if (fast.bits != general.bits && failures.size() < 10)
                            failures.push_back(sourceChoice.name + std::string(" -> ") + destinationChoice.name +
                                               " mode " + std::to_string(mode) + (keyed ? " keyed" : "") +
                                               " width " + std::to_string(width));
                    }
                }
            }
        }
    }
    EXPECT_EQ(runs, 12 * 11 * 15 * 2 * 3);
    for (const std::string& failure : failures)
        ADD_FAILURE() << "fast and general routines differ: " << failure;

    // Whole surfaces without row padding are copied as one block.
    for (const FormatChoice& choice : {sources[1], sources[4], sources[10], sources[11]}) {
        TestImage source = RandomImage(choice, 13, 4, random);
        TestImage fast = RandomImage(choice, 13, 4, random);
        for (TestImage* image : {&source, &fast}) {
            image->pitch -= 3;
            image->bits.resize(static_cast<size_t>(image->pitch) * 4);
        }
        TestImage general = fast;
        ST_BLIT_JOB job = MakeJob(source, fast, CxRect(0, 0, 12, 3), CxRect(0, 0, 12, 3));
        BlitRun(job);
        job.destinationBits = general.bits.data();
        BlitGeneral(job);
        EXPECT_EQ(fast.bits, general.bits) << choice.name;
        EXPECT_EQ(fast.bits, source.bits) << choice.name;
    }
}

// Through Blit itself: the 8 -> 16 routine reads the surface's palette
// lookup, which only exists on a real surface.
TEST(BlitDifferential, PaletteLookupThroughBlit)
{
    std::mt19937 random(7);
    Palettes palettes(random);
    for (uint8_t layout : {PIM_LAYOUT_565, PIM_LAYOUT_555, PIM_LAYOUT_BGR555}) {
        for (int32_t mode : {0, 2, 11}) {
            const FormatChoice sourceChoice{"8", 8, 0, palettes.a, nullptr, 0};
            const FormatChoice destinationChoice{"16", 16, layout, nullptr, nullptr, 0};
            const TestImage sourceImage = RandomImage(sourceChoice, 37, 5, random);
            const TestImage destinationImage = RandomImage(destinationChoice, 40, 9, random);
            CxDrawSurface source, fast, general;
            FillSurface(source, sourceImage);
            source.SetPalette(reinterpret_cast<const uint8_t*>(palettes.a));
            FillSurface(fast, destinationImage);
            FillSurface(general, destinationImage);
            ST_DRAW_PARAMS params;
            params.mode = mode;
            params.argument1 = 0x1234;
            {
                ForceGeneral force(false);
                EXPECT_EQ(source.BlitAt(fast, 2, 3, nullptr, 5, &params), PIM_OK);
            }
            {
                ForceGeneral force(true);
                EXPECT_EQ(source.BlitAt(general, 2, 3, nullptr, 5, &params), PIM_OK);
            }
            EXPECT_EQ(BitsOf(fast), BitsOf(general)) << "layout " << int{layout} << " mode " << mode;
        }
    }
}

TEST(BlitClip, EdgesFollowTheDestination)
{
    // A 10 x 10 surface at (-5, -5) on a 20 x 20 one: its bottom-right quarter
    // lands in the top-left corner.
    CxRect dst(-5, -5, 4, 4), src(0, 0, 9, 9);
    ASSERT_TRUE(ClipBlit({20, 20}, {10, 10}, dst, src));
    EXPECT_EQ(dst, CxRect(0, 0, 4, 4));
    EXPECT_EQ(src, CxRect(5, 5, 9, 9));

    // 10 pixels stretched over 20, half of them outside on the left: the
    // source's right half, the left edge rounded half up (5.5 -> 5 by trunc
    // of 10/20 x 10 + 0.5).
    dst = CxRect(-10, 0, 9, 9), src = CxRect(0, 0, 9, 9);
    ASSERT_TRUE(ClipBlit({20, 20}, {10, 10}, dst, src));
    EXPECT_EQ(dst, CxRect(0, 0, 9, 9));
    EXPECT_EQ(src, CxRect(5, 0, 9, 9));

    // ... and outside on the right: the far edge rounds the other way.
    dst = CxRect(10, 0, 29, 9), src = CxRect(0, 0, 9, 9);
    ASSERT_TRUE(ClipBlit({20, 20}, {10, 10}, dst, src));
    EXPECT_EQ(dst, CxRect(10, 0, 19, 9));
    EXPECT_EQ(src, CxRect(0, 0, 4, 9));

    // A stretch of 10 over 30 clipped by 4: trunc(4/30 x 10 + 0.5) = 1.
    dst = CxRect(-4, 0, 25, 0), src = CxRect(0, 0, 9, 0);
    ASSERT_TRUE(ClipBlit({40, 1}, {10, 1}, dst, src));
    EXPECT_EQ(src, CxRect(1, 0, 9, 0));
    EXPECT_EQ(dst, CxRect(0, 0, 25, 0));

    // A source rectangle reaching outside its surface pulls the destination
    // in by the same counts.
    dst = CxRect(0, 0, 9, 9), src = CxRect(-2, -3, 7, 6);
    ASSERT_TRUE(ClipBlit({20, 20}, {10, 10}, dst, src));
    EXPECT_EQ(src, CxRect(0, 0, 7, 6));
    EXPECT_EQ(dst, CxRect(2, 3, 9, 9));
}

TEST(BlitClip, NothingLeftMeansNoBlit)
{
    CxRect dst(0, 0, -1, 5), src(0, 0, 9, 9);
    EXPECT_FALSE(ClipBlit({20, 20}, {10, 10}, dst, src)) << "empty destination";
    dst = CxRect(0, 0, 9, 9), src = CxRect(5, 0, 4, 9);
    EXPECT_FALSE(ClipBlit({20, 20}, {10, 10}, dst, src)) << "inverted source";
    dst = CxRect(20, 0, 29, 9), src = CxRect(0, 0, 9, 9);
    EXPECT_FALSE(ClipBlit({20, 20}, {10, 10}, dst, src)) << "beyond the destination";
    dst = CxRect(0, 0, 9, 9), src = CxRect(10, 10, 19, 19);
    EXPECT_FALSE(ClipBlit({20, 20}, {10, 10}, dst, src)) << "beyond the source";
    dst = CxRect(0, 0, 9, 9), src = CxRect(0, 0, 9, 9);
    EXPECT_FALSE(ClipBlit({0, 0}, {10, 10}, dst, src)) << "destination without pixels";
    // A stretch whose only visible column maps past the source's edge.
    dst = CxRect(-19, 0, 0, 0), src = CxRect(0, 0, 9, 0);
    EXPECT_FALSE(ClipBlit({20, 1}, {10, 1}, dst, src));

    // Rectangles from hostile data: widths beyond 32 bits must not overflow
    // (the sanitizer build checks), and what survives lies inside both.
    const CxRect hostile[] = {CxRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX),
                              CxRect(INT32_MIN, 0, 5, 5), CxRect(-3, -3, INT32_MAX, INT32_MAX),
                              CxRect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX)};
    for (const CxRect& rect : hostile) {
        for (const CxRect& sourceRect : {CxRect(0, 0, 9, 9), rect}) {
            dst = rect, src = sourceRect;
            if (ClipBlit({20, 20}, {10, 10}, dst, src)) {
                EXPECT_TRUE(CxRect(0, 0, 19, 19).Contains(dst));
                EXPECT_TRUE(CxRect(0, 0, 9, 9).Contains(src));
            }
        }
    }
}

namespace {

// A 16-bit surface whose pixel (x, y) is 100 + y x width + x.
void Numbered(CxDrawSurface& surface, int32_t width, int32_t height)
{
    ASSERT_EQ(surface.Create(width, height, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            surface.SetPixel(x, y, static_cast<uint32_t>(100 + y * width + x));
}

struct ST_ROUTINE_CALL
{
    int calls = 0;
    CxRect destinationRect, sourceRect;
    uint32_t key = 0;
    int32_t argument2 = 0, argument3 = 0;
};
ST_ROUTINE_CALL g_routineCall;

int RecordRoutine(CxDrawSurface&, CxDrawSurface&, const CxRect& destinationRect, const CxRect& sourceRect,
                  uint32_t key, int32_t argument2, int32_t argument3)
{
    ++g_routineCall.calls;
    g_routineCall.destinationRect = destinationRect;
    g_routineCall.sourceRect = sourceRect;
    g_routineCall.key = key;
    g_routineCall.argument2 = argument2;
    g_routineCall.argument3 = argument3;
    return 0;
}

bool FailEverything(size_t)
{
    return true;
}

} // namespace

TEST(BlitSurface, ClippedPlacementAndStretching)
{
    for (bool general : {false, true}) {
        ForceGeneral force(general);
        CxDrawSurface source, screen;
        Numbered(source, 10, 10);
        ASSERT_EQ(screen.Create(20, 20, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
        screen.FillRect(screen.GetRect(), 7);
        EXPECT_EQ(source.BlitAt(screen, -5, -5, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
        EXPECT_EQ(screen.GetPixel(0, 0), 100u + 5 * 10 + 5);
        EXPECT_EQ(screen.GetPixel(4, 4), 100u + 9 * 10 + 9);
        EXPECT_EQ(screen.GetPixel(5, 0), 7u);
        EXPECT_EQ(screen.GetPixel(0, 5), 7u);

        // Nearest pixel both ways: doubled, then every second one.
        CxDrawSurface strip;
        Numbered(strip, 8, 1);
        const CxRect wide(0, 10, 15, 10), narrow(0, 11, 3, 11);
        EXPECT_EQ(strip.Blit(screen, &wide, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
        EXPECT_EQ(strip.Blit(screen, &narrow, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
        for (int32_t x = 0; x < 16; ++x)
            EXPECT_EQ(screen.GetPixel(x, 10), 100u + x / 2);
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(screen.GetPixel(x, 11), 100u + 2 * x);
        EXPECT_EQ(screen.GetPixel(4, 11), 7u);

        // Half the stretched strip outside on the left: the right half shows.
        screen.FillRect(screen.GetRect(), 7);
        const CxRect half(-8, 12, 7, 12);
        EXPECT_EQ(strip.Blit(screen, &half, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(screen.GetPixel(x, 12), 104u + x / 2);
    }
}

TEST(BlitSurface, KeysAndPixelModes)
{
    CxDrawSurface sprite, screen;
    ASSERT_EQ(sprite.Create(3, 1, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    sprite.SetPixel(0, 0, 0xF800);
    sprite.SetPixel(1, 0, 0x0000); // the transparent colour, once it is set
    sprite.SetPixel(2, 0, 0x001F);
    ASSERT_EQ(screen.Create(3, 1, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    auto row = [&] { return std::vector<uint32_t>{screen.GetPixel(0, 0), screen.GetPixel(1, 0), screen.GetPixel(2, 0)}; };

    for (bool general : {false, true}) {
        ForceGeneral force(general);
        // Key -1 without a transparent colour: every pixel is copied.
        screen.FillRect(screen.GetRect(), 0x1234);
        sprite.SetTransparentColour(PIM_NO_KEY);
        EXPECT_EQ(sprite.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
        EXPECT_EQ(row(), (std::vector<uint32_t>{0xF800, 0x0000, 0x001F}));
        // With one, key pixels leave the destination alone.
        screen.FillRect(screen.GetRect(), 0x1234);
        sprite.SetTransparentColour(0);
        EXPECT_EQ(sprite.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
        EXPECT_EQ(row(), (std::vector<uint32_t>{0xF800, 0x1234, 0x001F}));
        // An explicit key overrides the transparent colour.
        EXPECT_EQ(sprite.BlitAt(screen, 0, 0, nullptr, 0xF800, nullptr), PIM_OK);
        EXPECT_EQ(row(), (std::vector<uint32_t>{0xF800, 0x0000, 0x001F}));

        ST_DRAW_PARAMS params;
        params.mode = PIM_DRAW_SILHOUETTE;
        params.argument1 = 0x07E0;
        screen.FillRect(screen.GetRect(), 0x1234);
        EXPECT_EQ(sprite.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, &params), PIM_OK);
        EXPECT_EQ(row(), (std::vector<uint32_t>{0x07E0, 0x1234, 0x07E0}));
        params.mode = PIM_DRAW_KEY_COLOURED;
        EXPECT_EQ(sprite.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, &params), PIM_OK);
        EXPECT_EQ(row(), (std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}));
        params.mode = PIM_DRAW_NOTHING;
        screen.FillRect(screen.GetRect(), 0x1234);
        EXPECT_EQ(sprite.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, &params), PIM_OK);
        EXPECT_EQ(row(), (std::vector<uint32_t>{0x1234, 0x1234, 0x1234}));
    }
}

TEST(BlitSurface, TwentyFourBitKeyReadsTheFirstByteLowest)
{
    CxDrawSurface source, screen;
    ASSERT_EQ(source.Create(2, 1, 24), PIM_OK);
    uint8_t* bits = source.LockBits();
    ASSERT_NE(bits, nullptr);
    const uint8_t pixels[6] = {16, 32, 48, 1, 2, 3};
    std::memcpy(bits, pixels, sizeof(pixels));
    source.UnlockBits();
    EXPECT_EQ(source.GetPixel(0, 0), 16u * 65536 + 32 * 256 + 48);
    ASSERT_EQ(screen.Create(2, 1, 24), PIM_OK);

    for (bool general : {false, true}) {
        ForceGeneral force(general);
        screen.FillRect(screen.GetRect(), 0);
        EXPECT_EQ(source.BlitAt(screen, 0, 0, nullptr, 48u * 65536 + 32 * 256 + 16, nullptr), PIM_OK);
        EXPECT_EQ(screen.GetPixel(0, 0), 0u) << "the key skips the pixel";
        EXPECT_EQ(screen.GetPixel(1, 0), 1u * 65536 + 2 * 256 + 3);
        EXPECT_EQ(source.BlitAt(screen, 0, 0, nullptr, 16u * 65536 + 32 * 256 + 48, nullptr), PIM_OK);
        EXPECT_EQ(screen.GetPixel(0, 0), 16u * 65536 + 32 * 256 + 48) << "GetPixel's order is not the key's";
    }
}

TEST(BlitSurface, OverlappingSelfBlitReadsTheSourceAsItWas)
{
    std::mt19937 random(99);
    const FormatChoice choice{"16/565", 16, PIM_LAYOUT_565, nullptr, nullptr, 0};
    const TestImage image = RandomImage(choice, 24, 12, random);
    const CxRect sourceRect(2, 1, 17, 8);
    for (bool general : {false, true}) {
        ForceGeneral force(general);
        for (int32_t mode : {0, 2, 11}) {
            for (CxPoint shift : {CxPoint(3, 1), CxPoint(-2, 0), CxPoint(0, -1), CxPoint(1, 2)}) {
                ST_DRAW_PARAMS params;
                params.mode = mode;
                params.argument1 = 0x5555;
                CxDrawSurface self, copy, expected;
                FillSurface(self, image);
                FillSurface(copy, image);
                FillSurface(expected, image);
                const uint32_t key = copy.GetPixel(5, 5);
                EXPECT_EQ(copy.BlitAt(expected, sourceRect.left + shift.x, sourceRect.top + shift.y, &sourceRect, key,
                                      &params),
                          PIM_OK);
                EXPECT_EQ(self.BlitAt(self, sourceRect.left + shift.x, sourceRect.top + shift.y, &sourceRect, key,
                                      &params),
                          PIM_OK);
                EXPECT_EQ(BitsOf(self), BitsOf(expected)) << "mode " << mode << " shift " << shift.x << "," << shift.y;
            }
        }
    }

    // Without memory for the copy nothing is drawn and the error says so.
    CxDrawSurface self;
    FillSurface(self, image);
    const std::vector<uint8_t> before = BitsOf(self);
    SetAllocationFailHook(FailEverything);
    EXPECT_EQ(self.BlitAt(self, 3, 1, &sourceRect, PIM_NO_KEY, nullptr), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(BitsOf(self), before);
}

TEST(BlitSurface, RefusalsAndTheRoutineMode)
{
    CxDrawSurface source, screen;
    Numbered(source, 4, 4);
    ASSERT_EQ(screen.Create(8, 8, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    screen.FillRect(screen.GetRect(), 7);
    const std::vector<uint8_t> blank = BitsOf(screen);

    // A surface with an error neither draws nor is drawn onto.
    source.SetError(PIM_ERR_READ);
    EXPECT_EQ(source.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, nullptr), PIM_ERR_READ);
    source.ClearError();
    screen.SetError(PIM_ERR_WRITE);
    EXPECT_EQ(source.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, nullptr), PIM_ERR_WRITE);
    screen.ClearError();
    EXPECT_EQ(BitsOf(screen), blank);

    // Empty and hostile rectangles draw nothing and do not trip.
    const CxRect empty(3, 3, 2, 2);
    EXPECT_EQ(source.Blit(screen, &empty, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
    EXPECT_EQ(source.Blit(screen, nullptr, &empty, PIM_NO_KEY, nullptr), PIM_OK);
    const CxRect huge(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(source.Blit(screen, &huge, nullptr, PIM_NO_KEY, nullptr), PIM_OK);
    EXPECT_EQ(source.Blit(screen, nullptr, &huge, PIM_NO_KEY, nullptr), PIM_OK);
    EXPECT_EQ(BitsOf(screen), blank) << "nothing of a stretch over 2^32 pixels survives clipping";

    // Mode 19 hands the clipped rectangles to the routine and draws nothing.
    g_routineCall = {};
    ST_DRAW_PARAMS params;
    params.mode = PIM_DRAW_ROUTINE;
    params.routine = RecordRoutine;
    params.argument2 = 22;
    params.argument3 = 33;
    source.SetTransparentColour(101);
    EXPECT_EQ(source.BlitAt(screen, -1, 6, nullptr, PIM_NO_KEY, &params), PIM_OK);
    EXPECT_EQ(g_routineCall.calls, 1);
    EXPECT_EQ(g_routineCall.destinationRect, CxRect(0, 6, 2, 7));
    EXPECT_EQ(g_routineCall.sourceRect, CxRect(1, 0, 3, 1));
    EXPECT_EQ(g_routineCall.key, 101u);
    EXPECT_EQ(g_routineCall.argument2, 22);
    EXPECT_EQ(g_routineCall.argument3, 33);
    params.routine = nullptr;
    EXPECT_EQ(source.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, &params), PIM_OK);
    EXPECT_EQ(BitsOf(screen), blank);
}

TEST(BlitSurface, ColourTableHolesAreTransparent)
{
    CxDrawSurface table, screen;
    ASSERT_EQ(table.Create(3, 1, 16, -1, nullptr, PIM_LAYOUT_TABLE), PIM_OK);
    table.SetPixel(0, 0, 0xF000 | 0);
    table.SetPixel(1, 0, 0xF000 | 1);
    table.SetPixel(2, 0, 0x8000 | 2); // beyond a table of two
    ASSERT_EQ(screen.Create(3, 1, 16, -1, nullptr, PIM_LAYOUT_555), PIM_OK);
    ST_DRAW_PARAMS alpha;
    alpha.mode = PIM_DRAW_SOURCE_ALPHA;
    for (bool general : {false, true}) {
        ForceGeneral force(general);
        const ST_DRAW_PARAMS* const modes[] = {nullptr, &alpha};
        for (const ST_DRAW_PARAMS* params : modes) {
            // No table at all: every pixel is a hole.
            ASSERT_EQ(table.SetColourTable(nullptr, 0), PIM_OK);
            screen.FillRect(screen.GetRect(), 0x1111);
            EXPECT_EQ(table.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, params), PIM_OK);
            for (int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(screen.GetPixel(x, 0), 0x1111u);

            auto* entries = static_cast<uint16_t*>(Allocate(2 * sizeof(uint16_t), __FILE__, __LINE__, false));
            ASSERT_NE(entries, nullptr);
            entries[0] = 0x7C00;
            entries[1] = 0x001F;
            ASSERT_EQ(table.SetColourTable(entries, 2), PIM_OK);
            EXPECT_EQ(table.BlitAt(screen, 0, 0, nullptr, PIM_NO_KEY, params), PIM_OK);
            EXPECT_EQ(screen.GetPixel(0, 0), 0x7C00u);
            EXPECT_EQ(screen.GetPixel(1, 0), 0x001Fu);
            EXPECT_EQ(screen.GetPixel(2, 0), 0x1111u);
        }
    }
}

namespace {

// One pixel drawn onto one pixel, through the routine choice and through the
// general routine (which must agree); the destination's value afterwards.
uint32_t DrawOne(const FormatChoice& sourceChoice, uint32_t source, const FormatChoice& destinationChoice,
                 uint32_t destination, int32_t mode, int32_t argument1 = 0, int32_t argument2 = 0,
                 int32_t argument3 = 0)
{
    std::mt19937 random(1);
    TestImage s = RandomImage(sourceChoice, 1, 1, random);
    TestImage d = RandomImage(destinationChoice, 1, 1, random);
    WritePixel(s.bits.data(), 0, s.format.depth, source);
    WritePixel(d.bits.data(), 0, d.format.depth, destination);
    TestImage general = d;
    ST_BLIT_JOB job = MakeJob(s, d, CxRect(0, 0, 0, 0), CxRect(0, 0, 0, 0));
    job.params.mode = mode;
    job.params.argument1 = argument1;
    job.params.argument2 = argument2;
    job.params.argument3 = argument3;
    BlitRun(job);
    job.destinationBits = general.bits.data();
    BlitGeneral(job);
    EXPECT_EQ(d.bits, general.bits) << "mode " << mode;
    return ReadPixel(d.bits.data(), 0, d.format.depth);
}

} // namespace

// The arithmetic of the modes on pixels worked out by hand.
TEST(BlitModes, ArithmeticOnKnownPixels)
{
    static const uint16_t table[2] = {0x7C00, 0x03E0}; // red, green (5-5-5)
    const FormatChoice argb{"32", 32, 0, nullptr, nullptr, 0};
    const FormatChoice rgb{"24", 24, 0, nullptr, nullptr, 0};
    const FormatChoice w565{"565", 16, PIM_LAYOUT_565, nullptr, nullptr, 0};
    const FormatChoice w555{"555", 16, PIM_LAYOUT_555, nullptr, nullptr, 0};
    const FormatChoice indexed{"table", 16, PIM_LAYOUT_TABLE, nullptr, table, 2};

    // Mode 2 on 5-6-5 words: halves masked with 0x7BEF, then added.
    EXPECT_EQ(DrawOne(w565, 0xFFFF, w565, 0x0821, PIM_DRAW_HALF), (0x7FFFu & 0x7BEF) + (0x0410u & 0x7BEF));
    // Mode 3, 8-bit alpha 128: (s x 128 + d x 127) >> 8 on every channel,
    // the alpha channel too.
    EXPECT_EQ(DrawOne(argb, 0x80FF0000, argb, 0xFF0000FF, PIM_DRAW_SOURCE_ALPHA), 0xBE7F007Eu);
    // Opaque is not a plain copy: red 8 x 255 >> 8 = 7, which 5 bits make 0.
    EXPECT_EQ(DrawOne(argb, 0xFF080000, w565, 0x0000, PIM_DRAW_SOURCE_ALPHA), 0u);
    EXPECT_EQ(DrawOne(argb, 0xFF080000, w565, 0x0000, PIM_DRAW_COPY), 1u << 11);
    EXPECT_EQ(DrawOne(argb, 0x00FFFFFF, w565, 0x1234, PIM_DRAW_SOURCE_ALPHA), 0x1234u) << "alpha 0 skips";
    // Layout 9: 4-bit alpha 8 over black, (248 x 8) >> 4 = 124 -> 15; 15 copies.
    EXPECT_EQ(DrawOne(indexed, 0x8000, w555, 0x0000, PIM_DRAW_SOURCE_ALPHA), 15u << 10);
    EXPECT_EQ(DrawOne(indexed, 0xF001, w555, 0x7FFF, PIM_DRAW_SOURCE_ALPHA), 0x03E0u);
    // Mode 4 and 8: the destination's alpha (or the argument) keeps it.
    EXPECT_EQ(DrawOne(argb, 0xFF00FF00, argb, 0x000000FF, PIM_DRAW_DEST_ALPHA), 0xFF00FF00u);
    EXPECT_EQ(DrawOne(rgb, 0x00FF00, w565, 0x001F, PIM_DRAW_DEST_ALPHA), 0x001Fu);
    // (24-bit values here are as GetPixel reads them: blue in the high byte.)
    EXPECT_EQ(DrawOne(rgb, 0xFF0000, rgb, 0x000000, PIM_DRAW_DEST_OPACITY, 51), 0xCC0000u); // 255 x 204 / 255
    // Mode 5: both alphas 0 average; the destination keeps its alpha.
    EXPECT_EQ(DrawOne(argb, 0x00FF0000, argb, 0x000000FF, PIM_DRAW_BOTH_ALPHA), 0x007F007Fu);
    EXPECT_EQ(DrawOne(argb, 0x40FF0000, argb, 0xC00000FF, PIM_DRAW_BOTH_ALPHA), 0xC03F00BFu);
    // Mode 6: S = 128 x 255, D = 127 x 128, O = 48896; red 255 S / O = 170,
    // blue 255 D / O = 84, alpha O / 255 = 191.
    EXPECT_EQ(DrawOne(argb, 0x80FF0000, argb, 0x800000FF, PIM_DRAW_COMPOSITE), 0xBFAA0054u);
    EXPECT_EQ(DrawOne(argb, 0x80FF0000, w565, 0x001F, PIM_DRAW_COMPOSITE), 0xF800u) << "6 copies elsewhere";
    // Mode 7: constant opacity 51 (a fifth).
    EXPECT_EQ(DrawOne(rgb, 0xFF0000, rgb, 0x0000FF, PIM_DRAW_OPACITY, 51), 0x3300CCu);
    // Mode 9: mode 3, then 8 / 8 = 1 added to each 5-6-5 field, clamped.
    EXPECT_EQ(DrawOne(argb, 0xFFFF0000, w565, 0x0000, PIM_DRAW_ALPHA_TINTED, 16, 8, -8), (31u << 11) | (1u << 5));
    // Mode 12: arguments / 8 added to the source's 5-bit channels.
    EXPECT_EQ(DrawOne(w565, 10u << 11 | 40u << 5 | 3u, w565, 0, PIM_DRAW_ADD_RGB, 40, -800, 255),
              15u << 11 | 0u << 5 | 31u);
    // Mode 18: (source - 128) added to each destination channel.
    EXPECT_EQ(DrawOne(rgb, 0xC04010, rgb, 0x808080, PIM_DRAW_EMBOSS), 0xC04010u) << "mid-grey keeps the source";
    EXPECT_EQ(DrawOne(rgb, 0xC04010, rgb, 0x604020, PIM_DRAW_EMBOSS), 0xA00000u);
}
