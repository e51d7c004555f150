#include "game/common/CWinLevelDialog.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxOptions.h"

CWinLevelDialog::CWinLevelDialog()
{
    m_icon.SetName("RewardIcon");
}

CWinLevelDialog::~CWinLevelDialog()
{
    if (m_icon.GetParent() == this)
        RemoveChild(&m_icon);
}

void CWinLevelDialog::ReadExtraOptions(CxOptions& store)
{
    CLocalizedDialog::ReadExtraOptions(store);
    int x = 0;
    int y = 0;
    store.GetPoint(DAX_DIALOG_SECTION, "IconPos", &x, &y, 0, 0);
    m_iconPos = CxPoint(DaxClampCoordinate(x), DaxClampCoordinate(y));
}

void CWinLevelDialog::OnButton(const char* name)
{
    if (PimStrEqual(name, "OK", true))
        EndModal();
}
