#pragma once
// The flow every room with levels shares, without any display: which level
// comes next, what a won level earns (an unlock, a count of levels won, a
// puzzle piece or a sticker, a step towards the current goal), where the
// start-level dialog and the Back button lead. It keeps nothing itself:
// the player's progress lives in the player's keys (R is the room's name):
//
//     R + "Level"     the level to start next time (written at every win,
//                     a replayed lower level included: it moves to that
//                     level + 1, so the next start follows on from it)
//     R + "HasWon"    every level of the room was won once; from then on
//                     the levels cycle 0 .. NumLevels - 1
//     "Unlocked"      unlock items earned (from g_DefaultUnlocked)
//     "LevelsWon"     levels won over all rooms
//     "PuzzlesWon", "StickersWon", "ActivityCenterUnlocked"   read only
//
// A goal that is reached normally sends the player to a hub; when it does
// not (nothing asked for a room), the flow goes on as if no goal had been
// reached, so a player is never left in a room with no level running.

#include "game/common/LevelFlowPorts.h"

constexpr const char* GAME_QUIT_DIALOG = "COMMON/quit_yesno.ini";

// What a won level came to.
struct ST_LEVEL_WON
{
    // The level had not been won before (it counted).
    bool counted = false;
    // 0 none, 1 a puzzle piece, 2 a sticker (shown only before the
    // activity centre opens).
    int reward = 0;
    bool rewardShown = false;
    bool goalReached = false;
    // The room plays on: set this level, then start it.
    bool playOn = false;
    int nextLevel = 0;
};

class CLevelFlow
{
public:
    CLevelFlow(CLevelStore& store, CLevelNavigator& navigator, CLevelDialogs& dialogs, CLevelRandom& random,
               CLevelGoals& goals);

    // 0 without a room name; else the saved level, cycled once the room is
    // won (as saved when NumLevels is 0); a saved level past the last one
    // of a room not yet marked won marks it and starts again from 0.
    int NextLevelToPlay(int numLevels);
    // Runs the start-level dialog: true to play the level here; the other
    // answers ask for their room and give false.
    bool StartLevel();
    // The room's level `level` was won (see the top).
    ST_LEVEL_WON LevelWon(int level, int numLevels);
    // Escape or "Back": asks before leaving anything but the options room;
    // a game goes back to the last hub (or the login), a hub to the title.
    void OnBack();

    // "FarmyardMenu", "FairgroundMenu", "OptionsMenu", "ActivityCenter"
    // (without regard to case).
    static bool IsHubRoom(const char* name);
    // The room an answer of the start-level dialog leads to; null for 0 (play).
    static const char* StartLevelExitRoom(int code);

private:
    // The reward a counted win earns: 0, 1 or 2.
    int PickReward();
    CxString RoomKey(const char* suffix) const;

    CLevelStore& m_store;
    CLevelNavigator& m_navigator;
    CLevelDialogs& m_dialogs;
    CLevelRandom& m_random;
    CLevelGoals& m_goals;
};
