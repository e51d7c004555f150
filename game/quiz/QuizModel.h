#pragma once
// The quiz's rules: a round of questions drawn without repetition from a
// pool numbered 0 .. pool - 1, each question's four answers laid out on the
// four button positions in random order (answer 0 is the right one), the
// count of right answers, and the three seconds the right or wrong picture
// shows after an answer. Time is the room's game clock in milliseconds,
// handed in by the caller, so the pause after an answer stands still while
// the room is paused.
//
// A round asks min(round size, pool size) questions: a round can never draw
// more questions than the pool has without repeating one. A round of 0
// questions is over at once.

#include "PIM/core/CxString.h"

#include <array>
#include <cstdint>
#include <vector>

constexpr int QUIZ_ANSWERS = 4;
constexpr uint32_t QUIZ_ANSWER_PAUSE = 3000; // ms the right or wrong picture shows
// More questions than any language table holds; keeps "Q%02d" within reason.
constexpr int QUIZ_MAX_POOL = 1000;

enum class EQuizState
{
    Idle = 0,
    Waiting = 1, // a question waits for an answer
    Wrong = 2,   // the wrong picture shows
    Right = 3,   // the right picture shows
};

// What a step of the clock brought.
enum class EQuizStep
{
    Nothing,      // still waiting, or still showing the picture
    NextQuestion, // the picture's time is up: the next question is current, to be laid out
    RoundOver,    // the picture's time is up and that was the round's last question
};

class CQuizModel
{
public:
    // Sizes below 0 count as 0, above QUIZ_MAX_POOL as QUIZ_MAX_POOL.
    void Configure(int poolSize, int roundSize);
    int GetPoolSize() const { return m_poolSize; }
    int GetRoundSize() const { return m_roundSize; }
    // The questions a round asks: the round size, at most the pool.
    int GetRoundLength() const;

    // A fresh round: its questions drawn, no right answers, the first
    // question current (not laid out yet), state idle.
    void NewRound();
    // Lays the current question out: each answer 0 .. 3 in turn takes one of
    // the positions not yet used, at random. State waiting. False (nothing
    // changes) when the round has no question left.
    bool ShowQuestion();
    // In the waiting state only: an answer at button position 0 .. 3. Right
    // or wrong (GetState tells which) starts the picture's pause at `now`.
    // False, and nothing changes, in another state or for a position out of
    // range.
    bool Answer(int position, uint32_t now);
    // The pause's end, once `now` reaches it: the next question becomes
    // current (ShowQuestion lays it out), or the round is over. State idle.
    EQuizStep Step(uint32_t now);

    EQuizState GetState() const { return m_state; }
    const std::vector<int>& GetRound() const { return m_round; }
    int GetIndex() const { return m_index; }
    // The current question's number; -1 when the round has none left.
    int GetQuestion() const;
    int GetRightCount() const { return m_right; }
    int GetRightPosition() const { return m_rightPosition; }
    // The answer (0 .. 3) shown at a position; -1 out of range.
    int GetAnswerAt(int position) const;
    // The number of the question last answered; -1 before the first.
    int GetLastAnswered() const { return m_lastAnswered; }
    // When the picture's pause ends (meaningful in states wrong and right).
    uint32_t GetPauseEnd() const { return m_pauseEnd; }
    bool IsRoundOver() const { return m_index >= GetRoundLength(); }

    // "right/asked", asked counting the current question once it is
    // answered: "0/0" at a round's start.
    CxString GetScoreText() const;
    // The round's end: "You got 3 out of 5 right. \n Try Again?".
    CxString GetEndText() const;
    // The language table's keys of a question and of its answers.
    static CxString QuestionKey(int question);
    static CxString AnswerKey(int question, int answer);

private:
    int m_poolSize = 1;
    int m_roundSize = 5;
    std::vector<int> m_round;
    int m_index = 0;
    int m_right = 0;
    int m_answered = 0; // answers given this round, for the score text
    int m_rightPosition = 0;
    std::array<int, QUIZ_ANSWERS> m_answerAt{0, 1, 2, 3};
    int m_lastAnswered = -1;
    EQuizState m_state = EQuizState::Idle;
    uint32_t m_pauseEnd = 0;
};
