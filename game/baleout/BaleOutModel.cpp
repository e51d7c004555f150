#include "game/baleout/BaleOutModel.h"

#include "game/baleout/BaleOutLevel.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Floor division, so points just left of or above the board are not cell 0.
int FloorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool IsBelt(int floor)
{
    return floor == BALE_BELT_LEFT || floor == BALE_BELT_UP || floor == BALE_BELT_RIGHT ||
           floor == BALE_BELT_DOWN;
}

// The belt a push in `direction` may not land on: the one moving against it.
int BeltAgainst(int direction)
{
    switch (direction) {
    case BALE_LEFT: return BALE_BELT_RIGHT;
    case BALE_UP: return BALE_BELT_DOWN;
    case BALE_RIGHT: return BALE_BELT_LEFT;
    case BALE_DOWN: return BALE_BELT_UP;
    default: return -1;
    }
}

int KindOf(int piece)
{
    return piece == BALE_PIG_PIECE ? BALE_PIG : BALE_BALE;
}

} // namespace

CxPoint BaleNext(CxPoint cell, int direction)
{
    switch (direction) {
    case BALE_LEFT: return {cell.x - 1, cell.y};
    case BALE_UP: return {cell.x, cell.y - 1};
    case BALE_RIGHT: return {cell.x + 1, cell.y};
    case BALE_DOWN: return {cell.x, cell.y + 1};
    default: return cell;
    }
}

CxPoint BaleCellAt(CxPoint point)
{
    const CxPoint cell{FloorDiv(point.x - BALE_BOARD_ORIGIN.x, BALE_CELL_PIXELS),
                       FloorDiv(point.y - BALE_BOARD_ORIGIN.y, BALE_CELL_PIXELS)};
    return BaleInside(cell) ? cell : CxPoint{-1, -1};
}

CxPoint BaleCellOrigin(CxPoint cell)
{
    return {BALE_BOARD_ORIGIN.x + cell.x * BALE_CELL_PIXELS, BALE_BOARD_ORIGIN.y + cell.y * BALE_CELL_PIXELS};
}

int BaleChooseDirection(CxPoint c, CxPoint p)
{
    const bool nearRow = std::abs(c.y - p.y) <= 1;
    const bool nearColumn = std::abs(c.x - p.x) <= 1;
    if ((c.x == p.x - 1 && c.y == p.y) || (c.x == p.x - 2 && nearRow))
        return BALE_LEFT;
    if ((c.x == p.x + 1 && c.y == p.y) || (c.x == p.x + 2 && nearRow))
        return BALE_RIGHT;
    if ((c.x == p.x && c.y == p.y - 1) || (c.y == p.y - 2 && nearColumn))
        return BALE_UP;
    if ((c.x == p.x && c.y == p.y + 1) || (c.y == p.y + 2 && nearColumn))
        return BALE_DOWN;
    return BALE_NONE;
}

int BaleMoveBonus(int moveLimit, int moves)
{
    const int left = moveLimit - moves;
    return left >= 1 ? 2 * left : 0;
}

int BaleGoalBonus(int goals)
{
    return 100 * goals;
}

void CBaleOutModel::Load(const ST_BALE_LEVEL& level, int moveLimit)
{
    *this = CBaleOutModel();
    moveLimit_ = std::max(moveLimit, 0);
    bool pig = false;
    for (int i = 0; i < BALE_CELLS; ++i) {
        const CxPoint cell{i / BALE_GRID, i % BALE_GRID};
        uint8_t code = level.cells[i];
        if (code == BALE_GOAL_OLD)
            code = BALE_GOAL;
        // The reader leaves only file codes and one pig; a hand-made level
        // breaking that is mended the same way rather than trusted.
        if (!BaleIsFileCode(code) || (code == BALE_PIG && pig))
            code = BALE_FLOOR;
        if (code == BALE_PIG) {
            pig = true;
            pig_.cell = cell;
        } else if (code == BALE_BALE) {
            bales_.push_back({cell, false, BALE_NONE, cell});
        } else if (code == BALE_GOAL) {
            ++goals_;
        } else if (code == BALE_SWITCH) {
            ++switches_;
        }
        grid_[i] = code;
    }
    if (!pig) {
        pig_.cell = BALE_DEFAULT_PIG;
        const int at = BaleIndex(pig_.cell);
        if (grid_[at] == BALE_BALE)
            bales_.erase(std::find_if(bales_.begin(), bales_.end(),
                                      [&](const ST_PIECE& b) { return b.cell == pig_.cell; }));
        goals_ -= grid_[at] == BALE_GOAL;
        switches_ -= grid_[at] == BALE_SWITCH;
        grid_[at] = BALE_PIG;
    }
    emptyGoals_ = goals_;
    unpressed_ = switches_;
}

uint8_t CBaleOutModel::Cell(CxPoint cell) const
{
    return BaleInside(cell) ? grid_[BaleIndex(cell)] : BALE_BLOCK;
}

CxPoint CBaleOutModel::BaleCell(int bale) const
{
    return bale >= 0 && bale < BaleCount() ? bales_[bale].cell : CxPoint{-1, -1};
}

int CBaleOutModel::BaleFrame(int bale) const
{
    return BaleFloorOf(Cell(BaleCell(bale))) == BALE_GOAL ? 1 : 0;
}

int CBaleOutModel::BaleAt(CxPoint cell) const
{
    for (int i = 0; i < BaleCount(); ++i)
        if (bales_[i].cell == cell)
            return i;
    return -1;
}

std::vector<ST_BALE_FLOOR_PIECE> CBaleOutModel::FloorPieces() const
{
    std::vector<ST_BALE_FLOOR_PIECE> pieces;
    for (int i = 0; i < BALE_CELLS; ++i) {
        const int floor = BaleFloorOf(grid_[i]);
        if (floor >= BALE_BLOCK)
            pieces.push_back({static_cast<uint8_t>(floor), {i / BALE_GRID, i % BALE_GRID}});
    }
    return pieces;
}

CBaleOutModel::ST_PIECE* CBaleOutModel::Piece(int piece)
{
    return const_cast<ST_PIECE*>(static_cast<const CBaleOutModel*>(this)->Piece(piece));
}

const CBaleOutModel::ST_PIECE* CBaleOutModel::Piece(int piece) const
{
    if (piece == BALE_PIG_PIECE)
        return &pig_;
    return piece >= 0 && piece < BaleCount() ? &bales_[piece] : nullptr;
}

bool CBaleOutModel::IsMoving() const
{
    return pig_.moving || std::any_of(bales_.begin(), bales_.end(), [](const ST_PIECE& b) { return b.moving; });
}

bool CBaleOutModel::IsPieceMoving(int piece) const
{
    const ST_PIECE* p = Piece(piece);
    return p != nullptr && p->moving;
}

bool CBaleOutModel::IsWon() const
{
    // A board without goals (a missing level) has nothing to win.
    return goals_ > 0 && emptyGoals_ == 0 && !IsMoving();
}

bool CBaleOutModel::IsTargeted(CxPoint cell, const ST_PIECE* except) const
{
    if (&pig_ != except && pig_.moving && pig_.target == cell)
        return true;
    for (const ST_PIECE& b : bales_)
        if (&b != except && b.moving && b.target == cell)
            return true;
    return false;
}

// Where a slide or a belt ride may go on: a cell another moving piece is
// heading for counts as taken, so two pieces never end in one cell.
bool CBaleOutModel::CanEnter(CxPoint cell, const ST_PIECE* mover) const
{
    if (!BaleInside(cell))
        return false;
    const int code = grid_[BaleIndex(cell)];
    return !BaleOccupied(code) && code != BALE_BLOCK && code != BALE_DOOR && !IsTargeted(cell, mover);
}

bool CBaleOutModel::CanMove(int direction) const
{
    if (IsMoving() || direction < BALE_LEFT || direction > BALE_DOWN)
        return false;
    const CxPoint n = BaleNext(pig_.cell, direction);
    if (!BaleInside(n))
        return false;
    const int next = grid_[BaleIndex(n)];
    if (next == BALE_BLOCK || next == BALE_DOOR)
        return false;
    if (next % 10 != BALE_BALE)
        return true;
    const CxPoint f = BaleNext(n, direction);
    if (!BaleInside(f))
        return false;
    const int far = grid_[BaleIndex(f)];
    if (far == BeltAgainst(direction) || far == BALE_BLOCK || far % 10 == BALE_BALE || far == BALE_DOOR)
        return false;
    // Pushing a bale off a switch while a bale holds a door open would shut
    // that door on it.
    if (next == BALE_SWITCH + BALE_BALE &&
        std::find(grid_.begin(), grid_.end(), BALE_DOOR + BALE_BALE) != grid_.end())
        return false;
    return true;
}

ST_BALE_STEP CBaleOutModel::StartStep(int direction)
{
    ST_BALE_STEP step;
    step.moves = moves_;
    if (!CanMove(direction))
        return step;
    if (moves_ >= moveLimit_) {
        step.result = EBaleStep::OutOfMoves;
        return step;
    }
    step.result = EBaleStep::Started;
    step.direction = direction;
    step.pigFrom = pig_.cell;
    step.pigTo = BaleNext(pig_.cell, direction);
    step.bale = BaleAt(step.pigTo);

    if (undo_.size() == size_t(BALE_UNDO_STEPS))
        undo_.erase(undo_.begin());
    undo_.push_back({pig_.cell, step.bale, BaleCell(step.bale)});

    pig_.moving = true;
    pig_.legs = 0;
    pig_.direction = direction;
    pig_.target = step.pigTo;
    if (step.bale >= 0) {
        ST_PIECE& bale = bales_[step.bale];
        step.baleFrom = bale.cell;
        step.baleTo = BaleNext(bale.cell, direction);
        bale.moving = true;
        bale.legs = 0;
        bale.direction = direction;
        bale.target = step.baleTo;
    }
    step.moves = ++moves_;
    return step;
}

void CBaleOutModel::CloseDoors(std::vector<CxPoint>& closed)
{
    for (int i = 0; i < BALE_CELLS; ++i)
        if (grid_[i] == BALE_DOOR_OPEN) {
            grid_[i] = BALE_DOOR;
            closed.push_back({i / BALE_GRID, i % BALE_GRID});
        }
}

void CBaleOutModel::OpenDoors(std::vector<CxPoint>& opened)
{
    for (int i = 0; i < BALE_CELLS; ++i)
        if (grid_[i] == BALE_DOOR) {
            grid_[i] = BALE_DOOR_OPEN;
            opened.push_back({i / BALE_GRID, i % BALE_GRID});
        }
}

// A piece lifts off `cell`: its floor shows again. A door closes behind the
// piece that held it while the switches no longer keep it open.
void CBaleOutModel::Leave(CxPoint cell, std::vector<CxPoint>& closed)
{
    uint8_t& code = At(cell);
    const int floor = BaleFloorOf(code);
    const bool bale = code % 10 == BALE_BALE;
    if (floor == BALE_DOOR) {
        code = DoorsOpen() ? BALE_DOOR_OPEN : BALE_DOOR;
        if (code == BALE_DOOR)
            closed.push_back(cell);
        return;
    }
    code = static_cast<uint8_t>(floor);
    if (floor == BALE_SWITCH) {
        const bool wasOpen = DoorsOpen();
        ++unpressed_;
        if (wasOpen)
            CloseDoors(closed);
    } else if (floor == BALE_GOAL && bale) {
        ++emptyGoals_;
    }
}

ST_BALE_ARRIVAL CBaleOutModel::Arrive(int piece)
{
    ST_BALE_ARRIVAL a;
    a.piece = piece;
    ST_PIECE* p = Piece(piece);
    if (p == nullptr || !p->moving || BaleOccupied(At(p->target))) {
        a.idle = !IsMoving();
        return a;
    }
    a.accepted = true;
    a.from = p->cell;
    a.to = p->target;
    const int kind = KindOf(piece);

    Leave(a.from, a.doorsClosed);

    uint8_t& code = At(a.to);
    const int floor = code;
    int onward = BALE_NONE;
    if (floor == BALE_ICE) {
        onward = p->direction;
    } else if (IsBelt(floor)) {
        onward = floor / 10 - 2;
    } else if (floor == BALE_BONUS100 || floor == BALE_BONUS200) {
        a.bonusHidden = true;
        if (kind == BALE_PIG)
            a.bonus = floor == BALE_BONUS100 ? 100 : 200;
        else
            a.bonusLost = true;
    }
    if (floor == BALE_BONUS100 || floor == BALE_BONUS200) {
        code = static_cast<uint8_t>(kind);
    } else if (floor == BALE_DOOR || floor == BALE_DOOR_OPEN) {
        // A door that shut while the piece was on its way is held open by it.
        if (floor == BALE_DOOR)
            a.doorsOpened.push_back(a.to);
        code = static_cast<uint8_t>(BALE_DOOR + kind);
    } else {
        code = static_cast<uint8_t>(floor + kind);
    }
    if (floor == BALE_SWITCH && --unpressed_ == 0)
        OpenDoors(a.doorsOpened);
    if (floor == BALE_GOAL && kind == BALE_BALE)
        --emptyGoals_;
    p->cell = a.to;

    if (kind == BALE_BALE) {
        a.baleFrame = floor == BALE_GOAL ? 1 : 0;
        a.askHint = floor == BALE_HINT;
    }

    const CxPoint next = BaleNext(a.to, onward);
    // Belts laid in a ring would carry a piece round for ever: no ride goes
    // on longer than the board has cells.
    if (onward != BALE_NONE && ++p->legs < BALE_CELLS && CanEnter(next, p)) {
        p->direction = onward;
        p->target = next;
        a.goesOn = true;
        a.next = next;
        a.direction = onward;
        a.belt = IsBelt(floor);
    } else {
        p->moving = false;
        p->direction = BALE_NONE;
    }
    a.idle = !IsMoving();
    if (a.idle && undoPending_)
        a.undo = Undo();
    return a;
}

// Puts the switches and doors in line with where the pieces now stand, as
// if every piece had always stood there.
void CBaleOutModel::Recount(std::vector<CxPoint>& opened, std::vector<CxPoint>& closed)
{
    unpressed_ = switches_;
    emptyGoals_ = 0;
    for (uint8_t code : grid_) {
        unpressed_ -= code == BALE_SWITCH + BALE_PIG || code == BALE_SWITCH + BALE_BALE;
        emptyGoals_ += code == BALE_GOAL || code == BALE_GOAL + BALE_PIG;
    }
    if (DoorsOpen())
        OpenDoors(opened);
    else
        CloseDoors(closed);
}

ST_BALE_UNDO CBaleOutModel::Undo()
{
    ST_BALE_UNDO u;
    undoPending_ = false;
    if (IsMoving() || undo_.empty())
        return u;
    const ST_UNDO_STEP step = undo_.back();
    undo_.pop_back();

    // Both pieces lift off before either is put back: a belt may have
    // carried the bale onto the pig's old cell.
    // A door a piece lifts off is open for the moment; the recount below
    // closes it again, with the rest, when the switches say so.
    auto lift = [&](CxPoint cell) {
        uint8_t& code = At(cell);
        const int floor = BaleFloorOf(code);
        code = static_cast<uint8_t>(floor == BALE_DOOR ? BALE_DOOR_OPEN : floor);
    };
    auto place = [&](CxPoint cell, int kind) {
        uint8_t& code = At(cell);
        if (code == BALE_DOOR)
            u.doorsOpened.push_back(cell);
        const int floor = code == BALE_DOOR_OPEN ? BALE_DOOR : code;
        code = static_cast<uint8_t>(floor + kind);
    };
    ST_PIECE* bale = step.bale >= 0 && step.bale < BaleCount() ? &bales_[step.bale] : nullptr;
    lift(pig_.cell);
    if (bale != nullptr)
        lift(bale->cell);
    pig_.cell = step.pig;
    place(pig_.cell, BALE_PIG);
    if (bale != nullptr) {
        bale->cell = step.baleCell;
        place(bale->cell, BALE_BALE);
    }
    Recount(u.doorsOpened, u.doorsClosed);

    u.done = true;
    u.pig = pig_.cell;
    u.bale = bale != nullptr ? step.bale : -1;
    u.baleCell = BaleCell(u.bale);
    u.baleFrame = BaleFrame(u.bale);
    moves_ = std::max(moves_ - 1, 0);
    u.moves = moves_;
    return u;
}

ST_BALE_UNDO CBaleOutModel::RequestUndo()
{
    if (IsMoving()) {
        undoPending_ = !undo_.empty();
        return {};
    }
    return Undo();
}

const char* CBaleOutModel::CheckInvariants() const
{
    int pigs = 0;
    int baleCells = 0;
    int goals = 0;
    int empty = 0;
    int switches = 0;
    int pressed = 0;
    int closed = 0;
    int open = 0;
    for (uint8_t code : grid_) {
        const int floor = BaleFloorOf(code);
        // A piece on a block or a bonus would make 4, 5, 25 ...: none of
        // them a floor, so this also keeps pieces off those.
        if (!(code == BALE_PIG || code == BALE_BALE || code == BALE_DOOR_OPEN || BaleIsFileCode(floor)) ||
            floor == BALE_PIG || floor == BALE_BALE || floor == BALE_GOAL_OLD)
            return "a cell holds a code play never makes";
        pigs += code % 10 == BALE_PIG;
        baleCells += code % 10 == BALE_BALE;
        goals += floor == BALE_GOAL;
        empty += code == BALE_GOAL || code == BALE_GOAL + BALE_PIG;
        switches += floor == BALE_SWITCH;
        pressed += floor == BALE_SWITCH && BaleOccupied(code);
        closed += code == BALE_DOOR;
        open += code == BALE_DOOR_OPEN;
    }
    if (pigs != 1 || Cell(pig_.cell) % 10 != BALE_PIG)
        return "the pig is not on its one cell";
    if (baleCells != BaleCount())
        return "bale cells do not match the bales";
    for (const ST_PIECE& b : bales_)
        if (Cell(b.cell) % 10 != BALE_BALE)
            return "a bale is not on its cell";
    if (goals != goals_ || empty != emptyGoals_)
        return "goal counts do not match the grid";
    if (switches != switches_ || switches - pressed != unpressed_)
        return "switch counts do not match the grid";
    if ((DoorsOpen() && closed > 0) || (!DoorsOpen() && open > 0))
        return "doors do not match the switches";
    for (int i = -1; i < BaleCount(); ++i) {
        const ST_PIECE& p = *Piece(i);
        if (p.moving && (!BaleInside(p.target) || IsTargeted(p.target, &p) ||
                         BaleNext(p.cell, p.direction) != p.target))
            return "a moving piece heads for a bad cell";
    }
    if (undo_.size() > size_t(BALE_UNDO_STEPS) || moves_ < 0)
        return "the undo ring or the move count is out of bounds";
    return nullptr;
}
