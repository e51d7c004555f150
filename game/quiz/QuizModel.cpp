#include "game/quiz/QuizModel.h"

#include "PIM/core/CxRandom.h"

#include <algorithm>

void CQuizModel::Configure(int poolSize, int roundSize)
{
    m_poolSize = std::clamp(poolSize, 0, QUIZ_MAX_POOL);
    m_roundSize = std::clamp(roundSize, 0, QUIZ_MAX_POOL);
    NewRound();
}

int CQuizModel::GetRoundLength() const
{
    return std::min(m_poolSize, m_roundSize);
}

void CQuizModel::NewRound()
{
    std::vector<int> left(static_cast<size_t>(m_poolSize));
    for (int i = 0; i < m_poolSize; ++i)
        left[static_cast<size_t>(i)] = i;
    m_round.clear();
    for (int i = 0; i < GetRoundLength(); ++i) {
        const int pick = RandomRange(0, static_cast<int>(left.size()) - 1);
        const size_t at = static_cast<size_t>(std::clamp(pick, 0, static_cast<int>(left.size()) - 1));
        m_round.push_back(left[at]);
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(at));
    }
    m_index = 0;
    m_right = 0;
    m_answered = 0;
    m_state = EQuizState::Idle;
}

bool CQuizModel::ShowQuestion()
{
    if (IsRoundOver())
        return false;
    std::vector<int> free{0, 1, 2, 3};
    for (int answer = 0; answer < QUIZ_ANSWERS; ++answer) {
        const int pick = std::clamp(RandomRange(0, static_cast<int>(free.size()) - 1), 0,
                                    static_cast<int>(free.size()) - 1);
        const int position = free[static_cast<size_t>(pick)];
        free.erase(free.begin() + pick);
        m_answerAt[static_cast<size_t>(position)] = answer;
        if (answer == 0)
            m_rightPosition = position;
    }
    m_state = EQuizState::Waiting;
    return true;
}

bool CQuizModel::Answer(int position, uint32_t now)
{
    if (m_state != EQuizState::Waiting || position < 0 || position >= QUIZ_ANSWERS)
        return false;
    m_state = position == m_rightPosition ? EQuizState::Right : EQuizState::Wrong;
    if (m_state == EQuizState::Right)
        ++m_right;
    m_answered = m_index + 1;
    m_pauseEnd = now + QUIZ_ANSWER_PAUSE;
    return true;
}

EQuizStep CQuizModel::Step(uint32_t now)
{
    if ((m_state != EQuizState::Right && m_state != EQuizState::Wrong) || now < m_pauseEnd)
        return EQuizStep::Nothing;
    m_lastAnswered = GetQuestion();
    ++m_index;
    m_state = EQuizState::Idle;
    return IsRoundOver() ? EQuizStep::RoundOver : EQuizStep::NextQuestion;
}

int CQuizModel::GetQuestion() const
{
    return m_index >= 0 && static_cast<size_t>(m_index) < m_round.size() ? m_round[static_cast<size_t>(m_index)] : -1;
}

int CQuizModel::GetAnswerAt(int position) const
{
    return position >= 0 && position < QUIZ_ANSWERS ? m_answerAt[static_cast<size_t>(position)] : -1;
}

CxString CQuizModel::GetScoreText() const
{
    CxString text;
    text.Format("%d/%d", m_right, m_answered);
    return text;
}

CxString CQuizModel::GetEndText() const
{
    CxString text;
    text.Format("You got %d out of %d right. \n Try Again?", m_right, GetRoundLength());
    return text;
}

CxString CQuizModel::QuestionKey(int question)
{
    CxString key;
    key.Format("Q%02d", question);
    return key;
}

CxString CQuizModel::AnswerKey(int question, int answer)
{
    CxString key;
    key.Format("A%02d_%d", question, answer);
    return key;
}
