#include "DAX/base/CDaxServices.h"

#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxRandom.h"
#include "PIM/movie/PimMovies.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/sound/PimSound.h"

namespace {

CDaxServices* g_services = nullptr;

CDaxServices& Defaults()
{
    static CDaxServices defaults;
    return defaults;
}

} // namespace

CDaxSound CDaxServices::GetSound(const char* fileName)
{
    return GetSoundCache().GetSound(fileName);
}

int CDaxServices::GetMasterVolume() const
{
    return ::GetMasterVolume();
}

void CDaxServices::SetMasterVolume(int volume)
{
    ::SetMasterVolume(volume);
}

int CDaxServices::PlayMovie(const char* path, int32_t x, int32_t y, bool skippable)
{
    return ::PlayMovie(path, x, y, false, false, skippable);
}

CxLuaEngine* CDaxServices::GetLuaEngine() const
{
    return CxLuaEngine::GetEngine();
}

int CDaxServices::GetCursorIdFromName(const char*) const
{
    return 0;
}

int CDaxServices::Random() const
{
    return ::Random();
}

int CDaxServices::RunScript(const char* text) const
{
    if (!text || !*text)
        return 0;
    CxLuaEngine* lua = GetLuaEngine();
    return lua ? lua->DoString(text) : 0;
}

CxString CDaxServices::Interpolate(const char* text) const
{
    const CxInterpolator* interpolator = GetInterpolator();
    if (!interpolator)
        return CxString(text ? text : "");
    return interpolator->Interpolate(text ? text : "");
}

CDaxServices& DaxServices()
{
    return g_services ? *g_services : Defaults();
}

void SetDaxServices(CDaxServices* services)
{
    g_services = services;
}
