#pragma once
// The game layer's application started headless on a folder the test
// writes (its "Marrowdale.ini", "dax.ini", pictures, sounds and scripts),
// with two rooms that count their pauses, on a virtual clock. Movies are
// not decoded: the application's movie player is replaced by a record of
// what it was asked to play, and the credits by a count (or the real roll).

#include "DAX/app/CDaxApp.h"
#include "PIM/app/CxGameRoomRegistrar.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/script/CxLuaEngine.h"
#include "tests/support/SoundBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace DaxAppTest {

class CountingRoom : public CxGameWindow
{
public:
    explicit CountingRoom(CxGameApp*) {}
    void Pause() override { ++pauses; }
    void Resume() override { ++resumes; }
    int pauses = 0;
    int resumes = 0;
};

struct ST_PLAYED
{
    std::string path;
    int32_t x;
    int32_t y;
    bool skippable;
};

class TestDaxApp : public CDaxApp
{
public:
    explicit TestDaxApp(const ST_APP_INIT& init) : CDaxApp(init)
    {
        SetBackend(HeadlessBackend());
        SetSingleInstance(false);
    }
    int PlayMovie(const char* path, int32_t x, int32_t y, bool skippable) override
    {
        movies.push_back({path, x, y, skippable});
        return PIM_OK;
    }
    void ShowCredits() override
    {
        ++credits;
        if (realCredits)
            CDaxApp::ShowCredits();
    }

    // A message for the window, handled at once.
    void Send(const ST_MESSAGE& message)
    {
        HeadlessWindowOf(*this)->Post(message);
        while (HeadlessWindowOf(*this)->GetPendingCount() > 0)
            DoFrame();
    }
    void Focus(bool active)
    {
        ST_MESSAGE message;
        message.type = EMessage::ActivateApp;
        message.active = active;
        Send(message);
    }
    // The Lua global `name` as text ("" when it is none).
    std::string Global(const char* name)
    {
        lua_State* L = GetLuaEngine()->GetState();
        lua_getglobal(L, name);
        const char* text = lua_tostring(L, -1);
        std::string value = text ? text : "";
        lua_pop(L, 1);
        return value;
    }
    int Lua(const std::string& text) { return GetLuaEngine()->DoString(text.c_str()); }

    std::vector<ST_PLAYED> movies;
    int credits = 0;
    bool realCredits = false;
};

class DaxApps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
        PimSetClock(&m_clock);
        m_rooms.push_back(std::make_unique<CxGameRoomRegistrar>("Title", &MakeRoom<CountingRoom>));
        m_rooms.push_back(std::make_unique<CxGameRoomRegistrar>("Barn", &MakeRoom<CountingRoom>));
    }
    void TearDown() override
    {
        if (m_app && !m_stopped)
            Stop();
        m_app.reset();
        m_rooms.clear();
        PimSetClock(nullptr);
        ResetMainLoopCallbacks();
    }

    // Started up to its main loop with `dax` as its dax.ini (none when
    // null); the test runs the frames.
    TestDaxApp& Start(const char* dax, bool unattended = true)
    {
        if (m_app && !m_stopped)
            Stop();
        m_app.reset();
        m_stopped = false;
        m_folder.Write("Marrowdale.ini", "");
        if (dax)
            m_folder.Write("dax.ini", dax);
        m_config = m_folder / "Marrowdale.ini";
        m_init.name = "DaxTest";
        m_init.configFile = m_config.c_str();
        m_app = std::make_unique<TestDaxApp>(m_init);
        m_app->SetInstallPathOverride(m_folder.Path());
        m_app->SetUnattended(unattended);
        m_app->InitInstance();
        m_app->InitApplication();
        m_app->StartGame();
        return *m_app;
    }
    // The way out; the object stays for a look at what it did.
    void Stop()
    {
        m_app->CloseRooms();
        m_app->ExitApplication();
        m_app->ExitInstance();
        m_stopped = true;
    }
    // Frames of 10 ms.
    void Run(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 10) {
            m_clock.Advance(10);
            m_app->DoFrame();
        }
    }
    CountingRoom* Room(const char* name) { return static_cast<CountingRoom*>(m_app->FindRoom(name)); }
    void Enter(const char* name)
    {
        m_app->GotoRoom(name);
        Run(20);
    }
    // A command or event of the "system" category, on the system channel,
    // run by the frames that follow.
    void System(const std::string& text)
    {
        CxEvent* event = CreateEventFromText(("system." + text).c_str());
        ASSERT_NE(event, nullptr) << text;
        Post(event, m_app->GetSystemChannel());
        Run(20);
    }

    // An uncompressed Targa picture, top-left first, every pixel `colour`
    // (0xRRGGBB) but the top-left one, which is `corner`.
    void Picture(const std::string& name, int width, int height, uint32_t colour = 0x2080C0,
                 uint32_t corner = 0xFF00FF)
    {
        std::string bytes(18, '\0');
        bytes[2] = 2;
        bytes[12] = static_cast<char>(width & 0xFF);
        bytes[13] = static_cast<char>(width >> 8);
        bytes[14] = static_cast<char>(height & 0xFF);
        bytes[15] = static_cast<char>(height >> 8);
        bytes[16] = 24;
        bytes[17] = 0x20;
        for (int i = 0; i < width * height; ++i) {
            const uint32_t c = i == 0 ? corner : colour;
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>((c >> 8) & 0xFF);
            bytes += static_cast<char>((c >> 16) & 0xFF);
        }
        m_folder.Write(name, bytes);
    }
    // A 16-bit mono wave of `ms` milliseconds of a square tone.
    void Wave(const std::string& name, int ms) { m_folder.Write(name, SquareToneWave(ms)); }
    void File(const std::string& name, const std::string& text) { m_folder.Write(name, text); }

    TempFolder m_folder;
    CxVirtualClock m_clock{1000};
    std::string m_config;
    ST_APP_INIT m_init;
    std::vector<std::unique_ptr<CxGameRoomRegistrar>> m_rooms;
    std::unique_ptr<TestDaxApp> m_app;
    bool m_stopped = false;
};

} // namespace DaxAppTest
