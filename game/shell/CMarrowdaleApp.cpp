#include "game/shell/CMarrowdaleApp.h"

CMarrowdaleApp::CMarrowdaleApp(const ST_APP_INIT& init) : CDaxApp(init) {}

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
    init.windowFlags = PIM_WF_ACCELERATED | PIM_WF_CUSTOM_CURSOR;
    return init;
}
