#pragma once
// The pig run ("PigsOut"): the pig runs down the road toward the child,
// steered by the pointer, the farmer behind it; food, fences and special
// items come up the road from the bottom of the screen. A press jumps, a
// second press in the jump jumps high; an obstacle not cleared trips the
// pig, and each trip costs a life. Enough food and a life left when the last
// object has passed wins the level.
//
// The rules are CPigOutModel; this room loads the sprites and sounds, tells
// the model the sprites' facts, and carries out its cues. Ticks run on the
// game clock, so the run stops under every dialog. The room file and the
// level files: PigsOutLevel.h.

#include "DAX/base/CDaxSoundCache.h"
#include "DAX/sprites/CDaxSprite.h"
#include "PIM/display/CxDrawText.h"
#include "game/common/CGameRoom.h"
#include "game/pigsout/CPigOutMeter.h"
#include "game/pigsout/CPigOutObject.h"
#include "game/pigsout/PigsOutLevel.h"
#include "game/pigsout/PigsOutModel.h"

#include <array>
#include <memory>
#include <vector>

constexpr const char* PIGS_FONT = "$GAMEPATH\\common\\PAKENHAM.TTF";
constexpr const char* PIGS_HIT_SEQUENCE = "hit.seq";

class CPigOutGame : public CGameRoom, private IPigOutFacts
{
public:
    explicit CPigOutGame(CxGameApp* app);
    ~CPigOutGame() override;

    int Load() override;
    int Start() override;
    int Unload() override;
    int Update() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    int OnSpriteNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;
    // The level build.
    void SetLevel(int level) override;
    void StartLevel() override;
    void LevelWon() override;

    // --- for tests ----------------------------------------------------------------------------
    const CPigOutModel& GetModel() const { return m_model; }
    CDaxSprite* GetPig() const { return m_pig.get(); }
    CDaxSprite* GetFarmer() const { return m_farmer.get(); }
    CPigOutMeter* GetMeter() const { return m_meter.get(); }
    CPigOutObject* GetObject(int id) const;
    const CxDrawText& GetFoodText() const { return m_foodText; }
    int GetLevelWonCalls() const { return m_levelWonCalls; }
    // Objects the room made for this visit (its enter-leave-enter test).
    size_t CountLiveObjects() const;

private:
    // --- IPigOutFacts -------------------------------------------------------------------------
    int ObjectFrames(int type) override;
    CxSize ObjectSize(int type) override;
    int PigWidth() override;
    int FarmerWidth() override;
    bool PigStopped() override;
    bool FarmerStopped() override;
    bool CaughtSoundPlaying() override;
    bool Collides(int id) override;

    std::unique_ptr<CDaxSprite> LoadSprite(const char* file, CxPoint at, int32_t z);
    void LoadTemplates();
    void LoadSounds();
    void MakeText();
    void BuildPool();
    // Carries out the cues not yet carried out (facts asked mid-tick see
    // the sprites as the model has them); the level flow's calls wait for
    // the end.
    void ApplyCues();
    void FinishCues();
    void Apply(const ST_PIG_CUE& cue);
    void PlaySprite(CDaxSprite* sprite, int state, bool looped);
    static void SetRate(CDaxSprite* sprite, int rate);
    void ShowFood(int collected, int pass);
    void ReleaseAll();

    CPigOutModel m_model;
    ST_PIGS_OPTIONS m_options;
    bool m_loaded = false;
    CxPoint m_pointer{0, 0};
    size_t m_cueDone = 0;
    bool m_wonCue = false;
    bool m_restartCue = false;
    int m_levelWonCalls = 0;

    std::unique_ptr<CDaxSprite> m_roadTop, m_roadBottom, m_pig, m_farmer;
    std::array<std::unique_ptr<CDaxSprite>, PIGS_TYPES> m_templates;
    std::array<int, PIGS_TYPES> m_templateFrames{};
    std::array<CxSize, PIGS_TYPES> m_templateSizes{};
    std::vector<std::unique_ptr<CPigOutObject>> m_objects;
    std::unique_ptr<CPigOutMeter> m_meter;
    CxDrawText m_foodText;
    bool m_textMade = false;
    intptr_t m_font = 0;
    std::vector<CDaxSound> m_sounds;
};
