// The room timer family: Room::SetTimer and its kin, called with a room
// handle (`_G["Room::SetTimer"](GetCurRoomPtr(), id, ms)`), on the timers the
// host keeps for that room.

#include "PIM/core/CxRoomTimers.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int RoomSetTimerFn(lua_State* L)
{
    CxRoomTimers& timers = RoomTimersArgument(L, 1);
    int id = TimerIdArgument(L, 2);
    uint32_t interval = IntervalArgument(L, 3);
    // The user value is read only when exactly four arguments are given.
    int user = lua_gettop(L) == 4 ? TimerIdArgument(L, 4) : 0;
    timers.SetTimer(id, interval, user);
    return 0;
}

// Kill, pause or resume: a room and a timer id, the answer dropped (a room
// without that timer is no error).
template <bool (CxRoomTimers::*Apply)(int)>
int RoomTimerFn(lua_State* L)
{
    CxRoomTimers& timers = RoomTimersArgument(L, 1);
    (timers.*Apply)(TimerIdArgument(L, 2));
    return 0;
}

} // namespace

void RegisterTimerScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"Room::SetTimer", &RoomSetTimerFn},
        {"Room::KillTimer", &RoomTimerFn<&CxRoomTimers::KillTimer>},
        {"Room::PauseTimer", &RoomTimerFn<&CxRoomTimers::PauseTimer>},
        {"Room::ResumeTimer", &RoomTimerFn<&CxRoomTimers::ResumeTimer>},
    };
    RegisterScriptFunctions(engine, functions);
}
