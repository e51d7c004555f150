#pragma once
// Seam: the title screen of the game arrives with the game's rooms; until
// then "Title" shows what the engine and the game layer can do. The farm of
// the demo data with a few animals moving; an opening scene from the
// sequence file "title/intro.seq" (Farmer Hob's greeting with subtitles, a
// rainbow, Pip the bluebird flying to the fence when the scene says so);
// Hob talks again when clicked; three buttons (the green one asks the
// question dialog, the star runs the credits roll).

#include "DAX/buttons/CDaxButton.h"
#include "DAX/sprites/CDaxCharacter.h"
#include "DAX/sprites/CDaxSprite.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/CxGameWindow.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/display/CxDrawText.h"

class CxGameApp;

class CTitleScene : public CxGameWindow, public CxEventListener
{
public:
    explicit CTitleScene(CxGameApp* app);
    ~CTitleScene() override;

    int Load() override;
    int Start() override;
    int Stop() override;
    int Unload() override;
    // A click on the farmer makes him talk (when he is not talking already).
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    // The scene's notice 7 sends Pip to the fence.
    int OnEvent(PimChannelId channel, CxEvent* event) override;

    CDaxCharacter& GetFarmer() { return m_farmer; }
    CDaxSprite& GetBird() { return m_bird; }
    CDaxButton& GetButton(int index) { return m_buttons[index]; }
    static constexpr int kButtons = 3;

private:
    static constexpr int kAnimals = 5;
    static constexpr int kTexts = 4;

    void LoadAnimals();
    void LoadTexts();
    void LoadButtons();
    // Posts an event written as text ("Farmer.Talk(...)") on a channel.
    static void Post(const char* text, PimChannelId channel);
    void ReleaseScene();

    static void AddMove(CxAnimation& animation, CxSprite& sprite, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                        float speed, float frameRate);
    static void AddPecking(CxAnimation& animation, CxSprite& sprite, int32_t x, int32_t y, int32_t pause);

    CxSprite m_sprites[kAnimals];
    CxAnimation m_animations[kAnimals];
    CxDrawText m_texts[kTexts];
    intptr_t m_fonts[3] = {};
    CDaxCharacter m_farmer;
    CDaxSprite m_bird;
    CDaxButton m_buttons[kButtons];
    PimChannelId m_farmerChannel = 0;
    PimChannelId m_birdChannel = 0;
    // The scene's own channel, whose notices the room hears.
    PimChannelId m_sceneChannel = 0;
    CxInterpolator m_interpolator;
};
