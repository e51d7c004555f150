#pragma once
// Croquet ("Croquet"): shot by shot on the ball physics. A character stands
// behind the ball; the player aims with the mouse (a chain of dots and a
// cone) and clicks; the character swings and the ball rolls, bouncing off
// the level's walls and balls, through the wickets in order, then into the
// hole. Mud slows it, gum stops it, water carries it, food on the way gives
// points (and the character eats it), a destroy spot breaks the breakable
// balls. Shots are limited: after each the character walks to the ball;
// with none left the level starts again.
//
// The rules are CCroquetModel; this room turns the pointer into aims and
// kicks and the rolling ball into the model's calls, and shows the rest.
// The room file and the level files: CroquetLevel.h beside BallsLevel.h.
// Timers (the wicket's blink, the wait after a loss) run on the game clock.

#include "DAX/base/CDaxSoundCache.h"
#include "game/balls/CBalls.h"
#include "game/croquet/CAimer.h"
#include "game/croquet/CGolfHole.h"
#include "game/croquet/CGolfer.h"
#include "game/croquet/CroquetLevel.h"
#include "game/croquet/CroquetModel.h"

#include <memory>
#include <vector>

constexpr uint32_t CROQUET_BLINK_MS = 500;
// The longest a shot rolls: a ball kept swinging by an attractor stops then.
constexpr uint32_t CROQUET_MAX_ROLL_MS = 60000;
constexpr int32_t CROQUET_SHOT_Z = static_cast<int32_t>(0xBFFFFFFEu);
constexpr int32_t CROQUET_SCORE_Z = static_cast<int32_t>(0x80000009u);
constexpr const char* CROQUET_MUSIC = "soccer_musicloop.wav";
constexpr const char* CROQUET_LAST_SHOT_VOICE = "$GAMEPATH\\S00_VO_TB_015.wav";
constexpr const char* CROQUET_LOST_VOICE = "$GAMEPATH\\G03_VO_TB_003.wav";
constexpr const char* CROQUET_WICKET_VOICE = "$GAMEPATH\\S00_VO_TB_%03d.wav"; // 2 .. 7

// A placed piece of the level: a patch, a food item, a wicket, a bumper.
struct ST_CROQUET_ITEM
{
    std::unique_ptr<CDaxSprite> sprite;
    bool flag = false; // food taken, patch entered, destroy spot used
    int type = 0;
};

class CCroquet : public CBalls
{
public:
    explicit CCroquet(CxGameApp* app);
    ~CCroquet() override;

    int Load() override;
    int Start() override;
    int Unload() override;
    int Update() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    // The game's state and timers cleared, then the level loaded.
    void SetLevel(int level) override;
    int LoadLevel(const char* fileName, int level) override;
    void OnBallHit(CBallsBall* other, CBallsBall* ball) override;

    void SetupAim(const CxPoint* origin);
    // A click in aiming: the character swings toward `pointer`.
    void Shoot(CxPoint pointer);
    void Kick();
    void WalkToBall();
    void UpdateShotMarkers();
    void Win();
    void Lose();
    void UpdateAimer();

    // --- for tests ----------------------------------------------------------------------------
    const CCroquetModel& GetModel() const { return m_model; }
    ECroquetState GetGameState() const { return m_model.GetState(); }
    const ST_CROQUET_OPTIONS& GetCroquetOptions() const { return m_setup; }
    const ST_CROQUET_LEVEL& GetCroquetLevel() const { return m_level; }
    CGolfer* GetGolfer() const { return m_golfers.empty() ? nullptr : m_golfers.front().get(); }
    size_t GetGolferCount() const { return m_golfers.size(); }
    CAimer& GetAimer() { return m_aimer; }
    CGolfHole& GetHole() { return m_hole; }
    const std::vector<ST_CROQUET_ITEM>& GetFoods() const { return m_foods; }
    const std::vector<ST_CROQUET_ITEM>& GetWickets() const { return m_wickets; }
    const std::vector<ST_CROQUET_ITEM>& GetGums() const { return m_gums; }
    const std::vector<ST_CROQUET_ITEM>& GetMuds() const { return m_muds; }
    const std::vector<ST_CROQUET_ITEM>& GetWaters() const { return m_waters; }
    const std::vector<ST_CROQUET_ITEM>& GetDestroys() const { return m_destroys; }
    size_t GetShotMarkerCount() const { return m_shotMarkers.size(); }
    bool IsShotMarkerShown(size_t index) const;
    int GetWaterDirection() const { return m_waterDirection; }
    bool IsLevelPlayable() const { return m_playable; }
    // Objects the room made for this visit (its enter-leave-enter test).
    size_t CountLiveObjects() const;

private:
    void LoadTemplates();
    void LoadTemplateList(std::vector<std::unique_ptr<CDaxSprite>>& list, const char* pattern, int count);
    void LoadCharacters();
    void LoadShotMarkers();
    void LoadSounds();
    void ClearItems();
    void PlaceItems();
    void PlaceFood();
    void PlacePatches(std::vector<ST_CROQUET_ITEM>& items, const std::vector<CxPoint>& places,
                      const std::vector<std::unique_ptr<CDaxSprite>>& templates, int32_t z);
    std::unique_ptr<CDaxSprite> CopyTemplate(CDaxSprite& from, CxPoint at, int32_t z);
    void PlaceCharacters();
    void StepRolling();
    bool RollingChecks(CBallsBall& ball);
    void BallStopped(CBallsBall& ball);
    void TakeFood(ST_CROQUET_ITEM& food);
    void BreakBalls();
    void RemoveBrokenBalls();
    void PassWicket(CBallsBall& ball);
    void Blink();
    void SetWicketTint(bool on);
    void PlaySound(const char* name);
    void ReleaseAll();

    ST_CROQUET_OPTIONS m_setup;
    ST_CROQUET_LEVEL m_level;
    CCroquetModel m_model;
    bool m_playable = false;
    bool m_loaded = false;

    std::vector<std::unique_ptr<CGolfer>> m_golfers;
    CAimer m_aimer;
    CGolfHole m_hole;
    std::vector<std::unique_ptr<CxSprite>> m_shotMarkers;

    std::vector<std::unique_ptr<CDaxSprite>> m_gumTypes, m_mudTypes, m_destroyTypes, m_foodTypes;
    std::vector<std::unique_ptr<CDaxSprite>> m_puzzleTypes, m_stickerTypes, m_wicketTypes, m_waterTypes;
    std::vector<ST_CROQUET_ITEM> m_gums, m_muds, m_destroys, m_foods, m_waters, m_wickets, m_bumpers;
    int m_waterDirection = 0;

    CxPoint m_pointer{0, 0};
    bool m_pointerKnown = false;
    CxPoint m_kickTarget{0, 0};
    // Food eaten this shot: the character eats once the ball has stopped.
    int m_eatState = -1;
    bool m_eating = false;
    bool m_wicketTinted = false;
    uint32_t m_blinkAt = 0;
    uint32_t m_loseAt = 0;
    uint32_t m_rollStart = 0;
    std::vector<CDaxSound> m_sounds;
};
