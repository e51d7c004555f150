// The rooms of the game, registered by the names scripts enter them with.
// Only rooms that are built are here: a name nobody registered is no room,
// and going there does nothing (traced once), so a hub button of a game not
// built yet stays where it is instead of showing an empty room.

#include "PIM/app/CxGameRoomRegistrar.h"
#include "game/baleout/BaleOutRoom.h"
#include "game/common/CActivityCenter.h"
#include "game/croquet/CroquetRoom.h"
#include "game/jigsaw/JigsawRoom.h"
#include "game/common/CFairgroundMenu.h"
#include "game/common/CFarmyardMenu.h"
#include "game/common/CLogin.h"
#include "game/common/COptionMenu.h"
#include "game/common/CTitleScreen.h"
#include "game/paint/PaintRoom.h"
#include "game/pigpen/PigPenRoom.h"
#include "game/pigsout/PigsOutRoom.h"
#include "game/quiz/QuizRoom.h"
#include "game/shell/CMarrowdaleApp.h"

namespace {

const CxGameRoomRegistrar kRooms[] = {
    {"Title", &MakeRoom<CTitleScreen>},
    {"FarmyardMenu", &MakeRoom<CFarmyardMenu>},
    {"FairgroundMenu", &MakeRoom<CFairgroundMenu>},
    {"ActivityCenter", &MakeRoom<CActivityCenter>},
    {"Login", &MakeRoom<CLogin>},
    {"OptionsMenu", &MakeRoom<COptionMenu>},
    {"PigPen", &MakeRoom<CPig>},
    {"BaleOut", &MakeRoom<BaleOut>},
    {"Croquet", &MakeRoom<CCroquet>},
    {"Puzzle", &MakeRoom<CJigsaw>},
    {"Quiz", &MakeRoom<CQuiz>},
    {"PaintRoom", &MakeRoom<CDrawRoom>},
    {"PigsOut", &MakeRoom<CPigOutGame>},
};

} // namespace

void RegisterMarrowdaleRooms()
{
    // Referenced from main(): the linker keeps this file, and with it the
    // registrars above, even when the game is linked from a static library.
    (void)kRooms;
}
