// The rooms of the game, registered by the names scripts enter them with.
// A name without a class of its own yet is a room of data alone (the game
// layer's room window reading "<Room>/<Room>.ini"), so navigation written
// now keeps working and each room grows its class when its game is built.

#include "DAX/rooms/CDaxWindow.h"
#include "PIM/app/CxGameRoomRegistrar.h"
#include "game/common/CFarmyardMenu.h"
#include "game/common/CTitleScreen.h"
#include "game/shell/CMarrowdaleApp.h"

#include <iterator>

namespace {

const CxGameRoomRegistrar kRooms[] = {
    {"Title", &MakeRoom<CTitleScreen>},
    {"Login", &MakeRoom<CDaxWindow>},
    {"OptionsMenu", &MakeRoom<CDaxWindow>},
    {"FarmyardMenu", &MakeRoom<CFarmyardMenu>},
    {"FairgroundMenu", &MakeRoom<CDaxWindow>},
    {"ActivityCenter", &MakeRoom<CDaxWindow>},
    {"BaleOut", &MakeRoom<CDaxWindow>},
    {"Croquet", &MakeRoom<CDaxWindow>},
    {"Puzzle", &MakeRoom<CDaxWindow>},
    {"Quiz", &MakeRoom<CDaxWindow>},
    {"PigPen", &MakeRoom<CDaxWindow>},
    {"PaintRoom", &MakeRoom<CDaxWindow>},
    {"SpiderEgg", &MakeRoom<CDaxWindow>},
    {"BumperCar", &MakeRoom<CDaxWindow>},
    {"WordWeb", &MakeRoom<CDaxWindow>},
    {"NumberWeb", &MakeRoom<CDaxWindow>},
    {"PigsOut", &MakeRoom<CDaxWindow>},
    {"SwinginAranelle", &MakeRoom<CDaxWindow>},
    {"PopTrail", &MakeRoom<CDaxWindow>},
    {"PopCorn", &MakeRoom<CDaxWindow>},
};

} // namespace

void RegisterMarrowdaleRooms()
{
    // Referenced from main(): the linker keeps this file, and with it the
    // registrars above, even when the game is linked from a static library.
    (void)kRooms;
}
