#include "game/common/CRoomLevelPorts.h"

#include "DAX/base/CDaxServices.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/core/CxRandom.h"
#include "PIM/script/CxLuaEngine.h"
#include "game/common/CGameRoom.h"
#include "game/common/CGameServices.h"

int GameReadLuaInt(const char* name)
{
    CxLuaEngine* lua = DaxServices().GetLuaEngine();
    return lua && name ? lua->GetNumber(name, 0) : 0;
}

int CRoomLevelPorts::ReadInt(const char* key, int defaultValue)
{
    return GameServices().GetPlayers().ReadInt(key, defaultValue);
}

void CRoomLevelPorts::WriteInt(const char* key, int value)
{
    GameServices().GetPlayers().WriteInt(key, value);
}

int CRoomLevelPorts::ReadGlobal(const char* name)
{
    return GameReadLuaInt(name);
}

const char* CRoomLevelPorts::GetRoomName() const
{
    return m_room.GetRoomName();
}

void CRoomLevelPorts::GotoRoom(const char* name)
{
    if (CxGameApp* app = m_room.GetApp())
        app->GotoRoom(name);
}

bool CRoomLevelPorts::HasPendingRoom() const
{
    const CxGameApp* app = m_room.GetApp();
    return app && app->HasPendingRoom();
}

CxString CRoomLevelPorts::GetLastHubName() const
{
    return CxString(CBaseRoom::GetLastHubName());
}

void CRoomLevelPorts::ClearLastHubName()
{
    CBaseRoom::SetLastHubName("");
}

int CRoomLevelPorts::ShowStartLevelDialog()
{
    return m_room.ShowStartLevelDialog();
}

void CRoomLevelPorts::ShowRewardDialog(int kind)
{
    m_room.ShowRewardDialog(kind);
}

int CRoomLevelPorts::ShowYesNo(const char* dialogFile)
{
    return m_room.ShowYesNo(dialogFile);
}

int CRoomLevelPorts::Range(int low, int high)
{
    return RandomRange(low, high);
}

int CRoomLevelPorts::AdvanceGoalProgress(bool fair)
{
    return m_room.AdvanceGoalProgress(fair);
}

void CRoomLevelPorts::CompleteCurrentGoal()
{
    m_room.CompleteCurrentGoal();
}

bool CRoomLevelPorts::IsClosingComplete()
{
    return m_room.IsClosingComplete();
}

void CRoomLevelPorts::FinishClosingGoal()
{
    m_room.FinishClosingGoal();
}
