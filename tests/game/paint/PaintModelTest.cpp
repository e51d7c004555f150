// The paint room's rules: the sticker row's scrolling and layout, crayons
// and tools, the stroke walk and where a stamped sticker lands; and the
// quote editor's settings as the room file gives them.
#include "PIM/files/CxOptions.h"
#include "game/paint/PaintLevel.h"
#include "game/paint/PaintModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(PaintModel, SetTwoScrollsToItsLastStickerAndBackToZero)
{
    PaintModel model;
    ASSERT_TRUE(model.ChooseSet(2));
    int moved = 0;
    for (int i = 0; i < 20; ++i)
        moved += model.ScrollOn() ? 1 : 0;
    EXPECT_EQ(moved, 14);
    EXPECT_EQ(model.GetFirstShown(), 14);
    EXPECT_EQ(model.GetLastShown(), 17);
    int back = 0;
    while (model.ScrollBack())
        ++back;
    EXPECT_EQ(back, 14);
    EXPECT_EQ(model.GetFirstShown(), 0);
    EXPECT_FALSE(model.ChooseSet(6));
    EXPECT_FALSE(model.ChooseSet(-1));
}

TEST(PaintModel, RowHidesWhatReachesTheRightEdgeAndWhatFailedToLoad)
{
    PaintModel model;
    model.ChooseSet(0);
    // 60 wide: 255, 325, 395, 465 all end before 550.
    auto row = model.LayRow(0, [](int) { return 60; });
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(row[k].shown);
        EXPECT_EQ(row[k].x, 255 + 70 * k);
        EXPECT_EQ(row[k].number, k);
    }
    // 70 wide: the fourth would end at 550 exactly, which is not below it.
    row = model.LayRow(0, [](int) { return 70; });
    EXPECT_TRUE(row[2].shown);
    EXPECT_FALSE(row[3].shown);
    // A picture that did not load takes no room.
    row = model.LayRow(0, [](int n) { return n == 1 ? -1 : 60; });
    EXPECT_FALSE(row[1].shown);
    EXPECT_EQ(row[2].x, 325);
    // Past the set's end nothing is shown.
    model.ChooseSet(2);
    row = model.LayRow(15, [](int) { return 60; });
    EXPECT_EQ(row[2].number, 17);
    EXPECT_EQ(row[3].number, -1);
    EXPECT_FALSE(row[3].shown);
}

TEST(PaintModel, FirstCrayonHasNoPreviousAndStampsGiveTheCrayonBack)
{
    PaintModel model;
    EXPECT_EQ(model.GetCrayon(), PAINT_NO_CRAYON);
    EXPECT_EQ(model.ChooseCrayon(9), PAINT_NO_CRAYON);
    EXPECT_EQ(model.ChooseCrayon(3), 9);
    EXPECT_EQ(model.GetToolCursor(), 103);
    EXPECT_EQ(model.ChooseCrayon(10), -2);
    EXPECT_EQ(model.GetCrayon(), 3);
    model.HoldSticker(5);
    EXPECT_EQ(model.GetTool(), PAINT_TOOL_STICKER);
    EXPECT_EQ(model.GetToolCursor(), PAINT_CURSOR_HOLD_STICKER);
    model.AfterStamp();
    EXPECT_EQ(model.GetTool(), PAINT_TOOL_CRAYON);
    EXPECT_EQ(model.GetToolCursor(), 103);
    // Without a crayon the sticker stays in hand.
    PaintModel fresh;
    fresh.HoldSticker(1);
    fresh.AfterStamp();
    EXPECT_EQ(fresh.GetTool(), PAINT_TOOL_STICKER);
}

TEST(PaintModel, StrokeWalksLikeDrawLineAndKeepsToTheCanvasQuarter)
{
    // Screen (22, 91) to (28, 91): canvas (-3, 5) to (3, 5).
    const CxPoint from{22 - 25, 91 - 86}, to{28 - 25, 91 - 86};
    EXPECT_EQ(PaintModel::StrokePlotCount(from, to), 8);
    std::vector<int> xs;
    PaintModel::WalkStroke(from, to, [&](CxPoint p) {
        EXPECT_EQ(p.y, 5);
        xs.push_back(p.x);
    });
    EXPECT_EQ(xs, (std::vector<int>{0, 1, 2, 3}));
    // A click dabs its point twice, as the walk stands on its start twice.
    int dabs = 0;
    PaintModel::WalkStroke({10, 10}, {10, 10}, [&](CxPoint) { ++dabs; });
    EXPECT_EQ(dabs, 2);
    // A diagonal: every plot once, the start twice.
    dabs = 0;
    PaintModel::WalkStroke({0, 0}, {5, 3}, [&](CxPoint) { ++dabs; });
    EXPECT_EQ(dabs, 7);
    // Far-off strokes cost nothing beyond the canvas.
    dabs = 0;
    PaintModel::WalkStroke({-2000000000, 5}, {2000000000, 5}, [&](CxPoint) { ++dabs; });
    EXPECT_EQ(dabs, PAINT_CANVAS_WIDTH + PAINT_BRUSH_RADIUS);
}

TEST(PaintModel, StickerLandsCentredOnThePointOrAtTheCorner)
{
    EXPECT_EQ(PaintModel::StampOffset({100, 50}, {40, 30}, true), CxPoint(80, 35));
    EXPECT_EQ(PaintModel::StampOffset({100, 50}, {750, 400}, false), CxPoint(0, 0));
}

namespace {

ST_PAINT_QUOTES Read(const char* text)
{
    CxOptions options;
    options.ReadFromBuffer(text, std::strlen(text));
    return ReadPaintQuotes(options);
}

} // namespace

TEST(PaintLevel, QuoteDefaultsAndHostileSizes)
{
    const ST_PAINT_QUOTES none = Read("[QuotesMenu]\n");
    EXPECT_TRUE(none.font.IsEmpty());
    EXPECT_EQ(none.pointSize, 20);
    EXPECT_EQ(none.maxLength, PAINT_EDITOR_MAX_LENGTH);
    EXPECT_EQ(none.textSize.width, 1);
    EXPECT_EQ(none.textSize.height, 1);

    const ST_PAINT_QUOTES hostile =
        Read("[QuotesMenu]\nQuotePointSize=-4\nQuoteLength=-1\nQuoteTextSize=2000000000, -7\n"
             "TextBubbleOffset=-99999999, 99999999\n");
    EXPECT_EQ(hostile.pointSize, 20);
    EXPECT_EQ(hostile.maxLength, PAINT_EDITOR_MAX_LENGTH);
    EXPECT_EQ(hostile.textSize.width, PAINT_CANVAS_WIDTH);
    EXPECT_EQ(hostile.textSize.height, 1);
    EXPECT_EQ(hostile.bubbleOffset, CxPoint(-PAINT_MAX_OFFSET, PAINT_MAX_OFFSET));

    const ST_PAINT_QUOTES given = Read("[QuotesMenu]\nQuoteFont=a.ttf\nQuotePointSize=22\nQuoteLength=24\n"
                                       "QuoteTextSize=180, 50\nTextBubbleOffset=20, 25\n");
    EXPECT_STREQ(given.font.GetText(), "a.ttf");
    EXPECT_EQ(given.pointSize, 22);
    EXPECT_EQ(given.maxLength, 24);
    EXPECT_EQ(given.textSize.width, 180);
    EXPECT_EQ(given.bubbleOffset, CxPoint(20, 25));
}
