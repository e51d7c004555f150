#pragma once
// A croquet player character: a scripted sprite with the place its ball lies
// at (relative to its top-left) and a walk: a straight line to a target at a
// steady speed while its walking state loops.
//
// States: 0 standing, 1 waiting in line, 2 and 3 kick (3 when the pointer is
// right of the character), 4 and 5 eat (5 for food from its left), 6 cheer,
// 7 lose, 8 .. 15 walk (CroquetWalkState).

#include "DAX/sprites/CDaxSprite.h"
#include "PIM/display/CxAnimation.h"

constexpr int GOLFER_STAND = 0;
constexpr int GOLFER_WAIT = 1;
constexpr int GOLFER_KICK_LEFT = 2;
constexpr int GOLFER_KICK_RIGHT = 3;
constexpr int GOLFER_EAT_RIGHT = 4;
constexpr int GOLFER_EAT_LEFT = 5;
constexpr int GOLFER_CHEER = 6;
constexpr int GOLFER_LOSE = 7;

class CGolfer : public CDaxSprite
{
public:
    CGolfer();
    ~CGolfer() override;

    // From its top-left to `to` at `speed` px a second, in a straight line.
    void WalkTo(CxPoint to, float speed);
    void StopWalking();
    bool IsWalking() const { return m_walk.IsPlaying(); }
    void Pause() override;
    void Resume() override;

    CxPoint m_ballOffset{0, 0};

private:
    CxAnimation m_walk;
};
