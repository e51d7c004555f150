#pragma once
// The quiz's room file ("Quiz.ini"), read and checked:
//
//     [Answer0] .. [Answer3]   ; the four answer buttons
//     Name=quiz_button0.tga    ; the button's picture, 5 frames
//     BtnPos=40, 250           ; the button's top-left
//     TextPos=40, 250          ; the top-left of the answer's text on it
//     [Options]
//     MaxQuestions=8           ; the pool: questions Q00 .. Q07
//     MaxSet=5                 ; questions a round asks (at most the pool)
//     Font=COMMON/pakenham.ttf ; none: the game's font
//     FontHeight=24            ; point size of every quiz text
//     GfxLoc=300, 180          ; where the right and wrong pictures go
//     RightGfx=quiz_right.tga  ; optional
//     WrongGfx=quiz_wrong.tga  ; optional
//     ScoreLoc=680, 20         ; the score's top-left (100 x 40)
//     [Question]
//     QuestionLocation=100, 60 ; the question's top-left
//     QuestionWidth=600        ; size of the question and of each answer text
//     QuestionHeight=120
//
// The file is outside data: points stay within +-DAX_COORDINATE_LIMIT,
// sizes and counts within the limits below.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"
#include "game/quiz/QuizModel.h"

#include <array>

class CxOptions;

constexpr int QUIZ_MIN_FONT_HEIGHT = 6;
constexpr int QUIZ_MAX_FONT_HEIGHT = 200;
constexpr int QUIZ_MAX_TEXT_SIZE = 2048;
constexpr int QUIZ_SCORE_WIDTH = 100;
constexpr int QUIZ_SCORE_HEIGHT = 40;

struct ST_QUIZ_ANSWER_BUTTON
{
    CxString picture;
    CxPoint position{0, 0};
    CxPoint textAt{0, 0};
};

struct ST_QUIZ_LEVEL
{
    std::array<ST_QUIZ_ANSWER_BUTTON, QUIZ_ANSWERS> buttons;
    int poolSize = 1;  // 0 .. QUIZ_MAX_POOL
    int roundSize = 5; // 0 .. QUIZ_MAX_POOL, as written (the model keeps rounds within the pool)
    CxString font;
    int fontHeight = 20;
    CxPoint pictureAt{0, 0};
    CxString rightPicture;
    CxString wrongPicture;
    CxPoint scoreAt{0, 0};
    CxPoint questionAt{0, 0};
    int textWidth = 300;  // 1 .. QUIZ_MAX_TEXT_SIZE
    int textHeight = 100; // 1 .. QUIZ_MAX_TEXT_SIZE
    // What was out of range and kept within it, for the room's log and the checker.
    int mended = 0;
};

ST_QUIZ_LEVEL ReadQuizLevel(CxOptions& file);
