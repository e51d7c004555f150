#include "game/common/CActivityCenter.h"

#include "DAX/app/CDaxApp.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/PimFileLayer.h"
#include "game/common/CCodeDialog.h"
#include "game/common/CGameServices.h"
#include "game/common/GameData.h"

#include <memory>

CActivityCenter::CActivityCenter(CxGameApp* app) : CGameRoom(app) {}

CActivityCenter::~CActivityCenter()
{
    delete m_spider;
}

void CActivityCenter::PlayFirstVisitMovie()
{
    if (GamePlayCutScene(GAME_CENTRE_MOVIE))
        GamePlayVoiceOnce(GAME_CENTRE_VOICE);
}

int CActivityCenter::Load()
{
    CGoalBook& goals = GetGoals();
    if (!goals.GetKey("HasSeenFinalMovie"))
        PlayFirstVisitMovie();
    const int code = CGameRoom::Load();
    if (!PimStrEqual(GameServices().GetLanguage(), GAME_DEFAULT_LANGUAGE, true)) {
        if (CDaxButton* quiz = FindButton("Quiz")) {
            quiz->Disable();
            quiz->Hide();
        }
    }
    delete m_spider;
    m_spider = new CDaxSprite;
    if (m_spider->Load(GAME_CENTRE_SPIDER) == PIM_OK) {
        AddChild(m_spider);
        m_spider->SetState(0);
        m_spider->Show();
    }
    goals.SetKey("ActivityCenterUnlocked", 1);
    return code;
}

int CActivityCenter::Start()
{
    CGoalBook& goals = GetGoals();
    if (!goals.GetKey("HasSeenFinalMovie")) {
        goals.SetKey("HasSeenFinalMovie", 1);
        DropPendingMessages();
        ShowYesNo(GAME_LOTS_TO_DO_DIALOG); // a welcome: either answer goes on
    }
    return CGameRoom::Start();
}

int CActivityCenter::Unload()
{
    delete m_spider;
    m_spider = nullptr;
    GetGoals().SetKey("HasSeenFinalMovie", 1);
    return CGameRoom::Unload();
}

void CActivityCenter::OnButton(const char* name)
{
    if (PimStrEqual(name, "Codes", true))
        ShowCodes();
    else
        CGameRoom::OnButton(name);
}

void CActivityCenter::ShowCodes()
{
    AddPause();
    auto dialog = std::make_unique<CCodeDialog>();
    dialog->LoadDialog(GAME_CODE_DIALOG);
    dialog->SetText(GameServices().GetLocalizedString("Code").GetText());
    dialog->DoModal();
    dialog.reset();
    ReleasePause();
}
