#pragma once
// One item of the pig pen as the player holds it: the picture that follows
// the pointer (food, the brush, a toy, a decoration), with what the item
// does when it is given to the pig or dropped in its place:
//   Type         0 food, 1 drink, 2 love, 3 brush, 4 groom, 5 decoration
//   StateIndex   the pig's state it plays (eating 5 or 6, petting 9 .. 12)
//   Level        read and kept, not used
//   SubCategory  a decoration's place: 2 wall, 3 floor, 4 bed, 5 arch
//   ID           a decoration's picture number (-1: none); also the picture's
//                see-through rule: 32-bit pictures use their alpha, others
//                have the top-left pixel's colour see-through unless ID is 0

#include "PIM/display/CxSprite.h"

class CPigSprite : public CxSprite
{
public:
    // The picture under the transparency rule above: PIM_OK or the loader's code.
    int LoadItemPicture(const char* fileName);
    // The rule for any item or decoration picture (a sprite with a surface).
    static void ApplyTransparency(CxSprite& sprite, int id);

    int type = 0;
    int stateIndex = 0;
    int level = 0;
    int subCategory = 0;
    int id = -1;
    bool locked = false;
};
