#include "game/common/GameData.h"

#include "DAX/app/CDaxApp.h"
#include "DAX/base/CDaxServices.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/files/PimFileLayer.h"

bool GameFindData(const char* name, CxString& path)
{
    return name && *name && BuildGamePathFromData(path, name) == PIM_OK && FsExists(path.GetText());
}

bool GameDataExists(const char* name)
{
    CxString path;
    return GameFindData(name, path);
}

CDaxSound GameLoadOptionalSound(const char* name)
{
    if (!GameDataExists(name))
        return {};
    return DaxServices().GetSound(name);
}

bool GamePlayCutScene(const char* name)
{
    CxString movie;
    if (!GameFindData(name, movie))
        return false;
    CDaxApp* app = CDaxApp::GetDaxApp();
    if (app)
        app->DisableCursor();
    CDaxMusic& music = DaxServices().GetMusic();
    music.Pause();
    DaxServices().PlayMovie(movie.GetText(), -1, -1, true);
    music.Resume();
    if (app)
        app->EnableCursor();
    return true;
}
