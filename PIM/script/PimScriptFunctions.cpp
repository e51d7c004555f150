#include "PIM/script/PimScriptFunctions.h"

#include "PIM/app/CxGameApp.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/core/CxString.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimSpriteHandles.h"

#include <lua.hpp>

#include <cstdint>
#include <string>

namespace {

CxGameApp& App(lua_State* L)
{
    CxGameApp* app = CxGameApp::GetGameApp();
    if (!app)
        luaL_error(L, "no game application is running");
    return *app;
}

// A room handle argument: light user data holding the room's id.
CxGameWindow& RoomArgument(lua_State* L, int index)
{
    if (!lua_islightuserdata(L, index))
        luaL_typerror(L, index, "room");
    auto handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(lua_touserdata(L, index)));
    CxGameWindow* room = App(L).FindRoomByHandle(handle);
    if (!room)
        luaL_argerror(L, index, "not a room (error 16: unknown or gone)");
    return *room;
}

void PushRoomHandle(lua_State* L, const CxGameWindow* room)
{
    if (!room) {
        lua_pushnil(L);
        return;
    }
    lua_pushlightuserdata(L, reinterpret_cast<void*>(static_cast<uintptr_t>(room->GetHandle())));
}

int TimerId(lua_State* L, int index)
{
    lua_Number value = luaL_checknumber(L, index);
    if (!(value >= -2147483648.0 && value <= 2147483647.0))
        luaL_argerror(L, index, "timer id out of range");
    return static_cast<int>(value);
}

// --- the room stack ----------------------------------------------------------------------

int PauseRoomFn(lua_State* L)
{
    App(L).PauseRoom();
    return 0;
}

int ResumeRoomFn(lua_State* L)
{
    App(L).ResumeRoom();
    return 0;
}

int PopRoomFn(lua_State* L)
{
    CxString top = App(L).PopRoom();
    lua_pushstring(L, top.GetText());
    return 1;
}

int PushRoomFn(lua_State* L)
{
    App(L).PushRoom(luaL_checkstring(L, 1));
    return 0;
}

int GotoRoomFn(lua_State* L)
{
    App(L).GotoRoom(luaL_checkstring(L, 1));
    return 0;
}

int PeekRoomFn(lua_State* L)
{
    lua_pushstring(L, App(L).PeekRoom().GetText());
    return 1;
}

int IsLeavingRoomFn(lua_State* L)
{
    lua_pushboolean(L, App(L).GetPendingRoom() != nullptr);
    return 1;
}

int ReloadRoomFn(lua_State* L)
{
    App(L).ReloadRoom();
    return 0;
}

// The current room is the one entered, never a pending stack top.
int GetCurRoomNameFn(lua_State* L)
{
    lua_pushstring(L, App(L).GetCurRoomName());
    return 1;
}

int GetCurRoomPtrFn(lua_State* L)
{
    PushRoomHandle(L, App(L).GetCurrentRoom());
    return 1;
}

// --- room timers -------------------------------------------------------------------------

int RoomSetTimerFn(lua_State* L)
{
    CxGameWindow& room = RoomArgument(L, 1);
    int id = TimerId(L, 2);
    lua_Number interval = luaL_checknumber(L, 3);
    if (!(interval >= 0.0 && interval <= 4294967295.0))
        luaL_argerror(L, 3, "interval out of range");
    // The user value is read only when exactly four arguments are given.
    int user = lua_gettop(L) == 4 ? TimerId(L, 4) : 0;
    room.GetTimers().SetTimer(id, static_cast<uint32_t>(interval), user);
    return 0;
}

int RoomKillTimerFn(lua_State* L)
{
    CxGameWindow& room = RoomArgument(L, 1);
    room.GetTimers().KillTimer(TimerId(L, 2));
    return 0;
}

int RoomPauseTimerFn(lua_State* L)
{
    CxGameWindow& room = RoomArgument(L, 1);
    room.GetTimers().PauseTimer(TimerId(L, 2));
    return 0;
}

int RoomResumeTimerFn(lua_State* L)
{
    CxGameWindow& room = RoomArgument(L, 1);
    room.GetTimers().ResumeTimer(TimerId(L, 2));
    return 0;
}

// --- keys, file systems, paths -------------------------------------------------------------

int BindKeyFn(lua_State* L)
{
    const char* name = luaL_checkstring(L, 1);
    const char* command = luaL_checkstring(L, 2);
    App(L).BindKey(name, command);
    return 0;
}

int UnBindKeyFn(lua_State* L)
{
    App(L).UnBindKey(luaL_checkstring(L, 1));
    return 0;
}

int UnBindAllKeysFn(lua_State* L)
{
    App(L).UnBindAllKeys();
    return 0;
}

int NewFileSystemFn(lua_State* L)
{
    const char* tag = luaL_checkstring(L, 1);
    const char* path = luaL_checkstring(L, 2);
    lua_pushinteger(L, App(L).NewFileSystem(tag, path));
    return 1;
}

int RemoveFileSystemFn(lua_State* L)
{
    lua_pushinteger(L, App(L).RemoveFileSystem(luaL_checkstring(L, 1)));
    return 1;
}

int BuildGamePathFn(lua_State* L)
{
    size_t length = 0;
    const char* path = luaL_checklstring(L, 1, &length);
    std::string text(length + 1, '\0');
    UnescapePercents(path, text.data(), static_cast<unsigned>(text.size()));
    CxString out;
    if (BuildGamePathSlashed(out, text.c_str()) != PIM_OK) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushstring(L, out.GetText());
    return 1;
}

} // namespace

void UnescapePercents(const char* text, char* out, unsigned outSize)
{
    if (!out || outSize == 0)
        return;
    unsigned at = 0;
    for (const char* p = text ? text : ""; *p && at + 1 < outSize; ++p) {
        if (p[0] == '%' && p[1] == '%')
            ++p;
        out[at++] = *p;
    }
    out[at] = '\0';
}

namespace {

// --- cursors, sprites and the screen ---------------------------------------------------------

int CursorNumber(lua_State* L, int index)
{
    lua_Number value = luaL_checknumber(L, index);
    if (!(value >= -2147483648.0 && value <= 2147483647.0))
        luaL_argerror(L, index, "cursor number out of range");
    return static_cast<int>(value);
}

int SetCursorFn(lua_State* L)
{
    SetCursor(CursorNumber(L, 1));
    return 0;
}

int GetCursorFn(lua_State* L)
{
    lua_pushnumber(L, GetCursor());
    return 1;
}

int SetDefaultCursorFn(lua_State* L)
{
    if (!lua_isnumber(L, 1))
        luaL_error(L, "bad argument");
    SetDefaultCursor(CursorNumber(L, 1));
    return 0;
}

int GetDefaultCursorFn(lua_State* L)
{
    lua_pushnumber(L, GetDefaultCursor());
    return 1;
}

int HideCursorFn(lua_State*)
{
    HideCursor();
    return 0;
}

int ShowCursorFn(lua_State*)
{
    ShowCursor();
    return 0;
}

// A sprite handle argument: light user data (or a number) holding the
// sprite's handle, looked up among the live sprites.
CxSprite& SpriteArgument(lua_State* L, int index)
{
    uint32_t handle = 0;
    if (lua_islightuserdata(L, index))
        handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(lua_touserdata(L, index)));
    else if (lua_isnumber(L, index) && lua_tonumber(L, index) >= 1 && lua_tonumber(L, index) <= 4294967295.0)
        handle = static_cast<uint32_t>(lua_tonumber(L, index));
    else
        luaL_typerror(L, index, "sprite");
    CxSprite* sprite = FindSpriteByHandle(handle);
    if (!sprite)
        luaL_argerror(L, index, "not a sprite (error 16: unknown or gone)");
    return *sprite;
}

int Coordinate(lua_State* L, int index)
{
    lua_Number value = luaL_checknumber(L, index);
    if (!(value >= -1e9 && value <= 1e9))
        luaL_argerror(L, index, "coordinate out of range");
    return static_cast<int>(value);
}

int PaintSpriteFn(lua_State* L)
{
    CxSprite& sprite = SpriteArgument(L, 1);
    sprite.MoveTo(Coordinate(L, 2), Coordinate(L, 3));
    return 0;
}

int EraseSpriteFn(lua_State* L)
{
    SpriteArgument(L, 1).Hide();
    return 0;
}

int RoomLoadSurfaceFn(lua_State* L)
{
    const char* file = luaL_checkstring(L, 1);
    CxGameWindow* room = App(L).GetCurrentRoom();
    lua_pushnumber(L, room ? room->LoadBackground(file) : PIM_ERR_BAD_ARG);
    return 1;
}

int ScreenCaptureFn(lua_State* L)
{
    const char* file = lua_isstring(L, 1) ? lua_tostring(L, 1) : nullptr;
    lua_pushnumber(L, App(L).ScreenCapture(file));
    return 1;
}

} // namespace

void RegisterEngineScriptFunctions(CxLuaEngine& engine)
{
    const struct
    {
        const char* name;
        PimLuaFunction function;
    } functions[] = {
        {"BuildGamePath", &BuildGamePathFn},
        {"PauseRoom", &PauseRoomFn},
        {"ResumeRoom", &ResumeRoomFn},
        {"PopRoom", &PopRoomFn},
        {"PushRoom", &PushRoomFn},
        {"GotoRoom", &GotoRoomFn},
        {"PeekRoom", &PeekRoomFn},
        {"IsLeavingRoom", &IsLeavingRoomFn},
        {"ReloadRoom", &ReloadRoomFn},
        {"GetCurRoomName", &GetCurRoomNameFn},
        {"GetCurRoomPtr", &GetCurRoomPtrFn},
        {"Room::SetTimer", &RoomSetTimerFn},
        {"Room::KillTimer", &RoomKillTimerFn},
        {"Room::PauseTimer", &RoomPauseTimerFn},
        {"Room::ResumeTimer", &RoomResumeTimerFn},
        {"BindKey", &BindKeyFn},
        {"UnBindKey", &UnBindKeyFn},
        {"UnBindAllKeys", &UnBindAllKeysFn},
        {"NewFileSystem", &NewFileSystemFn},
        {"RemoveFileSystem", &RemoveFileSystemFn},
        {"SetCursor", &SetCursorFn},
        {"GetCursor", &GetCursorFn},
        {"SetDefaultCursor", &SetDefaultCursorFn},
        {"GetDefaultCursor", &GetDefaultCursorFn},
        {"HideCursor", &HideCursorFn},
        {"ShowCursor", &ShowCursorFn},
        {"PaintSprite", &PaintSpriteFn},
        {"EraseSprite", &EraseSpriteFn},
        {"RoomLoadSurface", &RoomLoadSurfaceFn},
        {"ScreenCapture", &ScreenCaptureFn},
    };
    for (const auto& f : functions)
        engine.Register(f.name, f.function);
    engine.DoString("SetDebugWindowText = function() end ShowDebugBar = function() end "
                    "HideDebugBar = function() end");
}
