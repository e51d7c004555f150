// The pig run from arbitrary bytes: the first part read as its room file,
// the rest as a level file; frame counts 0 .. 200 and the pointer, presses
// and "animation stopped" answers for 3,000 ticks come from the same bytes.
// Whatever the bytes: the farmer stays within his offsets, the pig is raised
// only in the high jumps, lives never go below 0, every object shows a frame
// of its strip, the meter marker stays within 80 .. 390, and with a record
// kept the level is over by the largest record tick + 79.
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "fuzz/FuzzPicture.h"
#include "game/pigsout/PigsOutModel.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct ST_BYTES
{
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t Next() { return size ? data[at++ % size] : 0; }
};

struct FuzzFacts : IPigOutFacts
{
    ST_BYTES* input = nullptr;
    int frames[PIGS_TYPES] = {};
    int ObjectFrames(int type) override { return frames[type]; }
    CxSize ObjectSize(int type) override { return {frames[type] + 10, 2 * frames[type] + 1}; }
    int PigWidth() override { return 80; }
    int FarmerWidth() override { return 60; }
    bool PigStopped() override { return (input->Next() & 7) == 0; }
    bool FarmerStopped() override { return (input->Next() & 3) == 0; }
    bool CaughtSoundPlaying() override { return false; }
    bool Collides(int) override { return (input->Next() & 1) != 0; }
};

bool Raised(int state)
{
    return state == 2 || state == 6 || state == 10 || state == 19 || state == 21 || state == 23;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    if (size < 2)
        return 0;
    const size_t split = std::min<size_t>(data[0], size - 1);
    CxOptions room;
    (void)room.ReadFromBuffer(reinterpret_cast<const char*>(data + 1), split);
    const ST_PIGS_OPTIONS options = ReadPigsOutOptions(room);
    const int pass = ReadPigsOutPassScore(room, 0);
    const ST_PIGS_LEVEL level = ReadPigsOutLevel(data + 1 + split, size - 1 - split);
    fuzz::Check(!level.records.empty() && level.records.back().type == PIGS_END_TYPE);
    fuzz::Check(level.ObjectCount() <= static_cast<size_t>(PIGS_MAX_RECORDS));

    ST_BYTES input{data, size};
    FuzzFacts facts;
    facts.input = &input;
    for (int& frames : facts.frames)
        frames = input.Next() % 201;
    CPigOutModel model(facts);
    model.Build(options, level, pass, 0, 0);
    int64_t last = 0;
    for (size_t i = 0; i < level.ObjectCount(); ++i)
        last = std::max<int64_t>(last, level.records[i].tick);
    const int64_t overBy = last + 79;
    for (int tick = 0; tick < 3000 && !model.IsIdle(); ++tick) {
        const uint8_t what = input.Next();
        model.SetPointer(static_cast<int>(input.Next()) * 4 - 100);
        if ((what & 15) == 0)
            model.Press();
        model.ClearCues();
        model.Tick();
        const CxPoint farmer = model.GetFarmer();
        fuzz::Check(std::abs(model.GetFarmerSide()) <= PIGS_FARMER_REACH);
        fuzz::Check(model.GetFarmerUp() >= 0 && model.GetFarmerUp() <= PIGS_FARMER_REACH);
        fuzz::Check(farmer.x == options.farmerPos.x + model.GetFarmerSide());
        fuzz::Check(farmer.y == options.farmerPos.y + model.GetFarmerUp());
        const int up = options.pigPos.y - model.GetPig().y;
        fuzz::Check(up == (Raised(model.GetPigState()) ? PIGS_HIGH_JUMP : 0));
        fuzz::Check(model.GetLives() >= 0);
        fuzz::Check(model.GetMarkerY() >= PIGS_MARKER_TOP && model.GetMarkerY() <= PIGS_MARKER_TOP + PIGS_MARKER_RUN);
        for (const ST_PIG_CUE& cue : model.Cues())
            if (cue.kind == EPigCue::ObjectFrame)
                fuzz::Check(cue.b >= 0 && cue.b < facts.frames[model.GetSlotType(cue.a)]);
        if (level.ObjectCount() > 0 && model.GetTick() > overBy)
            fuzz::Check(model.GetState() != PIGS_PLAYING);
    }
    return 0;
}
