#include "game/common/GameStory.h"

#include "game/common/CPlayerStore.h"

const char* GameStoryRoom(const CPlayerStore& players)
{
    if (!players.HasPlayer())
        return "Login";
    if (players.ReadInt("PigPenGoal", 0) != -1)
        return "PigPen";
    if (!players.ReadInt("FarmYardComplete", 0))
        return "FarmyardMenu";
    if (!players.ReadInt("FairComplete", 0))
        return "FairgroundMenu";
    if (players.ReadInt("ClosingComplete", 0))
        return "FarmyardMenu";
    return "SpiderEgg";
}
