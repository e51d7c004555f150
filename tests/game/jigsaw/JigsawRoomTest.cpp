// The jigsaw in the real game on the demo data: nine pieces scattered, the
// arrows stepping round the pictures, the puzzle solved piece by piece
// through the pointer (a snap's sound, then the cheer for the last), a
// picture that is not there, and a second visit leaving nothing behind.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "game/jigsaw/JigsawLevel.h"
#include "game/jigsaw/JigsawRoom.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/RoomVisits.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class JigsawRoomTest : public ::testing::Test
{
protected:
    void SetUp() override { SeedRandom(31); }
    void TearDown() override { ClearRandomScript(); }
    CJigsaw* Enter()
    {
        if (!game.Enter("Puzzle"))
            return nullptr;
        game.Run(200);
        return dynamic_cast<CJigsaw*>(game.App().GetCurrentRoom());
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    // A loose piece, picked at the middle of its own square, taken to its
    // place through the pointer; the piece the click picked.
    static int SolveOne(CJigsaw& room)
    {
        const CJigsawModel& model = room.GetModel();
        for (int i = 0; i < JIGSAW_PIECES; ++i) {
            const ST_JIGSAW_PIECE& piece = model.GetPiece(i);
            if (piece.placed)
                continue;
            const CxPoint grip{piece.position.x + JIGSAW_MARGIN + model.GetPieceWidth() / 2,
                               piece.position.y + JIGSAW_MARGIN + model.GetPieceHeight() / 2};
            room.OnLButtonDown(1, grip);
            const int held = model.GetHeld();
            if (held < 0)
                return -1;
            const ST_JIGSAW_PIECE& picked = model.GetPiece(held);
            const CxPoint to{grip.x + picked.solution.x - picked.position.x + 7,
                             grip.y + picked.solution.y - picked.position.y - 5};
            room.OnMouseMove(1, to);
            room.OnLButtonUp(0, to);
            return held;
        }
        return -1;
    }

    GameTestApp game;
    TempFolder shots;
};

TEST_F(JigsawRoomTest, ThePiecesAreScatteredAndTheArrowsStepRoundThePictures)
{
    CJigsaw* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->GetPicture(), 1);
    EXPECT_STREQ(room->GetLastSound(), JIGSAW_CHANGE_SOUND);
    ASSERT_TRUE(room->GetModel().HasPieces()) << GetLastErrorMessage();
    EXPECT_EQ(room->GetModel().GetPieceWidth(), 160);
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            JigsawPieceSprite* piece = room->GetPiece(a, b);
            ASSERT_NE(piece, nullptr);
            EXPECT_EQ(piece->GetSolution(), CxPoint(40 + a * 160, 58 + b * 120));
            EXPECT_EQ(piece->GetPosition(), room->GetModel().GetPiece(a * 3 + b).position);
            EXPECT_FALSE(piece->IsPlaced());
        }
    }
    ASSERT_NE(room->GetPrevButton(), nullptr);
    ASSERT_NE(room->GetNextButton(), nullptr);
    EXPECT_EQ(room->GetPrevButton()->GetPosition(), JIGSAW_PREV_AT);
    EXPECT_EQ(room->GetNextButton()->GetFrameCount(), 5);
    Screenshot("jigsaw_scattered.png");

    room->GetPrevButton()->Notify(PIM_BUTTON_EVENT_CLICKED);
    EXPECT_EQ(room->GetPicture(), 3);
    room->GetNextButton()->Notify(PIM_BUTTON_EVENT_CLICKED);
    EXPECT_EQ(room->GetPicture(), 1);
    room->GetNextButton()->Notify(PIM_BUTTON_EVENT_CLICKED);
    EXPECT_EQ(room->GetPicture(), 2);
    room->GetNextButton()->Notify(PIM_BUTTON_EVENT_HIGHLIGHTED); // only a click steps
    EXPECT_EQ(room->GetPicture(), 2);
    EXPECT_TRUE(room->GetModel().HasPieces());
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(JigsawRoomTest, SolvingThePuzzleSnapsEachPieceAndCheersForTheLast)
{
    CJigsaw* room = Enter();
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(room->GetModel().HasPieces()) << GetLastErrorMessage();
    for (int placed = 1; placed < JIGSAW_PIECES; ++placed) {
        const int piece = SolveOne(*room);
        ASSERT_GE(piece, 0);
        EXPECT_TRUE(room->GetPiece(piece / 3, piece % 3)->IsPlaced());
        EXPECT_EQ(room->GetPiece(piece / 3, piece % 3)->GetPosition(), room->GetModel().GetPiece(piece).solution);
        EXPECT_STREQ(room->GetLastSound(), JIGSAW_SNAP_SOUND);
        EXPECT_FALSE(room->IsComplete());
        if (placed == 4) {
            game.Run(100);
            Screenshot("jigsaw_half.png");
        }
    }
    const int draws[] = {3};
    ScriptRandomDraws(draws, 1);
    ASSERT_GE(SolveOne(*room), 0);
    ClearRandomScript();
    EXPECT_TRUE(room->IsComplete());
    EXPECT_STREQ(room->GetLastSound(), "s00_VO_TB_006.wav");
    game.Run(100);
    Screenshot("jigsaw_solved.png");

    // A loose drop says nothing.
    room->OnLButtonDown(1, {105 + 80, 123 + 60});
    room->OnMouseMove(1, {700, 300});
    room->OnLButtonUp(0, {700, 300});
    EXPECT_FALSE(room->IsComplete());
    EXPECT_STREQ(room->GetLastSound(), "s00_VO_TB_006.wav");
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(JigsawRoomTest, APictureThatIsNotThereLeavesNoPiecesAndTheArrowsStillWork)
{
    CJigsaw* room = Enter();
    ASSERT_NE(room, nullptr);
    const int errors = GetErrorCount();
    room->OnLButtonDown(1, {300, 300}); // something may be in hand: it goes with the pieces
    EXPECT_NE(room->CutPicture("puzzle\\puzzle_77.tga"), PIM_OK);
    EXPECT_EQ(GetErrorCount(), errors + 1);
    SetErrorCount(errors);
    // CutPicture alone does not clear; a picture shown afresh does, and the
    // arrows still step.
    room->GetNextButton()->Notify(PIM_BUTTON_EVENT_CLICKED);
    EXPECT_EQ(room->GetPicture(), 2);
    EXPECT_TRUE(room->GetModel().HasPieces());
    EXPECT_EQ(room->GetModel().GetHeld(), -1);
}

TEST_F(JigsawRoomTest, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    ASSERT_TRUE(VisitTwiceAndSettle(game, [this] { return Enter() != nullptr; }));
    const ST_ROOM_LIVE before = RoomLive(game);
    CJigsaw* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->CountLiveObjects(), 11u); // nine pieces, two arrows
    // Leaving with a piece in hand.
    const ST_JIGSAW_PIECE& piece = room->GetModel().GetPiece(0);
    room->OnLButtonDown(1, {piece.position.x + JIGSAW_MARGIN + 5, piece.position.y + JIGSAW_MARGIN + 5});
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    EXPECT_EQ(room->CountLiveObjects(), 0u);
    EXPECT_EQ(room->GetModel().GetHeld(), -1);
    EXPECT_EQ(RoomLive(game), before);
    room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->CountLiveObjects(), 11u);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
