#pragma once
// The title room ("Title"): everything on screen comes from its option file
// (title/Title.ini: the farm, the Play and Sun buttons, the score, the
// windmill, Hob's idle prompts). The room adds the two who live here, Farmer
// Hob (a talking character, "Farmer" to events) and Pip the bluebird
// ("Bird"), both from their sprite descriptions, and plays its opening
// scene, title/intro.seq, each time it is entered:
//   - the scene's notice 7 sends Pip to the fence;
//   - the scene ends with "Room.StartIdleTimer()", so the idle prompts wait
//     until Hob has finished greeting;
//   - a click on Hob makes him talk, when he is not talking already;
//   - each score milestone bulges the score and Hob cheers.
// Its "Play" button runs GotoStoryRoom(): the login room while nobody is
// signed in, else the room where the player's story stands (GameStory.h).
// Escape, "Back" and "Exit" are the game room's.

#include "DAX/sprites/CDaxCharacter.h"
#include "DAX/sprites/CDaxSprite.h"
#include "game/common/CGameRoom.h"

class CTitleScreen : public CGameRoom
{
public:
    explicit CTitleScreen(CxGameApp* app);
    ~CTitleScreen() override;

    int Load() override;
    int Start() override;
    int Unload() override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    int OnEvent(PimChannelId channel, CxEvent* event) override;
    void OnMilestone(int index) override;

    CDaxCharacter& GetFarmer() { return m_farmer; }
    CDaxSprite& GetBird() { return m_bird; }
    PimChannelId GetFarmerChannel() const { return m_farmerChannel; }

private:
    void ReleaseCast();

    CDaxCharacter m_farmer;
    CDaxSprite m_bird;
    PimChannelId m_farmerChannel = 0;
    PimChannelId m_birdChannel = 0;
    // The opening scene's own channel, whose notices the room hears.
    PimChannelId m_sceneChannel = 0;
    CxInterpolator m_sceneVariables;
};
