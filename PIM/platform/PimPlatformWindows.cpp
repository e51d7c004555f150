#include "PIM/platform/PimPlatformWindows.h"

#include "PIM/platform/CxHeadlessWindow.h"
#include "PIM/platform/CxSdlWindow.h"

#include <new>

CxPlatformWindow* PimCreateSdlWindow()
{
    return new (std::nothrow) CxSdlWindow();
}

CxPlatformWindow* PimCreateHeadlessWindow()
{
    return new (std::nothrow) CxHeadlessWindow();
}
