#pragma once
// The reward after a won level ("COMMON/WinLevelDialog.ini"): a text, the
// reward's icon at the file's IconPos, and "OK" (or Enter, with
// EndOnEnterKey) to go on.
//
//     [Options]
//     IconPos=60, 90    ; the icon's top-left corner, in the dialog's pixels

#include "PIM/display/CxSprite.h"
#include "game/common/CLocalizedDialog.h"

constexpr const char* GAME_WIN_LEVEL_DIALOG = "COMMON/WinLevelDialog.ini";

class CWinLevelDialog : public CLocalizedDialog
{
public:
    CWinLevelDialog();
    ~CWinLevelDialog() override;

    void ReadExtraOptions(CxOptions& store) override;
    // Alpha blended at IconPos; false (nothing shown) when the file is missing.
    bool SetIcon(const char* fileName) { return ShowPicture(m_icon, fileName, m_iconPos); }
    bool HasIcon() const { return m_icon.IsShown(); }
    CxPoint GetIconPos() const { return m_iconPos; }

protected:
    void OnButton(const char* name) override;

private:
    CxSprite m_icon;
    CxPoint m_iconPos{0, 0};
};
