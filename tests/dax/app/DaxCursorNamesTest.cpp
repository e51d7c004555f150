// The named cursors of dax.ini: the lines as old data wrote them, the
// numbers from 10 on over the pictures that load, and the name lookup.
#include "DAX/app/CDaxCursorNames.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/display/CxCursorImage.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "tests/dax/app/DaxAppTestSupport.h"
#include "tests/support/Recorders.h"

#include <string>

using DaxAppTest::DaxApps;

TEST(DaxCursorLines, AreReadAsXYAndAPictureAndCutShortOnesSaySoInTheirFieldCount)
{
    const struct
    {
        const char* line;
        int fields;
        int x, y;
        const char* file;
    } lines[] = {
        {"4, 7, common/hand.tga", 3, 4, 7, "common/hand.tga"},
        {"  -2 ,+3,pics/a%s.tga  trailing words", 3, -2, 3, "pics/a%s.tga"},
        {"99999999999, -99999999999, x.tga", 3, 2147483647, -2147483647 - 1, "x.tga"},
        {"1, 2", 2, 1, 2, ""},
        {"1, 2,   ", 2, 1, 2, ""},
        {"1 2, x.tga", 1, 1, 0, ""},
        {"hand.tga", 0, 0, 0, ""},
        {"", 0, 0, 0, ""},
    };
    for (const auto& expected : lines) {
        int x = 0, y = 0;
        CxString file;
        EXPECT_EQ(CDaxCursorNames::ParseEntry(expected.line, x, y, file), expected.fields) << expected.line;
        EXPECT_STREQ(file.GetText(), expected.file) << expected.line;
        if (expected.fields == 3) {
            EXPECT_EQ(x, expected.x) << expected.line;
            EXPECT_EQ(y, expected.y) << expected.line;
        }
    }
    // A picture name longer than any game path could be is no picture.
    int x = 0, y = 0;
    CxString file;
    const std::string longName = "0, 0, " + std::string(PIM_GAME_PATH_INPUT_MAX + 1, 'a');
    EXPECT_EQ(CDaxCursorNames::ParseEntry(longName.c_str(), x, y, file), 2);
    EXPECT_EQ(CDaxCursorNames::ParseEntry(nullptr, x, y, file), 0);
}

TEST_F(DaxApps, CursorsAreNumberedFromTenOverThePicturesThatLoad)
{
    Picture("cur/hand.tga", 8, 6, 0x102030, 0xFF00FF);
    Picture("cur/arrow%s.tga", 5, 5);
    TraceRecorder trace;
    Start("[Cursors]\nHand=2, 3, cur/hand.tga\nGone=0, 0, cur/none.tga\nShort=1, 2\n"
          "Arrow=1, 1, cur/arrow%s.tga\nFar=500, -4, cur/hand.tga\n");
    const CDaxCursorNames& names = m_app->GetCursorNames();
    ASSERT_EQ(names.GetCount(), 3u);
    EXPECT_EQ(m_app->GetCursorIdFromName("Hand"), 10);
    EXPECT_EQ(m_app->GetCursorIdFromName("ARROW"), 11); // the missing picture took no number
    EXPECT_EQ(m_app->GetCursorIdFromName("Far"), 12);
    EXPECT_EQ(m_app->GetCursorIdFromName("Gone"), 0);
    EXPECT_EQ(m_app->GetCursorIdFromName("Short"), 0);
    EXPECT_EQ(m_app->GetCursorIdFromName("Nobody"), 0);
    // Scripts ask by name.
    m_app->Lua("hand = GetCursorIDFromName('hand'); nobody = GetCursorIDFromName('x')");
    EXPECT_EQ(m_app->Global("hand"), "10");
    EXPECT_EQ(m_app->Global("nobody"), "0");

    const CxCursorImage* hand = FindCursor(10);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->GetHotSpot(), CxPoint(2, 3));
    // Its corner's colour is the see-through one: the corner is not drawn.
    CxDrawSurface* picture = hand->GetSurface();
    EXPECT_EQ(picture->GetTransparentColour(), picture->GetPixel(0, 0));
    EXPECT_NE(picture->GetTransparentColour(), picture->GetPixel(1, 0));
    // A hot spot outside the picture is kept inside it.
    EXPECT_EQ(FindCursor(12)->GetHotSpot(), CxPoint(7, 0));
    // The last one is the current and the default cursor.
    EXPECT_EQ(GetCursor(), 12);
    EXPECT_EQ(GetDefaultCursor(), 12);
    EXPECT_EQ(GetErrorCount(), 0); // what was left out is traced, not counted
    size_t told = 0;
    for (const std::string& line : trace.lines)
        told += line.find("Gone") != std::string::npos || line.find("Short") != std::string::npos;
    EXPECT_EQ(told, 2u);
}
