#include "game/common/CGameServices.h"

#include "PIM/text/CxFont.h"
#include "game/common/CYesNoDialog.h"

#include <memory>

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
    auto dialog = std::make_unique<CYesNoDialog>();
    dialog->LoadDialog(dialogFile);
    dialog->DoModal();
    return dialog->GetResult();
}

CGameServices& GameServices()
{
    return g_installed ? *g_installed : Defaults();
}

void SetGameServices(CGameServices* services)
{
    g_installed = services;
}
