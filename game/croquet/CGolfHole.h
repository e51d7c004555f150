#pragma once
// The croquet hole ("Hole.xni"): state 0 the hole opening (played once each
// blink after the last wicket), state 1 the ball sunk. The ball drops in when
// its centre lies in the lower part of the picture (CroquetInHole).

#include "DAX/sprites/CDaxSprite.h"

constexpr int HOLE_OPENING = 0;
constexpr int HOLE_SUNK = 1;

class CGolfHole : public CDaxSprite
{
public:
    bool Takes(CxPoint ballCentre) const;
};
