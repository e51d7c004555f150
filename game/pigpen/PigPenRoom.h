#pragma once
// The pig pen ("PigPen"): the virtual-pet room that is a new player's first
// errand. The player feeds the pig (food dropped in the trough), fills its
// water bowl with the pump, pets it (the button held on it), brushes it,
// gives it toys and decorates its pen. The rules (needs, mood, wants, pages,
// decoration places and keys, the win and the way out) are CPigPenModel;
// the room file is read by ReadPigPenSetup; this room turns input and the
// end of the pig's, the pump's and the sparkle's animations into model calls
// and the model's answers into sprites and sequences.
//
// The modes: 0 loading, 1 the first visit's introduction, 2 idle, 3 an
// action playing, 5 petting, 6 brushing, 7 petting or brushing let go,
// 8 won ("Win0.seq"), 9 leaving. Input is ignored from 8 on. Modes 1, 3 and
// 8 wait for the room command "OnNextState" that the last line of their
// sequence sends; a sequence that cannot be read gives it at the next frame.
//
// The sequences see three variables: "action" (the pig state the action
// plays), "ambient" (the mood: 0 unhappy, 1 neutral, 2 happy) and
// "talk_state" (22, 23, 24: the talking state of that mood). Besides the
// usual room commands the room takes "Hook(111)": the bowl is emptied and
// the room goes on as at "OnNextState".
//
// Needs start afresh at every visit; the decoration is kept in the player's
// keys ("PigWall8" .. "PigWall10", "PigFloor", "PigArch", "PigBed").

#include "DAX/base/CDaxSoundCache.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/sprites/CDaxCharacter.h"
#include "PIM/display/CxAnimation.h"
#include "game/common/CGameRoom.h"
#include "game/pigpen/CPigSprite.h"
#include "game/pigpen/PigPenLevel.h"
#include "game/pigpen/PigPenModel.h"

#include <array>
#include <memory>
#include <vector>

enum class EPigMode
{
    Loading = 0,
    Intro = 1,
    Idle = 2,
    Action = 3,
    Petting = 5,
    Brushing = 6,
    Released = 7,
    Won = 8,
    Leaving = 9,
};

constexpr const char* PIG_INTRO_MOVIE = "M02_intro.bik";
// The painting the paint room saves for the pen's wall (decoration ID 0).
constexpr const char* PIG_PAINTING_PICTURE = "<AppData>G10_wall00_2.tga";
constexpr uint32_t PIG_LEAVE_DELAY = 200; // ms after "Win0.seq" has ended
constexpr int PIG_NO_CATEGORY = -1;

class CPig : public CGameRoom, public CxAnimationListener
{
public:
    explicit CPig(CxGameApp* app);
    ~CPig() override;

    int Load() override;
    int Unload() override;
    int Update() override;
    void OnNextState() override;
    void RunTimeOut(int number) override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    void OnButton(const char* name) override;
    void OnCommand(const char* name, const CxEventArgs& args) override;
    void OnAnimationEvent(CxAnimation* animation) override;

    // --- the room's operations ------------------------------------------------------------------
    void ShowCategory(int category);
    void ShowItemPage(int page);
    // `point` may be null; `savedPlace` is the place whose key held a
    // restored decoration (-1: none).
    void PlaceDecor(int subCategory, int id, const CxPoint* point, bool apply, int savedPlace = -1);
    void RestoreDecor();
    void UsePump();
    void ShowWant();
    void HideWant();

    // --- what it shows, for tests ----------------------------------------------------------------
    EPigMode GetMode() const { return m_mode; }
    const CPigPenModel& GetModel() const { return m_model; }
    const ST_PIGPEN_SETUP& GetSetup() const { return m_setup; }
    CDaxCharacter& GetPig() { return m_pig; }
    CDaxCharacter& GetPump() { return m_pump; }
    CxSprite& GetBowl() { return m_bowl; }
    int GetBowlLevel() const { return m_bowlLevel; }
    CxSprite& GetMeter() { return m_meter; }
    CxSprite& GetBubble() { return m_bubble; }
    bool IsWantShown() const { return m_bubble.IsShown(); }
    int GetShownWant() const { return m_shownWant; }
    int GetCategory() const { return m_category; }
    int GetPage() const { return m_page; }
    size_t GetItemCount() const { return m_items.size(); }
    CDaxButton* GetItemIcon(size_t index);
    CPigSprite* GetItemSprite(size_t index);
    CDaxButton* GetUIButton(int index) { return m_uiButtons[static_cast<size_t>(index)].get(); }
    CPigSprite* GetHeld() const { return m_held; }
    CPigSprite* GetTroughFood() const { return m_trough.get(); }
    CxSprite* GetDecor(int place);
    int GetActionType() const { return m_actionType; }
    int GetActionState() const { return m_actionState; }

private:
    struct ST_ITEM_SLOT
    {
        std::unique_ptr<CDaxButton> icon;
        std::unique_ptr<CPigSprite> held;
        const ST_PIGPEN_ITEM* item = nullptr;
    };

    void PlayIntroMovie();
    void LoadPig();
    void LoadPump();
    void LoadButtons();
    void LoadThought();
    void LoadFixtures();
    void LoadSounds();
    void LoadSparkle();
    void FindAvailableItems();
    bool IsItemLocked(const ST_PIGPEN_ITEM& item);
    std::unique_ptr<CPigSprite> MakeHeldSprite(const ST_PIGPEN_ITEM& item);

    void SatisfyNeed(int type);
    void UpdateMood();
    void UpdateMeter();
    void PlayFeedback();
    void LoopMood();
    int PetAreaAt(CxPoint point) const;
    bool IsOnPig(CxPoint point);
    bool IsOnPump(CxPoint point);
    void PlaySparkle(CxPoint at);

    void TakeItem(size_t slot);
    // The held item let go of: hidden, off the room, the cursor back.
    void ReleaseHeld();
    void DropHeld(CxPoint point);
    // The food in the trough hidden and forgotten.
    void ClearTrough();
    void SetBowlLevel(int level);
    void FillBowlDone();
    int ChooseWallPlace(const CxPoint* point);

    void PlaySequence(const char* file);
    // A sequence the room waits for: when it cannot be played, the room
    // goes on at the next frame as if it had ended.
    void PlayAwaited(const char* file);
    void Flush();
    void ClickThrough();
    void Leave();
    void ShowPointer();
    void HidePointer();
    void ReleaseAll();

    ST_PIGPEN_SETUP m_setup;
    CPigPenModel m_model;
    EPigMode m_mode = EPigMode::Loading;
    int m_actionType = PIG_ACTION_NONE;
    int m_actionState = -1;
    int m_mood = 0;
    int m_talkState = 22;

    CDaxCharacter m_pig;
    CDaxCharacter m_pump;
    CDaxSprite m_sparkle;
    CxSprite m_bowl;
    CxSprite m_meter;
    CxSprite m_mask;
    CxSprite m_door;
    CxSprite m_bubble;
    std::array<CxSprite, 6> m_wantIcons;
    int m_shownWant = -1;
    std::array<std::unique_ptr<CDaxButton>, PIG_BUTTONS> m_uiButtons;
    std::array<CxRect, PIG_PET_AREAS> m_petAreas{};
    CxPoint m_pigPosition;

    std::vector<ST_ITEM_SLOT> m_items;
    int m_category = PIG_NO_CATEGORY;
    int m_page = -1;
    // Which items are there to be shown, found once a visit.
    std::array<std::vector<bool>, PIG_CATEGORIES> m_available;
    bool m_hasItem[PIG_WANT_CATEGORIES] = {false, false, false};

    CPigSprite* m_held = nullptr;
    std::unique_ptr<CPigSprite> m_trough;
    // By place - 8: walls 8 to 10, floor, bed, arch.
    std::array<std::unique_ptr<CxSprite>, PIG_DECOR_PARTS> m_decor;

    int m_bowlLevel = 0;
    int m_lastDrinkFrame = -1;
    CDaxSound m_drinkSound;
    CDaxSound m_brushSound;
    CDaxSound m_fillSound;
    bool m_pointerHidden = false;
    bool m_nextStateDue = false;
    uint32_t m_leaveAt = 0;
};
