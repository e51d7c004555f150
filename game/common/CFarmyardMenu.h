#pragma once
// The farmyard ("FarmyardMenu"): the hub the farm's games open from. Seven
// mini-game buttons (CH.xni RPM.xni BO.xni PO.xni PP.xni WW.xni NW.xni, each
// naming its room and the Lua its click runs), the marker of the current
// farm goal, the yard's ambient sound, and the goal announcements:
//   - each visit opens the games the player has earned (CGoalBook keys);
//   - a goal still to be announced plays "goal<N>.seq" once, else while the
//     farm chapter is open "unfGoal<N>.seq" reminds of the current one;
//   - buttons hover and click by the hub rules (CHubButtons.h); a locked
//     one says "Locked1.seq"; nothing hovers, clicks or takes keys while a
//     sequence plays on the room's channel.
// The room file's own buttons, score and movie (FarmyardMenu.ini) stay; its
// "FairgroundMenu" and "ActivityCenter" buttons are disabled until those
// hubs are open. The word game is English only.

#include "game/common/CGameRoom.h"
#include "game/common/CGoalMarker.h"
#include "game/common/CHubButtons.h"
#include "game/common/CSpecialButton.h"
#include "DAX/base/CDaxSoundCache.h"

#include <array>

constexpr int GAME_FARM_BUTTONS = 7;
constexpr const char* GAME_FARM_AMBIENT = "FarmyardMenu/S03_sfx_farmamb.wav";
constexpr int GAME_AMBIENT_LOOPS = 9999999;

class CFarmyardMenu : public CGameRoom
{
public:
    explicit CFarmyardMenu(CxGameApp* app);
    ~CFarmyardMenu() override;

    int Load() override;
    int Unload() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnMilestone(int index) override;

    bool IsSequencePlaying() const;
    CSpecialButton& GetButton(int index) { return m_buttons[static_cast<size_t>(index)]; }
    CHubButtons& GetHub() { return m_hub; }
    CGoalMarker& GetMarker() { return m_marker; }
    const CDaxSound& GetAmbient() const { return m_ambient; }

private:
    void LoadButtons();
    void WriteEarnedUnlocks();
    void Announce();
    void ReleaseAll();

    std::array<CSpecialButton, GAME_FARM_BUTTONS> m_buttons;
    CHubButtons m_hub;
    CGoalMarker m_marker;
    CDaxSound m_ambient;
};
