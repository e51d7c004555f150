// The bale game's demo data: its text maps become the 144-byte level files
// the room reads, column by column, and every shipped level can be won; its
// cursors keep clear the pixel the game takes the see-through colour from.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/BaleOutLevels.h"
#include "tools/painter/DemoPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

std::string Rows(const char* row, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(row) + "\n";
    return text;
}

} // namespace

TEST(BaleOutLevels, MapCellsGoColumnByColumnAndBadMapsAreRefused)
{
    // Comments and blank lines anywhere; a map saved with CR LF reads the same.
    const std::string map = "; a comment\n\n" + Rows("............", 1) + "...P.......B\r\n" + Rows("............", 9) +
                            "#~12<^>vDSHG\n";
    BaleOutCells cells;
    std::string error;
    ASSERT_TRUE(ParseBaleOutMap(map, cells, error)) << error;
    EXPECT_EQ(cells[3 * 12 + 1], 1);  // the pig: column 3, row 1
    EXPECT_EQ(cells[11 * 12 + 1], 2); // a bale at the row's end
    const int lastRow[12] = {3, 20, 23, 24, 30, 40, 50, 60, 70, 80, 90, 4};
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(cells[static_cast<size_t>(x * 12 + 11)], lastRow[x]) << "column " << x;
    EXPECT_EQ(std::count(cells.begin(), cells.end(), 0), 144 - 14);

    const std::string pigRow = "P...........\n";
    EXPECT_FALSE(ParseBaleOutMap(pigRow + Rows("............", 10), cells, error)); // 11 rows
    EXPECT_FALSE(ParseBaleOutMap(pigRow + Rows("............", 12), cells, error)); // 13 rows
    EXPECT_FALSE(ParseBaleOutMap(pigRow + Rows("............", 10) + ".............\n", cells, error));
    EXPECT_NE(error.find("line 12"), std::string::npos) << error;
    EXPECT_FALSE(ParseBaleOutMap(pigRow + Rows("............", 10) + "....x.......\n", cells, error));
    EXPECT_FALSE(ParseBaleOutMap(Rows("............", 12), cells, error));              // no pig
    EXPECT_FALSE(ParseBaleOutMap(pigRow + pigRow + Rows("............", 10), cells, error)); // two pigs
}

TEST(BaleOutLevels, EveryShippedLevelConvertsWithAPigAndABaleForEveryGoal)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "BaleOut");
    for (int level = 0; level < kBaleOutLevels; ++level) {
        const std::string name = "BaleOut/sLevel0" + std::to_string(level) + ".txt";
        std::filesystem::copy_file(std::string(PIM_REPO_DATA_DIR) + "/" + name, folder / name);
    }
    ASSERT_EQ(MakeBaleOutLevels(folder.Path().c_str(), false), PIM_OK);
    for (int level = 0; level < kBaleOutLevels; ++level) {
        SCOPED_TRACE(level);
        const std::string bytes = folder.Read("BaleOut/sLevel0" + std::to_string(level) + ".skc");
        ASSERT_EQ(bytes.size(), 144u);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\x01'), 1);
        const auto goals = std::count(bytes.begin(), bytes.end(), '\x04');
        EXPECT_GE(goals, 1);
        EXPECT_GE(std::count(bytes.begin(), bytes.end(), '\x02'), goals);
        // A closed level: the pig's row and column meet a block before the edge.
        const auto pig = static_cast<int>(bytes.find('\x01'));
        const int px = pig / 12, py = pig % 12;
        bool walled[4] = {};
        for (int x = px; x >= 0 && !walled[0]; --x) walled[0] = bytes[static_cast<size_t>(x * 12 + py)] == 3;
        for (int x = px; x < 12 && !walled[1]; ++x) walled[1] = bytes[static_cast<size_t>(x * 12 + py)] == 3;
        for (int y = py; y >= 0 && !walled[2]; --y) walled[2] = bytes[static_cast<size_t>(px * 12 + y)] == 3;
        for (int y = py; y < 12 && !walled[3]; ++y) walled[3] = bytes[static_cast<size_t>(px * 12 + y)] == 3;
        EXPECT_TRUE(walled[0] && walled[1] && walled[2] && walled[3]);
    }
    // A level whose map is missing is reported, not written.
    std::filesystem::remove(folder / "BaleOut/sLevel01.txt");
    std::filesystem::remove(folder / "BaleOut/sLevel01.skc");
    EXPECT_NE(MakeBaleOutLevels(folder.Path().c_str(), false), PIM_OK);
    EXPECT_FALSE(std::filesystem::exists(folder / "BaleOut/sLevel01.skc"));
}

TEST(BaleOutPictures, CursorsKeepTheirKeyPixelClear)
{
    TempFolder folder;
    ASSERT_EQ(PaintDemoPictures(folder.Path().c_str(), false), PIM_OK);
    RegisterDefaultImageFilters();
    struct Cursor
    {
        const char* file;
        int keyX, keyY;
    };
    // The pointer and the left and right arrows take the key from (0, 36),
    // up and down from (0, 0); the arrows' middle (their hot spot) is painted.
    for (const Cursor& c : {Cursor{"BaleOut/normalCursor.TGA", 0, 36}, Cursor{"BaleOut/G02_arrow04.TGA", 0, 36},
                            Cursor{"BaleOut/G02_arrow02.TGA", 0, 36}, Cursor{"BaleOut/G02_arrow01.TGA", 0, 0},
                            Cursor{"BaleOut/G02_arrow03.TGA", 0, 0}}) {
        SCOPED_TRACE(c.file);
        CxDrawSurface s;
        ASSERT_EQ(s.Load((folder / c.file).c_str()), PIM_OK);
        const uint32_t key = s.GetPixel(c.keyX, c.keyY);
        EXPECT_EQ(key, s.GetPixel(s.GetWidth() - 1, s.GetHeight() - 1)); // the key colour, not paint
        EXPECT_NE(s.GetPixel(s.GetWidth() == 48 ? 24 : 3, s.GetWidth() == 48 ? 24 : 6), key);
    }
}
