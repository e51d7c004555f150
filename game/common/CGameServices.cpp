#include "game/common/CGameServices.h"

#include "PIM/text/CxFont.h"

namespace {

CGameServices* g_installed = nullptr;

CGameServices& Defaults()
{
    static CGameServices defaults;
    return defaults;
}

} // namespace

CxString CGameServices::GetLocalizedString(const char* id) const
{
    (void)id;
    return CxString(GAME_NO_STRING);
}

intptr_t CGameServices::GetGameFont() const
{
    return PIM_DEFAULT_FONT;
}

int CGameServices::ShowYesNo(const char* dialogFile)
{
    // The yes/no dialog comes with the level dialogs.
    (void)dialogFile;
    return 0;
}

CGameServices& GameServices()
{
    return g_installed ? *g_installed : Defaults();
}

void SetGameServices(CGameServices* services)
{
    g_installed = services;
}
