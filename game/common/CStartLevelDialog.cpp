#include "game/common/CStartLevelDialog.h"

#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/Pimstr.h"
#include "game/common/CGameServices.h"

namespace {

constexpr const char* kAnswers[] = {"Play", "FarmMenu", "Fair", "PigPen", "ActivityMenu"};

} // namespace

CStartLevelDialog::CStartLevelDialog()
{
    m_title.SetName("Title");
    m_title.SetBackground(PIM_NO_COLOUR);
    m_title.SetColour(0x00FFFFFF);
    m_title.SetPointSize(GAME_START_TITLE_SIZE);
    m_title.SetTextFlags(PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE);
    m_title.SetZ(GetButtonDepth() + 1);
    AddChild(&m_title);
    m_title.SetPosition(GAME_START_TITLE_LEFT, GAME_START_TITLE_TOP);
    m_title.SetSize(GAME_START_TITLE_WIDTH, GAME_START_TITLE_HEIGHT);
    m_icon.SetName("LevelIcon");
    m_preview.SetName("UnlockPreview");
}

CStartLevelDialog::~CStartLevelDialog()
{
    for (CxDisplayObject* own : {static_cast<CxDisplayObject*>(&m_title), static_cast<CxDisplayObject*>(&m_icon),
                                 static_cast<CxDisplayObject*>(&m_preview)})
        if (own->GetParent() == this)
            RemoveChild(own);
}

void CStartLevelDialog::ReadExtraOptions(CxOptions& store)
{
    CLocalizedDialog::ReadExtraOptions(store);
    Lock("Fair", "FairgroundUnlocked");
    Lock("ActivityMenu", "ActivityCenterUnlocked");
}

void CStartLevelDialog::Lock(const char* button, const char* key)
{
    CDaxButton* found = FindButton(button);
    if (!found)
        return;
    if (GameServices().GetPlayers().ReadInt(key, 0))
        found->Enable();
    else
        found->Disable();
}

void CStartLevelDialog::SetTitle(const char* text)
{
    m_title.SetFont(GameServices().GetGameFont());
    m_title.SetText(text ? text : "");
    m_title.Show();
}

int CStartLevelDialog::DoModal()
{
    m_exit = 0;
    return CLocalizedDialog::DoModal();
}

void CStartLevelDialog::Answer(int code)
{
    m_exit = code;
    EndModal();
}

void CStartLevelDialog::OnButton(const char* name)
{
    for (int code = 0; code < 5; ++code)
        if (PimStrEqual(name, kAnswers[code], true))
            Answer(code);
}
