#pragma once
// A question with a yes and a no: the buttons "Yes" and "No" answer and
// close, and so do keys: 'Y' and 'y' answer yes; 'N', 'n' and Escape answer
// no; Enter answers no when the file sets EndOnEnterKey. A key in both
// lists answers yes. The answer is 0 until the player gives one.
//
//     CYesNoDialog dialog;
//     dialog.LoadDialog("COMMON/quit_yesno.ini");
//     dialog.DoModal();
//     if (dialog.GetResult()) ...

#include "game/common/CLocalizedDialog.h"

#include <cstdint>
#include <vector>

class CYesNoDialog : public CLocalizedDialog
{
public:
    CYesNoDialog();

    // The answer starts at no at every opening.
    int DoModal() override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    // 1 for yes, 0 for no.
    int GetResult() const { return m_result; }

    void AddYesKey(uint32_t key) { m_yesKeys.push_back(key); }
    void AddNoKey(uint32_t key) { m_noKeys.push_back(key); }
    void ClearYesKeys() { m_yesKeys.clear(); }
    void ClearNoKeys() { m_noKeys.clear(); }

protected:
    void OnButton(const char* name) override;
    void OnEnterKey() override { Answer(0); }

private:
    void Answer(int result);

    int m_result = 0;
    std::vector<uint32_t> m_yesKeys;
    std::vector<uint32_t> m_noKeys;
};
