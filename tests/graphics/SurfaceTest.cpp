// The surface's life, formats, palette, pixels, the cache and the factory.
#include "PIM/core/CxMemory.h"
#include "PIM/files/CxCachedObject.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimImageHooks.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Every pixel gets a value from its position, masked to the depth.
void FillPattern(CxDrawSurface& s)
{
    const uint32_t mask = s.GetDepth() == 32 ? 0xFFFFFFFFu : (1u << s.GetDepth()) - 1;
    for (int32_t y = 0; y < s.GetHeight(); ++y)
        for (int32_t x = 0; x < s.GetWidth(); ++x)
            s.SetPixel(x, y, (static_cast<uint32_t>(x * 7 + y * 13 + 1) * 2654435761u) & mask);
}

bool SamePixels(CxDrawSurface& a, CxDrawSurface& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (int32_t y = 0; y < a.GetHeight(); ++y)
        for (int32_t x = 0; x < a.GetWidth(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return false;
    return true;
}

class SurfaceFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSurfaceFactory();
        SetImageHooks({});
    }
    void TearDown() override
    {
        ResetSurfaceFactory();
        SetImageHooks({});
    }
};

bool AlwaysFail(size_t)
{
    return true;
}

} // namespace

using SurfaceLife = SurfaceFixture;

TEST_F(SurfaceLife, PitchRuleAndDefaults)
{
    CxDrawSurface s;
    EXPECT_FALSE(s.IsCreated());
    EXPECT_EQ(s.GetTransparentColour(), PIM_NO_KEY);
    EXPECT_EQ(std::memcmp(s.GetPalette(), DefaultPalette(), 768), 0);

    const struct
    {
        int32_t width;
        int depth;
        int32_t pitch;
    } cases[] = {{3, 4, 2}, {8, 1, 1}, {10, 24, 30}, {9, 1, 2}, {5, 2, 2}, {7, 16, 14}, {0, 8, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(s.Create(c.width, 2, c.depth), PIM_OK);
        EXPECT_EQ(s.GetPitch(), c.pitch) << c.width << " x " << c.depth;
        EXPECT_EQ(s.GetBitsSize(), static_cast<size_t>(c.pitch) * 2);
        EXPECT_TRUE(s.IsCreated());
    }

    // The default layout and the channel widths follow the depth.
    s.Create(4, 4, 8);
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_INDEXED);
    s.Create(4, 4, 16);
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_555);
    SetPreferredLayout16(PIM_LAYOUT_565);
    s.Create(4, 4, 16);
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_565);
    EXPECT_EQ(s.GetGreenBits(), 6);
    s.Create(4, 4, 32);
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_ARGB);
    EXPECT_EQ(s.GetAlphaBits(), 8);
    s.Create(4, 4, 24);
    EXPECT_EQ(s.GetAlphaBits(), 0);

    s.SetUserFlags(0xFFFFFFFFu);
    EXPECT_EQ(s.GetUserFlags(), PIM_SURFACE_USER_FLAGS);
    EXPECT_TRUE(s.IsCreated()); // user flags never touch the created bit
    EXPECT_TRUE(s.HasUserFlags(0x5));
    s.Destroy();
    EXPECT_FALSE(s.IsCreated());
    EXPECT_EQ(s.GetUserFlags(), PIM_SURFACE_USER_FLAGS);
}

TEST_F(SurfaceLife, CreateRefusesBadInputAndChangesNothing)
{
    ErrorRecorder errors;
    CxDrawSurface s;
    ASSERT_EQ(s.Create(6, 5, 8), PIM_OK);
    s.SetPixel(1, 1, 42);

    const struct
    {
        int32_t width, height;
        int depth;
        int32_t pitch;
        uint8_t layout;
    } bad[] = {
        {4, 4, 3, -1, 0},         {-1, 4, 8, -1, 0},      {4, -1, 8, -1, 0},     {10, 2, 24, 29, 0},
        {4, 4, 8, -2, 0},         {4, 4, 8, -1, 10},      {65536, 65536, 8, -1, 0}, {INT32_MAX, 1, 32, -1, 0},
        {1, 3, 8, INT32_MAX, 0},
    };
    for (const auto& b : bad) {
        s.ClearError();
        EXPECT_EQ(s.Create(b.width, b.height, b.depth, b.pitch, nullptr, b.layout), PIM_ERR_BAD_ARG)
            << b.width << " x " << b.height << " x " << b.depth;
        EXPECT_EQ(s.GetWidth(), 6);
        EXPECT_EQ(s.GetHeight(), 5);
        EXPECT_EQ(s.GetDepth(), 8);
    }
    s.ClearError();
    EXPECT_EQ(s.GetPixel(1, 1), 42u);
    EXPECT_EQ(s.SetPixelLayout(10), PIM_ERR_BAD_ARG);
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_INDEXED);
    EXPECT_EQ(errors.errors.size(), std::size(bad) + 1);

    // A padded pitch is kept as given.
    s.ClearError();
    EXPECT_EQ(s.Create(10, 2, 24, 32), PIM_OK);
    EXPECT_EQ(s.GetPitch(), 32);
}

TEST_F(SurfaceLife, CopiesAndExternalBits)
{
    CxDrawSurface a;
    a.Create(5, 3, 16, -1, nullptr, PIM_LAYOUT_565);
    FillPattern(a);
    a.SetTransparentColour(7);
    a.SetUserValue(99);
    a.SetName("hero.bmp");
    uint16_t* table = static_cast<uint16_t*>(Allocate(4 * sizeof(uint16_t), __FILE__, __LINE__, true));
    table[2] = 0x1234;
    a.SetColourTable(table, 4);

    CxDrawSurface b;
    b.Assign(a);
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_EQ(b.GetPixelLayout(), PIM_LAYOUT_565);
    EXPECT_EQ(b.GetTransparentColour(), 7u);
    EXPECT_EQ(b.GetUserValue(), 99u);
    EXPECT_STREQ(b.GetNameText(), "hero.bmp");
    ASSERT_EQ(b.GetColourTableCount(), 4);
    EXPECT_NE(b.GetColourTable(), a.GetColourTable());
    EXPECT_EQ(b.GetColourTable()[2], 0x1234);

    // Onto itself: nothing is freed before it is copied.
    const uint32_t before = b.GetPixel(4, 2);
    b.Assign(b);
    EXPECT_EQ(b.CreateCopy(b), PIM_OK);
    EXPECT_EQ(b.GetPixel(4, 2), before);
    EXPECT_EQ(b.GetColourTable()[2], 0x1234);

    // External bits are used in place, copied into owned bits, and only
    // forgotten by Destroy (a Free of this array would be caught).
    uint8_t buffer[4 * 2] = {1, 2, 3, 4, 5, 6, 7, 8};
    CxDrawSurface ext;
    ASSERT_EQ(ext.Create(4, 2, 8, -1, buffer), PIM_OK);
    EXPECT_TRUE(ext.HasExternalBits());
    EXPECT_EQ(ext.GetPixel(3, 1), 8u);
    ext.SetPixel(0, 0, 50);
    EXPECT_EQ(buffer[0], 50);
    CxDrawSurface owned;
    owned.CreateCopy(ext);
    EXPECT_FALSE(owned.HasExternalBits());
    owned.SetPixel(1, 0, 77);
    EXPECT_EQ(buffer[1], 2);
    EXPECT_EQ(owned.GetPixel(0, 0), 50u);
    ext.Destroy();
    EXPECT_EQ(ext.GetBits(), nullptr);
    EXPECT_FALSE(ext.HasExternalBits());
    EXPECT_EQ(buffer[7], 8);

    // CopyBitsTo moves raw bytes between equal sizes only.
    CxDrawSurface same, other;
    same.Create(4, 2, 8);
    other.Create(3, 3, 8);
    EXPECT_EQ(owned.CopyBitsTo(same), PIM_OK);
    EXPECT_EQ(same.GetPixel(1, 0), 77u);
    EXPECT_EQ(owned.CopyBitsTo(other), PIM_ERR_BAD_ARG);
    EXPECT_EQ(other.GetPixel(0, 0), 0u);
}

TEST_F(SurfaceLife, BitsFailureIsReportedOnceAndStopsDrawing)
{
    ErrorRecorder errors;
    CxDrawSurface s;
    s.Create(10, 10, 8);
    SetAllocationFailHook(&AlwaysFail);
    EXPECT_EQ(s.LockBits(), nullptr);
    EXPECT_EQ(s.GetError(), PIM_ERR_OUT_OF_MEMORY);
    ASSERT_FALSE(errors.errors.empty()); // the allocator's own report comes first
    EXPECT_EQ(errors.errors.back().message, "Unable to allocate 100 bytes for m_pBits");
    SetAllocationFailHook(nullptr);

    // Later operations see the error and leave everything alone, silently.
    const size_t reports = errors.errors.size();
    EXPECT_EQ(s.LockBits(), nullptr);
    EXPECT_EQ(s.FillRect(s.GetRect(), 5), PIM_ERR_OUT_OF_MEMORY);
    EXPECT_EQ(s.GetPixel(0, 0), 0u);
    EXPECT_EQ(errors.errors.size(), reports);
    s.ClearError();
    ASSERT_NE(s.LockBits(), nullptr);
    s.UnlockBits();
    EXPECT_EQ(s.FillRect(s.GetRect(), 5), PIM_OK);
    EXPECT_EQ(s.GetPixel(9, 9), 5u);
}

TEST_F(SurfaceLife, SwappedOutBitsComeBackIntact)
{
    TempFolder swap;
    CxCachedObject::SetSwapFolder(swap.Path().c_str());
    CxDrawSurface s, locked;
    s.Create(40, 30, 16);
    FillPattern(s);
    CxDrawSurface reference;
    reference.CreateCopy(s);
    locked.Create(8, 8, 8);
    uint8_t* kept = locked.LockBits();
    ASSERT_NE(kept, nullptr);

    CxCachedObject::Purge(SIZE_MAX);
    EXPECT_FALSE(s.IsLoaded());
    EXPECT_EQ(s.GetBits(), nullptr);
    EXPECT_EQ(locked.GetBits(), kept); // a locked surface stays
    EXPECT_TRUE(SamePixels(s, reference));
    EXPECT_TRUE(s.IsLoaded());
    locked.UnlockBits();

    // Nested locks balance: the surface is purgeable only after the last.
    ASSERT_NE(s.LockBits(), nullptr);
    ASSERT_NE(s.LockBits(), nullptr);
    s.UnlockBits();
    CxCachedObject::Purge(SIZE_MAX);
    EXPECT_TRUE(s.IsLoaded());
    s.UnlockBits();

    // A surface recreated while swapped out starts from zero, not from the
    // old swap file.
    CxCachedObject::Purge(SIZE_MAX);
    ASSERT_FALSE(s.IsLoaded());
    ASSERT_EQ(s.Create(100, 100, 32), PIM_OK);
    EXPECT_EQ(s.CountPixelsOfValue(0), 100 * 100);
    CxCachedObject::SetSwapFolder("");
}

using SurfaceFormat = SurfaceFixture;

TEST_F(SurfaceFormat, TwentyFourBitConventions)
{
    CxDrawSurface s;
    s.Create(3, 2, 24);
    uint8_t* bits = s.LockBits();
    ASSERT_NE(bits, nullptr);
    bits[3] = 16; // pixel (1, 0): blue, green, red in memory
    bits[4] = 32;
    bits[5] = 48;
    s.UnlockBits();
    EXPECT_EQ(s.GetPixel(1, 0), 16u * 65536 + 32 * 256 + 48);
    EXPECT_EQ(s.GetBlue(1, 0), 16);
    EXPECT_EQ(s.GetGreen(1, 0), 32);
    EXPECT_EQ(s.GetRed(1, 0), 48);
    EXPECT_EQ(Read24AsKey(s.GetRawPixelAddress(1, 0)), 48u * 65536 + 32 * 256 + 16);
    int32_t x = 0, y = 0;
    EXPECT_EQ(s.FindPixel(16u * 65536 + 32 * 256 + 48, x, y), 1);
    EXPECT_EQ(x, 1);
    s.SetPixel(2, 1, 0x010203);
    EXPECT_EQ(s.GetRawPixelAddress(2, 1)[0], 1);
    EXPECT_EQ(s.GetRawPixelAddress(2, 1)[2], 3);
    s.ReplaceColour(0x010203, 0x0A0B0C);
    EXPECT_EQ(s.GetPixel(2, 1), 0x0A0B0Cu);
    EXPECT_EQ(s.CountPixelsOfValue(0), 4);
    EXPECT_EQ(s.CountColours(), 3);
}

TEST_F(SurfaceFormat, ConvertBetweenEveryDepth)
{
    // The first four default-palette colours are exact in every format
    // (and colours 0 and 1 at one bit per pixel).
    const ST_RGB* p = DefaultPalette();
    const int depths[] = {1, 2, 4, 8, 16, 24, 32};
    for (int from : depths) {
        for (int to : depths) {
            CxDrawSurface s;
            s.Create(5, 3, from);
            const int colours = std::min({4, from < 8 ? 1 << from : 4, to < 8 ? 1 << to : 4});
            auto colourAt = [&](int x, int y) { return (x + y) % colours; };
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x) {
                    const ST_RGB& c = p[colourAt(x, y)];
                    s.SetPixel(x, y, from <= 8 ? static_cast<uint32_t>(colourAt(x, y))
                                               : PackPixel(s.GetFormat(), {255, c.red, c.green, c.blue}));
                }
            ASSERT_EQ(s.ConvertFormat(to, PIM_LAYOUT_DEFAULT), PIM_OK);
            ASSERT_EQ(s.GetDepth(), to);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x) {
                    const ST_RGB& c = p[colourAt(x, y)];
                    ASSERT_EQ(s.GetRed(x, y), c.red) << from << " -> " << to << " at " << x << "," << y;
                    ASSERT_EQ(s.GetGreen(x, y), c.green) << from << " -> " << to;
                    ASSERT_EQ(s.GetBlue(x, y), c.blue) << from << " -> " << to;
                }
        }
    }

    // Without a palette builder the default palette stays: 16-bit white
    // (248 per channel once widened) lands on the nearest grey, 245.
    CxDrawSurface s;
    s.Create(2, 1, 16, -1, nullptr, PIM_LAYOUT_555);
    s.SetPixel(0, 0, 0x7FFF);
    s.SetPixel(1, 0, 0x7C00);
    s.ConvertFormat(8, PIM_LAYOUT_DEFAULT);
    EXPECT_EQ(s.GetPixel(0, 0), 245u);
    EXPECT_EQ(s.GetPixel(1, 0), 249u);

    // 32 -> 24 -> 32 keeps colours (alpha comes back opaque).
    s.Create(2, 1, 32);
    s.SetPixel(0, 0, 0xFF123456);
    s.SetPixel(1, 0, 0x80FEDCBA);
    s.ConvertFormat(24, PIM_LAYOUT_DEFAULT);
    EXPECT_EQ(s.GetPitch(), 6);
    s.ConvertFormat(32, PIM_LAYOUT_DEFAULT);
    EXPECT_EQ(s.GetPixel(0, 0), 0xFF123456u);
    EXPECT_EQ(s.GetPixel(1, 0), 0xFFFEDCBAu);
}

TEST_F(SurfaceFormat, PaletteBuilderAndColourTable)
{
    // An installed palette builder chooses the palette of a paletted result.
    ST_IMAGE_HOOKS hooks;
    hooks.buildPalette = [](CxDrawSurface&, uint8_t* palette, bool, int colours) {
        for (int i = 0; i < colours; ++i)
            palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = static_cast<uint8_t>(i * 80);
        return 0;
    };
    SetImageHooks(hooks);
    CxDrawSurface s;
    s.Create(2, 1, 32);
    s.SetPixel(0, 0, 0xFFA0A0A0);
    s.SetPixel(1, 0, 0xFF000000);
    ASSERT_EQ(s.ConvertFormat(2, PIM_LAYOUT_DEFAULT), PIM_OK);
    EXPECT_EQ(s.GetPixel(0, 0), 2u);
    EXPECT_EQ(s.GetPixel(1, 0), 0u);
    EXPECT_EQ(s.GetPalette()[3], 80);
    SetImageHooks({});

    // Layout 9 without a table builder: the distinct colours met; alpha 0
    // pixels become 0 and alpha keeps its top four bits.
    s.Create(3, 1, 32);
    s.SetPixel(0, 0, 0xFFF80000);
    s.SetPixel(1, 0, 0x8000F800);
    s.SetPixel(2, 0, 0x00123456);
    ASSERT_EQ(s.ConvertFormat(16, PIM_LAYOUT_TABLE), PIM_OK);
    ASSERT_EQ(s.GetColourTableCount(), 2);
    EXPECT_EQ(s.GetColourTable()[0], 0x7C00);
    EXPECT_EQ(s.GetPixel(0, 0), 0xF000u);
    EXPECT_EQ(s.GetPixel(1, 0), 0x8001u);
    EXPECT_EQ(s.GetPixel(2, 0), 0u);
    s.ConvertFormat(32, PIM_LAYOUT_DEFAULT);
    EXPECT_EQ(s.GetPixel(0, 0), 0xF0F80000u);
    EXPECT_EQ(s.GetPixel(1, 0), 0x8000F800u);
    EXPECT_EQ(s.GetPixel(2, 0) >> 24, 0u);

    // A layout-9 surface without a table reads as transparent black.
    CxDrawSurface bare;
    bare.Create(2, 1, 16, -1, nullptr, PIM_LAYOUT_TABLE);
    bare.SetPixel(0, 0, 0xF005);
    EXPECT_EQ(bare.GetRed(0, 0), 0);
    uint8_t alpha = 1;
    bare.SplitPixel(0xF005, &alpha, nullptr, nullptr, nullptr);
    EXPECT_EQ(alpha, 0);
    bare.ConvertFormat(32, PIM_LAYOUT_DEFAULT);
    EXPECT_EQ(bare.GetPixel(0, 0), 0u);
}

TEST_F(SurfaceFormat, Layout16Conversions)
{
    CxDrawSurface s;
    s.Create(3, 1, 16, -1, nullptr, PIM_LAYOUT_565);
    s.SetPixel(0, 0, 0xFFFF);
    s.SetPixel(1, 0, (31u << 11) | (1u << 5) | 3);  // green 1 of 6 bits -> 0 of 5
    s.SetPixel(2, 0, (2u << 11) | (40u << 5) | 17);
    ASSERT_EQ(s.ConvertLayout16(PIM_LAYOUT_555), PIM_OK);
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_555);
    EXPECT_EQ(s.GetGreenBits(), 5);
    EXPECT_EQ(s.GetPixel(0, 0), 0x7FFFu);
    EXPECT_EQ(s.GetPixel(1, 0), (31u << 10) | 3);
    EXPECT_EQ(s.GetPixel(2, 0), (2u << 10) | (20u << 5) | 17);
    s.ConvertLayout16(PIM_LAYOUT_BGR555);
    EXPECT_EQ(s.GetPixel(1, 0), (3u << 10) | 31);
    s.ConvertLayout16(PIM_LAYOUT_655);
    EXPECT_EQ(s.GetPixel(1, 0), (62u << 10) | 3);
    EXPECT_EQ(s.GetRed(1, 0), 248);

    // 4-4-4-4 and layout 9 go through the full conversion.
    s.ConvertLayout16(PIM_LAYOUT_4444);
    EXPECT_EQ(s.GetPixel(0, 0), 0xFFFFu);
    EXPECT_EQ(s.GetPixel(1, 0), 0xFF01u); // blue 3 of 5 bits is 24, 1 of 4

    // The preferred layout: nothing without a screen, else that layout.
    s.Create(1, 1, 16, -1, nullptr, PIM_LAYOUT_555);
    s.SetPixel(0, 0, 0x7FFF);
    s.ConvertToPreferredLayout();
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_555);
    SetPreferredLayout16(PIM_LAYOUT_565);
    s.ConvertToPreferredLayout();
    EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_565);
    EXPECT_EQ(s.GetPixel(0, 0), 0xFFDFu);

    // Padded rows packed.
    s.Create(3, 3, 16, 10);
    FillPattern(s);
    const uint32_t last = s.GetPixel(2, 2);
    s.PackRows();
    EXPECT_EQ(s.GetPitch(), 6);
    EXPECT_EQ(s.GetBitsSize(), 18u);
    EXPECT_EQ(s.GetPixel(2, 2), last);
}

TEST_F(SurfaceFormat, PaletteLookupAndRemap)
{
    CxDrawSurface s;
    s.Create(4, 1, 8);
    std::vector<uint8_t> big(1000, 0xEE);
    s.SetUserValue(5);
    s.SetPalette(big.data(), big.size());
    EXPECT_EQ(s.GetUserValue(), 5u); // nothing beyond the palette was written
    s.SetPalette(reinterpret_cast<const uint8_t*>(DefaultPalette()));

    const uint16_t* lookup = s.GetPaletteLookup(PIM_LAYOUT_565);
    ASSERT_NE(lookup, nullptr);
    EXPECT_EQ(lookup[255], 0xFFFF);
    EXPECT_EQ(lookup[1], 16 << 11);  // (128, 0, 0)
    EXPECT_EQ(lookup[249], 31 << 11);
    lookup = s.GetPaletteLookup(PIM_LAYOUT_BGR555);
    EXPECT_EQ(lookup[249], 31);
    uint8_t red[768] = {255, 0, 0};
    s.SetPalette(red, 3);
    EXPECT_EQ(s.GetPaletteLookup(PIM_LAYOUT_BGR555)[0], 31);

    // Remapping keeps what the pixels look like.
    s.SetPalette(reinterpret_cast<const uint8_t*>(DefaultPalette()));
    s.SetPixel(0, 0, 249);
    s.SetPixel(1, 0, 255);
    uint8_t palette[768] = {};
    palette[3] = palette[4] = palette[5] = 255; // 1: white
    palette[6] = 250;                           // 2: nearly red
    s.RemapToPalette(palette);
    EXPECT_EQ(s.GetPixel(0, 0), 2u);
    EXPECT_EQ(s.GetPixel(1, 0), 1u);
    EXPECT_EQ(s.GetPixel(2, 0), 0u);
    EXPECT_EQ(s.GetRed(0, 0), 250);
    EXPECT_EQ(s.PaletteIndexToPixel(1), 0u); // no channels at 8 bits

    CxDrawSurface wide;
    wide.Create(1, 1, 16, -1, nullptr, PIM_LAYOUT_565);
    EXPECT_EQ(wide.PaletteIndexToPixel(249), 0xF800u);
    EXPECT_EQ(wide.MakeColour(255, 255, 255), 0xFFFFu);
}

TEST_F(SurfaceFormat, CreateSurfaceCopiesARectangle)
{
    CxDrawSurface s;
    s.Create(9, 4, 4);
    FillPattern(s);
    s.SetTransparentColour(s.GetPixel(3, 1)); // no key applies to the copy
    const CxRect area(3, 1, 10, 2);          // runs off the right edge
    CxDrawSurface* part = s.CreateSurface(&area);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->GetWidth(), 8);
    EXPECT_EQ(part->GetHeight(), 2);
    EXPECT_EQ(part->GetDepth(), 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(part->GetPixel(x, y), x + 3 < 9 ? s.GetPixel(x + 3, y + 1) : 0u) << x << "," << y;
    delete part;

    // Through an installed creator, and its failure.
    static int made;
    made = 0;
    SetSurfaceCreator([]() -> CxDrawSurface* {
        ++made;
        return new CxDrawSurface;
    });
    part = s.CreateSurface(nullptr);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(made, 1);
    delete part;
    ErrorRecorder errors;
    SetSurfaceCreator([]() -> CxDrawSurface* { return nullptr; });
    EXPECT_EQ(s.CreateSurface(nullptr), nullptr);
    EXPECT_EQ(s.GetError(), PIM_ERR_OUT_OF_MEMORY);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].message, "Unable to allocate a new CxDrawSurface");
}

TEST_F(SurfaceFormat, LoadSaveAndTheFactory)
{
    ErrorRecorder errors;
    EXPECT_EQ(LoadDrawSurface("missing.bmp"), nullptr);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].code, PIM_ERR_FILE_TYPE);
    EXPECT_NE(errors.errors[0].message.find("missing.bmp"), std::string::npos);

    ST_IMAGE_HOOKS hooks;
    hooks.load = [](CxDrawSurface& s, const char* name, int argument) {
        if (std::strcmp(name, "good.bmp") != 0)
            return s.SetError(PIM_ERR_NOT_FOUND, "no %s", name);
        return s.Create(2, 2, 8 * argument);
    };
    hooks.save = [](CxDrawSurface&, const char*, int) { return 0; };
    SetImageHooks(hooks);
    CxDrawSurface* loaded = LoadDrawSurface("good.bmp", 2);
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetNameText(), "good.bmp");
    EXPECT_EQ(loaded->GetDepth(), 16);
    EXPECT_EQ(loaded->Save("out.bmp"), PIM_OK);
    delete loaded;
    EXPECT_EQ(LoadDrawSurface("bad.bmp"), nullptr);

    SetPreferredLayout16(PIM_LAYOUT_565);
    SetSurfaceCreator([]() -> CxDrawSurface* { return nullptr; });
    ResetSurfaceFactory();
    EXPECT_EQ(GetPreferredLayout16(), PIM_LAYOUT_DEFAULT);
    CxDrawSurface* plain = CreateDrawSurface();
    EXPECT_NE(plain, nullptr);
    delete plain;
}

namespace {

// A target that is not a surface, recording what it is asked to draw.
class RecordingTarget : public CxRenderTarget
{
public:
    int DrawSurface(CxSurfaceBase*, int32_t, int32_t, const CxRect*, uint32_t, const ST_DRAW_PARAMS*) override
    {
        return 0;
    }
    int DrawSurface(CxSurfaceBase* source, const CxRect* destination, const CxRect*, uint32_t key,
                    const ST_DRAW_PARAMS*) override
    {
        drawn = source;
        rect = destination ? *destination : CxRect();
        lastKey = key;
        return 0;
    }
    int LockTarget() override { return 0; }
    void UnlockTarget() override {}
    int32_t GetTargetWidth() const override { return 0; }
    int32_t GetTargetHeight() const override { return 0; }
    uint32_t MakeColour(uint8_t, uint8_t, uint8_t) const override { return 0; }
    using CxRenderTarget::DrawLine;
    int DrawLine(int32_t, int32_t, int32_t, int32_t, uint32_t) override { return 0; }

    CxSurfaceBase* drawn = nullptr;
    CxRect rect;
    uint32_t lastKey = 0;
};

class NotASurface : public CxSurfaceBase
{
public:
    int32_t GetWidth() const override { return 4; }
    int32_t GetHeight() const override { return 4; }
};

} // namespace

TEST_F(SurfaceFormat, RenderTargetDispatch)
{
    CxDrawSurface s;
    s.Create(10, 6, 8);
    RecordingTarget target;
    const CxRect source(2, 3, 5, 4);
    s.DrawAt(target, 5, 7, &source, 3, nullptr);
    EXPECT_EQ(target.drawn, &s);
    EXPECT_EQ(target.rect, CxRect(5, 7, 8, 8));
    EXPECT_EQ(target.lastKey, 3u);
    s.DrawAt(target, -5, -5, nullptr, PIM_NO_KEY, nullptr);
    EXPECT_EQ(target.rect, CxRect(-5, -5, 4, 0));
    s.DrawAt(target, INT32_MAX - 2, 0, nullptr, PIM_NO_KEY, nullptr);
    EXPECT_EQ(target.rect.right, INT32_MAX);

    ErrorRecorder errors;
    NotASurface other;
    EXPECT_EQ(s.DrawSurface(&other, 0, 0, nullptr, PIM_NO_KEY, nullptr), PIM_ERR_BAD_ARG);
    s.ClearError();
    EXPECT_EQ(s.DrawSurface(&other, nullptr, nullptr, PIM_NO_KEY, nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.size(), 2u);
}

TEST_F(SurfaceFormat, StatisticsAndSearch)
{
    CxDrawSurface s;
    s.Create(4, 3, 32);
    s.SetPixel(1, 0, 0x11000005);
    s.SetPixel(3, 1, 0x22000005); // the same colour bits
    s.SetPixel(0, 2, 0x22000005);
    EXPECT_EQ(s.CountColours(), 2);
    EXPECT_EQ(s.CountPixelsOfValue(0x22000005), 2);

    int32_t x = -4, y = -9;
    ASSERT_EQ(s.FindPixel(0x22000005, x, y), 1);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 1);
    x = 4; // past the row: the search goes on from the next one
    ASSERT_EQ(s.FindPixel(0x22000005, x, y), 1);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 2);
    x = 0;
    y = 3;
    EXPECT_EQ(s.FindPixel(0, x, y), 0);
    x = INT32_MAX;
    y = INT32_MAX;
    EXPECT_EQ(s.FindPixel(0, x, y), 0);

    // Pixel access outside the surface reads 0 and writes nothing.
    EXPECT_EQ(s.GetPixel(-1, 0), 0u);
    EXPECT_EQ(s.GetPixel(4, 0), 0u);
    EXPECT_EQ(s.GetRed(0, 3), 0);
    s.SetPixel(4, 0, 1);
    s.SetPixel(0, -1, 1);
    EXPECT_EQ(s.CountPixelsOfValue(1), 0);

    CxDrawSurface bits;
    bits.Create(10, 2, 1);
    bits.SetPixel(9, 1, 1);
    EXPECT_EQ(bits.CountColours(), 2);
    EXPECT_EQ(bits.CountPixelsOfValue(1), 1);
}
