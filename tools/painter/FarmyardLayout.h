#pragma once
// The places in the farmyard's backdrop that the farmyard room's other
// pieces line up with: the pond's ripple movie plays over plain water of the
// very colour its soft edges fade into, the score is drawn on plain sky and
// the buttons stand on plain grass. The painter and the moviemaker both
// read these, so the picture and the movie cannot drift apart.

#include <cstdint>

// Inclusive pixel bounds.
struct ST_FARMYARD_AREA
{
    int32_t left, top, right, bottom;
};

struct ST_FARMYARD_RGB
{
    uint8_t red, green, blue;
};

constexpr ST_FARMYARD_RGB kPondWater{72, 156, 222};
// The ripple movie, 200 x 80 at (480, 430), and the plain water around it.
constexpr ST_FARMYARD_AREA kPondMovie{480, 430, 679, 509};
constexpr ST_FARMYARD_AREA kPlainWater{470, 420, 690, 520};
// Where the score is drawn.
constexpr ST_FARMYARD_AREA kPlainSky{20, 10, 260, 60};
// Where the buttons stand. Its top left corner meets the plain water, which
// wins there: the movie needs water under all of it.
constexpr ST_FARMYARD_AREA kPlainGrass{560, 490, 799, 599};
