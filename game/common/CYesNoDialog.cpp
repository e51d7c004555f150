#include "game/common/CYesNoDialog.h"

#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"

#include <algorithm>

CYesNoDialog::CYesNoDialog() : m_yesKeys{'Y', 'y'}, m_noKeys{'N', 'n', PIM_KEY_ESC} {}

int CYesNoDialog::DoModal()
{
    m_result = 0;
    return CLocalizedDialog::DoModal();
}

void CYesNoDialog::Answer(int result)
{
    m_result = result;
    EndModal();
}

void CYesNoDialog::OnButton(const char* name)
{
    if (PimStrEqual(name, "Yes", true))
        Answer(1);
    else if (PimStrEqual(name, "No", true))
        Answer(0);
}

void CYesNoDialog::OnKeyDown(uint32_t key, uint32_t flags)
{
    auto has = [key](const std::vector<uint32_t>& keys) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    if (has(m_yesKeys))
        Answer(1);
    else if (has(m_noKeys))
        Answer(0);
    else
        CLocalizedDialog::OnKeyDown(key, flags);
}
