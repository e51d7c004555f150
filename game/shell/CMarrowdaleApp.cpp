#include "game/shell/CMarrowdaleApp.h"

#include "PIM/app/CxLuaEngine.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxFreeTypeFont.h"
#include "PIM/graphics/PimImageFilters.h"
#include "PIM/platform/CxPlatformWindow.h"

CMarrowdaleApp::CMarrowdaleApp(const ST_APP_INIT& init) : CxGameApp(init) {}

ST_APP_INIT CMarrowdaleApp::MakeInit(const char* configFile, const char* build)
{
    ST_APP_INIT init;
    init.name = "Marrowdale";
    init.configFile = configFile;
    init.build = build;
    init.major = MARROWDALE_VERSION_MAJOR;
    init.minor = MARROWDALE_VERSION_MINOR;
    init.left = 0;
    init.top = 0;
    init.width = 800;
    init.height = 600;
    init.depth = 16;
    init.windowFlags = PIM_WF_DIRECTX | PIM_WF_CUSTOM_CURSOR;
    return init;
}

int CMarrowdaleApp::InitApplication()
{
    RegisterDefaultImageFilters();
    RegisterFreeTypeFontFilter();
    return CxGameApp::InitApplication();
}

int CMarrowdaleApp::StartGame()
{
    CxGameApp::StartGame();
    // Seam: the game layer's application runs it once that layer exists.
    CxLuaEngine* lua = GetLuaEngine();
    if (lua && FsExists("startup.lua"))
        lua->DoFile("startup.lua");
    return PIM_OK;
}
