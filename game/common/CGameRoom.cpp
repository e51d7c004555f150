#include "game/common/CGameRoom.h"

#include "PIM/core/PimClock.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/core/Pimstr.h"
#include "game/common/CCodeDialog.h"
#include "game/common/CGameServices.h"
#include "game/common/CRoomLevelPorts.h"
#include "game/common/CStartLevelDialog.h"
#include "game/common/CWinLevelDialog.h"

#include <algorithm>

CGameRoom::CGameRoom(CxGameApp* app)
    : CBaseRoom(app), m_ports(std::make_unique<CRoomLevelPorts>(*this)),
      m_flow(std::make_unique<CLevelFlow>(*m_ports, *m_ports, *m_ports, *m_ports, *m_ports)),
      m_goals(std::make_unique<CGoalBook>(*m_ports, *m_ports))
{
}

CGameRoom::~CGameRoom() = default;

int CGameRoom::Load()
{
    m_goals->BeginVisit();
    return CBaseRoom::Load();
}

int CGameRoom::Unload()
{
    const int code = CBaseRoom::Unload();
    // However the spider-egg room is left, the closing goal it stands for is done.
    if (PimStrEqual(GetRoomName(), "SpiderEgg", true) && !IsClosingComplete())
        FinishClosingGoal();
    return code;
}

int CGameRoom::Update()
{
    m_clock.Tick(PimGetTicks(), GetPauseCount() > 0);
    return CBaseRoom::Update();
}

void CGameRoom::Pause()
{
    CBaseRoom::Pause();
    m_clock.Resync(PimGetTicks());
}

void CGameRoom::Resume()
{
    CBaseRoom::Resume();
    // The paused time was nobody's: the next frame counts from now.
    m_clock.Resync(PimGetTicks());
}

void CGameRoom::ResetGameClock()
{
    m_clock.Reset(PimGetTicks());
}

void CGameRoom::OnButton(const char* name)
{
    if (PimStrEqual(name, "Help", true))
        OnHelp();
    else if (PimStrEqual(name, "Back", true))
        OnBack();
    else
        CBaseRoom::OnButton(name);
}

void CGameRoom::OnBack()
{
    m_flow->OnBack();
}

int CGameRoom::AdvanceGoalProgress(bool fair)
{
    return m_goals->AdvanceGoalProgress(fair);
}

void CGameRoom::CompleteCurrentGoal()
{
    m_goals->CompleteCurrentGoal();
}

bool CGameRoom::IsClosingComplete()
{
    return m_goals->IsClosingComplete();
}

void CGameRoom::FinishClosingGoal()
{
    m_goals->FinishClosingGoal();
}

int CGameRoom::GetNumLevels()
{
    return std::max(GetOptions().GetInt("General", "NumLevels", 0), 0);
}

int CGameRoom::NextLevelToPlay()
{
    return m_flow->NextLevelToPlay(GetNumLevels());
}

void CGameRoom::StartLevel()
{
    if (m_flow->StartLevel())
        ResetGameClock();
}

void CGameRoom::LevelWon()
{
    m_lastWin = m_flow->LevelWon(GetLevel(), GetNumLevels());
    if (!m_lastWin.playOn)
        return;
    SetLevel(m_lastWin.nextLevel);
    StartLevel();
}

int CGameRoom::ShowStartLevelDialog()
{
    const int level = GetLevel();
    AddPause();
    auto dialog = std::make_unique<CStartLevelDialog>();
    dialog->LoadDialog(GAME_START_LEVEL_DIALOG);

    // The translation names the round with a "%d"; it is data, never a printf format.
    dialog->SetTitle(PimSafeFormatted(GameServices().GetLocalizedString("Round").GetText(), level + 1).GetText());
    CxString key;
    key.Format("%sLevel%02d", GetRoomName(), level);
    dialog->SetText(GameServices().GetLocalizedString(key.GetText()).GetText());

    CxString audioKey;
    audioKey.Format("InstructionAudio%02d", level);
    char audio[GAME_DIALOG_SOUND_NAME_MAX + 1];
    GetOptions().GetString(DAX_ROOM_SECTION, audioKey.GetText(), audio, "", sizeof audio);
    dialog->PlayInstruction(audio);

    CxString icon;
    icon.Format("icon_level%02d.tga", level);
    dialog->SetIcon(icon.GetText());

    // The item that winning this level unlocks, unless the level has shown it already.
    const int items = GameReadLuaInt("g_NumUnlockItems");
    const int unlocked = GameServices().GetPlayers().ReadInt("Unlocked", GameReadLuaInt("g_DefaultUnlocked"));
    if (GameServices().GetPlayers().ReadInt(key.GetText(), 0) == 0 && unlocked >= 0 && unlocked < items) {
        CxString preview;
        preview.Format("Common/Unlock/s00_unlocked%04d.tga", unlocked + 1);
        dialog->SetPreview(preview.GetText());
    }

    dialog->DoModal();
    const int code = dialog->GetExitCode();
    dialog.reset();
    ReleasePause();
    return code;
}

void CGameRoom::ShowRewardDialog(int kind)
{
    if (kind != 1 && kind != 2)
        return;
    AddPause();
    auto dialog = std::make_unique<CWinLevelDialog>();
    dialog->LoadDialog(GAME_WIN_LEVEL_DIALOG);
    const bool puzzle = kind == 1;
    dialog->SetText(GameServices().GetLocalizedString(puzzle ? "PuzzleWon" : "StickerWon").GetText());
    dialog->SetIcon(puzzle ? GAME_REWARD_PUZZLE_ICON : GAME_REWARD_STICKER_ICON);
    GamePlayVoiceOnce(puzzle ? GAME_REWARD_PUZZLE_VOICE : GAME_REWARD_STICKER_VOICE);
    dialog->DoModal();
    dialog.reset();
    ReleasePause();
}
