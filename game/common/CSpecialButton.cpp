#include "game/common/CSpecialButton.h"

#include "game/common/CGameServices.h"

void CSpecialButton::ReadExtraOptions(CxOptions& store)
{
    CDaxSprite::ReadExtraOptions(store);
    char room[GAME_BUTTON_ROOM_MAX + 1];
    store.GetString(GAME_SPECIAL_BUTTON_SECTION, "RoomName", room, "", sizeof room);
    m_roomName = room;
    m_onClick = store.GetString(GAME_SPECIAL_BUTTON_SECTION, "OnClick", "");
    if (m_onClick.Length() > GAME_BUTTON_CLICK_MAX)
        m_onClick = m_onClick.Left(GAME_BUTTON_CLICK_MAX);
}

bool CSpecialButton::IsOpen() const
{
    if (m_roomName.IsEmpty())
        return false;
    CxString key;
    key.Format("%sUnLocked", m_roomName.GetText());
    return GameServices().GetPlayers().ReadInt(key.GetText(), 0) != 0;
}

void CSpecialButton::PutAway()
{
    Stop();
    Hide();
    Disable();
}
