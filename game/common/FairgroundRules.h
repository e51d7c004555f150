#pragma once
// The fairground's small rules that need no display: which view a scroll
// leads to, the movie that shows it, which cursor the pointer gets, and
// when a small game's score is a new high score.

#include "PIM/core/CxString.h"

constexpr int FAIR_CURSOR_LEFT = 4001;
constexpr int FAIR_CURSOR_RIGHT = 4002;
constexpr int FAIR_CURSOR_AIM = 4003;
constexpr int FAIR_CURSOR_POINT = 11;
constexpr int FAIR_CURSOR_ARROW = 10;
constexpr int FAIR_EDGE_RIGHT = 700; // x beyond it scrolls (direction -1)
constexpr int FAIR_EDGE_LEFT = 100;  // x below it scrolls (direction +1)

// The room's states.
enum class EFairState
{
    Idle = 1,
    Scrolling = 2,
    Game1Running = 3,
    Game1Ending = 4,
    Game2Running = 5,
    Game2Ending = 6,
    Leaving = 7,
};

// view + direction, wrapping 2 to 0 and -1 to 1 (any view read as 0 or 1).
int FairNextView(int view, int direction);
// "S04_BG<view + 1>_<L when direction is 1, else R>.bik".
CxString FairScrollMovie(int view, int direction);

struct ST_FAIR_POINTER
{
    EFairState state = EFairState::Idle;
    int view = 0;
    int x = 0;
    bool buttonHovered = false;
    bool pigHovered = false;
    bool inGame1Area = false; // counts in view 0 only
    bool inGame2Area = false; // counts in view 1 only
};
int FairChooseCursor(const ST_FAIR_POINTER& pointer);

// Only a greater score counts: a tie is no new high score.
constexpr bool FairBeatsHighScore(int score, int highScore)
{
    return score > highScore;
}
