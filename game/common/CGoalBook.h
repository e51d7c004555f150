#pragma once
// The player's way through the story's three chapters of goals (farm, fair,
// closing), kept in the player's keys and counted against the start-up
// scripts' globals:
//
//   g_NumFarmGoals, g_FarmGoal0 ...    goals in a chapter, wins each needs
//   CurrentFarmGoal                    the chapter's current goal
//   FarmGoal00, FarmGoal01 ...         wins counted toward each goal
//   NewFarmGoal                        a goal still to be announced (-1: none)
//   FarmYardComplete                   the chapter is done
// (the same for "Fair" and "Closing"; the farm chapter's end key is
// "FarmYardComplete", the others' "FairComplete" and "ClosingComplete").
//
// Only the keys and the room changes: no display. The game room hands in
// the player store and the room stack; tests hand in fakes.
//
// The spider-egg room finishes its closing goal when it is left, by the
// back question or by stopping; the book applies that at most once per
// visit (BeginVisit starts a visit), so leaving by the question does not
// count the goal twice.

#include "game/common/LevelFlowPorts.h"

enum class EGoalChapter
{
    Farm = 0,
    Fair = 1,
    Closing = 2,
};

class CGoalBook
{
public:
    CGoalBook(CLevelStore& store, CLevelNavigator& navigator);

    // --- what a won level does -----------------------------------------------------------------
    // Counts one win for the chapter the player is in, when the room (or the
    // fair flag) counts there; 1 when the current goal is now reached.
    int AdvanceGoalProgress(bool fair);
    // Moves on to the next goal of the chapter the player is in; may ask for a room.
    void CompleteCurrentGoal();
    bool IsClosingComplete();
    // The spider-egg rule: the current closing goal counted as reached and
    // completed, once per visit and only while the closing chapter is open.
    void FinishClosingGoal();
    void BeginVisit() { m_closingFinished = false; }

    // --- the keys ---------------------------------------------------------------------------------
    // The chapter's globals: its goal count, and the wins goal `index` needs.
    int GetNumGoals(EGoalChapter chapter);
    int GetGoalTarget(EGoalChapter chapter, int index);
    int GetCurrentGoal(EGoalChapter chapter);
    void SetCurrentGoal(EGoalChapter chapter, int index);
    // Wins counted toward goal `index` (-1: the current goal).
    int GetGoalCount(EGoalChapter chapter, int index = -1);
    // `index` -1: the current goal; `value` -1: one more than stored.
    void SetGoalCount(EGoalChapter chapter, int index, int value);
    // The goal still to be announced, -1 when none.
    int GetNewGoal(EGoalChapter chapter);
    void SetNewGoal(EGoalChapter chapter, int index);
    bool IsChapterComplete(EGoalChapter chapter);
    void SetChapterComplete(EGoalChapter chapter, bool complete);

    // 1 or 2: the pig pen has an errand; -1 none; 0 a new player's first visit.
    int GetPigPenGoal() { return m_store.ReadInt("PigPenGoal", 0); }
    void SetPigPenGoal(int value) { m_store.WriteInt("PigPenGoal", value); }
    // Any of the other flags ("FairgroundUnlocked", "HasSeenFinalMovie" ...).
    int GetKey(const char* key) { return m_store.ReadInt(key, 0); }
    void SetKey(const char* key, int value) { m_store.WriteInt(key, value); }
    // The "<room>UnLocked" flag of a mini-game's button.
    bool IsRoomUnlocked(const char* room);
    void SetRoomUnlocked(const char* room, bool open = true);

    static bool IsFarmGame(const char* room);
    static bool IsFairGame(const char* room);

private:
    // One win toward the chapter's current goal; 1 when it is reached.
    int CountWin(EGoalChapter chapter);
    void CompleteFarmGoal();
    void CompleteFairGoal();
    void CompleteClosingGoal();

    CLevelStore& m_store;
    CLevelNavigator& m_navigator;
    bool m_closingFinished = false;
};
