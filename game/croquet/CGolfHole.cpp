#include "game/croquet/CGolfHole.h"

#include "game/croquet/CroquetModel.h"

bool CGolfHole::Takes(CxPoint ballCentre) const
{
    return CroquetInHole(GetPosition(), GetWidth(), GetHeight(), ballCentre);
}
