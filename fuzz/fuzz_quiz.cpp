// The quiz from arbitrary bytes: read as its room file, then rounds played
// on the model with answers and times the same bytes give. Whatever the
// bytes, a round never repeats a question nor asks one outside the pool,
// the right answer's position and every answer's place stay within the
// four buttons, and the score never passes the questions asked. The bytes
// as a question text go through the language keys' formatting too.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "fuzz/FuzzPicture.h"
#include "game/quiz/QuizLevel.h"
#include "game/quiz/QuizModel.h"

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    CxOptions file;
    fuzz::Check(file.ReadFromBuffer(reinterpret_cast<const char*>(data), size) == PIM_OK);
    const ST_QUIZ_LEVEL level = ReadQuizLevel(file);
    fuzz::Check(level.poolSize >= 0 && level.poolSize <= QUIZ_MAX_POOL);
    fuzz::Check(level.fontHeight >= QUIZ_MIN_FONT_HEIGHT && level.fontHeight <= QUIZ_MAX_FONT_HEIGHT);
    fuzz::Check(level.textWidth >= 1 && level.textHeight >= 1);

    SeedRandom(size);
    CQuizModel quiz;
    quiz.Configure(level.poolSize, level.roundSize);
    fuzz::Check(quiz.GetRoundLength() <= quiz.GetPoolSize());
    uint32_t now = 0;
    size_t at = 0;
    for (int round = 0; round < 3; ++round) {
        quiz.NewRound();
        const std::vector<int>& drawn = quiz.GetRound();
        fuzz::Check(std::set<int>(drawn.begin(), drawn.end()).size() == drawn.size());
        for (int q : drawn)
            fuzz::Check(q >= 0 && q < quiz.GetPoolSize());
        for (int step = 0; step < 64 && quiz.ShowQuestion(); ++step) {
            fuzz::Check(quiz.GetRightPosition() >= 0 && quiz.GetRightPosition() < QUIZ_ANSWERS);
            fuzz::Check(quiz.GetAnswerAt(quiz.GetRightPosition()) == 0);
            const uint8_t byte = size > 0 ? data[at++ % size] : 0;
            quiz.Answer(byte % 6 - 1, now); // sometimes out of range
            now += byte * 40u;
            quiz.Step(now);
            now += QUIZ_ANSWER_PAUSE;
            quiz.Step(now);
            fuzz::Check(quiz.GetRightCount() <= quiz.GetIndex());
        }
        (void)quiz.GetEndText();
        (void)CQuizModel::AnswerKey(quiz.GetLastAnswered(), 3);
    }
    return 0;
}
