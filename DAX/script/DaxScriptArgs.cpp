#include "DAX/script/DaxScriptArgs.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/sound/CxSound.h"

#include <algorithm>

bool DaxFlagArgument(lua_State* L, int index, bool absent)
{
    if (lua_isnoneornil(L, index))
        return absent;
    if (lua_type(L, index) == LUA_TNUMBER)
        return lua_tonumber(L, index) != 0;
    return lua_toboolean(L, index) != 0;
}

int DaxVolumeArgument(lua_State* L, int index)
{
    const lua_Number volume = BoundedNumberArgument(L, index, -1e9, 1e9, "volume");
    return std::clamp(static_cast<int>(volume), 0, PIM_SOUND_MAX_VOLUME);
}

int DaxPositionArgument(lua_State* L, int index)
{
    if (lua_isnoneornil(L, index))
        return -1;
    return DaxClampCoordinate(CoordinateArgument(L, index));
}
