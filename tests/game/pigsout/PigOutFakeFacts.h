#pragma once
// Sprite facts for the pig run's model without sprites: every template the
// same frames and size, the pig's animation stopped or not as the test
// says, and a collision wherever the test puts one.

#include "game/pigsout/PigsOutModel.h"

#include <array>
#include <set>

struct PigOutFakeFacts : IPigOutFacts
{
    std::array<int, PIGS_TYPES> frames{};
    CxSize size{60, 60};
    int pigWidth = 80;
    int farmerWidth = 60;
    bool pigStopped = false;
    bool farmerStopped = false;
    bool caughtPlaying = false;
    bool hitAll = false;       // every object meets the pig
    std::set<int> hits;        // or just these ids

    PigOutFakeFacts() { frames.fill(12); }
    int ObjectFrames(int type) override { return frames[static_cast<size_t>(type)]; }
    CxSize ObjectSize(int) override { return size; }
    int PigWidth() override { return pigWidth; }
    int FarmerWidth() override { return farmerWidth; }
    bool PigStopped() override { return pigStopped; }
    bool FarmerStopped() override { return farmerStopped; }
    bool CaughtSoundPlaying() override { return caughtPlaying; }
    bool Collides(int id) override { return hitAll || hits.count(id) > 0; }
};

inline ST_PIGS_LEVEL PigOutTable(std::initializer_list<ST_PIGS_RECORD> records)
{
    ST_PIGS_LEVEL level;
    level.records = records;
    level.records.push_back(ST_PIGS_RECORD{});
    return level;
}
