#pragma once
// The quiz ("Quiz"): free play behind the activity centre's button, no
// levels and no scores kept. A round of questions from the language table
// ("Q%02d", answers "A%02d_0" .. "A%02d_3", answer 0 the right one), each
// with its four answers on the four answer buttons in random order. After
// an answer the right or wrong picture shows for three seconds of the game
// clock (which stands still under the quit question); after the round's
// last question a yes/no dialog tells the score and offers another round,
// or goes back to the activity centre. The rules are CQuizModel; the room
// file is read by ReadQuizLevel (QuizLevel.h describes its keys).
//
// The player key "TriviaQuestion" holds the number of the question last
// answered, written and saved after each answer's three seconds.

#include "DAX/base/CDaxSoundCache.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/display/CxDrawText.h"
#include "game/common/CGameRoom.h"
#include "game/quiz/QuizLevel.h"
#include "game/quiz/QuizModel.h"

#include <array>
#include <memory>
#include <vector>

constexpr const char* QUIZ_TRY_AGAIN_DIALOG = "COMMON/try_yesno.ini";
constexpr const char* QUIZ_HOME_ROOM = "ActivityCenter";
constexpr const char* QUIZ_PLAYER_KEY = "TriviaQuestion";
constexpr uint32_t QUIZ_TEXT_FLAGS = 0xE4; // centred both ways, wrapped, with a drop shadow
// In front of everything, the answers' texts too (z 0 is the nearest).
constexpr int32_t QUIZ_PICTURE_Z = 0;

class CQuiz : public CGameRoom
{
public:
    explicit CQuiz(CxGameApp* app);
    ~CQuiz() override;

    int Load() override;
    int Unload() override;
    int Update() override;
    void OnButton(const char* name) override;

    // A fresh round, its score "0/0".
    void NewRound();
    // The round's current question and its answers; the round's dialog when
    // the round has none left.
    void ShowQuestion();
    void ShowScore();
    void HideQuestion();

    // --- for tests ----------------------------------------------------------------------------
    CQuizModel& GetModel() { return m_model; }
    const ST_QUIZ_LEVEL& GetSetup() const { return m_setup; }
    CDaxButton* GetAnswerButton(int position);
    const CxDrawText& GetQuestionText() const { return m_question; }
    const CxDrawText& GetAnswerText(int position) const { return m_answers[static_cast<size_t>(position & 3)]; }
    const CxDrawText& GetScoreText() const { return m_score; }
    CxSprite* GetRightPicture() const { return m_rightPicture.get(); }
    CxSprite* GetWrongPicture() const { return m_wrongPicture.get(); }
    // The last round dialog's text; how many were shown this visit.
    const CxString& GetLastDialogText() const { return m_lastDialogText; }
    int GetDialogCount() const { return m_dialogs; }
    // The sounds asked for, in order (the tests' ears).
    const std::vector<CxString>& GetSoundsPlayed() const { return m_played; }

private:
    void LoadButtons();
    void MakeText(CxDrawText& text, CxPoint at, int32_t width, int32_t height, CxDisplayObject* parent = nullptr);
    std::unique_ptr<CxSprite> LoadMark(const CxString& name);
    void ShowPicture(EQuizState state, bool shown);
    void Answer(int position);
    void EndRound();
    void PlaySound(const char* name);
    void ReleaseAll();

    ST_QUIZ_LEVEL m_setup;
    CQuizModel m_model;
    std::array<std::unique_ptr<CDaxButton>, QUIZ_ANSWERS> m_buttons;
    CxDrawText m_question;
    std::array<CxDrawText, QUIZ_ANSWERS> m_answers;
    CxDrawText m_score;
    bool m_textsMade = false;
    std::unique_ptr<CxSprite> m_rightPicture;
    std::unique_ptr<CxSprite> m_wrongPicture;
    intptr_t m_font = 0; // our own font's handle; 0 uses the game's
    std::vector<CDaxSound> m_sounds;
    std::vector<CxString> m_played;
    bool m_endDue = false;
    CxString m_lastDialogText;
    int m_dialogs = 0;
};
