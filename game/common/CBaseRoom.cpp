#include "game/common/CBaseRoom.h"

#include "PIM/app/CxGameApp.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/CxDynamicFileSystem.h"
#include "game/common/CGameServices.h"
#include "game/common/CLevelFlow.h"

CBaseRoom::CBaseRoom(CxGameApp* app) : CDaxWindow(app)
{
    ++s_liveRooms;
}

CBaseRoom::~CBaseRoom()
{
    RemoveActivityCDRoot();
    if (--s_liveRooms == 0) {
        s_lastHub = "";
        s_lastRoom = "";
    }
}

bool CBaseRoom::IsHubRoom(const char* name)
{
    return CLevelFlow::IsHubRoom(name);
}

void CBaseRoom::DropPendingMessages()
{
    if (CxGameApp* app = GetApp())
        app->FlushMessages();
}

void CBaseRoom::RemoveActivityCDRoot()
{
    m_cdRoot.reset();
}

int CBaseRoom::BeforeLoad()
{
    SetCursor(GAME_CURSOR_LOADING);
    // Found through the disc's own root, so a room's files on the disc are
    // in the folder named like the room, wherever the disc is.
    CxString base;
    base.Format("<CDPath>%s", GetRoomName());
    m_cdRoot = std::make_unique<CxDynamicFileSystem>(GAME_ACTIVITY_CD_ROOT, base.GetText());
    return CDaxWindow::BeforeLoad();
}

int CBaseRoom::Load()
{
    DropPendingMessages();
    const int code = CDaxWindow::Load();
    SetLevelRange(0, GAME_ROOM_MAX_LEVEL);
    if (IsHubRoom(GetRoomName()))
        s_lastHub = GetRoomName();
    return code;
}

int CBaseRoom::Start()
{
    DropPendingMessages();
    SetCursor(GAME_CURSOR_DEFAULT);
    return CDaxWindow::Start();
}

int CBaseRoom::Unload()
{
    const int code = CDaxWindow::Unload();
    RemoveActivityCDRoot();
    s_lastRoom = GetRoomName();
    return code;
}

void CBaseRoom::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (key == PIM_KEY_ESC) {
        NoteInput();
        OnBack();
        return;
    }
    CDaxWindow::OnKeyDown(key, flags);
}

void CBaseRoom::OnButton(const char* name)
{
    if (!PimStrEqual(name, "Exit", true))
        return;
    if (ShowYesNo(GAME_QUIT_DIALOG) != 1)
        return;
    if (CxGameApp* app = GetApp())
        app->RequestQuit();
}

int CBaseRoom::ShowYesNo(const char* dialogFile)
{
    AddPause();
    const int answer = GameServices().ShowYesNo(dialogFile);
    ReleasePause();
    return answer;
}
