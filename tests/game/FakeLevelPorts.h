#pragma once
// In-memory stand-ins for the level flow's player store and navigator, shared
// by the tests of the level flow and of the goal book: keys and globals live
// in maps, and asked-for rooms are recorded instead of entered.

#include "game/common/LevelFlowPorts.h"

#include <map>
#include <string>
#include <vector>

class FakeLevelStore : public CLevelStore
{
public:
    int ReadInt(const char* key, int defaultValue) override
    {
        const auto found = keys.find(key);
        return found == keys.end() ? defaultValue : found->second;
    }
    void WriteInt(const char* key, int value) override { keys[key] = value; }
    int ReadGlobal(const char* name) override
    {
        const auto found = globals.find(name);
        return found == globals.end() ? 0 : found->second;
    }

    // A key as the game reads it, 0 when it was never written.
    int Key(const char* key) { return ReadInt(key, 0); }

    std::map<std::string, int> keys;
    std::map<std::string, int> globals;
};

class FakeLevelNavigator : public CLevelNavigator
{
public:
    const char* GetRoomName() const override { return room.c_str(); }
    void GotoRoom(const char* name) override { went.push_back(name); }
    // Every asked-for room stays pending: nothing here enters rooms.
    bool HasPendingRoom() const override { return !went.empty(); }
    CxString GetLastHubName() const override { return CxString(lastHub.c_str()); }
    void ClearLastHubName() override { lastHub.clear(); }

    std::string room = "BaleOut";
    // The rooms asked for, in order.
    std::vector<std::string> went;
    std::string lastHub;
};
