// The image filter registry: registration rules, the extension match, and
// loading and saving through it, with the screen's 16-bit layout applied
// after a load.
#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int g_calls = 0;

int CountingLoad(CxDrawSurface& surface, const char*, int)
{
    ++g_calls;
    return surface.Create(2, 2, 8);
}

int OtherLoad(CxDrawSurface& surface, const char*, int)
{
    g_calls += 100;
    return surface.Create(3, 3, 8);
}

int FailingLoad(CxDrawSurface& surface, const char*, int)
{
    return surface.SetError(PIM_ERR_FILE_TYPE, "not a picture");
}

int CountingSave(CxDrawSurface&, const char*, int argument)
{
    g_calls += argument;
    return PIM_OK;
}

// A 2 x 1 surface in layout 9 whose table holds pure red and pure blue
// (layout 1 entries); pixel values 0x0F000 | index.
int TableLoad(CxDrawSurface& surface, const char*, int)
{
    if (surface.Create(2, 1, 16, -1, nullptr, PIM_LAYOUT_TABLE) != PIM_OK)
        return surface.GetError();
    auto* table = static_cast<uint16_t*>(Allocate(2 * sizeof(uint16_t), __FILE__, __LINE__, false));
    table[0] = 0x7C00;
    table[1] = 0x001F;
    surface.SetColourTable(table, 2);
    auto* bits = reinterpret_cast<uint16_t*>(surface.LockBits());
    bits[0] = 0xF000;
    bits[1] = 0xF001;
    surface.UnlockBits();
    return PIM_OK;
}

int CountUsed()
{
    int used = 0;
    for (int i = 0; i < PIM_IMAGE_FILTER_COUNT; ++i)
        used += GetImageFilters()[i].extension[0] != 0;
    return used;
}

class ImageFilters : public ::testing::Test
{
protected:
    void SetUp() override { g_calls = 0; }
    TempFolder m_folder;
};

} // namespace

TEST_F(ImageFilters, RegistrationRules)
{
    ErrorRecorder errors;
    EXPECT_EQ(RegisterImageFilter("pcx", &CountingLoad, nullptr), PIM_ERR_BAD_ARG);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].message, "Extension MUST include the period as in '.pcx'");
    EXPECT_EQ(RegisterImageFilter(nullptr, &CountingLoad, nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(RegisterImageFilter("", &CountingLoad, nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(CountUsed(), 0);

    // A later registration of the same extension, in any case, replaces it.
    ASSERT_EQ(RegisterImageFilter(".TGA", &CountingLoad, nullptr), PIM_OK);
    ASSERT_EQ(RegisterImageFilter(".tga", &OtherLoad, &CountingSave), PIM_OK);
    EXPECT_EQ(CountUsed(), 1);
    EXPECT_STREQ(GetImageFilters()[0].extension, ".TGA");
    EXPECT_EQ(GetImageFilters()[0].load, &OtherLoad);
    EXPECT_EQ(GetImageFilters()[0].save, &CountingSave);

    // Long extensions keep their first eight characters.
    ASSERT_EQ(RegisterImageFilter(".LONGEXTENSION", &CountingLoad, nullptr), PIM_OK);
    EXPECT_STREQ(GetImageFilters()[1].extension, ".LONGEXT");

    // A full table says so instead of claiming success.
    for (int i = CountUsed(); i < PIM_IMAGE_FILTER_COUNT; ++i)
        ASSERT_EQ(RegisterImageFilter((".X" + std::to_string(i)).c_str(), &CountingLoad, nullptr), PIM_OK);
    const size_t before = errors.errors.size();
    EXPECT_EQ(RegisterImageFilter(".ONEMORE", &CountingLoad, nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.size(), before + 1);
    EXPECT_EQ(FindImageFilter("a.onemore"), nullptr);
    // Updating an entry still works when the table is full.
    EXPECT_EQ(RegisterImageFilter(".x5", &OtherLoad, nullptr), PIM_OK);
    EXPECT_EQ(FindImageFilter("a.X5")->load, &OtherLoad);

    // Wildcards with alternatives free entries, which are then reused.
    UnregisterImageFilter(".X1?;.TGA");
    EXPECT_EQ(FindImageFilter("pic.tga"), nullptr);
    EXPECT_EQ(FindImageFilter("pic.x12"), nullptr);
    EXPECT_NE(FindImageFilter("pic.x5"), nullptr);
    EXPECT_EQ(RegisterImageFilter(".NEW", &CountingLoad, nullptr), PIM_OK);
    EXPECT_STREQ(GetImageFilters()[0].extension, ".NEW");
}

TEST_F(ImageFilters, ExtensionMatch)
{
    EXPECT_TRUE(MatchesExtension("ROOM/Back.TgA", ".tga"));
    EXPECT_TRUE(MatchesExtension("back.tga", "tga")); // the period is assumed
    EXPECT_FALSE(MatchesExtension("backtga", "tga"));
    EXPECT_TRUE(MatchesExtension(".tga", ".TGA"));
    EXPECT_FALSE(MatchesExtension("a.tg", ".tga"));
    EXPECT_FALSE(MatchesExtension("a.tga.bak", ".tga"));
    EXPECT_FALSE(MatchesExtension("", ".tga"));
    EXPECT_FALSE(MatchesExtension("a.tga", ""));
    EXPECT_FALSE(MatchesExtension(nullptr, ".tga"));

    // The first entry in table order that ends the name wins.
    ASSERT_EQ(RegisterImageFilter(".GZ", &CountingLoad, nullptr), PIM_OK);
    ASSERT_EQ(RegisterImageFilter(".TAR.GZ", &OtherLoad, nullptr), PIM_OK);
    EXPECT_EQ(FindImageFilter("x.tar.gz")->load, &CountingLoad);
    EXPECT_EQ(FindImageFilter("x.tga"), nullptr);
}

TEST_F(ImageFilters, LoadAndSaveThroughTheRegistry)
{
    RegisterDefaultImageFilters();
    ASSERT_EQ(RegisterImageFilter(".ONE", &CountingLoad, &CountingSave), PIM_OK);
    ASSERT_EQ(RegisterImageFilter(".NOLOAD", nullptr, nullptr), PIM_OK);
    ASSERT_EQ(RegisterImageFilter(".BAD", &FailingLoad, nullptr), PIM_OK);
    ErrorRecorder errors;

    CxDrawSurface s;
    ASSERT_EQ(s.Load("Pictures/Sign.One"), PIM_OK);
    EXPECT_EQ(g_calls, 1);
    EXPECT_STREQ(s.GetNameText(), "Pictures/Sign.One");
    EXPECT_EQ(s.Save("out.one", 5), PIM_OK);
    EXPECT_EQ(g_calls, 6);

    CxDrawSurface unknown;
    EXPECT_EQ(unknown.Load("picture.gif"), PIM_ERR_UNKNOWN);
    EXPECT_EQ(errors.errors.back().message, "No image filter registered for 'picture.gif'");
    EXPECT_EQ(unknown.Save("picture.gif"), PIM_ERR_UNKNOWN);

    CxDrawSurface noLoad;
    EXPECT_EQ(noLoad.Load("a.noload"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.back().message, "No Load function registered for '.NOLOAD'");
    CxDrawSurface noSave;
    ASSERT_EQ(noSave.Create(2, 2, 24), PIM_OK);
    EXPECT_EQ(noSave.Save("a.pcx"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.back().message, "No Save function registered for '.PCX'");

    // A failed load keeps its code and gets no name.
    CxDrawSurface bad;
    EXPECT_EQ(bad.Load("x.bad"), PIM_ERR_FILE_TYPE);
    EXPECT_STREQ(bad.GetNameText(), "");

    // Every default format is there, in order, ".png" last.
    const char* expected[] = {".TGA", ".PIM", ".PCX", ".BMP", ".png"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(GetImageFilters()[i].extension, expected[i]);
    EXPECT_NE(GetImageFilters()[0].save, nullptr);
    EXPECT_EQ(GetImageFilters()[1].save, nullptr);
    EXPECT_NE(GetImageFilters()[4].save, nullptr);
}

TEST_F(ImageFilters, SixteenBitLoadsTakeThePreferredLayout)
{
    RegisterDefaultImageFilters();
    // A 2 x 1 16-bit Targa: pure red and pure green in layout 1.
    CxDrawSurface picture;
    ASSERT_EQ(picture.Create(2, 1, 16), PIM_OK);
    auto* bits = reinterpret_cast<uint16_t*>(picture.LockBits());
    bits[0] = 0x7C00;
    bits[1] = 0x03E0;
    picture.UnlockBits();
    const std::string path = m_folder / "two.Tga";
    ASSERT_EQ(picture.Save(path.c_str()), PIM_OK);

    CxDrawSurface asIs;
    ASSERT_EQ(asIs.Load(path.c_str()), PIM_OK);
    EXPECT_EQ(asIs.GetPixelLayout(), PIM_LAYOUT_555);

    SetPreferredLayout16(PIM_LAYOUT_565);
    CxDrawSurface onScreen;
    ASSERT_EQ(onScreen.Load(path.c_str()), PIM_OK);
    EXPECT_EQ(onScreen.GetPixelLayout(), PIM_LAYOUT_565);
    EXPECT_EQ(onScreen.GetGreenBits(), 6);
    auto* converted = reinterpret_cast<uint16_t*>(onScreen.LockBits());
    EXPECT_EQ(converted[0], 0xF800);
    EXPECT_EQ(converted[1], 0x07C0);
    onScreen.UnlockBits();
}

TEST_F(ImageFilters, ColourTablePicturesConvertTheirTable)
{
    ASSERT_EQ(RegisterImageFilter(".T9", &TableLoad, nullptr), PIM_OK);
    RegisterDefaultImageFilters();
    struct Case
    {
        uint8_t preferred;
        uint16_t red, blue;
    } cases[] = {{PIM_LAYOUT_DEFAULT, 0x7C00, 0x001F}, {PIM_LAYOUT_565, 0xF800, 0x001F},
                 {PIM_LAYOUT_BGR555, 0x001F, 0x7C00}};
    for (const Case& c : cases) {
        SetPreferredLayout16(c.preferred);
        CxDrawSurface s;
        ASSERT_EQ(s.Load("a.t9"), PIM_OK);
        EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_TABLE);
        ASSERT_EQ(s.GetColourTableCount(), 2);
        EXPECT_EQ(s.GetColourTable()[0], c.red) << int{c.preferred};
        EXPECT_EQ(s.GetColourTable()[1], c.blue) << int{c.preferred};
        // The pixels stay, and still read as the colours they were.
        EXPECT_EQ(s.GetPixel(0, 0), 0xF000u);
        uint8_t alpha, red, green, blue;
        s.SplitPixel(s.GetPixel(1, 0), &alpha, &red, &green, &blue);
        EXPECT_EQ(red, 0);
        EXPECT_GE(blue, 0xF8) << int{c.preferred};
        s.SplitPixel(s.GetPixel(0, 0), &alpha, &red, &green, &blue);
        EXPECT_GE(red, 0xF8) << int{c.preferred};
        EXPECT_EQ(blue, 0);
    }
}
