#pragma once
// A hub's button for one mini-game: a scripted sprite whose description file
// also names, in its "PimSprite" section,
//     RoomName=BaleOut                  ; whose "<room>UnLocked" key opens it
//     OnClick=GotoRoom("BaleOut")       ; Lua run when the open button is clicked
// Its states: 0 normal, 1 highlighted (open, under the pointer), 3 locked
// (shut, under the pointer; the picture shows a padlock).

#include "DAX/sprites/CDaxSprite.h"

constexpr const char* GAME_SPECIAL_BUTTON_SECTION = "PimSprite";
constexpr int GAME_BUTTON_NORMAL = 0;
constexpr int GAME_BUTTON_HIGHLIGHTED = 1;
constexpr int GAME_BUTTON_LOCKED = 3;
// The texts are kept to these lengths (a file's longer text is cut).
constexpr int GAME_BUTTON_ROOM_MAX = 63;
constexpr int GAME_BUTTON_CLICK_MAX = 1023;

class CSpecialButton : public CDaxSprite
{
public:
    void ReadExtraOptions(CxOptions& store) override;

    const char* GetRoomName() const { return m_roomName.GetText(); }
    const char* GetOnClick() const { return m_onClick.GetText(); }
    // The signed-in player's "<room>UnLocked" flag; a button without a room is shut.
    bool IsOpen() const;
    // Stopped, hidden and disabled: out of the hub's way.
    void PutAway();

private:
    CxString m_roomName;
    CxString m_onClick;
};
