#include "PIM/graphics/PimSurfaceFactory.h"

#include "PIM/graphics/CxDrawSurface.h"

namespace {

PimSurfaceCreator g_creator = nullptr;

} // namespace

CxDrawSurface* CreateDrawSurface()
{
    if (g_creator)
        return g_creator();
    // CxObject's new answers null rather than throwing.
    return new CxDrawSurface;
}

CxDrawSurface* LoadDrawSurface(const char* fileName, int argument)
{
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface)
        return nullptr;
    if (surface->Load(fileName, argument) != PIM_OK) {
        delete surface;
        return nullptr;
    }
    return surface;
}

void SetSurfaceCreator(PimSurfaceCreator creator)
{
    g_creator = creator;
}

void ResetSurfaceFactory()
{
    g_creator = nullptr;
    SetPreferredLayout16(PIM_LAYOUT_DEFAULT);
}
