#include "game/common/CActivityCenter.h"

#include "DAX/app/CDaxApp.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/PimFileLayer.h"
#include "game/common/CCodeDialog.h"
#include "game/common/CGameServices.h"

#include <memory>

namespace {

// The file-layer path of a data name when the file is there.
bool FindData(const char* name, CxString& path)
{
    return BuildGamePathFromData(path, name) == PIM_OK && FsExists(path.GetText());
}

} // namespace

CActivityCenter::CActivityCenter(CxGameApp* app) : CGameRoom(app) {}

CActivityCenter::~CActivityCenter()
{
    delete m_spider;
}

void CActivityCenter::PlayFirstVisitMovie()
{
    CxString movie;
    if (!FindData(GAME_CENTRE_MOVIE, movie))
        return;
    CDaxApp* app = CDaxApp::GetDaxApp();
    if (app)
        app->DisableCursor();
    CDaxMusic& music = DaxServices().GetMusic();
    music.Pause();
    DaxServices().PlayMovie(movie.GetText(), -1, -1, true);
    music.Resume();
    GamePlayVoiceOnce(GAME_CENTRE_VOICE);
    if (app)
        app->EnableCursor();
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
