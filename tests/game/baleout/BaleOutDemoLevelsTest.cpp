// The demo's levels as a child meets them: each level file the build made
// reads as a whole level, and the solution written beside its map solves it.
#include "game/baleout/BaleOutLevel.h"
#include "game/baleout/BaleOutModel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReadLevel(int level)
{
    const std::string path = std::string(PIM_DEMO_DATA_DIR) + "/BaleOut/" + BaleLevelFileName(level).GetText();
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every moving piece arrives, bales first, until the board is still; a
// bale on the hint cell is kept where it is (the dialog's "yes").
void Settle(CBaleOutModel& board)
{
    for (int round = 0; round < 1000 && board.IsMoving(); ++round) {
        for (int bale = 0; bale < board.BaleCount(); ++bale)
            if (board.IsPieceMoving(bale))
                board.Arrive(bale);
        if (board.IsPieceMoving(BALE_PIG_PIECE))
            board.Arrive(BALE_PIG_PIECE);
    }
}

} // namespace

TEST(BaleOutDemoLevels, EachLevelIsWholeAndItsWrittenSolutionSolvesIt)
{
    constexpr int L = BALE_LEFT, U = BALE_UP, R = BALE_RIGHT, D = BALE_DOWN;
    const std::vector<std::vector<int>> solutions = {
        {D, R, R, R, D, D, L, L, D, R, R},
        {U, R, L, D, D, D, R},
        {D, L, L, R, R, R, R, R, L, L, L, D, D, D},
    };
    for (size_t level = 0; level < solutions.size(); ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const std::vector<uint8_t> bytes = ReadLevel(static_cast<int>(level));
        ASSERT_EQ(bytes.size(), size_t{BALE_CELLS});
        const ST_BALE_LEVEL read = ReadBaleLevel(bytes.data(), bytes.size());
        EXPECT_FALSE(read.shortFile || read.longFile || read.pigPlaced);
        EXPECT_EQ(read.unknownCodes, 0);
        EXPECT_EQ(read.extraPigs, 0);
        CBaleOutModel board;
        board.Load(read);
        EXPECT_GT(board.Goals(), 0);
        for (size_t move = 0; move < solutions[level].size(); ++move) {
            EXPECT_FALSE(board.IsWon()) << "won before move " << move;
            EXPECT_EQ(board.StartStep(solutions[level][move]).result, EBaleStep::Started) << "move " << move;
            Settle(board);
            ASSERT_EQ(board.CheckInvariants(), nullptr);
        }
        EXPECT_TRUE(board.IsWon());
    }
}
