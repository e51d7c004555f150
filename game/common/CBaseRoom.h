#pragma once
// The base of every room of the game, on the game layer's room window. It
// adds what all the game's rooms share:
//   - before loading: cursor 1, and the root "<ActivityCDPath>" on the disc
//     folder named like the room ("<CDPath><Room>"), until the room stops;
//   - loading: pending window messages dropped, the level range 0..49, and a
//     hub remembers itself as the last hub (LastHubName);
//   - starting: pending window messages dropped, cursor 10;
//   - stopping (Unload): the root removed, the room remembered as the last
//     room stopped (LastRoomName);
//   - Escape calls OnBack; the "Exit" button asks "COMMON/quit_yesno.ini"
//     and quits on yes.
// The first room made and the last one destroyed bracket the shared names.

#include "DAX/rooms/CDaxWindow.h"

#include <memory>

class CxFileSystem;

constexpr const char* GAME_ACTIVITY_CD_ROOT = "<ActivityCDPath>";
constexpr int GAME_ROOM_MAX_LEVEL = 49;
constexpr int GAME_CURSOR_LOADING = 1;
constexpr int GAME_CURSOR_DEFAULT = 10;

class CBaseRoom : public CDaxWindow
{
public:
    explicit CBaseRoom(CxGameApp* app);
    ~CBaseRoom() override;

    int BeforeLoad() override;
    int Load() override;
    int Start() override;
    int Unload() override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnButton(const char* name) override;

    // --- added, in this order ---------------------------------------------------------------
    // Escape, or the "Back" button of a game room.
    virtual void OnBack() {}

    // Runs the yes/no dialog of `dialogFile` with the room paused: 1 for yes.
    int ShowYesNo(const char* dialogFile);
    bool HasActivityCDRoot() const { return m_cdRoot != nullptr; }

    // --- shared by all rooms ------------------------------------------------------------------
    static bool IsHubRoom(const char* name);
    static const char* GetLastHubName() { return s_lastHub.GetText(); }
    static void SetLastHubName(const char* name) { s_lastHub = name ? name : ""; }
    static const char* GetLastRoomName() { return s_lastRoom.GetText(); }
    static int GetLiveRoomCount() { return s_liveRooms; }

protected:
    // Input that arrived while the room was busy loading is not meant for it.
    void DropPendingMessages();

private:
    void RemoveActivityCDRoot();

    std::unique_ptr<CxFileSystem> m_cdRoot;

    static inline int s_liveRooms = 0;
    static inline CxString s_lastHub;
    static inline CxString s_lastRoom;
};
