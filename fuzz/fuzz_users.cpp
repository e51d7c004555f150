// A players' file (users.ini) from arbitrary bytes, read as the game reads
// it: the store loaded, the sign-in room's list made from its sections, and
// for each listed name (and a few sections as they stand) the story's room
// and the goal keys read. Whatever the file holds, the list keeps to six
// names of one to ten capitals, "_GLOBAL_" never among them, and the story
// leads to one of its rooms.
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzPicture.h"
#include "game/common/CLogin.h"
#include "game/common/CPlayerStore.h"
#include "game/common/GameStory.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

struct ST_FUZZ_WORLD
{
    fuzz::MountedFolder folder{"<Fuzz>"};
    ST_FUZZ_WORLD()
    {
        SetErrorHandler({&fuzz::Quiet, nullptr});
        SetTraceToStdout(false);
    }
};

ST_FUZZ_WORLD& World()
{
    static ST_FUZZ_WORLD world;
    return world;
}

void CheckStory(const CPlayerStore& players)
{
    static const char* const kRooms[] = {"Login", "PigPen", "FarmyardMenu", "FairgroundMenu", "SpiderEgg"};
    const char* room = GameStoryRoom(players);
    bool known = false;
    for (const char* name : kRooms)
        known = known || std::strcmp(room, name) == 0;
    fuzz::Check(known);
    for (const char* key : {"PigPenGoal", "FarmGoal", "FairGoal", "ClosingGoal", "NewUser"})
        (void)players.ReadInt(key, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ST_FUZZ_WORLD& world = World();
    if (!world.folder.Write("users.ini", data, size))
        return 0;
    CPlayerStore players;
    players.Load("<Fuzz>users.ini");
    const std::vector<CxString> sections = players.GetPlayerNames();
    const std::vector<std::string> listed = CLogin::ListedNames(sections);
    fuzz::Check(listed.size() <= size_t(GAME_LOGIN_MAX_LISTED));
    for (const std::string& name : listed) {
        fuzz::Check(!name.empty() && name.size() <= size_t(GAME_LOGIN_NAME_MAX));
        fuzz::Check(name != GAME_GLOBAL_SECTION);
        for (char c : name)
            fuzz::Check(!std::islower(static_cast<unsigned char>(c)));
        players.SetCurrentPlayer(name.c_str());
        CheckStory(players);
    }
    for (size_t i = 0; i < sections.size() && i < 8; ++i) {
        players.SetCurrentPlayer(sections[i].GetText());
        CheckStory(players);
    }
    players.SetCurrentPlayer(nullptr);
    CheckStory(players);
    return 0;
}
