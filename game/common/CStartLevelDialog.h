#pragma once
// The dialog before every level ("COMMON/StartLevelDialog.ini"): the round's
// title, the level's text and instruction, its icon and a preview of the
// item that winning it unlocks, and the ways on:
//
//     button         answer (GetExitCode)
//     "Play"         0  play the level here (Enter too, with EndOnEnterKey)
//     "FarmMenu"     1  the farmyard
//     "Fair"         2  the fairground   (disabled until "FairgroundUnlocked")
//     "PigPen"       3  the pig pen
//     "ActivityMenu" 4  the activity centre (disabled until "ActivityCenterUnlocked")
//
// The two locks are the signed-in player's keys, read when the file is
// loaded; opening the dialog keeps a disabled button disabled.

#include "PIM/display/CxSprite.h"
#include "game/common/CLocalizedDialog.h"

constexpr const char* GAME_START_LEVEL_DIALOG = "COMMON/StartLevelDialog.ini";
// Where the title, the level icon and the unlock preview go, in the dialog's pixels.
constexpr int GAME_START_TITLE_LEFT = 278;
constexpr int GAME_START_TITLE_TOP = 143;
constexpr int GAME_START_TITLE_WIDTH = 230;
constexpr int GAME_START_TITLE_HEIGHT = 32;
constexpr int GAME_START_TITLE_SIZE = 30;
constexpr CxPoint GAME_START_ICON_POS{392, 364};
constexpr CxPoint GAME_START_PREVIEW_POS{497, 258};

class CStartLevelDialog : public CLocalizedDialog
{
public:
    CStartLevelDialog();
    ~CStartLevelDialog() override;

    // The answer starts at 0 (play) at every opening.
    int DoModal() override;
    void ReadExtraOptions(CxOptions& store) override;

    // White, centred both ways in its area, in the game font.
    void SetTitle(const char* text);
    const char* GetTitle() const { return m_title.GetText(); }
    // False (nothing shown) when the file is missing.
    bool SetIcon(const char* fileName) { return ShowPicture(m_icon, fileName, GAME_START_ICON_POS); }
    bool SetPreview(const char* fileName) { return ShowPicture(m_preview, fileName, GAME_START_PREVIEW_POS); }
    bool HasIcon() const { return m_icon.IsShown(); }
    bool HasPreview() const { return m_preview.IsShown(); }
    int GetExitCode() const { return m_exit; }

protected:
    void OnButton(const char* name) override;
    void OnEnterKey() override { Answer(0); }

private:
    void Answer(int code);
    // Disables the button unless the player's key is set.
    void Lock(const char* button, const char* key);

    CxDrawText m_title;
    CxSprite m_icon;
    CxSprite m_preview;
    int m_exit = 0;
};
