// The jigsaw's rules: the pictures wrapping round, where pieces belong and
// when a drop snaps, which piece a click picks, the completion and its
// cheer, and the seams' numbers.
#include "game/jigsaw/JigsawModel.h"

#include "PIM/core/CxRandom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Piece (1, 2) of a 480 x 360 picture: 160 x 120 pieces.
constexpr int kPiece12 = 1 * JIGSAW_ROWS + 2;

CJigsawModel Laid(int pw = 160, int ph = 120)
{
    SeedRandom(7);
    CJigsawModel model;
    model.LayPieces(pw, ph);
    return model;
}

// Picks `index` up at its top-left and lets it go with its top-left at `at`.
EJigsawDrop DropAt(CJigsawModel& model, int index, CxPoint at)
{
    const CxPoint grip = model.GetPiece(index).position;
    EXPECT_EQ(model.PickUp({index}, grip), index);
    model.MoveHeld(at);
    return model.Drop();
}

TEST(JigsawModelTest, PicturesWrapRoundAtBothEnds)
{
    CJigsawModel model;
    model.SetPictureRange(1, 4);
    EXPECT_EQ(model.WrapPicture(5), 1);
    EXPECT_EQ(model.WrapPicture(0), 4);
    EXPECT_EQ(model.WrapPicture(3), 3);
    model.SetPictureRange(5, 2); // a last below the first: one picture
    EXPECT_EQ(model.WrapPicture(6), 5);
    EXPECT_EQ(model.WrapPicture(4), 5);
}

TEST(JigsawModelTest, APieceSnapsWithinNineteenPixelsInBothAxes)
{
    CJigsawModel model = Laid();
    EXPECT_EQ(model.GetPiece(kPiece12).solution, CxPoint(200, 298));

    EXPECT_EQ(DropAt(model, kPiece12, {220, 298}), EJigsawDrop::Loose);
    EXPECT_FALSE(model.GetPiece(kPiece12).placed);
    EXPECT_EQ(model.GetPiece(kPiece12).position, CxPoint(220, 298));
    EXPECT_EQ(DropAt(model, kPiece12, {200, 318}), EJigsawDrop::Loose);
    EXPECT_EQ(DropAt(model, kPiece12, {180, 298}), EJigsawDrop::Loose);

    EXPECT_EQ(DropAt(model, kPiece12, {219, 317}), EJigsawDrop::Snapped);
    EXPECT_TRUE(model.GetPiece(kPiece12).placed);
    EXPECT_EQ(model.GetPiece(kPiece12).position, CxPoint(200, 298));
    EXPECT_EQ(model.GetPiece(kPiece12).z, JIGSAW_Z_PLACED);
    EXPECT_EQ(DropAt(model, kPiece12, {181, 279}), EJigsawDrop::Snapped);

    // Picked up again it is loose until dropped; a drop with nothing in
    // hand does nothing.
    model.PickUp({kPiece12}, {250, 350});
    EXPECT_FALSE(model.GetPiece(kPiece12).placed);
    EXPECT_EQ(model.GetPiece(kPiece12).z, JIGSAW_Z_HELD);
    model.Drop();
    EXPECT_EQ(model.Drop(), EJigsawDrop::None);
    EXPECT_FALSE(model.MoveHeld({0, 0}));
}

TEST(JigsawModelTest, TheNearestPieceIsPickedAndTheOneDroppedLastIsNearest)
{
    CJigsawModel model = Laid();
    // Each piece made lies above the one made before it.
    for (int i = 1; i < JIGSAW_PIECES; ++i)
        EXPECT_LT(model.GetPiece(i).z, model.GetPiece(i - 1).z);
    EXPECT_EQ(model.PickUp({0, 1, 2}, {0, 0}), 2);
    model.Drop();

    // Two overlapping pieces: whichever was let go last comes up first.
    const CxPoint spot{300, 200};
    DropAt(model, 3, spot);
    DropAt(model, 4, spot);
    EXPECT_EQ(model.PickUp({3, 4}, spot), 4);
    model.Drop();
    DropAt(model, 3, spot);
    EXPECT_EQ(model.PickUp({3, 4}, spot), 3);
    // The grip holds: the piece keeps its offset from the pointer.
    model.MoveHeld({spot.x + 10, spot.y + 5});
    EXPECT_EQ(model.GetPiece(3).position, CxPoint(spot.x + 10, spot.y + 5));
    model.Drop();

    // A placed piece lies under every loose one.
    DropAt(model, 5, model.GetPiece(5).solution);
    EXPECT_EQ(model.PickUp({5, 6}, spot), 6);
    model.Drop();
    // Not a piece: nothing happens.
    EXPECT_EQ(model.PickUp({-1, 9, 100}, spot), -1);
    EXPECT_EQ(model.GetHeld(), -1);
}

TEST(JigsawModelTest, TheLastSnapCompletesThePictureAndDrawsACheer)
{
    CJigsawModel model;
    EXPECT_TRUE(model.IsComplete()); // nothing to do without pieces
    model = Laid();
    EXPECT_FALSE(model.IsComplete());
    for (int i = 0; i < JIGSAW_PIECES - 1; ++i)
        EXPECT_EQ(DropAt(model, i, model.GetPiece(i).solution), EJigsawDrop::Snapped);
    EXPECT_EQ(DropAt(model, 8, model.GetPiece(8).solution), EJigsawDrop::Completed);
    EXPECT_TRUE(model.IsComplete());
    EXPECT_EQ(DropAt(model, 8, {0, 0}), EJigsawDrop::Loose);
    EXPECT_FALSE(model.IsComplete());

    EXPECT_STREQ(JigsawCompletionVoice(0), "s00_VO_TB_002.wav");
    EXPECT_STREQ(JigsawCompletionVoice(3), "s00_VO_TB_006.wav");
    EXPECT_STREQ(JigsawCompletionVoice(4), "s00_VO_TB_007.wav");
    EXPECT_STREQ(JigsawCompletionVoice(-5), "s00_VO_TB_002.wav");
    EXPECT_STREQ(JigsawCompletionVoice(50), "s00_VO_TB_007.wav");

    model.ClearPieces();
    EXPECT_FALSE(model.HasPieces());
    EXPECT_EQ(model.GetZCounter(), JIGSAW_Z_START);
}

TEST(JigsawModelTest, PiecesAndSeamsStayWithinTheirRanges)
{
    bool negative = false, positive = false;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SeedRandom(seed);
        const ST_JIGSAW_SEAMS seams = DrawJigsawSeams();
        auto check = [&](const ST_JIGSAW_SEAM& s) {
            EXPECT_GE(std::abs(s.radius), JIGSAW_KNOB_MIN);
            EXPECT_LE(std::abs(s.radius), JIGSAW_KNOB_MAX);
            EXPECT_GE(s.offset, JIGSAW_KNOB_OFFSET_MIN);
            EXPECT_LE(s.offset, JIGSAW_KNOB_OFFSET_MAX);
            (s.radius < 0 ? negative : positive) = true;
        };
        for (const auto& column : seams.vertical)
            for (const auto& s : column)
                check(s);
        for (const auto& column : seams.horizontal)
            for (const auto& s : column)
                check(s);
        CJigsawModel model;
        model.LayPieces(160, 120);
        for (int i = 0; i < JIGSAW_PIECES; ++i) {
            const CxPoint p = model.GetPiece(i).position;
            EXPECT_TRUE(p.x >= 0 && p.x <= JIGSAW_SCATTER_RIGHT && p.y >= JIGSAW_SCATTER_TOP &&
                        p.y <= JIGSAW_SCATTER_BOTTOM)
                << p.x << ", " << p.y;
        }
    }
    EXPECT_TRUE(negative && positive); // knobs go both ways
}

} // namespace
