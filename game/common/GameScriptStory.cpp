#include "game/common/GameScriptStory.h"

#include "PIM/app/CxGameApp.h"
#include "PIM/script/CxLuaEngine.h"
#include "game/common/CPlayerStore.h"
#include "game/common/GameStory.h"

#include <lua.hpp>

namespace {

int GotoStoryRoomFn(lua_State* L)
{
    const auto& store = *static_cast<const CPlayerStore*>(lua_touserdata(L, lua_upvalueindex(1)));
    if (CxGameApp* app = CxGameApp::GetGameApp())
        app->GotoRoom(GameStoryRoom(store));
    return 0;
}

} // namespace

void RegisterStoryScriptFunctions(CxLuaEngine& engine, CPlayerStore& store)
{
    lua_State* L = engine.GetState();
    if (!L)
        return;
    lua_pushlightuserdata(L, &store);
    lua_pushcclosure(L, &GotoStoryRoomFn, 1);
    lua_setglobal(L, "GotoStoryRoom");
}
