// The quiz's room file from hostile or missing values: defaults, clamps,
// and the demo file as it ships.
#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/files/CxOptions.h"
#include "game/quiz/QuizLevel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ST_QUIZ_LEVEL Read(const std::string& text)
{
    CxOptions file;
    EXPECT_EQ(file.ReadFromBuffer(text.data(), text.size()), PIM_OK);
    return ReadQuizLevel(file);
}

TEST(QuizLevelTest, AnEmptyFileGivesTheDefaults)
{
    const ST_QUIZ_LEVEL level = Read("");
    EXPECT_EQ(level.poolSize, 1);
    EXPECT_EQ(level.roundSize, 5);
    EXPECT_EQ(level.fontHeight, 20);
    EXPECT_EQ(level.textWidth, 300);
    EXPECT_EQ(level.textHeight, 100);
    EXPECT_TRUE(level.font.IsEmpty());
    EXPECT_TRUE(level.rightPicture.IsEmpty());
    EXPECT_TRUE(level.wrongPicture.IsEmpty());
    for (const ST_QUIZ_ANSWER_BUTTON& button : level.buttons)
        EXPECT_TRUE(button.picture.IsEmpty());
    EXPECT_EQ(level.mended, 0);
}

TEST(QuizLevelTest, TheKeysAreReadWhereTheyBelong)
{
    const ST_QUIZ_LEVEL level = Read("[Options]\nMaxQuestions=8\nMaxSet=6\nFont=f.ttf\nFontHeight=24\nGfxLoc=10, 20\n"
                                     "RightGfx=r.tga\nWrongGfx=w.tga\nScoreLoc=700, 5\n"
                                     "[Question]\nQuestionLocation=50, 60\nQuestionWidth=500\nQuestionHeight=80\n"
                                     "[Answer2]\nName=b2.tga\nBtnPos=1, 2\nTextPos=3, 4\n");
    EXPECT_EQ(level.poolSize, 8);
    EXPECT_EQ(level.roundSize, 6);
    EXPECT_EQ(std::string(level.font.GetText()), "f.ttf");
    EXPECT_EQ(level.fontHeight, 24);
    EXPECT_EQ(level.pictureAt, CxPoint(10, 20));
    EXPECT_EQ(std::string(level.rightPicture.GetText()), "r.tga");
    EXPECT_EQ(std::string(level.wrongPicture.GetText()), "w.tga");
    EXPECT_EQ(level.scoreAt, CxPoint(700, 5));
    EXPECT_EQ(level.questionAt, CxPoint(50, 60));
    EXPECT_EQ(level.textWidth, 500);
    EXPECT_EQ(level.textHeight, 80);
    EXPECT_EQ(std::string(level.buttons[2].picture.GetText()), "b2.tga");
    EXPECT_EQ(level.buttons[2].position, CxPoint(1, 2));
    EXPECT_EQ(level.buttons[2].textAt, CxPoint(3, 4));
    EXPECT_TRUE(level.buttons[3].picture.IsEmpty());
}

TEST(QuizLevelTest, HostileNumbersAreKeptWithinReason)
{
    const ST_QUIZ_LEVEL level = Read("[Options]\nMaxQuestions=-4\nMaxSet=2000000000\nFontHeight=0\n"
                                     "GfxLoc=-99999999, 99999999\n[Question]\nQuestionWidth=0\nQuestionHeight=999999\n"
                                     "[Answer0]\nBtnPos=70000, -70000\n");
    EXPECT_EQ(level.poolSize, 0);
    EXPECT_EQ(level.roundSize, QUIZ_MAX_POOL);
    EXPECT_EQ(level.fontHeight, QUIZ_MIN_FONT_HEIGHT);
    EXPECT_EQ(level.pictureAt, CxPoint(-DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT));
    EXPECT_EQ(level.textWidth, 1);
    EXPECT_EQ(level.textHeight, QUIZ_MAX_TEXT_SIZE);
    EXPECT_EQ(level.buttons[0].position, CxPoint(DAX_COORDINATE_LIMIT, -DAX_COORDINATE_LIMIT));
    EXPECT_EQ(level.mended, 9);
}

TEST(QuizLevelTest, TheDemoFileAsksRoundsOfFiveFromEight)
{
    CxOptions file;
    ASSERT_EQ(file.ReadFromBuffer("", 0), PIM_OK);
    ASSERT_EQ(file.Load((std::string(PIM_DEMO_DATA_DIR) + "/Quiz/Quiz.ini").c_str()), PIM_OK);
    const ST_QUIZ_LEVEL level = ReadQuizLevel(file);
    EXPECT_EQ(level.poolSize, 8);
    EXPECT_EQ(level.roundSize, 5);
    EXPECT_EQ(level.mended, 0);
    for (const ST_QUIZ_ANSWER_BUTTON& button : level.buttons)
        EXPECT_FALSE(button.picture.IsEmpty());
}

} // namespace
