#pragma once
// The game layer's services for tests that run Lua texts: a real Lua engine
// behind the defaults, and a look at the globals the texts set.

#include "DAX/base/CDaxServices.h"
#include "PIM/script/CxLuaEngine.h"

#include <lua.hpp>

#include <string>

namespace DaxTest {

class LuaServices : public CDaxServices
{
public:
    LuaServices() { engine.CreateState(); }
    CxLuaEngine* GetLuaEngine() const override { return &engine; }

    // The global `name` as a string ("" when it is none).
    std::string Text(const char* name) const
    {
        lua_State* L = engine.GetState();
        lua_getglobal(L, name);
        const char* text = lua_tostring(L, -1);
        std::string value = text ? text : "";
        lua_pop(L, 1);
        return value;
    }

    mutable CxLuaEngine engine;
};

} // namespace DaxTest
