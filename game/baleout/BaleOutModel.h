#pragma once
// The bale-pushing puzzle's board without display, sound or files: a 12 by
// 12 grid of cell codes, the pig and its bales, and the rules of a step, a
// slide or a belt ride, switches and doors, bonus cells, the hint cell, the
// undo ring and the win. The room animates the pieces in pixels and tells
// the board when a piece has reached its cell; the board answers with what
// that arrival did, so the room only shows and sounds it.
//
// Cell codes: a floor code (0, 3, 10, 20, ...) plus 1 while the pig stands
// on it and plus 2 while a bale does. A cell is occupied when its code
// modulo 10 is 1 or 2.

#include "PIM/core/CxPoint.h"

#include <array>
#include <cstdint>
#include <vector>

struct ST_BALE_LEVEL;

constexpr int BALE_GRID = 12;
constexpr int BALE_CELLS = BALE_GRID * BALE_GRID;
constexpr int BALE_CELL_PIXELS = 48;
constexpr CxPoint BALE_BOARD_ORIGIN{110, 20};
constexpr int BALE_UNDO_STEPS = 10;
constexpr int BALE_DEFAULT_MOVE_LIMIT = 400;

// The codes a level file holds, and the open door only play makes.
constexpr uint8_t BALE_FLOOR = 0;
constexpr uint8_t BALE_PIG = 1;  // the pig's start; added to a floor code: the pig on it
constexpr uint8_t BALE_BALE = 2; // a bale; added to a floor code: a bale on it
constexpr uint8_t BALE_BLOCK = 3;
constexpr uint8_t BALE_GOAL_OLD = 4; // read as a goal
constexpr uint8_t BALE_GOAL = 10;
constexpr uint8_t BALE_ICE = 20;
constexpr uint8_t BALE_BONUS100 = 23;
constexpr uint8_t BALE_BONUS200 = 24;
constexpr uint8_t BALE_BELT_LEFT = 30;
constexpr uint8_t BALE_BELT_UP = 40;
constexpr uint8_t BALE_BELT_RIGHT = 50;
constexpr uint8_t BALE_BELT_DOWN = 60;
constexpr uint8_t BALE_DOOR = 70; // closed
constexpr uint8_t BALE_DOOR_OPEN = 73;
constexpr uint8_t BALE_SWITCH = 80;
constexpr uint8_t BALE_HINT = 90;

// Directions; 0 is none.
constexpr int BALE_NONE = 0;
constexpr int BALE_LEFT = 1;
constexpr int BALE_UP = 2;
constexpr int BALE_RIGHT = 3;
constexpr int BALE_DOWN = 4;

// Pieces: the pig, or a bale by its index 0..BaleCount()-1.
constexpr int BALE_PIG_PIECE = -1;

constexpr int BaleIndex(CxPoint cell)
{
    return cell.x * BALE_GRID + cell.y;
}
constexpr bool BaleInside(CxPoint cell)
{
    return cell.x >= 0 && cell.x < BALE_GRID && cell.y >= 0 && cell.y < BALE_GRID;
}
constexpr bool BaleOccupied(int code)
{
    return code % 10 == 1 || code % 10 == 2;
}
// The floor under a piece, or the code itself when nothing stands on it.
constexpr int BaleFloorOf(int code)
{
    return BaleOccupied(code) ? code - code % 10 : code;
}
// The cell one step from `cell` in direction 1..4; other directions stay.
CxPoint BaleNext(CxPoint cell, int direction);
// The cell under a pixel point, by floor division from the board origin;
// (-1, -1) off the board.
CxPoint BaleCellAt(CxPoint point);
// The top-left pixel of a cell.
CxPoint BaleCellOrigin(CxPoint cell);
// The pointer's direction from the pig: a neighbour, or two cells away
// within one row or column of the pig's line; 0 for anywhere else.
int BaleChooseDirection(CxPoint pointerCell, CxPoint pigCell);

// Points at the end of a won level.
int BaleMoveBonus(int moveLimit, int moves); // 2 per move left, 0 with none left
int BaleGoalBonus(int goals);                // 100 a goal

// A piece the room builds under the pig and the bales: blocks, goals and
// the special cells, in the order the room builds them.
struct ST_BALE_FLOOR_PIECE
{
    uint8_t code = 0;
    CxPoint cell;
};

enum class EBaleStep
{
    Stuck,      // refused: nothing changed, nothing recorded
    OutOfMoves, // the move would pass the limit: nothing changed, the level ends
    Started,
};

struct ST_BALE_STEP
{
    EBaleStep result = EBaleStep::Stuck;
    int direction = BALE_NONE;
    CxPoint pigFrom, pigTo;
    int bale = -1; // the pushed bale, or -1
    CxPoint baleFrom, baleTo;
    int moves = 0; // the move count after the step
};

// What an undo put back.
struct ST_BALE_UNDO
{
    bool done = false;
    CxPoint pig;
    int bale = -1;
    CxPoint baleCell;
    int baleFrame = 0;
    std::vector<CxPoint> doorsOpened; // hide their door pieces
    std::vector<CxPoint> doorsClosed; // show them again
    int moves = 0;
};

struct ST_BALE_ARRIVAL
{
    bool accepted = false; // false: the piece was not moving, or its cell is still held
    int piece = BALE_PIG_PIECE;
    CxPoint from, to;
    // The piece moves on one more cell (ice or a belt) at slide speed.
    bool goesOn = false;
    CxPoint next;
    int direction = BALE_NONE;
    bool belt = false; // it rides a belt: the belt sound
    int bonus = 0;          // points the pig took from a bonus cell
    bool bonusLost = false; // a bale crushed a bonus cell
    bool bonusHidden = false; // either way the bonus piece at `to` goes
    std::vector<CxPoint> doorsOpened;
    std::vector<CxPoint> doorsClosed;
    int baleFrame = -1; // a bale: 1 on a goal, 0 elsewhere; -1 for the pig
    bool askHint = false; // a bale reached the hint cell
    bool idle = false;    // nothing moves any more
    ST_BALE_UNDO undo;    // an undo asked for while moving, run now that all is still
};

class CBaleOutModel
{
public:
    CBaleOutModel() = default;

    void Load(const ST_BALE_LEVEL& level, int moveLimit = BALE_DEFAULT_MOVE_LIMIT);

    uint8_t Cell(CxPoint cell) const;
    CxPoint PigCell() const { return pig_.cell; }
    int BaleCount() const { return static_cast<int>(bales_.size()); }
    CxPoint BaleCell(int bale) const;
    int BaleFrame(int bale) const;
    int BaleAt(CxPoint cell) const; // -1 for none
    std::vector<ST_BALE_FLOOR_PIECE> FloorPieces() const;

    int Moves() const { return moves_; }
    int MoveLimit() const { return moveLimit_; }
    int Goals() const { return goals_; }
    int EmptyGoals() const { return emptyGoals_; } // goals without a bale
    int UnpressedSwitches() const { return unpressed_; }
    bool DoorsOpen() const { return switches_ > 0 && unpressed_ == 0; }
    int UndoSteps() const { return static_cast<int>(undo_.size()); }

    bool CanMove(int direction) const;
    ST_BALE_STEP StartStep(int direction);
    // Within a step the pushed bale arrives before the pig (the pig's cell is
    // the bale's until then).
    ST_BALE_ARRIVAL Arrive(int piece);
    bool IsMoving() const;
    bool IsPieceMoving(int piece) const;
    bool IsWon() const;

    // Puts the newest step back, only while nothing moves.
    ST_BALE_UNDO Undo();
    // Undoes at once when still, or once every moving piece has arrived (the
    // arrival that ends the motion carries the undo).
    ST_BALE_UNDO RequestUndo();
    bool IsUndoPending() const { return undoPending_; }

    // The first broken rule of the board's consistency, or nullptr.
    const char* CheckInvariants() const;

private:
    struct ST_PIECE
    {
        CxPoint cell;
        bool moving = false;
        int direction = BALE_NONE;
        CxPoint target;
        int legs = 0; // cells moved in this step
    };
    struct ST_UNDO_STEP
    {
        CxPoint pig;
        int bale = -1;
        CxPoint baleCell;
    };

    ST_PIECE* Piece(int piece);
    const ST_PIECE* Piece(int piece) const;
    bool IsTargeted(CxPoint cell, const ST_PIECE* except) const;
    bool CanEnter(CxPoint cell, const ST_PIECE* mover) const;
    uint8_t& At(CxPoint cell) { return grid_[BaleIndex(cell)]; }
    void Leave(CxPoint cell, std::vector<CxPoint>& closed);
    void CloseDoors(std::vector<CxPoint>& closed);
    void OpenDoors(std::vector<CxPoint>& opened);
    void Recount(std::vector<CxPoint>& opened, std::vector<CxPoint>& closed);

    std::array<uint8_t, BALE_CELLS> grid_{};
    ST_PIECE pig_;
    std::vector<ST_PIECE> bales_;
    int goals_ = 0;
    int emptyGoals_ = 0;
    int switches_ = 0;
    int unpressed_ = 0;
    int moves_ = 0;
    int moveLimit_ = BALE_DEFAULT_MOVE_LIMIT;
    std::vector<ST_UNDO_STEP> undo_; // oldest first, at most BALE_UNDO_STEPS
    bool undoPending_ = false;
};
