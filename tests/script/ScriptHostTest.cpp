// The script functions reach the program only through CxScriptHost: a
// stand-in host, with no application at all, sees every call.

#include "PIM/core/CxRoomTimers.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptFunctions.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <lua.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records the calls; one room (handle 7) with timers.
class FakeHost : public CxScriptHost, public CxTimerListener
{
public:
    void RequestQuit() override { quitting = true; }
    bool IsQuitting() const override { return quitting; }
    const char* GetName() const override { return "Fake"; }
    const char* GetBuild() const override { return "build 9"; }
    void PushRoom(const char* name) override { calls.push_back(std::string("push ") + name); }
    CxString PopRoom() override { return CxString("Barn"); }
    void GotoRoom(const char* name) override { calls.push_back(std::string("goto ") + name); }
    const char* GetCurRoomName() const override { return "Yard"; }
    uint32_t GetCurRoomHandle() const override { return currentHandle; }
    CxRoomTimers* GetRoomTimers(uint32_t handle) override { return handle == 7 ? &timers : nullptr; }
    void BindKey(const char* key, const char* command) override
    {
        calls.push_back(std::string("bind ") + key + " " + command);
    }
    int NewFileSystem(const char* tag, const char* path) override
    {
        calls.push_back(std::string("mount ") + tag + " " + path);
        return 5;
    }
    int ScreenCapture(const char* file) override
    {
        calls.push_back(std::string("capture ") + (file ? file : "(default)"));
        return 0;
    }
    int PrintScreen(bool landscape) override
    {
        calls.push_back(std::string("print screen ") + (landscape ? "landscape" : "portrait"));
        return 0;
    }
    int PrintFile(const char* file, bool landscape) override
    {
        calls.push_back(std::string("print ") + file + " " + (landscape ? "landscape" : "portrait"));
        return 19;
    }
    void OnTimer(CxTimerCallBack*) override {}

    std::vector<std::string> calls;
    bool quitting = false;
    uint32_t currentHandle = 7;
    CxRoomTimers timers{this};
};

// An engine over `host` with every family of the engine registered.
class ScriptHost : public ::testing::Test
{
protected:
    void Start(CxScriptHost* host)
    {
        engine = std::make_unique<CxLuaEngine>(host);
        ASSERT_EQ(engine->CreateState(), PIM_OK);
        RegisterEngineScriptFunctions(*engine);
    }
    // Runs `text`, then answers the global r as a string ("nil" when unset).
    std::string Run(const char* text)
    {
        engine->DoString("r = nil");
        engine->DoString(text);
        lua_State* L = engine->GetState();
        lua_getglobal(L, "r");
        std::string value = lua_isnil(L, -1) ? "nil" : (lua_tostring(L, -1) ? lua_tostring(L, -1) : "?");
        lua_pop(L, 1);
        return value;
    }
    bool Traced(const std::string& part) const
    {
        for (const std::string& line : trace.lines)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }

    TraceRecorder trace;
    std::unique_ptr<CxLuaEngine> engine;
};

} // namespace

TEST_F(ScriptHost, CallsArriveWithTheirArguments)
{
    FakeHost host;
    Start(&host);
    engine->DoString("GotoRoom('Yard') PushRoom('Barn') BindKey('F5', 'Quit()') "
                     "ScreenCapture('<Saves>shot.tga') ScreenCapture()");
    EXPECT_EQ(Run("r = NewFileSystem('<Disc>', '/media/disc')"), "5");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"goto Yard", "push Barn", "bind F5 Quit()",
                                                    "capture <Saves>shot.tga", "capture (default)",
                                                    "mount <Disc> /media/disc"}));
    EXPECT_EQ(Run("r = PopRoom() .. ',' .. GetCurRoomName()"), "Barn,Yard");

    // The application family answers from the same host.
    EXPECT_EQ(Run("r = GetAppName() .. ',' .. pim.app.GetBuildDate()"), "Fake,build 9");
    EXPECT_EQ(Run("Quit() r = tostring(IsQuiting()) .. pim.app.IsQuiting()"), "true1");
    EXPECT_TRUE(host.quitting);
}

TEST_F(ScriptHost, RoomTimersGoToTheHostsRoomAndUnknownHandlesAreRefused)
{
    FakeHost host;
    Start(&host);
    engine->DoString("room = GetCurRoomPtr() _G['Room::SetTimer'](room, 3, 250, 9)");
    CxTimerCallBack* timer = host.timers.FindTimer(3);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->GetInterval(), 250u);
    EXPECT_EQ(timer->GetUserValue(), 9);
    engine->DoString("_G['Room::KillTimer'](room, 3)");
    EXPECT_EQ(host.timers.FindTimer(3), nullptr);

    // A handle the host does not know (any more) is refused, not followed.
    host.currentHandle = 8;
    EXPECT_EQ(engine->DoString("_G['Room::SetTimer'](GetCurRoomPtr(), 1, 100)"), PIM_ERR_SCRIPT);
    EXPECT_TRUE(Traced("not a room (error 16: unknown or gone)"));
    host.currentHandle = 0; // no current room: nil
    EXPECT_EQ(Run("r = GetCurRoomPtr() == nil and 'none' or 'room'"), "none");
}

TEST_F(ScriptHost, AHostWithoutRoomsAnswersNone)
{
    CxScriptHost bare;
    Start(&bare);
    EXPECT_EQ(Run("r = PopRoom() .. PeekRoom() .. GetCurRoomName() .. tostring(IsLeavingRoom())"), "false");
    EXPECT_EQ(Run("r = GetCurRoomPtr() == nil and 'none' or 'room'"), "none");
    EXPECT_EQ(Run("r = NewFileSystem('<X>', '/x') .. ',' .. RemoveFileSystem('<X>')"), "16,9");
    EXPECT_EQ(Run("r = ScreenCapture() .. ',' .. RoomLoadSurface('back.tga')"), "16,16");
    EXPECT_EQ(Run("GotoRoom('Yard') BindKey('F1', 'x = 1') r = GetAppName()"), "");
}

TEST_F(ScriptHost, PrintingTakesALandscapeFlagThatDefaultsToTrueAndRefusesBadArguments)
{
    FakeHost host;
    Start(&host);
    EXPECT_EQ(Run("r = PrintScreen()"), "0");
    engine->DoString("PrintScreen(false) PrintScreen(0) PrintScreen(1) PrintScreen(nil)");
    EXPECT_EQ(Run("r = PrintFile('<AppData>G10_wall00_1.tga')"), "19");
    engine->DoString("PrintFile('pig.tga', false) PrintFile('pig.tga', true)");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"print screen landscape", "print screen portrait",
                                                    "print screen portrait", "print screen landscape",
                                                    "print screen landscape",
                                                    "print <AppData>G10_wall00_1.tga landscape",
                                                    "print pig.tga portrait", "print pig.tga landscape"}));
    host.calls.clear();
    struct Bad
    {
        const char* text;
        const char* traced;
    };
    const Bad bad[] = {
        {"PrintScreen('yes')", "boolean expected"},
        {"PrintScreen({})", "boolean expected"},
        {"PrintScreen(0/0)", "landscape flag out of range"},
        {"PrintFile()", "string expected"},
        {"PrintFile(42)", "string expected"},
        {"PrintFile('')", "empty file name"},
        {"PrintFile('pig.tga', 'sideways')", "boolean expected"},
    };
    for (const Bad& b : bad) {
        trace.lines.clear();
        EXPECT_EQ(engine->DoString(b.text), PIM_ERR_SCRIPT) << b.text;
        EXPECT_TRUE(Traced(b.traced)) << b.text;
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ScriptHost, WithoutAHostTheGameFamiliesAreLuaErrors)
{
    Start(nullptr);
    for (const char* text : {"GotoRoom('Yard')", "BindKey('F1', 'x = 1')", "NewFileSystem('<X>', '/x')",
                             "ScreenCapture()", "PrintScreen()", "PrintFile('a.tga')", "_G['Room::SetTimer'](GetCurRoomPtr(), 1, 100)"}) {
        trace.lines.clear();
        EXPECT_EQ(engine->DoString(text), PIM_ERR_SCRIPT) << text;
        EXPECT_TRUE(Traced("no game application is running")) << text;
    }
    // The application family has defaults instead.
    EXPECT_EQ(Run("Quit() Restart() r = GetAppName() .. GetLocalPath() .. tostring(IsQuiting())"), "false");
}
