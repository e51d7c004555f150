#pragma once
// The base of every room with levels: the mini-games, the hubs and the
// title. A mini-game only plays one level and reports how it went; the rest
// comes from here:
//
//   1. derive from CGameRoom and register under the room's name;
//   2. in Load, call CGameRoom::Load first, then read the game's own files;
//   3. to begin, SetLevel(NextLevelToPlay()) and StartLevel(): the
//      start-level dialog runs; when StartLevel returns and no room change
//      is pending (HasPendingRoom), build and play the current level
//      (GetLevel()); a room that must set a level up overrides StartLevel
//      and calls the base first;
//   4. on a win call LevelWon (progress saved, goal advanced, reward shown,
//      the next level started), to play again RestartLevel;
//   5. pass unhandled keys and buttons on to the base (Escape, "Help",
//      "Back", "Exit").
//
// The room's option file adds
//     [General]
//     NumLevels=5                      ; levels before the room counts as won
//     [Options]
//     InstructionAudio00=common/x.wav  ; said by the start-level dialog, per level
// and the room's folder may hold "icon_level00.tga" ... for that dialog.
//
// The game clock. Every mini-game's ticks, timers and physics run on
// GetGameTime() / GetFrameStep(), never on the engine clock directly:
//   - it is the room's own elapsed time in milliseconds, read from the
//     engine clock once per frame (in Update);
//   - it stands still while the room is paused (pause count above 0: the
//     start-level and win-level dialogs, any yes/no question such as the
//     quit question, the window in the background), so nothing moves on
//     under a dialog and a player who comes back finds the level as left;
//   - it goes back to 0 at each level build (whenever StartLevel lets a
//     level be played);
//   - one frame adds at most GAME_CLOCK_MAX_STEP (100 ms): a stall is one
//     ordinary step, never one huge one.
// Update adds the frame's step before the room's own per-frame work, so an
// override that calls CGameRoom::Update first sees this frame's time.

#include "game/common/CBaseRoom.h"
#include "game/common/CGameClock.h"
#include "game/common/CGoalBook.h"
#include "game/common/CLevelFlow.h"

#include <memory>

class CRoomLevelPorts;

constexpr const char* GAME_REWARD_PUZZLE_ICON = "COMMON/puzzleicon.tga";
constexpr const char* GAME_REWARD_STICKER_ICON = "COMMON/stickericon.tga";
constexpr const char* GAME_REWARD_PUZZLE_VOICE = "s00_vo_tb_030.wav";
constexpr const char* GAME_REWARD_STICKER_VOICE = "s00_vo_tb_031.wav";

class CGameRoom : public CBaseRoom
{
public:
    explicit CGameRoom(CxGameApp* app);
    ~CGameRoom() override;

    // A new visit for the goal book (the spider-egg rule applies once per visit).
    int Load() override;
    // The spider-egg rule after the base's stop.
    int Unload() override;
    // The game clock's step, then the base's frame.
    int Update() override;
    void Pause() override;
    void Resume() override;
    void OnButton(const char* name) override;
    void OnBack() override;
    // The start-level dialog; its answers other than Play leave the room.
    void StartLevel() override;
    void LevelWon() override;

    // --- added, in this order ---------------------------------------------------------------
    virtual void OnHelp() {}

    // --- the goals (CGoalBook.h: the chapters, their keys and routes) ----------------------
    // 1 when the current goal is now reached.
    virtual int AdvanceGoalProgress(bool fair);
    virtual void CompleteCurrentGoal();
    virtual bool IsClosingComplete();
    // The spider-egg rule: the current closing goal counted as reached, then
    // completed; once per visit.
    virtual void FinishClosingGoal();
    // Every goal key's getter and setter, on the signed-in player.
    CGoalBook& GetGoals() { return *m_goals; }

    // --- levels -------------------------------------------------------------------------------
    int NextLevelToPlay();
    // 0 .. 4 (see CStartLevelDialog.h).
    int ShowStartLevelDialog();
    // 1 a puzzle piece, 2 a sticker.
    void ShowRewardDialog(int kind);
    // "General"/"NumLevels" (0 when missing, never below 0).
    int GetNumLevels();
    // What the last LevelWon came to (for the room and its tests).
    const ST_LEVEL_WON& GetLastWin() const { return m_lastWin; }
    CLevelFlow& GetFlow() { return *m_flow; }

    // --- the game clock (see the top) -----------------------------------------------------------
    uint32_t GetGameTime() const { return m_clock.GetElapsed(); }
    uint32_t GetFrameStep() const { return m_clock.GetStep(); }
    // Back to 0 now; StartLevel does it whenever a level is to be played.
    void ResetGameClock();

private:
    std::unique_ptr<CRoomLevelPorts> m_ports;
    std::unique_ptr<CLevelFlow> m_flow;
    std::unique_ptr<CGoalBook> m_goals;
    CGameClock m_clock;
    ST_LEVEL_WON m_lastWin;
};
