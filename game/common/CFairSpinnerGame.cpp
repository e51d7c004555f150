#include "game/common/CFairSpinnerGame.h"

void CFairSpinnerGame::Start()
{
    m_state = EFairSpinnerState::Running;
    m_score = 0;
    m_spriteState = FAIR_SPINNER_SPINNING;
}

int CFairSpinnerGame::StopStateForFrame(int frame)
{
    switch (frame) {
    case 4:
        return FAIR_SPINNER_PERFECT;
    case 3:
    case 5:
        return 5;
    case 2:
    case 6:
        return 4;
    case 1:
    case 7:
        return 3;
    default:
        return 2;
    }
}

int CFairSpinnerGame::Click(bool inArea, int frame)
{
    if (m_state != EFairSpinnerState::Running)
        return -1;
    if (!inArea) {
        m_state = EFairSpinnerState::Ending;
        return -1;
    }
    if (m_spriteState != FAIR_SPINNER_SPINNING)
        return -1; // already stopped: its animation is playing
    m_spriteState = StopStateForFrame(frame);
    return m_spriteState;
}

void CFairSpinnerGame::OnAnimationEnd()
{
    // The spinning loop's own wraps are no stop.
    if (m_state == EFairSpinnerState::Running && m_spriteState != FAIR_SPINNER_SPINNING)
        m_state = EFairSpinnerState::Ending;
}

EFairSpinnerResult CFairSpinnerGame::Update()
{
    if (m_state != EFairSpinnerState::Ending)
        return EFairSpinnerResult::None;
    if (m_spriteState == FAIR_SPINNER_PERFECT) {
        ++m_score;
        m_spriteState = FAIR_SPINNER_SPINNING;
        m_state = EFairSpinnerState::Running;
        return EFairSpinnerResult::Scored;
    }
    m_spriteState = 0;
    m_state = EFairSpinnerState::Idle;
    return EFairSpinnerResult::Lost;
}
