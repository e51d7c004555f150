// A bale-pushing level from arbitrary bytes: the first 144 are the level
// file, the rest drive a bounded run of steps, undos and hint answers. Every
// moving piece is arrived (in an order the bytes pick) until the board is
// still, and the board's consistency is checked after every arrival.
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "fuzz/FuzzPicture.h"
#include "game/baleout/BaleOutLevel.h"
#include "game/baleout/BaleOutModel.h"

namespace {

void Check(const CBaleOutModel& model)
{
    fuzz::Check(model.CheckInvariants() == nullptr);
}

// Each round arrives every moving piece once; a piece moves at most one
// cell a round, and no ride is longer than the board has cells.
void Settle(CBaleOutModel& model, uint8_t order, bool answerNo)
{
    for (int round = 0; round < 4 * BALE_CELLS && model.IsMoving(); ++round) {
        const bool pigFirst = (order >> (round % 8)) & 1;
        if (pigFirst && model.IsPieceMoving(BALE_PIG_PIECE))
            (void)model.Arrive(BALE_PIG_PIECE);
        for (int bale = 0; bale < model.BaleCount(); ++bale) {
            if (!model.IsPieceMoving(bale))
                continue;
            const ST_BALE_ARRIVAL a = model.Arrive(bale);
            if (a.askHint && answerNo)
                (void)model.RequestUndo();
            Check(model);
        }
        if (model.IsPieceMoving(BALE_PIG_PIECE))
            (void)model.Arrive(BALE_PIG_PIECE);
        Check(model);
    }
    fuzz::Check(!model.IsMoving());
    fuzz::Check(!model.IsUndoPending());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    const ST_BALE_LEVEL level = ReadBaleLevel(data, size);
    int pigs = 0;
    for (uint8_t code : level.cells) {
        fuzz::Check(BaleIsFileCode(code) && code != BALE_GOAL_OLD);
        pigs += code == BALE_PIG;
    }
    fuzz::Check(pigs == 1);

    CBaleOutModel model;
    const size_t start = size > size_t(BALE_CELLS) ? size_t(BALE_CELLS) : size;
    model.Load(level, start < size ? data[start] * 2 : BALE_DEFAULT_MOVE_LIMIT);
    Check(model);
    for (size_t i = start + 1; i + 1 < size && i < start + 1 + 2 * 400; i += 2) {
        const uint8_t op = data[i];
        const uint8_t arg = data[i + 1];
        if (op % 8 == 0) {
            const int before = model.Moves();
            const ST_BALE_UNDO u = model.Undo();
            fuzz::Check(u.done ? model.Moves() == before - 1 : model.Moves() == before);
        } else {
            const int direction = op % 8 <= 4 ? op % 8 : BaleChooseDirection(
                BaleCellAt({arg * 3, op * 2}), model.PigCell());
            const bool could = model.CanMove(direction);
            const ST_BALE_STEP step = model.StartStep(direction);
            fuzz::Check(could == (step.result != EBaleStep::Stuck));
            Settle(model, arg, (op & 0x80) != 0);
        }
        Check(model);
        if (model.IsWon())
            fuzz::Check(model.Goals() > 0 && model.EmptyGoals() == 0);
    }
    return 0;
}
