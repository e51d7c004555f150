#pragma once
// One drawn piece of the bale-pushing board: the pig, a bale, a block, a
// goal or a special cell (ice, a bonus, a belt, a door, a switch, the hint),
// a scripted sprite standing on its cell. A moving piece goes on towards its
// next cell by a few pixels a tick until none of its step remain; the board
// (CBaleOutModel) then hears that it has arrived.

#include "DAX/sprites/CDaxSprite.h"
#include "game/baleout/BaleOutModel.h"

class CSokobanPiece : public CDaxSprite
{
public:
    void PlaceAt(CxPoint cell);
    // Starts a move of one cell in `direction` (1 left, 2 up, 3 right,
    // 4 down) at `speed` pixels a tick.
    void StartMove(int direction, int speed);
    // One tick: true when the piece has just reached its cell.
    bool Tick();
    bool IsMoving() const { return m_remaining > 0; }
    int GetRemaining() const { return m_remaining; }
    // A 32-bit picture draws alpha blended, any other with its colour key.
    void UseAlphaWhenItHasIt();

    // The cell code the piece was made for (1 pig, 2 bale, 3 block, 10 goal,
    // 20 .. 90 the special cells), and the board's index of a bale.
    int kind = 0;
    int flag = 0;
    CxPoint cell;

private:
    int m_remaining = 0;
    int m_speed = 0;
    CxPoint m_delta;
};
