#include "game/quiz/QuizLevel.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/files/CxOptions.h"

#include <algorithm>

namespace {

int Within(int value, int low, int high, int& mended)
{
    const int kept = std::clamp(value, low, high);
    mended += kept != value ? 1 : 0;
    return kept;
}

CxPoint ReadPoint(CxOptions& file, const char* section, const char* key, int& mended)
{
    int x = 0, y = 0;
    file.GetPoint(section, key, &x, &y, 0, 0);
    return {Within(x, -DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT, mended),
            Within(y, -DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT, mended)};
}

} // namespace

ST_QUIZ_LEVEL ReadQuizLevel(CxOptions& file)
{
    ST_QUIZ_LEVEL level;
    int& mended = level.mended;
    for (int i = 0; i < QUIZ_ANSWERS; ++i) {
        CxString section;
        section.Format("Answer%d", i);
        ST_QUIZ_ANSWER_BUTTON& button = level.buttons[static_cast<size_t>(i)];
        button.picture = file.GetString(section.GetText(), "Name", "");
        button.position = ReadPoint(file, section.GetText(), "BtnPos", mended);
        button.textAt = ReadPoint(file, section.GetText(), "TextPos", mended);
    }
    level.poolSize = Within(file.GetInt("Options", "MaxQuestions", 1), 0, QUIZ_MAX_POOL, mended);
    level.roundSize = Within(file.GetInt("Options", "MaxSet", 5), 0, QUIZ_MAX_POOL, mended);
    level.font = file.GetString("Options", "Font", "");
    level.fontHeight = Within(file.GetInt("Options", "FontHeight", 20), QUIZ_MIN_FONT_HEIGHT, QUIZ_MAX_FONT_HEIGHT, mended);
    level.pictureAt = ReadPoint(file, "Options", "GfxLoc", mended);
    level.rightPicture = file.GetString("Options", "RightGfx", "");
    level.wrongPicture = file.GetString("Options", "WrongGfx", "");
    level.scoreAt = ReadPoint(file, "Options", "ScoreLoc", mended);
    level.questionAt = ReadPoint(file, "Question", "QuestionLocation", mended);
    level.textWidth = Within(file.GetInt("Question", "QuestionWidth", 300), 1, QUIZ_MAX_TEXT_SIZE, mended);
    level.textHeight = Within(file.GetInt("Question", "QuestionHeight", 100), 1, QUIZ_MAX_TEXT_SIZE, mended);
    return level;
}
