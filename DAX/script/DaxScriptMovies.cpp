// The movies family: a movie played to its end, modally, in front of
// everything, not transparent and without a full redraw.
//
//   PlayMovie(file [, x, y [, skippable]])
//       when the file exists; x and y both -1 (the default) centre it, and
//       skippable (default true) lets a key or a click end it. Answers the
//       player's code, or 9 for a file that is not there (nothing reported).
//   PlayMovieMustExist(file [, x, y [, skippable]])
//       the same without asking first: the file is opened through the file
//       layer, which reports one that cannot be opened ("Could not open"),
//       and the movie is then played all the same.
//
// File names are data names: "%%" reads as "%", nothing is a format.

#include "DAX/base/CDaxServices.h"
#include "DAX/script/DaxScriptArgs.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"

namespace {

int Play(lua_State* L, bool mustExist)
{
    const char* file = luaL_checkstring(L, 1);
    const int x = DaxPositionArgument(L, 2);
    const int y = DaxPositionArgument(L, 3);
    const bool skippable = DaxFlagArgument(L, 4, true);
    CxString path;
    int code = BuildGamePathFromData(path, file);
    if (code == PIM_OK) {
        if (mustExist) {
            CxFile probe;
            if (probe.Open(path.GetText(), CBF_BINARY | CBF_READONLY) == PIM_OK)
                probe.Close();
            code = DaxServices().PlayMovie(path.GetText(), x, y, skippable);
        } else if (FsExists(path.GetText())) {
            code = DaxServices().PlayMovie(path.GetText(), x, y, skippable);
        } else {
            code = PIM_ERR_NOT_FOUND;
        }
    }
    lua_pushnumber(L, code);
    return 1;
}

int PlayMovieFn(lua_State* L)
{
    return Play(L, false);
}

int PlayMovieMustExistFn(lua_State* L)
{
    return Play(L, true);
}

} // namespace

void RegisterMovieScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"PlayMovie", &PlayMovieFn},
        {"PlayMovieMustExist", &PlayMovieMustExistFn},
    };
    RegisterScriptFunctions(engine, functions);
}
