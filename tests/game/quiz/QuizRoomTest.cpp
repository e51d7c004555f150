// The quiz in the real game on the demo data: a question with its answers
// on the buttons, a right and a wrong answer with their pictures, the three
// seconds on the game clock (standing still under the quit question), the
// round's dialog and its two answers, the player's key, and a second visit
// leaving nothing behind.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/Pimstr.h"
#include "game/common/CGameServices.h"
#include "game/common/CYesNoDialog.h"
#include "game/quiz/QuizRoom.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/ModalDriver.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class QuizRoomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SeedRandom(27);
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
        game.App().SetUnattended(false);
    }
    void TearDown() override { game.App().SetUnattended(true); }
    CQuiz* Enter()
    {
        if (!game.Enter("Quiz"))
            return nullptr;
        game.Run(100);
        return dynamic_cast<CQuiz*>(game.App().GetCurrentRoom());
    }
    // Answers through the button handler, as a click on the button does.
    // A player's click in the middle of the answer's panel, on its words.
    void Click(CQuiz& room, int position)
    {
        ASSERT_NE(room.GetAnswerButton(position), nullptr);
        PostClick(game.App(), *room.GetAnswerButton(position));
        game.Run(50);
    }
    static int Wrong(CQuiz& room) { return (room.GetModel().GetRightPosition() + 1) % QUIZ_ANSWERS; }
    // The yes/no dialogs answered `answer` ("Yes"/"No") after `passes` frames.
    ModalDriver::Step Answering(const char* answer, int passes = 4)
    {
        return [this, answer, passes](CxDisplayObject& dialog, int pass) {
            if (pass != passes || !dynamic_cast<CYesNoDialog*>(&dialog))
                return;
            if (shoot)
                SaveGameShot(game, shots.Path(), "quiz-round-dialog.png");
            shoot = false;
            EXPECT_TRUE(ClickDialogButton(game.App(), dialog, answer));
        };
    }

    GameTestApp game;
    TempFolder shots;
    bool shoot = false;
};

TEST_F(QuizRoomTest, AQuestionItsAnswersAndTheirPictures)
{
    CQuiz* room = Enter();
    ASSERT_NE(room, nullptr);
    CQuizModel& model = room->GetModel();
    EXPECT_EQ(model.GetState(), EQuizState::Waiting);
    EXPECT_EQ(model.GetRoundLength(), 5);
    const int q = model.GetQuestion();
    EXPECT_EQ(std::string(room->GetQuestionText().GetText()),
              std::string(GameServices().GetLocalizedString(CQuizModel::QuestionKey(q).GetText()).GetText()));
    EXPECT_TRUE(room->GetQuestionText().IsShown());
    EXPECT_EQ(room->GetQuestionText().GetTextFlags(), 0xE4u);
    EXPECT_EQ(room->GetQuestionText().GetColour(), 0xFFFFFFu);
    for (int p = 0; p < QUIZ_ANSWERS; ++p) {
        ASSERT_NE(room->GetAnswerButton(p), nullptr) << p;
        const CxString key = CQuizModel::AnswerKey(q, model.GetAnswerAt(p));
        EXPECT_EQ(std::string(room->GetAnswerText(p).GetText()),
                  std::string(GameServices().GetLocalizedString(key.GetText()).GetText()));
        EXPECT_NE(std::string(room->GetAnswerText(p).GetText()), GAME_NO_STRING);
    }
    EXPECT_EQ(std::string(room->GetScoreText().GetText()), "0/0");
    EXPECT_EQ(std::string(room->GetSoundsPlayed().back().GetText()), "tr_swoosh.wav");
    SaveGameShot(game, shots.Path(), "quiz-question.png");

    // Right: the tick, the good sound, the score.
    ASSERT_NE(room->GetRightPicture(), nullptr);
    ASSERT_NE(room->GetWrongPicture(), nullptr);
    Click(*room, model.GetRightPosition());
    EXPECT_EQ(model.GetState(), EQuizState::Right);
    EXPECT_TRUE(room->GetRightPicture()->IsShown());
    EXPECT_FALSE(room->GetWrongPicture()->IsShown());
    EXPECT_EQ(std::string(room->GetSoundsPlayed().back().GetText()), "tr_good.wav");
    EXPECT_EQ(std::string(room->GetScoreText().GetText()), "1/1");
    game.Run(50);
    SaveGameShot(game, shots.Path(), "quiz-right.png");
    // A second click in the three seconds changes nothing.
    const size_t sounds = room->GetSoundsPlayed().size();
    Click(*room, Wrong(*room));
    EXPECT_EQ(model.GetState(), EQuizState::Right);
    EXPECT_EQ(room->GetSoundsPlayed().size(), sounds);
    game.Run(3000);
    EXPECT_EQ(model.GetState(), EQuizState::Waiting);
    EXPECT_FALSE(room->GetRightPicture()->IsShown());
    EXPECT_EQ(model.GetIndex(), 1);
    EXPECT_EQ(GameServices().GetPlayers().ReadInt(QUIZ_PLAYER_KEY, -1), model.GetRound()[0]);

    // Wrong: the cross and the bad sound.
    Click(*room, Wrong(*room));
    EXPECT_EQ(model.GetState(), EQuizState::Wrong);
    EXPECT_TRUE(room->GetWrongPicture()->IsShown());
    EXPECT_EQ(std::string(room->GetSoundsPlayed().back().GetText()), "tr_bad.wav");
    EXPECT_EQ(std::string(room->GetScoreText().GetText()), "1/2");
    game.Run(50);
    SaveGameShot(game, shots.Path(), "quiz-wrong.png");
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(QuizRoomTest, TheThreeSecondsStandStillUnderTheQuitQuestion)
{
    CQuiz* room = Enter();
    ASSERT_NE(room, nullptr);
    CQuizModel& model = room->GetModel();
    Click(*room, model.GetRightPosition()); // at 0 ms
    game.Run(1000);
    {
        // The quit question open for five seconds, then answered no.
        ModalDriver driver(Answering("No", 500));
        EXPECT_EQ(room->ShowYesNo("COMMON/quit_yesno.ini"), 0);
    }
    EXPECT_EQ(model.GetState(), EQuizState::Right) << "the pause ran on under the question";
    game.Run(1900);
    EXPECT_EQ(model.GetState(), EQuizState::Right);
    game.Run(200);
    EXPECT_EQ(model.GetState(), EQuizState::Waiting);
    EXPECT_EQ(model.GetIndex(), 1);
}

TEST_F(QuizRoomTest, TheRoundsDialogTellsTheScoreAndYesPlaysAgainNoGoesBack)
{
    CQuiz* room = Enter();
    ASSERT_NE(room, nullptr);
    CQuizModel& model = room->GetModel();
    shoot = true;
    {
        ModalDriver driver(Answering("Yes"));
        for (bool right : {true, false, true, true, false}) {
            Click(*room, right ? model.GetRightPosition() : Wrong(*room));
            game.Run(3100);
        }
    }
    EXPECT_EQ(room->GetDialogCount(), 1);
    EXPECT_EQ(std::string(room->GetLastDialogText().GetText()), "You got 3 out of 5 right. \n Try Again?");
    // Yes: a fresh round.
    EXPECT_EQ(model.GetIndex(), 0);
    EXPECT_EQ(model.GetRightCount(), 0);
    EXPECT_EQ(model.GetState(), EQuizState::Waiting);
    EXPECT_EQ(std::string(room->GetScoreText().GetText()), "0/0");
    EXPECT_EQ(GameServices().GetPlayers().ReadInt(QUIZ_PLAYER_KEY, -1), model.GetLastAnswered());

    // No: back to the activity centre.
    {
        ModalDriver driver(Answering("No"));
        for (int i = 0; i < 5; ++i) {
            Click(*room, model.GetRightPosition());
            game.Run(3100);
        }
    }
    EXPECT_EQ(std::string(room->GetLastDialogText().GetText()), "You got 5 out of 5 right. \n Try Again?");
    game.Run(500);
    EXPECT_TRUE(PimStrEqual(game.App().GetCurRoomName(), QUIZ_HOME_ROOM, true)) << game.App().GetCurRoomName();
}

TEST_F(QuizRoomTest, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    ASSERT_NE(Enter(), nullptr);
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    const size_t sprites = LiveRoomSprites(game.App().GetConsole());
    const ST_LIVE live = Live();
    CQuiz* room = Enter();
    ASSERT_NE(room, nullptr);
    Click(*room, room->GetModel().GetRightPosition()); // leaving with the tick showing
    game.Run(400);
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    EXPECT_EQ(LiveRoomSprites(game.App().GetConsole()), sprites);
    EXPECT_EQ(Live(), live);
    room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->GetModel().GetState(), EQuizState::Waiting);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
