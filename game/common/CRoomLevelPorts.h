#pragma once
// The level flow's view of a game room and of the game: the player store
// and texts through GameServices(), the Lua globals through the game
// layer's Lua engine, the room stack through the application, the dialogs
// and goals through the room itself, and the engine's random numbers.

#include "game/common/LevelFlowPorts.h"

class CGameRoom;

class CRoomLevelPorts : public CLevelStore,
                        public CLevelNavigator,
                        public CLevelDialogs,
                        public CLevelRandom,
                        public CLevelGoals
{
public:
    explicit CRoomLevelPorts(CGameRoom& room) : m_room(room) {}

    int ReadInt(const char* key, int defaultValue) override;
    void WriteInt(const char* key, int value) override;
    int ReadGlobal(const char* name) override;

    const char* GetRoomName() const override;
    void GotoRoom(const char* name) override;
    bool HasPendingRoom() const override;
    CxString GetLastHubName() const override;
    void ClearLastHubName() override;

    int ShowStartLevelDialog() override;
    void ShowRewardDialog(int kind) override;
    int ShowYesNo(const char* dialogFile) override;

    int Range(int low, int high) override;

    int AdvanceGoalProgress(bool fair) override;
    void CompleteCurrentGoal() override;
    bool IsClosingComplete() override;
    void FinishClosingGoal() override;

private:
    CGameRoom& m_room;
};

// A Lua global as an int through the game layer's Lua engine; 0 without one.
int GameReadLuaInt(const char* name);
