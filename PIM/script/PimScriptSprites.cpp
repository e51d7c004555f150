// The sprite family: a script moves and hides sprites it knows by handle.

#include "PIM/display/CxSprite.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int PaintSpriteFn(lua_State* L)
{
    CxSprite& sprite = SpriteArgument(L, 1);
    sprite.MoveTo(CoordinateArgument(L, 2), CoordinateArgument(L, 3));
    return 0;
}

int EraseSpriteFn(lua_State* L)
{
    SpriteArgument(L, 1).Hide();
    return 0;
}

} // namespace

void RegisterSpriteScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"PaintSprite", &PaintSpriteFn},
        {"EraseSprite", &EraseSpriteFn},
    };
    RegisterScriptFunctions(engine, functions);
}
