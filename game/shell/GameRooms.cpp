// The rooms of the game, registered by the names scripts enter them with.
//
// Seam: every name stands on an empty room until its own room class is
// built; the names are the game's from the start, so navigation written now
// keeps working.

#include "PIM/app/CxGameRoomRegistrar.h"
#include "PIM/app/CxGameWindow.h"
#include "game/shell/CMarrowdaleApp.h"
#include "game/shell/CTitleScene.h"

#include <iterator>

namespace {

class CEmptyRoom : public CxGameWindow
{
public:
    explicit CEmptyRoom(CxGameApp*) {}
};

const CxGameRoomRegistrar kRooms[] = {
    {"Title", &MakeRoom<CTitleScene>},
    {"Login", &MakeRoom<CEmptyRoom>},
    {"OptionsMenu", &MakeRoom<CEmptyRoom>},
    {"FarmyardMenu", &MakeRoom<CEmptyRoom>},
    {"FairgroundMenu", &MakeRoom<CEmptyRoom>},
    {"ActivityCenter", &MakeRoom<CEmptyRoom>},
    {"BaleOut", &MakeRoom<CEmptyRoom>},
    {"Croquet", &MakeRoom<CEmptyRoom>},
    {"Puzzle", &MakeRoom<CEmptyRoom>},
    {"Quiz", &MakeRoom<CEmptyRoom>},
    {"PigPen", &MakeRoom<CEmptyRoom>},
    {"PaintRoom", &MakeRoom<CEmptyRoom>},
    {"SpiderEgg", &MakeRoom<CEmptyRoom>},
    {"BumperCar", &MakeRoom<CEmptyRoom>},
    {"WordWeb", &MakeRoom<CEmptyRoom>},
    {"NumberWeb", &MakeRoom<CEmptyRoom>},
    {"PigsOut", &MakeRoom<CEmptyRoom>},
    {"SwinginAranelle", &MakeRoom<CEmptyRoom>},
    {"PopTrail", &MakeRoom<CEmptyRoom>},
    {"PopCorn", &MakeRoom<CEmptyRoom>},
};

} // namespace

void RegisterMarrowdaleRooms()
{
    // Referenced from main(): the linker keeps this file, and with it the
    // registrars above, even when the game is linked from a static library.
    (void)kRooms;
}
