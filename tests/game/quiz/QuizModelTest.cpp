// The quiz's rules on their own: rounds drawn without repeats and never
// longer than the pool, the right answer's position, the three seconds
// after an answer, the score and the round's end text.
#include "PIM/core/CxRandom.h"
#include "game/quiz/QuizModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// Answers every question of the round, right when `right` says so, and
// returns the times the pause ended at.
void PlayRound(CQuizModel& quiz, const std::vector<bool>& right, uint32_t& now)
{
    for (bool answerRight : right) {
        ASSERT_TRUE(quiz.ShowQuestion());
        const int position = answerRight ? quiz.GetRightPosition() : (quiz.GetRightPosition() + 1) % QUIZ_ANSWERS;
        quiz.Answer(position, now);
        now += QUIZ_ANSWER_PAUSE;
        quiz.Step(now);
    }
}

TEST(QuizModelTest, ARoundDrawsEachQuestionAtMostOnceAndNeverMoreThanThePool)
{
    SeedRandom(7);
    CQuizModel quiz;
    for (const auto& [pool, set, asked] : std::vector<std::tuple<int, int, int>>{
             {8, 5, 5}, {6, 8, 6}, {1, 5, 1}, {5, 5, 5}, {0, 5, 0}, {8, 0, 0}, {-3, 4, 0}, {4, -1, 0}}) {
        SCOPED_TRACE(std::to_string(pool) + " " + std::to_string(set));
        quiz.Configure(pool, set);
        for (int round = 0; round < 20; ++round) {
            quiz.NewRound();
            const std::vector<int>& drawn = quiz.GetRound();
            EXPECT_EQ(static_cast<int>(drawn.size()), asked);
            EXPECT_EQ(quiz.GetRoundLength(), asked);
            EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()).size(), drawn.size()) << "a question repeated";
            for (int q : drawn)
                EXPECT_TRUE(q >= 0 && q < pool) << q;
        }
    }
    // Over many rounds every question of the pool comes up.
    quiz.Configure(8, 5);
    std::set<int> seen;
    for (int round = 0; round < 50; ++round) {
        quiz.NewRound();
        seen.insert(quiz.GetRound().begin(), quiz.GetRound().end());
    }
    EXPECT_EQ(seen.size(), 8u);
}

TEST(QuizModelTest, ARoundOfNothingIsOverAtOnce)
{
    CQuizModel quiz;
    quiz.Configure(0, 5);
    EXPECT_TRUE(quiz.IsRoundOver());
    EXPECT_FALSE(quiz.ShowQuestion());
    EXPECT_EQ(quiz.GetState(), EQuizState::Idle);
    EXPECT_EQ(quiz.GetQuestion(), -1);
    EXPECT_FALSE(quiz.Answer(0, 0));
    EXPECT_EQ(quiz.Step(100000), EQuizStep::Nothing);
    EXPECT_EQ(std::string(quiz.GetEndText().GetText()), "You got 0 out of 0 right. \n Try Again?");
}

TEST(QuizModelTest, EachAnswerTakesItsOwnPositionAndEveryPositionCanBeRight)
{
    SeedRandom(11);
    CQuizModel quiz;
    quiz.Configure(8, 8);
    int rightAt[QUIZ_ANSWERS] = {};
    for (int round = 0; round < 400; ++round) {
        quiz.NewRound();
        ASSERT_TRUE(quiz.ShowQuestion());
        std::vector<int> answers;
        for (int p = 0; p < QUIZ_ANSWERS; ++p)
            answers.push_back(quiz.GetAnswerAt(p));
        std::sort(answers.begin(), answers.end());
        EXPECT_EQ(answers, (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(quiz.GetAnswerAt(quiz.GetRightPosition()), 0);
        ++rightAt[quiz.GetRightPosition()];
    }
    // About a hundred each: none is left out or much favoured.
    for (int count : rightAt)
        EXPECT_TRUE(count > 60 && count < 140) << count;
    EXPECT_EQ(quiz.GetAnswerAt(-1), -1);
    EXPECT_EQ(quiz.GetAnswerAt(4), -1);
}

TEST(QuizModelTest, TheFirstDrawPicksTheRightAnswersPosition)
{
    // The first draw of a question's shuffle places answer 0: draws 0 .. 3
    // put it on positions 0 .. 3, and the others take what is left in order.
    CQuizModel quiz;
    quiz.Configure(3, 3);
    for (int draw = 0; draw < QUIZ_ANSWERS; ++draw) {
        const int draws[] = {draw, 0, 0, 0};
        ScriptRandomDraws(draws, 4);
        ASSERT_TRUE(quiz.ShowQuestion());
        ClearRandomScript();
        EXPECT_EQ(quiz.GetRightPosition(), draw);
        EXPECT_EQ(quiz.GetAnswerAt(draw), 0);
        EXPECT_EQ(quiz.GetAnswerAt(draw == 0 ? 1 : 0), 1);
    }
}

TEST(QuizModelTest, AnAnswerShowsForThreeSecondsAndASecondClickDoesNothing)
{
    SeedRandom(3);
    CQuizModel quiz;
    quiz.Configure(8, 5);
    ASSERT_TRUE(quiz.ShowQuestion());
    const int first = quiz.GetQuestion();
    const int wrong = (quiz.GetRightPosition() + 2) % QUIZ_ANSWERS;
    EXPECT_TRUE(quiz.Answer(wrong, 1000));
    EXPECT_EQ(quiz.GetState(), EQuizState::Wrong);
    EXPECT_EQ(std::string(quiz.GetScoreText().GetText()), "0/1");
    // The right one now counts for nothing, and out-of-range positions neither.
    EXPECT_FALSE(quiz.Answer(quiz.GetRightPosition(), 1500));
    EXPECT_EQ(quiz.GetState(), EQuizState::Wrong);
    EXPECT_EQ(quiz.GetRightCount(), 0);
    EXPECT_EQ(quiz.GetPauseEnd(), 1000 + QUIZ_ANSWER_PAUSE);
    EXPECT_EQ(quiz.Step(3999), EQuizStep::Nothing);
    EXPECT_EQ(quiz.GetIndex(), 0);
    EXPECT_EQ(quiz.Step(4000), EQuizStep::NextQuestion);
    EXPECT_EQ(quiz.GetLastAnswered(), first);
    EXPECT_EQ(quiz.GetIndex(), 1);
    EXPECT_EQ(quiz.Step(900000), EQuizStep::Nothing) << "no answer, no pause";
    ASSERT_TRUE(quiz.ShowQuestion());
    EXPECT_FALSE(quiz.Answer(7, 5000));
    EXPECT_FALSE(quiz.Answer(-1, 5000));
    EXPECT_EQ(quiz.GetState(), EQuizState::Waiting);
    EXPECT_TRUE(quiz.Answer(quiz.GetRightPosition(), 5000));
    EXPECT_EQ(quiz.GetState(), EQuizState::Right);
    EXPECT_EQ(std::string(quiz.GetScoreText().GetText()), "1/2");
}

TEST(QuizModelTest, TheRoundsEndTellsTheScoreOnTwoLines)
{
    SeedRandom(5);
    CQuizModel quiz;
    quiz.Configure(8, 5);
    EXPECT_EQ(std::string(quiz.GetScoreText().GetText()), "0/0");
    uint32_t now = 0;
    PlayRound(quiz, {true, false, true, false}, now);
    ASSERT_TRUE(quiz.ShowQuestion());
    quiz.Answer(quiz.GetRightPosition(), now);
    EXPECT_EQ(quiz.Step(now + QUIZ_ANSWER_PAUSE), EQuizStep::RoundOver);
    EXPECT_TRUE(quiz.IsRoundOver());
    EXPECT_EQ(quiz.GetState(), EQuizState::Idle);
    EXPECT_EQ(std::string(quiz.GetScoreText().GetText()), "3/5");
    EXPECT_EQ(std::string(quiz.GetEndText().GetText()), "You got 3 out of 5 right. \n Try Again?");
    // A round bigger than the pool counts the questions it asked.
    quiz.Configure(6, 8);
    now = 0;
    PlayRound(quiz, std::vector<bool>(6, false), now);
    EXPECT_TRUE(quiz.IsRoundOver());
    EXPECT_EQ(std::string(quiz.GetEndText().GetText()), "You got 0 out of 6 right. \n Try Again?");
    // And a new round starts from nothing.
    quiz.NewRound();
    EXPECT_EQ(quiz.GetRightCount(), 0);
    EXPECT_EQ(quiz.GetIndex(), 0);
    EXPECT_EQ(std::string(quiz.GetScoreText().GetText()), "0/0");
}

TEST(QuizModelTest, TheLanguageKeysOfAQuestion)
{
    EXPECT_EQ(std::string(CQuizModel::QuestionKey(3).GetText()), "Q03");
    EXPECT_EQ(std::string(CQuizModel::AnswerKey(7, 2).GetText()), "A07_2");
    EXPECT_EQ(std::string(CQuizModel::QuestionKey(123).GetText()), "Q123");
}

} // namespace
