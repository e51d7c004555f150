#pragma once
// Rooms entered for real: the engine's game application on the headless
// back end, with three rooms registered ("Alpha" and "Gamma" plain
// CDaxWindow rooms, "Beta" one that writes down what its hooks hear), each
// reading its option file when it is created, as the game layer's
// application has it. Time is a virtual clock the test moves in 10 ms
// frames. The game layer's services give a global interpolator, the
// application's Lua engine and the current room.
//
// Pictures are the generated ".pic" ones (GeneratedPictures.h), which must
// exist as files (rooms skip missing pictures); ".blk" fonts draw blocks;
// ".clp" and ".smk" movies are flat clips whose openings are written down.

#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/DaxGlobalButtons.h"
#include "DAX/rooms/CDaxWindow.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/core/PimMessage.h"
#include "PIM/core/PimMouseEvent.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/text/CxFont.h"
#include "tests/support/FlatClipDriver.h"
#include "tests/support/BlockFont.h"
#include "tests/dax/GeneratedPictures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace RoomTest {

// What "Beta" hears.
class RecordingRoom : public CDaxWindow
{
public:
    explicit RecordingRoom(CxGameApp* app) : CDaxWindow(app) {}
    void StartLevel() override { ++levelStarts; }
    void OnMilestone(int index) override { milestones.push_back(index); }
    void OnButton(const char* name) override { buttons.emplace_back(name); }
    void OnKeyDown(uint32_t key, uint32_t flags) override
    {
        keys.push_back(key);
        CDaxWindow::OnKeyDown(key, flags);
    }

    int levelStarts = 0;
    std::vector<int> milestones;
    std::vector<std::string> buttons;
    std::vector<uint32_t> keys;
};

class Services : public CDaxServices
{
public:
    const CxInterpolator* GetInterpolator() const override { return &interpolator; }
    CxLuaEngine* GetLuaEngine() const override { return app ? app->GetLuaEngine() : nullptr; }
    CxDisplayObject* GetCurrentRoom() const override { return app ? app->GetCurrentRoom() : nullptr; }
    PimChannelId GetRoomChannel() const override
    {
        auto* room = app ? dynamic_cast<CDaxWindow*>(app->GetCurrentRoom()) : nullptr;
        return room ? room->GetChannel() : 0;
    }

    CxInterpolator interpolator;
    CxGameApp* app = nullptr;
};

class App : public CxGameApp
{
public:
    explicit App(const ST_APP_INIT& init) : CxGameApp(init)
    {
        SetBackend(HeadlessBackend());
        SetSingleInstance(false);
        // Modal movies and boxes end at once: nobody is there to watch.
        SetUnattended(true);
    }
    CxGameWindow* CreateRoom(const CxGameRoomRegistrar& registration) override
    {
        CxGameWindow* room = CxGameApp::CreateRoom(registration);
        if (auto* dax = dynamic_cast<CDaxWindow*>(room))
            dax->LoadOptions();
        return room;
    }
};

class Rooms : public ::testing::Test
{
protected:
    static constexpr int32_t kScreenWidth = 640;
    static constexpr int32_t kScreenHeight = 480;

    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
        PimSetClock(&m_clock);
        ASSERT_EQ(DaxTest::RegisterGeneratedPictures(), PIM_OK);
        ASSERT_EQ(RegisterFontFilter(".blk", [](const char*) -> CxFont* { return new BlockFont(6); }), PIM_OK);
        for (const char* extension : {".clp", ".smk"})
            ASSERT_EQ(RegisterMovieDriver(extension, &OpenClip, reinterpret_cast<intptr_t>(&opened)), PIM_OK);
        m_registrations.push_back(std::make_unique<CxGameRoomRegistrar>("Alpha", &MakeRoom<CDaxWindow>));
        m_registrations.push_back(std::make_unique<CxGameRoomRegistrar>("Beta", &MakeRoom<RecordingRoom>));
        m_registrations.push_back(std::make_unique<CxGameRoomRegistrar>("Gamma", &MakeRoom<CDaxWindow>));
        SetDaxServices(&services);
    }
    void TearDown() override
    {
        if (m_app) {
            m_app->CloseRooms();
            m_app->ExitApplication();
            m_app->ExitInstance();
            m_app.reset();
        }
        DaxRemoveAllGlobalButtons();
        SetDaxServices(nullptr);
        PimSetClock(nullptr);
        ResetMainLoopCallbacks();
    }

    // Writes a file of the game's data (its folders made).
    std::string Write(const std::string& name, const std::string& bytes = "x") { return m_folder.Write(name, bytes); }
    // The application started up to its main loop, with the screen there.
    App& Start()
    {
        m_config = Write("Marrowdale.ini", "");
        m_init.name = "RoomTest";
        m_init.configFile = m_config.c_str();
        m_init.width = kScreenWidth;
        m_init.height = kScreenHeight;
        m_app = std::make_unique<App>(m_init);
        m_app->SetInstallPathOverride(m_folder.Path());
        services.app = m_app.get();
        m_app->InitInstance();
        m_app->InitApplication();
        m_app->StartGame();
        for (int i = 0; i < 20 && !GetRootObject(); ++i)
            m_app->DoFrame();
        EXPECT_NE(GetRootObject(), nullptr);
        return *m_app;
    }
    // Frames of 10 ms until `ms` have passed.
    void Run(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 10) {
            m_clock.Advance(10);
            m_app->DoFrame();
        }
    }
    // Goes to the room and runs the frame that enters it.
    CDaxWindow& Enter(const char* name)
    {
        m_app->GotoRoom(name);
        Run(10);
        EXPECT_STREQ(m_app->GetCurRoomName(), name);
        return Room(name);
    }
    App& Application() { return *m_app; }
    CDaxWindow& Room(const char* name) { return *dynamic_cast<CDaxWindow*>(m_app->FindRoom(name)); }
    RecordingRoom& Beta() { return *dynamic_cast<RecordingRoom*>(m_app->FindRoom("Beta")); }
    // A message through the headless window, and the frames it takes.
    void Send(const ST_MESSAGE& message)
    {
        HeadlessWindowOf(*m_app)->Post(message);
        while (HeadlessWindowOf(*m_app)->GetPendingCount() > 0)
            Run(10);
    }
    void Mouse(EMouseAction action, int32_t x, int32_t y)
    {
        ST_MESSAGE m;
        m.type = EMessage::Mouse;
        m.mouse = MouseEvent(action, EMouseButton::Left, CxPoint(x, y),
                             action == EMouseAction::Down ? uint32_t{PIM_MK_LBUTTON} : 0u);
        Send(m);
    }
    void Key(uint32_t code)
    {
        ST_MESSAGE m;
        m.type = EMessage::KeyDown;
        m.key = code;
        Send(m);
    }
    // A Lua global of the application's engine as a string ("" for none).
    std::string Lua(const char* name)
    {
        lua_State* L = m_app->GetLuaEngine()->GetState();
        lua_getglobal(L, name);
        const char* text = lua_tostring(L, -1);
        std::string value = text ? text : "";
        lua_pop(L, 1);
        return value;
    }

    Services services;
    std::vector<std::string> opened; // movie files opened, in order
    CxVirtualClock m_clock{1000};

private:
    // Every movie opened is written down.
    static CxMovieDriver* OpenClip(const char* fileName, uint32_t, intptr_t list)
    {
        reinterpret_cast<std::vector<std::string>*>(list)->emplace_back(fileName);
        return new FlatClipDriver(16, 8, 4, 0x40);
    }

    TempFolder m_folder;
    std::string m_config;
    ST_APP_INIT m_init;
    std::vector<std::unique_ptr<CxGameRoomRegistrar>> m_registrations;
    std::unique_ptr<App> m_app;
};

} // namespace RoomTest
