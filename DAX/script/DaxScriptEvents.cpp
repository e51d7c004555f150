// The events family: channels, sequences and single events, as scripts post
// them. Channel arguments are channel numbers (0 or none: the system
// channel); a number that is no live channel is refused by the channel
// functions with their own error code, never taken as anything else.
//
//   GetSystemChannel(), GetRoomChannel(), CreateChannel(),
//   DestroyChannel(ch), FlushChannel(ch), IsChannelEmpty(ch), IsChannelPaused(ch)
//   DoSequence(file, ch), DoEvent(text, ch, chain), DoLuaEvent(text, ch, chain),
//   DoLuaTimerEvent(ms, interval, text, ch, chain), Interpolate(text)
//
// `chain` is a flag (DaxScriptArgs.h): 0 and false both leave it off.

#include "DAX/base/CDaxServices.h"
#include "DAX/script/DaxScriptArgs.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"

namespace {

constexpr lua_Number kMaxChannel = 4294967295.0;

// A channel argument: absent, nil or 0 is the system channel.
PimChannelId ChannelArgument(lua_State* L, int index)
{
    if (lua_isnoneornil(L, index))
        return DaxServices().GetSystemChannel();
    const auto id = static_cast<PimChannelId>(BoundedNumberArgument(L, index, 0, kMaxChannel, "channel"));
    return id ? id : DaxServices().GetSystemChannel();
}

bool ChainArgument(lua_State* L, int index)
{
    return DaxFlagArgument(L, index, false);
}

int GetSystemChannelFn(lua_State* L)
{
    lua_pushnumber(L, DaxServices().GetSystemChannel());
    return 1;
}

int GetRoomChannelFn(lua_State* L)
{
    lua_pushnumber(L, DaxServices().GetRoomChannel());
    return 1;
}

int CreateChannelFn(lua_State* L)
{
    lua_pushnumber(L, CreateChannel());
    return 1;
}

int DestroyChannelFn(lua_State* L)
{
    lua_pushnumber(L, DestroyChannel(ChannelArgument(L, 1)));
    return 1;
}

int FlushChannelFn(lua_State* L)
{
    lua_pushnumber(L, FlushChannel(ChannelArgument(L, 1)));
    return 1;
}

int IsChannelEmptyFn(lua_State* L)
{
    lua_pushboolean(L, IsChannelEmpty(ChannelArgument(L, 1)));
    return 1;
}

int IsChannelPausedFn(lua_State* L)
{
    lua_pushboolean(L, IsChannelPaused(ChannelArgument(L, 1)));
    return 1;
}

int DoSequenceFn(lua_State* L)
{
    const char* file = luaL_checkstring(L, 1);
    lua_pushnumber(L, DoSequence(file, ChannelArgument(L, 2)));
    return 1;
}

int DoEventFn(lua_State* L)
{
    const char* text = luaL_checkstring(L, 1);
    lua_pushnumber(L, DoEvent(text, ChannelArgument(L, 2), ChainArgument(L, 3)));
    return 1;
}

int DoLuaEventFn(lua_State* L)
{
    const char* text = luaL_checkstring(L, 1);
    lua_pushnumber(L, DoLuaEvent(text, ChannelArgument(L, 2), ChainArgument(L, 3)));
    return 1;
}

int DoLuaTimerEventFn(lua_State* L)
{
    const uint32_t duration = IntervalArgument(L, 1);
    const uint32_t interval = IntervalArgument(L, 2);
    const char* text = luaL_checkstring(L, 3);
    lua_pushnumber(L, DoLuaTimerEvent(duration, interval, text, ChannelArgument(L, 4), ChainArgument(L, 5)));
    return 1;
}

int InterpolateFn(lua_State* L)
{
    const CxString text = DaxServices().Interpolate(luaL_checkstring(L, 1));
    lua_pushstring(L, text.GetText());
    return 1;
}

} // namespace

void RegisterEventScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"GetSystemChannel", &GetSystemChannelFn},
        {"GetRoomChannel", &GetRoomChannelFn},
        {"CreateChannel", &CreateChannelFn},
        {"DestroyChannel", &DestroyChannelFn},
        {"FlushChannel", &FlushChannelFn},
        {"IsChannelEmpty", &IsChannelEmptyFn},
        {"IsChannelPaused", &IsChannelPausedFn},
        {"DoSequence", &DoSequenceFn},
        {"DoEvent", &DoEventFn},
        {"DoLuaEvent", &DoLuaEventFn},
        {"DoLuaTimerEvent", &DoLuaTimerEventFn},
        {"Interpolate", &InterpolateFn},
    };
    RegisterScriptFunctions(engine, functions);
}
