#pragma once
// The fairground ("FairgroundMenu"): the hub the fair's games open from, and
// two small games of its own whose high scores count toward the fair goals.
//
// Two views side by side; a click near an edge (x < 100 or x > 700) plays
// the short full-screen movie that slides one into the other (the view is
// kept for the whole run, so a player coming back finds the fair as left):
//   view 0: the duck ride's button, the shooting stand (the cannon game:
//           knock the four targets down while the aim shakes, harder with
//           every hit), the kids, the pig (a click leads to the pig pen),
//           and half of the big ride;
//   view 1: the bumper cars' and the popcorn's buttons, the spinner (stop
//           the arrow on the green), the kids and the ride's other half.
// The goal announcements are played per view ("goal<N><M>.seq" once, else
// "ufGoal<N><M>.seq", M being 1 - view, except the second goal: it is always
// announced from view 1), and the marker of the current fair goal shows.
//
// The room file adds, beside the usual room keys and goal markers,
//     [MiniGame1]                 ; the cannon game (view 0)
//     Pos1=262, 170               ; its area's corners
//     Pos2=452, 360
//     HitPos1=6, 4                ; the part of a target a shot must hit,
//     HitPos2=40, 40              ; from the target's top-left
//     ScorePos=476, 200           ; the score, and the best score so far
//     HighScorePos=476, 250
//     [MiniGame2]                 ; the spinner (view 1), the same keys
//                                 ; without the hit box
// The rules of both games are CFairCannonGame and CFairSpinnerGame; what a
// click or the pointer means here is FairgroundRules.h.

#include "DAX/base/CDaxSoundCache.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxDrawText.h"
#include "game/common/CFairCannonGame.h"
#include "game/common/CFairSpinnerGame.h"
#include "game/common/CGameRoom.h"
#include "game/common/CGoalMarker.h"
#include "game/common/CHubButtons.h"
#include "game/common/CSpecialButton.h"
#include "game/common/FairgroundRules.h"

#include <array>

constexpr int GAME_FAIR_BUTTONS = 3;
constexpr const char* GAME_FAIR_ARRIVAL_MOVIE = "m04_fairgrounds.bik";
constexpr const char* GAME_FAIR_AMBIENT = "FairgroundMenu/S04_sfx_fairamb.wav";
constexpr const char* GAME_FAIR_FONT = "COMMON/pakenham.ttf";

class CFairgroundMenu : public CGameRoom, public CxAnimationListener
{
public:
    explicit CFairgroundMenu(CxGameApp* app);
    ~CFairgroundMenu() override;

    int Load() override;
    int Unload() override;
    int Update() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    // The spinner's animation: the end of its stopping animation judges the stop.
    void OnAnimationEvent(CxAnimation* animation) override;

    // The view shown (0 or 1): kept while the program runs.
    static int GetView() { return s_view; }
    static void SetView(int view) { s_view = view != 0 ? 1 : 0; }

    EFairState GetState() const { return m_state; }
    bool IsSequencePlaying() const;
    CHubButtons& GetHub() { return m_hub; }
    CSpecialButton& GetButton(int index) { return m_buttons[static_cast<size_t>(index)]; }
    CDaxSprite& GetPig() { return m_pig; }
    CDaxSprite& GetSpinner() { return m_spinner; }
    CDaxSprite& GetTarget(int index) { return m_targets[static_cast<size_t>(index)]; }
    CxSprite& GetBackground(int view) { return m_backgrounds[static_cast<size_t>(view != 0 ? 1 : 0)]; }
    CGoalMarker& GetMarker() { return m_marker; }
    const CFairCannonGame& GetCannonGame() const { return m_cannonGame; }
    const CFairSpinnerGame& GetSpinnerGame() const { return m_spinnerGame; }
    const CxDrawText& GetScoreText() const { return m_scoreText; }
    const CxDrawText& GetHighScoreText() const { return m_highScoreText; }
    const CxRect& GetGame1Area() const { return m_game1Area; }
    const CxRect& GetGame2Area() const { return m_game2Area; }
    // The cursor the pointer at `point` gets now.
    int ChooseCursor(CxPoint point);
    // Slides to the other view: -1 to the right-hand neighbour, +1 to the left.
    void Scroll(int direction);

private:
    void PlayArrivalMovie();
    void LoadCursors();
    void LoadSprites();
    void ReadAreas();
    void LoadButtons();
    // The unlocks earned so far, then the announcement and the marker.
    void AnnounceFairGoals(bool inRoom);
    void ShowMarker();
    void ShowView();
    void HideViewSprites();
    // Leaves through a hub button or the pig: back to idle when no room
    // change came of it (a room that is not built yet).
    void Leave(const char* room);

    void StartCannonGame();
    void NewCannonTurn();
    void ClickCannonGame(CxPoint point);
    void UpdateCannonGame();
    void ShakeAim();
    void StartSpinnerGame();
    void ClickSpinnerGame(CxPoint point);
    void UpdateSpinnerGame();
    // Score texts at the game's places, the best one from `highScoreKey`.
    void ShowScores(const char* section, int32_t width, int32_t height, int pointSize, const char* highScoreKey,
                    int score);
    void ShowScoreValue(int score);
    // A greater score than the best is the new best, and one win toward the fair goal.
    void ApplyHighScore(int score, const char* key);
    int TargetAt(CxPoint point) const;
    void PlaySequence(const char* format, int first, int second = -1);
    void ReleaseAll();

    std::array<CxSprite, 2> m_backgrounds;
    CDaxSprite m_kids;
    CDaxSprite m_pig;
    CDaxSprite m_ride;
    CDaxSprite m_spinner;
    CDaxSprite m_cannon;
    std::array<CDaxSprite, FAIR_CANNON_TARGETS> m_targets;
    std::array<CSpecialButton, GAME_FAIR_BUTTONS> m_buttons;
    CHubButtons m_hub;
    CGoalMarker m_marker;
    CDaxSound m_ambient;
    intptr_t m_font = 0;
    CxDrawText m_scoreText;
    CxDrawText m_highScoreText;
    bool m_textsMade = false;
    bool m_cursorsMade = false;

    CFairCannonGame m_cannonGame;
    CFairSpinnerGame m_spinnerGame;
    CxRect m_game1Area;
    CxRect m_game2Area;
    EFairState m_state = EFairState::Idle;

    static inline int s_view = 0;
};
