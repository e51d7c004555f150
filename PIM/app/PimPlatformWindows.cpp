#include "PIM/app/PimPlatformWindows.h"

#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/sdl/CxSdlWindow.h"

#include <new>

CxPlatformWindow* PimCreateSdlWindow()
{
    return new (std::nothrow) CxSdlWindow();
}

CxPlatformWindow* PimCreateHeadlessWindow()
{
    return new (std::nothrow) CxHeadlessWindow();
}
