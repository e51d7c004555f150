#pragma once
// The game itself, started headless on the demo data the build made beside
// the program (PIM_DEMO_DATA_DIR), for tests that enter its rooms. Time is
// a virtual clock the test moves; frames run as the test asks. Frames that
// run inside those (a modal movie such as a room's fade, a dialog's loop)
// move the clock on by themselves, as the game's own clock would.

#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/core/Pimstr.h"
#include "game/shell/CMarrowdaleApp.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

// How a test starts the game; the defaults are the demo as it ships.
struct ST_GAME_TEST_SETUP
{
    // The players' data folder (XDG_DATA_HOME); "" for a folder of the test's.
    std::string dataHome;
    // The configuration file; "" for the data folder's Marrowdale.ini.
    std::string configFile;
    // The game's data; "" for the demo data the build made.
    std::string dataFolder;
    // Nobody watching: no intro movie waits for a click, no credits roll.
    bool unattended = true;
    // Makes the application; null for a CMarrowdaleApp.
    std::function<std::unique_ptr<CMarrowdaleApp>(const ST_APP_INIT&)> make;
};

class GameTestApp
{
public:
    explicit GameTestApp(const ST_GAME_TEST_SETUP& setup = {})
    {
        // The player's own files go to a folder of the test's.
        setenv("XDG_DATA_HOME", setup.dataHome.empty() ? (m_home / "data").c_str() : setup.dataHome.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
        PimSetClock(&m_clock);
        RegisterMarrowdaleRooms();
        const std::string data = setup.dataFolder.empty() ? std::string(PIM_DEMO_DATA_DIR) : setup.dataFolder;
        m_config = setup.configFile.empty() ? data + "/Marrowdale.ini" : setup.configFile;
        ST_APP_INIT init = CMarrowdaleApp::MakeInit(m_config.c_str(), "test");
        m_app = setup.make ? setup.make(init) : std::make_unique<CMarrowdaleApp>(init);
        m_app->SetBackend(HeadlessBackend());
        m_app->SetSingleInstance(false);
        m_app->SetInstallPathOverride(data);
        m_app->SetUnattended(setup.unattended);
        m_app->InitInstance();
        m_app->InitApplication();
        m_app->StartGame();
    }
    ~GameTestApp()
    {
        m_app->CloseRooms();
        m_app->ExitApplication();
        m_app->ExitInstance();
        m_app.reset();
        PimSetClock(nullptr);
        ResetMainLoopCallbacks();
    }
    GameTestApp(const GameTestApp&) = delete;
    GameTestApp& operator=(const GameTestApp&) = delete;

    CMarrowdaleApp& App() { return *m_app; }
    // Runs frames of 10 ms of game time each.
    void Run(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 10) {
            m_clock.Advance(10);
            m_nested.ownFrame = true;
            m_app->DoFrame();
        }
    }
    // Goes to a room and runs until it is entered (at most a second).
    bool Enter(const char* room)
    {
        m_app->GotoRoom(room);
        for (int i = 0; i < 100; ++i) {
            Run(10);
            if (PimStrEqual(m_app->GetCurRoomName(), room, true))
                return true;
        }
        return false;
    }

private:
    // Every main-loop pass but the one Run asked for is a nested frame.
    struct NestedFrames : CxMainLoopHook
    {
        explicit NestedFrames(CxVirtualClock& frameClock) : clock(frameClock) {}
        void OnMainLoop() override
        {
            if (!ownFrame)
                clock.Advance(10);
            ownFrame = false;
        }
        CxVirtualClock& clock;
        bool ownFrame = false;
    };

    TempFolder m_home;
    CxVirtualClock m_clock{1};
    std::string m_config;
    NestedFrames m_nested{m_clock};
    std::unique_ptr<CMarrowdaleApp> m_app;
};
