#pragma once
// Where the croquet lawns put their hedges, shared by the lawn painter and
// the tests that hold the level files to what is drawn. The playing field
// is the mown lawn inside the hedges; the gravel round it holds the shot
// markers and the score (top), the friends waiting their turn (left) and the
// Home button (bottom right).

#include <cstdint>
#include <span>

constexpr int32_t kCroquetFieldLeft = 104;
constexpr int32_t kCroquetFieldTop = 74;
constexpr int32_t kCroquetFieldRight = 776;
constexpr int32_t kCroquetFieldBottom = 480;
constexpr int32_t kCroquetHedge = 24; // the hedges' thickness

struct ST_CROQUET_HEDGE
{
    int32_t left, top, right, bottom; // inclusive
};

// The hedges inside the field of lawn `level` (0 .. 2), beyond the border.
std::span<const ST_CROQUET_HEDGE> CroquetInnerHedges(int level);
