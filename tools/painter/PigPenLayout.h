#pragma once
// Where things stand in the pig pen (PigPen/PigPen.ini says the same): the
// painter draws the background's trough, empty wall spots and meter scale
// around these places, and the tests hold the pig's pictures to the petting
// areas the room file gives. Rectangles are inclusive.

#include "PIM/core/CxRect.h"

#include <cstdint>

// The pig: one frame of every state is this big; it stands with its top-left
// corner at kPigX, kPigY, facing left towards the trough and the bowl.
constexpr int32_t kPigX = 260, kPigY = 250;
constexpr int32_t kPigFrameW = 220, kPigFrameH = 190;

// The petting areas, in the pig's own frame (the room adds its position).
constexpr CxRect kPetHead{12, 40, 112, 140};
constexpr CxRect kPetChest{60, 141, 140, 162};
constexpr CxRect kPetFeet{68, 160, 190, 181};
constexpr CxRect kPetRump{141, 60, 208, 158};

// The trough, painted on the background; its front plank is also the mask
// drawn over the food lying in it.
constexpr CxRect kTrough{180, 428, 340, 478};
constexpr int32_t kTroughFrontY = 452;

// The happiness meter's scale, right of the pen.
constexpr CxRect kMeter{756, 110, 776, 410};

// The three empty wall spots on the back wall, each as big as a wall picture.
constexpr int32_t kWallPictureW = 110, kWallPictureH = 90;
constexpr int32_t kWallSpots[3][2] = {{100, 50}, {330, 40}, {530, 50}};

// The shelf along the bottom that holds the buttons and the item icons.
constexpr int32_t kShelfTop = 500;
