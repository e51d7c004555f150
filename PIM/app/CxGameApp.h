#pragma once
// The game layer of the engine's application: install and disc paths mounted
// as file systems, key bindings, the rooms and the room stack. It answers the
// scripts' host for rooms, room timers, keys and file systems.

#include "PIM/app/CxDisplayApp.h"
#include "PIM/app/CxGameRoomRegistrar.h"
#include "PIM/app/CxGameWindow.h"
#include "PIM/core/CxPauseResume.h"
#include "PIM/core/CxStack.h"
#include "PIM/core/CxString.h"

#include <memory>
#include <string>
#include <vector>

class CxFileSystem;
class CxGameConsole;
class CxSingleInstance;

struct ST_KEY_BINDING
{
    uint32_t code = 0;
    CxString command;
};

class CxGameApp : public CxDisplayApp, public CxPauseResume
{
public:
    explicit CxGameApp(const ST_APP_INIT& init);
    ~CxGameApp() override;

    // Pausing the application itself does nothing: rooms pause through
    // PauseRoom and ResumeRoom.
    void Pause() override {}
    void Resume() override {}

    int CanRun() override;
    void OnQuitRequest() override;
    int UpdateFrame() override;
    int InitInstance() override;
    int InitApplication() override;
    int CloseRooms() override;
    int ExitApplication() override;
    void OnScreenCreated() override;
    void OnDeviceRestored() override;
    void OnDeviceLost() override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    // Keys nobody has the focus for go to the current room.
    bool OnRootKey(uint32_t key, uint32_t flags) override;
    bool OnRootKeyUp(uint32_t key, uint32_t flags) override;

    virtual int BuildGamePath(CxString& out, const char* path);
    int NewFileSystem(const char* tag, const char* path) override;
    int RemoveFileSystem(const char* tag) override;
    virtual CxGameWindow* CreateRoom(const CxGameRoomRegistrar& registration);
    // Performs a pending room change; never re-entered.
    virtual int SwitchRoom();

    // --- the room stack (names) ---------------------------------------------------
    void PushRoom(const char* name) override;
    // The new top name, or "" when nothing was popped.
    CxString PopRoom() override;
    void GotoRoom(const char* name) override;
    CxString PeekRoom() const override;
    // The current room unloads and loads again, at the start of the next frame.
    void ReloadRoom() override;
    void PauseRoom() override;
    void ResumeRoom() override;
    const char* GetCurRoomName() const override;
    bool IsLeavingRoom() const override { return m_pendingRoom != nullptr; }
    // A room change was asked for and has not happened yet.
    bool HasPendingRoom() const { return m_pendingRoom != nullptr; }
    // True while a room change is under way (the old room leaving, the new
    // one entering), modal movies of either included.
    bool IsSwitchingRoom() const { return m_switching; }
    uint32_t GetCurRoomHandle() const override { return m_currentRoom ? m_currentRoom->GetHandle() : 0; }
    CxRoomTimers* GetRoomTimers(uint32_t handle) override;
    int LoadRoomBackground(const char* fileName) override;
    CxGameWindow* FindRoom(const char* name) const;
    // The room with this script handle, or null when there is none (any more).
    CxGameWindow* FindRoomByHandle(uint32_t handle) const;
    CxGameWindow* GetCurrentRoom() const { return m_currentRoom; }
    CxGameWindow* GetPendingRoom() const { return m_pendingRoom; }
    size_t GetRoomStackDepth() const { return m_roomStack ? m_roomStack->GetCount() : 0; }
    const std::vector<CxGameWindow*>& GetRooms() const { return m_rooms; }

    // --- key bindings ----------------------------------------------------------------
    // Unknown key names are ignored; a key has at most one binding.
    void BindKey(const char* keyName, const char* command) override;
    void UnBindKey(const char* keyName) override;
    void UnBindAllKeys() override;
    // Binds every variable of "Engine.Game.KeyBinds", in file order.
    void LoadKeyBinds();
    const std::vector<ST_KEY_BINDING>& GetKeyBindings() const { return m_keyBindings; }

    // --- paths -------------------------------------------------------------------------
    const char* GetInstallPath() const { return m_installPath.c_str(); }
    const char* GetDiscPath() const { return m_discPath.c_str(); }
    // From the command line: they win over the configuration and the registry.
    void SetInstallPathOverride(const std::string& path) { m_installOverride = path; }
    void SetDiscPathOverride(const std::string& path) { m_discOverride = path; }
    // Single-instance check (on by default; tests turn it off).
    void SetSingleInstance(bool on) { m_singleInstance = on; }
    // The file where "registry" values live (an ini file per user).
    static std::string RegistryFile();

    // The command console, when "AllowCommandConsole" made one.
    CxGameConsole* GetConsole() const { return m_console.get(); }

    static CxGameApp* GetGameApp();

    // --- what replays may check ------------------------------------------------------
    // The signed-in player's stored value for `key` ("expect player KEY
    // VALUE"). False when the game keeps no players, or nobody is signed in.
    virtual bool ReadPlayerValue(const char* key, CxString& value) const
    {
        (void)key;
        (void)value;
        return false;
    }

protected:
    void ReadRegistryAndPaths();
    void LeaveCurrentRoom();
    void CreateConsole();

    std::string m_installPath;
    std::string m_discPath;
    std::string m_installOverride;
    std::string m_discOverride;
    std::vector<std::unique_ptr<CxFileSystem>> m_fileSystems;
    std::vector<ST_KEY_BINDING> m_keyBindings;
    std::vector<CxGameWindow*> m_rooms;
    CxGameWindow* m_currentRoom = nullptr;
    CxGameWindow* m_pendingRoom = nullptr;
    std::unique_ptr<CxStack<CxString>> m_roomStack;
    bool m_switching = false;
    bool m_reloadPending = false;
    bool m_screenSaverWasOn = false;
    bool m_singleInstance = true;
    std::unique_ptr<CxSingleInstance> m_instanceLock;
    std::unique_ptr<CxGameConsole> m_console;
    bool m_consoleAllowed = false;
};
