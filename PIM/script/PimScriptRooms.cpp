// The room stack family: rooms by name, the current room and its handle, and
// its background. Rooms reach scripts as handles (PimScriptArgs.h).

#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int PopRoomFn(lua_State* L)
{
    CxString top = ScriptHost(L).PopRoom();
    lua_pushstring(L, top.GetText());
    return 1;
}

int PeekRoomFn(lua_State* L)
{
    lua_pushstring(L, ScriptHost(L).PeekRoom().GetText());
    return 1;
}

int IsLeavingRoomFn(lua_State* L)
{
    lua_pushboolean(L, ScriptHost(L).IsLeavingRoom());
    return 1;
}

// The current room is the one entered, never a pending stack top.
int GetCurRoomNameFn(lua_State* L)
{
    lua_pushstring(L, ScriptHost(L).GetCurRoomName());
    return 1;
}

int GetCurRoomPtrFn(lua_State* L)
{
    PushRoomHandle(L, ScriptHost(L).GetCurRoomHandle());
    return 1;
}

int RoomLoadSurfaceFn(lua_State* L)
{
    const char* file = luaL_checkstring(L, 1);
    lua_pushnumber(L, ScriptHost(L).LoadRoomBackground(file));
    return 1;
}

} // namespace

void RegisterRoomScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"PauseRoom", &HostCallFn<&CxScriptHost::PauseRoom>},
        {"ResumeRoom", &HostCallFn<&CxScriptHost::ResumeRoom>},
        {"PopRoom", &PopRoomFn},
        {"PushRoom", &HostNameCallFn<&CxScriptHost::PushRoom>},
        {"GotoRoom", &HostNameCallFn<&CxScriptHost::GotoRoom>},
        {"PeekRoom", &PeekRoomFn},
        {"IsLeavingRoom", &IsLeavingRoomFn},
        {"ReloadRoom", &HostCallFn<&CxScriptHost::ReloadRoom>},
        {"GetCurRoomName", &GetCurRoomNameFn},
        {"GetCurRoomPtr", &GetCurRoomPtrFn},
        {"RoomLoadSurface", &RoomLoadSurfaceFn},
    };
    RegisterScriptFunctions(engine, functions);
}
