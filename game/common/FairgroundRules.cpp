#include "game/common/FairgroundRules.h"

int FairNextView(int view, int direction)
{
    const int next = (view != 0 ? 1 : 0) + (direction < 0 ? -1 : 1);
    return next > 1 ? 0 : (next < 0 ? 1 : next);
}

CxString FairScrollMovie(int view, int direction)
{
    CxString name;
    name.Format("S04_BG%d_%c.bik", (view != 0 ? 1 : 0) + 1, direction == 1 ? 'L' : 'R');
    return name;
}

int FairChooseCursor(const ST_FAIR_POINTER& p)
{
    if (p.state == EFairState::Scrolling || p.state == EFairState::Leaving)
        return FAIR_CURSOR_ARROW;
    if (p.state == EFairState::Idle && !p.buttonHovered && !p.pigHovered) {
        if (p.x > FAIR_EDGE_RIGHT)
            return FAIR_CURSOR_RIGHT;
        if (p.x < FAIR_EDGE_LEFT)
            return FAIR_CURSOR_LEFT;
    }
    if (p.view == 0 && p.inGame1Area) {
        if (p.state == EFairState::Idle)
            return FAIR_CURSOR_POINT;
        if (p.state == EFairState::Game1Running)
            return FAIR_CURSOR_AIM;
    }
    if (p.view == 1 && p.inGame2Area) {
        if (p.state == EFairState::Idle)
            return FAIR_CURSOR_POINT;
        if (p.state == EFairState::Game2Running)
            return FAIR_CURSOR_AIM;
    }
    return FAIR_CURSOR_ARROW;
}
