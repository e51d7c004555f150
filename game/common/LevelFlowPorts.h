#pragma once
// What the level flow (CLevelFlow) needs of the game around it, as small
// interfaces, so that the rules of levels, rewards and leaving a room can be
// run and tested without a screen, a player file or a Lua engine. The game
// room wires the real ones (CRoomLevelPorts); tests hand in fakes.

#include "PIM/core/CxString.h"

// The signed-in player's keys, and the integer globals of the start-up scripts.
class CLevelStore
{
public:
    virtual ~CLevelStore() = default;
    virtual int ReadInt(const char* key, int defaultValue) = 0;
    // Written and saved at once.
    virtual void WriteInt(const char* key, int value) = 0;
    // A Lua global as an int; 0 when it is missing or no number.
    virtual int ReadGlobal(const char* name) = 0;
};

// Where the player goes next.
class CLevelNavigator
{
public:
    virtual ~CLevelNavigator() = default;
    // The room the flow runs for ("" when it has no name).
    virtual const char* GetRoomName() const = 0;
    // Asks for a room; the change happens later, once no modal loop runs.
    virtual void GotoRoom(const char* name) = 0;
    // A room change was asked for and has not happened yet.
    virtual bool HasPendingRoom() const = 0;
    // The hub most recently loaded ("" when none in this run).
    virtual CxString GetLastHubName() const = 0;
    virtual void ClearLastHubName() = 0;
};

// The level dialogs, run modally with the room paused.
class CLevelDialogs
{
public:
    virtual ~CLevelDialogs() = default;
    // 0 play, 1 farm, 2 fair, 3 pig pen, 4 activity centre.
    virtual int ShowStartLevelDialog() = 0;
    // 1 a puzzle piece, 2 a sticker.
    virtual void ShowRewardDialog(int kind) = 0;
    // 1 for yes.
    virtual int ShowYesNo(const char* dialogFile) = 0;
};

class CLevelRandom
{
public:
    virtual ~CLevelRandom() = default;
    // low .. high, both included.
    virtual int Range(int low, int high) = 0;
};

// The chain of goals a won level counts towards.
class CLevelGoals
{
public:
    virtual ~CLevelGoals() = default;
    // Counts one win; 1 when the current goal is now reached.
    virtual int AdvanceGoalProgress(bool fair) = 0;
    // Moves on to the next goal; may switch rooms.
    virtual void CompleteCurrentGoal() = 0;
    // The closing chapter is done (nothing left for the spider eggs to finish).
    virtual bool IsClosingComplete() = 0;
    // Counts the current closing goal as reached and completes it.
    virtual void FinishClosingGoal() = 0;
};

// A room without goals: nothing counts, nothing is left to finish.
class CNoLevelGoals : public CLevelGoals
{
public:
    int AdvanceGoalProgress(bool) override { return 0; }
    void CompleteCurrentGoal() override {}
    bool IsClosingComplete() override { return true; }
    void FinishClosingGoal() override {}
};
